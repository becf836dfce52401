// The page setup and the paper formats with their settings file.

#include "report/engine/printing/sestprn.h"
#include "TestFiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace report;

TEST(PageSetup, StartValuesAndOrientation) {
    PageSetupGuard guard;
    PageSetup() = TPageSetup();
    EXPECT_FALSE(PageSetup().printerPresent);
    EXPECT_EQ(PageSetup().scaleX, 1.0f);
    // A4 with margins of 50 and 70.
    EXPECT_EQ(QList<int>({PageWidth(), PageHeight(), PrintableWidth(), PrintableHeight()}),
              QList<int>({826, 1169, 826 - 100, 1169 - 140}));
    EXPECT_EQ(GetPrintableRect(), (platform::TRect{50, 70, 776, 1099}));
    PageSetup().orientation = 1;
    EXPECT_EQ(QList<int>({PageWidth(), PageHeight(), PrintableWidth(), PrintableHeight()}),
              QList<int>({1169, 826, 1169 - 100, 826 - 140}));
    // Margins larger than the paper are reported as they are.
    PageSetup().leftMargin = 1000;
    PageSetup().rightMargin = 500;
    EXPECT_EQ(PrintableWidth(), -331);
}

TEST(PageSetup, PrinterFontsAreTheScreenFontsAndThreeRomanFonts) {
    QStringList list{"stale"};
    FillPrinterFontList(list);
    ASSERT_GE(list.size(), 4);
    EXPECT_FALSE(list.contains("stale"));
    EXPECT_TRUE(list.contains("Liberation Sans"));
    EXPECT_EQ(list.mid(list.size() - 3),
              QStringList({"Roman 10cpi", "Roman 12cpi", "Roman 17cpi"}));
    EXPECT_EQ(PrinterFontList(), list);
}

TEST(PaperFormats, EighteenBuiltInNamesExactly) {
    const char* expected[] = {"U\xC5\xBEivat. (210 x 297 mm)",
                              "Skl\xC3\xA1\x64\x61n\xC3\xBD (8.5 x 12\")",
                              "Skl\xC3\xA1\x64\x61n\xC3\xBD (15 x 12\")",
                              "Letter (8.5 x 11\")",
                              "Legal (8.5 x 14\")",
                              "Executive (7.25 x 10.5\")",
                              "A2 (420 x 594 mm)",
                              "A3 (297 x 420 mm)",
                              "A4 (210 x 297 mm)",
                              "A5 (148.5 x 210 mm)",
                              "A6 (105 x 148.5mm)",
                              "B5 (182 x 257 mm)",
                              "Ob\xC3\xA1lka (162 x 114 mm)",
                              "Ob\xC3\xA1lka (220 x 110 mm)",
                              "Ob\xC3\xA1lka (228 x 162 mm)",
                              "Ob\xC3\xA1lka oto\xC4\x8D.(114 x 162 mm)",
                              "Ob\xC3\xA1lka oto\xC4\x8D.(110 x 220 mm)",
                              "Ob\xC3\xA1lka oto\xC4\x8D.(162 x 228 mm)"};
    const int sizes[][2] = {{826, 1169}, {850, 1200},  {1500, 1200}, {850, 1100}, {850, 1400},
                            {725, 1050}, {1652, 2338}, {1169, 1652}, {826, 1169}, {584, 826},
                            {413, 584},  {716, 1011},  {637, 433},   {866, 433},  {896, 637},
                            {433, 637},  {433, 866},   {637, 896}};
    const TListFormatu list;
    ASSERT_EQ(list.count(), 18);
    for (int i = 0; i < 18; ++i) {
        EXPECT_EQ(list.GetFormat(i)->name.toUtf8(), QByteArray(expected[i])) << i;
        EXPECT_EQ(list.GetFormat(i)->width, sizes[i][0]) << i;
        EXPECT_EQ(list.GetFormat(i)->height, sizes[i][1]) << i;
    }
    EXPECT_EQ(list.GetFormat(18), nullptr);
    EXPECT_EQ(list.GetFormat(-1), nullptr);
}

TEST(PaperFormats, FindOrAddLooksWithinOnePercentInListOrder) {
    TListFormatu list;
    EXPECT_EQ(list.FindOrAddFormat(826, 1169), 0); // A4 finds the user entry first
    EXPECT_EQ(list.FindOrAddFormat(830, 1175), 0);
    EXPECT_EQ(list.FindOrAddFormat(850, 1100), 3);
    EXPECT_EQ(list.FindOrAddFormat(1000, 1000), 18);
    EXPECT_EQ(list.GetFormat(18)->name, QStringLiteral("uživ. formát"));
    EXPECT_EQ(list.FindOrAddFormat(1010, 990), 18);  // now found
    EXPECT_EQ(list.FindOrAddFormat(1011, 1000), 19); // 1011 > 1.01 * 1000
    EXPECT_FALSE(list.DeleteFormat(3));
    EXPECT_TRUE(list.DeleteFormat(19));
    EXPECT_EQ(list.count(), 19);
}

TEST(PaperFormats, LoadReadsQuotedNamesAndBadFieldsAsTheyAre) {
    QTemporaryDir dir;
    const QString path =
        writeIni(dir, "[formatypapiru]\r\npocetformatu=7\r\n"
                      "Format1=\"Moje, velká\",1000,2000\r\n"
                      "Format2=Plain,300, 400\r\n"
                      "Format3=\"Unbalanced,12,34\r\n"
                      "Format4=Nonnumbers,abc,99999999999\r\n"
                      "Format6=ThisNameIsMuchLongerThanThirtyOneCharacters,5,6\r\n"
                      "Format7=OnlyName\r\n");
    TListFormatu list;
    list.Load(path);
    ASSERT_EQ(list.count(), 18 + 7);
    auto expectFormat = [&](int i, const QString& name, int w, int h) {
        EXPECT_EQ(list.GetFormat(i)->name, name) << i;
        EXPECT_EQ(list.GetFormat(i)->width, w) << i;
        EXPECT_EQ(list.GetFormat(i)->height, h) << i;
    };
    expectFormat(18, QStringLiteral("Moje, velká"), 1000, 2000);
    expectFormat(19, "Plain", 300, 400);
    expectFormat(20, "Unbalanced,12,34", 0, 0);
    expectFormat(21, "Nonnumbers", 0, 0);
    expectFormat(22, QStringLiteral("Uživat. (210 x 297 mm)"), 0, 0); // the gap
    expectFormat(23, "ThisNameIsMuchLongerThanThirtyO", 5, 6);
    expectFormat(24, "OnlyName", 0, 0);
}

TEST(PaperFormats, HugeOrNegativeCountsReadOnlyTheKeysThatExist) {
    QTemporaryDir dir;
    TListFormatu list;
    list.Load(writeIni(dir, "[FormatyPapiru]\nPocetFormatu=1000000000\nFormat1=a,1,2\n"
                            "Format2=b,3,4\n"));
    EXPECT_EQ(list.count(), 20);
    list.Load(writeIni(dir, "[FormatyPapiru]\nPocetFormatu=2147483647\nFormat999999999=z,1,1\n"));
    EXPECT_EQ(list.count(), 18 + TListFormatu::maxUserFormats); // placeholders, but bounded
    list.Load(writeIni(dir, "[FormatyPapiru]\nPocetFormatu=-5\nFormat1=a,1,2\n"));
    EXPECT_EQ(list.count(), 18);
    list.Load(writeIni(dir, "[FormatyPapiru]\nPocetFormatu=1\nFormat1=a,1,2\nFormat2=b,3,4\n"));
    EXPECT_EQ(list.count(), 19);
    list.Load(dir.filePath("missing.ini"));
    EXPECT_EQ(list.count(), 18);
    QByteArray junk;
    for (int i = 0; i < 2048; ++i)
        junk += char(i * 31 % 256);
    list.Load(writeIni(dir, junk));
    EXPECT_EQ(list.count(), 18);
}

TEST(PaperFormats, SaveKeepsOtherSettingsAndLoadsBackTheSame) {
    QTemporaryDir dir;
    const QString path = writeIni(dir, "[EditorSestav]\r\nRastrX=10\r\n[FormatyPapiru]\r\n"
                                       "PocetFormatu=3\r\nFormat1=x,1,1\r\nFormat2=y,2,2\r\n"
                                       "Format3=z,3,3\r\n");
    TListFormatu list;
    list.Load(path);
    ASSERT_TRUE(list.DeleteFormat(18));
    list.AddFormat({QStringLiteral("Šířka, výška"), 700, 900}); // a comma in the name
    ASSERT_TRUE(list.Save(path));
    EXPECT_EQ(
        readFile(path),
        QByteArray("[EditorSestav]\r\nRastrX=10\r\n[FormatyPapiru]\r\nPocetFormatu=3\r\n"
                   "Format1=y,2,2\r\nFormat2=z,3,3\r\n"
                   "Format3=\"\xC5\xA0\xC3\xAD\xC5\x99ka, v\xC3\xBD\xC5\xA1ka\",700,900\r\n"));
    TListFormatu again;
    again.Load(path);
    EXPECT_EQ(again.names(), list.names());
    EXPECT_EQ(again.GetFormat(20)->width, 700);
    EXPECT_EQ(again.GetFormat(20)->height, 900);
    // Fewer formats: the count goes down, the old keys stay but are not read.
    ASSERT_TRUE(again.DeleteFormat(20));
    ASSERT_TRUE(again.Save(path));
    TListFormatu third;
    third.Load(path);
    EXPECT_EQ(third.count(), 20);
}

// Whatever a user names a paper format, the settings file gives the name back unchanged:
// quotes anywhere, commas, both at once, blanks at the ends.
TEST(PaperFormats, NamesWithQuotesCommasAndBlanksComeBackUnchanged) {
    QTemporaryDir dir;
    const QString path = writeIni(dir, "[FormatyPapiru]\r\nPocetFormatu=0\r\n");
    const QStringList names{QStringLiteral("Obálka \"C5\""), QStringLiteral("\"A4\" na šířku"),
                            QStringLiteral("a\"b,c"),        QStringLiteral("\"\""),
                            QStringLiteral(",start"),        QStringLiteral(" mezera "),
                            QStringLiteral("end\"")};
    TListFormatu list;
    list.Load(path);
    for (int i = 0; i < names.size(); ++i)
        list.AddFormat({names[i], 100 + i, 200 + i});
    ASSERT_TRUE(list.Save(path));
    TListFormatu again;
    again.Load(path);
    ASSERT_EQ(again.count(), 18 + names.size());
    for (int i = 0; i < names.size(); ++i) {
        EXPECT_EQ(again.GetFormat(18 + i)->name, names[i]) << i;
        EXPECT_EQ(again.GetFormat(18 + i)->width, 100 + i) << i;
        EXPECT_EQ(again.GetFormat(18 + i)->height, 200 + i) << i;
    }
}
