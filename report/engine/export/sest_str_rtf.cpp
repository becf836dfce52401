// RTF export of the whole document: font and colour tables, then one group per page of
// absolutely positioned paragraphs (frames) in twips.

#include "report/engine/export/sest_str.h"

#include "platform/AtomicFile.h"
#include "platform/Windows1250.h"
#include "report/engine/document/sestvyst.h"
#include "report/engine/printing/sestprn.h"
#include "report/engine/sest_lib.h"

#include <QCoreApplication>
#include <QStringList>

namespace report {

using platform::TColor;

namespace {

// Values beyond the page's reach (a template may hold anything) are written at it.
int twips(qint64 hundredths) {
    return WithinPageReach(double(hundredths)) * 1440 / 100;
}

// 7-bit RTF text: markup characters escaped, Windows-1250 characters as \'hh, others as \uN?.
// Line feeds break the line; other control characters become blanks.
QByteArray rtfText(const QString& text) {
    QByteArray out;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const ushort u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += char(u);
        } else if (u == '\n') {
            out += "\\line ";
        } else if (u == '\r') {
            continue;
        } else if (u < 32) {
            out += ' ';
        } else if (u < 128) {
            out += char(u);
        } else if (const int code = platform::Windows1250Code(c); code >= 0) {
            out += QByteArray("\\'") + QByteArray::number(code, 16).rightJustified(2, '0');
        } else {
            out += "\\u" + QByteArray::number(qint16(u)) + '?';
        }
    }
    return out;
}

QString colorEntry(TColor c) {
    return QStringLiteral("\\red%1\\green%2\\blue%3;")
        .arg(platform::redOf(c))
        .arg(platform::greenOf(c))
        .arg(platform::blueOf(c));
}

QString fontEntry(const TVoranReportElement& e) {
    return QStringLiteral("\\fnil ") + e.Font.name + ';';
}

bool isShape(int kind) {
    return kind >= ekLine && kind <= ekEllipse;
}

// Sorted as text, case ignored, without duplicates.
QStringList sortedUnique(QStringList list) {
    list.sort(Qt::CaseInsensitive);
    list.removeDuplicates();
    return list;
}

class RtfDocument {
public:
    RtfDocument(const TSestVystup& document) : m_document(document) {
        QStringList fonts;
        QStringList colors;
        for (int p = 0; p < document.PageCount(); ++p) {
            const TStranaPrvku* page = document.Page(p);
            for (int i = 0; i < page->Count(); ++i) {
                const TVoranReportElement* e = page->Prvek(i)->Source();
                if (!e) continue;
                fonts << fontEntry(*e);
                if (isShape(e->Kind)) {
                    colors << colorEntry(e->PenColor) << colorEntry(e->BrushColor);
                } else {
                    colors << colorEntry(e->Font.color);
                }
            }
        }
        m_fonts = sortedUnique(fonts);
        m_colors = sortedUnique(colors);
    }

    QByteArray header() const {
        const auto& layout = m_document.pageLayout();
        QByteArray out = "{\\rtf1\\ansi\\ansicpg1250\\deff0\\deftab720{\\fonttbl";
        for (int i = 0; i < m_fonts.size(); ++i)
            out += "\\f" + QByteArray::number(i) + "\\fnil " +
                   rtfText(m_fonts[i].mid(6, m_fonts[i].size() - 7)) + ';';
        out += "}{\\colortbl";
        for (const QString& c : m_colors)
            out += c.toLatin1();
        out += "}{\\info{\\doccomm VoranReportGenerator}}";
        out += QStringLiteral("\\viewkind1\\paperw%1\\paperh%2\\margl%3\\margr%4\\margt%5\\margb%6"
                              "\\headery0\\footery0\r\n")
                   .arg(twips(layout.pageWidth))
                   .arg(twips(layout.pageHeight))
                   .arg(twips(layout.marginLeft))
                   .arg(twips(layout.marginRight))
                   .arg(twips(layout.marginTop))
                   .arg(twips(layout.marginBottom))
                   .toLatin1();
        return out;
    }

    QByteArray element(const TVystPrvek& v) const {
        const TVoranReportElement* e = v.Source();
        if (!e) return {};
        const int kind = e->Kind;
        if ((kind >= ekText && kind <= ekFunction && kind != ekItem) ||
            (kind == ekItem && !v.HasPicture()))
            return text(v, *e);
        if (kind == ekLine) return line(v, *e);
        if (kind >= ekFrame && kind <= ekEllipse) return frame(v, *e);
        return {};
    }

private:
    // Positions on the paper: the margins and the page setup's output offsets.
    qint64 xOffset() const {
        return qint64(m_document.pageLayout().marginLeft) + PageSetup().outputOffsetX;
    }
    qint64 yOffset() const {
        return qint64(m_document.pageLayout().marginTop) + PageSetup().outputOffsetY;
    }

    QByteArray position(qint64 width, qint64 height, qint64 top, qint64 left) const {
        return QStringLiteral("\\pvpg\\phpg\\absw%1\\absh%2\\posy%3\\posx%4")
            .arg(twips(width))
            .arg(-twips(height))
            .arg(twips(top))
            .arg(twips(left))
            .toLatin1();
    }
    int fontIndex(const TVoranReportElement& e) const {
        return std::max(int(m_fonts.indexOf(fontEntry(e))), 0);
    }
    int colorIndex(TColor c) const { return std::max(int(m_colors.indexOf(colorEntry(c))), 0); }

    QByteArray textRun(const TVoranReportElement& e, const QString& text) const {
        // As every output lays it out: a "Roman" font mapped, the size within the page's reach.
        const platform::TFont font = TextLayoutOf(e).font;
        QByteArray open;
        if (font.bold) open += "\\b";
        if (font.underline) open += "\\ul";
        if (font.italic) open += "\\i";
        if (font.strikeOut) open += "\\strike";
        static const char* const aligns[] = {"\\ql", "\\qr", "\\qc", "\\qj"};
        open += aligns[std::clamp(e.GetAlignment(), 0, 3)];
        QByteArray close;
        if (font.strikeOut) close += "\\strike0";
        if (font.italic) close += "\\i0";
        if (font.underline) close += "\\ul0";
        if (font.bold) close += "\\b0";
        return "\\f" + QByteArray::number(fontIndex(e)) + "\\cf" +
               QByteArray::number(colorIndex(e.Font.color)) + "\\fs" +
               QByteArray::number(int(std::lrint(font.size * 2))) + ' ' + open + ' ' +
               rtfText(text) + ' ' + close;
    }

    QByteArray text(const TVystPrvek& v, const TVoranReportElement& e) const {
        const TRadky* lines = v.Lines();
        if (!lines || lines->Count() < 2) {
            QByteArray out = "\\par\\pard";
            if (e.Options & soTop) out += "\\brdrt\\brdrs\\brdrw20 ";
            if (e.Options & soLeft) out += "\\brdrl\\brdrs\\brdrw20 ";
            if (e.Options & soBottom) out += "\\brdrb\\brdrs\\brdrw20 ";
            if (e.Options & soRight) out += "\\brdrr\\brdrs\\brdrw20 ";
            out += position(v.Width, v.Height, v.Top + yOffset(), v.Left + xOffset());
            return out +
                   textRun(e, lines ? v.ShownText() : RichTextPlainText(v.Text(), e.GetRtf()));
        }
        QByteArray out;
        int above = 0;
        for (int i = std::max(v.FirstLine(), 0); i <= v.LastLine() && i < lines->Count(); ++i) {
            const TRadek& line = lines->GetRadek(i);
            QString text = line.text();
            for (QChar& c : text)
                if (c.unicode() < 32) c = u' ';
            out += "\r\n\\par\\pard" +
                   position(v.Width, line.height / kInternalPerUnit,
                            v.Top + yOffset() + above / kInternalPerUnit, v.Left + xOffset()) +
                   textRun(e, text);
            above += line.height;
        }
        return out;
    }

    QByteArray side(const char* name, const char* dash, const TVoranReportElement& e) const {
        return QByteArray("\\brdr") + name + "\\brdrs" + dash + "\\brdrw" +
               QByteArray::number(WithinPageReach(e.PenWidth) * 12) + "\\brdrcf" +
               QByteArray::number(colorIndex(e.PenColor)) + ' ';
    }

    QByteArray line(const TVystPrvek& v, const TVoranReportElement& e) const {
        static const char* const dashes[] = {
            "", "\\brdrdash", "\\brdrdot", "\\brdrdashd", "\\brdrdashdd", "", ""};
        const char* dash = e.PenStyle >= 0 && e.PenStyle <= 6 ? dashes[e.PenStyle] : "";
        QByteArray out = "\\par\\pard";
        // A clear pen draws nothing, so it writes no border.
        if (e.PenStyle != platform::psClear) {
            if (e.Options & soTop) out += side("t", dash, e);
            if (e.Options & soLeft) out += side("l", dash, e);
            if (e.Options & soBottom) out += side("b", dash, e);
            if (e.Options & soRight) out += side("r", dash, e);
        }
        return out + position(v.Width, v.Height, v.Top + yOffset(), v.Left + xOffset());
    }

    QByteArray frame(const TVystPrvek& v, const TVoranReportElement& e) const {
        QByteArray out = "\\par\\pard";
        // The outline is drawn whenever the frame has a width, also with a clear pen style.
        if (e.PenWidth > 0)
            out += side("t", "", e) + side("l", "", e) + side("b", "", e) + side("r", "", e);
        return out + position(v.Width, v.Height, v.Top + yOffset(), v.Left + xOffset()) +
               "\\cbpat" + QByteArray::number(colorIndex(e.BrushColor));
    }

    const TSestVystup& m_document;
    QStringList m_fonts;
    QStringList m_colors;
};

} // namespace

bool SaveToRTF(TSestVystup& document, QIODevice& stream) {
    const RtfDocument rtf(document);
    QByteArray out = rtf.header();
    bool cancelled = false;
    for (int p = 0; p < document.PageCount() && !cancelled; ++p) {
        document.NotePage(p + 1);
        out += '{';
        const TStranaPrvku* page = document.Page(p);
        for (int i = 0; i < page->Count(); ++i) {
            out += rtf.element(*page->Prvek(i));
            QCoreApplication::processEvents();
            if (document.CancelRequested()) {
                cancelled = true;
                break;
            }
        }
        if (!cancelled)
            // The \pard keeps the page break out of the last frame, so that every page's
            // frames stay on their own page.
            out += p + 1 < document.PageCount() ? "\\par\\pard\\page}" : "\\par}";
    }
    out += '}';
    return stream.write(out) == out.size() && !cancelled;
}

bool SaveToRTFFile(TSestVystup& document, const QString& fileName) {
    return platform::writeFileAtomically(
        fileName, [&](QIODevice& file) { return SaveToRTF(document, file); });
}

} // namespace report
