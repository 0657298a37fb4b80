// Names chosen in Qt's dialogs, as the bytes of the file they stand for. Qt
// decodes names as UTF-8, with U+FFFD for each byte that is not; encoded
// again, such a name is another file's, or none. That happens to a name
// typed after seeing the file elsewhere, and to every name in a directory
// whose own name is not UTF-8 (the working directory, say). A name with
// that sign is taken only where it stands for nothing but the file of its
// own bytes.
#pragma once
#include <QByteArray>
#include <QString>

class QWidget;

// True, with the file's name in *bytes, when chosen names exactly one file,
// or (with mayBeNew) a file not there yet that no other name looks like.
bool qtChosenName(const QString& chosen, bool mayBeNew, QByteArray* bytes);
// Qt's own words that the name cannot be taken, in its language, over parent:
// the file to open was not found, or the file to write is not writable.
void qtRefuseChosenName(QWidget* parent, const QString& title, const QString& chosen,
                        bool forWriting);
