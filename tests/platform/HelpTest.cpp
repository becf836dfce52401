#include "platform/Help.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
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

// A small help file of its own: ":/help/manual/" with index.html and 30.html.
TEST(HelpWindow, WorksBesideAModalWindowAndClosesWithEsc) {
    platform::BrowserHelpViewer viewer;
    QDialog dialog;
    dialog.setGeometry(40, 40, 150, 100);
    bool contentsShown = false;
    bool backWorked = false;
    QTimer::singleShot(0, [&] {
        viewer.showTopic("manual.hlp", 30);
        QWidget* help = viewer.window();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(help));
        // Beside the window that asked, not over it.
        EXPECT_FALSE(help->frameGeometry().intersects(dialog.frameGeometry()));
        QTest::mouseClick(help->findChild<QPushButton*>("HelpContents"), Qt::LeftButton);
        contentsShown = viewer.browser()->source().toString().endsWith("index.html");
        QTest::mouseClick(help->findChild<QPushButton*>("HelpBack"), Qt::LeftButton);
        backWorked = viewer.browser()->source().toString().endsWith("30.html");
        QTest::keyClick(viewer.browser(), Qt::Key_Escape);
        EXPECT_FALSE(help->isVisible());
        dialog.done(1);
    });
    dialog.exec();
    EXPECT_TRUE(contentsShown);
    EXPECT_TRUE(backWorked);
}
