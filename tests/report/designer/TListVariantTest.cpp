// The undo history: capacity, trimming, redo tails and captions after each step.

#include "report/designer/TListVariant.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using designer::TListVariant;

namespace {

// Records step i as the template text "state i".
void record(TListVariant& history, int i) {
    history.AddVariant(u"krok %1"_s.arg(i)) << u"state %1"_s.arg(i);
}

QString stateAt(TListVariant& history, int i) {
    return history.Variant(i).value(0);
}

} // namespace

TEST(TListVariant, StartsWithTheBaseStateAndNothingToUndo) {
    TListVariant history;
    EXPECT_EQ(history.Count(), 1);
    EXPECT_EQ(history.Name(0), u"Základní varianta"_s);
    EXPECT_TRUE(history.Current().isEmpty());
    EXPECT_FALSE(history.Undo());
    EXPECT_FALSE(history.Redo());
    EXPECT_EQ(history.UndoCaption(), u"Zrušit změny"_s);
    EXPECT_EQ(history.RedoCaption(), u"Znovu změny"_s);
}

TEST(TListVariant, ElevenStepsAtCapacityTenKeepTheLastTenStates) {
    TListVariant history;
    for (int i = 1; i <= 11; ++i)
        record(history, i);
    ASSERT_EQ(history.Count(), 10);
    EXPECT_EQ(stateAt(history, 0), u"state 2"_s);
    EXPECT_EQ(history.UndoCaption(), u"Zrušit krok 11"_s);
    int undos = 0;
    while (history.Undo())
        ++undos;
    EXPECT_EQ(undos, 9);
    EXPECT_EQ(history.Current().value(0), u"state 2"_s);
    EXPECT_EQ(history.RedoCaption(), u"Znovu krok 3"_s);
    while (history.Redo()) {
    }
    EXPECT_EQ(history.Current().value(0), u"state 11"_s);
}

TEST(TListVariant, ANewStepAfterUndoDropsTheRedoTail) {
    TListVariant history;
    for (int i = 1; i <= 4; ++i)
        record(history, i);
    ASSERT_TRUE(history.Undo());
    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(history.RedoCaption(), u"Znovu krok 3"_s);
    record(history, 5);
    EXPECT_EQ(history.Count(), 4); // base, 1, 2, 5
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.RedoCaption(), u"Znovu změny"_s);
    EXPECT_EQ(history.UndoCaption(), u"Zrušit krok 5"_s);
    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(history.Current().value(0), u"state 2"_s);
}

TEST(TListVariant, CapacityZeroActsAsOne) {
    TListVariant history;
    history.SetCapacity(0);
    EXPECT_EQ(history.Capacity(), 1);
    for (int i = 1; i <= 3; ++i) {
        record(history, i);
        EXPECT_EQ(history.Count(), 1);
        EXPECT_FALSE(history.CanUndo());
        EXPECT_EQ(history.Current().value(0), u"state %1"_s.arg(i));
    }
    EXPECT_EQ(history.UndoCaption(), u"Zrušit změny"_s);
}

TEST(TListVariant, LoweringTheCapacityDropsOldStatesBeforeRedoStates) {
    struct Case {
        int undos;
        int capacity;
        int count;
        int current;
        QString first; // state of entry 0
        QString last;
    };
    // Six entries (base and five steps); the current one after `undos` undos.
    const Case cases[] = {
        {0, 3, 3, 2, "state 3", "state 5"}, // only old states go
        {2, 3, 3, 0, "state 3", "state 5"}, // old states go while there are any
        {4, 3, 3, 0, "state 1", "state 3"}, // the base goes, then redo states
        {5, 2, 2, 0, "", "state 1"},        // at the base: only redo states can go
        {1, 6, 6, 4, "", "state 5"},        // nothing to trim
    };
    for (const Case& c : cases) {
        TListVariant history;
        for (int i = 1; i <= 5; ++i)
            record(history, i);
        for (int i = 0; i < c.undos; ++i)
            history.Undo();
        const QString current = history.Current().value(0);
        history.SetCapacity(c.capacity);
        SCOPED_TRACE(c.undos * 100 + c.capacity);
        EXPECT_EQ(history.Count(), c.count);
        EXPECT_EQ(history.CurrentIndex(), c.current);
        EXPECT_EQ(history.Current().value(0), current);
        EXPECT_EQ(stateAt(history, 0), c.first);
        EXPECT_EQ(stateAt(history, history.Count() - 1), c.last);
    }
}

TEST(TListVariant, ForgetHistoryKeepsOnlyTheCurrentState) {
    TListVariant history;
    for (int i = 1; i <= 5; ++i)
        record(history, i);
    history.Undo();
    history.ForgetHistory();
    EXPECT_EQ(history.Count(), 1);
    EXPECT_EQ(history.CurrentIndex(), 0);
    EXPECT_EQ(history.Name(0), u"krok 4"_s);
    EXPECT_EQ(history.Current().value(0), u"state 4"_s);
    EXPECT_EQ(history.UndoCaption(), u"Zrušit změny"_s);
    EXPECT_EQ(history.RedoCaption(), u"Znovu změny"_s);
}

TEST(TListVariant, StepNamesOfTheChangeKinds) {
    EXPECT_EQ(TListVariant::StepName(7), u"posun prvku"_s);
    EXPECT_EQ(TListVariant::StepName(15), u"změna detailu"_s);
    EXPECT_TRUE(TListVariant::StepName(0).isEmpty());
    EXPECT_TRUE(TListVariant::StepName(16).isEmpty());
    for (int kind = 1; kind <= 15; ++kind)
        EXPECT_LE(TListVariant::StepName(kind).size(), 32);
    TListVariant history;
    history.AddVariant(QString(40, QLatin1Char('x')));
    EXPECT_EQ(history.Name(1).size(), 32);
}
