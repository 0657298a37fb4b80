#include "frontend/qt/qt_chosen_name.h"

#include <QCoreApplication>
#include <QFile>
#include <QMessageBox>

#include "platform/directory_entries.h"

namespace {

// The names of a directory that Qt would show as part, and whether one of
// them is the name of part's own bytes. Qt's own listing leaves out the
// names it cannot decode, so the directory is read as the system keeps it.
struct Likeness {
    QString part;
    QByteArray bytes;
    int alike;
    bool itself;
};

bool countAlike(const char* name, void* context) {
    auto* likeness = static_cast<Likeness*>(context);
    if (QFile::decodeName(name) == likeness->part) {
        ++likeness->alike;
        likeness->itself = likeness->itself || likeness->bytes == name;
    }
    return true;
}

} // namespace

bool qtChosenName(const QString& chosen, bool mayBeNew, QByteArray* bytes) {
    *bytes = QFile::encodeName(chosen);
    if (!chosen.contains(QChar::ReplacementCharacter))
        return true;
    // Each part of the path that holds the sign is judged in the directory
    // before it, which the parts before have shown to be the right one.
    const QStringList parts = chosen.split(QLatin1Char('/'));
    QByteArray sofar;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QByteArray part = QFile::encodeName(parts[i]);
        if (parts[i].contains(QChar::ReplacementCharacter)) {
            Likeness likeness{parts[i], part, 0, false};
            const QByteArray directory = i == 0 ? QByteArray(".") : sofar.isEmpty() ? "/" : sofar;
            directoryVisit(directory.constData(), countAlike, &likeness);
            const bool onlyItself = likeness.alike == 1 && likeness.itself;
            const bool newAndAlone = mayBeNew && i == parts.size() - 1 && likeness.alike == 0;
            if (!onlyItself && !newAndAlone)
                return false;
        }
        sofar = i == 0 ? part : sofar + '/' + part;
    }
    return true;
}

void qtRefuseChosenName(QWidget* parent, const QString& title, const QString& chosen,
                        bool forWriting) {
    // Texts Qt's own dialogs use, so that Qt's translations carry them.
    const QString text =
        forWriting
            ? QCoreApplication::translate(
                  "QPrintDialog", "File %1 is not writable.\nPlease choose a different file name.")
                  .arg(chosen)
            : QCoreApplication::translate(
                  "QFileDialog",
                  "%1\nFile not found.\nPlease verify the correct file name was given.")
                  .arg(chosen);
    QMessageBox::warning(parent, title, text);
}
