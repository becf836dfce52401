// Showing a report in the preview: the generated document with its page range and
// background in the modal form, and the published component's run-then-preview.
#include "report/engine/sest_lib.h"
#include "report/engine/run/sestavy.h"
#include "report/engine/ui/sestp.h"
#include "report/engine/document/sestvyst.h"

#include "report/engine/document/TPicture.h"

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

    TFormSestP form;
    form.setMessageSink(messageSink());
    form.OnBeforePrint = [this] { DoBeforePrintPreview(); };
    form.OnAfterPrint = [this] { DoAfterPrintPreview(); };
    form.OnUserAction = [this](TFormSestP*, int current) { DoPreviewCustomEvent(current); };
    form.SetBackground(picture, rect, inPages);
    form.SetPrintEnabled(!DisablePrint);
    form.SetUserAction(PreviewUserActionVisible, PreviewUserActionHint);
    form.SetEditEnabled(editEnabled);
    form.SetDocument(&doc);
    form.SetZoom(NearestZoomStep(zoom));
    if (!bounds.isEmpty()) form.setGeometry(bounds);
    if (state == wsMaximized) form.setWindowState(Qt::WindowMaximized);
    return form.runModal() == TFormSestP::EditTemplate ? 1 : 0;
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
