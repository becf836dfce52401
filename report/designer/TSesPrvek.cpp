#include "report/designer/TSesPrvek.h"

#include "platform/PainterCanvas.h"
#include "report/designer/DesignerEvents.h"
#include "report/designer/TEditorSettings.h"
#include "report/designer/TOddil.h"
#include "report/designer/model/TListVariant.h"
#include "report/engine/document/sestvyst.h"
#include "report/engine/sest_lib.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace designer {

namespace {

constexpr int kHandleSize = 5;
constexpr int kMinimumSize = 3;
const QColor kGrey(0x80, 0x80, 0x80);
const QColor kSilver(0xC0, 0xC0, 0xC0);
const QColor kUnloaded(0xFF, 0x00, 0x00);

bool onLeft(int handle) {
    return handle == TSesPrvek::hTopLeft || handle == TSesPrvek::hLeft ||
           handle == TSesPrvek::hBottomLeft;
}
bool onRight(int handle) {
    return handle == TSesPrvek::hTopRight || handle == TSesPrvek::hRight ||
           handle == TSesPrvek::hBottomRight;
}
bool onTop(int handle) {
    return handle >= TSesPrvek::hTopLeft && handle <= TSesPrvek::hTopRight;
}
bool onBottom(int handle) {
    return handle >= TSesPrvek::hBottomLeft && handle <= TSesPrvek::hBottomRight;
}

int roundEven(double v) {
    return report::ScaleRound(v, 1.0);
}

} // namespace

int widgetPixels(double value, double zoom) {
    return std::clamp(report::ScaleRound(value, zoom), -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

TSesPrvek::TSesPrvek(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setMouseTracking(true);
    setAutoFillBackground(false);
}

TSesPrvek::~TSesPrvek() = default;

void TSesPrvek::NewElement(report::TSestavaTyp* report) {
    setElement(std::make_unique<report::TVoranReportElement>(report));
}

void TSesPrvek::setElement(std::unique_ptr<report::TVoranReportElement> element) {
    m_element = std::move(element);
    if (m_element && m_element->Kind == report::ekDrawingArea) m_element->SetOption5(true);
    if (m_element) setToolTip(KindName());
    SetZoom(m_zoom);
}

void TSesPrvek::setBounds(int left, int top, int width, int height) {
    if (!m_element) return;
    m_element->Left = left;
    m_element->Top = top;
    m_element->Width = width;
    m_element->Height = height;
    SetZoom(m_zoom);
}

void TSesPrvek::SetZoom(double zoom) {
    m_zoom = zoom;
    const QRect before = geometry();
    setGeometry(widgetPixels(Left(), zoom), widgetPixels(Top(), zoom),
                std::max(widgetPixels(Width(), zoom), 0),
                std::max(widgetPixels(Height(), zoom), 0));
    update();
    if (m_selected && !m_multi && geometry() != before) updateCoveringElements();
}

TOddil* TSesPrvek::section() const {
    return qobject_cast<TOddil*>(parentWidget());
}

DesignerEvents* TSesPrvek::events() const {
    const TOddil* s = section();
    return s ? s->events() : nullptr;
}

int TSesPrvek::elementEvent(int code, TSesPrvek* element) {
    DesignerEvents* receiver = events();
    return receiver ? receiver->elementEvent(code, element) : 0;
}

int TSesPrvek::paperEvent(int code, int a, int b) {
    DesignerEvents* receiver = events();
    return receiver ? receiver->paperEvent(code, a, b) : 0;
}

int TSesPrvek::sectionWidth() const {
    const TOddil* s = section();
    return s ? s->sectionWidth() : std::max(Left() + Width(), 0);
}

int TSesPrvek::sectionHeight() const {
    const TOddil* s = section();
    return s ? s->sectionHeight() : std::max(Top() + Height(), 0);
}

void TSesPrvek::setSelectedMark(bool on) {
    m_selected = on;
    marksChanged();
}

void TSesPrvek::setMultiMark(bool on) {
    m_multi = on;
    marksChanged();
}

void TSesPrvek::marksChanged() {
    update();
    TOddil* s = section();
    if (!s) return;
    if (m_selected && !m_multi)
        s->setHandleOwner(this);
    else if (s->handleOwner() == this)
        s->setHandleOwner(nullptr);
    updateCoveringElements();
}

// ---- painting

void TSesPrvek::paintEvent(QPaintEvent*) {
    if (m_painting || !m_element) return;
    m_painting = true;
    QPainter painter(this);
    paintContent(painter);
    if (m_element->Kind == report::ekPicture && !m_element->GetPicture() &&
        !m_element->Text.isEmpty())
        paintUnloadedPicture(painter);
    paintMarks(painter);
    paintCoveredHandles(painter);
    m_painting = false;
}

void TSesPrvek::paintUnloadedPicture(QPainter& painter) {
    // The report leaves such a box empty; the designer says why, so that a missing or
    // unreadable file is not taken for a picture that is there.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(kUnloaded);
    painter.setBrush(Qt::NoBrush);
    const QRect box = rect().adjusted(0, 0, -1, -1);
    painter.drawLine(box.topLeft(), box.bottomRight());
    painter.drawLine(box.bottomLeft(), box.topRight());
    QFont font = painter.font();
    font.setPixelSize(std::clamp(height() / 3, 6, 12));
    painter.setFont(font);
    const QString names = QString(m_element->Text).replace(u'\\', u'/');
    const QString text = QStringLiteral("Obrázek nelze načíst\n") + names;
    const QRect area = box.adjusted(2, 2, -2, -2);
    const int flags = Qt::AlignCenter | Qt::TextWrapAnywhere;
    painter.fillRect(painter.boundingRect(area, flags, text) & area, Qt::white);
    painter.drawText(area, flags, text);
    painter.restore();
}

void TSesPrvek::paintContent(QPainter& painter) {
    report::TVoranReportElement& e = *m_element;
    // Too small to hold anything, or beyond any paper (10,000 inches): only the marks are
    // drawn.
    constexpr int kLargest = 1000000;
    if (e.Width <= 2 || e.Height <= 2 || e.Width > kLargest || e.Height > kLargest ||
        width() <= 0 || height() <= 0)
        return;
    painter.save();
    // The element is drawn in 1/100 inch on (Width - 1) x (Height - 1) units stretched over
    // the client area, the way the report prints it.
    painter.scale(double(width()) / (e.Width - 1), double(height()) / (e.Height - 1));
    if (e.Kind == report::ekDetail) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QBrush(Qt::black, Qt::DiagCrossPattern));
        painter.drawRect(QRectF(0, 0, e.Width, e.Height));
    } else {
        platform::PainterCanvas canvas(painter, 100);
        report::ElementContent content;
        if (e.Kind == report::ekDrawingArea && e.Report) {
            e.SetOption5(true);
            e.PaintDrawingArea();
        }
        // The reference kinds ask their report; without one they show nothing.
        const bool asksReport = e.Kind >= report::ekItem && e.Kind <= report::ekFunction;
        if (e.Report || !asksReport) content.text = e.GetText();
        content.hasPicture = e.GetPicture() != nullptr;
        const platform::TRect rect{0, 0, e.Width, e.Height};
        report::DrawReportElement(canvas, e, content, rect, 0, 0, 1.0, 1.0);
    }
    painter.restore();
}

QPoint TSesPrvek::handlePosition(int handle, int w, int h) {
    const int midX = (w - kHandleSize) / 2;
    const int midY = (h - kHandleSize) / 2;
    const int right = w - kHandleSize;
    const int bottom = h - kHandleSize;
    static constexpr int xs[] = {0, 0, 1, 2, 0, 2, 0, 1, 2}; // 0 left, 1 middle, 2 right
    static constexpr int ys[] = {0, 0, 0, 0, 1, 1, 2, 2, 2};
    const int x[] = {0, midX, right};
    const int y[] = {0, midY, bottom};
    return {x[xs[handle]], y[ys[handle]]};
}

void TSesPrvek::paintMarks(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    const int w = width();
    const int h = height();
    auto square = [&](int handle, bool filled) {
        paintSquare(painter, handlePosition(handle, w, h), filled);
    };
    if (m_multi || m_selected) {
        painter.setPen(kGrey);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(0, 0, w - 1, h - 1);
        if (m_multi) {
            for (int handle : {hTopLeft, hTopRight, hBottomLeft, hBottomRight})
                square(handle, m_selected);
        } else {
            for (int handle = hTopLeft; handle <= hBottomRight; ++handle)
                square(handle, true);
        }
    } else {
        painter.setPen(kSilver);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(0, 0, w - 1, h - 1);
    }
}

void TSesPrvek::paintSquare(QPainter& painter, const QPoint& topLeft, bool filled) {
    painter.setPen(kGrey);
    painter.setBrush(filled ? QBrush(kGrey) : QBrush(Qt::white));
    painter.drawRect(topLeft.x(), topLeft.y(), kHandleSize - 1, kHandleSize - 1);
}

void TSesPrvek::paintCoveredHandles(QPainter& painter) {
    const TSesPrvek* primary = handleOwner();
    if (!primary) return;
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QPoint offset = primary->pos() - pos();
    for (int handle = hTopLeft; handle <= hBottomRight; ++handle) {
        const QPoint at = handlePosition(handle, primary->width(), primary->height()) + offset;
        if (rect().intersects(QRect(at, QSize(kHandleSize, kHandleSize))))
            paintSquare(painter, at, true);
    }
}

// ---- handles and cursor

TSesPrvek* TSesPrvek::handleOwner() const {
    const TOddil* s = section();
    TSesPrvek* owner = s ? s->handleOwner() : nullptr;
    const bool over = owner && owner != this && owner->parentWidget() == s &&
                      owner->geometry().intersects(geometry());
    return over ? owner : nullptr;
}

TSesPrvek* TSesPrvek::coveredHandleAt(const QPoint& point, QPoint& there) const {
    TSesPrvek* primary = handleOwner();
    if (!primary) return nullptr;
    there = point + pos() - primary->pos();
    return primary->HandleAt(there) != hBody ? primary : nullptr;
}

void TSesPrvek::updateCoveringElements() {
    // the elements over this one draw its handles
    if (TOddil* s = section()) s->update(geometry());
}

int TSesPrvek::HandleAt(const QPoint& point) const {
    if (m_multi) return hBody;
    for (int handle = hBottomRight; handle >= hTopLeft; --handle) {
        const QRect square(handlePosition(handle, width(), height()),
                           QSize(kHandleSize, kHandleSize));
        if (square.contains(point)) return handle;
    }
    return hBody;
}

void TSesPrvek::UpdateCursor(const QPoint& point) {
    static constexpr Qt::CursorShape byHandle[] = {
        Qt::DragMoveCursor,  Qt::SizeFDiagCursor, Qt::SizeVerCursor,
        Qt::SizeBDiagCursor, Qt::SizeHorCursor,   Qt::SizeHorCursor,
        Qt::SizeBDiagCursor, Qt::SizeVerCursor,   Qt::SizeFDiagCursor};
    Qt::CursorShape shape = Qt::ArrowCursor;
    QPoint there;
    if (elementEvent(eeInsertionTool, nullptr) != 0) {
        if (const TOddil* s = section()) {
            if (cursor().shape() != s->cursor().shape() || s->cursor().shape() == Qt::BitmapCursor)
                setCursor(s->cursor());
            return;
        }
    } else if (const TSesPrvek* owner = m_dragging ? nullptr : coveredHandleAt(point, there)) {
        shape = byHandle[owner->HandleAt(there)];
    } else if (m_multi) {
        shape = Qt::DragCopyCursor;
    } else if (m_selected) {
        shape = byHandle[m_dragging ? m_handle : HandleAt(point)];
    }
    if (cursor().shape() != shape) setCursor(shape);
}

// ---- selection and mouse

void TSesPrvek::SetSelected(Qt::KeyboardModifiers modifiers) {
    elementEvent(eeSelectionMayChange, nullptr);
    const bool chosen = m_selected || m_multi;
    if (modifiers & Qt::ControlModifier) {
        elementEvent(chosen ? eeRemoveFromSelection : eeAddToSelection, this);
    } else if (!(modifiers & Qt::ShiftModifier)) {
        elementEvent(eeClearSelection, nullptr);
        elementEvent(eeSelectOnly, this);
    } else if (!chosen) {
        elementEvent(eeAddToSelection, this);
    }
    update();
}

void TSesPrvek::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    TOddil* s = section();
    const bool forward =
        elementEvent(eeInsertionTool, nullptr) != 0 || (modifiers & Qt::ShiftModifier);
    if (forward) {
        if (s)
            s->sectionPress(point +
                                QPoint(widgetPixels(Left(), m_zoom), widgetPixels(Top(), m_zoom)),
                            modifiers);
        return;
    }
    // a handle of the selected element is its own wherever it is drawn, also over this one
    QPoint there;
    if (!(modifiers & Qt::ControlModifier) && !m_dragging) {
        if (TSesPrvek* owner = coveredHandleAt(point, there)) {
            owner->press(there, modifiers, event->button());
            return;
        }
    }
    press(point, modifiers, event->button());
}

void TSesPrvek::press(const QPoint& point, Qt::KeyboardModifiers modifiers,
                      Qt::MouseButton button) {
    SetSelected(modifiers);
    if (m_dragging || (modifiers & Qt::ControlModifier) || button != Qt::LeftButton) return;
    m_dragging = true;
    m_down = point;
    m_startLeft = Left();
    m_startTop = Top();
    m_startWidth = Width();
    m_startHeight = Height();
    m_handle = HandleAt(point);
    grabMouse();
    UpdateCursor(point);
}

void TSesPrvek::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (m_dragging && m_element)
        dragTo(point);
    else
        UpdateCursor(point);
    paperEvent(peMouseAt, -1, -1);
}

void TSesPrvek::dragTo(const QPoint& point) {
    int dx = report::UnscaleRound(point.x() - m_down.x(), m_zoom);
    int dy = report::UnscaleRound(point.y() - m_down.y(), m_zoom);
    const TOddil* s = section();
    if (s && s->snaps()) {
        dx = report::SnapToGrid(dx, s->gridX());
        dy = report::SnapToGrid(dy, s->gridY());
    }
    // 64-bit arithmetic: bounds near the int limits must not overflow.
    qint64 left = Left();
    qint64 top = Top();
    qint64 width = m_startWidth;
    qint64 height = m_startHeight;
    const qint64 sw = sectionWidth();
    const qint64 sh = sectionHeight();
    if (m_handle == hBody) {
        left += dx;
        top += dy;
        if (!EditorSettings().PosunMimo) {
            left = std::max<qint64>(left, 0);
            top = std::max<qint64>(top, 0);
            if (left + width > sw) left = sw - width;
            if (top + height > sh) top = sh - height;
        }
    }
    if (onLeft(m_handle)) {
        left += dx;
        width = qint64(m_startWidth) + m_startLeft - left;
        if (width < kMinimumSize) {
            width = kMinimumSize;
            left = qint64(m_startLeft) + m_startWidth - kMinimumSize;
        }
        if (left < 0) {
            width += left;
            left = 0;
        }
    }
    if (onRight(m_handle)) {
        width = std::max<qint64>(qint64(m_startWidth) + dx, kMinimumSize);
        if (left + width > sw) width = sw - left;
    }
    if (onTop(m_handle)) {
        top += dy;
        height = qint64(m_startHeight) + m_startTop - top;
        if (height < kMinimumSize) {
            height = kMinimumSize;
            top = qint64(m_startTop) + m_startHeight - kMinimumSize;
        }
        if (top < 0) {
            height += top;
            top = 0;
        }
    }
    if (onBottom(m_handle)) {
        height = std::max<qint64>(qint64(m_startHeight) + dy, kMinimumSize);
        if (top + height > sh) height = sh - top;
    }
    auto clampInt = [](qint64 v) { return int(std::clamp<qint64>(v, INT_MIN, INT_MAX)); };
    const int l = clampInt(left), t = clampInt(top), w = clampInt(width), h = clampInt(height);
    if (l == Left() && t == Top() && w == Width() && h == Height()) return;
    setBounds(l, t, w, h);
    update();
    if (m_multi) paperEvent(peMultiMoved, dx, dy);
    if (m_handle == hBody || onLeft(m_handle) || onTop(m_handle)) paperEvent(peMoved, l, t);
    if (m_handle != hBody) paperEvent(peResized, w, h);
}

void TSesPrvek::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_dragging) return;
    m_dragging = false;
    releaseMouse();
    UpdateCursor(event->position().toPoint());
    if (Left() != m_startLeft || Top() != m_startTop || Width() != m_startWidth ||
        Height() != m_startHeight)
        paperEvent(peRecordStep, ckMove, 0);
}

void TSesPrvek::mouseDoubleClickEvent(QMouseEvent* event) {
    QPoint there;
    TSesPrvek* owner = coveredHandleAt(event->position().toPoint(), there);
    for (TSesPrvek* e : {static_cast<TSesPrvek*>(this), owner}) {
        if (e && e->m_dragging) {
            e->m_dragging = false;
            e->releaseMouse();
        }
    }
    elementEvent(eeEditElement, owner ? owner : this);
}

// ---- keyboard and group moves

void TSesPrvek::MoveBy(double dx, double dy) {
    if (!m_element) return;
    qint64 left = roundEven(Left() + dx);
    qint64 top = roundEven(Top() + dy);
    if (!EditorSettings().PosunMimo) {
        left = std::max<qint64>(left, 0);
        top = std::max<qint64>(top, 0);
        if (left + Width() > sectionWidth()) left = qint64(sectionWidth()) - Width();
        if (top + Height() > sectionHeight()) top = qint64(sectionHeight()) - Height();
    }
    m_element->Left = int(std::clamp<qint64>(left, INT_MIN, INT_MAX));
    m_element->Top = int(std::clamp<qint64>(top, INT_MIN, INT_MAX));
    SetZoom(m_zoom);
}

void TSesPrvek::ResizeBy(double dx, double dy) {
    if (!m_element) return;
    qint64 width = std::max(roundEven(Width() + dx), kMinimumSize);
    qint64 height = std::max(roundEven(Height() + dy), kMinimumSize);
    if (Left() + width > sectionWidth()) width = qint64(sectionWidth()) - Left();
    if (Top() + height > sectionHeight()) height = qint64(sectionHeight()) - Top();
    m_element->Width = int(std::clamp<qint64>(width, INT_MIN, INT_MAX));
    m_element->Height = int(std::clamp<qint64>(height, INT_MIN, INT_MAX));
    SetZoom(m_zoom);
}

// ---- tools and names

void TSesPrvek::DecodeTool(int tool, int& kind, int& index) {
    static constexpr int simple[] = {0,
                                     report::ekText,
                                     report::ekLine,
                                     report::ekFrame,
                                     report::ekRoundFrame,
                                     report::ekEllipse,
                                     report::ekPicture,
                                     report::ekBarcode,
                                     report::ekDrawingArea};
    if (tool >= tcText && tool <= tcDrawingArea) {
        kind = simple[tool];
        index = 0;
        return;
    }
    static constexpr int ranged[] = {report::ekItem,     report::ekItemLabel, report::ekParameter,
                                     report::ekVariable, report::ekFunction,  report::ekDetail};
    if (tool >= tcItem && tool < tcDetail + tcBlockSize) {
        kind = ranged[tool / tcBlockSize - 1];
        index = tool % tcBlockSize;
    }
}

QString TSesPrvek::KindName() const {
    return KindName(Kind());
}

QString TSesPrvek::KindName(int kind) {
    static const char* const names[] = {
        "Grafický text", "Položka tabulky", "Popis položky",  "Parametr",         "Proměnná",
        "Funkce",        "Úsečka",          "Rámeček",        "Zaoblený rámeček", "Elipsa",
        "Obrázek",       "Čárový kód",      "Kreslicí plocha"};
    if (kind < report::ekText || kind > report::ekDrawingArea) return QString::fromUtf8("Neznámý");
    return QString::fromUtf8(names[kind - report::ekText]);
}

} // namespace designer
