#pragma once
// What the design controls tell the designer window. The window implements this receiver;
// the controls find it through their paper (TPapir::setEvents). Each event is a code named
// below, with its element or two integer arguments; results are used only where noted.

namespace designer {

class TSesPrvek;

// Element events (elementEvent).
enum ElementEventCode : int {
    eeClearSelection = 4, // before a new selection or height drag; after a plain insertion
    eeSelectOnly = 5,     // plain click on an element
    // The primary selection: a pointer does not pass through the integer result, so the
    // window answers 0 and gives it through primarySelection().
    eePrimarySelection = 6,
    eeRemoveFromSelection = 7,
    eeAddToSelection = 8,
    eeEditElement = 12,    // double click on an element
    eeInsertionTool = 16,  // result: non-zero while an insertion tool is active
    eeSelectionCount = 17, // result: how many elements are selected
    eeNextItem = 20,       // after an insertion click with Ctrl held
    eeSelectionMayChange = 21,
};

// Paper events (paperEvent).
enum PaperEventCode : int {
    peMoved = 1,          // a = Left, b = Top
    peResized = 2,        // a = Width, b = Height
    peMultiMoved = 9,     // a = dx, b = dy of a multiply selected element
    peRecordStep = 10,    // a = change kind (ChangeKind), b = 0
    peEditSection = 11,   // a = section code
    peMouseAt = 13,       // a, b = template units in the section, or -1, -1
    peHeightChanged = 14, // a = section code, b = new height
    peSaveTemplate = 19,  // from a detail's designer to its master's; result 0 when saved
    peSectionClick = 128, // + section code; a, b = insertion point, or 0, 0
    peSectionClickLast = 2127,
};

class DesignerEvents {
public:
    virtual ~DesignerEvents() = default;
    virtual int elementEvent(int code, TSesPrvek* element) = 0;
    virtual int paperEvent(int code, int a, int b) = 0;
    // The primary selection, or null (typed, so that no pointer passes through an integer).
    virtual TSesPrvek* primarySelection() const = 0;
};

} // namespace designer
