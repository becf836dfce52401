#pragma once
// The template designer window: a modal dialog holding the paper of one report's template,
// its palette of tools (DesignerPalette), property panel (PropertyPanel), element tree
// (ElementTree), data stepping, and the load, store, history, save, preview and print of the
// template. What it keeps without a widget (settings, selection, copy, history) is its
// document's, which it observes; its panels tell it what the user changed. The report
// component opens it through the factory that installDesigner() puts into the engine.
// report/designer/README.md says which file holds which group of its functions.

#include "report/designer/DesignerEvents.h"
#include "report/designer/TPapir.h"
#include "report/designer/TSesPrvek.h"
#include "report/designer/model/DesignerDocument.h"
#include "report/engine/expressions/sest_fn.h"
#include "report/engine/run/sestavyt.h"

#include <QDialog>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>
#include <span>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QScrollArea;
class QToolButton;
class QTreeWidget;

namespace platform {
class MessageSink;
}

namespace designer {

class DesignerPalette;
class ElementTree;
class PropertyPanel;
class TSesPrvek;
class TOddil;
class TSestKonfigDlg;
class TSestDlg;
class TDlgKonfPrvku;
struct PropertyChange;

// Installs the designer into the report engine (the component's EditEx, Edit, EditInOwner).
void installDesigner();

class TFormSestE : public QDialog, public DesignerEvents {
    Q_OBJECT

public:
    explicit TFormSestE(QWidget* parent = nullptr);
    ~TFormSestE() override;

    // Messages and questions; null: the report's sink.
    void setMessageSink(platform::MessageSink* sink) { m_messages = sink; }

    // Binds the report and loads its template (the wizard runs for an empty one); false when
    // the window must not be shown. `flag` is not read.
    bool OpenSestava(report::TSestavaTyp* report, int flag, bool keepDescription);
    void DisablePrint();
    report::TSestavaTyp* report() const { return m_report; }

    // ---- template text
    // Rebuilds the designer from `predloha` (the paper must be empty). Always true.
    bool LoadPredloha(const report::TPredloha& predloha);
    // The designer's state as template text. Always true.
    bool StorePredloha(report::TPredloha& predloha);
    report::TPredloha storedText();
    void ClearPaper();
    // Records a history step of change kind `kind` (named by TListVariant::StepName).
    void RecordChange(ChangeKind kind);
    // Rewrites the current snapshot from the designer without a new step.
    void refreshSnapshot();
    void Undo();
    void Redo();
    bool SavePredloha();
    // The report's save-as (its file question, else the save dialog); afterwards the designer
    // edits the new file. False when not saved: a failure shows its message, Storno nothing.
    bool SavePredlohaAs();
    // The new-template command: asks when the paper holds elements.
    void NewTemplate();
    // The new-template wizard's modal result (1 OK, 2 cancel, 7 by hand).
    int VytvorNovouPredlohu();
    // A group like `record`, numbered by its position, with its two sections.
    TPolSkupE& AddGroupSections(const TPolSkupE& record);
    void RemoveGroupSections(TPolSkupE& group);

    // ---- display names and the value hook
    QString ElementName(int kind, int index) const;
    int ElementText(int request, report::TCalcType& value);

    // ---- notifications of the design controls
    int elementEvent(int code, TSesPrvek* element) override;
    int paperEvent(int code, int a, int b) override;
    TSesPrvek* primarySelection() const override;

    // ---- selection core
    void SelectElement(TSesPrvek* element);
    void AddToSelection(TSesPrvek* element);
    void RemoveFromSelection(TSesPrvek* element);
    void ClearSelection();
    int selectionCount() const { return m_document.selection().count(); }
    void EnableSelectionControls(bool enable);

    // ==== editing: tools, insertion, keys, position fields, grid, deletion, clipboard
    // (TFormSestE_edit.cpp, TFormSestE_clipboard.cpp)
    // A palette tool: the selection cleared, its cursor, the item combo of its block.
    void ActionCommandExecute(QAction* tool);
    // The arrow tool (tool 0).
    void StiskniSipku();
    // An insertion click at (x, y) of section `code`: a new element of the active tool, or
    // the paste in paste mode, or only a cleared selection without a tool.
    void InsertElement(int code, int x, int y);
    // Every selected control moved or resized by the deltas (1/100 inch), one step ckMove.
    void MoveSelection(double dx, double dy);
    void ResizeSelection(double dx, double dy);
    // The element's edges snapped to the grid steps; width and height at least 3.
    void AlignToGrid(TSesPrvek* element);
    void alignAllToGrid();
    void alignSelectedToGrid();
    // False when the question was answered No (nothing deleted).
    bool DeleteElement(TSesPrvek* element);
    bool DeleteSelected();
    // The delete command: the primary, or every multi-selected control; a step ckDeleteElement
    // when anything was deleted.
    void deleteSelection();
    // The system clipboard holds an element text: the marker line, three header lines and at
    // least one element line, with any line ends.
    bool CanPaste() const;
    // The selected controls of `section` to the system clipboard and the window's own copy.
    void CopySelection(TOddil* section);
    void CutSelection();
    // The paste command: on, the next click into a section pastes there; again, off.
    void togglePasteMode();
    bool pasteMode() const { return m_pasteMode; }
    // The clipboard's elements (else the window's own last copy) with their offsets from the
    // anchor kept, the anchor at (x, y); a step ckPaste when anything was
    // pasted.
    void PasteAt(TOddil* section, int x, int y);

private:
    void setupEditing();
    // Before the child widgets go: their last signals and keys reach this window no more.
    void endEditing();
    void addEditingMenuItems(QMenu* edits, QAction* remove);
    void enableEditingCommands(bool enable);
    // Called after elements were created or removed: everything that shows the paper's
    // structure or the selection is brought up to date here.
    void structureChanged();
    void endPasteMode();
    void showPosition();
    // `text` entered into position field `field` (0 X, 1 Y, 2 W, 3 H).
    void positionEntered(int field, const QString& text);
    bool handleKey(QWidget* receiver, QKeyEvent* event);
    bool paperOrTreeFocused(QWidget* receiver) const;
    TSesPrvek* addControl(TOddil* section, const QString& line, qint64 dx, qint64 dy);

    QObject* m_keyPreview = nullptr;

public:
    // ==== end of editing

    // Zoom step 0..10 of the zoom list; `force` applies it also when unchanged.
    void SetZoom(int index, bool force = false);
    int zoomIndex() const { return m_zoomIndex; }
    // The report settings dialog on tab `page` alone (-1: every tab), with group `group`
    // chosen; on OK every value is taken and a step recorded. Storno leaves the template as
    // it was, also after groups were added or deleted in the dialog.
    void EditSestavaSettings(int page = -1, int group = -1);
    void deleteLastGroup();
    TSestDlg* reportDialog() const { return m_reportDialog; }
    // Grid, columns and background to every section.
    void RefreshSections();

    // Data stepping: tag 1..4 first, prior, next, last; 0 opens (first record, or none with
    // TiskJedenZaznam).
    void BtnFLNPClick(int tag);
    // Preview and print of the current state; both end with this window's value hook back,
    // in this window whatever the preview answered.
    void PreviewReport();
    void PrintReport();
    // Edits an element; a detail element opens the nested designer of its detail report.
    void EditElement(TSesPrvek* element);

    // ---- state for the window's users and tests
    TPapir* paper() const { return m_paper; }
    DesignerDocument& document() { return m_document; }
    const TListVariant& history() const { return m_document.history(); }
    TListSkupinE& groups() { return m_groups; }
    bool modified() const { return m_document.modified(); }
    void setModified(bool on) { m_document.setModified(on); }
    QString description() const { return settings().description; }
    int activeTool() const;
    void UpdateCaption();
    QAction* action(const QString& name) const;
    // The owning designer of a nested one, else null.
    TFormSestE* ownerDesigner() const { return m_owner; }
    void setOwnerDesigner(TFormSestE* owner) { m_owner = owner; }

    // Escape, window close and the close action all come here: the save question.
    void reject() override;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    // On activation the paper takes the focus, so that its keys (Delete, Ctrl+C) act at once.
    void changeEvent(QEvent* event) override;

private:
    void buildActions();
    void buildPalette(QWidget* host);
    void buildMenu();
    // The property panel's news and the user-function commands wired to the window.
    void connectPropertyPanel();
    QAction* addAction(const QString& name, const QString& hint, int tag = -1,
                       const QString& caption = {});
    void refreshHistoryActions();
    void fillFunctionCombo();
    void fillGroupCombo();
    // The template's settings the document keeps.
    report::TemplateSettings& settings() { return m_document.settings(); }
    const report::TemplateSettings& settings() const { return m_document.settings(); }
    const report::TemplatePaper& paperSettings() const { return *settings().paper; }
    // The whole settings value: the document's with the sections, groups and functions.
    report::TemplateSettings settingsValue() const;
    void readSettings(const report::TPredloha& predloha);
    void applyPaperToPrinterModel();
    void loadBackgroundPicture();
    void loadSnapshot(const report::TPredloha& predloha);
    // Preview and print share it: both commands off while `run` runs the report on the
    // current state, then the functions and this window's value hook back.
    void runReport(const std::function<void()>& run);
    // After a save with `result`: the error box, or the clean state.
    bool finishSave(int result);
    TSesPrvek* createElement(TOddil* section, const QString& line,
                             const report::TemplateVersion& version);
    void refreshValues();
    void installValueHook();
    // The section panel of `code` (0-4 fixed, group sections above), or none.
    TOddil* sectionOfCode(int code) const;
    // Z, H, group headers, T, group footers from the last, K, P.
    QList<TOddil*> sectionsInPrintOrder() const;
    platform::MessageSink& sink() const;
    // The marks of the controls whose elements the selection changed.
    void showMarks(const QList<const report::TVoranReportElement*>& elements);
    // The paper's elements in its order.
    QList<const report::TVoranReportElement*> elementOrder() const;
    // What follows a new primary selection: its position shown, its properties, the focus.
    void selectionShown(TSesPrvek* element);
    // Elements about to go from the paper: a selection holding any of them ends first.
    void releaseSelection(const QList<TSesPrvek*>& leaving);

    report::TSestavaTyp* m_report = nullptr;
    platform::MessageSink* m_messages = nullptr;
    TFormSestE* m_owner = nullptr;
    std::unique_ptr<report::ScopedValueCallback> m_hook;

    QScrollArea* m_scroll = nullptr;
    TPapir* m_paper = nullptr;
    TListSkupinE m_groups;
    DesignerDocument m_document;
    bool m_pasteMode = false;
    bool m_keepDescription = false;
    int m_zoomIndex = 6;
    std::unique_ptr<report::TPicture> m_backgroundPicture;

    TSestKonfigDlg* m_settingsDialog = nullptr;
    TSestDlg* m_reportDialog = nullptr;
    DesignerPalette* m_palette = nullptr;
    QComboBox* m_zoomCombo = nullptr;
    QLabel* m_mouseX = nullptr;
    QLabel* m_mouseY = nullptr;
    QToolButton* m_stepButtons[4] = {};
    QMenu* m_popup = nullptr;
    bool m_closing = false;

    // ---- property panel, element dialogs, user functions and element tree
    // (TFormSestE_properties.cpp)
public:
    // Fills the property strip from `element` and shows the panel of its kind; null hides
    // the kind panels. The selection controls follow (enabled with an element).
    void ShowProperties(TSesPrvek* element);
    // The element dialog on a text-kind element; OK writes everything back
    // (ckElementSettings).
    void EditDataElement(TSesPrvek* element);
    // The element dialog's bar-code tab on a bar code (ckElementSettings).
    void EditGraphicElement(TSesPrvek* element);
    // The font tab for the primary, or for every multi-selected text element (ckFont).
    void editSelectionFont();
    // User functions: a new one (ckAddFunction), the chosen one (ckEditFunction), the last
    // one (ckDeleteFunction).
    void insertFunction();
    void editFunction();
    void deleteFunction();
    // With ShowTree: the tree panel shown and the tree built anew, its expanded sections
    // kept; without: the panel hidden and the tree emptied.
    void BuildElementTree();
    QTreeWidget* elementTree() const;

private:
    QWidget* buildTreePanel(QWidget* paperView);
    QList<TSesPrvek*> propertyTargets(std::span<const report::ElementKind> kinds) const;
    // A change of the property panel (or of the font dialog) on its targets, then its step.
    void changeProperty(const PropertyChange& change);
    // Records text typed into the property strip and left without Enter (ckText).
    void commitPendingText();
    void showSelectionState(bool enable);
    void moveInZOrder(bool front);
    void refreshFunctionActions();
    void takeDataDialog(TDlgKonfPrvku& dialog, TSesPrvek* element);

    PropertyPanel* m_properties = nullptr;
    ElementTree* m_tree = nullptr;
};

} // namespace designer
