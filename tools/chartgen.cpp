// chartgen: draws the T-s chart of water and steam that the calculator's chart window shows,
// from our own property library, and saves it as a 24-bit BMP.
//
//   chartgen OUTPUT.bmp
//
// The chart fills the 1000 x 1700 frame of resources/TsChartFrame.h; the plot area spans
// s = 0..9.5 kJ/(kg K) and t = 0..800 °C. Nothing on it is red: the chart window's point
// markers are red and must stand out.

#include "numerics/Constants.h"
#include "numerics/numerics.h"
#include "platform/AtomicFile.h"
#include "resources/TsChartFrame.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

using tschart::X;
using tschart::Y;

constexpr double kSMax = 9.5;   // kJ/(kg K), right edge of the plot
constexpr double kTMax = 800.0; // °C, top edge of the plot
constexpr double kTc = numerics::kTcCelsius;
constexpr double kPc = numerics::kPc;
constexpr double kPMin = 0.000612; // MPa, the isenthalps' lowest pressure: above the triple point

const QRectF kPlot(QPointF(X(0), Y(kTMax)), QPointF(X(kSMax), Y(0)));

const QColor kMinorGrid(225, 225, 225);
const QColor kMajorGrid(160, 160, 160);
const QColor kIsobar(0, 60, 200);
const QColor kIsenthalp(0, 140, 60);
const QColor kDryness(110, 110, 110);
const QColor kInk(0, 0, 0);

struct State {
    double t; // °C
    double s; // kJ/(kg K)
};

// The state of a pair, or nothing where the library has none (a fault, or a pair outside the
// range of the formulation).
std::optional<State> stateOf(int pair, double a, double b) {
    double t = 0, p = 0, v = 0, s = 0, h = 0, x = 0;
    int region = 0;
    try {
        numerics::StateFromPair(pair, false, false, a, b, true, false, false, t, p, v, s, h, x,
                                region);
    } catch (const numerics::NumericFault&) {
        return std::nullopt;
    }
    if (region == numerics::RegionCode::None || region >= numerics::RegionCode::OutOfRange)
        return std::nullopt;
    return State{t, s};
}

std::optional<QPointF> chartPoint(int pair, double a, double b) {
    const std::optional<State> state = stateOf(pair, a, b);
    if (!state) return std::nullopt;
    return QPointF(X(state->s), Y(state->t));
}

// A curve that may have gaps: a missing point ends the current piece.
class Curve {
public:
    void add(const std::optional<QPointF>& point) {
        if (!point) {
            m_open = false;
            return;
        }
        if (!m_open) m_pieces.emplace_back();
        m_pieces.back() << *point;
        m_open = true;
    }
    void draw(QPainter& painter) const {
        for (const QPolygonF& piece : m_pieces)
            painter.drawPolyline(piece);
    }
    // The rightmost point inside `area`, where the curve's label goes.
    std::optional<QPointF> labelAnchor(const QRectF& area) const {
        std::optional<QPointF> best;
        for (const QPolygonF& piece : m_pieces)
            for (const QPointF& point : piece)
                if (area.contains(point) && (!best || point.x() > best->x())) best = point;
        return best;
    }

private:
    std::vector<QPolygonF> m_pieces;
    bool m_open = false;
};

// Saturation temperatures from the triple point to the critical point, closer together where
// the dome turns round.
std::vector<double> saturationTemperatures() {
    std::vector<double> temps{0.01};
    for (int i = 1; i <= 360; ++i)
        temps.push_back(i);
    for (int i = 1; i <= 138; ++i)
        temps.push_back(360.0 + 0.1 * i);
    for (double t : {373.85, 373.9, 373.93, 373.94, kTc})
        temps.push_back(t);
    return temps;
}

// Temperatures of an isobar sweep: 1 °C steps, 0.1 °C steps around the critical point.
std::vector<double> sweepTemperatures() {
    std::vector<double> temps;
    for (int i = 0; i < 360; ++i)
        temps.push_back(i);
    for (int i = 0; i < 500; ++i)
        temps.push_back(360.0 + 0.1 * i);
    for (int i = 410; i <= 800; ++i)
        temps.push_back(i);
    return temps;
}

// Labels that do not overlap each other.
class Labels {
public:
    explicit Labels(QPainter& painter) : m_painter(painter) {}
    // Writes `text` above and to the left of `anchor`, unless it would cover another label.
    void place(const QString& text, const QPointF& anchor, const QColor& colour) {
        QRectF box = QFontMetricsF(m_painter.font()).boundingRect(text);
        box.moveBottomRight(anchor + QPointF(-3, -3));
        if (!kPlot.contains(box)) return;
        for (const QRectF& other : m_boxes)
            if (other.intersects(box.adjusted(-2, -2, 2, 2))) return;
        m_boxes.push_back(box);
        m_painter.fillRect(box, Qt::white);
        m_painter.setPen(colour);
        m_painter.drawText(box, Qt::AlignCenter, text);
    }

private:
    QPainter& m_painter;
    std::vector<QRectF> m_boxes;
};

QString number(double value) {
    return QString::number(value, 'g', 6);
}

void drawGrid(QPainter& painter) {
    for (int major = 0; major < 2; ++major) {
        painter.setPen(QPen(major ? kMajorGrid : kMinorGrid, 1));
        for (int i = 0; i <= 95; ++i)
            if ((i % 10 == 0) == (major == 1))
                painter.drawLine(QPointF(X(i / 10.0), Y(0)), QPointF(X(i / 10.0), Y(kTMax)));
        for (int i = 0; i <= 80; ++i)
            if ((i % 10 == 0) == (major == 1))
                painter.drawLine(QPointF(X(0), Y(10.0 * i)), QPointF(X(kSMax), Y(10.0 * i)));
    }
}

void drawAxes(QPainter& painter) {
    painter.setPen(QPen(kInk, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(kPlot);
    QFont font("DejaVu Sans");
    font.setPixelSize(13);
    painter.setFont(font);
    for (int s = 0; s <= 9; ++s)
        painter.drawText(QRectF(X(s) - 20, Y(0) + 2, 40, 22), Qt::AlignHCenter | Qt::AlignTop,
                         QString::number(s));
    for (int t = 0; t <= 800; t += 100)
        painter.drawText(QRectF(0, Y(t) - 10, X(0) - 3, 20), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(t));
    font.setBold(true);
    font.setPixelSize(15);
    painter.setFont(font);
    painter.drawText(QRectF(X(0), Y(kTMax) - 30, 200, 26), Qt::AlignLeft | Qt::AlignVCenter,
                     "t [°C]");
    const QRectF sTitle(X(kSMax) - 150, Y(0) - 30, 146, 26);
    painter.fillRect(sTitle, Qt::white);
    painter.drawText(sTitle, Qt::AlignRight | Qt::AlignVCenter, "s [kJ/(kg K)]");
}

QImage drawChart() {
    QImage image(int(tschart::FrameWidth), int(tschart::FrameHeight), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawGrid(painter);

    const std::vector<double> satTemps = saturationTemperatures();
    const std::vector<double> sweep = sweepTemperatures();
    painter.setClipRect(kPlot);

    // Lines of constant dryness inside the dome.
    painter.setPen(QPen(kDryness, 1, Qt::DashLine));
    for (int tenth = 1; tenth <= 9; ++tenth) {
        Curve curve;
        for (double t : satTemps)
            curve.add(chartPoint(numerics::PairCode::TX, t, tenth / 10.0));
        curve.draw(painter);
    }

    QFont labelFont("DejaVu Sans");
    labelFont.setPixelSize(11);
    painter.setFont(labelFont);
    Labels labels(painter);
    const QRectF labelArea = kPlot.adjusted(70, 16, -4, -4);
    std::vector<std::pair<Curve, QString>> isobars;
    for (double p : {0.001, 0.002, 0.005, 0.01, 0.02, 0.05, 0.1, 0.2, 0.5, 1.0, 2.0, 5.0, 10.0,
                     20.0, kPc, 30.0, 50.0, 100.0}) {
        Curve curve;
        // Below the critical pressure the isobar crosses the dome as a horizontal line.
        std::optional<QPointF> liquid, vapour;
        double ts = kTMax + 1;
        if (p < kPc) {
            const auto saturated = stateOf(numerics::PairCode::PX, p, 0.0);
            liquid = chartPoint(numerics::PairCode::PX, p, 0.0);
            vapour = chartPoint(numerics::PairCode::PX, p, 1.0);
            if (saturated) ts = saturated->t;
        }
        bool wetDone = false;
        for (double t : sweep) {
            if (t > ts && !wetDone) {
                curve.add(liquid);
                curve.add(vapour);
                wetDone = true;
            }
            curve.add(chartPoint(numerics::PairCode::TP, t, p));
        }
        isobars.emplace_back(std::move(curve), number(p) + " MPa");
    }
    std::vector<std::pair<Curve, QString>> isenthalps;
    for (int h = 200; h <= 4000; h += 200) {
        Curve curve;
        constexpr int steps = 400;
        for (int i = 0; i <= steps; ++i) {
            const double p = kPMin * std::pow(100.0 / kPMin, double(i) / steps);
            curve.add(chartPoint(numerics::PairCode::PI, p, h));
        }
        isenthalps.emplace_back(std::move(curve), QString::number(h) + " kJ/kg");
    }

    painter.setPen(QPen(kIsenthalp, 1.2));
    for (const auto& [curve, label] : isenthalps)
        curve.draw(painter);
    painter.setPen(QPen(kIsobar, 1.5));
    for (const auto& [curve, label] : isobars)
        curve.draw(painter);

    // The saturation dome: saturated liquid up to the critical point, saturated vapour down.
    Curve dome;
    for (double t : satTemps)
        dome.add(chartPoint(numerics::PairCode::TX, t, 0.0));
    for (auto t = satTemps.rbegin(); t != satTemps.rend(); ++t)
        dome.add(chartPoint(numerics::PairCode::TX, *t, 1.0));
    painter.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    dome.draw(painter);
    if (const auto critical = chartPoint(numerics::PairCode::TX, kTc, 0.0)) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(kInk);
        painter.drawEllipse(*critical, 5, 5);
    }

    for (const auto& [curve, label] : isobars)
        if (const auto anchor = curve.labelAnchor(labelArea))
            labels.place(label, *anchor, kIsobar);
    for (const auto& [curve, label] : isenthalps)
        if (const auto anchor = curve.labelAnchor(labelArea))
            labels.place(label, *anchor, kIsenthalp);

    painter.setClipping(false);
    drawAxes(painter);
    return image;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt wants a private runtime folder and warns in every build without one.
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: chartgen OUTPUT.bmp\n");
        return 2;
    }
    const QImage chart = drawChart().convertToFormat(QImage::Format_RGB888);
    if (!platform::writeFileAtomically(QString::fromLocal8Bit(argv[1]), [&](QIODevice& file) {
            return chart.save(&file, "BMP");
        })) {
        std::fprintf(stderr, "chartgen: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
