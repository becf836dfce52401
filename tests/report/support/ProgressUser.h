#pragma once
// The progress window installed for one test, and a user watching it: they note every text it
// shows and, once the `window`-th window they see (a run and the print after it show one
// each) shows the text they wait for (any text when none is given), stop the work with a mouse
// click on "Přerušit", the Esc key through the focus chain, or by closing the window.

#include "report/engine/ui/sestinf.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace reporttest {

struct ProgressWindowInstalled {
    ProgressWindowInstalled() { report::InstallProgressWindow(); }
    ~ProgressWindowInstalled() { report::InstallRunProgress({}); }
};

class ProgressUser {
public:
    enum Action { None, Click, Escape, Close };

    explicit ProgressUser(Action action, QString waitFor = {}, int window = 1)
        : m_action(action), m_waitFor(std::move(waitFor)), m_window(window) {
        // The run processes events between records and pages: the user acts then.
        QObject::connect(&m_timer, &QTimer::timeout, [this] { look(); });
        m_timer.start(0);
    }

    QStringList labels; // each text the windows showed, once
    int windows = 0;    // distinct windows seen
    bool acted = false;

private:
    void look() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() != u"FormInfo" || !w->isVisible()) continue;
            if (w != m_last) ++windows;
            m_last = w;
            const QString text = w->findChild<QLabel*>(QStringLiteral("LabelText"))->text();
            if (!labels.contains(text)) labels << text;
            if (acted || m_action == None || windows != m_window ||
                (!m_waitFor.isEmpty() && text != m_waitFor))
                return;
            acted = true;
            auto* button = w->findChild<QPushButton*>(QStringLiteral("Button1"));
            if (m_action == Click) {
                QTest::mouseClick(button, Qt::LeftButton);
            } else if (m_action == Escape) {
                QWidget* focus = QApplication::focusWidget();
                QTest::keyClick(focus && focus->window() == w ? focus : button, Qt::Key_Escape);
            } else {
                w->close();
            }
        }
    }

    Action m_action;
    QString m_waitFor;
    int m_window;
    QPointer<QWidget> m_last; // null once that window is gone
    QTimer m_timer;
};

inline QString preparing(int n) {
    return QStringLiteral("Připravuji tisk položky číslo: %1").arg(n);
}

} // namespace reporttest
