#include "report/engine/ui/sestp.h"

#include "platform/BoxMessageSink.h"
#include "platform/NumberText.h"
#include "platform/PainterCanvas.h"
#include "platform/Printers.h"
#include "report/engine/document/TPicture.h"
#include "report/engine/document/sestvyst.h"
#include "report/engine/document/sestvyst_print.h"
#include "report/engine/export/sest_str.h"
#include "report/engine/printing/sestprn_printer.h"
#include "report/engine/run/RunWatch.h"
#include "report/engine/sest_lib.h"
#include "report/engine/sestzpr.h"
#include "report/engine/ui/PreviewIcons.h"
#include "report/engine/ui/sest_dlg.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace report {

namespace {

struct ZoomStep {
    const char* name;
    const char* caption;
    double factor;
};
constexpr ZoomStep kZoomSteps[TFormSestP::ZoomStepCount] = {
    {"ActionZ32", "32 %", 0.32},  {"ActionZ40", "40 %", 0.40},  {"ActionZ50", "50 %", 0.50},
    {"ActionZ64", "64 %", 0.64},  {"ActionZ75", "75 %", 0.75},  {"ActionZ83", "83 %", 0.83},
    {"ActionZ100", "100 %", 1.0}, {"ActionZ120", "120 %", 1.2}, {"ActionZ150", "150 %", 1.5},
    {"ActionZ200", "200 %", 2.0}, {"ActionZ300", "300 %", 3.0},
};

int nearest(double v) {
    return int(std::lrint(v));
}

const QString kSaveFailed = QStringLiteral("Výstupní soubor se nepodařilo uložit.");

} // namespace

// ---- TPanelCanvasSest

TPanelCanvasSest::TPanelCanvasSest(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PanelCanvas"));
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(false);
}

void TPanelCanvasSest::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (OnPaint) OnPaint(painter);
}

// ---- TFormSestP

TFormSestP::TFormSestP(QWidget* parent)
    : QDialog(parent), m_printDialog(std::make_unique<TPrintDialogTyp>()),
      m_defaultChooser(std::make_unique<DialogFileChooser>(this)) {
    setObjectName(QStringLiteral("FormSestP"));
    setWindowTitle(QStringLiteral("Prohlížení sestavy před tiskem"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    resize(900, 700);

    ActionKonec = makeAction("ActionKonec", QStringLiteral("Zavřít náhled"));
    ActionKonec->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    ActionEdit = makeAction("ActionEdit", QStringLiteral("Oprava předlohy..."));
    ActionEdit->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    ActionPrint = makeAction("ActionPrint", QStringLiteral("Tisk náhledu..."));
    ActionPrint->setIcon(PrinterIcon());
    ActionUser = makeAction("ActionUser", QString());
    ActionUser->setIcon(style()->standardIcon(QStyle::SP_CommandLink));
    ActionUser->setVisible(false);
    ActionPgFi = makeAction("ActionPgFi", QStringLiteral("První stránka"));
    ActionPgFi->setIcon(style()->standardIcon(QStyle::SP_MediaSkipBackward));
    ActionPgUp = makeAction("ActionPgUp", QStringLiteral("Předchozí stránka"));
    ActionPgUp->setIcon(style()->standardIcon(QStyle::SP_MediaSeekBackward));
    ActionPgDn = makeAction("ActionPgDn", QStringLiteral("Následující stránka"));
    ActionPgDn->setIcon(style()->standardIcon(QStyle::SP_MediaSeekForward));
    ActionPgLa = makeAction("ActionPgLa", QStringLiteral("Poslední stránka"));
    ActionPgLa->setIcon(style()->standardIcon(QStyle::SP_MediaSkipForward));
    ActionPage = makeAction("ActionPage", QStringLiteral("Zobrazit stránku ..."));
    ActionPage->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));

    connect(ActionKonec, &QAction::triggered, this, [this] { done(Closed); });
    connect(ActionEdit, &QAction::triggered, this, [this] { done(EditTemplate); });
    connect(ActionPrint, &QAction::triggered, this, [this] { Print(); });
    connect(ActionUser, &QAction::triggered, this, [this] {
        if (OnUserAction) OnUserAction(this, m_current);
    });
    connect(ActionPgFi, &QAction::triggered, this, [this] { GoFirst(); });
    connect(ActionPgUp, &QAction::triggered, this, [this] { GoPrevious(); });
    connect(ActionPgDn, &QAction::triggered, this, [this] { GoNext(); });
    connect(ActionPgLa, &QAction::triggered, this, [this] { GoLast(); });
    connect(ActionPage, &QAction::triggered, this, [this] { AskPage(); });

    m_zoomGroup = new QActionGroup(this);
    m_zoomGroup->setExclusive(true);
    for (int i = 0; i < ZoomStepCount; ++i) {
        QAction* a = makeAction(kZoomSteps[i].name, QString::fromUtf8(kZoomSteps[i].caption));
        a->setCheckable(true);
        a->setData(i);
        m_zoomGroup->addAction(a);
        ActionZoom[i] = a;
        connect(a, &QAction::triggered, this, [this, i] { SetZoom(i); });
    }
    ActionZoom[DefaultZoomStep]->setChecked(true);

    buildMenus();
    auto* toolbar = new QToolBar(this);
    toolbar->setObjectName(QStringLiteral("ToolBar"));
    toolbar->addActions({ActionKonec, ActionEdit, ActionPrint});
    // Saving to a file is on the toolbar too, as the page's context menu has it.
    auto* save = new QToolButton(toolbar);
    save->setObjectName(QStringLiteral("ButtonSave"));
    save->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    save->setToolTip(m_saveMenu->title());
    save->setMenu(m_saveMenu);
    save->setPopupMode(QToolButton::InstantPopup);
    toolbar->addWidget(save);
    toolbar->addAction(ActionUser);
    toolbar->addSeparator();
    toolbar->addActions({ActionPgFi, ActionPgUp, ActionPgDn, ActionPgLa, ActionPage});
    toolbar->addSeparator();
    toolbar->addActions(m_zoomGroup->actions());

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("ScrollBox"));
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->setWidgetResizable(false);
    m_canvasHost = new QWidget;
    m_panel = new TPanelCanvasSest(m_canvasHost);
    m_panel->OnPaint = [this](QPainter& painter) { paintPage(painter); };
    m_scroll->setWidget(m_canvasHost);
    m_scroll->viewport()->installEventFilter(this);
    // The scroll area would take Page Up and Page Down for scrolling, whichever of the page
    // and the area has the focus: they turn pages here, and the arrows scroll here too, so
    // that the form's keys are one set wherever the focus is.
    m_scroll->installEventFilter(this);

    auto* status = new QWidget(this);
    status->setObjectName(QStringLiteral("StatusBar"));
    auto* statusLayout = new QHBoxLayout(status);
    statusLayout->setContentsMargins(4, 2, 4, 2);
    m_zoomLabel = new QLabel(status);
    m_zoomLabel->setObjectName(QStringLiteral("PanelZoom"));
    m_zoomLabel->setToolTip(QStringLiteral("Zobrazení v měřítku [%]"));
    m_pageLabel = new QLabel(status);
    m_pageLabel->setObjectName(QStringLiteral("PanelPage"));
    m_pageLabel->setToolTip(QStringLiteral("Aktuální stránka"));
    m_countLabel = new QLabel(status);
    m_countLabel->setObjectName(QStringLiteral("PanelCount"));
    m_countLabel->setToolTip(QStringLiteral("Celkem stran"));
    for (QLabel* label : {m_zoomLabel, m_pageLabel, m_countLabel}) {
        label->setFrameShape(QFrame::StyledPanel);
        label->setMinimumWidth(70);
        statusLayout->addWidget(label);
    }
    statusLayout->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolbar);
    layout->addWidget(m_scroll, 1);
    layout->addWidget(status);

    status->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(status, &QWidget::customContextMenuRequested, this,
            [this, status](QPoint at) { m_navigationMenu->popup(status->mapToGlobal(at)); });
    m_panel->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_panel, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { m_pageMenu->popup(m_panel->mapToGlobal(at)); });

    // The print dialog of the preview offers neither the current page, nor a file, nor a
    // template.
    TPrintDialogTyp& d = *m_printDialog;
    d.ShowCurrentPage = false;
    d.ShowToFile = false;
    d.ShowBackground = false;
    d.ShowTemplateGroup = false;
    d.ShowOneRecord = false;
    d.ShowSetDefault = false;
    d.EnablePreview = false;
    d.EnableEdit = false;

    SetZoom(DefaultZoomStep);
    refreshNavigation();
    // The page view has the keys when the preview opens: the arrows scroll it at once, where
    // on the save button they would move the focus.
    m_scroll->setFocus();
}

TFormSestP::~TFormSestP() = default;

namespace {
TFormSestP::ModalHook& previewHook() {
    static TFormSestP::ModalHook hook;
    return hook;
}
} // namespace

void TFormSestP::setModalHook(ModalHook hook) {
    previewHook() = std::move(hook);
}

int TFormSestP::runModal() {
    return previewHook() ? previewHook()(*this) : exec();
}

QAction* TFormSestP::makeAction(const char* name, const QString& caption) {
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(caption);
    action->setStatusTip(caption);
    return action;
}

void TFormSestP::buildMenus() {
    m_pageMenu = new QMenu(this);
    m_pageMenu->setObjectName(QStringLiteral("PopupMenu"));
    m_pageMenu->addActions({ActionKonec, ActionEdit, ActionPrint});
    QMenu* save = m_pageMenu->addMenu(QStringLiteral("Uložit do souboru"));
    save->setObjectName(QStringLiteral("MenuSave"));
    m_saveMenu = save;
    const auto item = [&](const char* name, const QString& caption, bool (TFormSestP::*run)()) {
        QAction* a = save->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, [this, run] { (this->*run)(); });
    };
    item("MenuSaveText", QStringLiteral("Textový soubor..."), &TFormSestP::ExportText);
    item("MenuSaveRtf", QStringLiteral("Soubor ve formátu RTF..."), &TFormSestP::ExportRtf);
    item("MenuSavePageMeta", QStringLiteral("Aktuální stránku jako EMF/WMF..."),
         &TFormSestP::ExportPageMetafile);
    item("MenuSaveAllMeta", QStringLiteral("Všechny stránky jako EMF/WMF..."),
         &TFormSestP::ExportAllMetafiles);
    item("MenuSavePageHtml", QStringLiteral("Aktuální stránku jako HTML..."),
         &TFormSestP::ExportPageHtml);
    item("MenuSaveAllHtml", QStringLiteral("Všechny stránky jako HTML..."),
         &TFormSestP::ExportAllHtml);
    QMenu* pages = m_pageMenu->addMenu(QStringLiteral("Zobrazit stránku"));
    pages->setObjectName(QStringLiteral("MenuPages"));
    pages->addActions({ActionPgFi, ActionPgUp, ActionPgDn, ActionPgLa, ActionPage});

    m_navigationMenu = new QMenu(this);
    m_navigationMenu->setObjectName(QStringLiteral("PopupPages"));
    m_navigationMenu->addActions({ActionPgFi, ActionPgUp, ActionPgDn, ActionPgLa, ActionPage});
}

void TFormSestP::SetBackground(const TPicture* picture, const platform::TRect& rect,
                               bool inPages) {
    m_background = picture && !picture->isEmpty() ? picture : nullptr;
    m_backgroundRect = rect;
    m_backgroundInPages = inPages;
    m_printDialog->ShowBackground = m_background != nullptr;
    m_printDialog->PrintBackground = inPages;
    m_panel->update();
}

void TFormSestP::SetPrintEnabled(bool enabled) {
    ActionPrint->setEnabled(enabled);
}

void TFormSestP::SetUserAction(bool visible, const QString& hint) {
    ActionUser->setVisible(visible);
    ActionUser->setText(hint);
    ActionUser->setToolTip(hint);
}

void TFormSestP::SetEditEnabled(bool enabled) {
    // a disabled toolbar button looks much like an enabled one: hidden, it promises nothing
    ActionEdit->setEnabled(enabled);
    ActionEdit->setVisible(enabled);
}

int TFormSestP::firstIndex() const {
    return m_document ? m_document->StartPage() - 1 : 0;
}

int TFormSestP::lastIndex() const {
    return m_document ? std::min(m_document->EndPage(), m_document->PageCount()) - 1 : -1;
}

void TFormSestP::SetDocument(TSestVystup* document) {
    m_document = document;
    showPage(firstIndex());
}

void TFormSestP::SetZoom(int step) {
    m_zoomStep = std::clamp(step, 0, ZoomStepCount - 1);
    m_zoom = kZoomSteps[m_zoomStep].factor;
    TSestVystup::PageLayout layout;
    int printableWidth = layout.pageWidth, printableHeight = layout.pageHeight;
    if (m_document) {
        layout = m_document->pageLayout();
        printableWidth = m_document->PrintableWidth();
        printableHeight = m_document->PrintableHeight();
    }
    m_panel->resize(nearest(layout.pageWidth * m_zoom), nearest(layout.pageHeight * m_zoom));
    m_printable = {nearest(layout.marginLeft * m_zoom), nearest(layout.marginTop * m_zoom),
                   nearest((printableWidth + layout.marginLeft) * m_zoom),
                   nearest((printableHeight + layout.marginTop) * m_zoom)};
    ActionZoom[m_zoomStep]->setChecked(true);
    m_zoomLabel->setText(QString::fromUtf8(kZoomSteps[m_zoomStep].caption));
    centrePanel();
    m_panel->update();
}

void TFormSestP::centrePanel() {
    const QSize view = m_scroll->viewport()->size();
    const QSize page = m_panel->size();
    m_canvasHost->resize(std::max(view.width(), page.width()),
                         std::max(view.height(), page.height()));
    m_panel->move(page.width() < view.width() ? (view.width() - page.width()) / 2 : 0,
                  page.height() < view.height() ? (view.height() - page.height()) / 2 : 0);
}

void TFormSestP::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    centrePanel();
}

bool TFormSestP::eventFilter(QObject* watched, QEvent* event) {
    // The view gets its size after the form: centre again whenever it changes.
    if (watched == m_scroll->viewport() && event->type() == QEvent::Resize) centrePanel();
    if ((watched == m_scroll || watched == m_scroll->viewport()) &&
        event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
            keyPressEvent(key);
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFormSestP::showPage(int index) {
    m_current = index;
    if (m_document) m_document->ShowPage(index);
    refreshNavigation();
    m_panel->update();
}

void TFormSestP::refreshNavigation() {
    const int first = firstIndex(), last = lastIndex();
    ActionPgFi->setEnabled(m_current > first);
    ActionPgUp->setEnabled(m_current > first);
    ActionPgDn->setEnabled(m_current < last);
    ActionPgLa->setEnabled(m_current < last);
    m_countLabel->setText(QString::number(m_document ? m_document->PageCount() : 0));
    m_pageLabel->setText(QString::number(m_current + 1));
}

void TFormSestP::GoFirst() {
    if (m_current != firstIndex() && firstIndex() <= lastIndex()) showPage(firstIndex());
}

void TFormSestP::GoPrevious() {
    if (m_current - 1 >= firstIndex()) showPage(m_current - 1);
}

void TFormSestP::GoNext() {
    if (m_current + 1 <= lastIndex()) showPage(m_current + 1);
}

void TFormSestP::GoLast() {
    if (m_current != lastIndex() && lastIndex() >= firstIndex()) showPage(lastIndex());
}

void TFormSestP::AskPage() {
    if (!m_document) return;
    const QString caption = QStringLiteral("Výběr stránky");
    const QString prompt = QStringLiteral("Stránka číslo:");
    QString answer = QString::number(firstIndex() + 1);
    bool given = false;
    if (m_askText) {
        given = m_askText(caption, prompt, answer);
    } else {
        answer = QInputDialog::getText(this, caption, prompt, QLineEdit::Normal, answer, &given);
    }
    if (!given || answer.isEmpty()) return;
    const int number = platform::ParseInt(answer.trimmed()).value_or(firstIndex() + 1);
    const int index = std::clamp(number - 1, 0, std::max(m_document->PageCount() - 1, 0));
    if (index != m_current) showPage(index);
}

void TFormSestP::paintPage(QPainter& painter) {
    if (!m_document) return;
    platform::PainterCanvas canvas(painter, 100 * m_zoom);
    if (m_background && !m_backgroundInPages) {
        const platform::TRect& b = m_backgroundRect;
        DrawPicture(canvas,
                    {nearest(b.left * m_zoom), nearest(b.top * m_zoom), nearest(b.right * m_zoom),
                     nearest(b.bottom * m_zoom)},
                    *m_background);
    }
    if (m_document->CurrentPage() == m_current && m_document->Page(m_current))
        m_document->PageView().Play(canvas, m_printable);
}

void TFormSestP::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const auto run = [](QAction* a) {
        if (a->isEnabled()) a->trigger();
    };
    QScrollBar* h = m_scroll->horizontalScrollBar();
    QScrollBar* v = m_scroll->verticalScrollBar();
    switch (event->key()) {
    case Qt::Key_Escape:
        run(ActionEdit->isEnabled() ? ActionEdit : ActionKonec);
        break;
    case Qt::Key_PageUp:
        run(ctrl ? ActionPgFi : ActionPgUp);
        break;
    case Qt::Key_PageDown:
        run(ctrl ? ActionPgLa : ActionPgDn);
        break;
    case Qt::Key_Left:
        h->setValue(h->value() - h->singleStep());
        break;
    case Qt::Key_Right:
        h->setValue(h->value() + h->singleStep());
        break;
    case Qt::Key_Up:
        v->setValue(v->value() - v->singleStep());
        break;
    case Qt::Key_Down:
        v->setValue(v->value() + v->singleStep());
        break;
    case Qt::Key_E:
        if (ctrl) run(ActionEdit);
        break;
    case Qt::Key_P:
    case Qt::Key_T:
        if (ctrl) run(ActionPrint);
        break;
    default:
        QDialog::keyPressEvent(event);
    }
}

void TFormSestP::closeEvent(QCloseEvent* event) {
    // Closing the window is closing the preview, never a request to edit.
    done(Closed);
    event->accept();
}

platform::MessageSink& TFormSestP::messageSink() {
    static platform::BoxMessageSink boxes;
    return m_messages ? *m_messages : boxes;
}

void TFormSestP::showBox(const QString& text, const QString& caption, int icon) {
    messageSink().ShowBox(text, caption, platform::MessageButtons::Ok,
                          platform::MessageIcon(icon));
}

bool TFormSestP::printersAnswer() {
    // The progress window (shown when the wait lasts) lets the user stop waiting.
    const RunWatch watch(*m_document);
    const TSestVystup::PrintFailure unavailable = PrintersUnavailable(*m_document);
    ShowPrintFailure(messageSink(), unavailable);
    return unavailable.cause == TSestVystup::PrintFailure::None;
}

void TFormSestP::Print() {
    // While the print service is waited for, the events go on: one print at a time.
    if (!m_document || !ActionPrint->isEnabled() || m_printing) return;
    const QScopedValueRollback printing(m_printing, true);
    if (!printersAnswer()) return;
    platform::PrinterSystem& printers = platform::PrinterSystem::instance();
    SelectPrinter(-1);
    const TSestVystup::PageLayout& layout = m_document->pageLayout();
    if (!layout.orientationChangeable) SetPrinterOrientation(layout.landscape ? 1 : 0);
    TPrintDialogTyp& d = *m_printDialog;
    d.PrinterIndex = printers.currentIndex();
    d.FromPage = m_document->StartPage();
    d.ToPage = std::min(m_document->EndPage(), m_document->PageCount());
    d.Copies = m_document->Copies();
    if (d.Execute(this) != TPrintDialogTyp::Print) return;
    // The dialog may have stayed open long: ask again before anything is printed.
    if (!printersAnswer()) return;
    const int chosen = int(printers.printerNames().indexOf(d.PrinterName));
    if (chosen < 0 && !d.PrinterName.isEmpty()) {
        // The queue chosen has gone while the dialog was open: say so, print nowhere else.
        ShowPrintFailure(messageSink(),
                         {TSestVystup::PrintFailure::PrinterGone, d.PrinterName, {}});
        return;
    }
    SelectPrinter(chosen);
    int from = d.FromPage, to = d.ToPage;
    if (d.CurrentPageOnly) from = to = m_current + 1;
    m_backgroundInPages = d.PrintBackground;
    m_document->SetBackground(m_background, m_backgroundRect, d.PrintBackground, layout.marginLeft,
                              layout.marginTop);
    if (OnBeforePrint) OnBeforePrint();
    const QString title = QStringLiteral("Tisková sestava");
    const bool textOnly =
        IsTextOnlyPrinter(chosen, d.ToFile ? QStringLiteral("FILE:") : QString());
    // An orientation the user set in the printer's properties holds for this print; any other
    // printer takes the template's.
    const bool templateOrientation = d.PropertiesPrinter != printers.currentName();
    bool printed = false;
    {
        const RunWatch watch(*m_document);
        printed = textOnly
                      ? PrintText(*m_document, from, to, title, d.Copies, templateOrientation)
                      : PrintGraphic(*m_document, from, to, title, d.Copies, templateOrientation);
    }
    if (OnAfterPrint) OnAfterPrint();
    showPage(m_current);
    if (!printed) ShowPrintFailure(messageSink(), m_document->LastPrintFailure());
}

QString TFormSestP::chooseFile(const QString& filter, const QString& suffix,
                               bool confirmOverwrite) {
    SaveFileRequest request;
    request.title = QStringLiteral("Výběr souboru");
    request.filter = filter;
    request.defaultSuffix = suffix;
    request.confirmOverwrite = confirmOverwrite;
    SaveFileChooser& chooser = m_chooser ? *m_chooser : *m_defaultChooser;
    return chooser.chooseSaveFile(request);
}

bool TFormSestP::exportResult(bool ok, const RunWatch& watch) {
    // A cancel is the user's choice, not a failure to report.
    if (!ok && !watch.cancelled())
        showBox(kSaveFailed, QStringLiteral("Chyba"), int(platform::MessageIcon::Critical));
    return ok;
}

namespace {
const QString kTextFilter =
    QStringLiteral("Textový soubor (*.txt)|*.TXT|Všechny soubory (*.*)|*.*");
const QString kRtfFilter = QStringLiteral("Soubor RTF (*.rtf)|*.RTF|Všechny soubory (*.*)|*.*");
const QString kMetaFilter =
    QStringLiteral("Enhanced meta file (*.emf)|*.EMF|Windows meta file (*.wmf)|*.WMF");
const QString kHtmlFilter =
    QStringLiteral("Soubor HTML (*.html)|*.HTML|Všechny soubory (*.*)|*.*");

// The extension of a chosen name, with its dot and case; empty when it has none.
QString extensionOf(const QString& fileName) {
    const QString name = QFileInfo(fileName).fileName();
    const int dot = int(name.lastIndexOf('.'));
    return dot >= 0 ? name.mid(dot) : QString();
}
bool isWmf(const QString& fileName) {
    return extensionOf(fileName).compare(QStringLiteral(".wmf"), Qt::CaseInsensitive) == 0;
}
} // namespace

bool TFormSestP::ExportText() {
    const QString file = chooseFile(kTextFilter, QStringLiteral(".txt"), true);
    if (file.isEmpty() || !m_document) return false;
    const RunWatch watch(*m_document);
    return exportResult(SaveToTextFile(*m_document, file), watch);
}

bool TFormSestP::ExportRtf() {
    const QString file = chooseFile(kRtfFilter, QStringLiteral(".rtf"), true);
    if (file.isEmpty() || !m_document) return false;
    const RunWatch watch(*m_document);
    return exportResult(SaveToRTFFile(*m_document, file), watch);
}

bool TFormSestP::ExportPageMetafile() {
    const QString file = chooseFile(kMetaFilter, QStringLiteral(".wmf"), true);
    if (file.isEmpty() || !m_document) return false;
    const RunWatch watch(*m_document);
    const bool ok = SavePageMetafileFile(*m_document, file, m_current,
                                         m_document->PrintsBackground(), !isWmf(file));
    showPage(m_current);
    return exportResult(ok, watch);
}

bool TFormSestP::ExportAllMetafiles() {
    const QString file = chooseFile(kMetaFilter, QStringLiteral(".wmf"), false);
    if (file.isEmpty() || !m_document) return false;
    const QString extension =
        extensionOf(file).isEmpty() ? QStringLiteral(".wmf") : extensionOf(file);
    const RunWatch watch(*m_document);
    const bool ok = m_document->PageCount() > 0 &&
                    SaveAllPagesMetafile(*m_document, file, extension,
                                         m_document->PrintsBackground(), !isWmf(extension));
    showPage(m_current);
    return exportResult(ok, watch);
}

bool TFormSestP::ExportPageHtml() {
    const QString file = chooseFile(kHtmlFilter, QStringLiteral(".html"), true);
    if (file.isEmpty() || !m_document) return false;
    const RunWatch watch(*m_document);
    return exportResult(SaveToHTMLFile(*m_document, file, m_current, {}), watch);
}

bool TFormSestP::ExportAllHtml() {
    const QString file = chooseFile(kHtmlFilter, QStringLiteral(".html"), false);
    if (file.isEmpty() || !m_document) return false;
    const QString extension =
        extensionOf(file).isEmpty() ? QStringLiteral(".html") : extensionOf(file);
    const RunWatch watch(*m_document);
    return exportResult(
        m_document->PageCount() > 0 && SaveAllPagesHTML(*m_document, file, extension), watch);
}

} // namespace report
