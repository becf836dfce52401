#include "platform/SystemLocale.h"

#include "platform/LocaleSettings.h"

namespace platform {

QChar SystemDecimalSeparator() {
    return CurrentLocaleSettings().decimalSeparator;
}

} // namespace platform
