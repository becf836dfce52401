// Places and sizes at the ends of int, as a template, a paste or the designer may hold them:
// every output draws and writes them without overflowing, and beyond any page a larger value
// changes nothing.

#include "support/ExportFixture.h"

#include "report/engine/export/sest_str.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <climits>

using namespace report;
using namespace reporttest;

namespace {

// Far beyond any paper (10,000 inches), yet well inside int.
constexpr int kFar = 1'000'000;

// Everything the outputs make of page 0: the page view and every export.
QByteArray everyOutput(TSestVystup& doc) {
    doc.ShowPage(0);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    out.write(doc.PageView().dump().toUtf8());
    QTemporaryDir dir;
    SaveToHTML(doc, out, dir.path(), 0, "x.html");
    SaveToRTF(doc, out);
    SavePageMetafile(doc, out, 0, false, true);
    SavePageMetafile(doc, out, 0, false, false);
    SaveToText(doc, out, 1, 1, 1);
    return out.data();
}

struct Field {
    const char* name;
    QString line; // an element on the page
    std::function<void(TVoranReportElement&, int)> set;
};

} // namespace

// Each field, set beyond any page (as the designer or a program sets it) and read from a
// template line: a million and the end of int come out alike in every output.
TEST(ExtremeSizes, BeyondThePageALargerValueChangesNothing) {
    const QString text = textLine("T", 1, "0", 10, 10, 100, 100, "a b", 16);
    const QString line = "T,7,0,10,10,100,100,,1,0,0,127,15,0";
    const QString frame = "T,8,0,10,10,100,100,,1,0,0,15,15,0";
    const QString barcode = "T,12,0,10,10,300,100,,3,0,0,32,15,0,\"12345\",0,0,0";
    const Field fields[] = {
        {"line pen", line, [](TVoranReportElement& e, int v) { e.PenWidth = v; }},
        {"frame pen", frame, [](TVoranReportElement& e, int v) { e.PenWidth = v; }},
        {"rounded frame pen", "T,9" + frame.mid(3),
         [](TVoranReportElement& e, int v) { e.PenWidth = v; }},
        {"ellipse pen", "T,10" + frame.mid(3),
         [](TVoranReportElement& e, int v) { e.PenWidth = v; }},
        {"barcode module", barcode, [](TVoranReportElement& e, int v) { e.PenWidth = v; }},
        {"left", text, [](TVoranReportElement& e, int v) { e.Left = v; }},
        {"top", frame, [](TVoranReportElement& e, int v) { e.Top = v; }},
        {"left before the page", frame, [](TVoranReportElement& e, int v) { e.Left = -v; }},
        {"width", text, [](TVoranReportElement& e, int v) { e.Width = v; }},
        {"height", line, [](TVoranReportElement& e, int v) { e.Height = v; }},
        {"barcode size", barcode,
         [](TVoranReportElement& e, int v) {
             e.Width = v;
             e.Height = v;
         }},
        {"font size", text, [](TVoranReportElement& e, int v) { e.Font.size = v; }},
        {"character spacing", text, [](TVoranReportElement& e, int v) { e.Spacing = v; }},
    };
    for (const Field& field : fields) {
        SCOPED_TRACE(field.name);
        QByteArray outputs[2];
        for (const int v : {kFar, INT_MAX}) {
            ExportDocument d;
            d.owned.push_back(std::make_unique<TVoranReportElement>(&d.report));
            TVoranReportElement& e = *d.owned.back();
            e.LoadFromLine(field.line);
            field.set(e, v);
            // The same written as a template line and read back.
            d.owned.push_back(std::make_unique<TVoranReportElement>(&d.report));
            d.owned.back()->LoadFromLine(e.SaveToLine("T"));
            d.add(0, &e, e.Text);
            d.add(0, d.owned.back().get(), e.Text);
            outputs[v == INT_MAX] = everyOutput(d.doc);
        }
        EXPECT_FALSE(outputs[0].isEmpty());
        EXPECT_TRUE(outputs[0] == outputs[1]);
    }
}

// A template whose paper, margins, sections, groups, background and elements all lie at the
// ends of int runs to its end like any other and gives the same pages as one at a million.
TEST(ExtremeSizes, TemplatesAtTheEndsOfIntRunLikeAnyOther) {
    QStringList pages[2];
    for (const qint64 v : {qint64(kFar), qint64(INT_MAX)}) {
        const QString n = QString::number(v);
        const QString paperLines[] = {"I,2,0," + n + "," + n + ",0,0,0,0,1,0",
                                      QStringLiteral("I,2,0,827,1169,%1,%1,%1,%1,1,0").arg(n),
                                      QStringLiteral("I,2,0,827,1169,-%1,-%1,0,0,2,%1").arg(n)};
        for (const QString& paper : paperLines) {
            SCOPED_TRACE(paper.toStdString());
            TableReport t({QStringLiteral("Vel1")}, {{"v"}, {"w"}, {"x"}});
            QStringList lines{paper, "I,4,0,Vel1,1," + n + ",1," + n + ",0",
                              QStringLiteral("I,7,1,1,0,%1,%1,%1,%1,x.bmp").arg(n)};
            for (int section = 0; section < 5; ++section)
                lines << sectionLine(section, true, int(v));
            for (const char* key : {"Z", "H", "T", "K", "P", "S0", "U0"})
                lines << textLine(key, 5, "3", int(v), int(v), int(v), int(v), "%d", 16 + 64)
                      << textLine(key, 2, "Vel1", 10, 10, 100, 100, "", 64);
            t.setTemplate(lines);
            ASSERT_EQ(t.report.Generate(true), 0);
            everyOutput(t.report.Vystup());
            pages[v == INT_MAX] << dump(t.report.Vystup());
        }
    }
    EXPECT_EQ(pages[0], pages[1]);
}
