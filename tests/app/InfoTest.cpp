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
        box.TextSet = set;
        box.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    }
    QStringList texts() const {
        QStringList all;
        for (int i = 1; i <= 5; ++i)
            all << box.findChild<QLabel*>(QString("Label%1").arg(i))->text();
        return all;
    }

    TInfoForm box;
};

} // namespace

// Each known set shows its own texts (the credit sets' test); an unknown one keeps the last.
TEST_F(AboutBox, AnUnknownSetKeepsTheLastTextsAndOnlyEscCloses) {
    open(2);
    const QStringList second = texts();
    box.hide();
    open(7);
    EXPECT_EQ(texts(), second);
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

TEST_F(AboutBox, ThreeDistinctCreditSetsOfOurOwnThatFit) {
    QStringList all;
    for (int set = 1; set <= 3; ++set) {
        box.hide();
        open(set);
        for (int i = 1; i <= 5; ++i) {
            const QLabel* label = box.findChild<QLabel*>(QString("Label%1").arg(i));
            SCOPED_TRACE(label->text().toStdString());
            EXPECT_FALSE(label->text().contains(QString::fromUtf8("—")));
            EXPECT_LE(label->heightForWidth(label->width()), label->height());
            for (const QString& word : label->text().split(QRegularExpression("\\s")))
                EXPECT_LE(label->fontMetrics().horizontalAdvance(word), label->width());
            EXPECT_TRUE(box.rect().contains(label->geometry()));
            all << label->text();
        }
    }
    EXPECT_EQ(QSet<QString>(all.begin(), all.end()).size(), 15);
    EXPECT_TRUE(all.join('\n').contains(QRegularExpression("\\d{4}-\\d{2}-\\d{2}"))); // build date
}
