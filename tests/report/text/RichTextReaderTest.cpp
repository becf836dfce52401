// The rich-text reader: structure, keywords, code pages, errors and hostile input.
#include "report/engine/text/sest_rtf_reader.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

using namespace report;

namespace {

RichTextContent rtf(const QString& source, const RichTextBase& base = {}) {
    return ReadRichText(source, true, base);
}

const RichTextStyle& styleAt(const RichTextContent& content, qsizetype index) {
    return content.styles[content.styleOfChar[index]];
}

} // namespace

TEST(RichTextReader, BoldEndsOnParameterZero) {
    const RichTextContent c = rtf(R"({\rtf1 a\b b\b0 c\b1 d})");
    ASSERT_EQ(c.error, rtfOk);
    EXPECT_EQ(c.text, "abcd");
    EXPECT_FALSE(styleAt(c, 0).bold);
    EXPECT_TRUE(styleAt(c, 1).bold);
    EXPECT_FALSE(styleAt(c, 2).bold);
    EXPECT_TRUE(styleAt(c, 3).bold);
}

TEST(RichTextReader, GroupsRestoreTheOuterState) {
    const RichTextContent c = rtf(R"({\i a{\b\ul\fs40 b}c\ulnone})");
    ASSERT_EQ(c.text, "abc");
    EXPECT_TRUE(styleAt(c, 1).bold && styleAt(c, 1).underline && styleAt(c, 1).italic);
    EXPECT_EQ(styleAt(c, 1).halfPoints, 40);
    EXPECT_FALSE(styleAt(c, 2).bold || styleAt(c, 2).underline);
    EXPECT_TRUE(styleAt(c, 2).italic);
    EXPECT_EQ(styleAt(c, 2).halfPoints, -1);
}

TEST(RichTextReader, FontSizeInHalfPointsAndItsDefault) {
    EXPECT_EQ(styleAt(rtf(R"({\fs24 x})"), 0).halfPoints, 24);
    EXPECT_EQ(styleAt(rtf(R"({\fs x})"), 0).halfPoints, 12);
    // No size, or a negative one, keeps the size in force.
    EXPECT_EQ(styleAt(rtf(R"({\fs30\fs0 x})"), 0).halfPoints, 30);
    EXPECT_EQ(styleAt(rtf(R"({\fs30\fs-8 x})"), 0).halfPoints, 30);
}

// Sources and the plain text read from them.
TEST(RichTextReader, TextOfDestinationsKeywordsAndCharacters) {
    const std::pair<QString, QString> cases[] = {
        // A starred unknown group is skipped whole, a plain unknown one prints.
        {R"({a{\*\unknownword hidden {nested} text}b})", "ab"},
        {R"({a{\unknownword shown}b})", "ashownb"},
        {R"({a{\*\fonttbl{\f0 Arial;}}b})", "ab"},
        // Skipped destinations hide their text, nested groups included.
        {R"({x{\info{\title T}{\author A}}{\pict 0a0b}{\stylesheet{S;}}y})", "xy"},
        {R"({a\tab b\cell c\par d\row e\~f\ldblquote g\rdblquote\\\{\}})",
         QString::fromUtf8("a\tb\tc\nd\ne f\u201Cg\u201D\\{}")},
        // An escaped line end is a paragraph, a bare one is nothing.
        {"{a\\\nb\\\rc\r\nd}", "a\nb\ncd"},
        // Without a font charset: \ansicpg, else Windows-1250.
        {R"({\'8a\'9e})", QString::fromUtf8("Šž")},
        {R"({\ansi\ansicpg1252\'8a\'9e\'E9})", QString::fromUtf8("Šžé")},
        {R"({\ansi\ansicpg1251\'c4})", QString::fromUtf8("Д")},
        // Unicode characters skip their stand-ins; the count belongs to the group.
        {R"({P\u345\'3f\u237\'edli\u353\'9a})", QString::fromUtf8("Příliš")},
        {R"({\uc2\u269 ab\uc0\u-3 x})", QString::fromUtf8("č\uFFFDx")},
        {R"({{\uc3\u269}abc})", QString::fromUtf8("čabc")},
        // Binary data is skipped, a negative count is none.
        {"{a\\bin5 }{}\\xb}", "ab"},
        {"{a\\bin-5 b}", "ab"},
        // A parameter's digits are read to the end; "x" is text again.
        {"{\\b" + QString(100, u'0') + "x}", "x"},
        // Overlong keywords are harmless.
        {"{\\" + QString(21, u'b') + " x}", "x"},
        {"{\\" + QString(5000, u'b') + " x}", "x"},
    };
    for (const auto& [source, text] : cases)
        EXPECT_EQ(rtf(source).text, text) << source.left(80).toStdString();
}

TEST(RichTextReader, ColourTableWithEmptyFirstEntry) {
    const RichTextContent c = rtf(
        R"({{\colortbl;\red255\green0\blue0;\red0\green128\blue999;}\cf1 r\cf2 g\cf7 o\cf0 k})");
    ASSERT_EQ(c.text, "rgok");
    EXPECT_EQ(styleAt(c, 0).colour, QColor(255, 0, 0));
    EXPECT_EQ(styleAt(c, 1).colour, QColor(0, 128, 255)); // a component is at most 255
    EXPECT_EQ(styleAt(c, 2).colour, QColor(Qt::black));   // out of range
    EXPECT_EQ(styleAt(c, 3).colour, QColor(0, 0, 0));
}

TEST(RichTextReader, FontTableGivesFaceAndCharset) {
    const RichTextContent c = rtf(R"({{\fonttbl{\f0\froman\fcharset0 Times New Roman{\*\falt X};})"
                                  R"({\f1\fswiss\fcharset238 Arial;}})"
                                  R"(a\f1 b\f0 c\f9 d})");
    ASSERT_EQ(c.text, "abcd");
    EXPECT_TRUE(styleAt(c, 0).face.isEmpty()); // no \f yet: the base font
    EXPECT_EQ(styleAt(c, 1).face, "Arial");
    EXPECT_EQ(styleAt(c, 1).charset, 238);
    EXPECT_EQ(styleAt(c, 2).face, "Times New Roman");
    EXPECT_EQ(styleAt(c, 2).charset, 0);
    EXPECT_TRUE(styleAt(c, 3).face.isEmpty()); // an undefined font keeps the base font
    // Hex characters follow the font's charset.
    const QString fonts = R"({\fonttbl{\f0\fcharset0 A;}{\f1\fcharset238 B;})"
                          R"({\f2\fcharset204 C;}{\f3\fcharset2 S;}})";
    EXPECT_EQ(rtf("{" + fonts + R"(\f1\'c8\'e8\f0\'e8\f2\'c4\f3\'e8})").text,
              QString::fromUtf8("ČčèДč"));
}

TEST(RichTextReader, ParagraphPropertiesAndTheirReset) {
    const RichTextContent c =
        rtf(R"({\li720\ri360\fi-240\qc\deftab0 a\pard b\qj\deftab100 c\qr d\ql e\plain\cf0 f})");
    const RichTextStyle& a = styleAt(c, 0);
    EXPECT_EQ(a.leftIndent, 720);
    EXPECT_EQ(a.rightIndent, 360);
    EXPECT_EQ(a.firstIndent, -240);
    EXPECT_EQ(a.alignment, alignCenter);
    EXPECT_EQ(a.tabWidth, 720); // a tab width of 0 would never advance
    const RichTextStyle& b = styleAt(c, 1);
    EXPECT_EQ(b.leftIndent + b.rightIndent + b.firstIndent, 0);
    EXPECT_EQ(b.alignment, alignLeft);
    EXPECT_EQ(styleAt(c, 2).alignment, alignJustify);
    EXPECT_EQ(styleAt(c, 2).tabWidth, 100);
    EXPECT_EQ(styleAt(c, 3).alignment, alignRight);
    EXPECT_EQ(styleAt(c, 4).alignment, alignLeft);
    EXPECT_EQ(rtf(R"({\deftab x})").styles[0].tabWidth, 512);
}

TEST(RichTextReader, BulletTextKeepsItsTextAndIndentsTheParagraph) {
    const RichTextContent c = rtf(R"({\pnindent360{\pntext\'b7\tab}Item\par\pard Next})");
    EXPECT_EQ(c.text, QString::fromUtf8("·\tItem\nNext"));
    EXPECT_EQ(styleAt(c, 0).bulletIndent, 360);
    EXPECT_EQ(styleAt(c, 2).bulletIndent, 360); // the indent outlives the bullet's group
    EXPECT_EQ(styleAt(c, 7).bulletIndent, 0);
    const RichTextContent d = rtf(R"({\pntext\pnindent0 * x})");
    EXPECT_EQ(styleAt(d, 0).bulletIndent, 200);
}

TEST(RichTextReader, ElementStyleIsTheStartingState) {
    RichTextBase base;
    base.bold = true;
    base.alignment = alignJustify;
    const RichTextContent c = rtf(R"({a\plain b})", base);
    EXPECT_TRUE(styleAt(c, 0).bold);
    EXPECT_EQ(styleAt(c, 0).alignment, alignJustify);
    EXPECT_FALSE(styleAt(c, 1).bold);
}

TEST(RichTextReader, ErrorsStopReadingAndKeepWhatWasRead) {
    const std::tuple<QString, int, QString> cases[] = {
        {R"({ab}}cd)", rtfStackUnderflow, "ab"},
        {R"({{ab})", rtfUnmatchedBrace, "ab"},
        {R"({ab})", rtfOk, "ab"},
        {R"({ab\'4g cd})", rtfInvalidHex, "ab"},
        {R"({ab\'4)", rtfEndOfFile, "ab"},
        {R"({ab\)", rtfEndOfFile, "ab"},
        // A keyword may end the text; the open group is what is wrong then.
        {R"({ab\par)", rtfUnmatchedBrace, "ab\n"},
        // A huge binary count swallows the rest.
        {"{a\\bin99999999999999999999 bcd", rtfUnmatchedBrace, "a"},
    };
    for (const auto& [source, error, text] : cases) {
        const RichTextContent c = rtf(source);
        EXPECT_EQ(c.error, error) << source.toStdString();
        EXPECT_EQ(c.text, text) << source.toStdString();
    }
}

TEST(RichTextReader, HugeParametersAreClamped) {
    const RichTextContent big = rtf("{\\li" + QString(40, u'9') + "\\ri-" + QString(40, u'9') +
                                    "\\fs" + QString(40, u'9') + " x}");
    ASSERT_EQ(big.text, "x");
    EXPECT_GT(big.styles[0].leftIndent, 1'000'000);
    EXPECT_LT(big.styles[0].rightIndent, -1'000'000);
    EXPECT_GT(big.styles[0].halfPoints, 0);
}

TEST(RichTextReader, DeepNestingUsesNoCallStack) {
    const int depth = 100'000;
    const RichTextContent c = rtf(QString(depth, u'{') + "\\b x" + QString(depth, u'}'));
    EXPECT_EQ(c.error, rtfOk);
    EXPECT_EQ(c.text, "x");
    EXPECT_EQ(rtf(QString(depth, u'{')).error, rtfUnmatchedBrace);
}

TEST(RichTextReader, PlainModeKeepsEveryCharacter) {
    RichTextBase base;
    base.italic = true;
    const QString source = "a{\\b}\r\n\tb\\'c8";
    const RichTextContent c = ReadRichText(source, false, base);
    EXPECT_EQ(c.text, source);
    EXPECT_EQ(c.error, rtfOk);
    ASSERT_EQ(c.styles.size(), 1);
    EXPECT_TRUE(c.styles[0].italic);
    EXPECT_EQ(c.styleOfChar.size(), source.size());
    EXPECT_TRUE(ReadRichText({}, false).text.isEmpty());
}

TEST(RichTextReader, CodePageBytes) {
    // Independent of the reader: the letters every Czech user knows, in both Windows pages.
    EXPECT_EQ(DecodeCodePageByte(1250, 0xC8), QChar(0x010C));
    EXPECT_EQ(DecodeCodePageByte(1250, 0x9A), QChar(0x0161));
    EXPECT_EQ(DecodeCodePageByte(1252, 0x80), QChar(0x20AC));
    EXPECT_EQ(DecodeCodePageByte(1250, 0x41), QChar(u'A'));
    EXPECT_EQ(DecodeCodePageByte(99999, 0xC8), QChar(0xFFFD));
}
