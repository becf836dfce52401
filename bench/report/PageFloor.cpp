#include "PageFloor.h"

#include "platform/Metafile.h"
#include "platform/PrintJobs.h"
#include "platform/Printers.h"
#include "platform/TextMeasure.h"
#include "report/engine/printing/sestprn.h"

#include <QPainter>

#include <cmath>

namespace benchwork {

namespace {

using namespace platform;

// Where the page view lands on the printer, as the graphic printer places it: its corner and
// its scale (printer pixels per view unit).
struct Placement {
    QPointF corner;
    double scale = 1;
};

Placement placementOf(const report::TSestVystup& doc) {
    PrinterSystem& printer = PrinterSystem::instance();
    const double dpiX = std::max(printer.resolutionX(), 1);
    const double dpiY = std::max(printer.resolutionY(), 1);
    const auto& layout = doc.pageLayout();
    const double x = layout.marginLeft - printer.printingOffset().x() * 100.0 / dpiX +
                     report::PageSetup().outputOffsetX;
    const double y = layout.marginTop - printer.printingOffset().y() * 100.0 / dpiY +
                     report::PageSetup().outputOffsetY;
    const double left = std::round(x * dpiX / 100);
    const double right = std::round((doc.PrintableWidth() + x) * dpiX / 100) + 1;
    return {QPointF(left, std::round(y * dpiY / 100)),
            (right - left) / std::max(doc.PageView().width(), 1)};
}

// The drawing state a record list builds up, with its saved copies.
struct ViewState {
    TFont font;
    int align = taLeft | taTop;
    TPen pen;
};

class PageReader {
public:
    PageReader(FloorDocument& floor, Placement at) : m_floor(floor), m_at(at) {}

    std::vector<FloorItem> read(const Metafile& view) {
        std::vector<FloorItem> items;
        for (const MetaRecord& record : view.records()) {
            if (const auto* font = std::get_if<meta::SelectFont>(&record)) {
                m_state.font = font->font;
            } else if (const auto* mode = std::get_if<meta::TextMode>(&record)) {
                m_state.align = mode->align;
            } else if (const auto* pen = std::get_if<meta::SelectPen>(&record)) {
                m_state.pen = pen->pen;
            } else if (std::holds_alternative<meta::Save>(record)) {
                m_saved.push_back(m_state);
            } else if (std::holds_alternative<meta::Restore>(record) && !m_saved.empty()) {
                m_state = m_saved.back();
                m_saved.pop_back();
            } else if (const auto* text = std::get_if<meta::Text>(&record)) {
                items.push_back(textItem(*text));
            } else if (const auto* line = std::get_if<meta::Line>(&record)) {
                FloorItem rule;
                rule.rule = true;
                rule.line = QLineF(toPrinter(line->from), toPrinter(line->to));
                rule.pen = QPen(QColor(redOf(m_state.pen.color), greenOf(m_state.pen.color),
                                       blueOf(m_state.pen.color)),
                                m_state.pen.width <= 0 ? 0 : m_state.pen.width * m_at.scale);
                items.push_back(rule);
            }
        }
        return items;
    }

private:
    QPointF toPrinter(QPointF p) const { return m_at.corner + p * m_at.scale; }

    FloorItem textItem(const meta::Text& text) {
        const TFont& font = m_state.font;
        const TTextMetrics metrics = measureMetrics(font, font.height);
        double width = 0;
        for (int advance : text.advances)
            width += advance;
        QPointF origin = text.origin;
        if ((m_state.align & taCenter) == taCenter)
            origin.rx() -= width / 2;
        else if (m_state.align & taRight)
            origin.rx() -= width;
        if ((m_state.align & taBaseline) != taBaseline)
            origin.ry() += m_state.align & taBottom ? -metrics.descent : metrics.ascent;
        FloorItem item;
        item.font = fontIndex(font);
        item.origin = toPrinter(origin);
        item.text = text.text;
        return item;
    }

    int fontIndex(const TFont& font) {
        for (size_t i = 0; i < m_fonts.size(); ++i)
            if (m_fonts[i] == font) return int(i);
        m_fonts.push_back(font);
        const double dpi = PrinterSystem::instance().resolutionY();
        m_floor.fonts.push_back(toQFont(font, font.height * m_at.scale, dpi));
        return int(m_fonts.size() - 1);
    }

    FloorDocument& m_floor;
    Placement m_at;
    ViewState m_state;
    std::vector<ViewState> m_saved;
    std::vector<TFont> m_fonts;
};

} // namespace

int FloorDocument::textCount() const {
    int n = 0;
    for (const auto& page : pages)
        for (const FloorItem& item : page)
            n += item.rule ? 0 : 1;
    return n;
}

FloorDocument floorOf(report::TSestVystup& doc) {
    FloorDocument floor;
    const int current = doc.CurrentPage();
    for (int p = 0; p < doc.PageCount(); ++p) {
        doc.ShowPage(p);
        PageReader reader(floor, placementOf(doc));
        floor.pages.push_back(reader.read(doc.PageView()));
    }
    doc.ShowPage(current);
    return floor;
}

bool drawFloor(const FloorDocument& floor) {
    GraphicJob job;
    if (!job.begin(QStringLiteral("floor"))) return false;
    QPainter& painter = job.painter();
    int font = -1;
    bool textPen = false;
    for (size_t p = 0; p < floor.pages.size(); ++p) {
        if (p > 0) job.newPage();
        for (const FloorItem& item : floor.pages[p]) {
            if (item.rule) {
                painter.setPen(item.pen);
                textPen = false;
                painter.drawLine(item.line);
                continue;
            }
            if (!textPen) painter.setPen(Qt::black);
            textPen = true;
            if (item.font != font) painter.setFont(floor.fonts[size_t(font = item.font)]);
            painter.drawText(item.origin, item.text);
        }
    }
    return job.end();
}

} // namespace benchwork
