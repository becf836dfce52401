#include "report/engine/sest_lib.h"

#include "platform/Metafile.h"
#include "platform/NumberText.h"
#include "platform/TVoranCanvas.h"
#include "report/engine/sestzpr.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>

namespace report {
namespace {

// 0xBBGGRR, in template index order.
constexpr std::array<unsigned, 16> palette{
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
    0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};

constexpr std::array<int, 8> charsets{0, 161, 162, 186, 238, 204, 2, 1};

constexpr std::array<const char*, 11> zoomTexts{"32 %",  "40 %",  "50 %",  "64 %",  "75 %", "83 %",
                                                "100 %", "120 %", "150 %", "200 %", "300 %"};
// Held as float: the nearest-step comparison depends on their float values.
constexpr std::array<float, 11> zoomFactors{0.32f, 0.40f, 0.50f, 0.64f, 0.75f, 0.83f,
                                            1.0f,  1.2f,  1.5f,  2.0f,  3.0f};

constexpr std::array<int, 16> fontSizes{8,  9,  10, 11, 12, 14, 16, 18,
                                        20, 22, 24, 26, 28, 36, 48, 72};

const QString romanPrefix = QStringLiteral("Roman ");

// The two characters after "Roman " as a number; 0 when they are none.
int romanPitch(const QString& name) {
    return name.mid(romanPrefix.size(), 2).toInt();
}

int roundToInt(double v) {
    if (std::isnan(v)) return 0;
    v = std::nearbyint(v);
    if (v >= double(INT_MAX)) return INT_MAX;
    if (v <= double(INT_MIN)) return INT_MIN;
    return int(v);
}

} // namespace

platform::TColor IndexToColor(int index) {
    return index >= 0 && index < int(palette.size()) ? palette[index] : 0;
}

int ColorToIndex(platform::TColor colour) {
    int found = 0;
    for (int i = 0; i < int(palette.size()); ++i)
        if (palette[i] == colour) found = i;
    return found;
}

int CharsetToIndex(int charset) {
    int found = 7;
    for (int i = 0; i < int(charsets.size()); ++i)
        if (charsets[i] == charset) found = i;
    return found;
}

int IndexToCharset(int index) {
    return index >= 0 && index < int(charsets.size()) ? charsets[index] : 1;
}

int FontStyleToBits(const platform::TFont& font) {
    return (font.bold ? 1 : 0) | (font.italic ? 2 : 0) | (font.underline ? 4 : 0) |
           (font.strikeOut ? 8 : 0);
}

void BitsToFontStyle(platform::TFont& font, int bits) {
    font.bold = bits & 1;
    font.italic = bits & 2;
    font.underline = bits & 4;
    font.strikeOut = bits & 8;
}

bool IsRomanFont(const QString& name) {
    return name.startsWith(romanPrefix);
}

double RomanFontSize(const platform::TFont& font) {
    if (!IsRomanFont(font.name)) return font.size;
    switch (romanPitch(font.name)) {
    case 12:
        return 10;
    case 17:
        return 8;
    default:
        return 11;
    }
}

double RomanCharWidth(const QString& name, double width) {
    if (!IsRomanFont(name)) return width;
    const int pitch = romanPitch(name);
    return 100.0 / (pitch > 0 ? pitch : 10);
}

double RomanLineHeight(const QString& name, double height) {
    return IsRomanFont(name) ? 100.0 / 6 : height;
}

void MapRomanFont(platform::TFont& font) {
    if (!IsRomanFont(font.name)) return;
    font.size = RomanFontSize(font);
    font.height = 0;
    font.name = QStringLiteral("Courier New"); // fixed pitch
    font.charset = platform::csEastEurope;
}

void SetTemplateFont(platform::TFont& font, const QString& name, int size, int charset,
                     int styleBits, int colorIndex, const QStringList& printerFonts) {
    QString faceName = name;
    if (!printerFonts.contains(name, Qt::CaseInsensitive)) {
        const std::array<std::pair<const char*, int>, 5> suffixes{
            {{" CE", 238}, {" Greek", 161}, {" TUR", 162}, {" Baltic", 186}, {" CYR", 204}}};
        for (const auto& [suffix, suffixCharset] : suffixes) {
            const qsizetype at = name.indexOf(QLatin1String(suffix));
            if (at >= 0) {
                faceName = name.left(at);
                charset = suffixCharset;
                break;
            }
        }
    }
    font.color = IndexToColor(colorIndex);
    font.name = faceName;
    font.height = 0;
    if (size > 0)
        font.size = size;
    else if (size < 0)
        font.size = double(-qint64(size) * 72 / 100);
    else
        font.size = 10;
    BitsToFontStyle(font, styleBits);
    font.charset = charset;
}

void FillZoomList(QStringList& list) {
    for (const char* text : zoomTexts)
        list.append(QString::fromLatin1(text));
}

void FillFontSizeList(QStringList& list) {
    for (int size : fontSizes)
        list.append(QString::number(size));
}

double ZoomFactor(int step) {
    return zoomFactors[std::clamp(step, 0, int(zoomFactors.size()) - 1)];
}

int NearestZoomStep(int percent) {
    // Halfway between neighbours: percent / 100 < (f[i] + f[i+1]) / 2, in double.
    for (int i = 0; i + 1 < int(zoomFactors.size()); ++i)
        if (percent / 50.0 < double(zoomFactors[i]) + double(zoomFactors[i + 1])) return i;
    return int(zoomFactors.size()) - 1;
}

int SnapToGrid(double value, double step) {
    if (step == 0) return roundToInt(value);
    const double snapped = std::nearbyint(value / step) * step;
    return std::isfinite(snapped) ? roundToInt(snapped) : roundToInt(value);
}

int ScaleRound(double a, double b) {
    return roundToInt(a * b);
}

int UnscaleRound(double a, double b) {
    return b == 0 ? 0 : roundToInt(a / b);
}

int WithinPageReach(double value) {
    return roundToInt(std::clamp(value, double(-kPageReach), double(kPageReach)));
}

int CompareInt(int a, int b) {
    return b > a ? -1 : (a == b ? 0 : 1);
}

QString QuoteText(const QString& text) {
    QString out = text;
    return out.replace(QLatin1Char('"'), QLatin1String("\"\""));
}

QString QuotedField(const QString& text) {
    return QLatin1Char('"') + QuoteText(text) + QLatin1Char('"');
}

QString BareField(const QString& text) {
    const bool mustQuote = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"'));
    return mustQuote ? QuotedField(text) : text;
}

QString NextField(QString& line) {
    QString field;
    qsizetype i = 0;
    if (line.startsWith(QLatin1Char('"'))) {
        for (i = 1; i < line.size(); ++i) {
            if (line.at(i) != QLatin1Char('"')) {
                field += line.at(i);
            } else if (i + 1 < line.size() && line.at(i + 1) == QLatin1Char('"')) {
                field += QLatin1Char('"');
                ++i;
            } else {
                ++i; // the closing quote
                break;
            }
        }
    }
    const qsizetype comma = line.indexOf(QLatin1Char(','), i);
    const qsizetype end = comma < 0 ? line.size() : comma;
    field += line.mid(i, end - i);
    line.remove(0, comma < 0 ? line.size() : comma + 1);
    return field;
}

int NextFieldInt(QString& line, int fallback) {
    return platform::ParseInt(NextField(line)).value_or(fallback);
}

bool NextFieldBool(QString& line, bool fallback) {
    return NextFieldInt(line, fallback ? 1 : 0) != 0;
}

QString AddTrailingBackslash(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString FitTextToWidth(const QString& text, const platform::TFont& font, int width) {
    if (width <= 0) return {};
    platform::Metafile metafile(width, 10, 100);
    platform::TVoranCanvas canvas(metafile, 100);
    canvas.SetFont(font);
    if (canvas.TextWidth(text) <= width) return text;
    // Widths grow with every character, so the longest prefix that fits is found by halving.
    qsizetype fits = 0;
    qsizetype tooWide = text.size();
    while (tooWide - fits > 1) {
        const qsizetype middle = (fits + tooWide) / 2;
        (canvas.TextWidth(text.left(middle)) <= width ? fits : tooWide) = middle;
    }
    if (fits > 0 && text.at(fits - 1).isHighSurrogate()) --fits;
    return text.left(fits);
}

QString GetLibraryVersion() {
    return QStringLiteral("%1 %2.%3.%4 %5 %6")
        .arg(LoadText(ReportText::VersionText))
        .arg(5)
        .arg(40)
        .arg(17)
        .arg(LoadText(ReportText::VersionDated), QStringLiteral("09.04.2002"));
}

} // namespace report
