// Opening the designer on a report. The designer library installs a factory here, so that the
// engine reaches the designer without linking it.

#include "report/engine/run/sestavy.h"
#include "report/engine/sestzpr.h"

namespace report {

namespace {

TSestavaTyp::DesignerFactory& designerFactory() {
    static TSestavaTyp::DesignerFactory factory;
    return factory;
}

// While a designer is open a data-aware report takes its records from its data source, not
// from the events of a run.
class DesigningScope {
public:
    explicit DesigningScope(TSestavaTyp& report) : m_report(dynamic_cast<TSestavaD*>(&report)) {
        if (m_report) {
            m_was = m_report->designing();
            m_report->setDesigning(true);
        }
    }
    ~DesigningScope() {
        if (m_report) m_report->setDesigning(m_was);
    }
    DesigningScope(const DesigningScope&) = delete;
    DesigningScope& operator=(const DesigningScope&) = delete;

private:
    TSestavaD* m_report;
    bool m_was = false;
};

int runDesigner(TSestavaTyp& report, const TSestavaTyp::EditRequest& request,
                void (TSestavaTyp::*showError)(const QString&) const) {
    // The designer would change the template under an active run or print.
    if (!designerFactory() || report.busy()) return seNothingDone;
    const DesigningScope designing(report);
    const int modalResult = designerFactory()(report, request);
    if (modalResult < 0) {
        (report.*showError)(LoadText(ReportText::NoSystemResources));
        return seCancelled;
    }
    return modalResult == 1 ? seOk : seCancelled;
}

} // namespace

void TSestavaTyp::setDesignerFactory(DesignerFactory factory) {
    designerFactory() = std::move(factory);
}

bool TSestavaTyp::designerInstalled() {
    return bool(designerFactory());
}

int TSestavaTyp::EditEx(bool noPrint, bool keepDescription) {
    if (!busy()) LoadBackgroundPicture();
    return runDesigner(*this, {nullptr, noPrint, keepDescription}, &TSestavaTyp::showError);
}

int TSestavaTyp::EditInOwner(QObject* owner, bool keepDescription) {
    return runDesigner(*this, {owner, false, keepDescription}, &TSestavaTyp::showError);
}

int TSestava::EditEx(bool noPrint, bool keepDescription) {
    if (busy()) return seNothingDone;
    if (BeforeEdit && !designing()) BeforeEdit(this);
    // The designer opens on the report as a run would see it: its data source checked, the
    // current record's values or the dataset's place kept, the item names and the template
    // loaded (a missing template file may be created).
    int result = seNothingDone;
    // A template that did not load was reported by the loading: once is enough.
    bool reported = false;
    if (CheckDataSource()) {
        const bool fromDataset = !eventsMode();
        if (fromDataset)
            bridge().SaveBookmark();
        else
            GetData();
        LoadItemNames();
        result = NactiPredlohu(true);
        reported = result != seOk;
        if (result == seOk) result = TSestavaTyp::EditEx(noPrint, keepDescription);
        if (fromDataset) {
            bridge().RestoreBookmark();
            closeIfOpenedByCheck();
            for (TSestDetail* detail : Detaily().items())
                detail->closeIfOpenedByCheck();
        }
    }
    if (!reported) reportError(result);
    if (AfterEdit && !designing()) AfterEdit(this);
    return result;
}

} // namespace report
