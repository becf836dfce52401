#include "platform/Help.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>

#include <algorithm>

namespace platform {

namespace {

QString g_helpFile;
HelpViewer* g_viewer = nullptr;

} // namespace

BrowserHelpViewer::BrowserHelpViewer() = default;

BrowserHelpViewer::~BrowserHelpViewer() {
    delete m_window; // null when a modal window it belonged to took it along
}

void BrowserHelpViewer::create() {
    m_window = new QWidget(nullptr, Qt::Window);
    m_window->setObjectName("HelpWindow");
    // Closing the main window ends the program even while help is open.
    m_window->setAttribute(Qt::WA_QuitOnClose, false);
    m_window->resize(560, 480);
    auto* layout = new QVBoxLayout(m_window);
    auto* buttons = new QHBoxLayout;
    auto addButton = [&](const char* name, const QString& caption) {
        auto* button = new QPushButton(caption, m_window);
        button->setObjectName(name);
        button->setAutoDefault(false);
        buttons->addWidget(button);
        return button;
    };
    QPushButton* contents = addButton("HelpContents", QString::fromUtf8("Obsah / Contents"));
    QPushButton* back = addButton("HelpBack", QString::fromUtf8("Zpět / Back"));
    buttons->addStretch();
    QPushButton* close = addButton("HelpClose", QString::fromUtf8("Zavřít / Close"));
    layout->addLayout(buttons);
    m_browser = new QTextBrowser(m_window);
    m_browser->setObjectName("HelpBrowser");
    m_browser->setOpenLinks(true);
    layout->addWidget(m_browser);
    QObject::connect(contents, &QPushButton::clicked, m_browser,
                     [this] { m_browser->setSource(QUrl("qrc" + helpTopicPath(m_helpFile, 0))); });
    QObject::connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    QObject::connect(m_browser, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
    back->setEnabled(false);
    QObject::connect(close, &QPushButton::clicked, m_window, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), m_window);
    QObject::connect(escape, &QShortcut::activated, m_window, &QWidget::close);
}

void BrowserHelpViewer::showTopic(const QString& helpFile, int context) {
    QWidget* asking = QApplication::activeModalWidget();
    if (!asking) asking = QApplication::activeWindow();
    if (asking && asking->window() == m_window) asking = nullptr;
    if (!m_window) create();
    // A window that belongs to the open modal window is not blocked by it.
    QWidget* owner = QApplication::activeModalWidget();
    if (m_window->parentWidget() != owner) m_window->setParent(owner, Qt::Window);
    m_helpFile = helpFile;
    m_window->setWindowTitle(QApplication::applicationName());
    m_browser->setSource(QUrl("qrc" + helpTopicPath(helpFile, context)));
    if (asking) {
        // Beside the window that asked, on its screen.
        const QRect near = asking->frameGeometry();
        const QRect screen = asking->screen()->availableGeometry();
        const int width = m_window->frameGeometry().width();
        QPoint at(near.right() + 8, near.top());
        if (at.x() + width > screen.right() + 1) {
            // The left side, else as far right as the screen allows.
            at.setX(near.left() - width - 8);
            if (at.x() < screen.left())
                at.setX(std::max(screen.left(), screen.right() + 1 - width));
        }
        at.setY(std::clamp(at.y(), screen.top(),
                           std::max(screen.top(), screen.bottom() - m_window->height())));
        m_window->move(at);
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void SetHelpFile(const QString& name) {
    g_helpFile = name;
}
QString helpFile() {
    return g_helpFile;
}
void setHelpViewer(HelpViewer* viewer) {
    g_viewer = viewer;
}

void ShowHelpContext(int context) {
    if (g_viewer) g_viewer->showTopic(g_helpFile, context);
}

void ShowHelpFileContents(const QString& helpFile) {
    if (g_viewer) g_viewer->showTopic(helpFile, 0);
}

QString helpTopicPath(const QString& helpFile, int context) {
    const QString folder = ":/help/" + QFileInfo(helpFile).completeBaseName().toLower() + '/';
    const QString topic = folder + QString::number(context) + ".html";
    return context > 0 && QFile::exists(topic) ? topic : folder + "index.html";
}

int helpContextOf(const QWidget* widget) {
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
    ShowHelpContext(helpContextOf(static_cast<QWidget*>(watched)));
    return true;
}

} // namespace platform
