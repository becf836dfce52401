// The Windows-1250 table against glibc's iconv converter of the same code page.

#include "platform/Windows1250.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>

namespace {

// One conversion through iconv; nothing when iconv refuses the input.
std::optional<QByteArray> iconvConvert(const char* to, const char* from, QByteArray in) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    char out[16];
    char* inPtr = in.data();
    size_t inLeft = static_cast<size_t>(in.size());
    char* outPtr = out;
    size_t outLeft = sizeof out;
    const size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (done == static_cast<size_t>(-1) || inLeft != 0) return std::nullopt;
    return QByteArray(out, static_cast<qsizetype>(outPtr - out));
}

QByteArray utf16be(char16_t c) {
    QByteArray bytes;
    bytes.append(static_cast<char>(c >> 8)).append(static_cast<char>(c & 0xFF));
    return bytes;
}

TEST(Windows1250, EveryByteDecodesAsIconvDoes) {
    ASSERT_TRUE(iconvConvert("UTF-16BE", "WINDOWS-1250", "A").has_value());
    int undefined = 0;
    for (int b = 0; b < 256; ++b) {
        const auto expected = iconvConvert("UTF-16BE", "WINDOWS-1250", QByteArray(1, char(b)));
        const QChar ours = platform::Windows1250Char(static_cast<unsigned char>(b));
        if (!expected) {
            // Undefined in the code page: kept as the C1 control of the same value.
            ++undefined;
            EXPECT_EQ(ours.unicode(), b) << "byte " << b;
            continue;
        }
        EXPECT_EQ(utf16be(ours.unicode()), *expected) << "byte " << b;
    }
    EXPECT_EQ(undefined, 5);
}

TEST(Windows1250, EveryBasicPlaneCharacterEncodesAsIconvDoes) {
    for (int u = 0; u < 0x10000; ++u) {
        if (u >= 0xD800 && u <= 0xDFFF) continue;
        const auto expected = iconvConvert("WINDOWS-1250", "UTF-16BE", utf16be(char16_t(u)));
        const int ours = platform::Windows1250Code(QChar(char16_t(u)));
        const bool c1Kept = u == 0x81 || u == 0x83 || u == 0x88 || u == 0x90 || u == 0x98;
        if (c1Kept) {
            EXPECT_EQ(ours, u);
        } else if (!expected) {
            EXPECT_EQ(ours, -1) << "U+" << std::hex << u;
        } else {
            ASSERT_EQ(expected->size(), 1);
            EXPECT_EQ(ours, static_cast<unsigned char>(expected->at(0))) << "U+" << std::hex << u;
        }
    }
}

TEST(Windows1250, TextRoundTripsAndUnmappableBecomesOneQuestionMark) {
    const QString czech = QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy – „€“");
    const QByteArray bytes = platform::EncodeWindows1250(czech);
    EXPECT_EQ(bytes.size(), czech.size());
    EXPECT_EQ(platform::DecodeWindows1250(bytes), czech);
    EXPECT_EQ(static_cast<unsigned char>(platform::EncodeWindows1250(u"Č"_qs).at(0)), 200);

    // One character outside the basic plane is two UTF-16 units but one '?'.
    EXPECT_EQ(platform::EncodeWindows1250(QString::fromUtf8("a\xF0\x9F\x98\x80"
                                                            "b\u4E2D")),
              QByteArray("a?b?"));
    // A lone surrogate is not a character of the code page either.
    EXPECT_EQ(platform::EncodeWindows1250(QString(QChar(0xD800))), QByteArray("?"));

    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    EXPECT_EQ(platform::EncodeWindows1250(platform::DecodeWindows1250(all)), all);
}

} // namespace
