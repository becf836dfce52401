#pragma once
// A report with items, parameters and details, in a program folder of its own, and a designer
// window opened on it with a message recorder.

#include "TemplateGenerator.h"
#include "platform/MessageSink.h"
#include "report/designer/TEditorSettings.h"
#include "report/designer/TFormSestE.h"
#include "report/engine/printing/sestprn.h"
#include "report/engine/run/sestavy.h"

#include <QApplication>
#include <QDialog>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace designtest {

using namespace Qt::StringLiterals;

// A report whose items may have display widths and alignments of their own.
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

struct DesignedReport {
    explicit DesignedReport(const GeneratedFixture& fixture = {})
        : report(nullptr, folder.path()) {
        report.setMessageSink(&messages);
        report.SetItemNames(fixture.itemNames);
        report.setItemDescriptions(fixture.itemDescriptions);
        report.setParametry(fixture.parameters);
        for (int j = 0; j < fixture.details; ++j) {
            details.push_back(std::make_unique<report::TSestDetail>(nullptr, folder.path()));
            details.back()->setMaster(&report);
            details.back()->Popis = u"detail %1"_s.arg(j);
        }
        designer::EditorSettings() = {};
    }

    // A designer window opened on the report's template.
    std::unique_ptr<designer::TFormSestE> open() {
        auto window = std::make_unique<designer::TFormSestE>();
        window->setMessageSink(&messages);
        EXPECT_TRUE(window->OpenSestava(&report, 1, false));
        return window;
    }

    // The same on `text` as the report's template.
    std::unique_ptr<designer::TFormSestE> open(const QStringList& text) {
        report.SetPredloha(text);
        return open();
    }

    ~DesignedReport() { designer::EditorSettings() = {}; }

    // opening a template sets the library's page setup: restored afterwards
    report::PageSetupGuard pageSetup;
    QTemporaryDir folder;
    platform::MessageRecorder messages;
    MeasuredReport report;
    std::vector<std::unique_ptr<report::TSestDetail>> details;
};

// "" when equal, else the first differing line of the two texts.
inline std::string firstDifference(const QStringList& expected, const QStringList& actual) {
    for (qsizetype i = 0; i < std::max(expected.size(), actual.size()); ++i) {
        const QString a = i < expected.size() ? expected[i] : u"<none>"_s;
        const QString b = i < actual.size() ? actual[i] : u"<none>"_s;
        if (a != b)
            return u"line %1:\n  expected %2\n  actual   %3"_s.arg(i + 1).arg(a, b).toStdString();
    }
    return {};
}

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
