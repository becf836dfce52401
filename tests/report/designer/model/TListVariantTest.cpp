// The undo history: capacity, trimming, redo tails, captions after each step and the clean
// index.

#include "report/designer/model/TListVariant.h"

#include <gtest/gtest.h>

#include <random>

using namespace Qt::StringLiterals;

using designer::TListVariant;

namespace {

// Records steps `from` to `to`, step i as "krok i" with the template text "state i".
void record(TListVariant& history, int from, int to) {
    for (int i = from; i <= to; ++i)
        history.AddVariant(u"krok %1"_s.arg(i)) << u"state %1"_s.arg(i);
}

QString stateAt(TListVariant& history, int i) {
    return history.Variant(i).value(0);
}

// The undo and redo captions, with "-" for a step that cannot be made.
QString captions(TListVariant& history) {
    return (history.CanUndo() ? history.UndoCaption() : u"-"_s) + u" | "_s +
           (history.CanRedo() ? history.RedoCaption() : u"-"_s);
}

} // namespace

TEST(TListVariant, StartsWithTheBaseStateAndCutsLongNames) {
    TListVariant history;
    EXPECT_EQ(history.Count(), 1);
    EXPECT_EQ(history.Name(0), u"Základní varianta"_s);
    EXPECT_TRUE(history.Current().isEmpty());
    EXPECT_FALSE(history.Undo());
    EXPECT_FALSE(history.Redo());
    EXPECT_EQ(history.UndoCaption() + history.RedoCaption(), u"Zrušit změnyZnovu změny"_s);
    history.AddVariant(QString(40, u'x'));
    EXPECT_EQ(history.Name(1).size(), 32);
}

TEST(TListVariant, ElevenStepsAtCapacityTenKeepTheLastTenStates) {
    TListVariant history;
    record(history, 1, 11);
    ASSERT_EQ(history.Count(), 10);
    EXPECT_EQ(stateAt(history, 0), u"state 2"_s);
    EXPECT_EQ(captions(history), u"Zrušit krok 11 | -"_s);
    int undos = 0;
    while (history.Undo())
        ++undos;
    EXPECT_EQ(undos, 9);
    EXPECT_EQ(history.Current().value(0), u"state 2"_s);
    EXPECT_EQ(captions(history), u"- | Znovu krok 3"_s);
    while (history.Redo()) {
    }
    EXPECT_EQ(history.Current().value(0), u"state 11"_s);
}

TEST(TListVariant, ANewStepAfterUndoDropsTheRedoTail) {
    TListVariant history;
    record(history, 1, 4);
    ASSERT_TRUE(history.Undo());
    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(captions(history), u"Zrušit krok 2 | Znovu krok 3"_s);
    record(history, 5, 5);
    EXPECT_EQ(history.Count(), 4); // base, 1, 2, 5
    EXPECT_EQ(captions(history), u"Zrušit krok 5 | -"_s);
    EXPECT_EQ(history.RedoCaption(), u"Znovu změny"_s);
    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(history.Current().value(0), u"state 2"_s);
}

TEST(TListVariant, CapacityZeroActsAsOne) {
    TListVariant history;
    history.SetCapacity(0);
    EXPECT_EQ(history.Capacity(), 1);
    for (int i = 1; i <= 3; ++i) {
        record(history, i, i);
        EXPECT_EQ(history.Count(), 1);
        EXPECT_EQ(history.Current().value(0), u"state %1"_s.arg(i));
        EXPECT_EQ(captions(history), u"- | -"_s);
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
        record(history, 1, 5);
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
    record(history, 1, 5);
    history.Undo();
    history.ForgetHistory();
    EXPECT_EQ(history.Count(), 1);
    EXPECT_EQ(history.CurrentIndex(), 0);
    EXPECT_EQ(history.Name(0), u"krok 4"_s);
    EXPECT_EQ(history.Current().value(0), u"state 4"_s);
    EXPECT_EQ(captions(history), u"- | -"_s);
}

// Whatever the steps, trimming and forgetting do, the clean index is on the entry that holds
// the state made clean, and -1 once that entry has gone (every state's text is its own).
TEST(TListVariant, TheCleanIndexStaysWithTheCleanStateOrGoesWithIt) {
    std::mt19937 random(20240611);
    for (int run = 0; run < 40; ++run) {
        TListVariant history;
        history.Variant(0) << u"state 0"_s;
        QString clean = u"state 0"_s;
        int made = 0;
        for (int op = 0; op < 60; ++op) {
            switch (random() % 7) {
            case 0:
            case 1:
                record(history, made + 1, made + 1);
                ++made;
                break;
            case 2:
                history.Undo();
                break;
            case 3:
                history.Redo();
                break;
            case 4:
                history.SetCapacity(int(random() % 8));
                break;
            case 5:
                if (random() % 4 == 0) history.ForgetHistory();
                break;
            default:
                history.SetClean();
                clean = history.Current().value(0);
                break;
            }
            int holder = -1;
            for (int i = 0; i < history.Count(); ++i)
                if (stateAt(history, i) == clean) holder = i;
            ASSERT_EQ(history.CleanIndex(), holder) << "run " << run << " op " << op;
            EXPECT_EQ(history.IsClean(), holder == history.CurrentIndex());
        }
    }
}
