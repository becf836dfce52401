// The designer window's clipboard: elements travel as plain text through the system clipboard,
// so that they move between sections, designer windows and templates of other reports. The
// text is the marker line, the anchor (the primary's Left and Top), the position of the
// primary's line, then one element line per element, lines ended by CR LF.

#include "report/designer/TFormSestE.h"
#include "report/designer/TOddil.h"
#include "report/designer/TSesPrvek.h"
#include "report/engine/ui/DesignerCursors.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QRegularExpression>

namespace designer {

namespace {

const QString kMarker = QStringLiteral("VoranEditor");
constexpr int kHeaderLines = 4;

// The lines of a clipboard text, whatever program wrote it: CR LF, LF or CR ends.
QStringList clipboardLines() {
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\n|\r"));
    return QGuiApplication::clipboard()->text().split(lineEnd);
}

// The element lines after the header; blank lines hold no element.
report::TPredloha elementLines(const QStringList& lines) {
    report::TPredloha elements;
    for (qsizetype i = kHeaderLines; i < lines.size(); ++i)
        if (!lines[i].trimmed().isEmpty()) elements.append(lines[i]);
    return elements;
}

// A header number; 0 when the line holds none.
int headerNumber(const QString& line) {
    bool ok = false;
    const int value = line.trimmed().toInt(&ok);
    return ok ? value : 0;
}

} // namespace

bool TFormSestE::CanPaste() const {
    const QStringList lines = clipboardLines();
    return lines.size() > kHeaderLines && lines[0] == kMarker && !elementLines(lines).isEmpty();
}

void TFormSestE::CopySelection(TOddil* section) {
    if (!section || !m_primary) return;
    m_clipboard.clear();
    m_focusIndex = -1;
    m_anchorX = m_primary->Left();
    m_anchorY = m_primary->Top();
    for (int i = 0; i < section->PocetPrvku(); ++i) {
        const TSesPrvek* control = section->Prvek(i);
        if (!control->selected() && !control->multi()) continue;
        if (control == m_primary) m_focusIndex = int(m_clipboard.size());
        m_clipboard.append(control->element()->SaveToLine(QStringLiteral("X")));
    }
    QStringList text{kMarker, QString::number(m_anchorX), QString::number(m_anchorY),
                     QString::number(m_focusIndex)};
    text += m_clipboard;
    QGuiApplication::clipboard()->setText(text.join(QStringLiteral("\r\n")) +
                                          QStringLiteral("\r\n"));
    action(QStringLiteral("ActionPaste"))->setEnabled(true);
}

void TFormSestE::CutSelection() {
    if (!m_primary) return;
    TOddil* section = m_paper->FindOddil(m_primary);
    if (!section) return;
    CopySelection(section);
    m_primary = nullptr;
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
    if (CanPaste()) {
        const QStringList lines = clipboardLines();
        m_anchorX = headerNumber(lines[1]);
        m_anchorY = headerNumber(lines[2]);
        m_focusIndex = headerNumber(lines[3]);
        m_clipboard = elementLines(lines);
    }
    endPasteMode();
    if (!section || m_clipboard.isEmpty()) return;

    ClearSelection();
    const qint64 dx = qint64(x) - m_anchorX;
    const qint64 dy = qint64(y) - m_anchorY;
    const bool several = m_clipboard.size() > 1;
    TSesPrvek* first = nullptr;
    TSesPrvek* focus = nullptr;
    for (qsizetype i = 0; i < m_clipboard.size(); ++i) {
        TSesPrvek* control = addControl(section, m_clipboard[i], dx, dy);
        if (several) control->setMultiMark(true);
        if (!first) first = control;
        if (i == m_focusIndex) focus = control;
    }
    // a text from elsewhere may point at no line: the first element leads then
    SelectElement(focus ? focus : first);
    m_selectionCount = int(m_clipboard.size());
    RecordChange(ckPaste);
    structureChanged();
}

} // namespace designer
