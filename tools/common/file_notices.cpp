#include "tools/common/file_notices.h"

#include <cstdarg>
#include <cstdio>

#include "base/config_file.h"
#include "platform/file.h"
#include "res/text_table.h"
#include "tools/common/tool_command_line.h"

namespace {

enum Notice {
    WRITTEN_WITHOUT_COPY,
    NEW_UNCONFIRMED,
    OLD_AND_NEW_TAIL,
    OLD_AND_NEW_TAIL_NO_COPY,
    MIXED,
    MIXED_NO_COPY,
    OLD_WITH_COPY,
    NOTHING,
    HELD,
    NOTICE_COUNT
};

// English, German, Danish.
constexpr const char* NOTICES[NOTICE_COUNT][3] = {
    {"written in place: no copy of the old content could be kept beside it",
     "an Ort und Stelle geschrieben: daneben konnte keine Kopie des alten Inhalts angelegt werden",
     "skrevet på stedet: der kunne ikke gemmes en kopi af det gamle indhold ved siden af"},
    {"the new content is in place but not confirmed on the disk",
     "der neue Inhalt steht in der Datei, ist aber nicht auf der Platte bestätigt",
     "det nye indhold står i filen, men er ikke bekræftet på disken"},
    {"it holds its old content followed by %llu bytes of the new; the old content alone is in %s",
     "sie enthält ihren alten Inhalt, gefolgt von %llu Bytes des neuen; der alte Inhalt allein "
     "steht in %s",
     "den indeholder sit gamle indhold efterfulgt af %llu byte af det nye; det gamle indhold "
     "alene ligger i %s"},
    {"it holds its old content followed by %llu bytes of the new; no copy of the old content "
     "alone could be kept",
     "sie enthält ihren alten Inhalt, gefolgt von %llu Bytes des neuen; eine Kopie des alten "
     "Inhalts allein konnte nicht angelegt werden",
     "den indeholder sit gamle indhold efterfulgt af %llu byte af det nye; en kopi af det gamle "
     "indhold alene kunne ikke gemmes"},
    {"it holds part of the new content; its old content is in %s",
     "sie enthält einen Teil des neuen Inhalts; ihr alter Inhalt steht in %s",
     "den indeholder en del af det nye indhold; dens gamle indhold ligger i %s"},
    {"it holds part of the new content; its old content is lost, as no copy could be kept "
     "beside it",
     "sie enthält einen Teil des neuen Inhalts; ihr alter Inhalt ist verloren, da daneben keine "
     "Kopie angelegt werden konnte",
     "den indeholder en del af det nye indhold; dens gamle indhold er tabt, da der ikke kunne "
     "gemmes en kopi ved siden af"},
    {"its old content is back but not confirmed on the disk; a copy of it is in %s",
     "ihr alter Inhalt ist zurück, aber nicht auf der Platte bestätigt; eine Kopie davon steht "
     "in %s",
     "dens gamle indhold er tilbage, men ikke bekræftet på disken; en kopi af det ligger i %s"},
    {"the file is gone; the new content is in %s",
     "die Datei ist fort; der neue Inhalt steht in %s",
     "filen er væk; det nye indhold ligger i %s"},
    {"another program kept writing it; waited %d s for it",
     "ein anderes Programm schrieb sie weiter; %d s darauf gewartet",
     "et andet program blev ved med at skrive den; ventede %d s på det"},
};

const char* notice(Notice which) {
    const uint16_t base = configBlock.languageBase;
    const int language = base == LANG_GERMAN ? 1 : base == LANG_DANISH ? 2 : 0;
    return NOTICES[which][language];
}

// The texts are formats of the table above, each taking what its notice
// names.
[[gnu::format(printf, 2, 3)]] void say(const char* path, const char* format, ...);

void say(const char* path, const char* format, ...) {
    char line[2 * FILE_PATH_SIZE];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    reportPath(path, line);
}

} // namespace

void reportSaveOutcome(const char* path) {
    const FileReplaceOutcome& outcome = fileReplaceOutcome();
    const bool copy = outcome.copyPath[0] != '\0';
    const unsigned long long extra = outcome.extraBytes;
    switch (outcome.left) {
    case FILE_LEFT_NEW:
        if (outcome.withoutCopy)
            reportPath(path, notice(WRITTEN_WITHOUT_COPY));
        break;
    case FILE_LEFT_NEW_UNCONFIRMED:
        reportPath(path, notice(NEW_UNCONFIRMED));
        break;
    case FILE_LEFT_OLD_AND_NEW_TAIL:
        if (copy)
            say(path, notice(OLD_AND_NEW_TAIL), extra, outcome.copyPath);
        else
            say(path, notice(OLD_AND_NEW_TAIL_NO_COPY), extra);
        break;
    case FILE_LEFT_MIXED:
        if (copy)
            say(path, notice(MIXED), outcome.copyPath);
        else
            reportPath(path, notice(MIXED_NO_COPY));
        break;
    case FILE_LEFT_OLD:
        if (copy)
            say(path, notice(OLD_WITH_COPY), outcome.copyPath);
        break;
    case FILE_LEFT_NOTHING:
        say(path, notice(NOTHING), outcome.copyPath);
        break;
    }
}

void reportFileHeld(const char* path) {
    say(path, notice(HELD), FILE_HELD_WAIT_MS / 1000);
}
