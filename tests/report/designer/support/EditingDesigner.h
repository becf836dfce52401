#pragma once
// A designer window opened on a template of a report with items, parameters and a detail, with
// helpers to select, click, find controls, answer the modal dialog an action opens and read
// back the stored lines.

#include "DesignerWindow.h"

#include "platform/Help.h"
#include "report/designer/TOddil.h"
#include "report/designer/TSesPrvek.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <initializer_list>

namespace designtest {

using namespace Qt::StringLiterals;

// Remembers which topics were asked for.
struct HelpRecorder : platform::HelpViewer {
    void showTopic(const QString& helpFile, int context) override {
        shown << u"%1 %2"_s.arg(helpFile).arg(context);
    }
    QStringList shown;
};

struct EditingDesigner : DesignedReport {
    // Items "pol0", "pol,1", "pol2" (display widths 10, 200, 7), parameters "a" and "b", one
    // detail; `text` is the template.
    explicit EditingDesigner(const QStringList& text, bool show = true)
        : EditingDesigner({{"pol0", "pol,1", "pol2"}, {"první", "druhá", "třetí"}, {"a", "b"}, 1},
                          text, show) {
        report.widths = {10, 200, 7};
        report.alignments = {1, 0x82, 0};
    }
    EditingDesigner(const GeneratedFixture& fixture, const QStringList& text, bool show)
        : DesignedReport(fixture), window(open(text)) {
        if (show) {
            window->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        }
    }

    designer::TPapir* paper() const { return window->paper(); }
    designer::TSesPrvek* element(int i) const { return paper()->Prvek(i); }
    designer::TOddil* section(int code) const {
        for (int i = 0; i < paper()->PocetOddilu(); ++i)
            if (paper()->Oddil(i)->code() == code) return paper()->Oddil(i);
        return nullptr;
    }
    template <typename T> T* find(const char* name) const {
        T* widget = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    // What the named control shows: a field's text (after "ro:" when read-only), a list's
    // current text, "1" or "0" for a box or a button, "hidden" when hidden.
    QString shown(const char* name) const {
        auto* control = find<QWidget>(name);
        if (!control || control->isHidden()) return u"hidden"_s;
        if (auto* field = qobject_cast<QLineEdit*>(control))
            return (field->isReadOnly() ? u"ro:"_s : QString()) + field->text();
        if (auto* list = qobject_cast<QComboBox*>(control)) return list->currentText();
        if (auto* button = qobject_cast<QAbstractButton*>(control))
            return button->isChecked() ? u"1"_s : u"0"_s;
        return u"?"_s;
    }
    QAction* action(const char* name) const { return window->action(QString::fromLatin1(name)); }
    // The first element is the primary, the others join it.
    void select(std::initializer_list<designer::TSesPrvek*> elements) const {
        window->ClearSelection();
        for (designer::TSesPrvek* e : elements)
            e == *elements.begin() ? window->SelectElement(e) : window->AddToSelection(e);
    }
    // Every element selected, `primary` the primary one.
    void selectAll(designer::TSesPrvek* primary) const {
        window->SelectElement(primary);
        for (int i = 0; i < paper()->PocetPrvku(); ++i)
            window->AddToSelection(element(i));
    }
    // A press and release at `pixel` of section `code`, as the user clicks.
    void click(int code, QPoint pixel, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
        QTest::mouseClick(section(code), Qt::LeftButton, modifiers, pixel);
    }
    // The stored lines whose key is `key`.
    QStringList lines(const QString& key) const {
        return window->storedText().filter(QRegularExpression(u"^"_s + key + u','));
    }
    // The element lines of the current history state.
    QStringList elementLines() const {
        QStringList lines;
        for (const QString& line : window->storedText())
            if (!line.startsWith(u'I') && !line.startsWith(u'F')) lines << line;
        return lines;
    }
    int steps() const { return window->history().CurrentIndex(); }
    QString stepName() const { return window->history().Name(window->history().CurrentIndex()); }
    QString undoCaption() const { return window->history().UndoCaption(); }
    QRect bounds(const designer::TSesPrvek* e) const {
        return {e->Left(), e->Top(), e->Width(), e->Height()};
    }

    std::unique_ptr<designer::TFormSestE> window;
};

// A designer window, not shown, on a small template of mixed elements: `lines` after a
// description, the paper and a body of 300.
struct EditedTemplate : EditingDesigner {
    explicit EditedTemplate(const QStringList& lines, bool showTree = false)
        : EditingDesigner({{"pol0", "pol1", "pol2"}, {"první", "druhá", "třetí"}, {"par"}, 1},
                          QStringList{u"I,0,\"Zkouška\""_s, u"I,1,5,40,17"_s,
                                      u"I,2,0,827,1169,50,50,70,70,1,0"_s, u"I,3,2,1,300,0"_s} +
                              lines,
                          false) {
        // opening reads the settings file: the tree setting is ours afterwards
        designer::EditorSettings().ShowTree = showTree;
        window->BuildElementTree();
    }
};

} // namespace designtest
