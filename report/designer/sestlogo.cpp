#include "report/designer/sestlogo.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace designer {

namespace {
QPointer<TFormLogo> g_logo;
}

TFormLogo::TFormLogo() : QFrame(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("FormLogo"));
    setFixedSize(250, 96);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    auto* icon = new QLabel;
    icon->setObjectName(QStringLiteral("ImageLogo"));
    icon->setPixmap(style()->standardIcon(QStyle::SP_FileDialogDetailedView).pixmap(32, 32));
    QFont bold = font();
    bold.setBold(true);
    auto* texts = new QVBoxLayout;
    for (const char* text : {"Čekejte prosím,", "připravuji editační modul..."}) {
        auto* label = new QLabel(QString::fromUtf8(text));
        label->setFont(bold);
        label->setAlignment(Qt::AlignCenter);
        texts->addWidget(label);
    }
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 3, 8, 3);
    layout->addWidget(icon);
    layout->addLayout(texts, 1);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TFormLogo::ShowWait() {
    if (!g_logo) g_logo = new TFormLogo;
    g_logo->show();
    g_logo->raise();
    g_logo->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TFormLogo::HideWait() {
    if (!g_logo) return;
    g_logo->hide();
    delete g_logo.data();
}

TFormLogo* TFormLogo::instance() {
    return g_logo.data();
}

} // namespace designer
