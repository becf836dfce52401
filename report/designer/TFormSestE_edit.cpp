// The designer window's editing commands: palette tools and element insertion, the keyboard,
// the position fields, aligning to the grid and deleting.

#include "platform/Help.h"
#include "report/designer/DesignerPalette.h"
#include "report/designer/ElementTree.h"
#include "report/designer/PropertyPanel.h"
#include "report/designer/TEditorSettings.h"
#include "report/designer/TFormSestE.h"
#include "report/designer/TOddil.h"
#include "report/designer/TSesPrvek.h"
#include "report/engine/expressions/sest_fn.h"
#include "report/engine/sest_lib.h"
#include "report/engine/sestzpr.h"
#include "report/engine/ui/DesignerCursors.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>

#include <functional>

namespace designer {

namespace {

constexpr int kMinimumSize = 3;

// Shows the window every key press of its own widgets before the widget sees it, and the
// focus arriving anywhere in it: the window's keys work whatever control has the focus.
class KeyPreview : public QObject {
public:
    using Handler = std::function<bool(QWidget* receiver, QEvent* event)>;
    KeyPreview(QWidget* window, Handler handler)
        : QObject(window), m_window(window), m_handler(std::move(handler)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if ((type != QEvent::KeyPress && type != QEvent::FocusIn) || !watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        return widget->window() == m_window && m_handler(widget, event);
    }

private:
    QWidget* m_window;
    Handler m_handler;
};

// The designer cursor (1..21) of a palette tool, 0 for the arrow.
int toolCursorSlot(int tool) {
    int kind = 0;
    int index = 0;
    TSesPrvek::DecodeTool(tool, kind, index);
    switch (kind) {
    case report::ekText:
        return 13;
    case report::ekItem:
    case report::ekItemLabel:
    case report::ekParameter:
        return kind;
    case report::ekFunction:
        return 5;
    case report::ekVariable:
        if (index <= 4) return 6 + index;
        return index % 2 ? 11 : 12;
    case report::ekDetail:
        return 21;
    default:
        return kind >= report::ekLine && kind <= report::ekDrawingArea ? kind + 7 : 0;
    }
}

int clampToInt(qint64 value) {
    return int(std::clamp<qint64>(value, INT_MIN, INT_MAX));
}

QString num(qint64 n) {
    return QString::number(n);
}

} // namespace

void TFormSestE::setupEditing() {
    connect(m_properties, &PropertyPanel::positionEntered, this, &TFormSestE::positionEntered);
    // leaving a field shows the element's values again
    connect(m_properties, &PropertyPanel::positionLeft, this, &TFormSestE::showPosition);
    connect(action(QStringLiteral("ActionDel")), &QAction::triggered, this,
            &TFormSestE::deleteSelection);
    connect(action(QStringLiteral("ActionCopy")), &QAction::triggered, this, [this] {
        if (TSesPrvek* primary = primarySelection()) CopySelection(m_paper->FindOddil(primary));
    });
    connect(action(QStringLiteral("ActionCut")), &QAction::triggered, this,
            &TFormSestE::CutSelection);
    QAction* paste = action(QStringLiteral("ActionPaste"));
    paste->setCheckable(true);
    connect(paste, &QAction::triggered, this, &TFormSestE::togglePasteMode);
    m_keyPreview = new KeyPreview(this, [this](QWidget* receiver, QEvent* event) {
        if (event->type() == QEvent::KeyPress)
            return handleKey(receiver, static_cast<QKeyEvent*>(event));
        if (receiver == m_paper && CanPaste())
            action(QStringLiteral("ActionPaste"))->setEnabled(true);
        return false;
    });
    qApp->installEventFilter(m_keyPreview);
}

void TFormSestE::endEditing() {
    delete m_keyPreview;
    m_keyPreview = nullptr;
    m_properties->disconnect(this);
    m_tree->disconnect(this);
}

void TFormSestE::addEditingMenuItems(QMenu* edits, QAction* remove) {
    edits->addAction(QStringLiteral("Vyrovnat vše do rastru"), this, &TFormSestE::alignAllToGrid);
    QAction* alignSelected = edits->addAction(QStringLiteral("Vyrovnat vybrané"), this,
                                              &TFormSestE::alignSelectedToGrid);
    // both act on the selection: enabled with the delete command
    for (QAction* item : {remove, alignSelected})
        connect(action(QStringLiteral("ActionDel")), &QAction::enabledChanged, item,
                &QAction::setEnabled);
}

void TFormSestE::enableEditingCommands(bool enable) {
    for (const char* name : {"ActionDel", "ActionCut", "ActionCopy"})
        action(QString::fromLatin1(name))->setEnabled(enable);
    // disabled fields show no values of an element that may be gone
    if (!enable) m_properties->clearPosition();
}

void TFormSestE::structureChanged() {
    showPosition();
    BuildElementTree();
}

// ---- tools

void TFormSestE::StiskniSipku() {
    m_palette->setTool(tcArrow);
    action(QStringLiteral("ActionNoSelect"))->setChecked(true);
    m_paper->setCursor(Qt::ArrowCursor);
    m_palette->clearChoice();
}

void TFormSestE::ActionCommandExecute(QAction* tool) {
    ClearSelection();
    endPasteMode();
    m_palette->setTool(tool->data().toInt());
    tool->setChecked(true);
    const int slot = toolCursorSlot(m_palette->tool());
    m_paper->setCursor(slot ? report::DesignerCursor(slot) : QCursor(Qt::ArrowCursor));

    int kind = report::ekNone;
    int index = 0;
    TSesPrvek::DecodeTool(m_palette->tool(), kind, index);
    QStringList choices;
    if (kind == report::ekItem || kind == report::ekItemLabel || kind == report::ekParameter) {
        const int count = kind == report::ekParameter ? int(m_report->Parametry().size())
                                                      : m_report->GetItemCount();
        for (int i = 0; i < count; ++i)
            choices << ElementName(kind, i);
        m_palette->fillChoices(choices);
        m_palette->showChoices(index < count ? index : -1);
    } else if (kind == report::ekFunction) {
        const int count = m_report->Funkce().Count();
        for (int i = 0; i < count; ++i)
            choices << ElementName(report::ekFunction, i);
        m_palette->fillChoices(choices);
        m_palette->showChoices(-1);
        action(QStringLiteral("ActionFnEdit"))->setEnabled(count > 0);
        action(QStringLiteral("ActionFnDelete"))->setEnabled(index == count - 1);
    } else {
        m_palette->fillChoices(choices);
        m_palette->hideChoices();
    }
}

// ---- insertion

void TFormSestE::InsertElement(int code, int x, int y) {
    TOddil* section = sectionOfCode(code);
    if (m_pasteMode) {
        if (section) PasteAt(section, x, y);
        return;
    }
    if (m_palette->tool() == tcArrow) {
        ClearSelection();
        return;
    }
    int kind = 0;
    int index = 0;
    TSesPrvek::DecodeTool(m_palette->tool(), kind, index);
    if (!section || kind == report::ekNone) return;

    if (kind == report::ekItem || kind == report::ekItemLabel || kind == report::ekParameter)
        index = m_palette->choice();
    else if (kind == report::ekFunction)
        index = m_palette->function();
    else if (kind == report::ekVariable && index > 4 && m_palette->group() > 0)
        index += 2 * m_palette->group();
    else if (kind == report::ekDetail)
        index = m_palette->detail();
    index = std::max(index, 0); // a combo without a choice: the first entry

    const TEditorSettings& settings = EditorSettings();
    qint64 width = settings.ImplSirka;
    int alignment = settings.ImplZarovnani;
    int size = settings.ImplVyskaFontu;
    int style = settings.ImplStylFontu;
    int sides = 0;
    int charset = settings.ImplSkriptFontu;
    QString reference = num(index);
    // A name beginning with a digit would be read back as a number.
    const auto byName = [&reference](const QString& name) {
        if (EditorSettings().SledPodle && !name.isEmpty() && !name[0].isDigit())
            reference = report::BareField(name.left(32));
    };
    switch (kind) {
    case report::ekItem:
    case report::ekItemLabel:
        width = qint64(m_report->GetDisplayWidth(index)) * 3 * settings.ImplVyskaFontu / 4;
        width = std::min<qint64>(width, m_paper->paperWidth() / 2);
        alignment = m_report->GetAlignment(index) & 127;
        byName(m_report->GetItemName(index));
        break;
    case report::ekVariable:
        // date and time are wider than the numbers
        width = std::min<qint64>(settings.ImplSirka,
                                 qint64(settings.ImplVyska) * (index <= 1 ? 5 : 3));
        alignment = settings.ImplZarovnaniCi;
        break;
    case report::ekFunction:
        if (const report::TRadekFunkce* function = m_report->Funkce().GetFunkce(index)) {
            byName(function->Name());
            QString name, title, expression, initial;
            int resultKind = 0, resetGroup = 0, aggregate = 0, precision = 0, digits = 0,
                format = 0;
            function->GetDefinition(name, title, expression, resultKind, initial, resetGroup,
                                    aggregate, precision, digits, format);
            if (resultKind == 0) alignment = settings.ImplZarovnaniCi;
        }
        break;
    case report::ekPicture:
        alignment = 0;
        break;
    case report::ekDetail:
        width = m_paper->paperWidth();
        x = 0;
        alignment = 0;
        break;
    default:
        if (kind >= report::ekLine && kind <= report::ekEllipse) {
            // read back as pen width 1, solid pen, white solid brush
            size = 1;
            style = 0;
            sides = 15;
            charset = 0;
        }
        break;
    }
    // an element smaller than 3 x 3 cannot be reached by the mouse
    width = std::max<qint64>(width, kMinimumSize);
    const int height = std::max(settings.ImplVyska, kMinimumSize);

    const QString line = QStringList{sectionKey(code), num(kind),
                                     reference,        num(x),
                                     num(y),           num(clampToInt(width)),
                                     num(height),      report::BareField(settings.ImplNazevFontu),
                                     num(size),        num(settings.ImplBarvaFontu),
                                     num(style),       num(alignment),
                                     num(sides),       num(charset)}
                             .join(u',');
    SelectElement(addControl(section, line, 0, 0));
    RecordChange(ckInsertElement);
    structureChanged();
}

TSesPrvek* TFormSestE::addControl(TOddil* section, const QString& line, qint64 dx, qint64 dy) {
    // lines made here or copied are never read by the old-file rule
    TSesPrvek* control = createElement(section, line, report::TemplateVersion{});
    if (dx != 0 || dy != 0)
        control->setBounds(clampToInt(control->Left() + dx), clampToInt(control->Top() + dy),
                           control->Width(), control->Height());
    return control;
}

// ---- keys

bool TFormSestE::paperOrTreeFocused(QWidget* receiver) const {
    for (QWidget* w = receiver; w && w != this; w = w->parentWidget())
        if (w == m_paper || w->objectName() == QLatin1String("TreeViewElements")) return true;
    return false;
}

bool TFormSestE::handleKey(QWidget* receiver, QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_F1) {
        platform::ShowHelpFileContents(QStringLiteral("sestavy.hlp"));
        return true;
    }
    // Elsewhere (the text fields above all) the keys keep their usual meaning.
    if (!paperOrTreeFocused(receiver)) return false;
    const Qt::KeyboardModifiers state = event->modifiers() & ~Qt::KeypadModifier;
    const bool ctrl = state & Qt::ControlModifier;
    const bool shift = state & Qt::ShiftModifier;

    const bool onPaper = receiver == m_paper || m_paper->isAncestorOf(receiver);
    const int dx = key == Qt::Key_Left ? -1 : key == Qt::Key_Right ? 1 : 0;
    const int dy = key == Qt::Key_Up ? -1 : key == Qt::Key_Down ? 1 : 0;
    if (onPaper && (dx != 0 || dy != 0)) {
        if (state == Qt::ControlModifier)
            MoveSelection(dx, dy);
        else if (state == (Qt::ControlModifier | Qt::ShiftModifier))
            MoveSelection(dx * m_document.stepX(), dy * m_document.stepY());
        else if (state == Qt::ShiftModifier)
            ResizeSelection(dx, dy);
        else
            return false;
        return true;
    }

    const char* command = nullptr;
    switch (key) {
    case Qt::Key_C:
        if (ctrl) command = "ActionCopy";
        break;
    case Qt::Key_V:
        if (ctrl) command = "ActionPaste";
        break;
    case Qt::Key_X:
        if (ctrl) command = "ActionCut";
        break;
    case Qt::Key_Z:
        if (state == Qt::ControlModifier) command = "ActionUndo";
        if (state == (Qt::ControlModifier | Qt::ShiftModifier)) command = "ActionRedo";
        break;
    case Qt::Key_Backspace:
        if (state == Qt::AltModifier) command = "ActionUndo";
        if (state == (Qt::AltModifier | Qt::ShiftModifier)) command = "ActionRedo";
        break;
    case Qt::Key_Insert:
        if (state == Qt::ShiftModifier) command = "ActionPaste";
        if (state == Qt::ControlModifier) command = "ActionCopy";
        break;
    case Qt::Key_Delete:
        command = shift ? "ActionCut" : "ActionDel";
        break;
    default:
        break;
    }
    if (!command) return false;
    action(QString::fromLatin1(command))->trigger();
    return true;
}

void TFormSestE::MoveSelection(double dx, double dy) {
    if (!primarySelection()) return;
    for (int i = 0; i < m_paper->PocetPrvku(); ++i) {
        TSesPrvek* element = m_paper->Prvek(i);
        if (element->selected() || element->multi()) element->MoveBy(dx, dy);
    }
    showPosition();
    RecordChange(ckMove);
}

void TFormSestE::ResizeSelection(double dx, double dy) {
    if (!primarySelection()) return;
    for (int i = 0; i < m_paper->PocetPrvku(); ++i) {
        TSesPrvek* element = m_paper->Prvek(i);
        if (element->selected() || element->multi()) element->ResizeBy(dx, dy);
    }
    showPosition();
    RecordChange(ckMove);
}

// ---- position fields

void TFormSestE::showPosition() {
    const TSesPrvek* primary = primarySelection();
    if (!primary) return;
    paperEvent(peMoved, primary->Left(), primary->Top());
    paperEvent(peResized, primary->Width(), primary->Height());
}

void TFormSestE::positionEntered(int field, const QString& text) {
    TSesPrvek* const primary = primarySelection();
    if (!primary) return;
    const auto valueOf = [field](const TSesPrvek* element) {
        const int values[] = {element->Left(), element->Top(), element->Width(),
                              element->Height()};
        return values[field];
    };
    bool number = false;
    int value = text.trimmed().toInt(&number);
    if (!number) value = valueOf(primary);
    // a size of 0 or less leaves nothing the mouse can reach
    if (field >= 2 && value <= 0) value = kMinimumSize;
    if (!primary->multi() && value == valueOf(primary)) {
        showPosition();
        return;
    }
    const auto apply = [field, value](TSesPrvek* element) {
        int bounds[] = {element->Left(), element->Top(), element->Width(), element->Height()};
        bounds[field] = value;
        element->setBounds(bounds[0], bounds[1], bounds[2], bounds[3]);
    };
    if (selectionCount() < 2) {
        apply(primary);
    } else {
        for (int i = 0; i < m_paper->PocetPrvku(); ++i)
            if (m_paper->Prvek(i)->multi()) apply(m_paper->Prvek(i));
    }
    showPosition();
    RecordChange(ckMove);
}

// ---- grid

void TFormSestE::AlignToGrid(TSesPrvek* element) {
    if (!element) return;
    const double stepX = m_document.stepX();
    const double stepY = m_document.stepY();
    const int left = report::SnapToGrid(element->Left(), stepX);
    const int right = report::SnapToGrid(double(element->Left()) + element->Width(), stepX);
    const int top = report::SnapToGrid(element->Top(), stepY);
    const int bottom = report::SnapToGrid(double(element->Top()) + element->Height(), stepY);
    const int width = clampToInt(std::max<qint64>(qint64(right) - left, kMinimumSize));
    const int height = clampToInt(std::max<qint64>(qint64(bottom) - top, kMinimumSize));
    if (left != element->Left() || top != element->Top() || width != element->Width() ||
        height != element->Height())
        element->setBounds(left, top, width, height);
}

void TFormSestE::alignAllToGrid() {
    for (int i = 0; i < m_paper->PocetPrvku(); ++i)
        AlignToGrid(m_paper->Prvek(i));
    showPosition();
    RecordChange(ckMove);
}

void TFormSestE::alignSelectedToGrid() {
    TSesPrvek* const primary = primarySelection();
    if (!primary) return;
    if (primary->multi()) {
        for (int i = 0; i < m_paper->PocetPrvku(); ++i)
            if (m_paper->Prvek(i)->multi()) AlignToGrid(m_paper->Prvek(i));
    } else {
        AlignToGrid(primary);
    }
    showPosition();
    RecordChange(ckMove);
}

// ---- deleting

bool TFormSestE::DeleteElement(TSesPrvek* element) {
    if (!element) return false;
    if (EditorSettings().MazaniJedne &&
        !report::AskYesNo(sink(), report::LoadText(report::ReportText::DeleteElementQuestion)))
        return false;
    m_paper->RemovePrvek(element);
    delete element;
    ClearSelection();
    return true;
}

bool TFormSestE::DeleteSelected() {
    if (EditorSettings().MazaniVice &&
        !report::AskYesNo(sink(), report::LoadText(report::ReportText::DeleteElementsQuestion)))
        return false;
    QSet<TSesPrvek*> chosen;
    for (int i = 0; i < m_paper->PocetPrvku(); ++i)
        if (m_paper->Prvek(i)->multi()) chosen.insert(m_paper->Prvek(i));
    m_paper->deleteElements(chosen);
    ClearSelection();
    return true;
}

void TFormSestE::deleteSelection() {
    TSesPrvek* const primary = primarySelection();
    if (!primary) return;
    // an answered No changes nothing, so it records nothing either
    if (!(primary->multi() ? DeleteSelected() : DeleteElement(primary))) return;
    RecordChange(ckDeleteElement);
    structureChanged();
}

} // namespace designer
