// Dates and times in the user's regional formats, as the text export and the
// printed page show them. Texts are UTF-8. Each function writes at most size
// bytes including the terminator and returns 0, or nonzero (leaving out
// empty) when the time is no valid calendar time or the text does not fit.
#pragma once
#include <cstddef>

#include "platform/clock.h"

// The regional short date. On Windows it is the user's own short date
// format as it stands. The C library's %x of many locales has a two-digit
// year, which would make a file's dates ambiguous across centuries, so on
// POSIX the year is written in four digits (25/12/2009 in a British locale;
// 2009-12-25 where no region is set).
int formatShortDate(const SystemTime& time, char* out, size_t size);
// The regional time of day on a 24-hour clock, with seconds.
int formatTime24(const SystemTime& time, char* out, size_t size);
// The regional long date, with the weekday and the month's name.
int formatLongDate(const SystemTime& time, char* out, size_t size);
// The regional time of day without seconds.
int formatTimeNoSeconds(const SystemTime& time, char* out, size_t size);
