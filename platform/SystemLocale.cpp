#include "platform/SystemLocale.h"

#include <QLocale>
#include <QString>

namespace platform {

QChar SystemDecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    return point.isEmpty() ? QChar('.') : point.at(0);
}

} // namespace platform
