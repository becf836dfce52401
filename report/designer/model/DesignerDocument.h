#pragma once
// The designer's document: what it keeps of one template under design that needs no window.
// The template's settings, what is selected, the designer's own copy of elements for the
// clipboard, and the history of whole-template states, whose clean index says whether the
// template differs from its file. The designer window observes it: the marks of its element
// controls follow the selection, its undo and redo commands the history.
//
// The elements themselves, the sections with their heights and the groups are the design
// controls' (the paper's), the user functions the report's; the window writes them with the
// settings into every state of the history.

#include "report/designer/model/ClipboardText.h"
#include "report/designer/model/DesignerSelection.h"
#include "report/designer/model/TListVariant.h"
#include "report/engine/template/TemplateSettings.h"

#include <QObject>

namespace designer {

class DesignerDocument : public QObject {
    Q_OBJECT

public:
    using Element = report::TVoranReportElement;

    // A paper of zeros and an 8 x 8 grid, shown and snapped, until a template is read.
    DesignerDocument();

    // ---- the template's settings
    // Description, version, paper (always given), columns, the I,5 value, grid and
    // background. Its sections, groups and functions stay empty: the paper and the report
    // hold them.
    report::TemplateSettings& settings() { return m_settings; }
    const report::TemplateSettings& settings() const { return m_settings; }
    // A character grid's whole steps are its cell rounded, whatever `grid` says.
    void setGrid(const report::TemplateGrid& grid);
    // The grid steps in 1/100 inch: a character grid's cell, else the grid.
    double stepX() const;
    double stepY() const;
    // D lines of detail reports this program does not register, written back as they came.
    report::TPredloha& foreignDetailLines() { return m_foreignDetailLines; }
    const report::TPredloha& foreignDetailLines() const { return m_foreignDetailLines; }

    // ---- the selection; each change announces the elements whose marks it changed
    const DesignerSelection& selection() const { return m_selection; }
    void select(const Element* element);
    void add(const Element* element);
    // `order`: the elements in the paper's order, for the primary's successor.
    void remove(const Element* element, const QList<const Element*>& order);
    void clearSelection();
    void selectPasted(const QList<const Element*>& pasted, const Element* primary);

    // ---- the designer's own copy of elements
    const ElementCopy& copy() const { return m_copy; }
    void setCopy(const ElementCopy& copy) { m_copy = copy; }

    // ---- the history; each change is announced
    const TListVariant& history() const { return m_history; }
    // The template as opened: the only state, clean.
    void startHistory(const report::TPredloha& text);
    // A step of `kind` whose state is `text`.
    void recordStep(ChangeKind kind, const report::TPredloha& text);
    // The current state written anew (a change that records no step of its own, or the
    // state made current before it is saved); `changed`: the template differs from its file
    // now.
    void rewriteCurrent(const report::TPredloha& text, bool changed);
    // Undo and redo move the position; false when they cannot. The template counts as
    // changed afterwards wherever they lead.
    bool undo();
    bool redo();
    void setHistoryCapacity(int capacity);
    void forgetHistory();
    // A history kept aside while a command could still be cancelled, back in place.
    void restoreHistory(const TListVariant& kept);
    // The current state is what the file holds now; without `keepHistory` the history is cut
    // to it.
    void saved(bool keepHistory);

    // The template differs from its file: the current state is not the clean one.
    bool modified() const { return !m_history.IsClean(); }
    void setModified(bool modified);

signals:
    void marksChanged(const QList<const report::TVoranReportElement*>& elements);
    void historyChanged();

private:
    void announce(const QList<const Element*>& touched);

    report::TemplateSettings m_settings;
    report::TPredloha m_foreignDetailLines;
    DesignerSelection m_selection;
    ElementCopy m_copy;
    TListVariant m_history;
};

} // namespace designer
