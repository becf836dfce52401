#pragma once
// A designer window shown on a template of a report whose items have display widths and
// alignments of their own, with helpers to select, click and read back element lines.

#include "platform/Help.h"
#include "platform/MessageSink.h"
#include "report/designer/TEditorSettings.h"
#include "report/designer/TFormSestE.h"
#include "report/designer/TOddil.h"
#include "report/designer/TSesPrvek.h"
#include "report/engine/sestavy.h"
#include "report/engine/sestprn.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <vector>

namespace designtest {

class MeasuredReport : public report::TSestava {
public:
    using TSestava::TSestava;
    int GetDisplayWidth(int i) override {
        return i >= 0 && i < widths.size() ? widths[i] : TSestava::GetDisplayWidth(i);
    }
    int GetAlignment(int i) override {
        return i >= 0 && i < alignments.size() ? alignments[i] : TSestava::GetAlignment(i);
    }
    QList<int> widths;
    QList<int> alignments;
};

// Remembers which topics were asked for.
struct HelpRecorder : platform::HelpViewer {
    void showTopic(const QString& helpFile, int context) override {
        shown << QStringLiteral("%1 %2").arg(helpFile).arg(context);
    }
    QStringList shown;
};

struct EditingDesigner {
    // Items "pol0", "pol,1", "pol2" (display widths 10, 200, 7), parameters "a" and "b", one
    // detail; `text` is the template.
    explicit EditingDesigner(const QStringList& text, bool show = true)
        : report(nullptr, folder.path()) {
        designer::EditorSettings() = {};
        report.setMessageSink(&messages);
        report.SetItemNames({"pol0", "pol,1", "pol2"});
        report.setItemDescriptions({"první", "druhá", "třetí"});
        report.setParametry({"a", "b"});
        report.widths = {10, 200, 7};
        report.alignments = {1, 0x82, 0};
        detail = std::make_unique<report::TSestDetail>(nullptr, folder.path());
        detail->setMasterSestava(&report);
        detail->Popis = QStringLiteral("detail");
        report.SetPredloha(text);
        window = std::make_unique<designer::TFormSestE>();
        window->setMessageSink(&messages);
        EXPECT_TRUE(window->OpenSestava(&report, 1, false));
        if (show) {
            window->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        }
    }
    ~EditingDesigner() {
        window.reset();
        designer::EditorSettings() = {};
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
    QAction* action(const char* name) const { return window->action(QString::fromLatin1(name)); }
    // The first element is the primary, the others join it.
    void select(std::initializer_list<designer::TSesPrvek*> elements) const {
        window->ClearSelection();
        for (designer::TSesPrvek* e : elements)
            e == *elements.begin() ? window->SelectElement(e) : window->AddToSelection(e);
    }
    // A press and release at `pixel` of section `code`, as the user clicks.
    void click(int code, QPoint pixel, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
        QTest::mouseClick(section(code), Qt::LeftButton, modifiers, pixel);
    }
    // The stored lines whose key is `key`.
    QStringList lines(const QString& key) const {
        return window->storedText().filter(QRegularExpression(QStringLiteral("^") + key + u','));
    }
    int steps() const { return window->history().CurrentIndex(); }
    QString stepName() const { return window->history().Name(window->history().CurrentIndex()); }
    QRect bounds(const designer::TSesPrvek* e) const {
        return {e->Left(), e->Top(), e->Width(), e->Height()};
    }

    report::PageSetupGuard pageSetup;
    QTemporaryDir folder;
    platform::MessageRecorder messages;
    MeasuredReport report;
    std::unique_ptr<report::TSestDetail> detail;
    std::unique_ptr<designer::TFormSestE> window;
};

} // namespace designtest
