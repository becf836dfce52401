// The letter table against glibc's iconv tables for CP852 and CP1250, against Unicode
// decomposition for plain ASCII, and Kamenický's own order.

#include "report/engine/text/sestcepr.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <optional>

namespace report {
namespace {

// One byte of `fromCharset` through iconv to `toCharset`; nothing when iconv refuses it.
std::optional<QByteArray> iconvBytes(const char* fromCharset, const char* toCharset,
                                     const QByteArray& in) {
    iconv_t cd = iconv_open(toCharset, fromCharset);
    EXPECT_NE(cd, iconv_t(-1)) << "iconv lacks " << fromCharset << " or " << toCharset;
    if (cd == iconv_t(-1)) return std::nullopt;
    QByteArray input = in;
    char out[64];
    char* inPtr = input.data();
    size_t inLeft = size_t(input.size());
    char* outPtr = out;
    size_t outLeft = sizeof out;
    const size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (result == size_t(-1)) return std::nullopt;
    return QByteArray(out, int(outPtr - out));
}

QString cp1250Letter(int row) {
    const QByteArray byte(1, char(CodePageTableRow(row).cp1250));
    return QString::fromUtf8(iconvBytes("CP1250", "UTF-8", byte).value_or("?"));
}

TEST(CodePages, EveryRowAgreesWithIconvAndDecomposition) {
    for (int row = 0; row < CodePageRowCount; ++row) {
        const CodePageRow r = CodePageTableRow(row);
        const QString letter = cp1250Letter(row);
        ASSERT_EQ(letter.size(), 1) << row;
        EXPECT_EQ(iconvBytes("UTF-8", "CP852", letter.toUtf8()), QByteArray(1, char(r.cp852)))
            << row << " " << letter.toStdString();
        EXPECT_EQ(r.ascii, letter.normalized(QString::NormalizationForm_D).at(0).unicode())
            << row << " " << letter.toStdString();
        EXPECT_EQ(r.cp867, 128 + row) << row;
    }
}

TEST(CodePages, TheLettersAreTheAccentedLettersOfCzechSlovakAndGerman) {
    QString letters;
    for (int row = 0; row < CodePageRowCount; ++row)
        letters += cp1250Letter(row);
    EXPECT_EQ(letters, QString::fromUtf8("ČüéďäĎŤčěĚĹÍľĺÄÁÉžŽôöÓůÚýÖÜŠĽÝŘťáíóúňŇŮÔšřŕŔ"));
}

TEST(CodePages, ConvertsLettersAndPassesEverythingElse) {
    EXPECT_EQ(ConvertCharCP(slCP1250, slCP852, 200), 172);
    EXPECT_EQ(ConvertCharCP(slCP1250, slASCII, 200), 'C');
    EXPECT_EQ(ConvertCharCP(slCP1250, slCP867, 200), 128);
    EXPECT_EQ(ConvertCharCP(slCP1250, slCP852, 223), 223); // ß is in no row
    EXPECT_EQ(ConvertCharCP(slCP852, slCP852, 200), 200);
    EXPECT_EQ(ConvertCharCP(slUndefined, slCP852, 200), 200);
    EXPECT_EQ(ConvertCharCP(slCP1250, TSestLanguage(9), 200), 200);
    for (int ch = 0; ch < 128; ++ch)
        EXPECT_EQ(ConvertCharCP(slASCII, slCP1250, ch), ch);
}

TEST(CodePages, EveryLetterSurvivesARoundTripThroughEachEightBitPage) {
    QByteArray cp1250;
    for (int row = 0; row < CodePageRowCount; ++row)
        cp1250 += char(CodePageTableRow(row).cp1250);
    for (TSestLanguage page : {slCP867, slCP852}) {
        const QByteArray there = ConvertStringCP(slCP1250, page, cp1250);
        EXPECT_EQ(ConvertStringCP(page, slCP1250, there), cp1250) << page;
    }
    EXPECT_EQ(ConvertStringCP(slCP1250, slCP852, cp1250),
              iconvBytes("CP1250", "CP852", cp1250).value_or(""));
}

TEST(EncodeForExport, GoesThroughWindows1250ToTheTargetPage) {
    const QString czech = QStringLiteral("Žluťoučký kůň úpěl ďábelské ódy");
    EXPECT_EQ(EncodeForExport(czech, slUndefined), czech.toUtf8());
    EXPECT_EQ(EncodeForExport(czech, slCP852), iconvBytes("UTF-8", "CP852", czech.toUtf8()));
    EXPECT_EQ(EncodeForExport(czech, slCP1250), iconvBytes("UTF-8", "CP1250", czech.toUtf8()));
    EXPECT_EQ(EncodeForExport(czech, slASCII), QByteArray("Zlutoucky kun upel dabelske ody"));
    // Outside Windows-1250: one '?' each, a surrogate pair included.
    EXPECT_EQ(EncodeForExport(QStringLiteral("a\u0416\U0001F600b"), slCP852), "a??b");
    // A Windows-1250 letter the table lacks passes as its Windows-1250 byte.
    EXPECT_EQ(EncodeForExport(QStringLiteral("ß"), slCP852), QByteArray(1, char(223)));
}

} // namespace
} // namespace report
