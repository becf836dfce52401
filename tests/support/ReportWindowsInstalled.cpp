// The report engine's preview, print-fit dialog and printers, installed as a program installs
// them at its start, for every test of an executable that links report_engine.

#include "report/engine/ui/ReportWindows.h"

#include <gtest/gtest.h>

namespace {

class ReportWindowsInstalled : public testing::Environment {
public:
    void SetUp() override { report::InstallReportWindows(); }
};

const testing::Environment* const installed =
    testing::AddGlobalTestEnvironment(new ReportWindowsInstalled);

} // namespace
