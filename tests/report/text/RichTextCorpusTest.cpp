// Hostile rich text: every prefix of the committed fixtures and seeded random damage to them.
// Whatever the input, reading ends with an error code or text, never a crash or a hang (the
// sanitizer build of the tests runs this corpus).
#include "report/engine/text/sest_rtf.h"
#include "report/engine/text/sest_rtf_reader.h"
#include "support/QtPrinters.h"

#include "platform/Metafile.h"
#include "platform/TVoranCanvas.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <random>

using namespace report;

namespace {

QList<QString> fixtures() {
    QList<QString> sources;
    const QDir dir(QStringLiteral(KOLV_TEST_DATA_DIR "/richtext"));
    for (const QString& name : dir.entryList({"*.rtf"}, QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly)) sources.append(QString::fromLatin1(file.readAll()));
    }
    return sources;
}

// The reader's promises for any input.
void expectSound(const QString& source, const RichTextContent& content) {
    static const QList<int> codes{rtfOk, rtfStackUnderflow, rtfUnmatchedBrace, rtfInvalidHex,
                                  rtfEndOfFile};
    ASSERT_TRUE(codes.contains(content.error)) << content.error;
    // Every character read consumes at least one character of the source.
    ASSERT_LE(content.text.size(), source.size());
    ASSERT_EQ(content.styleOfChar.size(), content.text.size());
    for (const int style : content.styleOfChar)
        ASSERT_TRUE(style >= 0 && style < content.styles.size());
    for (const RichTextStyle& style : content.styles)
        ASSERT_GT(style.tabWidth, 0);
}

// Layout and drawing of the same input: an error code or lines, and every line drawable.
void expectDrawable(const QString& source, int width, bool wordWrap) {
    platform::Metafile metafile(1000, 1000, 100);
    platform::TVoranCanvas canvas(metafile, 100);
    const platform::TRect rect{5, 5, 5 + width, 900};
    const RichTextOptions options{.wordWrap = wordWrap, .alignment = width % 4, .rtf = true};
    TRadky lines;
    const int result = LayoutRichText(canvas, rect, source, options, lines);
    ASSERT_TRUE(result == rtfOk || result == rtfLineTooLong || result == rtfStackUnderflow ||
                result == rtfUnmatchedBrace || result == rtfInvalidHex || result == rtfEndOfFile)
        << result;
    ASSERT_LE(lines.Text().size(), source.size());
    DrawRichTextLines(canvas, rect, lines, 0, lines.Count() - 1, options);
}

QString damaged(QString source, std::mt19937& random) {
    static const QList<QString> tokens{"{",         "}",
                                       "\\",        "\\'",
                                       "\\'zz",     "\\bin99999999",
                                       "\\bin-7 ",  "\\li" + QString(40, u'9'),
                                       "\\u-99999", "\\uc99 ",
                                       "\\*",       "\\fs0",
                                       "\\deftab0", "\\cf99999"};
    const int edits = 1 + int(random() % 8);
    for (int i = 0; i < edits && !source.isEmpty(); ++i) {
        const qsizetype at = qsizetype(random() % quint32(source.size()));
        switch (random() % 3) {
        case 0:
            source[at] = QChar(char16_t(random() % 0x180));
            break;
        case 1:
            source.insert(at, tokens[random() % tokens.size()]);
            break;
        default:
            source.remove(at, qsizetype(random() % 16));
            break;
        }
    }
    return source;
}

} // namespace

TEST(RichTextCorpus, HandMadeFixtureReadsAsWritten) {
    // Binary data, hex characters in three code pages, bullets and nested \* groups.
    QFile file(QStringLiteral(KOLV_TEST_DATA_DIR "/richtext/handmade.rtf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const RichTextContent content = ReadRichText(QString::fromLatin1(file.readAll()), true);
    EXPECT_EQ(content.error, rtfOk);
    EXPECT_EQ(content.text, QString::fromUtf8("Příliš žluťoučký kůň úpěl ďábelské ódy.\n"
                                              "Français: été\tЖар\n•\tOdrážka\n"
                                              "viditelné“x” {}\\\n"));
}

// Every prefix read; prefixes at growing steps also laid out and drawn.
TEST(RichTextCorpus, EveryPrefixOfEveryFixture) {
    const QList<QString> sources = fixtures();
    ASSERT_GE(sources.size(), 4);
    for (const QString& source : sources) {
        qsizetype drawn = 0;
        for (qsizetype length = 0; length <= source.size(); ++length) {
            const QString prefix = source.left(length);
            expectSound(prefix, ReadRichText(prefix, true));
            if (length == drawn) {
                expectDrawable(prefix, 10 + int(length % 400), length % 5 != 0);
                drawn += 1 + drawn / 50;
            }
            if (HasFatalFailure()) return;
        }
    }
}

TEST(RichTextCorpus, SeededRandomDamage) {
    std::mt19937 random(20021);
    const QList<QString> sources = fixtures();
    for (const QString& source : sources) {
        for (int round = 0; round < 1500; ++round) {
            const QString input = damaged(source, random);
            expectSound(input, ReadRichText(input, true));
            if (round % 10 == 0) expectDrawable(input, 20 + round % 300, round % 7 != 0);
            if (HasFatalFailure()) return;
        }
    }
}
