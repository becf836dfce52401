// The symbologies no available decoder reads, compared bar for bar with zint's symbols.

#include "BarcodeOracles.h"

#include <gtest/gtest.h>

namespace report::test {
namespace {

// zint's symbology numbers.
constexpr int zintMatrix25 = 2;
constexpr int zintIndustrial25 = 7;
constexpr int zintUpcE = 37;
constexpr int zintEanAddOn = 13;
constexpr int zintPostNet = 40;
constexpr int zintMsi = 47;

class BarcodeZint : public testing::Test {
protected:
    void SetUp() override { ResetBarcodePainter(); }

    // Our symbol's runs at module 1; a closing space belongs to the quiet zone in zint's.
    QList<BarRun> ours(int type, const QString& text, bool checkDigit = false) {
        const BarcodeSymbol symbol = EncodeBarcode(type, 1, checkDigit, text);
        QList<BarRun> runs = PatternRuns(symbol.pattern, CurrentBarcodeWidths());
        if (!runs.isEmpty() && !runs.last().dark) runs.removeLast();
        return runs;
    }
    static QList<BarRun> zints(int zintType, const QString& data,
                               const QStringList& options = {}) {
        const QStringList rows = ZintModuleRows(zintType, data, options);
        return rows.isEmpty() ? QList<BarRun>{} : ModuleRuns(rows.first());
    }
};

// zint draws wide elements of the 2 of 5 family at three modules, so the shapes are compared.
TEST_F(BarcodeZint, Industrial25AndMatrix25MatchNarrowAndWide) {
    for (const char* text : {"123", "9876543210", "0"}) {
        EXPECT_EQ(RankedRuns(ours(bcIndustrial25, text)),
                  RankedRuns(zints(zintIndustrial25, text)))
            << text;
        EXPECT_EQ(RankedRuns(ours(bcMatrix25, text)), RankedRuns(zints(zintMatrix25, text)))
            << text;
    }
}

// At ratio 2 MSI's wide elements are two modules, as zint's; modulo-10 check from the right.
TEST_F(BarcodeZint, MsiMatchesModuleForModuleWithItsCheckDigit) {
    for (const char* text : {"123", "1234", "12345", "80523", "31415926535897932384626"})
        EXPECT_EQ(ours(bcMsi, text), zints(zintMsi, text, {"--vers=1"})) << text;
}

TEST_F(BarcodeZint, MsiCheckOfOddLengthCountsFromTheRight) {
    // zint's symbol for 123 ends in the digit 0 (bits 0000) before the stop.
    const QString modules = ZintModuleRows(zintMsi, "123", {"--vers=1"}).value(0);
    EXPECT_TRUE(modules.endsWith("100100100100"
                                 "1001"))
        << modules.toStdString();
    EXPECT_EQ(ours(bcMsi, "123"), ModuleRuns(modules));
}

// PostNet: zint adds its check digit and keeps its short bars on the baseline; the sequence of
// full and short bars of our text is its prefix.
TEST_F(BarcodeZint, PostNetBarsArePrefixOfZints) {
    for (const char* text : {"1", "12345", "555551237"}) {
        const BarcodeSymbol symbol = EncodeBarcode(bcPostNet, 1, false, text);
        QString bars;
        for (QChar c : symbol.pattern)
            if (IsBarcodeBar(c)) bars += IsBarcodeShortBar(c) ? 'S' : 'F';
        const QStringList rows = ZintModuleRows(zintPostNet, text);
        ASSERT_EQ(rows.size(), 2) << text;
        QString zintBars; // the top row holds the full bars only
        for (qsizetype x = 0; x < rows[1].size(); x += 2)
            zintBars += x < rows[0].size() && rows[0][x] == '1' ? 'F' : 'S';
        // Our frame bar closes the symbol where zint's check digit follows.
        bars.chop(1);
        EXPECT_TRUE(zintBars.startsWith(bars))
            << text << ": " << bars.toStdString() << " / " << zintBars.toStdString();
    }
}

TEST_F(BarcodeZint, Supplements) {
    for (const char* text : {"12", "5", "99"})
        EXPECT_EQ(ours(bcUpcSupp2, text),
                  zints(zintEanAddOn, QString(text).rightJustified(2, '0')));
    for (const char* text : {"123", "52495", "90000"})
        EXPECT_EQ(ours(bcUpcSupp5, text),
                  zints(zintEanAddOn, QString(text).rightJustified(5, '0')));
}

TEST_F(BarcodeZint, SupplementCheckDigitIsShownNotEncoded) {
    const BarcodeSymbol plain = EncodeBarcode(bcUpcSupp5, 1, false, "52495");
    const BarcodeSymbol checked = EncodeBarcode(bcUpcSupp5, 1, true, "52495");
    EXPECT_EQ(plain.pattern, checked.pattern);
    EXPECT_EQ(checked.shownText, "524951"); // 5*3 + 2*9 + 4*3 + 9*9 + 5*3 = 141
    EXPECT_EQ(EncodeBarcode(bcUpcSupp2, 1, true, "12").shownText, "125"); // 1*9 + 2*3
}

// Number system 1: zint takes it as the first of seven digits.
TEST_F(BarcodeZint, UpcE1WithItsCheckDigit) {
    for (const char* text : {"123456", "654324", "987655"})
        EXPECT_EQ(ours(bcUpcE1, text, true), zints(zintUpcE, QString("1") + text)) << text;
}

} // namespace
} // namespace report::test
