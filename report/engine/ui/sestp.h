#pragma once
// The modal preview of a generated report: pages at eleven zoom steps, moves within the page
// range, printing through the print dialog, exports to TXT, RTF, EMF/WMF and HTML, and the
// request to edit the template (modal result 2; closing gives 1).

#include "platform/TCanvas.h"
#include "report/engine/run/SaveFileChooser.h"
#include "report/engine/ui/DialogFileChooser.h"

#include <QDialog>
#include <QWidget>

#include <functional>
#include <memory>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QScrollArea;

namespace platform {
class MessageSink;
}

namespace report {

class RunWatch;
class TPicture;
class TPrintDialogTyp;
class TSestVystup;

// The page panel: white, focusable, painted by its owner.
class TPanelCanvasSest : public QWidget {
    Q_OBJECT

public:
    explicit TPanelCanvasSest(QWidget* parent = nullptr);
    std::function<void(QPainter&)> OnPaint;

protected:
    void paintEvent(QPaintEvent* event) override;
};

class TFormSestP : public QDialog {
    Q_OBJECT

public:
    enum Result { Closed = 1, EditTemplate = 2 };
    static constexpr int ZoomStepCount = 11;
    static constexpr int DefaultZoomStep = 6; // 100 %

    explicit TFormSestP(QWidget* parent = nullptr);
    ~TFormSestP() override;

    // The settings the report gives before showing the form, in this order.
    void SetBackground(const TPicture* picture, const platform::TRect& rect, bool inPages);
    void SetPrintEnabled(bool enabled);
    void SetUserAction(bool visible, const QString& hint);
    // "Oprava předlohy...": offered (in the toolbar, the page menu, Esc and Ctrl+E) only when
    // the caller has a designer to go back to; otherwise not shown at all.
    void SetEditEnabled(bool enabled);
    // The document (not owned): its first page of the range becomes current.
    void SetDocument(TSestVystup* document);
    void SetZoom(int step);

    std::function<void()> OnBeforePrint;
    std::function<void()> OnAfterPrint;
    std::function<void(TFormSestP*, int page)> OnUserAction;

    // Seams for the modal boxes (message boxes, file choice, the page-number box).
    void setMessageSink(platform::MessageSink* sink) { m_messages = sink; }
    void setFileChooser(SaveFileChooser* chooser) { m_chooser = chooser; }
    using AskText =
        std::function<bool(const QString& caption, const QString& prompt, QString& text)>;
    void setAskText(AskText ask) { m_askText = std::move(ask); }

    // exec(), or the hook that tests install to answer the modal form.
    int runModal();
    using ModalHook = std::function<int(TFormSestP&)>;
    static void setModalHook(ModalHook hook);

    int CurrentPage() const { return m_current; } // 0-based
    int ZoomStep() const { return m_zoomStep; }
    double Zoom() const { return m_zoom; }
    TPanelCanvasSest* panel() const { return m_panel; }
    TPrintDialogTyp& printDialog() const { return *m_printDialog; }
    QMenu* pageMenu() const { return m_pageMenu; }

    // Page moves; each only when it changes the page and stays in the range.
    void GoFirst();
    void GoPrevious();
    void GoNext();
    void GoLast();
    void AskPage();
    void Print();

    // The exports of the page menu ("Uložit do souboru"); false when cancelled or failed.
    bool ExportText();
    bool ExportRtf();
    bool ExportPageMetafile();
    bool ExportAllMetafiles();
    bool ExportPageHtml();
    bool ExportAllHtml();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* makeAction(const char* name, const QString& caption);
    void buildMenus();
    void showPage(int index);
    void refreshNavigation();
    void centrePanel();
    void paintPage(QPainter& painter);
    int firstIndex() const;
    int lastIndex() const;
    QString chooseFile(const QString& filter, const QString& suffix, bool confirmOverwrite);
    // Shows the failure message for an export that failed, not for one the user cancelled.
    bool exportResult(bool ok, const RunWatch& watch);
    platform::MessageSink& messageSink();
    void showBox(const QString& text, const QString& caption, int icon);
    // Whether the print service answers and has the printer; tells the user when not.
    bool printersAnswer();

    TSestVystup* m_document = nullptr;
    int m_current = 0;
    int m_zoomStep = DefaultZoomStep;
    double m_zoom = 1.0;
    platform::TRect m_printable;
    const TPicture* m_background = nullptr;
    platform::TRect m_backgroundRect;
    bool m_backgroundInPages = false;
    bool m_printing = false;

    QScrollArea* m_scroll;
    QWidget* m_canvasHost;
    TPanelCanvasSest* m_panel;
    QLabel* m_zoomLabel;
    QLabel* m_pageLabel;
    QLabel* m_countLabel;
    QMenu* m_pageMenu;
    QMenu* m_saveMenu;
    QMenu* m_navigationMenu;
    QActionGroup* m_zoomGroup;
    std::unique_ptr<TPrintDialogTyp> m_printDialog;
    std::unique_ptr<DialogFileChooser> m_defaultChooser;

    platform::MessageSink* m_messages = nullptr;
    SaveFileChooser* m_chooser = nullptr;
    AskText m_askText;

public:
    QAction* ActionKonec;
    QAction* ActionEdit;
    QAction* ActionPrint;
    QAction* ActionUser;
    QAction* ActionPgFi;
    QAction* ActionPgUp;
    QAction* ActionPgDn;
    QAction* ActionPgLa;
    QAction* ActionPage;
    QAction* ActionZoom[ZoomStepCount];
};

} // namespace report
