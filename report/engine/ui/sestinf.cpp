#include "report/engine/ui/sestinf.h"

#include "report/engine/sestzpr.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace report {

TFormInfo::TFormInfo(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("FormInfo"));
    setWindowTitle(QStringLiteral("Informace"));
    // A dialog border without the close button: only "Přerušit" stops the run.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowModality(Qt::ApplicationModal);
    m_label = new QLabel;
    m_label->setObjectName(QStringLiteral("LabelText"));
    m_label->setAlignment(Qt::AlignCenter);
    m_button = new QPushButton(QStringLiteral("Přerušit"));
    m_button->setObjectName(QStringLiteral("Button1"));
    connect(m_button, &QPushButton::clicked, this, [this] { requestCancel(); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_button, 0, Qt::AlignHCenter);
    // Room for the longest of the texts, with the largest item number.
    const QFontMetrics metrics(m_label->font());
    const int textWidth =
        std::max({metrics.horizontalAdvance(LoadText(ReportText::PreparingItem) + "2147483647"),
                  metrics.horizontalAdvance(LoadText(ReportText::SendingToPrinter)),
                  metrics.horizontalAdvance(LoadText(ReportText::WaitingForPrintService))});
    setFixedSize(std::max(textWidth + 60, 300), sizeHint().height() + 10);
    qApp->installEventFilter(this);
}

bool TFormInfo::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched != this && isVisible() &&
        watched->isWidgetType()) {
        const auto* window = static_cast<QWidget*>(watched);
        if (window->isWindow() && window->isModal()) hide();
    }
    return false;
}

void TFormInfo::showNow() {
    if (!isVisible()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
        show(); // not exec(): the caller goes on with its run
    }
    repaint();
}

void TFormInfo::ShowItem(int n) {
    m_label->setText(LoadText(ReportText::PreparingItem) + QString::number(n));
    showNow();
}

void TFormInfo::ShowSending() {
    m_button->setEnabled(false);
    m_label->setText(LoadText(ReportText::SendingToPrinter));
    showNow();
}

void TFormInfo::ShowWaiting() {
    m_label->setText(LoadText(ReportText::WaitingForPrintService));
    showNow();
}

void TFormInfo::requestCancel() {
    // Once the pages go to the printer nothing can stop the job from here.
    if (m_button->isEnabled()) m_cancelRequested = true;
}

void TFormInfo::reject() {
    requestCancel();
}

void TFormInfo::closeEvent(QCloseEvent* event) {
    // The window stays until its run has stopped; its owner frees it then.
    requestCancel();
    event->ignore();
}

void InstallProgressWindow() {
    InstallRunProgress([]() -> std::unique_ptr<RunProgress> {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return nullptr;
        return std::make_unique<TFormInfo>();
    });
}

} // namespace report
