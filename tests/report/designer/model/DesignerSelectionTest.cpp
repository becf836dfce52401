// The designer's selection, driven as the design controls drive it: scripted clicks with the
// state the selecting, adding and removing of the designer's rules leave after each, and
// random clicks after which every element whose marks changed was announced.

#include "report/designer/model/DesignerSelection.h"

#include "report/engine/template/sestavyt_model.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <random>
#include <string>

using designer::DesignerSelection;
using Element = report::TVoranReportElement;

namespace {

struct Elements {
    Elements() {
        for (auto& e : all)
            e = std::make_unique<Element>(nullptr);
    }
    const Element* operator[](int i) const { return all[size_t(i)].get(); }
    QList<const Element*> order() const {
        QList<const Element*> list;
        for (const auto& e : all)
            list << e.get();
        return list;
    }
    std::array<std::unique_ptr<Element>, 6> all;
};

// "primary members count", elements by number: "1 013 3" is element 1 the primary, elements
// 0, 1 and 3 members, count 3; "- - 0" nothing selected.
std::string state(const DesignerSelection& s, const Elements& e) {
    std::string primary = "-", members;
    for (int i = 0; i < 6; ++i) {
        if (s.isPrimary(e[i])) primary = std::to_string(i);
        if (s.isMember(e[i])) members += std::to_string(i);
    }
    return primary + ' ' + (members.empty() ? "-" : members) + ' ' + std::to_string(s.count());
}

} // namespace

TEST(DesignerSelection, ClicksLeaveTheStatesOfTheSelectionRules) {
    const Elements e;
    enum Op { Select, Add, Remove, Clear, SelectNone };
    struct Step {
        Op op;
        int element;
        const char* after;
    };
    const Step script[] = {
        {Select, 2, "2 - 1"},
        {Select, 4, "4 - 1"}, // a plain click moves the primary
        {Add, 1, "4 14 2"},   // Ctrl+click: both members
        {Add, 3, "4 134 3"},
        {Select, 1, "1 134 3"}, // a click on a member keeps the multiple selection
        {Remove, 1, "3 34 2"},  // the primary leaves: the first other member in order leads
        {Remove, 4, "3 - 1"},   // one element left is no member
        {Remove, 5, "3 - 1"},   // not selected: nothing
        {Add, 0, "3 03 2"},
        {Select, 5, "5 - 1"}, // a click outside a multiple selection ends it
        {Add, 5, "5 - 1"},    // the primary cannot join itself
        {Clear, 0, "- - 0"},
        {Add, 2, "2 2 1"}, // Ctrl+click with nothing selected: primary and member
        {Add, 4, "2 24 2"},
        {SelectNone, 0, "- - 0"}, // a click on the paper: a multiple selection ends
        {Select, 0, "0 - 1"},
        {SelectNone, 0, "- - 0"},
    };
    DesignerSelection s;
    for (const Step& step : script) {
        switch (step.op) {
        case Select:
            s.select(e[step.element]);
            break;
        case Add:
            s.add(e[step.element]);
            break;
        case Remove:
            s.remove(e[step.element], e.order());
            break;
        case Clear:
            s.clear();
            break;
        case SelectNone:
            s.select(nullptr);
            break;
        }
        EXPECT_EQ(state(s, e), step.after) << "op " << step.op << " on " << step.element;
    }
}

TEST(DesignerSelection, PastedElementsAreSelectedTogether) {
    const Elements e;
    DesignerSelection s;
    s.add(e[0]);
    const QList<const Element*> touched = s.selectPasted({e[3], e[4], e[5]}, e[4]);
    EXPECT_EQ(state(s, e), "4 345 3");
    // the selection that went is announced as well as the new one
    for (int i : {0, 3, 4, 5})
        EXPECT_TRUE(touched.contains(e[i])) << i;
    s.selectPasted({e[2]}, e[2]);
    EXPECT_EQ(state(s, e), "2 - 1");
}

TEST(DesignerSelection, EveryChangedMarkIsAnnounced) {
    const Elements e;
    std::mt19937 random(7);
    DesignerSelection s;
    for (int op = 0; op < 2000; ++op) {
        std::array<std::pair<bool, bool>, 6> before;
        for (int i = 0; i < 6; ++i)
            before[size_t(i)] = {s.isPrimary(e[i]), s.isMember(e[i])};
        const Element* element = e[int(random() % 6)];
        QList<const Element*> touched;
        switch (random() % 5) {
        case 0:
            touched = s.select(random() % 8 ? element : nullptr);
            break;
        case 1:
        case 2:
            touched = s.add(element);
            break;
        case 3:
            touched = s.remove(element, e.order());
            break;
        default:
            if (random() % 4 == 0) touched = s.clear();
            break;
        }
        int primaries = 0;
        for (int i = 0; i < 6; ++i) {
            const std::pair<bool, bool> after{s.isPrimary(e[i]), s.isMember(e[i])};
            if (after != before[size_t(i)]) {
                EXPECT_TRUE(touched.contains(e[i])) << op;
            }
            primaries += after.first;
        }
        ASSERT_LE(primaries, 1);
        EXPECT_EQ(s.primary() != nullptr, primaries == 1);
        EXPECT_GE(s.count(), primaries);
    }
}
