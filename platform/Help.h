#pragma once
// The help layer. A help file is known by its name ("kolv.hlp"); its topics are HTML pages in
// the Qt resource system, one per help context: ":/help/<name without extension>/<ctx>.html",
// with "index.html" as the contents. F1 opens the topic of the focused control: the first
// widget, walking up from it through its parents, whose property "helpContext" is > 0.

#include <QObject>
#include <QPointer>
#include <QString>

class QTextBrowser;
class QWidget;

namespace platform {

// Shows one topic; context 0 means the contents.
class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    virtual void showTopic(const QString& helpFile, int context) = 0;
};

// One reused help window: "Obsah / Contents", "Zpět / Back", "Zavřít / Close" over the topic.
// It opens beside the window that asked and closes with Esc. The program's modal windows do
// not block it: while one is open, the help window belongs to it, as help that runs on its
// own would stay usable.
class BrowserHelpViewer : public HelpViewer {
public:
    BrowserHelpViewer();
    ~BrowserHelpViewer() override;
    void showTopic(const QString& helpFile, int context) override;
    QWidget* window() const { return m_window; }
    QTextBrowser* browser() const { return m_browser; }

private:
    void create();

    QPointer<QWidget> m_window;
    QTextBrowser* m_browser = nullptr;
    QString m_helpFile;
};

// The application's help file and the viewer that F1 and ShowHelpContext use. The viewer is
// not owned; with none set, help requests do nothing.
void SetHelpFile(const QString& name);
QString helpFile();
void setHelpViewer(HelpViewer* viewer);

void ShowHelpContext(int context);
// The contents of another help file than the application's: a library window with a help
// file of its own (the report designer's "sestavy.hlp").
void ShowHelpFileContents(const QString& helpFile);

// The resource path of a topic; the contents page when the file has no topic for `context`.
QString helpTopicPath(const QString& helpFile, int context);

// The help context of `widget` or of its nearest ancestor that has one; 0 when none has.
int helpContextOf(const QWidget* widget);

// Application-wide F1: the help context of the widget that receives the key (the focused
// one), or the contents when it has none. Install once on the application object.
class HelpKeyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace platform
