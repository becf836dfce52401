#include "platform/TextMeasure.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>

#include <memory>

namespace platform {

namespace {

// Large enough that the font engine's 1/64 pixel rounding vanishes (2048 is the em of most
// TrueType fonts, so advances come out in exact design units).
constexpr double referenceHeight = 2048;
constexpr qsizetype maxMeasuredFaces = 256;

// The metrics of a face at the reference height.
struct ReferenceMetrics {
    double ascent = 0;
    double descent = 0;
    double leading = 0;
    double averageCharWidth = 0;
    double maxWidth = 0;
};

class FaceMeasure {
public:
    // Qt finds the face's engine again for every metric it is asked, so they are read once.
    explicit FaceMeasure(const QFont& font)
        : m_metrics(font, device()), m_reference{m_metrics.ascent(), m_metrics.descent(),
                                                 m_metrics.leading(), m_metrics.averageCharWidth(),
                                                 m_metrics.maxWidth()} {}

    // Advance of one character (a code point).
    double advance(char32_t code) {
        const auto known = m_advances.constFind(code);
        if (known != m_advances.constEnd()) return *known;
        const double width = m_metrics.horizontalAdvance(QString::fromUcs4(&code, 1));
        m_advances.insert(code, width);
        return width;
    }
    const ReferenceMetrics& reference() const { return m_reference; }

private:
    // A fixed device, so that no screen's resolution or scale enters the numbers.
    static const QImage* device() {
        static const QImage image(1, 1, QImage::Format_RGB32);
        return &image;
    }
    QFontMetricsF m_metrics;
    ReferenceMetrics m_reference;
    QHash<char32_t, double> m_advances;
};

QFont qtFont(const TFont& font) {
    QFont result(font.name);
    result.setBold(font.bold);
    result.setItalic(font.italic);
    result.setUnderline(font.underline);
    result.setStrikeOut(font.strikeOut);
    result.setKerning(false);
    result.setHintingPreference(QFont::PreferNoHinting);
    result.setStyleStrategy(QFont::PreferOutline);
    return result;
}

// The fonts measured and drawn so far. They hold font engines of the application, so they are
// dropped with it (not at exit, after it).
struct FontCaches {
    QHash<QString, std::shared_ptr<FaceMeasure>> faces;
    QHash<QString, QRawFont> rawFonts;
    QString lastName;
    int lastStyle = -1;
    FaceMeasure* last = nullptr;
};

FontCaches*& cacheSlot() {
    static FontCaches* slot = nullptr;
    return slot;
}

FontCaches& caches() {
    FontCaches*& slot = cacheSlot();
    if (!slot) {
        slot = new FontCaches;
        qAddPostRoutine([] {
            delete cacheSlot();
            cacheSlot() = nullptr;
        });
    }
    return *slot;
}

FaceMeasure& faceFor(const TFont& font) {
    FontCaches& c = caches();
    // Layout measures many texts in one font after another: remember the last face.
    const int style = int(font.bold) | int(font.italic) << 1;
    if (c.last && style == c.lastStyle && font.name == c.lastName) return *c.last;
    auto& faces = c.faces;
    const QString key = font.name + QChar(u'\x1F') + QChar(font.bold ? u'b' : u'-') +
                        QChar(font.italic ? u'i' : u'-');
    auto face = faces.constFind(key);
    if (face == faces.constEnd()) {
        // Each face holds a font engine. A program that reads many templates and pictures may
        // meet any number of font names: keep a bounded number and start afresh beyond it (a
        // face made again measures the same).
        if (faces.size() >= maxMeasuredFaces) faces.clear();
        QFont reference = qtFont(font);
        reference.setPixelSize(int(referenceHeight));
        face = faces.insert(key, std::make_shared<FaceMeasure>(reference));
    }
    c.lastName = font.name;
    c.lastStyle = style;
    c.last = face->get();
    return **face;
}

} // namespace

QVector<double> measureAdvances(const TFont& font, double height, const QString& text) {
    FaceMeasure& face = faceFor(font);
    const double scale = height / referenceHeight;
    QVector<double> advances(text.size(), 0.0);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            advances[i] = face.advance(QChar::surrogateToUcs4(c, text[i + 1])) * scale;
            ++i;
        } else if (!c.isLowSurrogate()) {
            advances[i] = face.advance(c.unicode()) * scale;
        }
    }
    return advances;
}

TTextMetrics measureMetrics(const TFont& font, double height) {
    const ReferenceMetrics& m = faceFor(font).reference();
    const double scale = height / referenceHeight;
    TTextMetrics result;
    result.ascent = m.ascent * scale;
    result.descent = m.descent * scale;
    result.height = result.ascent + result.descent;
    result.internalLeading = std::max(0.0, result.height - height);
    result.externalLeading = m.leading * scale;
    result.avgCharWidth = m.averageCharWidth * scale;
    result.maxCharWidth = m.maxWidth * scale;
    return result;
}

QRawFont rawFontFor(const TFont& font, double pixelHeight) {
    // A page uses few fonts at few sizes; keep them, and start afresh when there are many.
    QHash<QString, QRawFont>& fonts = caches().rawFonts;
    const QString key = font.name + QChar(u'\x1F') + QChar(font.bold ? u'b' : u'-') +
                        QChar(font.italic ? u'i' : u'-') + QString::number(pixelHeight, 'g', 9);
    const auto known = fonts.constFind(key);
    if (known != fonts.constEnd()) return *known;
    if (fonts.size() > 256) fonts.clear();
    QFont face = qtFont(font);
    face.setPixelSize(int(referenceHeight));
    QRawFont raw = QRawFont::fromFont(face);
    if (raw.isValid()) raw.setPixelSize(pixelHeight);
    fonts.insert(key, raw);
    return raw;
}

QFont toQFont(const TFont& font, double pixelHeight, double deviceDpi) {
    QFont result = qtFont(font);
    result.setPointSizeF(std::max(pixelHeight, 0.01) * 72.0 / deviceDpi);
    return result;
}

} // namespace platform
