// The new-template wizard: the four layouts against lines worked out by hand, the list moves
// and the refusal of an empty choice.

#include "report/designer/TDlgNovaSestava.h"
#include "platform/MessageSink.h"
#include "report/designer/TEditorSettings.h"
#include "report/engine/run/sestavy.h"

#include "../support/ReportFixture.h"

#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Items a (10 characters, right-aligned with bit 128 set), b (40, left), c (5, centred).
template <class Base> struct ItemReport : Base {
    ItemReport() {
        this->SetItemNames({"a", "b", "c"});
        this->setItemDescriptions({"popis a", "popis, b", "\"c\""});
    }
    int GetDisplayWidth(int i) override { return i == 0 ? 10 : i == 1 ? 40 : 5; }
    int GetAlignment(int i) override { return i == 0 ? 129 : i == 1 ? 0 : 2; }
};

struct Wizard : ::testing::Test {
    void SetUp() override {
        designer::EditorSettings() = {};
        wizard.setItems({"a", "b", "c"});
        wizard.setChosenItems({"a", "b", "zz", "c"}); // zz is unknown to the report
    }
    QStringList generate(report::TSestavaTyp& report, int height) {
        report::TPredloha lines;
        wizard.Generate(lines, report, height, 250);
        return lines;
    }
    designer::TDlgNovaSestava wizard;
    ItemReport<report::TSestava> main;
    ItemReport<report::TSestDetail> detail;
};

const QStringList kReportStart{"Z,1,0,0,40,250,40,Arial,24,0,1,2,0,1,\"Nadpis sestavy\"",
                               "Z,5,0,178,0,72,20,Arial,10,0,2,0,0,1",
                               "Z,1,0,122,0,56,20,Arial,10,0,2,0,0,1,\"Datum:\""};
const QStringList kPageFooter{"P,1,0,106,8,96,20,Arial,10,0,2,1,0,1,\"Stránka číslo:\"",
                              "P,5,3,202,8,32,20,Arial,10,0,2,1,0,1"};

} // namespace

TEST_F(Wizard, ColumnStyleOfAMainReportWrapsAndCutsToThePage) {
    wizard.setCaptions(true);
    const QStringList expected =
        QStringList{"I,3,0,1,96", "I,3,1,1,76", "I,3,2,1,68", "I,3,3,0,16", "I,3,4,1,32"} +
        kReportStart +
        QStringList{"H,3,0,0,0,90,20,Arial,10,0,0,1,0,1",   "T,2,0,0,0,90,20,Arial,10,0,0,1,0,1",
                    "H,3,1,0,20,250,20,Arial,10,0,0,0,0,1", "T,2,1,0,20,250,20,Arial,10,0,0,0,0,1",
                    "H,3,2,0,40,55,20,Arial,10,0,0,2,0,1",  "T,2,2,0,40,55,20,Arial,10,0,0,2,0,1",
                    "T,7,0,0,60,250,3,,1,0,0,8,15,0",       "H,7,0,0,68,250,3,,1,0,0,8,15,0"} +
        kPageFooter;
    EXPECT_EQ(generate(main, 1000), expected);
}

TEST_F(Wizard, RowStyleOfAMainReportStopsAtThePrintableHeight) {
    wizard.setColumnStyle(false);
    wizard.setCaptions(true);
    wizard.setCaptionsAsText(true);
    wizard.setByName(true);
    const QStringList expected =
        QStringList{"I,3,0,1,96", "I,3,1,1,16", "I,3,2,1,56", "I,3,3,0,16", "I,3,4,1,32"} +
        kReportStart + QStringList{"H,7,0,0,5,250,3,,1,0,0,8,15,0",
                                   "T,1,0,0,0,84,20,Arial,10,0,0,1,0,1,\"popis a\"",
                                   "T,2,a,92,0,90,20,Arial,10,0,0,1,0,1",
                                   "T,1,0,0,20,84,20,Arial,10,0,0,1,0,1,\"popis, b\"",
                                   "T,2,b,92,20,158,20,Arial,10,0,0,0,0,1",
                                   "T,7,0,0,48,250,3,,1,0,0,8,15,0"} +
        kPageFooter;
    EXPECT_EQ(generate(main, 144 + 50), expected);
}

TEST_F(Wizard, ColumnStyleOfADetailHasNoPageLines) {
    const QStringList expected{"I,3,0,1,76",
                               "I,3,1,0,16",
                               "I,3,2,1,68",
                               "I,3,3,0,16",
                               "I,3,4,0,16",
                               "T,2,0,0,0,90,20,Arial,10,0,0,1,0,1",
                               "T,2,1,0,20,250,20,Arial,10,0,0,0,0,1",
                               "T,2,2,0,40,55,20,Arial,10,0,0,2,0,1",
                               "T,7,0,0,60,250,3,,1,0,0,8,15,0",
                               "Z,7,0,0,68,250,3,,1,0,0,8,15,0"};
    EXPECT_EQ(generate(detail, 1000), expected);
}

TEST_F(Wizard, RowStyleOfADetailPutsLabelsBesideValues) {
    wizard.setColumnStyle(false);
    wizard.setCaptions(true);
    const QStringList expected{"I,3,0,1,16",
                               "I,3,1,0,16",
                               "I,3,2,1,76",
                               "I,3,3,0,16",
                               "I,3,4,0,16",
                               "Z,7,0,0,5,250,3,,1,0,0,8,15,0",
                               "T,3,0,0,0,84,20,Arial,10,0,0,1,0,1",
                               "T,2,0,92,0,90,20,Arial,10,0,0,1,0,1",
                               "T,3,1,0,20,84,20,Arial,10,0,0,1,0,1",
                               "T,2,1,92,20,158,20,Arial,10,0,0,0,0,1",
                               "T,3,2,0,40,84,20,Arial,10,0,0,1,0,1",
                               "T,2,2,92,40,55,20,Arial,10,0,0,2,0,1",
                               "T,7,0,0,68,250,3,,1,0,0,8,15,0"};
    EXPECT_EQ(generate(detail, 1000), expected);
}

TEST_F(Wizard, ListMovesAndTheRefusalOfAnEmptyChoice) {
    platform::MessageRecorder messages;
    wizard.setMessageSink(&messages);
    wizard.setItems({"a", "b", "c"});
    auto* source = wizard.findChild<QListWidget*>("SrcList");
    auto* exclude = wizard.findChild<QToolButton*>("ExcludeBtn");
    EXPECT_FALSE(exclude->isEnabled());
    source->item(0)->setSelected(true);
    source->item(2)->setSelected(true);
    wizard.findChild<QToolButton*>("IncludeBtn")->click();
    EXPECT_EQ(wizard.chosenItems(), QStringList({"a", "c"}));
    EXPECT_TRUE(exclude->isEnabled());
    wizard.findChild<QToolButton*>("ExAllBtn")->click();
    EXPECT_TRUE(wizard.chosenItems().isEmpty());
    // every move keeps the order of the list it takes from
    wizard.findChild<QToolButton*>("IncAllBtn")->click();
    EXPECT_EQ(wizard.chosenItems(), QStringList({"b", "a", "c"}));
    wizard.findChild<QToolButton*>("ExAllBtn")->click();
    wizard.show();
    wizard.findChild<QPushButton*>("OKBtn")->click();
    EXPECT_TRUE(wizard.isVisible());
    EXPECT_EQ(messages.messages(),
              QStringList({"Nebyly vybrány žádné položky. Návrh nemůže být proveden!"}));
    wizard.findChild<QPushButton*>("RucneBtn")->click();
    EXPECT_EQ(wizard.result(), designer::TDlgNovaSestava::kByHand);
}

TEST_F(Wizard, ColumnTemplateRunsWithTheItemsInTheChosenOrder) {
    reporttest::TableReport table({"t", "p", "x"}, {{"20", "1.5", "a"}, {"30", "2.5", "b"}});
    table.report.setItemDescriptions({"teplota", "tlak, bar", "x"});
    wizard.setItems({"t", "p", "x"});
    wizard.setChosenItems({"p", "t"});
    wizard.setCaptions(true);
    wizard.setCaptionsAsText(true);
    report::TPredloha lines;
    wizard.Generate(lines, table.report, 1000, 600);
    lines.prepend(reporttest::paperLine(827, 1169, 50));
    table.setTemplate(lines);
    ASSERT_EQ(table.report.Generate(true), 0);
    // the texts of page 1 in reading order: captions (commas and all), then each record's p
    // before its t
    QStringList texts;
    for (const QString& line : reporttest::readingDump(table.report.Vystup())) {
        const qsizetype quote = line.indexOf(u'\'');
        const QString text = line.mid(quote + 1, line.size() - quote - 2);
        if (QStringList({"tlak, bar", "teplota", "1.5", "20", "2.5", "30"}).contains(text))
            texts << text;
    }
    EXPECT_EQ(texts, QStringList({"tlak, bar", "teplota", "1.5", "20", "2.5", "30"}));
}
