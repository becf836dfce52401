// The designer's document without a window: the modified state its history's clean index
// gives over steps, undo, saves and changes without a step; what it announces to the window;
// the grid steps of its settings.

#include "report/designer/model/DesignerDocument.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;

using designer::DesignerDocument;

namespace {

report::TPredloha text(const QString& line) {
    return report::TPredloha(QStringList{line});
}

// Counts what the document announces.
struct Watcher {
    explicit Watcher(DesignerDocument& document) {
        QObject::connect(&document, &DesignerDocument::historyChanged, [this] { ++histories; });
        QObject::connect(&document, &DesignerDocument::marksChanged,
                         [this](const QList<const report::TVoranReportElement*>& elements) {
                             marked += int(elements.size());
                         });
    }
    int histories = 0;
    int marked = 0;
};

} // namespace

TEST(DesignerDocument, ModifiedFollowsTheCleanStateOverStepsUndoAndSaves) {
    DesignerDocument d;
    Watcher watcher(d);
    d.startHistory(text(u"opened"_s));
    EXPECT_FALSE(d.modified());
    d.recordStep(designer::ckMove, text(u"moved"_s));
    EXPECT_TRUE(d.modified());
    EXPECT_EQ(d.history().Name(1), u"posun prvku"_s);
    ASSERT_TRUE(d.undo());
    // undo leaves the template changed wherever it leads, also back to the opened state
    EXPECT_EQ(d.history().Current(), text(u"opened"_s));
    EXPECT_TRUE(d.modified());
    d.saved(true);
    EXPECT_FALSE(d.modified());
    EXPECT_EQ(d.history().Count(), 2);
    d.recordStep(designer::ckText, text(u"typed"_s));
    EXPECT_TRUE(d.modified());
    EXPECT_EQ(d.history().Count(), 2); // the redo state went
    d.saved(false);
    EXPECT_FALSE(d.modified());
    EXPECT_EQ(d.history().Count(), 1);
    EXPECT_EQ(d.history().Current(), text(u"typed"_s));
    // the state before a save written anew stays clean; a change without a step does not
    d.rewriteCurrent(text(u"typed"_s), false);
    EXPECT_FALSE(d.modified());
    d.rewriteCurrent(text(u"to the front"_s), true);
    EXPECT_TRUE(d.modified());
    EXPECT_FALSE(d.undo());
    EXPECT_FALSE(d.redo());
    d.setModified(false);
    EXPECT_FALSE(d.modified());
    // every change of the history was announced (an undo or redo that cannot be made is
    // none), no mark
    EXPECT_EQ(watcher.histories, 9);
    EXPECT_EQ(watcher.marked, 0);
}

TEST(DesignerDocument, AFullHistoryLosesTheCleanStateWithItsOldestEntry) {
    DesignerDocument d;
    d.startHistory(text(u"opened"_s));
    d.setHistoryCapacity(3);
    d.recordStep(designer::ckMove, text(u"1"_s));
    d.saved(true);
    d.recordStep(designer::ckMove, text(u"2"_s));
    d.recordStep(designer::ckMove, text(u"3"_s));
    EXPECT_EQ(d.history().CleanIndex(), 0); // "1" is entry 0 now
    d.recordStep(designer::ckMove, text(u"4"_s));
    EXPECT_EQ(d.history().CleanIndex(), -1);
    while (d.undo()) {
    }
    EXPECT_TRUE(d.modified());
}

TEST(DesignerDocument, SelectionChangesAnnounceTheirElements) {
    DesignerDocument d;
    Watcher watcher(d);
    const auto a = std::make_unique<report::TVoranReportElement>(nullptr);
    const auto b = std::make_unique<report::TVoranReportElement>(nullptr);
    d.select(a.get());
    EXPECT_EQ(watcher.marked, 1);
    d.add(b.get());
    EXPECT_GE(watcher.marked, 3);
    EXPECT_EQ(d.selection().count(), 2);
    const int before = watcher.marked;
    d.select(a.get()); // already the primary: nothing changes, nothing is said
    EXPECT_EQ(watcher.marked, before);
    d.remove(b.get(), {a.get(), b.get()});
    EXPECT_EQ(d.selection().count(), 1);
    EXPECT_FALSE(d.selection().isMember(a.get()));
    d.clearSelection();
    EXPECT_EQ(d.selection().primary(), nullptr);
    EXPECT_EQ(watcher.histories, 0);
}

TEST(DesignerDocument, GridStepsFollowTheCharacterCellOrTheGrid) {
    struct Case {
        int characterGrid, x, y, lineCode, pitchCode;
        double stepX, stepY;
        int gridX, gridY;
    };
    // a character grid: 12, 17 or 10 characters and 4, 3 or 6 lines per inch
    const Case cases[] = {
        {1, 99, 99, 2, 2, 5.882353f, 33.333332f, 6, 33},
        {1, 1, 1, 1, 1, 8.333333f, 25.0f, 8, 25},
        {1, 1, 1, 0, 3, 10.0f, 16.666666f, 10, 17},
        {0, 12, 7, 2, 2, 12, 7, 12, 7},
    };
    for (const Case& c : cases) {
        DesignerDocument d;
        report::TemplateGrid grid;
        grid.characterGrid = c.characterGrid;
        grid.x = c.x;
        grid.y = c.y;
        grid.lineCode = c.lineCode;
        grid.pitchCode = c.pitchCode;
        d.setGrid(grid);
        SCOPED_TRACE(c.pitchCode * 10 + c.lineCode);
        EXPECT_EQ(d.stepX(), c.stepX);
        EXPECT_EQ(d.stepY(), c.stepY);
        EXPECT_EQ(d.settings().grid.x, c.gridX);
        EXPECT_EQ(d.settings().grid.y, c.gridY);
    }
    // until a template is read: a paper, an 8 x 8 grid shown and snapped
    const DesignerDocument fresh;
    EXPECT_TRUE(fresh.settings().paper.has_value());
    EXPECT_EQ(fresh.stepX(), 8);
    EXPECT_TRUE(fresh.settings().grid.show && fresh.settings().grid.snap);
}
