// The report's preview through the window InstallReportWindows puts where the model reaches
// it: what the report asks of the window, and what comes back.

#include "support/ExportFixture.h"

#include "report/engine/ui/sestp.h"

#include <QAction>

#include <gtest/gtest.h>

using namespace report;
using namespace reporttest;

namespace {

TEST(ComponentExport, PreviewShowsTheRunWithEditDisabled) {
    RowsReport r;
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
