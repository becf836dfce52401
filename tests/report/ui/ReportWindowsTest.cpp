// The report's preview through the window InstallReportWindows puts where the model reaches
// it: what the report asks of the window, and what comes back.

#include "support/ExportFixture.h"

#include "report/engine/ui/sestp.h"

#include <QAction>

#include <gtest/gtest.h>

using namespace report;
using namespace reporttest;

namespace {

struct Report {
    Report(int rows = 120) {
        std::vector<QStringList> data;
        for (int i = 1; i <= rows; ++i)
            data.push_back({QStringLiteral("row%1").arg(i)});
        t = std::make_unique<TableReport>(QStringList{"Vel1"}, data);
        t->setTemplate({paperLine(827, 1169, 50), sectionLine(2, true, 20),
                        textLine("T", 2, "Vel1", 10, 0, 200, 20)});
        t->report.IsStored = true; // the template given here, not a file
        t->report.OnError = [this](TSestava*, int error) {
            errors << error;
            return true;
        };
    }
    std::unique_ptr<TableReport> t;
    QList<int> errors;
};

TEST(ComponentExport, PreviewShowsTheRunWithEditDisabled) {
    Report r;
    int shown = 0;
    TFormSestP::setModalHook([&](TFormSestP& form) {
        ++shown;
        EXPECT_FALSE(form.ActionEdit->isEnabled());
        EXPECT_TRUE(form.ActionPrint->isEnabled());
        EXPECT_EQ(form.ZoomStep(), 4); // 75 %
        EXPECT_EQ(form.CurrentPage(), 0);
        form.ActionPgDn->trigger();
        return int(TFormSestP::EditTemplate);
    });
    r.t->report.DisablePrint = false;
    EXPECT_EQ(r.t->report.PreviewEx({}, 0, 75, 0), 0);
    r.t->report.DisablePrint = true;
    TFormSestP::setModalHook([&](TFormSestP& form) {
        EXPECT_FALSE(form.ActionPrint->isEnabled());
        return int(TFormSestP::Closed);
    });
    EXPECT_EQ(r.t->report.Preview(), 0);
    TFormSestP::setModalHook({});
    EXPECT_EQ(shown, 1);
    // The designer's path: the edit request comes back as 1.
    TFormSestP::setModalHook([](TFormSestP& form) {
        EXPECT_TRUE(form.ActionEdit->isEnabled());
        return int(TFormSestP::EditTemplate);
    });
    EXPECT_EQ(r.t->report.ShowPreview(true), 1);
    TFormSestP::setModalHook({});
}

} // namespace
