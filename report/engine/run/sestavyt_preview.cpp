// Showing a report in the preview: the generated document with its page range and
// background in the modal window the engine installs, and the published component's
// run-then-preview.
#include "report/engine/document/PreviewWindow.h"
#include "report/engine/document/TPicture.h"
#include "report/engine/document/sestvyst.h"
#include "report/engine/run/sestavy.h"
#include "report/engine/sest_lib.h"

namespace report {

namespace {
// Window states of the form, as the component passes them.
enum WindowState { wsNormal = 0, wsMaximized = 2 };
} // namespace

int TSestavaTyp::ShowPreview(bool editEnabled, int zoom, const QRect& bounds, int state) {
    // The document is being made or printed by an active run.
    if (busy()) return seNothingDone;
    LoadBackgroundPicture();
    TSestVystup& doc = Vystup();
    doc.SetPageRange(StartPage, EndPage, ExportLanguage, PrintCopies);
    const TemplateBackground& bg = background();
    const TSestVystup::PageLayout& page = doc.pageLayout();
    const int width = bg.width > 0 ? bg.width : page.pageWidth;
    const int height = bg.height > 0 ? bg.height : page.pageHeight;
    const TPicture* picture =
        backgroundPicture() && !backgroundPicture()->isEmpty() ? backgroundPicture() : nullptr;
    const platform::TRect rect{bg.x, bg.y, bg.x + width, bg.y + height};
    const bool inPages = PrintBackground || (bg.own && bg.print);
    doc.SetBackground(picture, rect, inPages, page.marginLeft, page.marginTop);

    PreviewRequest request;
    request.document = &doc;
    request.background = picture;
    request.backgroundRect = rect;
    request.backgroundInPages = inPages;
    request.messages = messageSink();
    request.beforePrint = [this] { DoBeforePrintPreview(); };
    request.afterPrint = [this] { DoAfterPrintPreview(); };
    request.userAction = [this](int current) { DoPreviewCustomEvent(current); };
    request.printEnabled = !DisablePrint;
    request.userActionVisible = PreviewUserActionVisible;
    request.userActionHint = PreviewUserActionHint;
    request.editEnabled = editEnabled;
    request.zoomStep = NearestZoomStep(zoom);
    request.bounds = bounds;
    request.maximized = state == wsMaximized;
    const std::optional<bool> editRequested = ShowPreviewWindow(request);
    if (!editRequested) return seNothingDone;
    return *editRequested ? 1 : 0;
}

int TSestava::PreviewEx(const QRect& bounds, int /*position*/, int zoom, int state) {
    if (busy()) return seNothingDone;
    if (BeforePreview && !designing()) BeforePreview(this);
    int result = PrepareAndGenerate();
    if (result == seOk) ShowPreview(false, zoom, bounds, state);
    if (AfterPreview && !designing()) AfterPreview(this);
    return result;
}

} // namespace report
