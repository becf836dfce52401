// Template files that are not what they should be: read without a crash, a hang or a runaway
// model, and the report stays usable.

#include "TestFiles.h"
#include "report/engine/run/sestavy.h"

#include "platform/MessageSink.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace report;

namespace {

class TemplateFileTest : public testing::Test {
protected:
    TemplateFileTest() : m_report(nullptr, m_dir.path()) {
        m_report.setMessageSink(&m_messages);
        m_report.SetReportName(QStringLiteral("bad.pts"));
        m_report.SetItemNames({QStringLiteral("name"), QStringLiteral("t")});
    }

    // Writes the file and loads it through the component; the load result.
    int load(const QByteArray& bytes) {
        EXPECT_TRUE(writeFile(m_dir.filePath(QStringLiteral("bad.pts")), bytes));
        return m_report.NactiPredlohu(false);
    }

    int elementCount() const {
        int count = 0;
        for (int s = 0; s < m_report.Oddily().Count(); ++s)
            count += m_report.Oddily().Oddil(s)->Count();
        return count;
    }

    QTemporaryDir m_dir;
    platform::MessageRecorder m_messages;
    TSestava m_report;
};

TEST_F(TemplateFileTest, EmptyAndBinaryFiles) {
    EXPECT_EQ(load({}), seOk);
    EXPECT_EQ(elementCount(), 0);
    EXPECT_EQ(m_report.Popis, u"Tisková úloha VORAN");

    QByteArray garbage(1 << 16, '\0');
    QRandomGenerator random(16);
    for (char& c : garbage)
        c = char(random.bounded(256));
    // A file of random bytes is reported as damaged, not shown as an empty report; the reader
    // itself still takes such text without harm.
    EXPECT_EQ(load(garbage), seNotLoaded);
    EXPECT_EQ(m_messages.messages().size(), 1);
    m_report.SetPredloha(TPredloha::FromBytes(garbage));
    EXPECT_GE(m_report.Columns(), 1);
    EXPECT_EQ(m_report.Oddily().Count(), 5 + 2 * m_report.Skupiny().Count());

    // Invalid UTF-8 reads as Windows-1250 rather than losing characters.
    EXPECT_EQ(load("I,0,\"\xC5\xA0\xFF\"\r\n"), seOk);
    EXPECT_EQ(m_report.Popis, u"Ĺ\u00A0˙");
    EXPECT_EQ(m_messages.messages().size(), 1);
}

TEST_F(TemplateFileTest, LongLinesAndALargeFile) {
    // Lines of 100,000 characters: a huge text, a field of commas, a run of quotes.
    QByteArray bytes = "T,1,0,0,0,10,10,Arial,10,0,0,0,0,238,\"" + QByteArray(100000, 'x') +
                       "\"\r\nT," + QByteArray(100000, ',') + "\r\nI,0," +
                       QByteArray(100000, '"') + "\r\n";
    EXPECT_EQ(load(bytes), seOk);
    EXPECT_EQ(m_report.Oddily().Oddil(odT)->Prvek(0)->Text.size(), 100000);
    EXPECT_EQ(m_report.Oddily().Oddil(odT)->Count(), 2);

    // About 50 MB: element lines with long texts, garbage, and a group every 100 blocks.
    const QByteArray element =
        "T,1,0,0,0,100,20,Arial,10,0,0,1,0,238,\"" + QByteArray(900, 'y') + "\",0,0,0\r\n";
    const QByteArray block = element + "S0,2,t\r\n\x01\x02\xFF,\"" + QByteArray(60, 'z') + "\r\n";
    const QByteArray group = "I,4,0,name,1,20,1,20,0\r\n";
    bytes.clear();
    int blocks = 0;
    while (bytes.size() < 50 * 1024 * 1024) {
        bytes += block;
        if (blocks++ % 100 == 0) bytes += group;
    }
    // The control bytes in it make the file a damaged one; the reader takes the text.
    EXPECT_EQ(load(bytes), seNotLoaded);
    m_report.SetPredloha(TPredloha::FromBytes(bytes));
    EXPECT_EQ(m_report.Oddily().Oddil(odT)->Count(), blocks);
    EXPECT_EQ(m_report.Skupiny().Count(), (blocks + 99) / 100);
    EXPECT_EQ(m_report.Skupiny().Skupina(0)->Header->Count(), blocks);
    m_report.ClearModel();
    EXPECT_EQ(m_report.Oddily().Count(), 5);
}

TEST_F(TemplateFileTest, AFolderOrMissingFileInsteadOfATemplate) {
    EXPECT_EQ(m_report.NactiPredlohu(false), seNotLoaded);
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("bad.pts")));
    EXPECT_EQ(m_report.NactiPredlohu(false), seNotLoaded);
    EXPECT_EQ(m_messages.messages().size(), 2);
}

} // namespace
