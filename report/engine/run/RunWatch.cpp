#include "report/engine/run/RunWatch.h"

#include "report/engine/document/RunProgress.h"
#include "report/engine/document/sestvyst.h"
#include "report/engine/run/sestavyt.h"

namespace report {

RunWatch::RunWatch(TSestavaTyp& report) : m_document(report.Vystup()), m_report(&report) {
    if (!report.watched()) attach();
}

RunWatch::RunWatch(TSestVystup& document) : m_document(document) {
    attach();
}

void RunWatch::attach() {
    if (m_document.Progress()) return;
    m_own = MakeRunProgress();
    if (!m_own) return;
    RunProgress* window = m_own.get();
    m_document.SetProgress(window);
    if (m_report)
        m_report->setRunObserver([window](int record) { window->ShowItem(record); },
                                 [window] { return *window->cancelFlag(); });
}

RunWatch::~RunWatch() {
    if (!m_own) return;
    m_document.SetProgress(nullptr);
    if (m_report) m_report->setRunObserver(nullptr, nullptr);
}

const bool* RunWatch::cancelFlag() const {
    return m_document.Progress() ? m_document.Progress()->cancelFlag() : nullptr;
}

bool RunWatch::cancelled() const {
    const bool* flag = cancelFlag();
    return flag && *flag;
}

} // namespace report
