#pragma once
// The progress window of a report run as the model knows it. The engine installs the window
// (the model has no widgets); runs, printers and writers report their records and pages to it
// and stop once the user has asked them to.

#include <functional>
#include <memory>

namespace report {

class RunProgress {
public:
    virtual ~RunProgress() = default;
    // Record n of a run, or page n (from 1) of a print or an export, is being prepared.
    virtual void ShowItem(int n) = 0;
    // The pages go to the printer: from now on the job cannot be stopped from the window.
    virtual void ShowSending() = 0;
    // The print waits for the print service to answer; the user may still stop it. A window
    // without such a text keeps what it shows.
    virtual void ShowWaiting() {}
    // Set for good once the user asked to stop; writers poll it.
    virtual const bool* cancelFlag() const = 0;
};

using RunProgressFactory = std::function<std::unique_ptr<RunProgress>()>;
// The engine's window; an empty factory removes it.
void InstallRunProgress(RunProgressFactory factory);
// A new window, or null when none is installed (tests, programs without windows).
std::unique_ptr<RunProgress> MakeRunProgress();

} // namespace report
