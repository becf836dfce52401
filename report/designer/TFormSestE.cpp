#include "report/designer/TFormSestE.h"

#include "platform/BoxMessageSink.h"
#include "platform/MessageSink.h"
#include "report/designer/DesignerPalette.h"
#include "report/designer/ElementTree.h"
#include "report/designer/PropertyPanel.h"
#include "report/designer/TDlgNovaSestava.h"
#include "report/designer/TEditorSettings.h"
#include "report/designer/TOddil.h"
#include "report/designer/TSesPrvek.h"
#include "report/designer/TSestDlg.h"
#include "report/designer/TSestKonfigDlg.h"
#include "report/designer/sestlogo.h"
#include "report/engine/document/TPicture.h"
#include "report/engine/printing/sestprn.h"
#include "report/engine/printing/sestprn_printer.h"
#include "report/engine/run/sestavy.h"
#include "report/engine/sest_lib.h"
#include "report/engine/sestzpr.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

namespace designer {

using report::LoadText;
using report::ReportText;

namespace {

// Restores both scroll positions when it goes out of scope: focusing and reloading the paper
// never scroll the view.
class ScrollKeeper {
public:
    explicit ScrollKeeper(QScrollArea* area)
        : m_area(area), m_x(area->horizontalScrollBar()->value()),
          m_y(area->verticalScrollBar()->value()) {}
    ~ScrollKeeper() {
        m_area->horizontalScrollBar()->setValue(m_x);
        m_area->verticalScrollBar()->setValue(m_y);
    }
    ScrollKeeper(const ScrollKeeper&) = delete;
    ScrollKeeper& operator=(const ScrollKeeper&) = delete;

private:
    QScrollArea* m_area;
    int m_x;
    int m_y;
};

} // namespace

TFormSestE::TFormSestE(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormSestE"));
    m_settingsDialog = new TSestKonfigDlg(this);
    m_reportDialog = new TSestDlg(this);
    connect(&m_document, &DesignerDocument::marksChanged, this, &TFormSestE::showMarks);
    connect(&m_document, &DesignerDocument::historyChanged, this,
            &TFormSestE::refreshHistoryActions);
    report::SelectPrinter(-2);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    buildActions();
    buildPalette(this);
    connectPropertyPanel();

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("ScrollBox"));
    m_scroll->setWidgetResizable(false);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_paper = new TPapir;
    m_paper->setEvents(this);
    m_scroll->setWidget(m_paper);
    layout->addWidget(buildTreePanel(m_scroll), 1);

    auto* status = new QHBoxLayout;
    m_mouseX = new QLabel(this);
    m_mouseX->setObjectName(QStringLiteral("PanelSouradnicX"));
    m_mouseY = new QLabel(this);
    m_mouseY->setObjectName(QStringLiteral("PanelSouradnicY"));
    for (QLabel* label : {m_mouseX, m_mouseY}) {
        label->setMinimumWidth(60);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        status->addWidget(label);
    }
    status->addStretch(1);
    layout->addLayout(status);

    buildMenu();
    SetZoom(6, true);
    m_paper->SetSirka(report::PrintableWidth());
    for (report::SectionNumber code : kFixedSectionCodes)
        m_paper->AddOddil(code);
    RefreshSections();
    m_palette->hideChoices();
    m_palette->setCurrentIndex(0);
    action(QStringLiteral("ActionNoSelect"))->setChecked(true);
    EnableSelectionControls(false);
    refreshHistoryActions();
    setupEditing();
    resize(900, 650);
}

TFormSestE::~TFormSestE() {
    // a field losing the focus while the window goes must not report to it
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        edit->blockSignals(true);
    endEditing();
}

QAction* TFormSestE::addAction(const QString& name, const QString& hint, int tag,
                               const QString& caption) {
    auto* action = new QAction(caption.isEmpty() ? hint : caption, this);
    action->setObjectName(name);
    action->setToolTip(hint);
    action->setStatusTip(hint);
    action->setData(tag);
    if (tag >= 0) {
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, action, tag] {
            tag == tcArrow ? StiskniSipku() : ActionCommandExecute(action);
        });
    }
    return action;
}

QAction* TFormSestE::action(const QString& name) const {
    return findChild<QAction*>(name);
}

int TFormSestE::activeTool() const {
    return m_palette->tool();
}

void TFormSestE::buildActions() {
    auto* tools = new QActionGroup(this);
    tools->setExclusive(true);
    struct Tool {
        const char* name;
        int tag;
        const char16_t* hint;
    };
    static const Tool toolList[] = {
        {"ActionNoSelect", tcArrow, u"Výběr prvku"},
        {"ActionDb", tcItem, u"Prvek databáze"},
        {"ActionLb", tcItemLabel, u"Popis prvku databáze"},
        {"ActionPar", tcParameter, u"Parametr sestavy"},
        {"ActionFn", tcFunction, u"Uživatelská funkce"},
        {"ActionDate", tcVariable, u"Datum tisku"},
        {"ActionTime", tcVariable + 1, u"Čas tisku"},
        {"ActionRadek", tcVariable + 2, u"Pořadové číslo řádku"},
        {"ActionStr", tcVariable + 3, u"Pořadové číslo strany"},
        {"ActionStrCelk", tcVariable + 4, u"Celkový počet stran"},
        {"ActionRadSk", tcVariable + 5, u"Číslo řádku ve skupině"},
        {"ActionSkCis", tcVariable + 6, u"Pořadové číslo skupiny"},
        {"ActionGrText", tcText, u"Grafický text"},
        {"ActionGrCara", tcLine, u"Úsečka"},
        {"ActionGrRect", tcFrame, u"Obdélník"},
        {"ActionRoRect", tcRoundFrame, u"Zaoblený obdélník"},
        {"ActionElip", tcEllipse, u"Elipsa"},
        {"ActionObr", tcPicture, u"Obrázek"},
        {"ActionBarc", tcBarcode, u"Čárový kód"},
        {"ActionPaintB", tcDrawingArea, u"Kreslicí plocha"},
        {"ActionDetail", tcDetail, u"Detail sestavy"},
    };
    for (const Tool& tool : toolList)
        tools->addAction(
            addAction(QString::fromLatin1(tool.name), QString::fromUtf16(tool.hint), tool.tag));

    struct Command {
        const char* name;
        const char16_t* hint;
        const char16_t* caption;
        void (TFormSestE::*handler)();
    };
    static const Command commands[] = {
        {"ActionNew", u"Vytvořit novou předlohu", u"Nová předloha...", &TFormSestE::NewTemplate},
        {"ActionSave", u"Uložit předlohu", nullptr, nullptr},
        {"ActionDel", u"Smazat vybraný prvek", nullptr, nullptr},
        {"ActionKonfPrv", u"Opravit vlastnosti prvku", nullptr, nullptr},
        {"ActionUndo", u"Zrušit změny", nullptr, &TFormSestE::Undo},
        {"ActionRedo", u"Znovu provést změny", nullptr, &TFormSestE::Redo},
        {"ActionPreview", u"Náhled sestavy", nullptr, &TFormSestE::PreviewReport},
        {"ActionPrint", u"Tisk sestavy", nullptr, &TFormSestE::PrintReport},
        {"ActionCut", u"Vystřihnout do úschovy", nullptr, nullptr},
        {"ActionCopy", u"Kopírovat do úschovy", nullptr, nullptr},
        {"ActionPaste", u"Vložit z úschovy", nullptr, nullptr},
        {"ActionKonfSest", u"Nastavit vlastnosti sestavy", u"Nastavení předlohy...", nullptr},
        {"ActionKonfig", u"Nastavit prostředí editoru", u"Nastavení prostředí...", nullptr},
        {"ActionClose", u"Ukončit práci v editoru předloh", u"Konec oprav", nullptr},
        {"ActionFnInsert", u"Přidat uživatelskou funkci", nullptr, nullptr},
        {"ActionFnDelete", u"Zrušit uživatelskou funkci", nullptr, nullptr},
        {"ActionFnEdit", u"Upravit uživatelskou funkci", nullptr, nullptr},
    };
    for (const Command& command : commands) {
        QAction* a =
            addAction(QString::fromLatin1(command.name), QString::fromUtf16(command.hint), -1,
                      command.caption ? QString::fromUtf16(command.caption) : QString());
        if (command.handler) connect(a, &QAction::triggered, this, command.handler);
    }
    connect(action(QStringLiteral("ActionSave")), &QAction::triggered, this,
            [this] { SavePredloha(); });
    connect(action(QStringLiteral("ActionClose")), &QAction::triggered, this, &TFormSestE::reject);
    connect(action(QStringLiteral("ActionKonfig")), &QAction::triggered, this, [this] {
        if (m_settingsDialog->exec() == QDialog::Accepted) {
            RefreshSections();
            BuildElementTree();
            m_palette->hideChoices();
        }
        m_document.setHistoryCapacity(EditorSettings().PocetUndo);
    });
    connect(action(QStringLiteral("ActionKonfSest")), &QAction::triggered, this,
            [this] { EditSestavaSettings(); });
    connect(action(QStringLiteral("ActionKonfPrv")), &QAction::triggered, this,
            [this] { EditElement(primarySelection()); });
    // pasting waits for something to paste
    action(QStringLiteral("ActionPaste"))->setEnabled(false);
}

void TFormSestE::buildPalette(QWidget* host) {
    auto* layout = static_cast<QVBoxLayout*>(host->layout());
    auto* top = new QHBoxLayout;
    for (const char* name :
         {"ActionNew", "ActionSave", "ActionUndo", "ActionRedo", "ActionPreview", "ActionPrint",
          "ActionKonfSest", "ActionKonfig", "ActionClose"})
        top->addWidget(DesignerPalette::toolButton(action(QString::fromLatin1(name)), host));
    top->addStretch(1);
    layout->addLayout(top);
    // zoom and data stepping go to the row of the position fields, so that the window keeps
    // within a 1280-pixel screen
    auto* position = new QHBoxLayout;
    m_zoomCombo = new QComboBox(host);
    m_zoomCombo->setObjectName(QStringLiteral("CBMeritka1"));
    QStringList zooms;
    report::FillZoomList(zooms);
    m_zoomCombo->addItems(zooms.mid(0, 11));
    connect(m_zoomCombo, &QComboBox::activated, this, [this](int i) { SetZoom(i); });
    static const char* const stepNames[] = {"BtnF1", "BtnP1", "BtnN1", "BtnL1"};
    static const char* const stepTexts[] = {"|<", "<", ">", ">|"};
    for (int tag = 1; tag <= 4; ++tag) {
        auto* button = new QToolButton(host);
        button->setObjectName(QString::fromLatin1(stepNames[tag - 1]));
        button->setText(QString::fromLatin1(stepTexts[tag - 1]));
        button->setProperty("tag", tag);
        connect(button, &QToolButton::clicked, this, [this, tag] { BtnFLNPClick(tag); });
        m_stepButtons[tag - 1] = button;
    }

    m_palette = new DesignerPalette(*this, host);
    connect(m_palette, &QTabWidget::currentChanged, this, &TFormSestE::StiskniSipku);
    layout->addWidget(m_palette);

    // the position fields are the property panel's, the strip of its kinds below them
    m_properties = new PropertyPanel(*this, host);
    m_properties->placePositionFields(*position);
    position->addStretch(1);
    position->addWidget(m_zoomCombo);
    for (QToolButton* button : m_stepButtons)
        position->addWidget(button);
    layout->addLayout(position);
    layout->addWidget(m_properties);
}

void TFormSestE::buildMenu() {
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("PopupMenuFunkci"));
    m_popup->addAction(action(QStringLiteral("ActionNew")));
    m_popup->addAction(action(QStringLiteral("ActionSave")));
    m_popup->addAction(QStringLiteral("Uložit předlohu jako..."), this, [this] {
        SavePredlohaAs();
        UpdateCaption();
    });
    QMenu* edits = m_popup->addMenu(QStringLiteral("Úpravy"));
    QAction* remove = edits->addAction(QStringLiteral("Výmaz prvku"));
    connect(remove, &QAction::triggered, action(QStringLiteral("ActionDel")), &QAction::trigger);
    remove->setEnabled(false);
    // the menu's undo and redo are enabled with the window's
    QAction* undo = edits->addAction(QStringLiteral("Zrušit změny"), this, &TFormSestE::Undo);
    QAction* redo = edits->addAction(QStringLiteral("Znovu změny"), this, &TFormSestE::Redo);
    connect(action(QStringLiteral("ActionUndo")), &QAction::enabledChanged, undo,
            &QAction::setEnabled);
    connect(action(QStringLiteral("ActionRedo")), &QAction::enabledChanged, redo,
            &QAction::setEnabled);
    addEditingMenuItems(edits, remove);
    m_popup->addAction(action(QStringLiteral("ActionPreview")));
    m_popup->addAction(action(QStringLiteral("ActionPrint")));
    m_popup->addAction(action(QStringLiteral("ActionKonfSest")));
    m_popup->addAction(action(QStringLiteral("ActionKonfig")));
    m_popup->addAction(action(QStringLiteral("ActionClose")));
}

void TFormSestE::contextMenuEvent(QContextMenuEvent* event) {
    m_popup->popup(event->globalPos());
}

void TFormSestE::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_paper->hasFocus()) {
        const ScrollKeeper keep(m_scroll);
        m_paper->setFocus(Qt::ActiveWindowFocusReason);
    }
}

platform::MessageSink& TFormSestE::sink() const {
    if (m_messages) return *m_messages;
    if (m_report && m_report->messageSink()) return *m_report->messageSink();
    static platform::BoxMessageSink boxes(platform::BoxMessageSink::Buttons::Czech);
    return boxes;
}

// ---- opening

bool TFormSestE::OpenSestava(report::TSestavaTyp* report, int /*flag*/, bool keepDescription) {
    m_report = report;
    m_properties->setReport(report);
    settings().description = report->Popis;
    m_keepDescription = keepDescription;
    UpdateCaption();
    installValueHook();
    BtnFLNPClick(0);

    m_settingsDialog->Setup(report);
    const TEditorSettings& settings = EditorSettings();
    SetZoom(settings.ImplMeritko, true);
    report::TemplateGrid grid;
    grid.x = settings.RastrX;
    grid.y = settings.RastrY;
    grid.show = settings.RastrZobrazovat;
    grid.snap = settings.RastrZarovnavat;
    m_document.setGrid(grid);

    QStringList items;
    for (int i = 0; i < report->GetItemCount(); ++i)
        items << ElementName(report::ekItem, i);
    m_palette->fillChoices(items);
    m_palette->hideChoices();
    action(QStringLiteral("ActionDb"))->setEnabled(report->GetItemCount() > 0);
    action(QStringLiteral("ActionLb"))->setEnabled(report->GetItemCount() > 0);
    action(QStringLiteral("ActionPar"))->setEnabled(!report->Parametry().isEmpty());

    const int details = report->Detaily().Count();
    m_palette->setTabVisible(DesignerPalette::PageDetails, details > 0);
    action(QStringLiteral("ActionDetail"))->setEnabled(details > 0);
    QStringList detailNames;
    for (int j = 0; j < details; ++j)
        detailNames << ElementName(report::ekDetail, j);
    m_palette->fillDetails(detailNames);

    m_document.startHistory(report->Predloha());
    LoadPredloha(history().Current());
    m_document.setHistoryCapacity(settings.PocetUndo);

    if (history().Variant(0).isEmpty()) return VytvorNovouPredlohu() != 2;
    return true;
}

void TFormSestE::DisablePrint() {
    action(QStringLiteral("ActionPrint"))->setEnabled(false);
}

void TFormSestE::UpdateCaption() {
    setWindowTitle(QStringLiteral("Oprava předlohy tiskové sestavy - ") + settings().description +
                   QStringLiteral(" (") +
                   (m_report ? m_report->GetPredlohaFileName() : QString()) + u')');
}

void TFormSestE::installValueHook() {
    m_hook.reset();
    m_hook = std::make_unique<report::ScopedValueCallback>(
        [this](int request, report::TCalcType& value) { return ElementText(request, value); });
}

// ---- display names and values

QString TFormSestE::ElementName(int kind, int index) const {
    using report::LoadText;
    using report::ReportText;
    const bool descriptions = EditorSettings().PopisyPol;
    const auto itemText = [&] {
        return descriptions ? m_report->GetItemDescription(index) : m_report->GetItemName(index);
    };
    const QString unknown = QStringLiteral("Neznamy");
    switch (kind) {
    case report::ekText:
        return LoadText(ReportText::KindGraphicText);
    case report::ekItem:
        return LoadText(ReportText::KindItem) + u' ' + itemText();
    case report::ekItemLabel:
        return LoadText(ReportText::KindItemLabel) + u' ' + itemText();
    case report::ekParameter:
        return LoadText(ReportText::KindParameter) + u' ' + m_report->GetParameterLabel(index);
    case report::ekVariable: {
        static const ReportText fixed[] = {
            ReportText::SysVarPrintDate, ReportText::SysVarPrintTime,
            ReportText::SysVarRecordNumber, ReportText::SysVarPageNumber,
            ReportText::SysVarPageCount};
        if (index >= 0 && index <= 4) return LoadText(fixed[index]);
        if (index < 0) return unknown;
        return report::FillText(LoadText(index % 2 ? ReportText::SysVarGroupRecordNumber
                                                   : ReportText::SysVarGroupNumber),
                                {QString::number((index - 5) / 2 + 1)});
    }
    case report::ekFunction:
        return m_report->Funkce().GetDisplayName(index);
    case report::ekLine:
    case report::ekFrame:
    case report::ekRoundFrame:
    case report::ekEllipse:
    case report::ekPicture:
    case report::ekBarcode:
    case report::ekDrawingArea: {
        static const ReportText graphic[] = {ReportText::KindLine,       ReportText::KindFrame,
                                             ReportText::KindRoundFrame, ReportText::KindEllipse,
                                             ReportText::KindPicture,    ReportText::KindBarcode,
                                             ReportText::KindDrawingArea};
        return LoadText(graphic[kind - report::ekLine]);
    }
    case report::ekDetail:
        if (index < 0 || index >= m_report->Detaily().Count()) return {};
        return report::FillText(
            LoadText(ReportText::DetailTabTitle),
            {QString::number(index + 1), m_report->Detaily().Detail(index)->Popis});
    default:
        return unknown;
    }
}

int TFormSestE::ElementText(int request, report::TCalcType& value) {
    using namespace report;
    if (request == 1) return -1;
    if (request == kRequestItemIndex) {
        const QString name = value.text.toLower();
        for (int i = 0; i < m_report->GetItemCount(); ++i)
            if (m_report->GetItemName(i).toLower() == name) return i;
        return -1;
    }
    if (request == kRequestFunctionIndex) return m_report->Funkce().IndexOfName(value.text);
    if (request >= kParameterBase && request < kItemBase) {
        const int n = request - kParameterBase;
        if (n < m_report->Parametry().size()) {
            value.text = m_report->Parametry()[n];
            value.number = StrToFloatLoose(value.text);
            value.kind = 2;
            value.null = false;
        }
    } else if (request >= kItemBase && request < kFunctionBase) {
        const int n = request - kItemBase;
        if (n < m_report->GetItemCount()) {
            value.number = m_report->GetFloat(n);
            value.text = m_report->GetItemText(n);
            const int type = m_report->GetDataType(n);
            value.kind = type == 1 ? 2 : (type >= 2 && type <= 7 && type != 5) ? 1 : 0;
            value.null = m_report->IsNull(n);
        }
    } else if (request >= kFunctionBase && request < kSystemVariableBase) {
        const int n = request - kFunctionBase;
        if (n < m_report->Funkce().Count())
            value = m_report->Funkce().GetFunkce(n)->CurrentValue();
    } else if (request >= kSystemVariableBase) {
        value = m_report->GetVariable(request - kSystemVariableBase);
    }
    return 0;
}

// ---- notifications

int TFormSestE::elementEvent(int code, TSesPrvek* element) {
    switch (ElementEventCode(code)) {
    case eeClearSelection:
        StiskniSipku();
        return 0;
    case eeSelectOnly:
        SelectElement(element);
        return 0;
    case eeRemoveFromSelection:
        RemoveFromSelection(element);
        return 0;
    case eeAddToSelection:
        AddToSelection(element);
        return 0;
    case eeEditElement:
        EditElement(element);
        return 0;
    case eeInsertionTool:
        return m_pasteMode ? -1 : m_palette->tool();
    case eeSelectionCount:
        return selectionCount();
    case eeNextItem:
        m_palette->chooseNext();
        return 0;
    case eePrimarySelection:
    case eeSelectionMayChange:
        return 0;
    }
    return 0;
}

int TFormSestE::paperEvent(int code, int a, int b) {
    if (code >= peSectionClick && code <= peSectionClickLast) {
        InsertElement(code - peSectionClick, a, b);
        return 0;
    }
    switch (PaperEventCode(code)) {
    case peMoved:
        m_properties->showPosition(a, b);
        return 0;
    case peResized:
        m_properties->showSize(a, b);
        return 0;
    case peMultiMoved:
        for (int i = 0; i < m_paper->PocetPrvku(); ++i) {
            TSesPrvek* element = m_paper->Prvek(i);
            if (element->multi() && !element->selected()) {
                element->MoveBy(a, b);
                element->update();
            }
        }
        return 0;
    case peRecordStep:
        RecordChange(ChangeKind(a));
        return 0;
    case peEditSection:
        // a section double click: the sections tab, or the groups tab on its group
        if (groupOfCode(a) >= 0)
            EditSestavaSettings(TSestDlg::PageGroups, groupOfCode(a));
        else
            EditSestavaSettings(TSestDlg::PageSections);
        return 0;
    case peMouseAt:
        m_mouseX->setText(a == -1 ? QString() : QString::number(a));
        m_mouseY->setText(b == -1 ? QString() : QString::number(b));
        return 0;
    case peHeightChanged: {
        // a dragged section height is kept in its group record too
        for (int i = 0; i < m_groups.Count(); ++i) {
            TPolSkupE* group = m_groups.Skupina(i);
            if (group->header && group->header->code() == a) group->headerHeight = b;
            if (group->footer && group->footer->code() == a) group->footerHeight = b;
        }
        RefreshSections();
        RecordChange(ckSectionHeight);
        return 0;
    }
    case peSaveTemplate:
        return SavePredloha() ? 0 : report::seNotSaved;
    case peSectionClick:
    case peSectionClickLast:
        break;
    }
    return 0;
}

// ---- selection

TSesPrvek* TFormSestE::primarySelection() const {
    return m_paper->controlOf(m_document.selection().primary());
}

void TFormSestE::showMarks(const QList<const report::TVoranReportElement*>& elements) {
    const DesignerSelection& selection = m_document.selection();
    for (const report::TVoranReportElement* element : elements) {
        if (TSesPrvek* control = m_paper->controlOf(element)) {
            control->setSelectedMark(selection.isPrimary(element));
            control->setMultiMark(selection.isMember(element));
        }
    }
}

QList<const report::TVoranReportElement*> TFormSestE::elementOrder() const {
    QList<const report::TVoranReportElement*> order;
    order.reserve(m_paper->PocetPrvku());
    for (int i = 0; i < m_paper->PocetPrvku(); ++i)
        order << m_paper->Prvek(i)->element();
    return order;
}

void TFormSestE::selectionShown(TSesPrvek* element) {
    if (element) {
        paperEvent(peMoved, element->Left(), element->Top());
        paperEvent(peResized, element->Width(), element->Height());
    }
    ShowProperties(element);
    if (!m_paper->hasFocus()) {
        const ScrollKeeper keep(m_scroll);
        m_paper->setFocus();
    }
}

void TFormSestE::SelectElement(TSesPrvek* element) {
    if (element == primarySelection()) return;
    m_document.select(element ? element->element() : nullptr);
    selectionShown(element);
}

void TFormSestE::AddToSelection(TSesPrvek* element) {
    if (!element || element == primarySelection()) return;
    const bool first = !primarySelection();
    m_document.add(element->element());
    if (first) selectionShown(element);
    showSelectionState(true);
}

void TFormSestE::RemoveFromSelection(TSesPrvek* element) {
    if (element) m_document.remove(element->element(), elementOrder());
    EnableSelectionControls(false);
}

void TFormSestE::ClearSelection() {
    m_document.clearSelection();
    EnableSelectionControls(false);
}

void TFormSestE::releaseSelection(const QList<TSesPrvek*>& leaving) {
    const DesignerSelection& selection = m_document.selection();
    for (const TSesPrvek* control : leaving)
        if (selection.isSelected(control->element())) {
            ClearSelection();
            return;
        }
}

void TFormSestE::EnableSelectionControls(bool enable) {
    m_properties->enablePosition(enable);
    action(QStringLiteral("ActionKonfPrv"))->setEnabled(enable);
    showSelectionState(enable);
    enableEditingCommands(enable);
}

// ---- zoom and sections

void TFormSestE::SetZoom(int index, bool force) {
    index = std::clamp(index, 0, 10);
    if (index == m_zoomIndex && !force) return;
    m_zoomIndex = index;
    const double zoom = report::ZoomFactor(index);
    EditorSettings().zoom = float(zoom);
    m_zoomCombo->setCurrentIndex(index);
    if (!m_paper) return;
    m_paper->SetZoom(zoom);
    for (int i = 0; i < m_paper->PocetPrvku(); ++i)
        m_paper->Prvek(i)->SetZoom(zoom);
}

TOddil* TFormSestE::sectionOfCode(int code) const {
    for (int i = 0; i < m_paper->PocetOddilu(); ++i)
        if (m_paper->Oddil(i)->code() == code) return m_paper->Oddil(i);
    return nullptr;
}

QList<TOddil*> TFormSestE::sectionsInPrintOrder() const {
    QList<TOddil*> order{sectionOfCode(report::odZ), sectionOfCode(report::odH)};
    for (int i = 0; i < m_groups.Count(); ++i)
        order << m_groups.Skupina(i)->header;
    order << sectionOfCode(report::odT);
    for (int i = m_groups.Count() - 1; i >= 0; --i)
        order << m_groups.Skupina(i)->footer;
    order << sectionOfCode(report::odK) << sectionOfCode(report::odP);
    order.removeAll(nullptr);
    return order;
}

void TFormSestE::RefreshSections() {
    const report::TemplateBackground& background = settings().background;
    const platform::TRect rect{background.x, background.y, background.x + background.width,
                               background.y + background.height};
    const report::TPicture* picture = m_backgroundPicture && !m_backgroundPicture->isEmpty()
                                          ? m_backgroundPicture.get()
                                          : nullptr;
    // Each section shows the part of the paper's background that prints under it on a first
    // page: the sections stack down from the top margin in print order, and the page footer
    // stands on the bottom margin.
    const report::TemplatePaper& page = paperSettings();
    const report::TemplateGrid& grid = settings().grid;
    int top = page.marginTop;
    for (TOddil* section : sectionsInPrintOrder()) {
        section->SetRastr(grid.show, grid.snap, m_document.stepX(), m_document.stepY(),
                          grid.characterGrid == 1);
        const bool footer = section->code() == report::odP;
        const int y =
            footer ? page.paperHeight - page.marginBottom - section->sectionHeight() : top;
        section->SetPozadi(picture, rect, QPoint(-page.marginLeft, -y));
        if (section->code() == report::odT)
            section->setColumns(settings().columns, settings().columnGap);
        if (!footer && section->isVisibleTo(m_paper)) top += section->sectionHeight();
        section->update();
    }
}

// ---- element tree

QWidget* TFormSestE::buildTreePanel(QWidget* paperView) {
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("SplitterTree"));
    m_tree = new ElementTree(splitter);
    connect(m_tree, &ElementTree::elementPressed, this,
            [](TSesPrvek* element, Qt::KeyboardModifiers modifiers) {
                element->SetSelected(modifiers);
            });
    connect(m_tree, &ElementTree::elementDoubleClicked, this, &TFormSestE::EditElement);
    connect(m_tree, &ElementTree::sectionDoubleClicked, this,
            [this](int code) { paperEvent(peEditSection, code, 0); });
    splitter->addWidget(m_tree);
    splitter->addWidget(paperView);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 700});
    m_tree->hide();
    return splitter;
}

void TFormSestE::BuildElementTree() {
    if (!m_tree) return;
    const bool shown = EditorSettings().ShowTree;
    m_tree->setVisible(shown);
    if (shown && m_report)
        m_tree->build(description(), sectionsInPrintOrder());
    else
        m_tree->clear();
}

QTreeWidget* TFormSestE::elementTree() const {
    return m_tree->view();
}

// ---- data stepping

void TFormSestE::BtnFLNPClick(int tag) {
    int result = 0;
    if (tag > 0)
        result = m_report->Step(tag - 1);
    else if (!m_report->TiskJedenZaznam)
        result = m_report->Step(0);
    m_stepButtons[0]->setEnabled(result != 1 && result != 3);
    m_stepButtons[1]->setEnabled(result != 1 && result != 3);
    m_stepButtons[2]->setEnabled(result != 2 && result != 3);
    m_stepButtons[3]->setEnabled(result != 2 && result != 3);
    refreshValues();
}

void TFormSestE::refreshValues() {
    for (int i = 0; i < m_report->Funkce().Count(); ++i)
        m_report->Funkce().GetFunkce(i)->Calculate();
    for (int i = 0; i < m_paper->PocetPrvku(); ++i) {
        TSesPrvek* control = m_paper->Prvek(i);
        report::TVoranReportElement* element = control->element();
        if (element->Kind == report::ekItem) {
            element->Value = m_report->GetValue(element->Index);
            if (m_report->GetDataType(element->Index) == 17)
                element->SetPicture(m_report->GetPicture(element->Index));
        } else if (element->Kind == report::ekVariable) {
            element->Value = m_report->GetVariable(element->Index);
        }
        control->update();
    }
}

// ---- preview, print, nested designer

void TFormSestE::runReport(const std::function<void()>& run) {
    QAction* print = action(QStringLiteral("ActionPrint"));
    QAction* preview = action(QStringLiteral("ActionPreview"));
    const bool printEnabled = print->isEnabled();
    print->setEnabled(false);
    preview->setEnabled(false);
    refreshSnapshot();
    run();
    fillFunctionCombo();
    installValueHook();
    preview->setEnabled(true);
    print->setEnabled(printEnabled);
}

void TFormSestE::PreviewReport() {
    runReport([this] {
        // the report keeps the unsaved state as its template afterwards
        m_report->SetPredloha(history().Current());
        // "Oprava předlohy..." (and Esc) in the preview mean going on with the template here:
        // both come back to the designer, as closing the preview does
        if (m_report->Generate(true) == report::seOk) {
            const int zoom = qRound(100 * report::ZoomFactor(m_zoomIndex));
            const int state = windowState().testFlag(Qt::WindowMaximized) ? 2 : 0;
            m_report->ShowPreview(true, zoom, geometry(), state);
        }
    });
}

void TFormSestE::PrintReport() {
    runReport([this] {
        const report::TPredloha saved = m_report->Predloha();
        m_report->SetPredloha(history().Current());
        if (m_report->Generate(true) == report::seOk) m_report->Print();
        m_report->SetPredloha(saved);
    });
}

void TFormSestE::EditElement(TSesPrvek* element) {
    if (!element) return;
    if (element->Kind() >= report::ekText && element->Kind() <= report::ekFunction) {
        if (element->multi())
            editSelectionFont();
        else
            EditDataElement(element);
        return;
    }
    if (element->Kind() == report::ekBarcode) EditGraphicElement(element);
    if (element->Kind() != report::ekDetail) return;
    const int index = element->Index();
    if (index < 0 || index >= m_report->Detaily().Count()) return;
    m_report->Detaily().Detail(index)->EditInOwner(this, m_keepDescription);
    installValueHook();
    fillFunctionCombo();
    RecordChange(ckDetail);
}

// ---- new template

int TFormSestE::VytvorNovouPredlohu() {
    // the wait splash would cover the wizard when it runs while the window opens
    TFormLogo::HideWait();
    TDlgNovaSestava wizard(this);
    wizard.setMessageSink(&sink());
    QStringList names;
    for (int i = 0; i < m_report->GetItemCount(); ++i)
        names << m_report->GetItemName(i);
    wizard.setItems(names);
    wizard.setCaptions(true);
    wizard.setByName(EditorSettings().SledPodle);
    wizard.setPaperFormatAction([this] { EditSestavaSettings(TSestDlg::PagePaper); });
    const int result = wizard.exec();
    if (result == QDialog::Accepted) {
        // a paper change made from the wizard is part of the new first state
        report::TPredloha first;
        wizard.Generate(first, *m_report, report::PrintableHeight(), report::PrintableWidth());
        m_document.forgetHistory();
        m_document.rewriteCurrent(first, true);
        ClearPaper();
        LoadPredloha(first);
    }
    return result == QDialog::Rejected ? 2 : result;
}

// ---- closing

void TFormSestE::reject() {
    if (m_closing) return;
    commitPendingText();
    if (modified()) {
        const platform::MessageAnswer answer = sink().ShowBox(
            LoadText(ReportText::SaveChangesQuestion), LoadText(ReportText::CaptionConfirm),
            platform::MessageButtons::YesNoCancel, platform::MessageIcon::Question);
        if (answer == platform::MessageAnswer::Cancel) return;
        // a failed save has shown its message: the window stays open with its changes
        if (answer == platform::MessageAnswer::Yes && !SavePredloha()) return;
    }
    m_closing = true;
    m_hook.reset();
    QDialog::reject();
    m_closing = false;
}

// ---- the factory the engine calls

void installDesigner() {
    report::TSestavaTyp::setDesignerFactory(
        [](report::TSestavaTyp& report, const report::TSestavaTyp::EditRequest& request) {
            TFormLogo::ShowWait();
            auto* owner = qobject_cast<TFormSestE*>(request.owner);
            TFormSestE window(owner);
            window.setOwnerDesigner(owner);
            if (request.noPrint) window.DisablePrint();
            const bool opened = window.OpenSestava(&report, 1, request.keepDescription);
            if (owner) window.setWindowState(Qt::WindowMaximized);
            TFormLogo::HideWait();
            if (!opened) return 0;
            return window.exec() == QDialog::Accepted ? 1 : 2;
        });
}

} // namespace designer
