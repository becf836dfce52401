// The reader against LibreOffice: each committed RTF file (made by LibreOffice from our own
// texts, see data/richtext/make_fixtures.sh) reads to the plain text LibreOffice itself exports
// from that file.
#include "TestFiles.h"
#include "report/engine/text/sest_rtf_reader.h"
#include "support/QtPrinters.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace report;

namespace {

QByteArray fixture(const QString& name) {
    return readFile(QStringLiteral(KOLV_TEST_DATA_DIR "/richtext/") + name);
}

// Line ends as LF, and no trailing line end: LibreOffice ends the last paragraph with one.
QString normalised(QString text) {
    text.replace("\r\n", "\n");
    while (text.endsWith(u'\n'))
        text.chop(1);
    return text;
}

QString readFixture(const QString& name) {
    // RTF is 7-bit text; everything beyond ASCII is escaped in it.
    const RichTextContent content =
        ReadRichText(QString::fromLatin1(fixture(name + ".rtf")), true);
    EXPECT_EQ(content.error, rtfOk) << name.toStdString();
    return normalised(content.text);
}

QString expectedText(const QString& name) {
    return normalised(QString::fromUtf8(fixture(name + ".txt")));
}

} // namespace

TEST(RichTextFixtures, CzechParagraphsReadAsLibreOfficeReadsThem) {
    for (const QString name : {"czech", "nested"}) {
        const QString expected = expectedText(name);
        ASSERT_FALSE(expected.isEmpty()) << name.toStdString();
        EXPECT_EQ(readFixture(name), expected) << name.toStdString();
    }
}

TEST(RichTextFixtures, TablesListsAndPicturesGiveTheSameWords) {
    // The reader gives table cells as tabs and shows list labels as their own text ("•" and a
    // tab); LibreOffice writes each cell on a line and indents its labels. The words agree.
    const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QString expected = expectedText("table").replace(blanks, " ");
    ASSERT_TRUE(expected.contains(QString::fromUtf8("Obrázek: a za ním text.")));
    EXPECT_EQ(readFixture("table").replace(blanks, " ").trimmed(), expected.trimmed());
}
