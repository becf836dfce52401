#pragma once
// Numbers as text for the whole program. Nothing here reads the C locale: QCoreApplication
// calls setlocale(LC_ALL, ""), so printf, strtod and iostreams would follow the user's locale.
// This unit holds the calculator's number text; the report engine's formats follow the locale
// record (LocaleSettings), in NumberFormats and DateTimeText, which come with this header.

#include "platform/DateTimeText.h"
#include "platform/LocaleSettings.h"
#include "platform/NumberFormats.h"

#include <QChar>
#include <QString>

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

} // namespace platform
