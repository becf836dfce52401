#pragma once
// Numbers as text for the whole program. Nothing here reads the C locale: QCoreApplication
// calls setlocale(LC_ALL, ""), so printf, strtod and iostreams would follow the user's locale.

#include <QChar>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace platform {

// Fixed notation with `decimals` places and a precision of 10 significant digits, `separator`
// between integer and fraction. Let E be the decimal exponent of |v| rounded to 10 significant
// digits. With more than 10 integer digits (E > 9) the text is scientific, with up to 10
// significant digits and no trailing zeros ("1.23456789E10"). Otherwise v is rounded to
// min(decimals, 9 - E) places and padded with zeros to `decimals` places; a value that rounds
// to zero carries no minus sign. `decimals` is clamped to 0..18, so a stored setting out of
// range never builds a huge text. Non-finite values give "NAN", "INF" or "-INF".
QString FormatFixed(double v, int decimals, QChar separator);

// A number typed by the user: blanks around it are ignored, '.' and ',' both separate the
// fraction, one leading sign and an exponent are allowed. Empty text, leftover characters,
// hexadecimal, "nan", "inf" and values outside the range of double give no value.
std::optional<double> ParseNumber(const QString& text);

// A decimal integer with an optional sign and blanks around it that fits in int; else nothing.
std::optional<int> ParseInt(const QString& text);

// ---- Formatting runtime of the report engine -------------------------------------------------
// Everything below follows one process-wide LocaleSettings record. It is filled from
// QLocale::system() at first use; tests set it through ScopedLocaleSettings.

// Separators, currency, date and time formats and names of one locale. Date and time formats
// are in the pattern language of FormatDateTime (`m` month, `n` minute), not Qt's.
struct LocaleSettings {
    QChar decimalSeparator = '.';
    QChar thousandSeparator = ',';
    QString currencyString;
    // Placement of the currency string: 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
    int currencyFormat = 0;
    // Negative amounts: 0 "($1)", 1 "-$1", 2 "$-1", 3 "$1-", 4 "(1$)", 5 "-1$", 6 "1-$",
    // 7 "1$-", 8 "-1 $", 9 "-$ 1", 10 "1 $-", 11 "$ 1-", 12 "$ -1", 13 "1- $", 14 "($ 1)",
    // 15 "(1 $)".
    int negCurrFormat = 1;
    QString shortDateFormat = "dd/mm/yyyy";
    QString longDateFormat = "dddd, d mmmm yyyy";
    QString shortTimeFormat = "hh:nn";
    QString longTimeFormat = "hh:nn:ss";
    QChar dateSeparator = '/';
    QChar timeSeparator = ':';
    QString timeAMString = "AM";
    QString timePMString = "PM";
    QStringList shortMonthNames; // January first, 12 entries
    QStringList longMonthNames;
    QStringList shortDayNames; // Sunday first, 7 entries
    QStringList longDayNames;

    // The settings of `locale`, its Qt date and time patterns converted.
    static LocaleSettings fromLocale(const QLocale& locale);
};

// The record in force.
const LocaleSettings& CurrentLocaleSettings();

// Sets the record for its lifetime and restores the previous one after.
class ScopedLocaleSettings {
public:
    explicit ScopedLocaleSettings(const LocaleSettings& settings);
    ~ScopedLocaleSettings();
    ScopedLocaleSettings(const ScopedLocaleSettings&) = delete;
    ScopedLocaleSettings& operator=(const ScopedLocaleSettings&) = delete;

private:
    LocaleSettings m_previous;
};

// General format with 15 significant digits, rounded half away from zero: fixed notation when
// 0.0001 <= |v| < 1E15 after rounding, else mantissa + "E" + exponent without plus sign or
// leading zeros ("1E15", "1E-5"); trailing zeros and a bare separator are dropped.
QString FloatToStr(double v);

// `format`: 0 general with `precision` significant digits and at least `digits` exponent
// digits; 1 exponent "d.dddE+dd" with `precision` digits and at least `digits` (0-4) exponent
// digits; 2 fixed with `digits` decimals; 3 as 2 with thousand separators; 4 currency, as 3 with
// the currency string placed as the locale says. 2-4 fall back to the general form when the
// integer part has more than `precision` digits. Precision is clamped to 1..18, digits to
// 0..18, an unknown format is 0. Rounding is half away from zero on the exact value of `v`.
QString FloatToStrF(double v, int format, int precision, int digits);

// FloatToStrF with every digit taken from the exact decimal value of `v`. The two above take
// the shortest digits that read back as `v` wherever those decide the text, and this is the
// reference they are proven against.
QString FloatToStrFExact(double v, int format, int precision, int digits);

// A number by a picture: `0` digit, `#` optional digit, the first `.` the decimal separator,
// `,` anywhere thousand grouping, `E+ E- e+ e-` with 1-4 `0`s scientific, '...' and "..."
// literals, other characters copied; up to three sections "positive;negative;zero" (an empty
// section is the first one). The empty pattern is FloatToStr.
QString FormatFloat(const QString& pattern, double v);

// A date-time double by a picture (letters in any case): c d dd ddd dddd ddddd dddddd m mm mmm
// mmmm yy yyyy h hh n nn s ss z zzz t tt am/pm a/p ampm / : and quoted literals; `m`/`mm`
// right after `h`/`hh` are minutes. An empty pattern is "c". A value outside the years
// 1..9999 gives the empty text.
QString FormatDateTime(const QString& pattern, double dateTime);

// `pattern` with its one specifier filled from `n`: %d, %u, %x with an optional index "0:",
// "-" (left-justify), width and ".precision" (minimum digits); "%%" is "%". A pattern whose
// specifiers do not fit one integer (another type, a second argument, a lone "%") gives the
// plain decimal text of `n`.
QString Format(const QString& pattern, int n);

// The date part in the short date format; the time part in the long time format.
QString DateToStr(double dateTime);
QString TimeToStr(double dateTime);

// Strict conversion: blanks around it, one sign, digits, the locale decimal separator (only
// that one) and an exponent. Anything else, overflow, "nan" and "inf" give no value.
std::optional<double> StrToFloat(const QString& text);

// Nearest integer, ties to even; clamped to the range of int64, NaN gives 0.
std::int64_t Round(double v);

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

} // namespace platform
