#include "report/engine/ui/ReportWindows.h"

#include "report/engine/document/PreviewWindow.h"
#include "report/engine/document/sestvyst_print.h"
#include "report/engine/ui/sestfrmp.h"
#include "report/engine/ui/sestp.h"

namespace report {

namespace {

bool showPreview(const PreviewRequest& request) {
    TFormSestP form;
    form.setMessageSink(request.messages);
    form.OnBeforePrint = request.beforePrint;
    form.OnAfterPrint = request.afterPrint;
    const auto userAction = request.userAction;
    form.OnUserAction = [userAction](TFormSestP*, int current) {
        if (userAction) userAction(current);
    };
    form.SetBackground(request.background, request.backgroundRect, request.backgroundInPages);
    form.SetPrintEnabled(request.printEnabled);
    form.SetUserAction(request.userActionVisible, request.userActionHint);
    form.SetEditEnabled(request.editEnabled);
    form.SetDocument(request.document);
    form.SetZoom(request.zoomStep);
    if (!request.bounds.isEmpty()) form.setGeometry(request.bounds);
    if (request.maximized) form.setWindowState(Qt::WindowMaximized);
    return form.runModal() == TFormSestP::EditTemplate;
}

// The print-fit dialog on the current printer; "Tisknout" gives the sheets and the zoom.
bool askPrintFit(const TSestVystup::PageLayout& page, int& columns, int& rows, int& zoom) {
    TFormVoranReportZoom dialog;
    dialog.SetSizes(page.pageWidth, page.pageHeight, page.marginLeft, page.marginTop,
                    page.marginRight, page.marginBottom);
    if (dialog.exec() != QDialog::Accepted) return false;
    columns = dialog.Columns();
    rows = dialog.Rows();
    zoom = dialog.Zoom();
    return true;
}

} // namespace

void InstallReportWindows() {
    InstallPreviewWindow(showPreview);
    SetPrintFitDialog(askPrintFit);
    InstallSystemPrinter();
}

} // namespace report
