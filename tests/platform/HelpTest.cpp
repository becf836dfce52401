#include "platform/Help.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

class RecordingViewer : public platform::HelpViewer {
public:
    void showTopic(const QString& helpFile, int context) override {
        topics.emplace_back(helpFile, context);
    }
    std::vector<std::pair<QString, int>> topics;
};

class HelpKey : public testing::Test {
protected:
    void SetUp() override {
        platform::SetHelpFile("kolv.hlp");
        platform::setHelpViewer(&viewer);
        qApp->installEventFilter(&filter);
        outer.setProperty("helpContext", 60);
        inner = new QWidget(&outer);
        edit = new QLineEdit(inner);
        plain = new QLineEdit(&other);
    }
    void TearDown() override {
        qApp->removeEventFilter(&filter);
        platform::setHelpViewer(nullptr);
    }

    RecordingViewer viewer;
    platform::HelpKeyFilter filter;
    QWidget outer;
    QWidget other;
    QWidget* inner = nullptr;
    QLineEdit* edit = nullptr;
    QLineEdit* plain = nullptr;
};

} // namespace

TEST_F(HelpKey, F1WalksUpToTheFirstHelpContextOnce) {
    QTest::keyClick(edit, Qt::Key_F1);
    ASSERT_EQ(viewer.topics.size(), 1u);
    EXPECT_EQ(viewer.topics[0], std::make_pair(QString("kolv.hlp"), 60));
}

TEST_F(HelpKey, TheNearestContextWins) {
    inner->setProperty("helpContext", 30);
    QTest::keyClick(edit, Qt::Key_F1);
    ASSERT_EQ(viewer.topics.size(), 1u);
    EXPECT_EQ(viewer.topics[0].second, 30);
}

TEST_F(HelpKey, WithoutAContextF1OpensTheContents) {
    QTest::keyClick(plain, Qt::Key_F1);
    ASSERT_EQ(viewer.topics.size(), 1u);
    EXPECT_EQ(viewer.topics[0].second, 0);
}

TEST_F(HelpKey, OtherKeysReachTheWidget) {
    QTest::keyClicks(edit, "ab");
    QTest::keyClick(edit, Qt::Key_F2);
    EXPECT_TRUE(viewer.topics.empty());
    EXPECT_EQ(edit->text(), "ab");
}

TEST(HelpTopicPath, NamesTheTopicByHelpFileAndFallsBackToTheContents) {
    // This test binary carries no topics, so every context falls back to the contents.
    EXPECT_EQ(platform::helpTopicPath("kolv.hlp", 30), ":/help/kolv/index.html");
    EXPECT_EQ(platform::helpTopicPath("Sestavy.HLP", 0), ":/help/sestavy/index.html");
}
