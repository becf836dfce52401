#pragma once
// What the design controls tell the designer window. The window implements this receiver;
// the controls find it through their paper (TPapir::setEvents). Codes and arguments are those
// of the designer's notification table; results are used only where noted.

namespace designer {

class TSesPrvek;

// Element events (elementEvent).
enum ElementEventCode : int {
    eeClearSelection = 4, // before a new selection or height drag; after a plain insertion
    eeSelectOnly = 5,     // plain click on an element
    eeRemoveFromSelection = 7,
    eeAddToSelection = 8,
    eeEditElement = 12,   // double click on an element
    eeInsertionTool = 16, // result: non-zero while an insertion tool is active
    eeNextItem = 20,      // after an insertion click with Ctrl held
    eeSelectionMayChange = 21,
};

// Paper events (paperEvent).
enum PaperEventCode : int {
    peMoved = 1,          // a = Left, b = Top
    peResized = 2,        // a = Width, b = Height
    peMultiMoved = 9,     // a = dx, b = dy of a multiply selected element
    peRecordStep = 10,    // a = change kind (7), b = 0
    peEditSection = 11,   // a = section code
    peMouseAt = 13,       // a, b = template units in the section, or -1, -1
    peHeightChanged = 14, // a = section code, b = new height
    peSectionClick = 128, // + section code; a, b = insertion point, or 0, 0
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
