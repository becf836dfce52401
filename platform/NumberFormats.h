#pragma once
// Numbers as the report engine writes and reads them, in the formats of the class library it
// was written for: the general form, FloatToStrF's five formats, pictures, one integer in a
// format string, the strict conversion and rounding. They follow the locale record in force
// (LocaleSettings.h) for separators and currency.

#include "platform/LocaleSettings.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace platform {

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

// The text inside the quoted literal ('...' or "...") that starts at picture[i]; `end` receives
// the index after it (an unclosed literal runs to the end). Date pictures quote alike.
QString QuotedLiteral(const QString& picture, qsizetype i, qsizetype* end);

// `pattern` with its one specifier filled from `n`: %d, %u, %x with an optional index "0:",
// "-" (left-justify), width and ".precision" (minimum digits); "%%" is "%". A pattern whose
// specifiers do not fit one integer (another type, a second argument, a lone "%") gives the
// plain decimal text of `n`.
QString Format(const QString& pattern, int n);

// Strict conversion: blanks around it, one sign, digits, the locale decimal separator (only
// that one) and an exponent. Anything else, overflow, "nan" and "inf" give no value.
std::optional<double> StrToFloat(const QString& text);

// Nearest integer, ties to even; clamped to the range of int64, NaN gives 0.
std::int64_t Round(double v);

} // namespace platform
