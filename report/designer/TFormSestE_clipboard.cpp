// The designer window's clipboard: elements travel as plain text (ClipboardText) through the
// system clipboard, so that they move between sections, designer windows and templates of
// other reports; the document keeps the window's own last copy.

#include "report/designer/TFormSestE.h"
#include "report/designer/TOddil.h"
#include "report/designer/TSesPrvek.h"
#include "report/engine/ui/DesignerCursors.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>

namespace designer {

namespace {

std::optional<ElementCopy> clipboardCopy() {
    return ReadClipboardText(QGuiApplication::clipboard()->text());
}

} // namespace

bool TFormSestE::CanPaste() const {
    return clipboardCopy().has_value();
}

void TFormSestE::CopySelection(TOddil* section) {
    TSesPrvek* const primary = primarySelection();
    if (!section || !primary) return;
    ElementCopy copy;
    copy.anchorX = primary->Left();
    copy.anchorY = primary->Top();
    for (int i = 0; i < section->PocetPrvku(); ++i) {
        const TSesPrvek* control = section->Prvek(i);
        if (!control->selected() && !control->multi()) continue;
        if (control == primary) copy.focusIndex = int(copy.lines.size());
        copy.lines.append(control->element()->SaveToLine(QStringLiteral("X")));
    }
    m_document.setCopy(copy);
    QGuiApplication::clipboard()->setText(WriteClipboardText(copy));
    action(QStringLiteral("ActionPaste"))->setEnabled(true);
}

void TFormSestE::CutSelection() {
    TSesPrvek* const primary = primarySelection();
    if (!primary) return;
    TOddil* section = m_paper->FindOddil(primary);
    if (!section) return;
    CopySelection(section);
    QSet<TSesPrvek*> chosen;
    for (int i = 0; i < section->PocetPrvku(); ++i)
        if (section->Prvek(i)->selected() || section->Prvek(i)->multi())
            chosen.insert(section->Prvek(i));
    m_paper->deleteElements(chosen);
    // what stays selected in other sections is let go too: no selection without a primary
    ClearSelection();
    RecordChange(ckCut);
    structureChanged();
}

void TFormSestE::togglePasteMode() {
    StiskniSipku();
    ClearSelection();
    if (m_pasteMode) {
        endPasteMode();
        return;
    }
    m_pasteMode = true;
    m_paper->setCursor(report::DesignerCursor(1));
    action(QStringLiteral("ActionPaste"))->setChecked(true);
}

void TFormSestE::endPasteMode() {
    m_pasteMode = false;
    m_paper->setCursor(Qt::ArrowCursor);
    action(QStringLiteral("ActionPaste"))->setChecked(false);
}

void TFormSestE::PasteAt(TOddil* section, int x, int y) {
    if (const std::optional<ElementCopy> carried = clipboardCopy()) m_document.setCopy(*carried);
    endPasteMode();
    const ElementCopy copy = m_document.copy();
    if (!section || copy.lines.isEmpty()) return;

    ClearSelection();
    QList<const report::TVoranReportElement*> pasted;
    TSesPrvek* first = nullptr;
    TSesPrvek* focus = nullptr;
    for (qsizetype i = 0; i < copy.lines.size(); ++i) {
        TSesPrvek* control = addControl(section, copy.lines[i], copy.dx(x), copy.dy(y));
        pasted << control->element();
        if (!first) first = control;
        if (i == copy.focusIndex) focus = control;
    }
    // a text from elsewhere may point at no line: the first element leads then
    TSesPrvek* const primary = focus ? focus : first;
    m_document.selectPasted(pasted, primary->element());
    selectionShown(primary);
    RecordChange(ckPaste);
    structureChanged();
}

} // namespace designer
