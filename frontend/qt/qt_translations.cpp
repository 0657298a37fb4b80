#include "frontend/qt/qt_translations.h"

// Before Qt's headers, whose "slots" macro would rename the table's field.
#include "res/text_table.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {
QTranslator* installed = nullptr;
int installedBase = -1;
} // namespace

void qtFollowLanguage(int languageBase) {
    if (languageBase == installedBase)
        return;
    installedBase = languageBase;
    if (installed != nullptr) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    const char* language = languageBase == LANG_GERMAN   ? "de"
                           : languageBase == LANG_DANISH ? "da"
                                                         : nullptr;
    if (language == nullptr)
        return;
    // qtbase holds the dialogs' texts; the qt_ catalogue would pull in
    // every module's.
    auto* translator = new QTranslator;
    if (translator->load(QStringLiteral("qtbase_") + QLatin1String(language),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(translator)) {
        installed = translator;
    } else {
        delete translator;
    }
}
