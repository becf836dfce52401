// The Functions page against the recording stand-in: lists, group switching, labels parsed
// from the function names, decimals, Enter and the focus cycle. What each code computes is
// the evaluator's test.

#include "StandInLibrary.h"
#include "WindowFixture.h"

namespace {

class FunctionsUi : public testing::Test, public WindowFixture {
protected:
    void SetUp() override {
        StandIn::reset();
        open(StandIn::library());
    }
    void enterPage(int language) {
        chooseLanguage(language);
        click("menu0_3");
    }

    QComboBox* combo(const QString& name) const { return find<QComboBox>(name); }
    QLineEdit* edit(int i) const { return find<QLineEdit>(QString("EditVstup%1").arg(i)); }
    QString initial() const { return "0" + sep() + "0"; }
    bool shown(const QString& name) const { return find<QWidget>(name)->isVisible(); }
    QWidget* focus() const { return QApplication::focusWidget(); }
    void pressEnter(int input) { QTest::keyClick(edit(input), Qt::Key_Return); }
    void typeInto(int input, const QString& text) { edit(input)->setText(text); }
};

} // namespace

TEST_F(FunctionsUi, EachGroupShowsItsOwnListOnly) {
    enterPage(0);
    for (int group = 5; group >= 1; --group) {
        choose("ComboSkupiny", group - 1);
        for (int g = 1; g <= 5; ++g)
            EXPECT_EQ(shown(QString("Combo%1").arg(g)), g == group) << group << " " << g;
        EXPECT_EQ(text("Label27"), combo("ComboSkupiny")->itemText(group - 1));
        EXPECT_EQ(state().FunctionCode, 100 * group);
    }
    // The chosen function of a group stays when the user returns to it.
    choose("ComboSkupiny", 2);
    choose("Combo3", 10);
    EXPECT_EQ(state().FunctionCode, 310);
    choose("ComboSkupiny", 0);
    choose("ComboSkupiny", 2);
    EXPECT_EQ(state().FunctionCode, 310);
    // Page entry starts over with the first item of every list.
    click("menu2_4");
    click("menu3_3");
    EXPECT_EQ(state().FunctionCode, 100);
    EXPECT_EQ(combo("Combo3")->currentIndex(), 0);
    EXPECT_TRUE(shown("Combo1"));
}

// Per function: the visible inputs, all at 0.0, no result, and the labels from its name or,
// in group 5, its own: Lvystup, LjednV, Lvstup1, Ljedn1, Lvstup2, Ljedn2, Ljedn3.
TEST_F(FunctionsUi, EachFunctionShowsItsInputsAndLabels) {
    enterPage(0);
    const std::tuple<int, int, QStringList> cases[] = {
        {100, 1, {}},
        {107, 1, {}},
        {200, 2, {}},
        {407, 2, {}},
        {507, 2, {}},
        {509, 3, {}},
        {400, 2, {"Entalpie = ", "kJ/kg", "Tlak = ", "MPa", "Entropie = ", "kJ/kgK"}}, // Ims_PS
        {102, 1, {"Měrný objem = ", "m3/kg", "Teplota = ", "°C"}},                     // V12_T
        {501, 2, {"Vlhkost = ", " ", "Tlak = ", "MPa", "Entalpie = ", "kJ/kg"}},
        {508,
         3,
         {"Isoentropický spád = ", "kJ/kg", "Tlak poč. expanze = ", "MPa",
          "Entalpie poč. expanze = ", "kJ/kg", "MPa"}},
    };
    const char* names[] = {"Lvystup", "LjednV", "Lvstup1", "Ljedn1",
                           "Lvstup2", "Ljedn2", "Ljedn3"};
    for (const auto& [code, count, labels] : cases) {
        chooseFunction(code);
        SCOPED_TRACE(code);
        EXPECT_EQ(state().InputCount, count);
        for (int i = 2; i <= 3; ++i)
            for (const char* prefix : {"Lvstup", "EditVstup", "Ljedn"})
                EXPECT_EQ(shown(QString("%1%2").arg(prefix).arg(i)), i <= count);
        for (int i = 1; i <= 3; ++i)
            EXPECT_EQ(edit(i)->text(), initial());
        EXPECT_EQ(text("Lhodnota"), "");
        EXPECT_EQ(focus(), edit(1));
        for (int i = 0; i < labels.size(); ++i)
            EXPECT_EQ(text(names[i]), labels[i]) << names[i];
    }
    // In English the labels come from the English names.
    window.reset();
    open(StandIn::library());
    enterPage(1);
    chooseFunction(509);
    EXPECT_EQ(text("Lvstup2"), "Temperature-before compression = ");
    EXPECT_EQ(text("Lvystup"), "Isentropic heat increasing = ");
}

TEST_F(FunctionsUi, ResultDecimalsFollowTheSettingsOrTheFixedTable) {
    enterPage(0);
    // V_TP and Ims_PS with v's 6 and h's 3 decimals of kolv.cfg; cp and w with their fixed 3, 4.
    const std::pair<int, const char*> cases[] = {
        {310, "0.001002"}, {400, "115.331"}, {504, "4.173"}, {507, "1507.7392"}};
    for (const auto& [code, shown] : cases) {
        chooseFunction(code);
        typeInto(1, "26.85");
        typeInto(2, "3");
        pressEnter(2);
        EXPECT_EQ(text("Lhodnota"), num(shown)) << code;
    }
    EXPECT_EQ(StandIn::stateCalls.size(), 2u);
    const QLabel* value = find("Lhodnota");
    EXPECT_EQ(find("LjednV")->x(), value->x() + value->width() + 8);
    // No state, no number.
    StandIn::faultAt = "w";
    pressEnter(2);
    EXPECT_EQ(text("Lhodnota"), "");
}

TEST_F(FunctionsUi, EnterCyclesTheFocusThroughTheVisibleInputs) {
    enterPage(0);
    typeInto(1, "0.1");
    edit(1)->setFocus();
    pressEnter(1); // Ts_P: one input, the focus stays
    EXPECT_EQ(focus(), edit(1));
    EXPECT_EQ(StandIn::stateCalls.size(), 1u);

    for (const auto& [code, count] : {std::pair(313, 2), std::pair(508, 3)}) {
        chooseFunction(code);
        for (int i = 1; i <= count; ++i)
            typeInto(i, QString::number(4 - i));
        for (int i = 1; i <= count; ++i) {
            pressEnter(i);
            EXPECT_EQ(focus(), edit(i % count + 1)) << code << " " << i;
        }
    }
    // The box the focus moved to has its text selected: typing replaces it.
    QTest::keyClick(edit(1), '9');
    EXPECT_EQ(edit(1)->text(), "9");
    // Inputs and lists carry their help context.
    QTest::keyClick(edit(1), Qt::Key_F1);
    combo("Combo5")->setFocus();
    QTest::keyClick(combo("Combo5"), Qt::Key_F1);
    EXPECT_EQ(help.topics, (HelpTopics{{"kolv.hlp", 40}, {"kolv.hlp", 40}}));
}

// Inputs left at their initial text, or holding no number, are not evaluated; the focus moves
// on from the former and stays at the latter.
TEST_F(FunctionsUi, OnlyNumbersTypedIntoEveryInputAreEvaluated) {
    enterPage(0);
    chooseFunction(313);
    typeInto(1, "100");
    find("Lhodnota")->setText("stale");
    pressEnter(1); // input 2 still shows its initial text
    EXPECT_EQ(text("Lhodnota"), "");
    EXPECT_EQ(focus(), edit(2));
    for (const char* bad : {"abc", "nan", "inf", "1e400", "1,2,3", ""}) {
        typeInto(2, bad);
        edit(2)->setFocus();
        pressEnter(2);
        EXPECT_EQ(text("Lhodnota"), "") << bad;
        EXPECT_EQ(focus(), edit(2)) << bad;
    }
    EXPECT_TRUE(StandIn::sequence.empty());
    // Negative inputs go to the library as they are; an input 3 at its initial text counts only
    // for three-input functions.
    typeInto(2, "-1");
    edit(3)->setText("x");
    pressEnter(2);
    ASSERT_EQ(StandIn::stateCalls.size(), 1u);
    EXPECT_EQ(StandIn::stateCalls[0].x2, -1.0);
}
