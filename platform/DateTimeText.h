#pragma once
// The date-time double of the report engine (days since 30 December 1899) and its texts, in
// the pictures of the class library the engine was written for, with the names and formats of
// the locale record in force (LocaleSettings.h).

#include "platform/LocaleSettings.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace platform {

// The date-time double: days since 30 December 1899, the fraction the time of day. For a
// negative value the fraction still counts forward from midnight (-1.25 is 29 December 1899,
// 6:00).
struct DateTimeParts {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, msec = 0;
    int dayOfWeek = 0; // 1 Sunday .. 7 Saturday
};
// Nothing outside the years 1..9999 or for a value that is not finite.
std::optional<DateTimeParts> DecodeDateTime(double dateTime);
double DateTimeToDouble(const QDateTime& dateTime);
std::optional<QDateTime> DoubleToDateTime(double dateTime);

// A date-time double by a picture (letters in any case): c d dd ddd dddd ddddd dddddd m mm mmm
// mmmm yy yyyy h hh n nn s ss z zzz t tt am/pm a/p ampm / : and quoted literals; `m`/`mm`
// right after `h`/`hh` are minutes. An empty pattern is "c". A value outside the years
// 1..9999 gives the empty text.
QString FormatDateTime(const QString& pattern, double dateTime);

// The date part in the short date format; the time part in the long time format.
QString DateToStr(double dateTime);
QString TimeToStr(double dateTime);

} // namespace platform
