// Section panels and the paper: height drags, rubber bands, insertion clicks, the print-order
// layout with groups and hidden sections, and bad geometry.

#include "support/DesignFixture.h"

#include "report/designer/TEditorSettings.h"
#include "report/engine/sest_lib.h"

#include <QPointer>

#include <gtest/gtest.h>

#include <cmath>

using namespace Qt::StringLiterals;

using designer::TOddil;
using designer::TSesPrvek;
using designtest::drag;
using designtest::Sheet;

namespace {

struct SectionTest : testing::Test {
    void SetUp() override { designer::EditorSettings() = designer::TEditorSettings(); }
};

// A point in the caption strip of `section`.
QPoint captionPoint(const TOddil* section) {
    return {100, section->height() - 8};
}

} // namespace

TEST_F(SectionTest, TheCaptionStripDragsTheHeightWithAMinimum) {
    for (const double zoom : {0.5, 2.0}) {
        Sheet sheet(zoom);
        TOddil* body = sheet.body();
        body->setSectionHeight(100);
        sheet.show();
        const int footerTop = sheet.paper->Oddil(3)->y();
        // a drag back to the start tells nothing
        const QPoint a = captionPoint(body);
        designtest::dragAlong(body, {a, a + QPoint(0, 20), a});
        EXPECT_EQ(body->sectionHeight(), 100);
        EXPECT_EQ(sheet.recorder.take(), QStringList{"E4"});
        body->SetRastr(true, true, 8, 8, false);
        drag(body, a, a + QPoint(0, 25));
        // 25 pixels are 50 or 12.5 units; 150 is snapped to 152, 112.5 (112) stays 112.
        const int expected = zoom == 0.5 ? 152 : 112;
        EXPECT_EQ(body->sectionHeight(), expected);
        EXPECT_EQ(body->height(), report::ScaleRound(expected, zoom) + 16);
        EXPECT_EQ(sheet.paper->Oddil(3)->y(),
                  footerTop + body->height() - (report::ScaleRound(100, zoom) + 16));
        EXPECT_EQ(sheet.recorder.take(), (QStringList{"E4", u"P14 2 %1"_s.arg(expected)}));
        drag(body, captionPoint(body), captionPoint(body) - QPoint(0, 400));
        EXPECT_EQ(body->sectionHeight(), 16); // 14, snapped to the grid
        body->SetRastr(true, false, 8, 8, false);
        drag(body, captionPoint(body), captionPoint(body) - QPoint(0, 400));
        EXPECT_EQ(body->sectionHeight(), 14);
    }
}

TEST_F(SectionTest, ASnappedHeightNeverEndsBelowTheMinimum) {
    // dragged far up on coarse grids (character lines of 25 and 33.3 units among them): the
    // height lands on the first grid line that is not below the minimum of 14
    for (const double step : {5.0, 10.0, 16.666666, 25.0, 33.333332, 100.0}) {
        SCOPED_TRACE(step);
        Sheet sheet;
        TOddil* body = sheet.body();
        body->setSectionHeight(300);
        body->SetRastr(true, true, 8, step, true);
        sheet.show();
        drag(body, captionPoint(body), captionPoint(body) - QPoint(0, 600));
        const int height = body->sectionHeight();
        EXPECT_GE(height, 14);
        EXPECT_LT(height - step, 14);
        EXPECT_NEAR(height, std::round(height / step) * step, 0.5);
    }
}

TEST_F(SectionTest, RubberBandsSelectTheSameInBothDirections) {
    QStringList firstRun;
    for (const bool backwards : {false, true}) {
        Sheet sheet;
        sheet.body()->setSectionHeight(300);
        sheet.add(report::ekFrame, 10, 10, 50, 20);   // inside
        sheet.add(report::ekFrame, 90, 30, 50, 20);   // touched
        sheet.add(report::ekFrame, 300, 200, 50, 20); // outside
        sheet.show();
        const QPoint a(5, 5);
        const QPoint b(100, 50);
        drag(sheet.body(), backwards ? b : a, backwards ? a : b);
        EXPECT_EQ(sheet.body()->band(), QRect(5, 5, 95, 45));
        const QStringList events = sheet.recorder.take();
        EXPECT_EQ(events, (QStringList{"E21", "P130 0 0", "E21", "E8 el", "E21", "E8 el"}));
        if (backwards) {
            EXPECT_EQ(events, firstRun);
        }
        firstRun = events;
    }
}

TEST_F(SectionTest, BandsWithCtrlToggleAndWithShiftAdd) {
    Sheet sheet;
    sheet.body()->setSectionHeight(300);
    TSesPrvek* chosen = sheet.add(report::ekFrame, 10, 10, 50, 20);
    TSesPrvek* other = sheet.add(report::ekFrame, 80, 10, 50, 20);
    chosen->setSelectedMark(true);
    sheet.show();
    drag(sheet.body(), {2, 2}, {200, 60}, Qt::ControlModifier);
    EXPECT_EQ(sheet.recorder.take(), (QStringList{"E21", "E21", "E7 el", "E21", "E8 el"}));
    // Shift over an element starts a band in the section; a Shift click selects nothing.
    drag(other, {10, 10}, {10, 10}, Qt::ShiftModifier);
    EXPECT_EQ(sheet.recorder.take(), QStringList{"E21"});
    drag(other, {10, 10}, {100, 40}, Qt::ShiftModifier);
    EXPECT_EQ(sheet.recorder.take(), (QStringList{"E21", "E21", "E8 el"}));
}

TEST_F(SectionTest, InsertionClicksDoubleClicksAndPointerPositions) {
    Sheet sheet(2.0);
    sheet.body()->setSectionHeight(300);
    sheet.body()->SetRastr(true, true, 10, 10, false);
    TSesPrvek* e = sheet.add(report::ekFrame, 100, 100, 100, 50);
    sheet.show();
    sheet.recorder.insertionTool = 1;
    drag(sheet.body(), {47, 63}, {47, 63});
    EXPECT_EQ(sheet.recorder.take(), (QStringList{"P130 20 30", "E4"}));
    drag(sheet.body(), {47, 63}, {47, 63}, Qt::ControlModifier);
    EXPECT_EQ(sheet.recorder.take(), (QStringList{"P130 20 30", "E20"}));
    // Over an element the click goes to the section, at the element's place.
    drag(e, {12, 12}, {12, 12});
    EXPECT_EQ(sheet.recorder.take(), (QStringList{"P130 110 110", "E4"}));
    EXPECT_EQ(e->Left(), 100);
    sheet.recorder.events.clear();
    sheet.recorder.insertionTool = 0;
    TOddil* header = sheet.paper->Oddil(1);
    QTest::mouseDClick(sheet.window.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                       header->mapTo(&sheet.window, QPoint(30, 30)));
    EXPECT_TRUE(sheet.recorder.events.contains(u"P11 1 0"_s));
    // the pointer is told in units, and off the drawing area as -1
    sheet.recorder.recordMouse = true;
    QWindow* window = sheet.window.windowHandle();
    TOddil* body = sheet.body();
    QTest::mouseMove(window, body->mapTo(&sheet.window, QPoint(41, 21)));
    EXPECT_EQ(sheet.recorder.events.last(), u"P13 20 10"_s);
    QTest::mouseMove(window, body->mapTo(&sheet.window, captionPoint(body)));
    EXPECT_EQ(sheet.recorder.events.last(), u"P13 -1 -1"_s);
}

TEST(TPapir, SectionsStackInPrintOrder) {
    struct Case {
        int groups;
        QList<int> hidden;
        QList<int> order; // section codes from the top
    };
    const Case cases[] = {
        {0, {}, {0, 1, 2, 3, 4}},
        {1, {}, {0, 1, 5, 2, 6, 3, 4}},
        {2, {}, {0, 1, 5, 7, 2, 8, 6, 3, 4}},
        {3, {}, {0, 1, 5, 7, 9, 2, 10, 8, 6, 3, 4}},
        {2, {7, 1}, {0, 5, 2, 8, 6, 3, 4}},
    };
    for (const Case& c : cases) {
        Sheet sheet(1.5);
        designer::TListSkupinE groups;
        for (int i = 0; i < c.groups; ++i) {
            designer::TPolSkupE& group = groups.add();
            group.headerVisible = group.footerVisible = true;
            group.headerHeight = 30 + i;
            sheet.paper->AddSkupina(group);
        }
        for (int code : c.hidden)
            sheet.paper->Oddil(code)->hide();
        sheet.paper->Layout();
        int y = 0;
        for (int code : c.order) {
            const TOddil* section = sheet.paper->Oddil(code);
            EXPECT_EQ(section->code(), code);
            EXPECT_EQ(section->y(), y) << c.groups << " groups, code " << code;
            EXPECT_EQ(section->height(), report::ScaleRound(section->sectionHeight(), 1.5) + 16);
            EXPECT_EQ(section->width(), report::ScaleRound(827, 1.5) - 1);
            y += section->height();
        }
        EXPECT_EQ(sheet.paper->height(), y + 1);
        // A zoom change applies every pixel size again.
        sheet.paper->SetZoom(0.5);
        EXPECT_EQ(sheet.paper->width(), report::ScaleRound(827, 0.5));
        EXPECT_EQ(sheet.body()->height(), report::ScaleRound(43, 0.5) + 16);
    }
}

TEST(TPapir, GroupsAndElementsComeAndGo) {
    Sheet sheet;
    designer::TListSkupinE groups;
    designer::TPolSkupE& group = groups.add(u"Klic"_s);
    sheet.paper->AddSkupina(group);
    EXPECT_EQ(group.header->caption(), u"Začátek skupiny 1"_s);
    EXPECT_EQ(group.footer->caption(), u"Konec skupiny 1"_s);
    EXPECT_EQ(sheet.paper->PocetOddilu(), 7);
    TSesPrvek* inGroup = sheet.add(report::ekText, 0, 0, 50, 20, group.header);
    TSesPrvek* inBody = sheet.add(report::ekText, 0, 0, 50, 20);
    TSesPrvek* second = sheet.add(report::ekLine, 0, 0, 50, 20);
    EXPECT_EQ(sheet.paper->FindOddil(inGroup), group.header);
    sheet.paper->ZOrder(inBody, true);
    EXPECT_EQ(sheet.body()->Prvek(1), inBody);
    sheet.paper->ZOrder(inBody, false);
    EXPECT_EQ(sheet.body()->Prvek(0), inBody);
    sheet.paper->RemoveSkupina(group);
    EXPECT_EQ(sheet.paper->PocetOddilu(), 5);
    EXPECT_EQ(sheet.paper->PocetPrvku(), 2);
    EXPECT_EQ(group.header, nullptr);
    sheet.paper->RemovePrvek(second);
    EXPECT_EQ(sheet.paper->FindOddil(second), nullptr);
    EXPECT_EQ(sheet.body()->PocetPrvku(), 1);
    delete second;
    sheet.paper->ClearOddil(sheet.body());
    EXPECT_EQ(sheet.paper->PocetPrvku(), 0);
    EXPECT_EQ(sheet.paper->Oddil(5), nullptr);
    EXPECT_EQ(sheet.paper->Oddil(-1), nullptr);
    EXPECT_EQ(TOddil::captionOf(9), u"Začátek skupiny 3"_s);
}

TEST(TSesPrvek, ToolCodesAndKindNames) {
    struct Case {
        int tool, kind, index;
    };
    const Case cases[] = {{1, 1, 0},       {2, 7, 0},       {5, 10, 0},     {8, 13, 0},
                          {2000, 2, 0},    {3999, 2, 1999}, {4005, 3, 5},   {6001, 4, 1},
                          {8003, 5, 3},    {10002, 6, 2},   {12001, 15, 1}, {0, 99, 77},
                          {14000, 99, 77}, {9, 99, 77}};
    for (const Case& c : cases) {
        int kind = 99;
        int index = 77;
        TSesPrvek::DecodeTool(c.tool, kind, index);
        EXPECT_EQ(kind, c.kind) << c.tool;
        EXPECT_EQ(index, c.index) << c.tool;
    }
    EXPECT_EQ(TSesPrvek::KindName(15), u"Neznámý"_s);
}

TEST(BadGeometry, OddSizesAndHugeValuesStayOnValidGeometry) {
    Sheet sheet(2.0);
    const int huge = 2000000000;
    const int bounds[][4] = {{0, 0, 0, 0},
                             {-50, -50, -10, -10},
                             {5, 5, 1, 2},
                             {huge, huge, huge, huge},
                             {-huge, 10, huge, 3}};
    for (const auto& b : bounds)
        for (int kind : {1, 2, 7, 8, 9, 10, 11, 12, 13, 15})
            sheet.add(kind, b[0], b[1], b[2], b[3]);
    sheet.body()->setSectionHeight(huge);
    sheet.body()->SetRastr(true, true, 1, 1, false);
    sheet.show();
    const QImage image = sheet.window.grab().toImage(); // paints everything once
    EXPECT_FALSE(image.isNull());
    for (int i = 0; i < sheet.paper->PocetPrvku(); ++i) {
        const TSesPrvek* e = sheet.paper->Prvek(i);
        EXPECT_GE(e->width(), 0);
        EXPECT_LE(e->width(), QWIDGETSIZE_MAX);
    }
    EXPECT_LE(sheet.body()->height(), QWIDGETSIZE_MAX);
    // A drag on a huge element goes nowhere strange.
    TSesPrvek* big = sheet.add(report::ekFrame, 10, 10, huge, huge);
    drag(big, {3, 3}, {40, 40});
    EXPECT_GE(big->Width(), 3);
}

TEST(BadGeometry, TenThousandElementsInOneSection) {
    Sheet sheet;
    sheet.body()->setSectionHeight(2000);
    for (int i = 0; i < 10000; ++i)
        sheet.add(report::ekFrame, (i * 7) % 800, (i * 13) % 1990, 20, 10);
    sheet.show();
    EXPECT_EQ(sheet.body()->PocetPrvku(), 10000);
    sheet.body()->SelectInRect(QRect(0, 0, 100, 100), Qt::ShiftModifier);
    EXPECT_GT(sheet.recorder.events.size(), 10);
    sheet.paper->ClearOddil(sheet.body());
    EXPECT_EQ(sheet.paper->PocetPrvku(), 0);
}

// The paper's and the sections' lists hold each control once, however often it is added, and a
// bulk deletion frees exactly the chosen controls and takes them out of every list.
TEST_F(SectionTest, ListsHoldEachControlOnceAndBulkDeletionFreesOnlyTheChosen) {
    Sheet sheet;
    TSesPrvek* a = sheet.add(1, 0, 0, 40, 10);
    TSesPrvek* b = sheet.add(1, 50, 0, 40, 10);
    TSesPrvek* c = sheet.add(1, 0, 0, 40, 10, sheet.paper->Oddil(0));
    sheet.paper->AddPrvek(sheet.body(), a);
    EXPECT_EQ(sheet.paper->PocetPrvku(), 3);
    EXPECT_EQ(sheet.body()->PocetPrvku(), 2);

    const QPointer<TSesPrvek> alive[] = {a, b, c};
    sheet.paper->deleteElements({a, c});
    EXPECT_TRUE(alive[0].isNull());
    EXPECT_FALSE(alive[1].isNull());
    EXPECT_TRUE(alive[2].isNull());
    EXPECT_EQ(sheet.paper->PocetPrvku(), 1);
    EXPECT_EQ(sheet.paper->Prvek(0), b);
    EXPECT_EQ(sheet.body()->PocetPrvku(), 1);
    EXPECT_EQ(sheet.paper->Oddil(0)->PocetPrvku(), 0);

    // a control taken out of the lists can come back, once
    sheet.paper->RemovePrvek(b);
    sheet.paper->AddPrvek(sheet.body(), b);
    sheet.paper->AddPrvek(sheet.body(), b);
    EXPECT_EQ(sheet.paper->PocetPrvku(), 1);
    EXPECT_EQ(sheet.body()->PocetPrvku(), 1);
}
