#pragma once
// The designer's 21 tool cursors (our own artwork, drawn here): an arrow whose tip is the hot
// spot, with the tool's sign below right. Slots 1..21 in this order: insert, item, item label,
// parameter, function, date, time, row number, page number, page count, row in group, group
// number, text, line, frame, rounded frame, ellipse, picture, bar code, drawing area, detail.

#include <QCursor>
#include <QStringList>

namespace report {

constexpr int DesignerCursorCount = 21;

// "CURSOR_INS" .. "CURSOR_DET", slot 1 first.
QStringList DesignerCursorNames();

// Draws the cursors into their slots; later calls change nothing. Needs a QGuiApplication.
void LoadDesignerCursors();

// The cursor of slot 1..21 (loaded on first use); the arrow for any other slot.
QCursor DesignerCursor(int slot);

} // namespace report
