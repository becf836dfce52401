#pragma once
// The design control of one template element: paints the element the way the report prints
// it, shows the selection marks and handles, and moves and resizes the element with the
// mouse. Positions and sizes are the element's, in 1/100 inch; on screen a value v is
// ScaleRound(v, zoom) pixels.

#include "report/engine/template/sestavyt_model.h"

#include <QWidget>

#include <memory>

namespace report {
class TSestavaTyp;
}

namespace designer {

class DesignerEvents;
class TOddil;

// The tool codes of the palette: the arrow, the graphic tools, and a block of codes for each
// referring kind whose first code is the kind's tool and the others its entries (first code +
// index).
enum ToolCode : int {
    tcArrow = 0,
    tcText = 1,
    tcLine = 2,
    tcFrame = 3,
    tcRoundFrame = 4,
    tcEllipse = 5,
    tcPicture = 6,
    tcBarcode = 7,
    tcDrawingArea = 8,
    tcItem = 2000,
    tcItemLabel = 4000,
    tcParameter = 6000,
    tcVariable = 8000,
    tcFunction = 10000,
    tcDetail = 12000,
    tcBlockSize = 2000,
};

class TSesPrvek : public QWidget {
    Q_OBJECT

public:
    explicit TSesPrvek(QWidget* parent = nullptr);
    ~TSesPrvek() override;

    // A new element owned by this control, of `report`.
    void NewElement(report::TSestavaTyp* report);
    // Takes the element over. A drawing area gets option bit 16 now, so that what is saved
    // does not depend on whether it was painted.
    void setElement(std::unique_ptr<report::TVoranReportElement> element);
    report::TVoranReportElement* element() const { return m_element.get(); }

    int Left() const { return m_element ? m_element->Left : 0; }
    int Top() const { return m_element ? m_element->Top : 0; }
    int Width() const { return m_element ? m_element->Width : 0; }
    int Height() const { return m_element ? m_element->Height : 0; }
    int Index() const { return m_element ? m_element->Index : 0; }
    int Kind() const { return m_element ? m_element->Kind : 0; }
    void setBounds(int left, int top, int width, int height);

    // Stores the zoom and sets the control's geometry from the element.
    virtual void SetZoom(double zoom);
    double zoom() const { return m_zoom; }
    // Keyboard and group moves (template units, rounded half to even): moves are clamped to
    // the section unless moving outside is allowed; sizes are at least 3 and always end
    // inside the section.
    void MoveBy(double dx, double dy);
    void ResizeBy(double dx, double dy);
    // Selection by a click with `modifiers`; tells the window.
    void SetSelected(Qt::KeyboardModifiers modifiers);

    // The marks the window sets: primary selection, member of a multiple selection.
    bool selected() const { return m_selected; }
    bool multi() const { return m_multi; }
    void setSelectedMark(bool on);
    void setMultiMark(bool on);
    bool dragging() const { return m_dragging; }

    // The handles, row by row from the top left; hBody, beside them, moves the element.
    enum Handle : int {
        hBody,
        hTopLeft,
        hTop,
        hTopRight,
        hLeft,
        hRight,
        hBottomLeft,
        hBottom,
        hBottomRight
    };
    // The handle whose 5 x 5 square holds `point` (the last in the order above wins), hBody
    // for none and always for a multiply selected element.
    int HandleAt(const QPoint& point) const;
    // Top-left corner of handle hTopLeft..hBottomRight for a control of w x h pixels.
    static QPoint handlePosition(int handle, int w, int h);
    void UpdateCursor(const QPoint& point);

    // Kind and index of a palette tool code; other codes leave both unchanged.
    static void DecodeTool(int tool, int& kind, int& index);
    // Display name of the element's kind.
    QString KindName() const;
    static QString KindName(int kind);

    TOddil* section() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    DesignerEvents* events() const;
    int elementEvent(int code, TSesPrvek* element);
    int paperEvent(int code, int a, int b);
    void paintContent(QPainter& painter);
    void paintMarks(QPainter& painter);
    static void paintSquare(QPainter& painter, const QPoint& topLeft, bool filled);
    // The handles of the section's selected element that lie over this control: the
    // selected element's handles are drawn above every element.
    void paintCoveredHandles(QPainter& painter);
    // The section's element that shows handles (not this one) where it meets this control, or
    // null.
    TSesPrvek* handleOwner() const;
    // That element when one of its handles lies under `point` (this control's pixels), with
    // the point in its pixels in `there`; else null.
    TSesPrvek* coveredHandleAt(const QPoint& point, QPoint& there) const;
    // After the selection marks changed: repaints, and tells the section whether this control
    // shows handles now.
    void marksChanged();
    // Repaints what lies over this control, where its handles are drawn.
    void updateCoveringElements();
    // A press as this control takes it: selection, then a move or a resize by the handle.
    void press(const QPoint& point, Qt::KeyboardModifiers modifiers, Qt::MouseButton button);
    // A picture element whose file could not be loaded: a red cross, the message and the
    // file names.
    void paintUnloadedPicture(QPainter& painter);
    void dragTo(const QPoint& point);
    int sectionWidth() const;
    int sectionHeight() const;

    std::unique_ptr<report::TVoranReportElement> m_element;
    bool m_dragging = false;
    QPoint m_down;
    int m_startLeft = 0;
    int m_startTop = 0;
    int m_startWidth = 0;
    int m_startHeight = 0;
    int m_handle = hBody;
    double m_zoom = 1.0;
    bool m_selected = false;
    bool m_multi = false;
    bool m_painting = false;
};

// ScaleRound kept within what a widget can take.
int widgetPixels(double value, double zoom);

} // namespace designer
