// The template text: files into lines, lines into the model, the model back into text.

#include "TestFiles.h"
#include "report/engine/printing/sestprn.h"
#include "report/engine/run/sestavy.h"
#include "report/engine/sest_lib.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <climits>
#include <functional>

using namespace report;

namespace {

// A report with the items of the binding tests and one registered detail.
struct Fixture {
    Fixture() {
        report.SetItemNames({QStringLiteral("name"), QStringLiteral("grp"), QStringLiteral("t"),
                             QStringLiteral("p")});
        detail.setMaster(&report);
    }
    void read(const QString& text) { report.SetPredloha(TPredloha(text.split(u'\n'))); }
    TVoranReportElement* element(int section, int i = 0) {
        return report.Oddily().Oddil(section)->Prvek(i);
    }

    TSestava report;
    TSestDetail detail;
};

TEST(TemplateFile, LineEndsBomAndEncoding) {
    EXPECT_EQ(TPredloha::FromBytes("a\r\nb\nc\rd"), QStringList({"a", "b", "c", "d"}));
    EXPECT_EQ(TPredloha::FromBytes("a\r\n\r\nb\r\n"), QStringList({"a", "", "b"}));
    EXPECT_EQ(TPredloha::FromBytes("\xEF\xBB\xBFI,0,\"x\""), QStringList({"I,0,\"x\""}));
    EXPECT_EQ(TPredloha::FromBytes(""), QStringList());
    // "Žluťoučký" in UTF-8 and in Windows-1250.
    EXPECT_EQ(TPredloha::FromBytes("\xC5\xBDlu\xC5\xA5ou\xC4\x8Dk\xC3\xBD").first(),
              QStringLiteral("Žluťoučký"));
    EXPECT_EQ(TPredloha::FromBytes("\x8Elu\x9Dou\xE8k\xFD").first(), QStringLiteral("Žluťoučký"));
    // Written as UTF-8 with CR LF, read back the same.
    const TPredloha lines{QStringLiteral("Žluťoučký"), QStringLiteral("b")};
    EXPECT_EQ(lines.ToBytes(), "\xC5\xBDlu\xC5\xA5ou\xC4\x8Dk\xC3\xBD\r\nb\r\n");
    EXPECT_EQ(TPredloha::FromBytes(lines.ToBytes()), lines);
}

// Every template of the corpus (every line kind, field and option bit among them) is written
// back byte for byte, and the written text reads into the same model again.
TEST(TemplateText, CorpusRoundTrip) {
    PageSetupGuard guard;
    const QDir corpus(QStringLiteral(KOLV_TEST_DATA_DIR "/templates"));
    const QStringList files = corpus.entryList({QStringLiteral("*.pts")}, QDir::Files);
    ASSERT_GE(files.size(), 2);
    for (const QString& name : files) {
        const QByteArray bytes = readFile(corpus.filePath(name));
        Fixture first;
        first.report.SetPredloha(TPredloha::FromBytes(bytes));
        const QByteArray written = first.report.WriteTemplate().ToBytes();
        EXPECT_EQ(QString::fromUtf8(written), QString::fromUtf8(bytes)) << name.toStdString();

        Fixture second;
        second.report.SetPredloha(TPredloha::FromBytes(written));
        EXPECT_EQ(second.report.WriteTemplate().ToBytes(), written) << name.toStdString();
    }
}

TEST(TemplateText, CorpusReadsIntoTheModel) {
    PageSetupGuard guard;
    Fixture f;
    f.report.SetPredloha(
        TPredloha::FromBytes(readFile(QStringLiteral(KOLV_TEST_DATA_DIR "/templates/full.pts"))));
    const TSestava& r = f.report;
    EXPECT_EQ(r.Popis, u"Přehled \"bodů\", verze 1");
    EXPECT_EQ(r.Columns(), 2);
    EXPECT_EQ(r.ColumnGap(), 25);
    EXPECT_TRUE(r.paper().landscape);
    EXPECT_EQ(r.paper().marginBottom, 130);
    EXPECT_EQ(r.Oddily().Oddil(odT)->Columns, 2); // copied when its I,3 line is read
    EXPECT_FALSE(r.Oddily().Oddil(odK)->Visible);
    EXPECT_EQ(r.Oddily().Oddil(odK)->VisibleHeight(), 0);
    EXPECT_TRUE(r.sectionFlags().reportFooterNewPage);
    EXPECT_TRUE(r.sectionFlags().reportFooterAtBottom);
    EXPECT_TRUE(r.sectionFlags().noPageFooterOnLastPage);

    ASSERT_EQ(r.Skupiny().Count(), 2);
    EXPECT_EQ(r.Skupiny().Name(1), u"Skupina 2");
    EXPECT_EQ(r.Skupiny().Skupina(0)->KeyIndex, 1); // "grp"
    EXPECT_EQ(r.Skupiny().Skupina(1)->KeyIndex, 2);
    EXPECT_EQ(r.Skupiny().Skupina(1)->Footer->Number, 8);
    EXPECT_EQ(r.Oddily().Count(), 9);

    ASSERT_EQ(r.Funkce().Count(), 2);
    EXPECT_EQ(r.Funkce().GetFunkce(1)->Name(), u"Popis");

    const TVoranReportElement* title = f.element(odZ);
    EXPECT_EQ(title->Text, u"Nadpis \"A\", první");
    EXPECT_EQ(title->Font.color, 0xFF0000u); // palette 12: blue
    EXPECT_TRUE(title->Font.bold);
    EXPECT_EQ(title->GetAlignment(), 2);
    EXPECT_TRUE(title->GetRtf());
    EXPECT_EQ(f.element(odH)->Index, 1);    // the item label named "grp"
    EXPECT_EQ(f.element(odT, 2)->Index, 0); // function "Soucet"
    EXPECT_EQ(f.element(odT, 2)->RefName, u"Soucet");
    EXPECT_EQ(f.element(odT, 3)->Index, 1); // function by number
    EXPECT_EQ(f.element(odT, 5)->PenStyle, 2);
    EXPECT_EQ(f.element(odT, 8)->Index, ekRoundFrame);
    EXPECT_EQ(f.element(odT, 12)->BrushStyle, 3);
    EXPECT_EQ(f.element(odT, 13)->Kind, ekDetail);
    EXPECT_EQ(r.Skupiny().Skupina(1)->Footer->Prvek(0)->Index, 6);

    // The detail got its lines without the "D0" field, and read its own body.
    EXPECT_EQ(f.detail.Predloha().size(), 3);
    EXPECT_EQ(f.detail.Popis, u"Detail");
    EXPECT_EQ(f.detail.Oddily().Oddil(odT)->Prvek(0)->Text, u"Řádek detailu");
}

// One row of the reader's rules: a template and what must come of it.
struct ReaderRule {
    const char* name;
    const char* text;
    std::function<void(Fixture&)> check;
};

TEST(TemplateText, ReaderRules) {
    PageSetupGuard guard;
    const ReaderRule rules[] = {
        {"old file: variable 4 of version 1.x build 2 is 5",
         "I,1,1,0,2\nZ,5,4\nZ,5,3\nZ,5,2147483647",
         [](Fixture& f) {
             EXPECT_EQ(f.element(odZ, 0)->Index, 5);
             EXPECT_EQ(f.element(odZ, 1)->Index, 3);
             EXPECT_EQ(f.element(odZ, 2)->Index, INT_MAX); // no overflow
         }},
        {"build 3 keeps it", "I,1,1,0,3\nZ,5,4",
         [](Fixture& f) { EXPECT_EQ(f.element(odZ)->Index, 4); }},
        {"major 2 keeps it", "I,1,2,0,0\nZ,5,4",
         [](Fixture& f) { EXPECT_EQ(f.element(odZ)->Index, 4); }},
        {"no I,1: current version", "Z,5,4",
         [](Fixture& f) { EXPECT_EQ(f.element(odZ)->Index, 4); }},
        {"major 0: I,2 has no paper size", "I,1,0,1,1\nI,2,1,50,60,70,80,3,10",
         [](Fixture& f) {
             EXPECT_TRUE(f.report.paper().landscape);
             EXPECT_FALSE(f.report.paper().orientationChangeable);
             EXPECT_EQ(f.report.paper().paperWidth, 0);
             EXPECT_EQ(f.report.paper().marginLeft, 50);
             EXPECT_EQ(f.report.paper().marginBottom, 80);
             EXPECT_EQ(f.report.Columns(), 3);
             EXPECT_EQ(f.report.ColumnGap(), 10);
         }},
        {"negative orientation is portrait", "I,2,-3,100,200",
         [](Fixture& f) {
             EXPECT_FALSE(f.report.paper().landscape);
             EXPECT_EQ(f.report.paper().paperWidth, 100);
         }},
        {"a detail skips H, P and the paper values",
         "D0,I,2,1,2100,2970,1,2,3,4,3,7\nD0,H,1\nD0,T,1\nD0,P,1\nD1,T,1\nDx,T,1",
         [](Fixture& f) {
             const TSestDetail& d = f.detail;
             EXPECT_EQ(d.Columns(), 3);
             EXPECT_EQ(d.ColumnGap(), 7);
             EXPECT_FALSE(d.paper().landscape);
             EXPECT_EQ(d.paper().paperWidth, 0);
             EXPECT_EQ(d.Oddily().Oddil(odH)->Count(), 0);
             EXPECT_EQ(d.Oddily().Oddil(odP)->Count(), 0);
             EXPECT_EQ(d.Oddily().Oddil(odT)->Count(), 1);
             EXPECT_EQ(f.report.Oddily().Oddil(odT)->Count(), 0);
         }},
        {"X lines, unknown keys and settings are ignored; one character is no setting",
         "X,1,0,0,0,10,10\nQ,1\nI,8,5\nI,-1,5\nI\nF\nI,0,\"kept\"",
         [](Fixture& f) {
             for (int s = 0; s < f.report.Oddily().Count(); ++s)
                 EXPECT_EQ(f.report.Oddily().Oddil(s)->Count(), 0);
             EXPECT_EQ(f.report.Funkce().Count(), 0);
             EXPECT_EQ(f.report.Popis, u"kept");
         }},
        {"a bare section key is an element of kind 0", "T",
         [](Fixture& f) {
             ASSERT_EQ(f.report.Oddily().Oddil(odT)->Count(), 1);
             EXPECT_EQ(f.element(odT)->Kind, ekNone);
         }},
        {"an unknown item name gives item 0 and keeps the name", "T,2,nosuch\nT,3,P",
         [](Fixture& f) {
             EXPECT_EQ(f.element(odT, 0)->Index, 0);
             EXPECT_EQ(f.element(odT, 0)->RefName, u"nosuch");
             EXPECT_EQ(f.element(odT, 1)->Index, 3); // names are found in any case
         }},
        {"an item number outside the list gives item 0", "T,2,12\nT,3,-1\nT,2,3",
         [](Fixture& f) {
             EXPECT_EQ(f.element(odT, 0)->Index, 0);
             EXPECT_EQ(f.element(odT, 1)->Index, 0);
             EXPECT_EQ(f.element(odT, 2)->Index, 3);
         }},
        {"a name is kept only by items, labels and functions", "T,4,abc\nT,1,abc",
         [](Fixture& f) {
             EXPECT_EQ(f.element(odT, 0)->RefName, QString());
             EXPECT_EQ(f.element(odT, 0)->Index, 0);
         }},
        {"doubled quotes are one quote", "T,1,0,0,0,10,10,Arial,10,0,0,0,0,238,\"a\"\"b\"",
         [](Fixture& f) { EXPECT_EQ(f.element(odT)->Text, u"a\"b"); }},
        {"an unterminated quote runs to the end of the line",
         "T,1,0,0,0,10,10,Arial,10,0,0,0,0,238,\"a,b",
         [](Fixture& f) { EXPECT_EQ(f.element(odT)->Text, u"a,b"); }},
        {"missing fields take defaults, surplus ones are ignored",
         "T,1\nT,1,0,1,2,3,4,Arial,"
         "10,0,0,0,0,238,\"x\",0,0,0,"
         "9,9,9",
         [](Fixture& f) {
             const TVoranReportElement* bare = f.element(odT, 0);
             EXPECT_EQ(bare->Kind, ekText);
             EXPECT_EQ(bare->Left, 0);
             EXPECT_EQ(bare->Text, QString());
             EXPECT_GE(bare->Font.size, 1);
             EXPECT_EQ(f.element(odT, 1)->Height, 4);
             EXPECT_EQ(f.element(odT, 1)->Further, 0);
         }},
        {"numbers that are none or overflow take the default", "T,1,0,99999999999,abc,-5,1e3",
         [](Fixture& f) {
             EXPECT_EQ(f.element(odT)->Left, 0);
             EXPECT_EQ(f.element(odT)->Top, 0);
             EXPECT_EQ(f.element(odT)->Width, -5);
             EXPECT_EQ(f.element(odT)->Height, 0);
         }},
        {"0 columns become 1, a negative section height 0",
         "I,2,0,1,1,0,0,0,0,0,5\n"
         "I,3,2,1,-40,0",
         [](Fixture& f) {
             EXPECT_EQ(f.report.Columns(), 1);
             EXPECT_EQ(f.report.Oddily().Oddil(odT)->Height, 0);
         }},
        {"colour indexes outside the palette are black",
         "T,1,0,0,0,10,10,Arial,10,99,0,0,0,238,\"\"\nT,8,0,0,0,10,10,,1,-4,0,0,16,0",
         [](Fixture& f) {
             EXPECT_EQ(f.element(odT, 0)->Font.color, 0u);
             EXPECT_EQ(f.element(odT, 1)->PenColor, 0u);
             EXPECT_EQ(f.element(odT, 1)->BrushColor, 0u);
         }},
        {"font sizes below one point become one",
         "T,1,0,0,0,10,10,Arial,-1,0,0,0,0,238,\"\"\nT,1,0,0,0,10,10,Arial,-100,0,0,0,0,238,"
         "\"\"",
         [](Fixture& f) {
             EXPECT_EQ(f.element(odT, 0)->Font.size, 1);
             EXPECT_EQ(f.element(odT, 1)->Font.size, 72);
         }},
        {"pen width: negative is 1; a thick line is solid",
         "T,8,0,0,0,10,10,,-7,0,3\nT,7,0,0,0,10,0,,3,0,2\nT,7,0,0,0,10,0,,1,0,2",
         [](Fixture& f) {
             EXPECT_EQ(f.element(odT, 0)->PenWidth, 1);
             EXPECT_EQ(f.element(odT, 0)->PenStyle, 3);
             EXPECT_EQ(f.element(odT, 1)->PenStyle, 0);
             EXPECT_EQ(f.element(odT, 2)->PenStyle, 2);
         }},
        {"frames take their kind as index; drawing-area zoom is 1..6",
         "T,10,3\nT,13,0,0,0,10,10,,1,0,0,0,0,0\nT,13,0,0,0,10,10,,1,0,0,0,0,9",
         [](Fixture& f) {
             EXPECT_EQ(f.element(odT, 0)->Index, 10);
             EXPECT_EQ(f.element(odT, 1)->BrushStyle, 1);
             EXPECT_EQ(f.element(odT, 2)->BrushStyle, 6);
         }},
        {"grid below 1 is 8; the character grid sets the cell", "I,6,0,0,-3\nI,6,1,1,1,2,2",
         [](Fixture& f) {
             EXPECT_EQ(f.report.characterGrid(), 1);
             EXPECT_DOUBLE_EQ(f.report.charWidth(), 6.0);
             EXPECT_DOUBLE_EQ(f.report.lineHeight(), 100.0 / 3);
             EXPECT_EQ(f.report.gridX(), 6);
             EXPECT_EQ(f.report.gridY(), 33);
             EXPECT_TRUE(f.report.SetTextPrinterMode());
         }},
        {"grid values without the character grid", "I,6,2,0,-3,1,1",
         [](Fixture& f) {
             EXPECT_EQ(f.report.characterGrid(), 0);
             EXPECT_EQ(f.report.gridX(), 8);
             EXPECT_EQ(f.report.gridY(), 8);
         }},
        {"group sections are numbered by position, whatever the group numbers; heights below 0 "
         "are 0",
         "I,4,5,grp\nI,4,5,t\nI,4,-3,0,1,-20,1,-1\nI,4,2147483647,1\nS3,1\nU2,1",
         [](Fixture& f) {
             const TListSkupin& groups = f.report.Skupiny();
             ASSERT_EQ(groups.Count(), 4);
             for (int i = 0; i < 4; ++i) {
                 EXPECT_EQ(groups.Skupina(i)->Header->Number, 2 * i + 5);
                 EXPECT_EQ(groups.Skupina(i)->Footer->Number, 2 * i + 6);
             }
             EXPECT_EQ(groups.Name(2), u"Skupina -2");
             EXPECT_EQ(groups.Name(3), u"Skupina 2147483648");
             EXPECT_EQ(groups.Skupina(1)->KeyIndex, 2);
             EXPECT_EQ(groups.Skupina(3)->Header->Count(), 1);
             EXPECT_EQ(groups.Skupina(2)->Footer->Count(), 1);
             EXPECT_EQ(groups.Skupina(2)->Header->Height, 0);
             EXPECT_EQ(groups.Skupina(2)->Footer->Height, 0);
         }},
        {"function defaults; a float format above 4 is 2",
         "F,0,f1,\"t\",0,\"0\",0,\"1+1\"\n"
         "F,7,f2,\"t\",0,\"0\",0,\"1\",0,5,"
         "1,9",
         [](Fixture& f) {
             ASSERT_EQ(f.report.Funkce().Count(), 2);
             QString n, t, e, i;
             int kind, reset, aggregate, precision, digits, format;
             f.report.Funkce().GetFunkce(1)->GetDefinition(n, t, e, kind, i, reset, aggregate,
                                                           precision, digits, format);
             EXPECT_EQ(n, u"f2");
             EXPECT_EQ(format, 2);
         }},
    };
    for (const ReaderRule& rule : rules) {
        SCOPED_TRACE(rule.name);
        Fixture f;
        f.read(QString::fromUtf8(rule.text));
        rule.check(f);
    }
}

TEST(TemplateText, TheOldRuleFollowsTheTextBeingRead) {
    Fixture f;
    f.read(QStringLiteral("I,1,1,0,2\nZ,5,4"));
    const TPredloha snapshot = f.report.WriteTemplate(); // written as the current version
    f.report.SetPredloha(snapshot);
    EXPECT_EQ(f.element(odZ)->Index, 5);
    f.read(QStringLiteral("Z,5,4")); // nothing remembered from the old file
    EXPECT_EQ(f.element(odZ)->Index, 4);
    // A clipboard line is never adjusted.
    TVoranReportElement element(&f.report);
    element.LoadFromLine(QStringLiteral("X,5,4"));
    EXPECT_EQ(element.Index, 4);
}

TEST(TemplateText, WriterQuotesWhatWouldNotReadBack) {
    Fixture f;
    f.read(
        QStringLiteral("F,0,\"a,b\",\"t \"\"x\"\"\",0,\"\",0,\"#t\",0,15,2,2\n"
                       "T,6,\"a,b\"\n"
                       "T,12,0,0,0,10,10,,1,0,0,0,15,0,\"'x:y'+\"\"z\\\"\"\",0,0,0\n"
                       "T,11,0,0,0,10,10,,1,0,0,0,15,0,\"C:\\obr\\a.bmp;/tmp/b, c.jpg;d:e.bmp\""));
    const TPredloha out = f.report.WriteTemplate();
    EXPECT_TRUE(
        out.contains(QStringLiteral("F,0,\"a,b\",\"t \"\"x\"\"\",0,\"\",0,\"#t\",0,15,2,2")));
    EXPECT_EQ(out.filter(QStringLiteral("T,6,\"a,b\",0,")).size(), 1);
    EXPECT_EQ(f.element(odT, 0)->Index, 0);
    EXPECT_EQ(f.element(odT, 0)->RefName, u"a,b");
    EXPECT_EQ(f.element(odT, 1)->Text, u"'x:y'+\"z\\\"");
    EXPECT_TRUE(out.contains(
        QStringLiteral("T,12,0,0,0,10,10,,1,0,0,0,15,0,\"'x:y'+\"\"z\\\"\"\",0,0,0")));
    EXPECT_TRUE(
        out.contains(QStringLiteral("T,11,0,0,0,10,10,,1,0,0,0,15,0,\"a.bmp;b, c.jpg;e.bmp\"")));
    // Everything written reads back to the same text.
    Fixture again;
    again.report.SetPredloha(out);
    EXPECT_EQ(again.report.WriteTemplate(), out);
}

} // namespace
