#include "app/ReportSetup.h"

#include "app/PrintRecords.h"
#include "report/engine/run/sestavyt.h"

void setUpPrintReport(report::TSestavaTyp& report, const AppState& state) {
    const QStringList parameters = print_records::parameters(state);
    report.setParametry(parameters);
    report.SetItemNames(print_records::itemNames());
    // item i holds the quantity of place i, whose row name is parameter i; the point's number
    // is labelled with the record caption, the last parameter
    report.setItemDescriptions(parameters.mid(0, 6) << parameters.last());
}
