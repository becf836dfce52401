// The Calculation page as a view of the model: what it shows, where the focus goes, the
// rotation, the metastable label and the region banner. The model's own tests cover parsing,
// pair codes and the library calls.

#include "StandInLibrary.h"
#include "WindowFixture.h"

#include "app/Texts.h"

namespace {

class CalculationUi : public testing::Test, public WindowFixture {
protected:
    void SetUp() override {
        StandIn::reset();
        open(StandIn::library());
        chooseLanguage(0);
    }

    QLineEdit* edit(int i) const { return find<QLineEdit>(QString("Edit%1").arg(i)); }
    ::CalculationPage* calc() const { return window->calculationPage(); }
    // Runs `ticks` ticks of the banner, then checks its height and text.
    void expectBannerAfter(int ticks, int height, const char* name) {
        tickBanner(ticks);
        EXPECT_EQ(bannerHeight(), height) << name;
        EXPECT_EQ(text("lblNazevOblasti"), QString::fromUtf8(name));
    }
};

const char* const kOutputs[] = {"LabelV11", "LabelV22", "LabelV33", "LabelV44", "LabelD11",
                                "LabelD22", "LabelD33", "LabelD44", "LabelD55", "LabelD66"};

} // namespace

TEST_F(CalculationUi, EnterShowsTheResultsAndMovesTheFocusToASelectedBox) {
    compute("26.85", "3");
    EXPECT_EQ(QApplication::focusWidget(), edit(2));
    EXPECT_EQ(edit(1)->text(), num("26.85"));
    EXPECT_EQ(edit(2)->text(), num("3.000"));
    // v, s, h, x and cp..lambda with the decimals of kolv.cfg or their fixed ones.
    const char* shown[] = {"0.001002", "0.3923",  "115.331",   "0",       "4.173",
                           "4.120",    "1.33000", "1507.7392", "852.100", "610.200"};
    for (std::size_t i = 0; i < std::size(kOutputs); ++i)
        EXPECT_EQ(text(kOutputs[i]), num(shown[i])) << kOutputs[i];
    for (const char* row : {"V1", "V2", "V3", "V4", "D1", "D4", "D6"}) {
        QLabel* value = find(QString("Label%1%2").arg(row).arg(QString(row).right(1)));
        QLabel* unit = find(QString("Label%1%2%2").arg(row).arg(QString(row).right(1)));
        EXPECT_EQ(unit->x(), value->x() + value->width() + 8) << row;
        EXPECT_EQ(unit->y(), value->y()) << row;
    }
    // Typing replaces the selected text, which counts once typed (an unedited box stands for the
    // exact value: the end-to-end test); Enter in the second box moves the focus back.
    QTest::keyClicks(edit(2), "4");
    EXPECT_EQ(edit(2)->text(), "4");
    QTest::keyClick(edit(2), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), edit(1));
    EXPECT_DOUBLE_EQ(StandIn::stateCalls.back().x2, 4);
    QTest::keyClick(edit(1), '5');
    EXPECT_EQ(edit(1)->text(), "5");
}

// A refused input (no number, too long to read, negative) stays in its box beside no values,
// the banner closes, and Print says that nothing is computed, as before the first calculation.
TEST_F(CalculationUi, ARefusedInputStaysBesideNoValuesAndNothingIsPrinted) {
    click("menu0_6");
    for (const QString& bad : {QString(), QString("abc"), QString(400, '9'), QString("-1")}) {
        compute("26.85", "3");
        tickBanner(7);
        compute(bad, "3,5");
        EXPECT_EQ(edit(1)->text() + edit(2)->text(), bad + "3,5");
        EXPECT_EQ(QApplication::focusWidget(), edit(bad == "-1" ? 2 : 1)) << bad.toStdString();
        for (const char* row : kOutputs)
            EXPECT_EQ(text(row), "") << row;
        tickBanner(6);
        EXPECT_EQ(bannerHeight(), 0);
        EXPECT_EQ(modalsOpenedBy([this] { click("menu0_6"); }), 0);
    }
    EXPECT_EQ(messages.messages(), QStringList(5, texts::nothingToPrint(texts::Czech)));
}

TEST_F(CalculationUi, RotatingRowOneShowsVAndTAsTheInputsAndClosesTheBanner) {
    compute("26.85", "3");
    tickBanner(7);
    click("ShapeV1");
    EXPECT_EQ(text("Label1"), QString::fromUtf8("Měrný objem  [m3/kg] :"));
    EXPECT_EQ(text("Label2"), QString::fromUtf8("Teplota  [°C] :"));
    EXPECT_EQ(text("LabelV1"), "Tlak = ");
    EXPECT_EQ(edit(1)->text(), num("0.001002"));
    EXPECT_EQ(edit(2)->text(), num("26.85"));
    EXPECT_EQ(text("LabelV11"), num("3.000"));
    EXPECT_EQ(StandIn::stateCalls.size(), 1u); // nothing is recomputed
    tickBanner(7);
    EXPECT_EQ(bannerHeight(), 0);
    EXPECT_FALSE(calc()->timer2()->isActive());
}

TEST_F(CalculationUi, OnlyALeftClickTogglesMetastableAndRecomputesKeepingTheFocus) {
    compute("26.85", "3");
    auto* label = find<QLabel>("lblMetastab");
    QTest::mouseClick(label, Qt::RightButton);
    QTest::mousePress(label, Qt::LeftButton); // released outside the label
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(label->width() + 20, -20));
    EXPECT_FALSE(state().MetastablePreferred);
    EXPECT_EQ(StandIn::stateCalls.size(), 1u);
    EXPECT_EQ(label->text(), texts::metastableCaption(texts::Czech, false));

    // A toggle computes what the boxes hold, typed text included.
    edit(1)->setText("200");
    edit(1)->setModified(true);
    edit(2)->setFocus();
    for (bool on : {true, false}) {
        click("lblMetastab");
        EXPECT_EQ(label->text(), texts::metastableCaption(texts::Czech, on));
        EXPECT_EQ(StandIn::stateCalls.back().metastable, on);
        EXPECT_EQ(QApplication::focusWidget(), edit(2));
    }
    EXPECT_EQ(StandIn::stateCalls.size(), 3u);
    EXPECT_EQ(StandIn::stateCalls[1].x1, 200.0);
    EXPECT_EQ(edit(1)->text(), num("200.00"));
}

TEST_F(CalculationUi, TheBannerOpensClosesAndChangesTextOnlyWhenClosed) {
    const char* water = "Oblast tlakové vody";
    const char* steam = "Oblast přehřáté páry";
    compute("26.85", "3");
    expectBannerAfter(6, 18, water);
    EXPECT_FALSE(state().BannerOpen);
    tickBanner(1);
    EXPECT_TRUE(state().BannerOpen);
    EXPECT_FALSE(calc()->timer2()->isActive());
    // The same state again closes and reopens it.
    compute("26.85", "3");
    expectBannerAfter(3, 9, water);
    expectBannerAfter(10, 18, water);

    StandIn::region = numerics::RegionCode::Steam;
    compute("400", "3");
    EXPECT_TRUE(calc()->timer2()->isActive());
    expectBannerAfter(6, 0, water);
    expectBannerAfter(1, 3, steam);
    expectBannerAfter(6, 18, steam);
    EXPECT_TRUE(state().BannerOpen);
    // Region 0 closes it and stops the timer.
    compute("abc", "3");
    expectBannerAfter(7, 0, steam);
    EXPECT_FALSE(state().BannerOpen);
    EXPECT_FALSE(calc()->timer2()->isActive());
}

TEST_F(CalculationUi, TheTimerNamesAResultOfTheOpeningOnceTheBannerHasReopened) {
    StandIn::region = numerics::RegionCode::OutOfRange;
    compute("1e300", "3");
    tickBanner(3);
    calc()->timer2()->start();
    StandIn::region = numerics::RegionCode::Steam;
    compute("400", "3");
    EXPECT_TRUE(QTest::qWaitFor(
        [this] { return !calc()->timer2()->isActive() && bannerHeight() == 18; }, 3000));
    EXPECT_EQ(text("lblNazevOblasti"), QString::fromUtf8("Oblast přehřáté páry"));
}
