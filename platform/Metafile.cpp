#include "platform/Metafile.h"

#include <QStringList>

namespace platform {

Metafile::Metafile(int width, int height, int unitsPerInch)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0)),
      m_unitsPerInch(unitsPerInch > 0 ? unitsPerInch : 600) {}

void Metafile::setSize(int width, int height) {
    m_width = std::max(width, 0);
    m_height = std::max(height, 0);
}

namespace {

struct Applier {
    TCanvas& canvas;
    void operator()(const meta::SelectPen& r) const { canvas.SetPen(r.pen); }
    void operator()(const meta::SelectBrush& r) const { canvas.SetBrush(r.brush); }
    void operator()(const meta::SelectFont& r) const { canvas.SetFont(r.font); }
    void operator()(const meta::TextMode& r) const {
        canvas.SetTextBackground(r.opaque, r.background);
        canvas.SetTextAlign(r.align);
    }
    void operator()(const meta::Line& r) const {
        canvas.MoveTo(r.from.x(), r.from.y());
        canvas.LineTo(r.to.x(), r.to.y());
    }
    void operator()(const meta::Shape& r) const {
        switch (r.kind) {
        case meta::ShapeKind::Rectangle:
            canvas.Rectangle(r.rect);
            break;
        case meta::ShapeKind::RoundRect:
            canvas.RoundRect(r.rect, r.corner.width(), r.corner.height());
            break;
        case meta::ShapeKind::Ellipse:
            canvas.Ellipse(r.rect);
            break;
        case meta::ShapeKind::FillRect:
            canvas.FillRect(r.rect);
            break;
        }
    }
    void operator()(const meta::Polygon& r) const { canvas.Polygon(r.points); }
    void operator()(const meta::Text& r) const {
        canvas.TextOut(r.origin.x(), r.origin.y(), r.text, r.advances,
                       r.clipped ? &r.clip : nullptr);
    }
    void operator()(const meta::Save&) const { canvas.SaveState(); }
    void operator()(const meta::Restore&) const { canvas.RestoreState(); }
    void operator()(const meta::Clip& r) const { canvas.IntersectClipRect(r.rect); }
    void operator()(const meta::Bitmap& r) const { canvas.StretchDraw(r.rect, r.image); }
    void operator()(const meta::Picture& r) const {
        if (r.metafile) canvas.StretchDraw(r.rect, *r.metafile);
    }
};

QString hex(TColor c) {
    return QStringLiteral("0x") + QStringLiteral("%1").arg(c, 6, 16, QChar('0')).toUpper();
}
QString rect(const TRect& r) {
    return QStringLiteral("%1,%2,%3,%4").arg(r.left).arg(r.top).arg(r.right).arg(r.bottom);
}
QString point(QPoint p) {
    return QStringLiteral("%1,%2").arg(p.x()).arg(p.y());
}

void dumpInto(const Metafile& metafile, const QString& indent, QStringList& lines);

struct Dumper {
    const QString& indent;
    QStringList& lines;
    void add(const QString& line) const { lines << indent + line; }
    void operator()(const meta::SelectPen& r) const {
        add(QStringLiteral("pen color=%1 style=%2 width=%3%4")
                .arg(hex(r.pen.color))
                .arg(r.pen.style)
                .arg(r.pen.width)
                .arg(r.pen.width <= 0 ? QStringLiteral(" cosmetic") : QString()));
    }
    void operator()(const meta::SelectBrush& r) const {
        add(QStringLiteral("brush color=%1 style=%2").arg(hex(r.brush.color)).arg(r.brush.style));
    }
    void operator()(const meta::SelectFont& r) const {
        const TFont& f = r.font;
        QString line =
            QStringLiteral("font \"%1\" height=%2").arg(f.name).arg(f.height, 0, 'f', 2);
        if (f.bold) line += QStringLiteral(" bold");
        if (f.italic) line += QStringLiteral(" italic");
        if (f.underline) line += QStringLiteral(" underline");
        if (f.strikeOut) line += QStringLiteral(" strikeout");
        line += QStringLiteral(" charset=%1 escapement=%2 color=%3")
                    .arg(f.charset)
                    .arg(f.escapement)
                    .arg(hex(f.color));
        add(line);
    }
    void operator()(const meta::TextMode& r) const {
        add(QStringLiteral("textmode %1 background=%2 align=%3")
                .arg(r.opaque ? QStringLiteral("opaque") : QStringLiteral("transparent"))
                .arg(hex(r.background))
                .arg(r.align));
    }
    void operator()(const meta::Line& r) const {
        add(QStringLiteral("line %1 -> %2").arg(point(r.from), point(r.to)));
    }
    void operator()(const meta::Shape& r) const {
        static const char* names[] = {"rectangle", "roundrect", "ellipse", "fillrect"};
        QString line = QString::fromLatin1(names[int(r.kind)]) + ' ' + rect(r.rect);
        if (r.kind == meta::ShapeKind::RoundRect)
            line += QStringLiteral(" corner=%1x%2").arg(r.corner.width()).arg(r.corner.height());
        add(line);
    }
    void operator()(const meta::Polygon& r) const {
        QStringList points;
        for (QPoint p : r.points)
            points << point(p);
        add(QStringLiteral("polygon ") + points.join(' '));
    }
    void operator()(const meta::Text& r) const {
        QStringList advances;
        for (int a : r.advances)
            advances << QString::number(a);
        QString line = QStringLiteral("text %1 \"%2\" advances=%3")
                           .arg(point(r.origin), r.text, advances.join(','));
        if (r.clipped) line += QStringLiteral(" clip=") + rect(r.clip);
        add(line);
    }
    void operator()(const meta::Save&) const { add(QStringLiteral("save")); }
    void operator()(const meta::Restore&) const { add(QStringLiteral("restore")); }
    void operator()(const meta::Clip& r) const { add(QStringLiteral("clip ") + rect(r.rect)); }
    void operator()(const meta::Bitmap& r) const {
        add(QStringLiteral("bitmap %1 image=%2x%3")
                .arg(rect(r.rect))
                .arg(r.image.width())
                .arg(r.image.height()));
    }
    void operator()(const meta::Picture& r) const {
        add(QStringLiteral("picture ") + rect(r.rect));
        if (r.metafile) dumpInto(*r.metafile, indent + QStringLiteral("  "), lines);
    }
};

void dumpInto(const Metafile& metafile, const QString& indent, QStringList& lines) {
    lines << indent + QStringLiteral("frame %1x%2 units-per-inch=%3")
                          .arg(metafile.width())
                          .arg(metafile.height())
                          .arg(metafile.unitsPerInch());
    const Dumper dumper{indent, lines};
    for (const MetaRecord& record : metafile.records())
        std::visit(dumper, record);
}

} // namespace

void Metafile::replay(TCanvas& canvas) const {
    const Applier applier{canvas};
    for (const MetaRecord& record : m_records)
        std::visit(applier, record);
}

QString Metafile::dump() const {
    QStringList lines;
    dumpInto(*this, QString(), lines);
    return lines.join('\n') + '\n';
}

} // namespace platform
