// HTML export of one page: absolutely positioned DIVs in pixels of 1/100 inch inside a PRE,
// pictures and barcodes as BMP files beside the page.

#include "report/engine/export/sest_str.h"

#include "platform/PainterCanvas.h"
#include "report/engine/barcode/sestbarc.h"
#include "report/engine/document/TPicture.h"
#include "report/engine/document/sestvyst.h"
#include "report/engine/export/ExportFiles.h"
#include "report/engine/sest_lib.h"

#include <QCoreApplication>
#include <QPainter>

#include <algorithm>
#include <numeric>
#include <vector>

namespace report {

using platform::TColor;

namespace {

QString htmlColor(TColor c) {
    return QStringLiteral("#%1%2%3")
        .arg(platform::redOf(c), 2, 16, QChar('0'))
        .arg(platform::greenOf(c), 2, 16, QChar('0'))
        .arg(platform::blueOf(c), 2, 16, QChar('0'));
}

QString penStyleName(int style) {
    if (style == 1 || style == 3) return QStringLiteral("dashed");
    if (style == 2 || style == 4) return QStringLiteral("dotted");
    return QStringLiteral("solid");
}

QString escaped(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == u'<')
            out += QStringLiteral("&lt;");
        else if (c == u'>')
            out += QStringLiteral("&gt;");
        else if (c == u'&')
            out += QStringLiteral("&amp;");
        else
            out += c;
    }
    return out;
}

// The set sides in the order top, right, bottom, left, each with `style`.
QString sideList(int options, const QString& style) {
    QString out;
    if (options & soTop) out += QStringLiteral(" border-top") + style;
    if (options & soRight) out += QStringLiteral(" border-right") + style;
    if (options & soBottom) out += QStringLiteral(" border-bottom") + style;
    if (options & soLeft) out += QStringLiteral(" border-Left") + style;
    return out;
}

QString penSide(const TVoranReportElement& e) {
    return QStringLiteral(": %1px %2 %3;")
        .arg(WithinPageReach(e.PenWidth))
        .arg(penStyleName(e.PenStyle), htmlColor(e.PenColor));
}

struct TextStyle {
    QString font; // " letter-spacing ...; font: ...; color: ...\">" and the alignment opening
    QString open;
    QString close;
};

TextStyle textStyle(const TVoranReportElement& e, const platform::TFont& font) {
    TextStyle s;
    const int size = int(std::lrint(font.size));
    if (e.Spacing > 0)
        s.font += QStringLiteral(" letter-spacing: %1px;")
                      .arg(WithinPageReach(e.Spacing) - size * 11 / 16);
    s.font += QStringLiteral(" font: %1pt %2; color: %3\">")
                  .arg(size)
                  .arg(escaped(font.name), htmlColor(font.color));
    // The paragraph's own margins would move aligned text down.
    if (e.Alignment == 1)
        s.font += QStringLiteral("<p align=\"right\" style=\"margin:0\">");
    else if (e.Alignment == 2)
        s.font += QStringLiteral("<p align=\"center\" style=\"margin:0\">");
    if (font.bold) s.open += QStringLiteral("<b>");
    if (font.underline) s.open += QStringLiteral("<u>");
    if (font.italic) s.open += QStringLiteral("<i>");
    if (font.strikeOut) s.open += QStringLiteral("<strike>");
    if (font.strikeOut) s.close += QStringLiteral("</strike>");
    if (font.italic) s.close += QStringLiteral("</i>");
    if (font.underline) s.close += QStringLiteral("</u>");
    if (font.bold) s.close += QStringLiteral("</b>");
    return s;
}

// A line's characters: a blank after a visible character stays a blank, every other blank and
// every control character becomes "&nbsp;".
QString lineText(const QString& text) {
    QString out;
    bool afterVisible = false;
    for (QChar c : text) {
        if (c.unicode() < 32) {
            out += QStringLiteral("&nbsp;");
        } else if (c == u' ') {
            out += afterVisible ? QStringLiteral(" ") : QStringLiteral("&nbsp;");
            afterVisible = false;
        } else {
            out += escaped(QString(c));
            afterVisible = true;
        }
    }
    return out;
}

class HtmlPage {
public:
    HtmlPage(QIODevice& stream, const QString& folder, const QString& fileName,
             ExportFiles& pictures)
        : m_stream(stream), m_folder(folder), m_fileName(fileName), m_pictures(pictures) {
        if (!m_folder.isEmpty() && !m_folder.endsWith('/')) m_folder += '/';
    }

    // Element `number` of the page in drawing order: its DIVs stack in that order, wherever
    // they stand in the file.
    bool element(const TVystPrvek& v, int number) {
        const TVoranReportElement* e = v.Source();
        if (!e) return true;
        m_layer = number;
        const int kind = e->Kind;
        if ((kind >= ekText && kind <= ekFunction && kind != ekItem) ||
            (kind == ekItem && !v.HasPicture()))
            text(v, *e);
        else if (kind == ekLine)
            line(v, *e);
        else if (kind >= ekFrame && kind <= ekEllipse)
            frame(v, *e);
        else if (kind == ekPicture || kind == ekDrawingArea || kind == ekItem)
            return picture(v, *e, number);
        else if (kind == ekBarcode)
            return barcode(v, *e, number);
        return true;
    }

    void write(const QString& s) { m_out += s; }
    bool flush() { return m_stream.write(m_out.toUtf8()) >= 0; }

private:
    // Places and sizes beyond the page's reach are written at it.
    QString box(qint64 top, qint64 left, qint64 width, qint64 height) const {
        return QStringLiteral("position: absolute; top: %1px; left: %2px; width: %3px; "
                              "height: %4px; z-index: %5;")
            .arg(WithinPageReach(top))
            .arg(WithinPageReach(left))
            .arg(WithinPageReach(width))
            .arg(WithinPageReach(height))
            .arg(m_layer);
    }

    void text(const TVystPrvek& v, const TVoranReportElement& e) {
        // As every output lays it out: a "Roman" font mapped, the size within the page's reach.
        const platform::TFont font = TextLayoutOf(e).font;
        const TRadky* lines = v.Lines();
        if (!lines || lines->Count() < 2) {
            const QString plain = lines ? v.ShownText() : RichTextPlainText(v.Text(), e.GetRtf());
            const TextStyle s = textStyle(e, font);
            write(QStringLiteral("<DIV STYLE=\"") + box(v.Top, v.Left, v.Width, v.Height) +
                  sideList(e.Options, QStringLiteral(": 1px solid #000000;")) + s.font + s.open +
                  escaped(FitTextToWidth(plain, font, v.Width)) + s.close +
                  QStringLiteral("</DIV>\n"));
            return;
        }
        const TextStyle s = textStyle(e, font);
        int above = 0;
        for (int i = std::max(v.FirstLine(), 0); i <= v.LastLine() && i < lines->Count(); ++i) {
            const TRadek& line = lines->GetRadek(i);
            write(QStringLiteral("<DIV STYLE=\"") +
                  box(qint64(v.Top) + above / kInternalPerUnit, v.Left, v.Width,
                      line.height / kInternalPerUnit) +
                  s.font + s.open + lineText(line.text()) + s.close + QStringLiteral("</DIV>\n"));
            above += line.height;
        }
        if (e.Options & (soLeft | soTop | soRight | soBottom))
            write(QStringLiteral("<DIV STYLE=\"") + box(v.Top, v.Left, v.Width, v.Height) +
                  sideList(e.Options, QStringLiteral(": 1px solid #000000;")) +
                  QStringLiteral(" font: 0pt\"></DIV>\n"));
    }

    void line(const TVystPrvek& v, const TVoranReportElement& e) {
        // A clear pen draws nothing, so it writes no border.
        const QString sides =
            e.PenStyle == platform::psClear ? QString() : sideList(e.Options, penSide(e));
        write(QStringLiteral("<DIV STYLE=\"font: 0pt; ") + box(v.Top, v.Left, v.Width, v.Height) +
              sides + QStringLiteral("\"></DIV>\n"));
    }

    void frame(const TVystPrvek& v, const TVoranReportElement& e) {
        // A frame's outline is drawn whenever it has a width, whatever its pen style (a clear
        // pen draws nothing only for lines); a clear style is written as "solid".
        QString sides;
        if (e.PenWidth > 0) sides = sideList(soLeft | soTop | soRight | soBottom, penSide(e));
        write(QStringLiteral("<DIV STYLE=\"font: 0pt; background-color: %1; ")
                  .arg(htmlColor(e.BrushColor)) +
              box(v.Top, v.Left, v.Width, v.Height) + sides + QStringLiteral("\"></DIV>\n"));
    }

    QString pictureName(int number) const { return PageFileName(m_fileName, number, ".bmp"); }

    bool savePicture(const QImage& image, int number) {
        return !image.isNull() &&
               m_pictures.write(m_folder + pictureName(number),
                                [&](QIODevice& file) { return image.save(&file, "BMP"); });
    }

    void pictureDiv(const TVystPrvek& v, const QString& sides, int number) {
        write(QStringLiteral("<DIV STYLE=\"font: 0pt; ") + box(v.Top, v.Left, v.Width, v.Height) +
              sides + QStringLiteral("\"><IMG SRC=\"") + escaped(pictureName(number)) +
              QStringLiteral("\" ALT=\"\"></DIV>\n"));
    }

    static QImage whiteImage(qint64 width, qint64 height) {
        constexpr qint64 kMostPixels = 64 * 1024 * 1024;
        if (width <= 0 || height <= 0 || width > kMostPixels || height > kMostPixels ||
            width * height > kMostPixels)
            return {};
        QImage image(int(width), int(height), QImage::Format_RGB32);
        if (!image.isNull()) image.fill(Qt::white);
        return image;
    }

    bool picture(const TVystPrvek& v, const TVoranReportElement& e, int number) {
        const TPicture* shown = v.Picture();
        if (!shown && v.HasPicture()) shown = e.GetPicture();
        if (!shown || shown->isEmpty()) return true;
        TPicture copy = *shown;
        platform::TRect fitted{0, 0, v.Width, v.Height};
        FitPictureRect(fitted, e.Options & soPictureStretch, e.Options & soPictureKeepAspect, copy,
                       e.Kind == ekItem ? e.Alignment : 0, 1.0, 1.0);
        QImage image = whiteImage(v.Width, v.Height);
        if (image.isNull()) return false;
        {
            QPainter painter(&image);
            platform::PainterCanvas canvas(painter, 100);
            DrawPicture(canvas, fitted, copy);
        }
        if (!savePicture(image, number)) return false;
        const QString sides = e.Kind == ekItem && e.PenStyle != platform::psClear
                                  ? sideList(e.Options, penSide(e))
                                  : QString();
        pictureDiv(v, sides, number);
        return true;
    }

    bool barcode(const TVystPrvek& v, const TVoranReportElement& e, int number) {
        QImage large = whiteImage(6 * qint64(v.Width), 6 * qint64(v.Height));
        if (large.isNull()) return false;
        {
            QPainter painter(&large);
            platform::PainterCanvas canvas(painter, 600);
            DrawBarcodeScaled(canvas, platform::TRect{0, 0, large.width(), large.height()},
                              e.PenStyle, e.PenWidth, e.Angle, e.Options & soBarcodeCheckDigit,
                              e.Options & soBarcodeText, v.Text(), 6.0);
        }
        const QImage image =
            large.scaled(v.Width, v.Height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (!savePicture(image, number)) return false;
        pictureDiv(v, QString(), number);
        return true;
    }

    QIODevice& m_stream;
    QString m_folder;
    QString m_fileName;
    ExportFiles& m_pictures;
    QString m_out;
    int m_layer = 0;
};

// The page's elements as they read, top to bottom and left to right (equals in drawing
// order): the order of the DIVs, so that whatever reads the file in sequence (a text browser,
// a screen reader) meets the texts in the page's order.
std::vector<int> readingOrder(const TStranaPrvku& elements) {
    std::vector<int> order(size_t(elements.Count()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const TVystPrvek& x = *elements.Prvek(a);
        const TVystPrvek& y = *elements.Prvek(b);
        return std::pair(x.Top, x.Left) < std::pair(y.Top, y.Left);
    });
    return order;
}

// Page `page` into `stream`, its pictures written through `files`.
bool writePage(TSestVystup& document, QIODevice& stream, const QString& pictureFolder, int page,
               const QString& fileName, ExportFiles& files) {
    const TStranaPrvku* elements = document.Page(page);
    if (!elements) return false;
    document.NotePage(page + 1);
    HtmlPage html(stream, pictureFolder, fileName, files);
    const QString title =
        document.Title().isEmpty() ? QStringLiteral(" ") : escaped(document.Title());
    html.write(QStringLiteral("<HTML> <HEAD> <TITLE>") + title +
               QStringLiteral("</TITLE>\n"
                              "<META NAME=\"Creator\" CONTENT=\"VoranReportGenerator\">\n"
                              "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
                              "charset=utf-8\">\n"
                              "</HEAD> <BODY BGCOLOR = \"#FFFFFF\"><PRE>\n"));
    bool complete = true;
    for (const int i : readingOrder(*elements)) {
        // Pictures keep the names of their drawing order.
        if (!html.element(*elements->Prvek(i), i + 1)) {
            complete = false;
            break;
        }
        QCoreApplication::processEvents();
        if (document.CancelRequested()) {
            complete = false;
            break;
        }
    }
    html.write(QStringLiteral("</PRE></BODY> </HTML>\n"));
    return html.flush() && complete;
}

// Page `page` into `fileName`, its pictures beside it named after `pictureStem`.
bool writePageFile(TSestVystup& document, const QString& fileName, int page,
                   const QString& pictureStem, ExportFiles& files) {
    if (!document.Page(page)) return false;
    const int slash = int(fileName.lastIndexOf('/'));
    const QString folder = slash >= 0 ? fileName.left(slash + 1) : QString();
    const QString stem = pictureStem.isEmpty() ? fileName.mid(slash + 1) : pictureStem;
    return files.write(fileName, [&](QIODevice& file) {
        return writePage(document, file, folder, page, stem, files);
    });
}

} // namespace

bool SaveToHTML(TSestVystup& document, QIODevice& stream, const QString& pictureFolder, int page,
                const QString& fileName) {
    ExportFiles pictures;
    if (!writePage(document, stream, pictureFolder, page, fileName, pictures)) return false;
    return pictures.keep();
}

bool SaveToHTMLFile(TSestVystup& document, const QString& fileName, int page,
                    const QString& pictureStem) {
    ExportFiles files;
    if (!writePageFile(document, fileName, page, pictureStem, files)) return false;
    return files.keep();
}

bool SaveAllPagesHTML(TSestVystup& document, const QString& fileName, const QString& extension) {
    ExportFiles files;
    for (int k = 1; k <= document.PageCount(); ++k) {
        const QString stem = PageFileName(fileName, k, QStringLiteral("_") + extension);
        if (!writePageFile(document, PageFileName(fileName, k, extension), k - 1,
                           stem.mid(stem.lastIndexOf('/') + 1), files))
            return false;
    }
    return files.keep();
}

} // namespace report
