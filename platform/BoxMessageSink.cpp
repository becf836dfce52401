#include "platform/BoxMessageSink.h"

#include <QApplication>
#include <QMessageBox>

namespace platform {

void BoxMessageSink::ShowMessage(const QString& text) {
    QMessageBox::information(QApplication::activeWindow(), QApplication::applicationName(), text);
}

} // namespace platform
