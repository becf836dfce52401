#include "platform/SystemLocale.h"

#include "platform/NumberText.h"

namespace platform {

QChar SystemDecimalSeparator() {
    return CurrentLocaleSettings().decimalSeparator;
}

} // namespace platform
