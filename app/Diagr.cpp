#include "app/Diagr.h"

#include "app/CalculationModel.h"
#include "app/Texts.h"
#include "platform/MessageSink.h"
#include "platform/NumberText.h"
#include "resources/TsChartFrame.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// Overview picture and buttons sit over the chart's top left corner, where the chart is empty
// (no water state lies at high temperature and low entropy).
constexpr QPoint kOverviewAt(8, 8);
constexpr QSize kOverviewSize(100, 170);
constexpr int kButtonX = 116;
constexpr QSize kButtonSize(190, 24);
constexpr int kMarkerSize = 6;
// Marker positions beyond this many pixels come only from absurd values; checked before the
// conversion to int, which would otherwise be undefined.
constexpr double kPositionLimit = 1e6;

const char* const kLoadError[] = {"Chyba při otevírání TS diagramu - ",
                                  "Error opening T-S chart - "};
const char* const kMarkerError = "Chybná hodnota veličiny při pokusu o zobrazení v TS - diagramu.";

int nearest(double value) {
    return int(std::nearbyint(value));
}

QPoint eventPos(QEvent* event) {
    return static_cast<QMouseEvent*>(event)->position().toPoint();
}

// Keeps `value` within [low, 0] as the pan does: first the lower bound, then 0 wins.
int clampPan(int value, int low) {
    if (value < low) value = low;
    if (value > 0) value = 0;
    return value;
}

} // namespace

// The chart: the bitmap drawn over the widget's whole size, natural or stretched.
class ChartImage : public QWidget {
public:
    using QWidget::QWidget;
    void setPixmap(const QPixmap& pixmap) {
        m_pixmap = pixmap;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(rect(), m_pixmap);
    }

private:
    QPixmap m_pixmap;
};

// A point marker: a red circle of 6 x 6 pixels.
class ChartMarker : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::red);
        painter.drawEllipse(rect());
    }
};

// The visible part of the chart on the overview: a rounded, red dotted outline.
class OverviewFrame : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(QPen(Qt::red, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    }
};

// ---------------------------------------------------------------------------------------------

ChartBitmapLoader::ChartBitmapLoader(QWidget* window, const QString& exeDir,
                                     std::function<int()> language,
                                     platform::MessageSink& messages, QObject* parent)
    : QObject(parent), m_path(exeDir + fileName()), m_language(std::move(language)),
      m_messages(messages) {
    window->installEventFilter(this);
}

bool ChartBitmapLoader::eventFilter(QObject* watched, QEvent* event) {
    // Without a window manager (a bare X server) a window is never activated: the first try
    // then follows the first showing, once the window is up.
    if (event->type() == QEvent::Show && !m_attempted)
        QTimer::singleShot(0, this, [this] { windowShown(); });
    if (event->type() == QEvent::WindowActivate) windowActivated();
    if (event->type() == QEvent::WindowDeactivate) windowDeactivated();
    return QObject::eventFilter(watched, event);
}

void ChartBitmapLoader::windowActivated() {
    if (loaded()) return;
    if (!m_attempted || m_retryArmed) attempt();
}

void ChartBitmapLoader::windowShown() {
    if (!m_attempted) attempt();
}

void ChartBitmapLoader::windowDeactivated() {
    // No window of ours is active: the user went to another program.
    if (!m_showingMessage && QApplication::activeWindow() == nullptr) m_retryArmed = true;
}

void ChartBitmapLoader::attempt() {
    m_attempted = true;
    m_retryArmed = false;
    QPixmap chart;
    if (chart.load(m_path) && chart.width() > 0 && chart.height() > 0) {
        m_chart = chart;
        emit chartLoaded(m_chart);
        return;
    }
    const int language = m_language ? m_language() : 0;
    m_showingMessage = true;
    m_messages.ShowMessage(QString::fromUtf8(kLoadError[language == texts::English ? 1 : 0]) +
                           m_path);
    m_showingMessage = false;
}

// ---------------------------------------------------------------------------------------------

TDiagramForm::TDiagramForm(const CalculationModel& model, platform::MessageSink& messages,
                           QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_model(model), m_messages(messages) {
    setObjectName("DiagramForm");
    setWindowTitle("Diagramy");
    setProperty("helpContext", 70);
    setModal(true);

    m_image = new ChartImage(this);
    m_image->setObjectName("ImageTS");
    m_image->installEventFilter(this);
    for (std::size_t i = 0; i < kPointRows; ++i) {
        m_markers[i] = new ChartMarker(this);
        m_markers[i]->setObjectName(QString("bod%1").arg(i + 1));
        m_markers[i]->resize(kMarkerSize, kMarkerSize);
        m_markers[i]->hide();
    }
    m_overview = new QLabel(this);
    m_overview->setObjectName("ImageNahled");
    m_overview->setGeometry(QRect(kOverviewAt, kOverviewSize));
    m_overview->setScaledContents(true);
    m_frame = new OverviewFrame(this);
    m_frame->setObjectName("poloha");
    m_frame->installEventFilter(this);

    auto addButton = [this](const char* name, const QString& caption, int row) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(name);
        button->setGeometry(QRect(QPoint(kButtonX, kOverviewAt.y() + 30 * row), kButtonSize));
        return button;
    };
    m_fit = addButton("BitBtn1", QString::fromUtf8("Na výšku / Fit height"), 0);
    m_natural = addButton("BitBtn2", QString::fromUtf8("Skutečná velikost / Full size"), 1);
    m_close = addButton("BitBtn3", QString::fromUtf8("Zavřít / Close"), 2);
    m_fit->setAutoDefault(false);
    m_natural->setAutoDefault(false);
    m_close->setDefault(true);
    connect(m_fit, &QPushButton::clicked, this, &TDiagramForm::BitBtn1Click);
    connect(m_natural, &QPushButton::clicked, this, &TDiagramForm::BitBtn2Click);
    connect(m_close, &QPushButton::clicked, this, [this] { done(1); });
}

void TDiagramForm::setChart(const QPixmap& chart) {
    m_chart = chart;
    m_image->setPixmap(chart);
    m_image->resize(chart.size());
    m_overview->setPixmap(
        chart.scaled(kOverviewSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

void TDiagramForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

// Every opening starts at natural size with the overview.
void TDiagramForm::FormActivate() {
    m_image->move(0, 0);
    m_stretched = true;
    BitBtn2Click();
    m_close->setFocus();
}

void TDiagramForm::BitBtn2Click() {
    if (!m_stretched || m_chart.isNull()) return;
    m_stretched = false;
    m_image->resize(m_chart.size());

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    m_client = QSize(std::min(screen.width(), m_chart.width()), std::max(1, screen.height() - 30));
    setGeometry(QRect(screen.topLeft(), m_client));

    PlacePointMarkers();

    const QRect overview = m_overview->geometry();
    const int height =
        std::min(nearest(m_client.height() * 166.0 / m_chart.height()), overview.height() - 4);
    const int width =
        std::min(nearest(m_client.width() * 96.0 / m_chart.width()), overview.width() - 4);
    m_frame->setGeometry(overview.left() + 2, overview.top() + 2, std::max(width, 0),
                         std::max(height, 0));
    m_overview->show();
    m_frame->show();
    m_frame->raise();
}

void TDiagramForm::BitBtn1Click() {
    if (m_stretched || m_chart.isNull()) return;
    const int k = m_client.height() * 100 / m_chart.height();
    m_image->setGeometry(0, 0, m_image->width() * k / 100, m_client.height());
    m_stretched = true;

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QRect window = geometry();
    if (m_client.height() > m_image->height()) m_client.setHeight(m_image->height());
    if (m_client.width() > m_image->width()) {
        m_client.setWidth(m_image->width());
        window.moveLeft(screen.left() + (screen.width() - m_client.width()) / 2);
    }
    setGeometry(QRect(window.topLeft(), m_client));

    PlacePointMarkers();
    m_overview->hide();
    m_frame->hide();
}

QString TDiagramForm::hint(const std::array<double, 7>& values) const {
    QStringList lines;
    for (int q = 1; q <= numerics::kQuantityCount; ++q)
        lines << texts::rowName(m_model.state().Language, q) +
                     m_model.formatted(numerics::quantityAt(q), values[std::size_t(q)]) + " " +
                     texts::quantityUnit(q);
    return lines.join('\n');
}

void TDiagramForm::PlacePointMarkers() {
    const double width = m_image->width();
    const double height = m_image->height();
    // Top left corner of a marker, or nothing when the values cannot be placed.
    using numerics::at;
    using numerics::Quantity;
    auto place = [&](const std::array<double, 7>& values) -> std::optional<QPoint> {
        const double s = values[at(Quantity::S)];
        const double t = values[at(Quantity::T)];
        const double left = std::nearbyint(tschart::X(s) / tschart::FrameWidth * width);
        const double top = std::nearbyint(tschart::Y(t) / tschart::FrameHeight * height);
        if (!(std::abs(left) <= kPositionLimit && std::abs(top) <= kPositionLimit))
            return std::nullopt; // also NaN
        return QPoint(int(left) - 3, int(top) - 3);
    };

    const AppState& state = m_model.state();
    std::array<std::optional<QPoint>, kPointRows> positions;
    std::array<QString, kPointRows> hints;
    bool failed = false;
    for (std::size_t i = 0; i < kPointRows; ++i) {
        std::array<double, 7> values = state.StateValues;
        if (state.PointsPageShown) {
            if (state.PointsTable[0][i] != 1.0) continue;
            for (std::size_t q = 1; q <= numerics::kQuantityCount; ++q)
                values[q] = state.PointsTable[q][i];
        } else if (i > 0) {
            continue;
        }
        positions[i] = place(values);
        hints[i] = hint(values);
        if (!positions[i]) failed = true;
    }
    if (failed) {
        hideMarkers();
        m_messages.ShowMessage(QString::fromUtf8(kMarkerError));
        return;
    }
    for (std::size_t i = 0; i < kPointRows; ++i) {
        if (positions[i]) {
            m_markers[i]->move(*positions[i]);
            m_markers[i]->setToolTip(hints[i]);
        }
        m_markers[i]->setVisible(positions[i].has_value());
    }
}

void TDiagramForm::hideMarkers() {
    for (ChartMarker* marker : m_markers)
        marker->hide();
}

void TDiagramForm::moveMarkers(QPoint delta) {
    for (ChartMarker* marker : m_markers)
        marker->move(marker->pos() + delta);
}

bool TDiagramForm::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == m_image) {
        if (type == QEvent::MouseButtonPress) ImageTSMouseDown(eventPos(event));
        if (type == QEvent::MouseMove) ImageTSMouseMove(eventPos(event));
        if (type == QEvent::MouseButtonRelease) ImageTSMouseUp();
    } else if (watched == m_frame) {
        if (type == QEvent::MouseButtonPress) polohaMouseDown(eventPos(event));
        if (type == QEvent::MouseMove) polohaMouseMove(eventPos(event));
        if (type == QEvent::MouseButtonRelease) polohaMouseUp();
    }
    return QDialog::eventFilter(watched, event);
}

void TDiagramForm::ImageTSMouseDown(QPoint at) {
    if (m_stretched) return;
    Panning = true;
    PanStart = at;
    PanMoved = false;
}

// The chart follows the mouse only on release; the target never uncovers the window.
void TDiagramForm::ImageTSMouseMove(QPoint at) {
    if (!Panning) return;
    const QPoint target = m_image->pos() + (at - PanStart);
    PanNew = QPoint(clampPan(target.x(), m_client.width() - m_chart.width()),
                    clampPan(target.y(), m_client.height() - m_chart.height()));
    PanMoved = true;
}

void TDiagramForm::ImageTSMouseUp() {
    if (Panning && PanMoved) {
        moveMarkers(PanNew - m_image->pos());
        m_image->move(PanNew);
        const QRect overview = m_overview->geometry();
        m_frame->move(overview.left() + 2 - nearest(m_image->x() / (m_chart.width() / 98.0)),
                      overview.top() + 2 - nearest(m_image->y() / (m_chart.height() / 168.0)));
        PanNew = QPoint();
    }
    // A press without a move ends the pan too, so that no stale pan waits for the next release.
    Panning = false;
    PanMoved = false;
}

void TDiagramForm::polohaMouseDown(QPoint at) {
    OverviewDragging = true;
    OverviewStart = at;
}

void TDiagramForm::polohaMouseMove(QPoint at) {
    if (!OverviewDragging) return;
    const QRect overview = m_overview->geometry();
    const QPoint target = m_frame->pos() + (at - OverviewStart);
    const int right = overview.left() + overview.width() - 2 - m_frame->width();
    const int bottom = overview.top() + overview.height() - 2 - m_frame->height();
    m_frame->move(
        std::clamp(target.x(), overview.left() + 2, std::max(right, overview.left() + 2)),
        std::clamp(target.y(), overview.top() + 2, std::max(bottom, overview.top() + 2)));
}

void TDiagramForm::polohaMouseUp() {
    if (!OverviewDragging) return;
    OverviewDragging = false;
    const QRect overview = m_overview->geometry();
    const int right = overview.left() + overview.width() - 2 - m_frame->width();
    const int bottom = overview.top() + overview.height() - 2 - m_frame->height();
    const int lowLeft = m_client.width() - m_chart.width();
    const int lowTop = m_client.height() - m_chart.height();
    const int left =
        m_frame->x() == right
            ? lowLeft
            : nearest((overview.left() - m_frame->x() + 2) * double(m_chart.width()) / 98.0);
    const int top =
        m_frame->y() == bottom
            ? lowTop
            : nearest((overview.top() - m_frame->y() + 2) * double(m_chart.height()) / 168.0);
    // On a screen taller than the chart the bottom stop would leave a gap above it.
    const QPoint target(clampPan(left, lowLeft), clampPan(top, lowTop));
    moveMarkers(target - m_image->pos());
    m_image->move(target);
}
