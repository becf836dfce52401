#include "StandInLibrary.h"
#include "WindowFixture.h"

#include "app/Texts.h"

#include <QTimer>

#include <array>

namespace {

class CalculationUi : public testing::Test, public WindowFixture {
protected:
    void SetUp() override {
        StandIn::reset();
        open(StandIn::library());
        chooseLanguage(0);
    }

    QLineEdit* edit(int i) const { return find<QLineEdit>(QString("Edit%1").arg(i)); }
    const AppState& state() const { return window->state(); }
    ::CalculationPage* calc() const { return window->calculationPage(); }
    QString num(const char* dotted) const { return QString(dotted).replace('.', sep()); }

    // Enter in box 1 after typing both values.
    void compute(const QString& a1, const QString& a2) {
        edit(2)->setText(a2);
        edit(2)->setModified(true); // as if typed
        enter("Edit1", a1);
    }
};

} // namespace

TEST_F(CalculationUi, RotatingRowOneShowsVAndTAsTheInputs) {
    compute("26.85", "3");
    tickBanner(7);
    EXPECT_EQ(state().CalcRegionCode, numerics::RegionCode::Water);
    click("ShapeV1");
    EXPECT_EQ(text("Label1"), QString::fromUtf8("Měrný objem  [m3/kg] :"));
    EXPECT_EQ(text("Label2"), QString::fromUtf8("Teplota  [°C] :"));
    EXPECT_EQ(text("LabelV1"), "Tlak = ");
    EXPECT_EQ(edit(1)->text(), num("0.001002"));
    EXPECT_EQ(edit(2)->text(), num("26.85"));
    EXPECT_EQ(text("LabelV11"), num("3.000"));
    // Nothing is recomputed and the banner closes.
    EXPECT_EQ(StandIn::stateCalls.size(), 1u);
    EXPECT_EQ(state().CalcRegionCode, numerics::RegionCode::None);
    tickBanner(7);
    EXPECT_EQ(bannerHeight(), 0);
    EXPECT_FALSE(calc()->timer2()->isActive());
}

TEST_F(CalculationUi, EnterShowsTheResultsAndMovesTheFocus) {
    compute("26.85", "3");
    EXPECT_EQ(QApplication::focusWidget(), edit(2));
    EXPECT_EQ(edit(1)->text(), num("26.85"));
    EXPECT_EQ(edit(2)->text(), num("3.000"));
    EXPECT_EQ(text("LabelV11"), num("0.001002"));
    EXPECT_EQ(text("LabelV22"), num("0.3923"));
    EXPECT_EQ(text("LabelV33"), num("115.331"));
    EXPECT_EQ(text("LabelV44"), "0");
    EXPECT_EQ(text("LabelD11"), num("4.173"));
    EXPECT_EQ(text("LabelD33"), num("1.33000"));
    EXPECT_EQ(text("LabelD44"), num("1507.7392"));
    EXPECT_EQ(text("LabelD55"), num("852.100"));
    for (const char* row : {"V1", "V2", "V3", "V4", "D1", "D4", "D6"}) {
        QLabel* value = find(QString("Label%1%2").arg(row).arg(QString(row).right(1)));
        QLabel* unit = find(QString("Label%1%2%2").arg(row).arg(QString(row).right(1)));
        EXPECT_EQ(unit->x(), value->x() + value->width() + 8) << row;
        EXPECT_EQ(unit->y(), value->y()) << row;
    }
    // Enter in the second box moves the focus back.
    enter("Edit2", "4");
    EXPECT_EQ(QApplication::focusWidget(), edit(1));
    EXPECT_DOUBLE_EQ(StandIn::stateCalls.back().x2, 4);
}

TEST_F(CalculationUi, TextThatIsNotANumberClearsTheOutputsAndKeepsTheFocus) {
    compute("26.85", "3");
    for (const char* bad : {"", "abc"}) {
        SCOPED_TRACE(bad);
        const auto calls = StandIn::stateCalls.size();
        compute(QString::fromUtf8(bad), "3");
        EXPECT_EQ(StandIn::stateCalls.size(), calls);
        EXPECT_EQ(QApplication::focusWidget(), edit(1));
        for (const char* row : {"LabelV11", "LabelV22", "LabelV33", "LabelV44", "LabelD11",
                                "LabelD22", "LabelD33", "LabelD44", "LabelD55", "LabelD66"})
            EXPECT_EQ(text(row), "0") << row;
        // The inputs show their last values again.
        EXPECT_EQ(edit(1)->text(), num("26.85"));
        EXPECT_TRUE(messages.messages().isEmpty());
    }
}

TEST_F(CalculationUi, ANegativeInputComputesNothingButMovesTheFocus) {
    compute("26.85", "3");
    compute("-1", "3");
    EXPECT_EQ(StandIn::stateCalls.size(), 1u);
    EXPECT_EQ(QApplication::focusWidget(), edit(2));
    EXPECT_EQ(edit(1)->text(), "-1");
    EXPECT_EQ(text("LabelV11"), num("0.001002"));
}

TEST_F(CalculationUi, TheMetastableToggleRecomputesWithoutMovingTheFocus) {
    compute("26.85", "3");
    edit(2)->setFocus();
    click("lblMetastab");
    EXPECT_EQ(text("lblMetastab"),
              QString::fromUtf8("Procedura preferuje výpočet metastabilní oblasti"));
    ASSERT_EQ(StandIn::stateCalls.size(), 2u);
    EXPECT_TRUE(StandIn::stateCalls[1].metastable);
    EXPECT_EQ(QApplication::focusWidget(), edit(2));
    click("lblMetastab");
    EXPECT_FALSE(StandIn::stateCalls.back().metastable);
    EXPECT_EQ(text("lblMetastab"),
              QString::fromUtf8("Procedura neuvažuje s výpočtem v metastabilní oblasti"));
}

TEST_F(CalculationUi, OnlyALeftClickOnTheMetastableLabelTogglesIt) {
    compute("26.85", "3");
    auto* label = find<QLabel>("lblMetastab");
    QTest::mouseClick(label, Qt::RightButton);
    QTest::mousePress(label, Qt::LeftButton);
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(label->width() + 20, -20));
    EXPECT_FALSE(state().MetastablePreferred);
    EXPECT_EQ(StandIn::stateCalls.size(), 1u);
    EXPECT_EQ(label->text(),
              QString::fromUtf8("Procedura neuvažuje s výpočtem v metastabilní oblasti"));
}

TEST_F(CalculationUi, TheBannerOpensClosesAndChangesTextOnlyWhenClosed) {
    compute("26.85", "3");
    tickBanner(6);
    EXPECT_EQ(bannerHeight(), 18);
    EXPECT_EQ(text("lblNazevOblasti"), QString::fromUtf8("Oblast tlakové vody"));
    EXPECT_FALSE(state().BannerOpen);
    tickBanner(1);
    EXPECT_TRUE(state().BannerOpen);
    EXPECT_FALSE(calc()->timer2()->isActive());

    StandIn::region = numerics::RegionCode::Steam;
    compute("400", "3");
    EXPECT_TRUE(calc()->timer2()->isActive());
    tickBanner(6);
    EXPECT_EQ(bannerHeight(), 0);
    EXPECT_EQ(text("lblNazevOblasti"), QString::fromUtf8("Oblast tlakové vody"));
    tickBanner(1);
    EXPECT_EQ(text("lblNazevOblasti"), QString::fromUtf8("Oblast přehřáté páry"));
    EXPECT_EQ(bannerHeight(), 3);
    tickBanner(6);
    EXPECT_EQ(bannerHeight(), 18);
    EXPECT_TRUE(state().BannerOpen);

    // Region 0 closes it and stops the timer.
    compute("abc", "3");
    tickBanner(6);
    EXPECT_EQ(bannerHeight(), 0);
    tickBanner(1);
    EXPECT_FALSE(state().BannerOpen);
    EXPECT_FALSE(calc()->timer2()->isActive());
}

TEST_F(CalculationUi, TheSameStateTwiceClosesAndReopensTheBanner) {
    compute("26.85", "3");
    tickBanner(7);
    compute("26.85", "3");
    tickBanner(3);
    EXPECT_EQ(bannerHeight(), 9);
    tickBanner(9);
    EXPECT_EQ(bannerHeight(), 18);
    EXPECT_FALSE(state().BannerOpen);
    EXPECT_EQ(text("lblNazevOblasti"), QString::fromUtf8("Oblast tlakové vody"));
}

TEST_F(CalculationUi, AResultDuringOpeningIsNamedOnceTheBannerHasReopened) {
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

TEST_F(CalculationUi, TheTimerRunsTheBannerOpen) {
    StandIn::region = numerics::RegionCode::Unsupported;
    compute("0.5", "0.5");
    EXPECT_TRUE(QTest::qWaitFor([this] { return bannerHeight() == 18; }, 2000));
    EXPECT_EQ(text("lblNazevOblasti"), QString::fromUtf8("Kombinace proměnných není odladěna"));
}

TEST_F(CalculationUi, AnUneditedBoxComputesWithTheExactValueBehindItsText) {
    // p = 0.0035 MPa shows as "0.004"; Enter again must not compute with 0.004.
    compute("26.85", "0.0035");
    ASSERT_EQ(edit(2)->text(), num("0.004"));
    QTest::keyClick(edit(2), Qt::Key_Return);
    ASSERT_EQ(StandIn::stateCalls.size(), 2u);
    EXPECT_EQ(StandIn::stateCalls[1].x2, 0.0035);
    EXPECT_EQ(StandIn::stateCalls[1].x1, 26.85);
    // Once the user edits the text, the typed text counts.
    edit(2)->setFocus();
    QTest::keyClick(edit(2), Qt::Key_End);
    QTest::keyClick(edit(2), '1');
    QTest::keyClick(edit(2), Qt::Key_Return);
    ASSERT_EQ(StandIn::stateCalls.size(), 3u);
    EXPECT_DOUBLE_EQ(StandIn::stateCalls[2].x2, 0.0041);
}

TEST_F(CalculationUi, AnEditBoxSelectsItsTextWhenEnterMovesTheFocusThere) {
    enter("Edit1", "26.85");
    ASSERT_EQ(QApplication::focusWidget(), edit(2));
    QTest::keyClick(edit(2), '1');
    EXPECT_EQ(edit(2)->text(), "1");
    enter("Edit2", "1");
    QTest::keyClick(edit(1), '5');
    EXPECT_EQ(edit(1)->text(), "5");
}
