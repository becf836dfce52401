// The Print command end to end: the shipped template, the real property library, the report
// run and its exports.

#include "WindowFixture.h"

#include "report/engine/sestavy.h"

#include <QFile>

namespace {

class PrintEndToEnd : public testing::Test, public WindowFixture {
protected:
    void SetUp() override {
        for (const char* name : {"zostava.pts", "DoriVOZ.ini"})
            ASSERT_TRUE(QFile::copy(QStringLiteral(KOLV_RESOURCES_DIR "/") + name,
                                    dir.path() + '/' + name));
        open(RealPropertyLibrary());
    }
    QString num(const char* dotted) const { return QString(dotted).replace('.', sep()); }
    QString exportText() {
        window->preparePrint();
        const QString path = dir.path() + "/out.txt";
        EXPECT_EQ(window->report()->SaveToTextFile(path), 0);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QString::fromUtf8(file.readAll());
    }
};

} // namespace

TEST_F(PrintEndToEnd, TextExportOfTheCalculationPage) {
    chooseLanguage(0);
    enter("Edit1", "200");
    enter("Edit2", "1");
    const QString text = exportText();
    EXPECT_TRUE(text.contains("Teplota"));
    EXPECT_TRUE(text.contains(QString::fromUtf8("°C")));
    EXPECT_TRUE(text.contains(num("200.00")));
    EXPECT_EQ(messages.messages(), QStringList());
}
