#include "platform/BoxMessageSink.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

namespace platform {

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void BoxMessageSink::ShowMessage(const QString& text) {
    QMessageBox::information(QApplication::activeWindow(), QApplication::applicationName(), text);
}

MessageAnswer BoxMessageSink::ShowBox(const QString& text, const QString& caption,
                                      MessageButtons buttons, MessageIcon icon) {
    const bool question = buttons != MessageButtons::Ok;
    const bool cancel = buttons == MessageButtons::YesNoCancel;
    QMessageBox::StandardButtons offered = QMessageBox::Ok;
    if (question) offered = QMessageBox::Yes | QMessageBox::No;
    if (cancel) offered |= QMessageBox::Cancel;
    QMessageBox box(boxIcon(icon), caption, text, offered, QApplication::activeWindow());
    if (m_buttons == Buttons::Czech) {
        const std::pair<QMessageBox::StandardButton, const char16_t*> czech[] = {
            {QMessageBox::Ok, u"OK"},
            {QMessageBox::Yes, u"&Ano"},
            {QMessageBox::No, u"&Ne"},
            {QMessageBox::Cancel, u"Storno"}};
        for (const auto& [button, text] : czech)
            if (QAbstractButton* shown = box.button(button))
                shown->setText(QString::fromUtf16(text));
    }
    if (question) box.setEscapeButton(cancel ? QMessageBox::Cancel : QMessageBox::No);
    const int chosen = box.exec();
    if (!question) return MessageAnswer::Ok;
    if (chosen == QMessageBox::Yes) return MessageAnswer::Yes;
    return chosen == QMessageBox::No || !cancel ? MessageAnswer::No : MessageAnswer::Cancel;
}

} // namespace platform
