#include "report/designer/model/DesignerDocument.h"

#include <cmath>

namespace designer {

namespace {

// The character cell of a character grid, 1/100 inch, as single-precision values: 12, 17 or
// 10 characters and 4, 3 or 6 lines per inch.
double cellWidth(int pitchCode) {
    return pitchCode == 1 ? 8.333333f : pitchCode == 2 ? 5.882353f : 10.0f;
}
double cellHeight(int lineCode) {
    return lineCode == 1 ? 25.0f : lineCode == 2 ? 33.333332f : 16.666666f;
}

} // namespace

DesignerDocument::DesignerDocument() {
    m_settings.paper = report::TemplatePaper{};
    m_settings.grid.show = true;
    m_settings.grid.snap = true;
}

void DesignerDocument::setGrid(const report::TemplateGrid& grid) {
    m_settings.grid = grid;
    if (grid.characterGrid == 1) {
        m_settings.grid.x = int(std::lround(stepX()));
        m_settings.grid.y = int(std::lround(stepY()));
    }
}

double DesignerDocument::stepX() const {
    const report::TemplateGrid& grid = m_settings.grid;
    return grid.characterGrid == 1 ? cellWidth(grid.pitchCode) : grid.x;
}

double DesignerDocument::stepY() const {
    const report::TemplateGrid& grid = m_settings.grid;
    return grid.characterGrid == 1 ? cellHeight(grid.lineCode) : grid.y;
}

// ---- selection

void DesignerDocument::announce(const QList<const Element*>& touched) {
    if (!touched.isEmpty()) emit marksChanged(touched);
}

void DesignerDocument::select(const Element* element) {
    announce(m_selection.select(element));
}

void DesignerDocument::add(const Element* element) {
    announce(m_selection.add(element));
}

void DesignerDocument::remove(const Element* element, const QList<const Element*>& order) {
    announce(m_selection.remove(element, order));
}

void DesignerDocument::clearSelection() {
    announce(m_selection.clear());
}

void DesignerDocument::selectPasted(const QList<const Element*>& pasted, const Element* primary) {
    announce(m_selection.selectPasted(pasted, primary));
}

// ---- history

void DesignerDocument::startHistory(const report::TPredloha& text) {
    m_history = TListVariant();
    m_history.Variant(0) = text;
    emit historyChanged();
}

void DesignerDocument::recordStep(ChangeKind kind, const report::TPredloha& text) {
    m_history.AddVariant(TListVariant::StepName(kind)) = text;
    emit historyChanged();
}

void DesignerDocument::rewriteCurrent(const report::TPredloha& text, bool changed) {
    m_history.Current() = text;
    if (changed) m_history.ResetClean();
    emit historyChanged();
}

bool DesignerDocument::undo() {
    if (!m_history.Undo()) return false;
    m_history.ResetClean();
    emit historyChanged();
    return true;
}

bool DesignerDocument::redo() {
    if (!m_history.Redo()) return false;
    m_history.ResetClean();
    emit historyChanged();
    return true;
}

void DesignerDocument::setHistoryCapacity(int capacity) {
    m_history.SetCapacity(capacity);
    emit historyChanged();
}

void DesignerDocument::forgetHistory() {
    m_history.ForgetHistory();
    emit historyChanged();
}

void DesignerDocument::restoreHistory(const TListVariant& kept) {
    m_history = kept;
    emit historyChanged();
}

void DesignerDocument::saved(bool keepHistory) {
    if (!keepHistory) m_history.ForgetHistory();
    m_history.SetClean();
    emit historyChanged();
}

void DesignerDocument::setModified(bool modified) {
    if (modified)
        m_history.ResetClean();
    else
        m_history.SetClean();
    emit historyChanged();
}

} // namespace designer
