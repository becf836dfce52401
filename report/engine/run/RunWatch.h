#pragma once
// One progress window over a report's run and the printing or export that follows it, for the
// life of the watch: the run shows its records, the document's printers and writers their
// pages, and the window's cancel stops each of them. A watch over something that is watched
// already (the run inside a print) adds no second window and answers with the first one's
// flag; without an installed window (RunProgress.h) nothing is shown and nothing cancels.

#include <memory>

namespace report {

class RunProgress;
class TSestavaTyp;
class TSestVystup;

class RunWatch {
public:
    // Watches the report's run and its document.
    explicit RunWatch(TSestavaTyp& report);
    // Watches what prints or exports a generated document.
    explicit RunWatch(TSestVystup& document);
    ~RunWatch();
    RunWatch(const RunWatch&) = delete;
    RunWatch& operator=(const RunWatch&) = delete;

    // The window's cancel flag (the document asks it in CancelRequested); null without one.
    const bool* cancelFlag() const;
    bool cancelled() const;

private:
    void attach();

    TSestVystup& m_document;
    TSestavaTyp* m_report = nullptr;
    std::unique_ptr<RunProgress> m_own; // the window this watch shows; null when passive
};

} // namespace report
