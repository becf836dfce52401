// The designer window's template text: reading it into the paper, writing the paper back,
// history steps, undo and redo, save and save-as, the new-template command.

#include "platform/MessageSink.h"
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

#include <QComboBox>

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
    report::TemplateSettings s;
    s.description = m_description;
    s.version = m_version;
    s.paper = m_paperSettings;
    s.columns = m_columns;
    s.columnGap = m_columnGap;
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
    s.designerValue = m_i5Value;
    s.grid = {m_characterGrid, m_gridX, m_gridY, m_lineCode, m_pitchCode, m_showGrid, m_snap};
    s.background = m_background;
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
    const report::TemplateSettings s =
        report::ReadTemplateSettings(predloha, m_report->IsDetail(), defaults);

    if (!s.description.isEmpty() && !m_keepDescription) {
        m_description = s.description;
        m_report->Popis = s.description;
    }
    m_version = s.version;
    m_paperSettings = *s.paper;
    if (!m_report->IsDetail()) applyPaperToPrinterModel();
    m_columns = s.columns;
    m_columnGap = s.columnGap;
    for (report::SectionNumber code : kFixedSectionCodes) {
        const std::optional<report::TemplateSection>& line = s.sections[code];
        if (!line) continue;
        TOddil* section = sectionOfCode(code);
        section->setVisible(line->visible);
        section->setSectionHeight(line->height);
        section->setColumns(m_columns, m_columnGap);
        m_report->SetSectionFlags(code, line->flags.value_or(0));
    }
    for (const report::TemplateGroupLine& g : s.groups) {
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
    m_i5Value = s.designerValue;
    m_characterGrid = s.grid.characterGrid;
    m_gridX = s.grid.x;
    m_gridY = s.grid.y;
    m_lineCode = s.grid.lineCode;
    m_pitchCode = s.grid.pitchCode;
    m_showGrid = s.grid.show;
    m_snap = s.grid.snap;
    deriveGridSteps();
    m_background = s.background;
    // the background covers the paper unless its line says otherwise
    if (m_background.width == 0) m_background.width = m_paperSettings.paperWidth;
    if (m_background.height == 0) m_background.height = m_paperSettings.paperHeight;

    report::TListFunkci& functions = m_report->Funkce();
    functions.ClearFunctions();
    report::AddTemplateFunctions(s.functions, functions);
}

void TFormSestE::deriveGridSteps() {
    if (m_characterGrid == 1) {
        m_stepX = m_pitchCode == 1 ? 8.333333f : m_pitchCode == 2 ? 5.882353f : 10.0f;
        m_stepY = m_lineCode == 1 ? 25.0f : m_lineCode == 2 ? 33.333332f : 16.666666f;
        m_gridX = int(std::lround(m_stepX));
        m_gridY = int(std::lround(m_stepY));
    } else {
        m_stepX = m_gridX;
        m_stepY = m_gridY;
    }
}

void TFormSestE::applyPaperToPrinterModel() {
    report::TPageSetup& page = report::PageSetup();
    page.orientation = m_paperSettings.landscape ? 1 : 0;
    if (m_paperSettings.paperWidth > 0 && m_paperSettings.paperHeight > 0) {
        page.paperWidth = m_paperSettings.paperWidth;
        page.paperHeight = m_paperSettings.paperHeight;
    }
    page.leftMargin = m_paperSettings.marginLeft;
    page.rightMargin = m_paperSettings.marginRight;
    page.topMargin = m_paperSettings.marginTop;
    page.bottomMargin = m_paperSettings.marginBottom;
}

void TFormSestE::loadBackgroundPicture() {
    const QString name = m_background.own ? m_background.pictureName : m_report->Background;
    if (name.isEmpty()) {
        m_backgroundPicture.reset();
        return;
    }
    if (!m_backgroundPicture) m_backgroundPicture = std::make_unique<report::TPicture>();
    if (!m_report->NactiObraz(name, *m_backgroundPicture)) m_backgroundPicture->clear();
}

bool TFormSestE::LoadPredloha(const TPredloha& predloha) {
    QList<QString> keys;
    keys.reserve(predloha.size());
    for (const QString& line : predloha)
        keys.append(line.size() > 1 ? firstField(line) : QString());

    m_foreignDetailLines.clear();
    readSettings(predloha);
    loadBackgroundPicture();
    fillFunctionCombo();

    // the old-file rule follows the version of the text being read
    const report::TemplateVersion version = m_version;
    const auto loadSection = [&](TOddil* section) {
        const QString key = sectionKey(section->code());
        for (qsizetype i = 0; i < predloha.size(); ++i)
            if (keys[i] == key) createElement(section, predloha[i], version);
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
            m_foreignDetailLines.append(predloha[i]);
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
    m_paper->RemoveSkupina(group);
}

void TFormSestE::fillFunctionCombo() {
    m_functionCombo->clear();
    const report::TListFunkci& functions = m_report->Funkce();
    for (int i = 0; i < functions.Count(); ++i)
        m_functionCombo->addItem(functions.GetFunkce(i)->GetTitle());
    action(QStringLiteral("ActionFn"))->setEnabled(functions.Count() > 0);
    m_functionCombo->setCurrentIndex(functions.Count() - 1);
}

void TFormSestE::fillGroupCombo() {
    const bool groups = m_groups.Count() > 0;
    action(QStringLiteral("ActionRadSk"))->setEnabled(groups);
    action(QStringLiteral("ActionSkCis"))->setEnabled(groups);
    m_groupCombo->clear();
    m_groupCombo->setEnabled(groups);
    for (int i = 0; i < m_groups.Count(); ++i)
        m_groupCombo->addItem(QStringLiteral("Skupina %1").arg(i + 1));
    m_groupCombo->setCurrentIndex(groups ? 0 : -1);
}

void TFormSestE::ClearPaper() {
    ClearSelection();
    m_report->Funkce().ClearFunctions();
    while (m_groups.Count() > 0) {
        RemoveGroupSections(*m_groups.Skupina(m_groups.Count() - 1));
        m_groups.removeLast();
    }
    for (report::SectionNumber code : kFixedSectionCodes)
        m_paper->ClearOddil(sectionOfCode(code));
    m_foreignDetailLines.clear();
    EnableSelectionControls(false);
}

// ---- writing

bool TFormSestE::StorePredloha(TPredloha& out) {
    out = report::WriteTemplateSettings(settingsValue());
    m_version = {}; // what is written is in the current format
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
    out.append(m_foreignDetailLines);
    return true;
}

TPredloha TFormSestE::storedText() {
    TPredloha text;
    StorePredloha(text);
    return text;
}

// ---- history

void TFormSestE::RecordChange(ChangeKind kind) {
    StorePredloha(m_history.AddVariant(TListVariant::StepName(kind)));
    m_modified = true;
    refreshHistoryActions();
}

void TFormSestE::refreshSnapshot() {
    StorePredloha(m_history.Current());
}

void TFormSestE::refreshHistoryActions() {
    QAction* undo = action(QStringLiteral("ActionUndo"));
    QAction* redo = action(QStringLiteral("ActionRedo"));
    undo->setEnabled(m_history.CanUndo());
    redo->setEnabled(m_history.CanRedo());
    undo->setToolTip(m_history.UndoCaption());
    redo->setToolTip(m_history.RedoCaption());
    if (m_menuUndo) {
        m_menuUndo->setEnabled(m_history.CanUndo());
        m_menuRedo->setEnabled(m_history.CanRedo());
    }
}

void TFormSestE::loadSnapshot(const TPredloha& predloha) {
    ClearPaper();
    LoadPredloha(predloha);
}

void TFormSestE::Undo() {
    commitPendingText();
    if (!m_history.CanUndo()) return;
    const TPredloha text = (m_history.Undo(), m_history.Current());
    loadSnapshot(text);
    m_modified = true;
    refreshHistoryActions();
}

void TFormSestE::Redo() {
    commitPendingText();
    if (!m_history.CanRedo()) return;
    const TPredloha text = (m_history.Redo(), m_history.Current());
    loadSnapshot(text);
    m_modified = true;
    refreshHistoryActions();
}

// ---- saving

bool TFormSestE::SavePredloha() {
    refreshSnapshot();
    m_report->SetPredloha(m_history.Current());
    fillFunctionCombo();
    int result = report::seNotSaved;
    if (m_report->MasterSestava() && m_owner)
        result = m_owner->paperEvent(19, 0, 0);
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
    m_modified = false;
    if (!EditorSettings().UndoSave) m_history.ForgetHistory();
    refreshHistoryActions();
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
    m_report->SetPredloha(m_history.Current());
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

void TFormSestE::NewPredloha() {
    if (m_paper->PocetPrvku() > 0 &&
        sink().ShowBox(report::LoadText(report::ReportText::ClearTemplateQuestion),
                       report::LoadText(report::ReportText::CaptionConfirm),
                       platform::MessageButtons::YesNo,
                       platform::MessageIcon::Question) != platform::MessageAnswer::Yes)
        return;
    ClearPaper();
    m_history.ForgetHistory();
    m_history.Variant(0).clear();
    VytvorNovouPredlohu();
    refreshHistoryActions();
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
    TSestDlg::Values v;
    v.description = m_description;
    v.paper = m_paperSettings;
    v.columns = m_columns;
    v.gap = m_columnGap;
    v.characterGrid = m_characterGrid;
    v.gridX = m_gridX;
    v.gridY = m_gridY;
    v.pitchCode = m_pitchCode == 1 || m_pitchCode == 2 ? m_pitchCode : 0;
    v.showGrid = m_showGrid;
    v.snap = m_snap;
    v.background = m_background;
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
    m_description = w.description;
    m_report->Popis = w.description;
    if (!m_report->IsDetail()) {
        m_paperSettings = w.paper;
        applyPaperToPrinterModel();
    }
    m_columns = w.columns;
    m_columnGap = w.gap;
    m_characterGrid = w.characterGrid;
    m_gridX = w.gridX;
    m_gridY = w.gridY;
    m_pitchCode = w.pitchCode;
    m_showGrid = w.showGrid;
    m_snap = w.snap;
    m_background = w.background;
    loadBackgroundPicture();
    deriveGridSteps();
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
