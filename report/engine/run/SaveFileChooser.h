#pragma once
// The seam through which the report asks the user for a file to save to, so that the model
// never opens a window itself: the application installs the dialog (DialogFileChooser), tests
// install an answer.

#include <QString>

namespace report {

struct SaveFileRequest {
    QString title;
    // Filter in the classic form "Description (*.ext)|*.EXT|...".
    QString filter;
    QString folder;
    QString fileName;
    // Added to a chosen name without extension, e.g. ".txt"; empty: none.
    QString defaultSuffix;
    // Whether choosing an existing file asks before overwriting it.
    bool confirmOverwrite = true;
};

class SaveFileChooser {
public:
    virtual ~SaveFileChooser() = default;
    // The chosen file's full path (the user confirmed overwriting an existing one); empty when
    // the user cancelled.
    virtual QString chooseSaveFile(const SaveFileRequest& request) = 0;
};

} // namespace report
