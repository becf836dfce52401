#pragma once
// The preview window as the report model knows it. The engine installs the window (the model
// has no widgets); a report shows its generated document in it.

#include "platform/TCanvas.h"

#include <QRect>
#include <QString>

#include <functional>
#include <optional>

namespace platform {
class MessageSink;
}

namespace report {

class TPicture;
class TSestVystup;

// What the preview shows and offers, as the report sets it.
struct PreviewRequest {
    TSestVystup* document = nullptr; // not owned; its first page of the range is shown first
    const TPicture* background = nullptr;
    platform::TRect backgroundRect; // on the paper, 1/100 inch
    bool backgroundInPages = false;
    platform::MessageSink* messages = nullptr;
    std::function<void()> beforePrint;
    std::function<void()> afterPrint;
    std::function<void(int page)> userAction; // the user action, with the current page
    bool printEnabled = true;
    bool userActionVisible = false;
    QString userActionHint;
    bool editEnabled = false;
    int zoomStep = 6; // of the eleven zoom steps; 6 is 100 %
    QRect bounds;     // empty: the window's own
    bool maximized = false;
};

// Shows the modal preview; true when the user asked there to edit the template.
using PreviewWindow = std::function<bool(const PreviewRequest& request)>;
// The engine's window; an empty one removes it.
void InstallPreviewWindow(PreviewWindow window);
// Whether the user asked to edit the template; none when no window is installed (tests,
// programs without windows: nothing is shown).
std::optional<bool> ShowPreviewWindow(const PreviewRequest& request);

} // namespace report
