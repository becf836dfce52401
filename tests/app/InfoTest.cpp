#include "app/info.h"

#include <QApplication>
#include <QLabel>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class AboutBox : public testing::Test {
protected:
    void open(int set) {
        box.hide();
        box.TextSet = set;
        box.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    }
    QLabel* label(int i) const { return box.findChild<QLabel*>(QString("Label%1").arg(i)); }

    TInfoForm box;
};

} // namespace

// Three distinct sets of our own that fit; an unknown set keeps the last texts. Only Esc closes.
TEST_F(AboutBox, ThreeDistinctCreditSetsOfOurOwnThatFitAndOnlyEscCloses) {
    QStringList all;
    for (int set = 1; set <= 3; ++set) {
        open(set);
        for (int i = 1; i <= 5; ++i) {
            SCOPED_TRACE(label(i)->text().toStdString());
            EXPECT_FALSE(label(i)->text().contains(QString::fromUtf8("—")));
            EXPECT_LE(label(i)->heightForWidth(label(i)->width()), label(i)->height());
            for (const QString& word : label(i)->text().split(QRegularExpression("\\s")))
                EXPECT_LE(label(i)->fontMetrics().horizontalAdvance(word), label(i)->width());
            EXPECT_TRUE(box.rect().contains(label(i)->geometry()));
            all << label(i)->text();
        }
    }
    EXPECT_EQ(QSet<QString>(all.begin(), all.end()).size(), 15);
    EXPECT_TRUE(all.join('\n').contains(QRegularExpression("\\d{4}-\\d{2}-\\d{2}"))); // build date

    open(7);
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(label(i)->text(), all[10 + i - 1]);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_A, Qt::Key_Tab}) {
        QTest::keyClick(&box, key);
        EXPECT_TRUE(box.isVisible()) << key;
    }
    QTest::keyClick(&box, Qt::Key_Escape);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), 1);
}

TEST_F(AboutBox, CentresOnItsParentAndTheCloseButtonEndsAModalRunWithOne) {
    QWidget parent;
    parent.setGeometry(100, 100, 514, 366);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    TInfoForm child(&parent);
    child.TextSet = 3;
    QTimer::singleShot(0, &child, [&] {
        EXPECT_LE((child.geometry().center() - parent.geometry().center()).manhattanLength(), 1);
        QTest::mouseClick(child.findChild<QToolButton*>("sbtnZavrit"), Qt::LeftButton);
    });
    EXPECT_EQ(child.exec(), 1);
}
