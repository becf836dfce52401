#include "platform/Help.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTextBrowser>
#include <QUrl>

namespace platform {

namespace {

QString g_helpFile;
HelpViewer* g_viewer = nullptr;

} // namespace

BrowserHelpViewer::BrowserHelpViewer() = default;
BrowserHelpViewer::~BrowserHelpViewer() = default;

void BrowserHelpViewer::ShowTopic(const QString& helpFile, int context) {
    if (!m_browser) {
        m_browser = std::make_unique<QTextBrowser>();
        m_browser->setObjectName("HelpBrowser");
        m_browser->setOpenLinks(true);
        // Closing the main window ends the program even while help is open.
        m_browser->setAttribute(Qt::WA_QuitOnClose, false);
        m_browser->resize(560, 480);
    }
    m_browser->setWindowTitle(QApplication::applicationName());
    m_browser->setSource(QUrl("qrc" + HelpTopicPath(helpFile, context)));
    m_browser->show();
    m_browser->raise();
    m_browser->activateWindow();
}

void SetHelpFile(const QString& name) {
    g_helpFile = name;
}
QString HelpFile() {
    return g_helpFile;
}
void SetHelpViewer(HelpViewer* viewer) {
    g_viewer = viewer;
}

void ShowHelpContext(int context) {
    if (g_viewer) g_viewer->ShowTopic(g_helpFile, context);
}

void ShowHelpContents() {
    ShowHelpContext(0);
}

QString HelpTopicPath(const QString& helpFile, int context) {
    const QString folder = ":/help/" + QFileInfo(helpFile).completeBaseName().toLower() + '/';
    const QString topic = folder + QString::number(context) + ".html";
    return context > 0 && QFile::exists(topic) ? topic : folder + "index.html";
}

int HelpContextOf(const QWidget* widget) {
    // The parent chain of a widget tree is finite and acyclic.
    for (; widget; widget = widget->parentWidget()) {
        const int context = widget->property("helpContext").toInt();
        if (context > 0) return context;
    }
    return 0;
}

bool HelpKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1)
        return QObject::eventFilter(watched, event);
    // The first receiver is the focused widget; consuming the key there stops its
    // propagation up the parent chain, so one F1 opens one topic.
    if (!watched->isWidgetType()) return false;
    ShowHelpContext(HelpContextOf(static_cast<QWidget*>(watched)));
    return true;
}

} // namespace platform
