// The C library's locale, as the environment (LC_ALL, LC_TIME, LANG) names
// it, in a locale object of its own: the process-wide locale stays "C", so no
// number the program formats or parses changes with the user's region.
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <langinfo.h>
#include <locale.h>
#include <string>

#include "platform/locale_time.h"

namespace {

struct UserLocale {
    locale_t locale;  // (locale_t)0 where the named locale is not installed
    bool regional;    // false in the C and POSIX locales: ISO 8601 dates
    bool utf8;        // the locale's texts are UTF-8; otherwise read as Latin-1
    char language[4]; // "de" of "de_DE.UTF-8"
};

const char* timeLocaleName() {
    const char* names[] = {"LC_ALL", "LC_TIME", "LANG"};
    for (const char* name : names) {
        const char* value = std::getenv(name);
        if (value != nullptr && value[0] != '\0')
            return value;
    }
    return "C";
}

UserLocale openUserLocale() {
    UserLocale user{};
    const char* name = timeLocaleName();
    bool plain = std::strcmp(name, "C") == 0 || std::strcmp(name, "POSIX") == 0 ||
                 std::strncmp(name, "C.", 2) == 0;
    if (plain)
        return user;
    user.locale = newlocale(LC_TIME_MASK | LC_CTYPE_MASK, "", locale_t(0));
    if (user.locale == locale_t(0))
        return user;
    user.regional = true;
    size_t length = std::strcspn(name, "_.@");
    if (length < sizeof user.language) {
        std::memcpy(user.language, name, length);
        user.language[length] = '\0';
    }
    const char* codeset = nl_langinfo_l(CODESET, user.locale);
    user.utf8 = std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0;
    return user;
}

const UserLocale& userLocale() {
    static const UserLocale user = openUserLocale();
    return user;
}

// The calendar fields with the weekday worked out from the date itself.
// The fields with their weekday; false when they name no moment of the
// calendar: the C library normalises an impossible time (31 April becomes
// 1 May, a 60th second the next minute), so such a time does not come back
// as it went in.
bool toTm(const SystemTime& time, tm* fields) {
    *fields = tm{};
    fields->tm_year = time.year - 1900;
    fields->tm_mon = time.month - 1;
    fields->tm_mday = time.day;
    fields->tm_hour = time.hour;
    fields->tm_min = time.minute;
    fields->tm_sec = time.second;
    tm normalised = *fields;
    if (timegm(&normalised) == time_t(-1))
        return false;
    fields->tm_wday = normalised.tm_wday;
    return normalised.tm_year == fields->tm_year && normalised.tm_mon == fields->tm_mon &&
           normalised.tm_mday == fields->tm_mday && normalised.tm_hour == fields->tm_hour &&
           normalised.tm_min == fields->tm_min && normalised.tm_sec == fields->tm_sec;
}

void replaceAll(std::string& text, const char* what, const char* with) {
    size_t length = std::strlen(what);
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at)) {
        text.replace(at, length, with);
        at += std::strlen(with);
    }
}

// Latin-1 bytes of a locale in another character set become UTF-8.
std::string toUtf8(const char* text, bool utf8) {
    if (utf8)
        return text;
    std::string out;
    for (const unsigned char* at = reinterpret_cast<const unsigned char*>(text); *at; ++at) {
        if (*at < 0x80) {
            out += char(*at);
        } else {
            out += char(0xC0 | (*at >> 6));
            out += char(0x80 | (*at & 0x3F));
        }
    }
    return out;
}

int formatWith(const SystemTime& time, const std::string& format, char* out, size_t size) {
    if (size > 0)
        out[0] = '\0';
    tm fields;
    if (!toTm(time, &fields))
        return 1;
    const UserLocale& user = userLocale();
    char buffer[256];
    size_t length = user.locale != locale_t(0)
                        ? strftime_l(buffer, sizeof buffer, format.c_str(), &fields, user.locale)
                        : strftime(buffer, sizeof buffer, format.c_str(), &fields);
    if (length == 0)
        return 1;
    std::string text = toUtf8(buffer, !user.regional || user.utf8);
    if (text.size() + 1 > size)
        return 1;
    std::memcpy(out, text.c_str(), text.size() + 1);
    return 0;
}

// The locale's time format; a 12-hour one (with %r, %I or %l) made 24-hour.
std::string timeFormat(bool seconds) {
    const UserLocale& user = userLocale();
    std::string format = user.regional ? nl_langinfo_l(T_FMT, user.locale) : "%H:%M:%S";
    replaceAll(format, "%r", "%I:%M:%S %p");
    replaceAll(format, "%T", "%H:%M:%S");
    replaceAll(format, "%R", "%H:%M");
    if (!seconds) {
        replaceAll(format, ":%S", "");
        replaceAll(format, ".%S", "");
    }
    return format;
}

} // namespace

int formatShortDate(const SystemTime& time, char* out, size_t size) {
    const UserLocale& user = userLocale();
    if (!user.regional)
        return formatWith(time, "%Y-%m-%d", out, size);
    std::string format = nl_langinfo_l(D_FMT, user.locale);
    // A two-digit year would make the file's dates ambiguous across centuries.
    replaceAll(format, "%y", "%Y");
    replaceAll(format, "%D", "%m/%d/%Y");
    return formatWith(time, format, out, size);
}

int formatTime24(const SystemTime& time, char* out, size_t size) {
    std::string format = timeFormat(true);
    bool twelveHour =
        format.find("%I") != std::string::npos || format.find("%l") != std::string::npos;
    if (twelveHour)
        format = "%H:%M:%S";
    return formatWith(time, format, out, size);
}

// The C library has no long date format; the day, month and year stand in
// the order of the locale's short date, and where the language writes the
// day as an ordinal ("7. Dezember") it gets its dot.
int formatLongDate(const SystemTime& time, char* out, size_t size) {
    const UserLocale& user = userLocale();
    if (!user.regional)
        return formatWith(time, "%A, %Y-%m-%d", out, size);
    static const char* const ORDINAL_DAY[] = {"cs", "da", "de", "et", "fi", "fo", "hr",
                                              "is", "nb", "nn", "no", "sk", "sl"};
    bool ordinal = false;
    for (const char* language : ORDINAL_DAY)
        ordinal = ordinal || std::strcmp(user.language, language) == 0;
    if (ordinal)
        return formatWith(time, "%A, %-d. %B %Y", out, size);
    if (std::strncmp(nl_langinfo_l(D_FMT, user.locale), "%m", 2) == 0)
        return formatWith(time, "%A, %B %-d, %Y", out, size);
    return formatWith(time, "%A, %-d %B %Y", out, size);
}

int formatTimeNoSeconds(const SystemTime& time, char* out, size_t size) {
    return formatWith(time, timeFormat(false), out, size);
}
