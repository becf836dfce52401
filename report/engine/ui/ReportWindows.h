#pragma once
// The windows and printers of report_engine, put where the report model reaches them: the
// preview (TFormSestP), the print-fit dialog (TFormVoranReportZoom) and the system's
// printers. A program calls it once at start (the progress window is InstallProgressWindow's);
// without it a report shows nothing and prints nothing.

namespace report {

void InstallReportWindows();

} // namespace report
