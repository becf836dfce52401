#pragma once
// Why a print did not reach paper, as the printers (PrintJobs, Printers) find it and the report
// tells it: each cause has its own words, so that the user learns what to mend.

#include <QString>

namespace platform {

struct PrintFailure {
    enum Cause {
        None,             // printed, or nothing to print
        Cancelled,        // the user stopped waiting for the print service
        NoPrinter,        // the print service has no queue at all
        ServiceSilent,    // the scheduler takes connections but does not answer
        ServiceDown,      // no scheduler runs where libcups looks for one
        PrinterGone,      // the queue chosen is no longer on the system
        PrinterStopped,   // the queue is stopped (disabled), `detail` says why
        PrinterRejecting, // the queue rejects jobs, `detail` says why
        SpoolNotWritten,  // the job could not be written whole into the temporary folder
        Refused,          // the scheduler refused the job, `detail` in its own words
        JobFailed,        // the queue took the job and then stopped or aborted it
    };
    Cause cause = None;
    // The queue, or for the scheduler's causes the scheduler (its socket or host).
    QString printer;
    // The scheduler's reason, or the temporary folder of SpoolNotWritten.
    QString detail;

    bool failed() const { return cause != None && cause != Cancelled; }
};

} // namespace platform
