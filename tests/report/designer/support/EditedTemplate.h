#pragma once
// A designer window opened on a small template of mixed elements, with helpers to find its
// controls, to answer the modal dialog that an action opens, and to read the stored lines.

#include "DesignerWindow.h"

#include "report/designer/TOddil.h"
#include "report/designer/TSesPrvek.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>

namespace designtest {

struct EditedTemplate : DesignedReport {
    explicit EditedTemplate(const QStringList& lines, bool showTree = false)
        : DesignedReport({{"pol0", "pol1", "pol2"}, {"první", "druhá", "třetí"}, {"par"}, 1}) {
        QStringList text{QStringLiteral("I,0,\"Zkouška\""), QStringLiteral("I,1,5,40,17"),
                         QStringLiteral("I,2,0,827,1169,50,50,70,70,1,0"),
                         QStringLiteral("I,3,2,1,300,0")};
        report.SetPredloha(text + lines);
        window = open();
        // opening reads the settings file: the tree setting is ours afterwards
        designer::EditorSettings().ShowTree = showTree;
        window->BuildElementTree();
    }

    designer::TSesPrvek* element(int i) const { return window->paper()->Prvek(i); }
    template <typename W> W* find(const char* name) const {
        W* widget = window->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    // The element lines of the current history state.
    QStringList elementLines() {
        QStringList lines;
        for (const QString& line : window->storedText())
            if (!line.startsWith(u'I') && !line.startsWith(u'F')) lines << line;
        return lines;
    }
    QString undoCaption() { return window->history().UndoCaption(); }
    // A multiple selection of the elements, `primary` the primary one.
    void selectAll(designer::TSesPrvek* primary) {
        window->SelectElement(primary);
        for (int i = 0; i < window->paper()->PocetPrvku(); ++i)
            window->AddToSelection(element(i));
    }

    std::unique_ptr<designer::TFormSestE> window;
};

// Runs `action`; the first modal dialog it opens is handed to `answer`, which closes it (or
// it is closed with Storno). Returns how many modal dialogs were seen.
inline int answerModal(const std::function<void()>& action,
                       const std::function<void(QDialog&)>& answer) {
    int seen = 0;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        ++seen;
        answer(*dialog);
        if (dialog->isVisible()) dialog->reject();
    });
    poll.start();
    action();
    return seen;
}

} // namespace designtest
