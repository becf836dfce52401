#pragma once
// The decimal separator of the user's locale. On Linux it comes from LC_ALL, LC_NUMERIC or
// LANG, read by QLocale itself, so it does not need the glibc locale to be installed.

#include <QChar>

namespace platform {

// The decimal separator of the locale settings in force (LocaleSettings.h), which start as the
// first character of QLocale::system().decimalPoint().
QChar SystemDecimalSeparator();

} // namespace platform
