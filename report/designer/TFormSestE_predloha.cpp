// The designer window's template text: reading it into the paper, writing the paper back,
// history steps, undo and redo, save and save-as, the new-template command.

#include "platform/MessageSink.h"
#include "report/designer/DesignerPalette.h"
#include "report/designer/TDlgNovaSestava.h"
#include "report/designer/TEditorSettings.h"
#include "report/designer/TFormSestE.h"
#include "report/designer/TOddil.h"
#include "report/designer/TSesPrvek.h"
#include "report/designer/TSestDlg.h"
#include "report/engine/document/TPicture.h"
#include "report/engine/printing/sestprn.h"
#include "report/engine/run/sestavy.h"
#include "report/engine/sest_lib.h"
#include "report/engine/sestzpr.h"
#include "report/engine/ui/DialogFileChooser.h"

#include <QHash>
#include <QSet>

namespace designer {

using report::NextField;
using report::NextFieldInt;
using report::TPredloha;

namespace {

QString firstField(const QString& line) {
    QString rest = line;
    return NextField(rest);
}

QString num(qint64 n) {
    return QString::number(n);
}

// The detail number of a "D<j>" key, or -1 for any other key.
int detailNumber(const QString& key) {
    if (key.size() < 2 || key[0] != u'D') return -1;
    bool ok = false;
    const int j = key.mid(1).toInt(&ok);
    return ok && j >= 0 && key.mid(1) == QString::number(j) ? j : -1;
}

} // namespace

// ---- reading

report::TemplateSettings TFormSestE::settingsValue() const {
    report::TemplateSettings s = settings();
    for (report::SectionNumber code : kFixedSectionCodes) {
        const TOddil* section = sectionOfCode(code);
        s.sections[code] = report::TemplateSection{!section->isHidden(), section->sectionHeight(),
                                                   m_report->sectionFlags().bits(code)};
    }
    for (int i = 0; i < m_groups.Count(); ++i) {
        const TPolSkupE* g = m_groups.Skupina(i);
        s.groups.append({i, g->keyName.isEmpty() ? num(g->keyItem) : g->keyName,
                         !g->header->isHidden(), g->header->sectionHeight(),
                         !g->footer->isHidden(), g->footer->sectionHeight(), g->newPage});
    }
    s.functions = report::TemplateFunctionsOf(m_report->Funkce());
    return s;
}

void TFormSestE::readSettings(const TPredloha& predloha) {
    // What the text does not set stays as the designer has it, but for three things: the
    // paper is the printer model's (a save must write that paper, not zeros), the background
    // is none, and a description only counts when given.
    report::TemplateSettings defaults = settingsValue();
    const report::TPageSetup& page = report::PageSetup();
    defaults.paper = report::TemplatePaper{
        page.orientation == 1, false,          page.paperWidth,  page.paperHeight, page.leftMargin,
        page.rightMargin,      page.topMargin, page.bottomMargin};
    defaults.background = {};
    defaults.description.clear();
    const report::TemplateSettings read =
        report::ReadTemplateSettings(predloha, m_report->IsDetail(), defaults);

    report::TemplateSettings& own = settings();
    if (!read.description.isEmpty() && !m_keepDescription) {
        own.description = read.description;
        m_report->Popis = read.description;
    }
    own.version = read.version;
    own.paper = read.paper;
    if (!m_report->IsDetail()) applyPaperToPrinterModel();
    own.columns = read.columns;
    own.columnGap = read.columnGap;
    // sections, groups and functions go to the paper and the report
    for (report::SectionNumber code : kFixedSectionCodes) {
        const std::optional<report::TemplateSection>& line = read.sections[code];
        if (!line) continue;
        TOddil* section = sectionOfCode(code);
        section->setVisible(line->visible);
        section->setSectionHeight(line->height);
        section->setColumns(own.columns, own.columnGap);
        m_report->SetSectionFlags(code, line->flags.value_or(0));
    }
    for (const report::TemplateGroupLine& g : read.groups) {
        TPolSkupE group;
        group.number = g.number;
        group.keyName = g.key;
        group.headerVisible = g.headerVisible;
        group.headerHeight = g.headerHeight;
        group.footerVisible = g.footerVisible;
        group.footerHeight = g.footerHeight;
        group.newPage = g.newPage;
        AddGroupSections(group);
    }
    own.designerValue = read.designerValue;
    m_document.setGrid(read.grid);
    own.background = read.background;
    // the background covers the paper unless its line says otherwise
    if (own.background.width == 0) own.background.width = own.paper->paperWidth;
    if (own.background.height == 0) own.background.height = own.paper->paperHeight;

    report::TListFunkci& functions = m_report->Funkce();
    functions.ClearFunctions();
    report::AddTemplateFunctions(read.functions, functions);
}

void TFormSestE::applyPaperToPrinterModel() {
    const report::TemplatePaper& paper = paperSettings();
    report::ApplyPaperToPageSetup(paper, paper.paperWidth > 0 && paper.paperHeight > 0,
                                  report::PageSetup());
}

void TFormSestE::loadBackgroundPicture() {
    const report::TemplateBackground& background = settings().background;
    const QString name = background.own ? background.pictureName : m_report->Background;
    if (name.isEmpty()) {
        m_backgroundPicture.reset();
        return;
    }
    if (!m_backgroundPicture) m_backgroundPicture = std::make_unique<report::TPicture>();
    if (!m_report->NactiObraz(name, *m_backgroundPicture)) m_backgroundPicture->clear();
}

bool TFormSestE::LoadPredloha(const TPredloha& predloha) {
    // the sections are stacked once, after the last group is read
    const TPapir::LayoutBatch batch(*m_paper);
    QList<QString> keys;
    keys.reserve(predloha.size());
    QHash<QString, QList<qsizetype>> linesOfKey;
    for (qsizetype i = 0; i < predloha.size(); ++i) {
        keys.append(predloha[i].size() > 1 ? firstField(predloha[i]) : QString());
        linesOfKey[keys.last()].append(i);
    }

    m_document.foreignDetailLines().clear();
    readSettings(predloha);
    // the paper is as wide as the text just read makes the printable width
    m_paper->SetSirka(report::PrintableWidth());
    loadBackgroundPicture();
    fillFunctionCombo();

    // the old-file rule follows the version of the text being read
    const report::TemplateVersion version = settings().version;
    const auto loadSection = [&](TOddil* section) {
        for (qsizetype i : linesOfKey.value(sectionKey(section->code())))
            createElement(section, predloha[i], version);
    };
    for (report::SectionNumber code : kFixedSectionCodes) {
        if (m_report->IsDetail() && (code == report::odH || code == report::odP)) continue;
        loadSection(sectionOfCode(code));
    }
    for (int i = 0; i < m_groups.Count(); ++i) {
        loadSection(m_groups.Skupina(i)->header);
        loadSection(m_groups.Skupina(i)->footer);
    }

    // details: registered ones take their lines; the others are kept for the next write
    const int details = m_report->Detaily().Count();
    QList<TPredloha> detailTexts(details);
    QList<bool> detailSeen(details, false);
    for (qsizetype i = 0; i < predloha.size(); ++i) {
        const int j = detailNumber(keys[i]);
        if (j < 0) continue;
        if (j >= details) {
            m_document.foreignDetailLines().append(predloha[i]);
            continue;
        }
        QString line = predloha[i];
        NextField(line);
        detailTexts[j].append(line);
        detailSeen[j] = true;
    }
    for (int j = 0; j < details; ++j) {
        report::TSestDetail* detail = m_report->Detaily().Detail(j);
        if (detailSeen[j] && detail->Predloha() != detailTexts[j])
            detail->SetPredloha(detailTexts[j]);
    }

    fillGroupCombo();
    RefreshSections();
    UpdateCaption();
    SetZoom(m_zoomIndex, true);
    BuildElementTree();
    // the functions were read anew and variables get no value when read: like the items, they
    // show the current record
    refreshValues();
    return true;
}

TSesPrvek* TFormSestE::createElement(TOddil* section, const QString& line,
                                     const report::TemplateVersion& version) {
    auto element = std::make_unique<report::TVoranReportElement>(m_report);
    element->LoadFromLine(line, version);
    if (element->Kind == report::ekItem) {
        element->Value = m_report->GetValue(element->Index);
        if (element->IsPicture()) element->SetPicture(m_report->GetPicture(element->Index));
    }
    auto* control = new TSesPrvek(section);
    control->setElement(std::move(element));
    control->setToolTip(ElementName(control->Kind(), control->Index()));
    m_paper->AddPrvek(section, control);
    control->SetZoom(m_paper->zoom());
    return control;
}

TPolSkupE& TFormSestE::AddGroupSections(const TPolSkupE& record) {
    // groups are numbered by their position, whatever the line said
    TPolSkupE& group = m_groups.add();
    const int number = group.number;
    group = record;
    group.number = number;
    group.header = group.footer = nullptr;
    if (record.keyName.isEmpty()) {
        group.keyItem = 0;
    } else if (!record.keyName[0].isDigit()) {
        group.keyItem = std::max(m_report->IndexOfItem(record.keyName), 0);
    } else {
        QString digits = record.keyName;
        group.keyItem = NextFieldInt(digits, 0);
        group.keyName.clear();
    }
    m_paper->AddSkupina(group);
    return group;
}

void TFormSestE::RemoveGroupSections(TPolSkupE& group) {
    // the selection must not keep an element that goes with the sections
    QList<TSesPrvek*> leaving;
    for (const TOddil* section : {group.header, group.footer})
        for (int i = 0; section && i < section->PocetPrvku(); ++i)
            leaving << section->Prvek(i);
    releaseSelection(leaving);
    m_paper->RemoveSkupina(group);
}

void TFormSestE::fillFunctionCombo() {
    const report::TListFunkci& functions = m_report->Funkce();
    QStringList titles;
    for (int i = 0; i < functions.Count(); ++i)
        titles << functions.GetFunkce(i)->GetTitle();
    m_palette->fillFunctions(titles);
    action(QStringLiteral("ActionFn"))->setEnabled(functions.Count() > 0);
}

void TFormSestE::fillGroupCombo() {
    const bool groups = m_groups.Count() > 0;
    action(QStringLiteral("ActionRadSk"))->setEnabled(groups);
    action(QStringLiteral("ActionSkCis"))->setEnabled(groups);
    m_palette->fillGroups(m_groups.Count());
}

void TFormSestE::ClearPaper() {
    ClearSelection();
    const TPapir::LayoutBatch batch(*m_paper);
    m_report->Funkce().ClearFunctions();
    // every element at once, so that the groups' sections go empty, each in a moment
    QSet<TSesPrvek*> elements;
    for (int i = 0; i < m_paper->PocetPrvku(); ++i)
        elements.insert(m_paper->Prvek(i));
    m_paper->deleteElements(elements);
    while (m_groups.Count() > 0) {
        RemoveGroupSections(*m_groups.Skupina(m_groups.Count() - 1));
        m_groups.removeLast();
    }
    m_document.foreignDetailLines().clear();
    EnableSelectionControls(false);
}

// ---- writing

bool TFormSestE::StorePredloha(TPredloha& out) {
    out = report::WriteTemplateSettings(settingsValue());
    settings().version = {}; // what is written is in the current format
    const auto writeSection = [&out](const TOddil* section) {
        const QString key = sectionKey(section->code());
        for (int e = 0; e < section->PocetPrvku(); ++e)
            out.append(section->Prvek(e)->element()->SaveToLine(key));
    };
    for (report::SectionNumber code : kFixedSectionCodes)
        writeSection(sectionOfCode(code));
    for (int i = 0; i < m_groups.Count(); ++i) {
        writeSection(m_groups.Skupina(i)->header);
        writeSection(m_groups.Skupina(i)->footer);
    }
    for (int j = 0; j < m_report->Detaily().Count(); ++j)
        for (const QString& line : m_report->Detaily().Detail(j)->Predloha())
            out.append(u'D' + num(j) + u',' + line);
    out.append(m_document.foreignDetailLines());
    return true;
}

TPredloha TFormSestE::storedText() {
    TPredloha text;
    StorePredloha(text);
    return text;
}

// ---- history

void TFormSestE::RecordChange(ChangeKind kind) {
    m_document.recordStep(kind, storedText());
}

void TFormSestE::refreshSnapshot() {
    m_document.rewriteCurrent(storedText(), false);
}

void TFormSestE::refreshHistoryActions() {
    const TListVariant& steps = history();
    QAction* undo = action(QStringLiteral("ActionUndo"));
    QAction* redo = action(QStringLiteral("ActionRedo"));
    undo->setEnabled(steps.CanUndo());
    redo->setEnabled(steps.CanRedo());
    undo->setToolTip(steps.UndoCaption());
    redo->setToolTip(steps.RedoCaption());
}

void TFormSestE::loadSnapshot(const TPredloha& predloha) {
    const TPapir::LayoutBatch batch(*m_paper);
    ClearPaper();
    LoadPredloha(predloha);
}

void TFormSestE::Undo() {
    commitPendingText();
    if (!m_document.undo()) return;
    loadSnapshot(TPredloha(history().Current()));
}

void TFormSestE::Redo() {
    commitPendingText();
    if (!m_document.redo()) return;
    loadSnapshot(TPredloha(history().Current()));
}

// ---- saving

bool TFormSestE::SavePredloha() {
    refreshSnapshot();
    m_report->SetPredloha(history().Current());
    fillFunctionCombo();
    int result = report::seNotSaved;
    if (m_report->MasterSestava() && m_owner)
        result = m_owner->paperEvent(peSaveTemplate, 0, 0);
    else
        result = m_report->UlozPredlohu();
    return finishSave(result);
}

bool TFormSestE::finishSave(int result) {
    if (result != report::seOk) {
        sink().ShowBox(report::LoadText(report::ReportText::EditorTemplateNotSaved),
                       report::LoadText(report::ReportText::CaptionError),
                       platform::MessageButtons::Ok, platform::MessageIcon::Critical);
        return false;
    }
    m_document.saved(EditorSettings().UndoSave);
    return true;
}

namespace {

// The report's own way of asking for a file (the save dialog over the designer when it has
// none), remembering whether the user cancelled: Storno is no failed save.
class WatchedChooser : public report::SaveFileChooser {
public:
    WatchedChooser(report::TSestava* component, QWidget* parent)
        : m_component(component), m_previous(component ? component->fileChooser() : nullptr),
          m_dialog(parent) {
        if (m_component) m_component->setFileChooser(this);
    }
    ~WatchedChooser() override {
        if (m_component) m_component->setFileChooser(m_previous);
    }
    WatchedChooser(const WatchedChooser&) = delete;
    WatchedChooser& operator=(const WatchedChooser&) = delete;

    QString chooseSaveFile(const report::SaveFileRequest& request) override {
        const QString chosen =
            m_previous ? m_previous->chooseSaveFile(request) : m_dialog.chooseSaveFile(request);
        m_cancelled = chosen.isEmpty();
        return chosen;
    }
    bool cancelled() const { return m_cancelled; }

private:
    report::TSestava* m_component;
    report::SaveFileChooser* m_previous;
    report::DialogFileChooser m_dialog;
    bool m_cancelled = false;
};

} // namespace

bool TFormSestE::SavePredlohaAs() {
    // what records no step (z-order) still reaches the file
    refreshSnapshot();
    m_report->SetPredloha(history().Current());
    fillFunctionCombo();
    // a detail saves as through its master, which asks for the file
    report::TSestavaTyp* asking = m_report;
    while (asking->MasterSestava())
        asking = asking->MasterSestava();
    const WatchedChooser chooser(dynamic_cast<report::TSestava*>(asking), this);
    const int result = m_report->UlozPredlohuJako();
    if (chooser.cancelled()) return false;
    return finishSave(result);
}

void TFormSestE::NewTemplate() {
    if (m_paper->PocetPrvku() > 0 &&
        sink().ShowBox(report::LoadText(report::ReportText::ClearTemplateQuestion),
                       report::LoadText(report::ReportText::CaptionConfirm),
                       platform::MessageButtons::YesNo,
                       platform::MessageIcon::Question) != platform::MessageAnswer::Yes)
        return;
    // Storno in the wizard leaves the template and its history as they were, also after a
    // paper set from the wizard
    const TListVariant kept = history();
    const TPredloha before = storedText();
    const int result = VytvorNovouPredlohu();
    if (result == TDlgNovaSestava::kByHand) {
        ClearPaper();
        m_document.forgetHistory();
        m_document.rewriteCurrent({}, false);
    } else if (result != QDialog::Accepted) {
        m_document.restoreHistory(kept);
        if (storedText() != before) loadSnapshot(before);
    }
}

} // namespace designer

namespace designer {

void TFormSestE::deleteLastGroup() {
    if (m_groups.Count() == 0) return;
    RemoveGroupSections(*m_groups.Skupina(m_groups.Count() - 1));
    m_groups.removeLast();
    RefreshSections();
}

void TFormSestE::EditSestavaSettings(int page, int group) {
    const report::TemplateSettings& own = settings();
    TSestDlg::Values v;
    v.description = own.description;
    v.paper = *own.paper;
    v.columns = own.columns;
    v.gap = own.columnGap;
    v.characterGrid = own.grid.characterGrid;
    v.gridX = own.grid.x;
    v.gridY = own.grid.y;
    v.pitchCode = own.grid.pitchCode == 1 || own.grid.pitchCode == 2 ? own.grid.pitchCode : 0;
    v.showGrid = own.grid.show;
    v.snap = own.grid.snap;
    v.background = own.background;
    for (report::SectionNumber code : kFixedSectionCodes) {
        v.visible[code] = !sectionOfCode(code)->isHidden();
        v.height[code] = sectionOfCode(code)->sectionHeight();
        v.flags[code] = m_report->sectionFlags().bits(code);
    }
    m_reportDialog->setMessageSink(&sink());
    m_reportDialog->EnableControls(m_report->IsDetail());
    m_reportDialog->setValues(v);
    QStringList items;
    const bool descriptions = EditorSettings().PopisyPol;
    for (int i = 0; i < m_report->GetItemCount(); ++i)
        items << u'#' + QString::number(i + 1).leftJustified(3) +
                     (descriptions ? m_report->GetItemDescription(i) : m_report->GetItemName(i));
    m_reportDialog->fillGroups(items);
    // Ins and Del act on the paper at once, and the records take every edit: Storno comes
    // back to this text, with the groups, their sections and their elements as they were
    const TPredloha before = storedText();
    QList<TPolSkupE> records;
    for (int i = 0; i < m_groups.Count(); ++i)
        records << *m_groups.Skupina(i);
    m_reportDialog->showPage(page, group);

    if (m_reportDialog->exec() != QDialog::Accepted) {
        if (m_reportDialog->groupsChanged()) {
            loadSnapshot(before);
        } else {
            for (int i = 0; i < m_groups.Count(); ++i)
                *m_groups.Skupina(i) = records[i];
        }
        return;
    }
    const TSestDlg::Values w = m_reportDialog->values();
    const TPapir::LayoutBatch batch(*m_paper);
    report::TemplateSettings& taken = settings();
    taken.description = w.description;
    m_report->Popis = w.description;
    if (!m_report->IsDetail()) {
        taken.paper = w.paper;
        applyPaperToPrinterModel();
    }
    taken.columns = w.columns;
    taken.columnGap = w.gap;
    report::TemplateGrid grid = taken.grid;
    grid.characterGrid = w.characterGrid;
    grid.x = w.gridX;
    grid.y = w.gridY;
    grid.pitchCode = w.pitchCode;
    grid.show = w.showGrid;
    grid.snap = w.snap;
    m_document.setGrid(grid);
    taken.background = w.background;
    loadBackgroundPicture();
    for (report::SectionNumber code : kFixedSectionCodes) {
        sectionOfCode(code)->setVisible(w.visible[code]);
        sectionOfCode(code)->setSectionHeight(w.height[code]);
        m_report->SetSectionFlags(code, w.flags[code]);
    }
    for (int i = 0; i < m_groups.Count(); ++i) {
        TPolSkupE* g = m_groups.Skupina(i);
        g->header->setVisible(g->headerVisible);
        g->header->setSectionHeight(std::max(g->headerHeight, 0));
        g->footer->setVisible(g->footerVisible);
        g->footer->setSectionHeight(std::max(g->footerHeight, 0));
    }
    m_paper->SetSirka(report::PrintableWidth());
    SetZoom(m_zoomIndex, true);
    RefreshSections();
    fillGroupCombo();
    UpdateCaption();
    BuildElementTree();
    RecordChange(ckSectionsAndGroups);
}

} // namespace designer
