// The user's regional date and time formats, from the system's locale calls.
// They answer in the ANSI code page; the program's texts are UTF-8.
#include <windows.h>

#include <cstring>
#include <string>

#include "platform/locale_time.h"
#include "platform/win32/text_win32.h"

namespace {

// Each of the system's answers fits in 64 characters.
constexpr int FORMAT_BUFFER = 256;

// The calendar fields with the weekday worked out by the system. The round
// trip through a file time refuses what no calendar holds (a 30th of
// February, an hour 24).
bool toSystemTime(const SystemTime& time, SYSTEMTIME* out) {
    SYSTEMTIME fields{};
    fields.wYear = time.year;
    fields.wMonth = time.month;
    fields.wDay = time.day;
    fields.wHour = time.hour;
    fields.wMinute = time.minute;
    fields.wSecond = time.second;
    FILETIME asFileTime;
    if (!SystemTimeToFileTime(&fields, &asFileTime) || !FileTimeToSystemTime(&asFileTime, out))
        return false;
    return true;
}

int deliver(const char* ansi, char* out, size_t size) {
    std::string text = ansiToUtf8(ansi);
    if (text.empty() || text.size() + 1 > size)
        return 1;
    std::memcpy(out, text.c_str(), text.size() + 1);
    return 0;
}

enum class Part { Date, Time };

int formatPart(const SystemTime& time, Part part, DWORD flags, const char* picture, char* out,
               size_t size) {
    if (size > 0)
        out[0] = '\0';
    SYSTEMTIME fields;
    if (!toSystemTime(time, &fields))
        return 1;
    char buffer[FORMAT_BUFFER];
    int written =
        part == Part::Date
            ? GetDateFormatA(LOCALE_USER_DEFAULT, flags, &fields, picture, buffer, sizeof buffer)
            : GetTimeFormatA(LOCALE_USER_DEFAULT, flags, &fields, picture, buffer, sizeof buffer);
    return written == 0 ? 1 : deliver(buffer, out, size);
}

} // namespace

// The user's own short date, as set in the regional settings: a year the
// user wants in two digits stays so.
int formatShortDate(const SystemTime& time, char* out, size_t size) {
    return formatPart(time, Part::Date, DATE_SHORTDATE, nullptr, out, size);
}

// Forced to 24 hours, a 12-hour format would still carry its AM or PM.
int formatTime24(const SystemTime& time, char* out, size_t size) {
    return formatPart(time, Part::Time, TIME_FORCE24HOURFORMAT | TIME_NOTIMEMARKER, nullptr, out,
                      size);
}

int formatLongDate(const SystemTime& time, char* out, size_t size) {
    return formatPart(time, Part::Date, DATE_LONGDATE, nullptr, out, size);
}

int formatTimeNoSeconds(const SystemTime& time, char* out, size_t size) {
    return formatPart(time, Part::Time, TIME_NOSECONDS, nullptr, out, size);
}
