// The barcode encoder's own rules: names, widths and the persistent ratio, text preparation and
// fitting, and bad input. Symbols are checked against decoders in the decode and zint tests.

#include "BarcodeOracles.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <tuple>

namespace report::test {
namespace {

class BarcodePattern : public testing::Test {
protected:
    void SetUp() override { ResetBarcodePainter(); }
};

std::vector<int> widthsOf(const BarcodeWidths& w) {
    return {w.w1, w.w2, w.w3, w.w4};
}

TEST_F(BarcodePattern, ListsTypesAndModules) {
    QStringList types;
    FillBarcodeTypes(types);
    EXPECT_EQ(types,
              QStringList({"2/5 interleaved", "2/5 industrial", "2/5 matrix", "Code 39",
                           "Code 39 Full",    "Code 128A",      "Code 128B",  "Code 128C",
                           "Code 93",         "Code 93 Full",   "MSI",        "PostNet",
                           "Codebar",         "EAN 8",          "EAN 13",     "UPC-A",
                           "UPC-E0",          "UPC-E1",         "UPC Supp2",  "UPC Supp5"}));
    QStringList modules{"kept"};
    FillBarcodeModules(modules);
    EXPECT_EQ(modules, QStringList({"kept", "0,50", "0,63", "0,75", "0,88", "1,00", "1,13", "1,25",
                                    "1,38", "1,50", "1,63", "1,75", "1,88", "2,00"}));
}

TEST_F(BarcodePattern, WidthsFollowModuleAndRatioAndMatrixRaisesTheRatioForLaterSymbols) {
    EncodeBarcode(bcCode128B, 3, false, "x");
    EXPECT_EQ(widthsOf(CurrentBarcodeWidths()), (std::vector<int>{3, 6, 9, 12}));
    EncodeBarcode(bcMatrix25, 3, false, "1");
    for (int type = 0; type < BarcodeTypeCount; ++type) {
        EncodeBarcode(type, 3, false, "1");
        EXPECT_EQ(widthsOf(CurrentBarcodeWidths()), (std::vector<int>{3, 7, 10, 14})) << type;
    }
    EncodeBarcode(bcCode128B, 2, false, "x"); // 4.5 rounds to even
    EXPECT_EQ(widthsOf(CurrentBarcodeWidths()), (std::vector<int>{2, 4, 6, 8}));
    ResetBarcodePainter();
    EXPECT_EQ(CurrentBarcodeRatio(), 2.0);
}

TEST_F(BarcodePattern, ModuleOutsideOneToFortyNineKeepsThePreviousOne) {
    EncodeBarcode(bcEan13, 5, false, "1");
    for (int module : {0, 50, -3, 1000}) {
        EncodeBarcode(bcEan13, module, false, "1");
        EXPECT_EQ(CurrentBarcodeWidths().w1, 5) << module;
    }
    EncodeBarcode(bcEan13, 49, false, "1");
    EXPECT_EQ(CurrentBarcodeWidths().w1, 49);
    EXPECT_EQ(CurrentBarcodeWidths().w3, 147); // beyond a byte, still exact
}

// The shown text follows the encoded text: EAN texts fitted and checked, letters as encoded.
TEST_F(BarcodePattern, ShownTexts) {
    const std::tuple<int, bool, QString, QString> cases[] = {
        {bcEan13, true, "12345", "0000000123457"},
        {bcEan13, false, "12345", "0000000123450"},
        {bcEan13, false, "991234567890128", "1234567890128"},
        {bcEan8, false, "1234567", "12345670"},
        {bcEan8, true, "1234567", "12345670"},
        {bcUpcSupp5, false, "123", "00123"},
        {bcUpcSupp2, false, "5", "05"},
        {bcEan13, true, "", "0000000000000"},
        // Blanks and controls around are trimmed, other characters inside become zeros.
        {bcEan8, false, "\t 12a4\x01 ", "00012040"},
        {bcCode128A, false, "abc", "ABC"},
        {bcCode39Full, false, "a", "a"},
        {bcCode93Full, false, "aé", "aé"},
        {bcInterleaved25, false, "123", "0123"},
    };
    for (const auto& [type, check, text, shown] : cases)
        EXPECT_EQ(EncodeBarcode(type, 2, check, text).shownText, shown) << text.toStdString();
}

TEST_F(BarcodePattern, TheUpcEParityFollowsTheStandardCheckDigitEvenWithTheOptionOff) {
    const BarcodeSymbol on = EncodeBarcode(bcUpcE0, 1, true, "123450");
    const BarcodeSymbol off = EncodeBarcode(bcUpcE0, 1, false, "123450");
    EXPECT_EQ(on.shownText, "1234505");
    EXPECT_EQ(off.shownText, "1234500");
    EXPECT_EQ(on.pattern, off.pattern);
}

TEST_F(BarcodePattern, EmptyTextsGiveStartStopAndTheAlwaysAddedChecks) {
    // Code 128B: start 104, its check 104 mod 103 = 1 (222122), stop.
    EXPECT_EQ(EncodeBarcode(bcCode128B, 1, false, "").pattern, "605153"
                                                               "616061"
                                                               "6270506");
    // Code 93: start, two checks of value 0 (131112), stop.
    EXPECT_EQ(EncodeBarcode(bcCode93, 1, false, "").pattern, "505080"
                                                             "525051"
                                                             "525051"
                                                             "5050805");
    // MSI: start, check digit 0, stop.
    EXPECT_EQ(EncodeBarcode(bcMsi, 1, false, "").pattern, "60"
                                                          "51515151"
                                                          "515");
}

TEST_F(BarcodePattern, TheFullAsciiVariantsDropCodesAbove127) {
    EXPECT_EQ(EncodeBarcode(bcCode39Full, 1, false, "AéB").pattern,
              EncodeBarcode(bcCode39, 1, false, "AB").pattern);
    EXPECT_EQ(EncodeBarcode(bcCode93Full, 1, false, "a€").pattern,
              EncodeBarcode(bcCode93Full, 1, false, "a").pattern);
}

TEST_F(BarcodePattern, TypesOutsideTheTableEncodeNothingAndKeepTheState) {
    EncodeBarcode(bcEan13, 4, false, "1");
    for (int type : {-1, 20, 1000, std::numeric_limits<int>::min()}) {
        const BarcodeSymbol symbol = EncodeBarcode(type, 7, true, "123");
        EXPECT_TRUE(symbol.pattern.isEmpty() && symbol.shownText.isEmpty()) << type;
    }
    EXPECT_EQ(CurrentBarcodeWidths().w1, 4);
}

// Any text, any module: a well-formed pattern or nothing, never a crash.
TEST_F(BarcodePattern, AnyTextGivesAWellFormedPattern) {
    QRandomGenerator random(15);
    QList<QString> texts{"", QString(10000, QChar(0x10FF)), QString("\x01\x02\r\n\t"),
                         QString::fromUtf8("Žluťoučký kůň 😀"), QString(10000, '9')};
    QString mixed;
    for (int i = 0; i < 10000; ++i)
        mixed += QChar(char16_t(random.bounded(1, 0xD7FF)));
    texts.append(mixed);
    for (int type = 0; type < BarcodeTypeCount; ++type) {
        for (const QString& text : texts) {
            for (int module : {0, 1, 50}) {
                const BarcodeSymbol symbol = EncodeBarcode(type, module, true, text);
                ASSERT_FALSE(symbol.pattern.isEmpty()) << type;
                for (QChar c : symbol.pattern)
                    ASSERT_GT(BarcodeElementWidth(c, CurrentBarcodeWidths()), 0) << type;
                ASSERT_TRUE(IsBarcodeBar(symbol.pattern.front())) << type;
            }
        }
    }
}

} // namespace
} // namespace report::test
