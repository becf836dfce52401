#include "report/engine/text/sest_rtf.h"

#include "platform/TextMeasure.h"

#include <algorithm>
#include <cmath>

namespace report {

using platform::TCanvas;
using platform::TFont;
using platform::TRect;

namespace {

constexpr int kUnit = kInternalPerUnit;
constexpr double kPointsToUnits = 100.0 / 72.0; // output units per point at scale 1
constexpr int kMaxRun = 1024;                   // characters per glyph run
constexpr int kMaxRotated = 256;

int twipsToInternal(long long twips) {
    return int(std::clamp<long long>(twips * 72 / 15, -(1 << 28), 1 << 28));
}

int toInternal(double v) {
    return int(std::clamp(std::floor(v + 0.5), -double(1 << 28), double(1 << 28)));
}

// Floor division, so that positions left of the origin map to the device unit they lie in.
int toOutput(long long internal) {
    return int(internal >= 0 ? internal / kUnit : -((-internal + kUnit - 1) / kUnit));
}

double baseEmHeight(const TFont& font) {
    const double em = font.height > 0 ? font.height : font.size * kPointsToUnits;
    return em > 0 && std::isfinite(em) ? em : 10 * kPointsToUnits;
}

// The font a style selects over the base font, with its em height in output units at scale 1.
TFont styleFont(const TFont& base, const RichTextStyle& style, double& emHeight) {
    TFont font = base;
    if (!style.face.isEmpty()) font.name = style.face;
    if (style.charset >= 0) font.charset = style.charset;
    font.bold = style.bold;
    font.italic = style.italic;
    font.underline = style.underline;
    if (style.colour.isValid())
        font.color =
            platform::rgbColor(style.colour.red(), style.colour.green(), style.colour.blue());
    emHeight = style.halfPoints > 0 ? style.halfPoints / 2.0 * kPointsToUnits : baseEmHeight(base);
    font.escapement = 0;
    return font;
}

// A line broken at scale 1 as it stands at another scale: positions and sizes scaled.
void scaleLine(TRadek& line, double scaleX, double scaleY) {
    const auto by = [](int& v, double factor) { v = toInternal(v * factor); };
    for (int& p : line.positions)
        by(p, scaleX);
    by(line.width, scaleX);
    by(line.startX, scaleX);
    by(line.height, scaleY);
    by(line.baseline, scaleY);
}

// Measures of the characters of one style, in internal units at the layout's scale.
struct StyleMetrics {
    int ascent = 0;
    int height = 0;
};

class Layout {
public:
    Layout(const TCanvas& canvas, const TRect& rect, const RichTextOptions& options,
           std::shared_ptr<const RichTextContent> content, TRadky& lines)
        : m_base(canvas.Font()), m_options(options), m_content(std::move(content)),
          m_lines(lines) {
        m_scaleX = std::isfinite(options.scaleX) && options.scaleX > 0 ? options.scaleX : 1;
        m_scaleY = std::isfinite(options.scaleY) && options.scaleY > 0 ? options.scaleY : 1;
        // Lines are broken at scale 1, so that every scale breaks them at the same characters;
        // the finished lines are scaled.
        m_width = toInternal(std::clamp(rect.width() * double(kUnit) / m_scaleX, 0.0, 1e8));
        if (options.lineHeight > 0 && std::isfinite(options.lineHeight))
            m_givenHeight = int(std::min(options.lineHeight + 0.5, 1e6)) * kUnit;
        measureStyles();
        const QString& text = m_content->text;
        m_paragraphStyle.resize(text.size());
        for (qsizetype i = text.size() - 1, style = -1; i >= 0; --i) {
            if (text[i] == u'\n' || style < 0) style = m_content->styleOfChar[i];
            m_paragraphStyle[i] = int(style);
        }
    }

    int run() {
        const QString& text = m_content->text;
        startLine(0, true);
        for (int i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            const RichTextStyle& style = paragraphStyle(i);
            m_positions.append(m_x);
            raise(m_styleMetrics[m_content->styleOfChar[i]]);
            if (c == u'\n') {
                finishLine(int(m_positions.size()), m_x, false);
                startLine(i + 1, true);
                continue;
            }
            m_x += advance(i, c, style);
            if (c == u' ' || !m_options.wordWrap) {
                m_breakCount = int(m_positions.size());
                m_breakWidth = c == u' ' ? m_positions.back() : m_x;
            }
            if (m_x <= available(style)) continue;
            // Past the width: the line ends at its last break point, or after this character
            // when a single word fills it. The characters after the break start the next line.
            if (m_breakCount == 0) {
                m_breakCount = int(m_positions.size());
                m_breakWidth = m_x;
            }
            finishLine(m_breakCount, m_breakWidth, true);
            if (!m_options.wordWrap) return rtfLineTooLong;
            i = m_firstChar + m_breakCount - 1;
            startLine(i + 1, false);
        }
        if (!m_positions.isEmpty()) finishLine(int(m_positions.size()), m_x, false);
        return rtfOk;
    }

private:
    void measureStyles() {
        for (const RichTextStyle& style : m_content->styles) {
            double em = 0;
            const TFont font = styleFont(m_base, style, em);
            const platform::TTextMetrics metrics = platform::measureMetrics(font, em * kUnit);
            m_styleMetrics.append({toInternal(metrics.ascent), toInternal(metrics.height)});
        }
        // Advances of all characters of a style at once, at the scale in x.
        m_advances.resize(m_content->text.size());
        QList<QString> textOfStyle(m_content->styles.size());
        QList<QList<int>> indexOfStyle(m_content->styles.size());
        for (int i = 0; i < m_content->text.size(); ++i) {
            textOfStyle[m_content->styleOfChar[i]].append(m_content->text[i]);
            indexOfStyle[m_content->styleOfChar[i]].append(i);
        }
        for (int s = 0; s < m_content->styles.size(); ++s) {
            if (textOfStyle[s].isEmpty()) continue;
            double em = 0;
            const TFont font = styleFont(m_base, m_content->styles[s], em);
            const QVector<double> exact =
                platform::measureAdvances(font, em * kUnit, textOfStyle[s]);
            for (int k = 0; k < exact.size(); ++k)
                m_advances[indexOfStyle[s][k]] = toInternal(exact[k]);
        }
    }

    int advance(int index, QChar c, const RichTextStyle& style) const {
        if (c == u'\r') return 0;
        if (c == u'\t') {
            // Tab stops lie at multiples of the tab width from the inner left edge.
            const int tab = std::max(twipsToInternal(style.tabWidth), 1);
            const long long from = 1LL * m_indent + m_x;
            const long long stop = (from >= 0 ? from / tab + 1 : -((-from) / tab)) * tab;
            return int(std::min<long long>(stop - from, 1 << 28));
        }
        if (c.category() == QChar::Other_Control) return 0;
        if (m_options.charWidth > 0 && std::isfinite(m_options.charWidth))
            return toInternal(std::min(m_options.charWidth * kUnit, 1e8));
        return m_advances[index];
    }

    int available(const RichTextStyle& style) const {
        long long width = 1LL * m_width - kUnit - twipsToInternal(style.leftIndent) -
                          twipsToInternal(style.rightIndent);
        if (m_firstLine) width -= twipsToInternal(style.firstIndent);
        return int(std::clamp<long long>(width, -(1 << 29), 1 << 29));
    }

    void raise(const StyleMetrics& metrics) {
        m_height = std::max(m_height, metrics.height);
        m_ascent = std::max(m_ascent, metrics.ascent);
    }

    void startLine(int firstChar, bool firstLine) {
        m_firstChar = firstChar;
        m_firstLine = firstLine;
        m_positions.clear();
        m_x = 0;
        m_height = m_givenHeight;
        m_ascent = 0;
        m_breakCount = 0;
        m_breakWidth = 0;
        const RichTextStyle& style = paragraphStyle(firstChar);
        m_indent = twipsToInternal(style.leftIndent);
        if (firstLine)
            m_indent += twipsToInternal(style.firstIndent) + twipsToInternal(style.bulletIndent);
    }

    // Paragraph properties are those in force at the paragraph's end, as in RTF: indents set
    // after a bullet's text still indent the bullet's paragraph.
    const RichTextStyle& paragraphStyle(int index) const {
        static const RichTextStyle none;
        if (index >= m_paragraphStyle.size()) return none;
        return m_content->styles[m_paragraphStyle[index]];
    }

    void finishLine(int count, int width, bool wrapped) {
        const RichTextStyle& style = paragraphStyle(m_firstChar);
        TRadek line;
        line.width = width;
        line.height = m_height;
        line.baseline = m_ascent;
        line.positions = m_positions.first(count);
        line.firstLine = m_firstLine;
        line.firstChar = m_firstChar;
        line.charCount = count;
        line.content = m_content;
        // A wrapped line's height and baseline come from the characters it keeps.
        if (count < m_positions.size()) {
            line.height = m_givenHeight;
            line.baseline = 0;
            for (int k = 0; k < count; ++k) {
                const StyleMetrics& m = m_styleMetrics[m_content->styleOfChar[m_firstChar + k]];
                line.height = std::max(line.height, m.height);
                line.baseline = std::max(line.baseline, m.ascent);
            }
        }
        place(line, style, wrapped);
        scale(line);
        m_lines.Add(std::move(line));
    }

    // Start x by alignment; justified lines that ended by wrapping are stretched to the right
    // indent.
    void place(TRadek& line, const RichTextStyle& style, bool wrapped) const {
        const long long left = twipsToInternal(style.leftIndent);
        const long long right = twipsToInternal(style.rightIndent);
        const long long bullet = twipsToInternal(style.bulletIndent);
        const long long first = line.firstLine ? twipsToInternal(style.firstIndent) : 0;
        long long start = kUnit + left + (line.firstLine ? first + bullet : 0);
        switch (style.alignment) {
        case alignRight:
            start = m_width - kUnit - line.width - right;
            break;
        case alignCenter:
            start = (m_width - line.width - left - right) / 2 + left + bullet;
            break;
        case alignJustify:
            start = kUnit + left + bullet + first;
            if (wrapped && line.width > 0) {
                const double factor = double(m_width - right - start) / line.width;
                if (factor > 1) {
                    for (int& p : line.positions)
                        p = toInternal(p * factor);
                    line.width = int(m_width - right - start);
                }
            }
            break;
        default:
            break;
        }
        line.startX = int(std::clamp<long long>(start, -(1 << 29), 1 << 29));
    }

    void scale(TRadek& line) const { scaleLine(line, m_scaleX, m_scaleY); }

    TFont m_base;
    RichTextOptions m_options;
    std::shared_ptr<const RichTextContent> m_content;
    TRadky& m_lines;
    int m_width = 0;
    double m_scaleX = 1;
    double m_scaleY = 1;
    int m_givenHeight = 0;
    QList<StyleMetrics> m_styleMetrics;
    QVector<int> m_advances;
    QVector<int> m_paragraphStyle; // per character: the style of its paragraph's end

    // The line being laid out.
    int m_firstChar = 0;
    bool m_firstLine = true;
    QVector<int> m_positions;
    int m_x = 0;
    int m_height = 0;
    int m_ascent = 0;
    int m_indent = 0;
    int m_breakCount = 0;
    int m_breakWidth = 0;
};

RichTextBase baseOf(const TFont& font, int alignment) {
    RichTextBase base;
    base.bold = font.bold;
    base.italic = font.italic;
    base.underline = font.underline;
    base.alignment = std::clamp(alignment, 0, 3);
    return base;
}

// Output of positioned glyphs, one run per font and baseline.
class RunWriter {
public:
    explicit RunWriter(TCanvas& canvas) : m_canvas(canvas) {}
    ~RunWriter() { flush(); }

    void add(const TFont& font, int baselineY, QChar c, long long x, long long nextX) {
        // A gap (a tab, a skipped character) starts a new run at the character's own place.
        if (m_text.size() >= kMaxRun || baselineY != m_baselineY || !(font == m_font) ||
            toOutput(x) != m_lastX)
            flush();
        if (m_text.isEmpty()) {
            m_font = font;
            m_baselineY = baselineY;
            m_originX = toOutput(x);
            m_lastX = m_originX;
        }
        const int next = toOutput(nextX);
        m_text.append(c);
        m_advances.append(next - m_lastX);
        m_lastX = next;
    }

    void flush() {
        if (m_text.isEmpty()) return;
        m_canvas.SetFont(m_font);
        m_canvas.TextOut(m_originX, m_baselineY, m_text, m_advances);
        m_text.clear();
        m_advances.clear();
    }

private:
    TCanvas& m_canvas;
    TFont m_font;
    int m_baselineY = 0;
    int m_originX = 0;
    int m_lastX = 0;
    QString m_text;
    QVector<int> m_advances;
};

} // namespace

QString TRadek::text() const {
    return content ? content->text.mid(firstChar, charCount) : QString();
}

const TRadek& TRadky::GetRadek(int i) const {
    static const TRadek empty;
    if (i >= 0 && i < m_lines.size()) return m_lines[i];
    return m_lines.isEmpty() ? empty : m_lines.front();
}

int TRadky::TotalHeight() const {
    if (m_lines.isEmpty() || (m_lines.size() == 1 && m_lines.front().width == 0)) return 0;
    long long sum = 0;
    for (const TRadek& line : m_lines)
        sum += line.height;
    return int(std::min<long long>((sum + kUnit - 1) / kUnit + 1, 1 << 30));
}

bool TRadky::FitHeight(int first, int height, int& used, int& last) const {
    first = std::max(first, 0);
    long long sum = kUnit;
    const long long limit = 1LL * height * kUnit;
    last = first - 1;
    for (int i = first; i < m_lines.size(); ++i) {
        if (sum + m_lines[i].height > limit) break;
        sum += m_lines[i].height;
        last = i;
    }
    used = int(std::min<long long>((sum + kUnit - 1) / kUnit, 1 << 30));
    return last == m_lines.size() - 1;
}

void TRadky::AppendLines(const TRadky& other) {
    const QList<TRadek> copy = other.m_lines; // safe when other is this list
    m_lines.append(copy);
}

QString TRadky::Text() const {
    QString text;
    for (const TRadek& line : m_lines)
        text += line.text();
    return text;
}

TRadky ScaledLines(const TRadky& lines, int first, int last, double scaleX, double scaleY) {
    if (!std::isfinite(scaleX) || scaleX <= 0) scaleX = 1;
    if (!std::isfinite(scaleY) || scaleY <= 0) scaleY = 1;
    TRadky scaled;
    for (int i = std::max(first, 0); i <= last && i < lines.Count(); ++i) {
        TRadek line = lines.GetRadek(i);
        scaleLine(line, scaleX, scaleY);
        scaled.Add(std::move(line));
    }
    return scaled;
}

int LayoutRichText(const TCanvas& canvas, const TRect& rect, const QString& text,
                   const RichTextOptions& options, TRadky& lines) {
    lines.Clear();
    auto content = std::make_shared<RichTextContent>(
        ReadRichText(text, options.rtf, baseOf(canvas.Font(), options.alignment)));
    const int readError = content->error;
    const int result = Layout(canvas, rect, options, std::move(content), lines).run();
    return readError != rtfOk ? readError : result;
}

int LayoutRichTextToFit(const TCanvas& canvas, const TRect& rect, const QString& text,
                        const RichTextOptions& options, TRadky& lines) {
    const int result = LayoutRichText(canvas, rect, text, options, lines);
    int used = 0;
    int last = 0;
    if (!lines.FitHeight(0, rect.height(), used, last)) {
        TRadky fitting;
        for (int i = 0; i <= last; ++i)
            fitting.Add(lines.GetRadek(i));
        lines = fitting;
    }
    return result;
}

void DrawRichTextLines(TCanvas& canvas, const TRect& rect, const TRadky& lines, int first,
                       int last, const RichTextOptions& options) {
    first = std::max(first, 0);
    last = std::min(last, lines.Count() - 1);
    if (first > last) return;
    const TFont base = canvas.Font();
    const double scaleY = std::isfinite(options.scaleY) && options.scaleY > 0 ? options.scaleY : 1;
    canvas.SaveState();
    canvas.SetTextBackground(false, canvas.TextBackground());
    canvas.SetTextAlign(platform::taLeft | platform::taBaseline);
    {
        RunWriter runs(canvas);
        long long top = 1LL * rect.top * kUnit + kUnit;
        const long long left = 1LL * rect.left * kUnit;
        for (int i = first; i <= last; ++i) {
            const TRadek& line = lines.GetRadek(i);
            const int baselineY = toOutput(top + line.baseline);
            for (int k = 0; k < line.charCount && line.content; ++k) {
                const int index = line.firstChar + k;
                const QChar c = line.content->text[index];
                if (c.category() == QChar::Other_Control) continue;
                double em = 0;
                TFont font =
                    styleFont(base, line.content->styles[line.content->styleOfChar[index]], em);
                font.height = em * scaleY;
                const long long x = left + line.startX + line.positions[k];
                const long long next = k + 1 < line.positions.size()
                                           ? left + line.startX + line.positions[k + 1]
                                           : left + line.startX + line.width;
                runs.add(font, baselineY, c, x, std::max(next, x));
            }
            top += line.height;
        }
    }
    canvas.RestoreState();
}

bool DrawPlainLine(TCanvas& canvas, const TRect& rect, const QString& text,
                   const RichTextOptions& options, int& result) {
    if (options.rtf || options.wordWrap || text.size() > kMaxRun) return false;
    for (const QChar c : text)
        if (c.category() == QChar::Other_Control) return false;
    result = rtfOk;
    if (text.isEmpty()) return true;
    const double scaleX = std::isfinite(options.scaleX) && options.scaleX > 0 ? options.scaleX : 1;
    const double scaleY = std::isfinite(options.scaleY) && options.scaleY > 0 ? options.scaleY : 1;
    // The plain reader's one style is the base font's; laid out at scale 1 in internal units.
    TFont font = canvas.Font();
    font.escapement = 0;
    const double em = baseEmHeight(font);
    const QVector<double> exact = platform::measureAdvances(font, em * kUnit, text);
    const int ascent = std::max(0, toInternal(platform::measureMetrics(font, em * kUnit).ascent));
    const int width = toInternal(std::clamp(rect.width() * double(kUnit) / scaleX, 0.0, 1e8));
    const int available = int(std::clamp<long long>(1LL * width - kUnit, -(1 << 29), 1 << 29));
    const bool fixed = options.charWidth > 0 && std::isfinite(options.charWidth);
    const int fixedAdvance = fixed ? toInternal(std::min(options.charWidth * kUnit, 1e8)) : 0;
    // A line longer than the width ends after the character that crosses it, without the
    // width of that character when it is a blank.
    QVector<int> positions;
    positions.reserve(text.size());
    int x = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        positions.append(x);
        x += fixed ? fixedAdvance : toInternal(exact[i]);
        if (x > available) {
            result = rtfLineTooLong;
            if (text[i] == u' ') x = positions.back();
            break;
        }
    }
    long long start = kUnit;
    switch (std::clamp(options.alignment, 0, 3)) {
    case alignRight:
        start = 1LL * width - kUnit - x;
        break;
    case alignCenter:
        start = (1LL * width - x) / 2;
        break;
    case alignJustify:
        // A justified line that ended at the width is stretched to it.
        if (result == rtfLineTooLong && x > 0 && double(width - kUnit) / x > 1) {
            const double factor = double(width - kUnit) / x;
            for (int& p : positions)
                p = toInternal(p * factor);
            x = width - kUnit;
        }
        break;
    default:
        break;
    }
    // Placed at scale 1, then scaled, as every laid-out line is.
    const int startX = toInternal(std::clamp<long long>(start, -(1 << 29), 1 << 29) * scaleX);
    const long long left = 1LL * rect.left * kUnit + startX;
    const int baselineY = toOutput(1LL * rect.top * kUnit + kUnit + toInternal(ascent * scaleY));
    const long long end = left + toInternal(x * scaleX);
    const int originX = toOutput(left + toInternal(positions[0] * scaleX));
    QVector<int> advances(positions.size());
    int lastX = originX;
    for (qsizetype k = 0; k < positions.size(); ++k) {
        const long long next =
            k + 1 < positions.size() ? left + toInternal(positions[k + 1] * scaleX) : end;
        const int nextX = toOutput(next);
        advances[k] = nextX - lastX;
        lastX = nextX;
    }
    canvas.SaveState();
    canvas.SetTextBackground(false, canvas.TextBackground());
    canvas.SetTextAlign(platform::taLeft | platform::taBaseline);
    font.height = em * scaleY;
    canvas.SetFont(font);
    canvas.TextOut(originX, baselineY, text.left(positions.size()), advances);
    canvas.RestoreState();
    return true;
}

int DrawRichText(TCanvas& canvas, const TRect& rect, const QString& text,
                 const RichTextOptions& options) {
    int plain = rtfOk;
    if (DrawPlainLine(canvas, rect, text, options, plain)) return plain;
    TRadky lines;
    const int result = LayoutRichText(canvas, rect, text, options, lines);
    DrawRichTextLines(canvas, rect, lines, 0, lines.Count() - 1, options);
    return result;
}

int DrawRichTextToFit(TCanvas& canvas, const TRect& rect, const QString& text,
                      const RichTextOptions& options) {
    TRadky lines;
    const int result = LayoutRichTextToFit(canvas, rect, text, options, lines);
    DrawRichTextLines(canvas, rect, lines, 0, lines.Count() - 1, options);
    return result;
}

void DrawRotatedText(TCanvas& canvas, const TRect& rect, const QString& text, int angle,
                     double scaleX, double scaleY, const TFont& font) {
    if (!std::isfinite(scaleX) || scaleX <= 0) scaleX = 1;
    if (!std::isfinite(scaleY) || scaleY <= 0) scaleY = 1;
    const QString shown = text.left(kMaxRotated);
    // Advances at 72 times the size, scaled and rounded on the running sum.
    const double em = baseEmHeight(font);
    const QVector<double> exact = platform::measureAdvances(font, em * kUnit, shown);
    QVector<int> advances;
    double sum = 0;
    int previous = 0;
    for (const double a : exact) {
        sum += a;
        const int at = int(std::floor(sum * scaleX / kUnit + 0.5));
        advances.append(at - previous);
        previous = at;
    }
    const TRect scaled{int(std::lrint(rect.left * scaleX)), int(std::lrint(rect.top * scaleY)),
                       int(std::lrint(rect.right * scaleX)),
                       int(std::lrint(rect.bottom * scaleY))};
    const double radians = (angle % 360) * M_PI / 180;
    const double cx = (scaled.left + scaled.right) / 2.0;
    const double cy = (scaled.top + scaled.bottom) / 2.0;
    const double half = previous / 2.0;

    TFont rotated = font;
    rotated.height = em * scaleY;
    rotated.escapement = int(std::clamp<long long>(1LL * angle * 10, -3600000, 3600000));
    canvas.SaveState();
    canvas.SetFont(rotated);
    canvas.SetTextBackground(false, canvas.TextBackground());
    canvas.SetTextAlign(platform::taLeft | platform::taBaseline);
    canvas.TextOut(int(std::lrint(cx - half * std::cos(radians))),
                   int(std::lrint(cy + half * std::sin(radians))), shown, advances, &scaled);
    canvas.RestoreState();
}

QString RichTextPlainText(const QString& text, bool rtf) {
    return ReadRichText(text, rtf).text;
}

} // namespace report
