#pragma once
// The design panel of one report section: a white area with an optional background picture,
// grid dots, the inactive columns of a multi-column body and a 16-pixel caption strip at its
// foot. It inserts elements on a click with an insertion tool, selects with a rubber band and
// changes the section's height when its caption strip is dragged.

#include "platform/TCanvas.h"
#include "report/designer/model/SectionCodes.h"

#include <QColor>
#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QSet>
#include <QWidget>

class QRubberBand;

namespace report {
class TPicture;
}

namespace designer {

class DesignerEvents;
class TPapir;
class TSesPrvek;

class TOddil : public QWidget {
    Q_OBJECT

public:
    // Height of the caption strip in pixels, not zoomed.
    static constexpr int kCaptionHeight = 16;
    // The least height a drag leaves, 1/100 inch.
    static constexpr int kMinimumHeight = 14;

    // A section of `code` (a fixed section, or a group's header or footer), 43 units high,
    // with its caption.
    TOddil(QWidget* parent, int code);
    ~TOddil() override;

    int code() const { return m_code; }
    QString caption() const { return m_caption; }
    QColor captionColour() const { return m_captionColour; }
    static QString captionOf(int code);
    static QColor captionColourOf(int code);

    TSesPrvek* Prvek(int i) const;
    int PocetPrvku() const { return int(m_elements.size()); }
    bool holds(const TSesPrvek* element) const { return m_elements.contains(element); }
    // The paper adds each control once.
    void addElement(TSesPrvek* element);
    void removeElement(TSesPrvek* element);
    void removeElements(const QSet<TSesPrvek*>& elements);
    // The element that shows handles (selected alone or as the primary), which are drawn over
    // every element of the section; null for none.
    TSesPrvek* handleOwner() const { return m_handleOwner; }
    void setHandleOwner(TSesPrvek* element) { m_handleOwner = element; }

    // Section height and width (the paper's) in 1/100 inch.
    int sectionHeight() const { return m_height; }
    // Also lays the paper out again.
    void setSectionHeight(int height);
    int sectionWidth() const { return m_width; }
    void setSectionWidth(int width) { m_width = width; }
    void setColumns(int columns, int gap);
    int columns() const { return m_columns; }
    // Width of one print column in 1/100 inch.
    int ColumnWidth() const;

    // Pixel height ScaleRound(height, zoom) + 16.
    void SetZoom(double zoom);
    double zoom() const { return m_zoom; }
    // Grid steps below 1 are taken as 8.
    void SetRastr(bool show, bool snap, double gridX, double gridY, bool characterGrid);
    bool snaps() const { return m_snap; }
    double gridX() const { return m_gridX; }
    double gridY() const { return m_gridY; }
    // The report's background picture (not owned; null for none) in `rect`, shifted by this
    // section's `offset`, both in 1/100 inch.
    void SetPozadi(const report::TPicture* picture, const platform::TRect& rect,
                   const QPoint& offset);

    // Brings the element's control to the front (end of the list) or sends it to the back.
    void ZOrder(TSesPrvek* element, bool front);
    // Selects every element whose bounds meet `rect` (1/100 inch): toggled with Ctrl, added
    // otherwise.
    void SelectInRect(const QRect& rect, Qt::KeyboardModifiers modifiers);

    // A press at `point` (pixels of this panel), also when an element passes its press on.
    void sectionPress(const QPoint& point, Qt::KeyboardModifiers modifiers);
    bool heightDragging() const { return m_heightDrag; }
    bool bandActive() const { return m_bandActive; }
    // The last band in 1/100 inch (normalised), after its release.
    QRect band() const { return m_band; }

    TPapir* paper() const;
    DesignerEvents* events() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int elementEvent(int code);
    int paperEvent(int code, int a, int b);
    void paintHatches(QPainter& painter, int boundary);
    void paintGrid(QPainter& painter, const QRect& exposed);
    void paintCaption(QPainter& painter, int boundary);
    int columnBoundary() const;
    void releaseGrab();

    bool m_heightDrag = false;
    int m_code;
    QString m_caption;
    QColor m_captionColour;
    QList<TSesPrvek*> m_elements;
    QPointer<TSesPrvek> m_handleOwner;
    int m_dragStartY = 0;
    bool m_bandActive = false;
    QPoint m_bandStart;
    QPoint m_bandEnd;
    QRect m_band;
    QRubberBand* m_rubberBand = nullptr;
    QPixmap m_lightHatch;
    QPixmap m_darkHatch;
    const report::TPicture* m_background = nullptr;
    platform::TRect m_backgroundRect;
    QPoint m_backgroundOffset;
    int m_height = 43;
    int m_width = 0;
    int m_startHeight = 0;
    int m_columns = 1;
    int m_columnGap = 0;
    double m_zoom = 1.0;
    double m_gridX = 8;
    double m_gridY = 8;
    bool m_showGrid = false;
    bool m_snap = false;
    bool m_characterGrid = false;
    bool m_painting = false;
};

} // namespace designer
