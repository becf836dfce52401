#pragma once
// The decimal separator of the user's locale. On Linux it comes from LC_ALL, LC_NUMERIC or
// LANG, read by QLocale itself, so it does not need the glibc locale to be installed.

#include <QChar>

namespace platform {

// The first character of QLocale::system().decimalPoint(); '.' when that is empty.
QChar SystemDecimalSeparator();

} // namespace platform
