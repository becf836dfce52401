#pragma once
// What the working pages share in look: colours, column positions and the plain labels that
// let the mouse through to the page background.

#include <QColor>
#include <QRect>
#include <QString>

class QLabel;
class QLineEdit;
class QWidget;

namespace pagestyle {

inline constexpr int kNameX = 24;   // left edge of row names
inline constexpr int kValueX = 250; // left edge of values
inline constexpr int kUnitGap = 8;  // pixels between a value and its unit

inline const QColor kNavy(0, 0, 128); // the window's background and the about box's names
inline const QColor kTitleColour(255, 226, 120);
inline const QColor kValueColour(170, 225, 255);

// The value of a property that a computed state does not have.
inline const QString kNoValue = QStringLiteral("\u2013");

// A label on `page` at (x, y) that mouse movement passes through, so that hovering and
// dragging over texts act as over the background.
QLabel* staticLabel(QWidget* page, const QString& name, int x, int y);
void setTextColour(QWidget* widget, const QColor& colour);
// Sets the text and fits the label to it.
void setLabelText(QLabel* label, const QString& text);
// Places `unit` kUnitGap pixels right of `value`, on its line.
void placeUnit(const QLabel* value, QLabel* unit);
// Shows `text` as a value with its unit beside it; no text (no value) shows no unit either.
void showValue(QLabel* value, QLabel* unit, const QString& text);
// A banner for a region name or a notice: centred light text on blue, the mouse passes through.
QLabel* bannerLabel(QWidget* page, const QString& name, QRect geometry);
// The box selects its whole text whenever it gets the focus from the keyboard or the program
// (not from a mouse click, which places the cursor), so that typing replaces the value.
void selectAllOnFocus(QLineEdit* edit);

} // namespace pagestyle
