// Moving and resizing elements with the mouse: every handle at three zooms with and without
// the grid, clamping at the section's edges, and the notifications sent on the way.

#include "support/DesignFixture.h"

#include "report/designer/TEditorSettings.h"
#include "report/engine/sest_lib.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using designer::TSesPrvek;
using designtest::drag;
using designtest::Sheet;

namespace {

struct Bounds {
    int left, top, width, height;
    bool operator==(const Bounds&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Bounds& b) {
    return out << b.left << "," << b.top << " " << b.width << "x" << b.height;
}

Bounds boundsOf(const TSesPrvek* e) {
    return {e->Left(), e->Top(), e->Width(), e->Height()};
}

// A point inside handle `handle` (0: inside the body, away from every handle).
QPoint grip(const TSesPrvek* e, int handle) {
    if (handle == 0) return {e->width() / 4, e->height() / 4};
    return TSesPrvek::handlePosition(handle, e->width(), e->height()) + QPoint(2, 2);
}

// What a handle changes when its edges follow the pointer by (dx, dy) units.
Bounds expectedAfter(Bounds b, int handle, int dx, int dy) {
    const bool left = handle == 1 || handle == 4 || handle == 6;
    const bool right = handle == 3 || handle == 5 || handle == 8;
    const bool top = handle >= 1 && handle <= 3;
    const bool bottom = handle >= 6;
    if (handle == 0) return {b.left + dx, b.top + dy, b.width, b.height};
    if (left) b = {b.left + dx, b.top, b.width - dx, b.height};
    if (right) b.width += dx;
    if (top) b = {b.left, b.top + dy, b.width, b.height - dy};
    if (bottom) b.height += dy;
    return b;
}

struct DragTest : testing::Test {
    void SetUp() override { designer::EditorSettings() = designer::TEditorSettings(); }
};

} // namespace

TEST_F(DragTest, EveryHandleAtEveryZoomWithAndWithoutTheGrid) {
    const Bounds start{120, 80, 200, 100};
    const int moveX = 40; // pixels
    const int moveY = 30;
    for (const double zoom : {0.5, 1.0, 2.0}) {
        for (const bool snap : {false, true}) {
            for (int handle = 0; handle <= 8; ++handle) {
                Sheet sheet(zoom);
                sheet.body()->setSectionHeight(300);
                sheet.body()->SetRastr(true, snap, 8, 8, false);
                sheet.paper->SetZoom(zoom);
                TSesPrvek* e =
                    sheet.add(report::ekFrame, start.left, start.top, start.width, start.height);
                sheet.show();
                // The distance in units, on the grid when snapping: one step of 40 x 30 pixels.
                int dx = qRound(moveX / zoom);
                int dy = qRound(moveY / zoom);
                if (snap) {
                    dx = report::SnapToGrid(dx, 8);
                    dy = report::SnapToGrid(dy, 8);
                }
                const QPoint from = grip(e, handle);
                // without the grid in three moves: the control follows the pointer all along
                drag(e, from, from + QPoint(moveX, moveY), Qt::NoModifier, snap ? 1 : 3);
                const Bounds expected = expectedAfter(start, handle, dx, dy);
                SCOPED_TRACE(testing::Message()
                             << "zoom " << zoom << " snap " << snap << " handle " << handle);
                EXPECT_EQ(boundsOf(e), expected);
                // The control shows the element's bounds at the zoom.
                EXPECT_EQ(e->geometry(), QRect(report::ScaleRound(expected.left, zoom),
                                               report::ScaleRound(expected.top, zoom),
                                               report::ScaleRound(expected.width, zoom),
                                               report::ScaleRound(expected.height, zoom)));
                QStringList events = sheet.recorder.take();
                EXPECT_EQ(events.mid(0, 3), (QStringList{"E21", "E4", "E5 el"}));
                EXPECT_EQ(events.last(), u"P10 7 0"_s);
                const bool moves = handle <= 4 || handle == 6;
                EXPECT_EQ(events.contains(u"P1 %1 %2"_s.arg(expected.left).arg(expected.top)),
                          moves);
                EXPECT_EQ(events.contains(u"P2 %1 %2"_s.arg(expected.width).arg(expected.height)),
                          handle >= 1);
            }
        }
    }
}

TEST_F(DragTest, MovesStopAtTheSectionUnlessMovingOutsideIsAllowed) {
    for (const bool outside : {false, true}) {
        designer::EditorSettings().PosunMimo = outside;
        Sheet sheet;
        sheet.body()->setSectionHeight(200);
        TSesPrvek* e = sheet.add(report::ekFrame, 700, 150, 100, 40);
        sheet.show();
        drag(e, grip(e, 0), grip(e, 0) + QPoint(300, 300));
        // Flush with the corner, or beyond it.
        EXPECT_EQ(boundsOf(e), (outside ? Bounds{1000, 450, 100, 40} : Bounds{727, 160, 100, 40}));
        if (!outside) {
            drag(e, grip(e, 0), grip(e, 0) - QPoint(2000, 2000));
            EXPECT_EQ(boundsOf(e), (Bounds{0, 0, 100, 40}));
        }
        // A resize stops at the section's edge either way.
        sheet.recorder.events.clear();
        TSesPrvek* f = sheet.add(report::ekFrame, 600, 100, 100, 40);
        drag(f, grip(f, 8), grip(f, 8) + QPoint(500, 500));
        EXPECT_EQ(boundsOf(f), (Bounds{600, 100, 227, 100}));
    }
}

TEST_F(DragTest, ResizesKeepThreeUnitsAndTheOppositeEdge) {
    Sheet sheet;
    sheet.body()->setSectionHeight(300);
    TSesPrvek* e = sheet.add(report::ekFrame, 100, 100, 50, 50);
    sheet.show();
    drag(e, grip(e, 4), grip(e, 4) + QPoint(120, 0)); // left handle past the right edge
    EXPECT_EQ(boundsOf(e), (Bounds{147, 100, 3, 50}));
    drag(e, grip(e, 2), grip(e, 2) + QPoint(0, 90)); // top handle past the bottom edge
    EXPECT_EQ(boundsOf(e), (Bounds{147, 147, 3, 3}));
    TSesPrvek* f = sheet.add(report::ekFrame, 30, 20, 50, 50);
    drag(f, grip(f, 1), grip(f, 1) - QPoint(100, 100)); // beyond the top-left corner
    EXPECT_EQ(boundsOf(f), (Bounds{0, 0, 80, 70}));
}

TEST_F(DragTest, CtrlClicksBackAndForthAndMultiElementDrags) {
    Sheet sheet;
    sheet.body()->setSectionHeight(300);
    TSesPrvek* e = sheet.add(report::ekFrame, 100, 100, 100, 50);
    sheet.show();
    // with Ctrl a click toggles the selection and drags nothing
    drag(e, grip(e, 0), grip(e, 0) + QPoint(30, 30), Qt::ControlModifier);
    EXPECT_EQ(boundsOf(e), (Bounds{100, 100, 100, 50}));
    e->setSelectedMark(true);
    drag(e, grip(e, 0), grip(e, 0), Qt::ControlModifier);
    EXPECT_EQ(sheet.recorder.take(), (QStringList{"E21", "E8 el", "E21", "E7 el"}));
    // a drag back to the start tells the moves but records no step
    designtest::dragAlong(e, {grip(e, 0), grip(e, 0) + QPoint(30, 0), grip(e, 0)});
    EXPECT_EQ(boundsOf(e), (Bounds{100, 100, 100, 50}));
    QStringList events = sheet.recorder.take();
    EXPECT_FALSE(events.contains(u"P10 7 0"_s));
    EXPECT_TRUE(events.contains(u"P1 130 100"_s));
    // a multiply selected element has no handles: it moves and tells its delta
    e->setSelectedMark(false);
    e->setMultiMark(true);
    const QPoint corner = TSesPrvek::handlePosition(8, e->width(), e->height());
    EXPECT_EQ(e->HandleAt(corner), 0);
    drag(e, corner + QPoint(2, 2), corner + QPoint(12, 7));
    EXPECT_EQ(boundsOf(e), (Bounds{110, 105, 100, 50}));
    EXPECT_TRUE(sheet.recorder.take().contains(u"P9 10 5"_s));
}

TEST_F(DragTest, KeyboardMovesAndResizes) {
    Sheet sheet;
    sheet.body()->setSectionHeight(100);
    TSesPrvek* e = sheet.add(report::ekFrame, 10, 10, 100, 40);
    e->MoveBy(2.5, 3.5); // halves to even
    EXPECT_EQ(boundsOf(e), (Bounds{12, 14, 100, 40}));
    e->MoveBy(-100, 1000);
    EXPECT_EQ(boundsOf(e), (Bounds{0, 60, 100, 40}));
    e->ResizeBy(-500, 5);
    EXPECT_EQ(boundsOf(e), (Bounds{0, 60, 3, 40}));
    e->ResizeBy(5000, 0);
    EXPECT_EQ(boundsOf(e), (Bounds{0, 60, 827, 40}));
    designer::EditorSettings().PosunMimo = true;
    e->MoveBy(-50, 0);
    EXPECT_EQ(e->Left(), -50);
}

TEST_F(DragTest, DragsBeyondEveryEdgeKeepTheElementInItsSection) {
    const QPoint far[] = {{-3000, 0},     {3000, 0},    {0, -3000},    {0, 3000},
                          {-3000, -3000}, {3000, 3000}, {3000, -3000}, {-3000, 3000}};
    for (const double zoom : {0.5, 1.0, 2.0}) {
        for (int handle = 0; handle <= 8; ++handle) {
            Sheet sheet(zoom);
            sheet.body()->setSectionHeight(250);
            TSesPrvek* e = sheet.add(report::ekFrame, 300, 100, 120, 60);
            sheet.show();
            bool changed = false;
            for (const QPoint& away : far) {
                drag(e, grip(e, handle), grip(e, handle) + away);
                SCOPED_TRACE(testing::Message() << "zoom " << zoom << " handle " << handle
                                                << " towards " << away.x() << "," << away.y());
                const Bounds b = boundsOf(e);
                EXPECT_GE(b.left, 0);
                EXPECT_GE(b.top, 0);
                EXPECT_LE(b.left + b.width, 827);
                EXPECT_LE(b.top + b.height, 250);
                EXPECT_GE(b.width, 3);
                EXPECT_GE(b.height, 3);
                EXPECT_EQ(e->geometry().width(), report::ScaleRound(b.width, zoom));
                changed = changed || !(b == Bounds{300, 100, 120, 60});
            }
            EXPECT_TRUE(changed) << "zoom " << zoom << " handle " << handle;
        }
    }
}

// The selected element's handles are drawn over an element lying on it, and a press wherever
// one is drawn takes that handle.
TEST_F(DragTest, TheSelectedElementsHandlesGrabWhereverTheyAreDrawn) {
    Sheet sheet(2.0);
    TSesPrvek* below = sheet.add(report::ekFrame, 100, 5, 120, 30);
    sheet.add(report::ekFrame, 90, 0, 140, 40)->element()->PenWidth = 0; // white over it
    below->setSelectedMark(true);
    sheet.show();
    const QImage shown = sheet.body()->grab(below->geometry()).toImage();
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const int handle = below->HandleAt({x, y});
            ASSERT_EQ(shown.pixel(x, y) == qRgb(0x80, 0x80, 0x80), handle != 0) << x << "," << y;
            if (handle == 0) continue;
            drag(below, {x, y}, {x + 10, y + 10});
            ASSERT_EQ(boundsOf(below), expectedAfter({100, 5, 120, 30}, handle, 5, 5)) << handle;
            below->setBounds(100, 5, 120, 30);
        }
}
