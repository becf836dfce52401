#include "report/designer/TOddil.h"

#include "platform/PainterCanvas.h"
#include "report/designer/DesignerEvents.h"
#include "report/designer/TPapir.h"
#include "report/designer/TSesPrvek.h"
#include "report/engine/document/TPicture.h"
#include "report/engine/printing/sestprn.h"
#include "report/engine/sest_lib.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>

#include <algorithm>
#include <cmath>

namespace designer {

namespace {

const QColor kSilver(0xC0, 0xC0, 0xC0);
const QColor kGrey(0x80, 0x80, 0x80);

// 8 x 8 dots where x and y are both even or both odd, on `ground`.
QPixmap hatch(const QColor& ground) {
    QImage image(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            image.setPixelColor(x, y, (x % 2) == (y % 2) ? kSilver : ground);
    return QPixmap::fromImage(image);
}

} // namespace

QString TOddil::captionOf(int code) {
    switch (code) {
    case report::odZ:
        return QString::fromUtf8("Začátek sestavy");
    case report::odH:
        return QString::fromUtf8("Hlava stránky");
    case report::odT:
        return QString::fromUtf8("Tělo sestavy");
    case report::odK:
        return QString::fromUtf8("Konec sestavy");
    case report::odP:
        return QString::fromUtf8("Pata stránky");
    default:
        break;
    }
    return (isGroupHeaderCode(code) ? QString::fromUtf8("Začátek skupiny ")
                                    : QStringLiteral("Konec skupiny ")) +
           QString::number(groupOfCode(code) + 1);
}

QColor TOddil::captionColourOf(int code) {
    switch (code) {
    case report::odZ:
    case report::odK:
        return QColor(0, 0, 255);
    case report::odH:
    case report::odP:
        return QColor(255, 0, 255);
    case report::odT:
        return QColor(255, 0, 0);
    default:
        return QColor(0, 0x80, 0);
    }
}

TOddil::TOddil(QWidget* parent, int code)
    : QWidget(parent), m_code(code), m_caption(captionOf(code)),
      m_captionColour(captionColourOf(code)) {
    setMouseTracking(true);
    setToolTip(m_caption);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TOddil::~TOddil() = default;

TPapir* TOddil::paper() const {
    return qobject_cast<TPapir*>(parentWidget());
}

DesignerEvents* TOddil::events() const {
    const TPapir* p = paper();
    return p ? p->events() : nullptr;
}

int TOddil::elementEvent(int code) {
    DesignerEvents* receiver = events();
    return receiver ? receiver->elementEvent(code, nullptr) : 0;
}

int TOddil::paperEvent(int code, int a, int b) {
    DesignerEvents* receiver = events();
    return receiver ? receiver->paperEvent(code, a, b) : 0;
}

TSesPrvek* TOddil::Prvek(int i) const {
    return i >= 0 && i < m_elements.size() ? m_elements[i] : nullptr;
}

void TOddil::addElement(TSesPrvek* element) {
    if (element) m_elements.append(element);
}

void TOddil::removeElement(TSesPrvek* element) {
    m_elements.removeAll(element);
}

void TOddil::removeElements(const QSet<TSesPrvek*>& elements) {
    m_elements.removeIf([&](TSesPrvek* e) { return elements.contains(e); });
}

void TOddil::setSectionHeight(int height) {
    m_height = height;
    SetZoom(m_zoom);
    if (TPapir* p = paper()) p->Layout();
}

void TOddil::setColumns(int columns, int gap) {
    m_columns = std::max(columns, 1);
    m_columnGap = gap;
    update();
}

int TOddil::ColumnWidth() const {
    const int printable = report::PrintableWidth();
    if (m_columns <= 1) return printable;
    return int((qint64(printable) + m_columnGap) / m_columns);
}

void TOddil::SetZoom(double zoom) {
    m_zoom = zoom;
    const int pixels =
        std::clamp(widgetPixels(m_height, zoom), 0, QWIDGETSIZE_MAX - kCaptionHeight);
    resize(width(), pixels + kCaptionHeight);
    update();
}

void TOddil::SetRastr(bool show, bool snap, double gridX, double gridY, bool characterGrid) {
    m_showGrid = show;
    m_snap = snap;
    m_gridX = gridX >= 1 && std::isfinite(gridX) ? gridX : 8;
    m_gridY = gridY >= 1 && std::isfinite(gridY) ? gridY : 8;
    m_characterGrid = characterGrid;
    update();
}

void TOddil::SetPozadi(const report::TPicture* picture, const platform::TRect& rect,
                       const QPoint& offset) {
    m_background = picture;
    m_backgroundRect = rect;
    m_backgroundOffset = offset;
    update();
}

void TOddil::ZOrder(TSesPrvek* element, bool front) {
    if (!m_elements.contains(element)) return;
    m_elements.removeAll(element);
    if (front) {
        m_elements.append(element);
        element->raise();
    } else {
        m_elements.prepend(element);
        element->lower();
    }
}

void TOddil::SelectInRect(const QRect& rect, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers how =
        modifiers & Qt::ControlModifier ? Qt::ControlModifier : Qt::ShiftModifier;
    // Copied: a selection event may change the list.
    const QList<TSesPrvek*> elements = m_elements;
    for (TSesPrvek* e : elements) {
        const qint64 left = std::max<qint64>(e->Left(), rect.left());
        const qint64 top = std::max<qint64>(e->Top(), rect.top());
        const qint64 right =
            std::min<qint64>(qint64(e->Left()) + e->Width(), qint64(rect.left()) + rect.width());
        const qint64 bottom =
            std::min<qint64>(qint64(e->Top()) + e->Height(), qint64(rect.top()) + rect.height());
        if (right > left && bottom > top) e->SetSelected(how);
    }
}

// ---- painting

int TOddil::columnBoundary() const {
    return widgetPixels(ColumnWidth(), m_zoom);
}

void TOddil::paintEvent(QPaintEvent* event) {
    if (m_painting) return;
    m_painting = true;
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setFont(font());
    if (m_background && !m_background->isEmpty()) {
        const platform::TRect& r = m_backgroundRect;
        const int dx = widgetPixels(m_backgroundOffset.x(), m_zoom);
        const int dy = widgetPixels(m_backgroundOffset.y(), m_zoom);
        const platform::TRect scaled{
            widgetPixels(r.left, m_zoom) + dx, widgetPixels(r.top, m_zoom) + dy,
            widgetPixels(r.right, m_zoom) + dx, widgetPixels(r.bottom, m_zoom) + dy};
        platform::PainterCanvas canvas(painter);
        report::DrawPicture(canvas, scaled, *m_background);
    }
    const bool multiColumn = m_code == report::odT && m_columns > 1;
    const int boundary = multiColumn ? columnBoundary() : 0;
    if (multiColumn) paintHatches(painter, boundary);
    if (m_showGrid) paintGrid(painter, event->rect());
    paintCaption(painter, multiColumn ? boundary : -1);
    m_painting = false;
}

void TOddil::paintHatches(QPainter& painter, int boundary) {
    if (m_lightHatch.isNull()) {
        m_lightHatch = hatch(Qt::white);
        m_darkHatch = hatch(kGrey);
    }
    const int gap = widgetPixels(m_columnGap, m_zoom);
    const int bottom = height() - kCaptionHeight;
    painter.fillRect(QRect(QPoint(boundary - gap, 0), QPoint(width() - 1, bottom - 1)),
                     QBrush(m_lightHatch));
    painter.fillRect(QRect(QPoint(boundary, 0), QPoint(width() - 3, bottom - 1)),
                     QBrush(m_darkHatch));
}

void TOddil::paintGrid(QPainter& painter, const QRect& exposed) {
    const bool multiColumn = m_code == report::odT && m_columns > 1;
    const double w = multiColumn ? ColumnWidth() : m_width;
    const qint64 rows = std::llround(m_height / m_gridY);
    const qint64 cols = std::llround(w / m_gridX);
    // Only the points inside the exposed rectangle are visited.
    const double unitsPerPixel = 1.0 / m_zoom;
    const qint64 firstRow =
        std::max<qint64>(1, qint64(exposed.top() * unitsPerPixel / m_gridY) - 1);
    const qint64 lastRow =
        std::min<qint64>(rows, qint64((exposed.bottom() + 1) * unitsPerPixel / m_gridY) + 1);
    const qint64 firstCol =
        std::max<qint64>(1, qint64(exposed.left() * unitsPerPixel / m_gridX) - 1);
    const qint64 lastCol =
        std::min<qint64>(cols, qint64((exposed.right() + 1) * unitsPerPixel / m_gridX) + 1);
    painter.setPen(m_captionColour);
    for (qint64 i = firstRow; i <= lastRow; ++i) {
        const int y = widgetPixels(i * m_gridY, m_zoom);
        for (qint64 j = firstCol; j <= lastCol; ++j)
            painter.drawPoint(widgetPixels(j * m_gridX, m_zoom), y);
    }
}

void TOddil::paintCaption(QPainter& painter, int boundary) {
    const int w = width();
    const int h = height();
    const int top = h - kCaptionHeight;
    painter.setPen(Qt::black);
    painter.setBrush(kSilver);
    painter.drawRect(0, top, w - 1, kCaptionHeight - 1);
    painter.drawLine(0, top, w - 1, top);
    painter.setPen(Qt::white);
    painter.drawLine(0, top + 1, w - 1, top + 1);
    painter.setPen(kGrey);
    painter.drawLine(0, h - 3, w - 1, h - 3);
    painter.setPen(Qt::black);
    painter.drawLine(0, h - 1, w - 1, h - 1);
    if (boundary >= 0) {
        const QColor colours[] = {kGrey, Qt::black, Qt::white};
        for (int i = 0; i < 3; ++i) {
            painter.setPen(colours[i]);
            painter.drawLine(boundary - 1 + i, h - 15, boundary - 1 + i, h - 2);
        }
    }
    painter.setPen(m_captionColour);
    painter.setBrush(Qt::NoBrush);
    painter.drawText(QRect(5, h - 15, std::max(w - 5, 0), 14), Qt::AlignLeft | Qt::AlignTop,
                     m_caption);
}

// ---- mouse

void TOddil::mouseDoubleClickEvent(QMouseEvent*) {
    paperEvent(peEditSection, m_code, 0);
}

void TOddil::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        sectionPress(event->position().toPoint(), event->modifiers());
}

void TOddil::sectionPress(const QPoint& point, Qt::KeyboardModifiers modifiers) {
    if (m_heightDrag || m_bandActive) return;
    if (point.y() >= height() - kCaptionHeight) {
        elementEvent(eeClearSelection);
        m_heightDrag = true;
        m_startHeight = m_height;
        m_dragStartY = point.y();
        grabMouse(Qt::SplitVCursor);
        return;
    }
    if (elementEvent(eeInsertionTool) != 0) {
        int x = report::UnscaleRound(point.x(), m_zoom);
        int y = report::UnscaleRound(point.y(), m_zoom);
        if (m_snap) {
            x = report::SnapToGrid(x, m_gridX);
            y = report::SnapToGrid(y, m_gridY);
        }
        paperEvent(peSectionClick + m_code, x, y);
        elementEvent(modifiers & Qt::ControlModifier ? eeNextItem : eeClearSelection);
        return;
    }
    elementEvent(eeSelectionMayChange);
    if (!(modifiers & (Qt::ShiftModifier | Qt::ControlModifier)))
        paperEvent(peSectionClick + m_code, 0, 0);
    m_bandActive = true;
    m_bandStart = m_bandEnd = point;
    if (!m_rubberBand) m_rubberBand = new QRubberBand(QRubberBand::Rectangle, this);
    m_rubberBand->setGeometry(QRect(point, QSize()));
    m_rubberBand->raise();
    m_rubberBand->show();
    grabMouse();
}

void TOddil::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (m_heightDrag) {
        int height =
            std::max(report::UnscaleRound(point.y() - m_dragStartY, m_zoom) + m_startHeight,
                     kMinimumHeight);
        // snapping may round below the minimum: then the first grid line above it
        if (m_snap) height = report::SnapToGrid(height, m_gridY);
        if (height < kMinimumHeight)
            height = int(std::ceil(kMinimumHeight / m_gridY - 1e-6) * m_gridY + 0.5);
        if (height != m_height) {
            m_height = height;
            SetZoom(m_zoom);
            if (TPapir* p = paper()) p->Layout();
        }
    } else if (m_bandActive) {
        m_bandEnd = point;
        m_rubberBand->setGeometry(QRect(m_bandStart, m_bandEnd).normalized());
    }
    if (point.y() < height() - kCaptionHeight) {
        if (m_code == report::odT && m_columns > 1 && point.x() > columnBoundary()) {
            setCursor(Qt::ForbiddenCursor);
            return;
        }
        if (const TPapir* p = paper())
            setCursor(p->cursor());
        else
            unsetCursor();
        paperEvent(peMouseAt, report::UnscaleRound(point.x(), m_zoom),
                   report::UnscaleRound(point.y(), m_zoom));
    } else {
        setCursor(Qt::SplitVCursor);
        paperEvent(peMouseAt, -1, -1);
    }
}

void TOddil::releaseGrab() {
    if (QWidget::mouseGrabber() == this) releaseMouse();
}

void TOddil::mouseReleaseEvent(QMouseEvent* event) {
    if (m_heightDrag) {
        m_heightDrag = false;
        releaseGrab();
        if (m_height != m_startHeight) paperEvent(peHeightChanged, m_code, m_height);
    }
    if (m_bandActive) {
        m_rubberBand->hide();
        const int x1 = report::UnscaleRound(m_bandStart.x(), m_zoom);
        const int y1 = report::UnscaleRound(m_bandStart.y(), m_zoom);
        const int x2 = report::UnscaleRound(m_bandEnd.x(), m_zoom);
        const int y2 = report::UnscaleRound(m_bandEnd.y(), m_zoom);
        m_band = QRect(QPoint(std::min(x1, x2), std::min(y1, y2)),
                       QSize(std::abs(x2 - x1), std::abs(y2 - y1)));
        SelectInRect(m_band, event->modifiers());
        m_bandActive = false;
        releaseGrab();
    }
}

} // namespace designer
