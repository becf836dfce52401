// The output document: drawing order, page ranges, the page view's drawing arithmetic read
// back from its record dump, and the text form of elements in the character page.

#include "support/ReportFixture.h"

#include "platform/TVoranCanvas.h"
#include "report/engine/document/sest_zn.h"
#include "report/engine/document/sestvyst.h"

#include <gtest/gtest.h>

using namespace report;
using namespace reporttest;

namespace {

struct Elements {
    TSestava report;
    std::vector<std::unique_ptr<TVoranReportElement>> owned;

    TVoranReportElement* make(const QString& line) {
        owned.push_back(std::make_unique<TVoranReportElement>(&report));
        owned.back()->LoadFromLine(line);
        return owned.back().get();
    }
    // An output element of the template line at its own position.
    std::unique_ptr<TVystPrvek> out(const QString& line, const QString& text = {}) {
        TVoranReportElement* e = make(line);
        auto o = std::make_unique<TVystPrvek>(e, e->Left, e->Top, e->Width, e->Height);
        o->SetText(text.isEmpty() ? e->Text : text);
        return o;
    }
};

QString graphicLine(int kind, int left, int top, int width, int height, int penWidth,
                    int options = 0, int penStyle = 0) {
    return QStringLiteral("T,%1,0,%2,%3,%4,%5,,%6,0,%7,%8,15,0")
        .arg(kind)
        .arg(left)
        .arg(top)
        .arg(width)
        .arg(height)
        .arg(penWidth)
        .arg(penStyle)
        .arg(options);
}

QStringList viewOf(TSestVystup& doc, int page = 0) {
    doc.ShowPage(page);
    return doc.PageView().dump().split(u'\n', Qt::SkipEmptyParts);
}

// The drawing-order rule pairwise, as a page once applied it by scanning: a new element goes
// before the first one it draws before.
bool drawsBeforeByRule(int added, int addedOptions, int existing, int existingOptions) {
    const auto group = [](int kind) {
        return kind >= 1 && kind <= 6 ? 1 : kind >= 7 && kind <= 12 ? 2 : 3;
    };
    if (group(added) == 1 && group(existing) == 1) return existingOptions >= addedOptions;
    if (group(added) == 2 && group(existing) == 2) return true;
    const bool apart = group(added) != group(existing) || added >= 13 || existing >= 13;
    return apart && existing <= added;
}

TEST(OutputDocument, DrawingOrderOfTenThousandMixedElements) {
    Elements el;
    TSestVystup doc;
    struct Expected {
        int kind;
        int options;
        QString text;
    };
    std::vector<Expected> expected;
    // Kind 0: an element of no kind, drawn last.
    const int kinds[] = {0, 1, 2, 5, 6, 7, 8, 11, 12, 13, 15};
    const auto mismatchesWith = [&](const std::vector<Expected>& wanted) {
        const TStranaPrvku* page = doc.Page(0);
        int mismatches = std::abs(page->Count() - int(wanted.size()));
        for (int i = 0; i < std::min(page->Count(), int(wanted.size())); ++i)
            mismatches += page->Prvek(i)->Text() != wanted[size_t(i)].text;
        return mismatches;
    };
    std::srand(24);
    for (int i = 0; i < 10000; ++i) {
        // Mostly plain texts, as a long report has them; options from a few values.
        const int kind = i % 10 < 6 ? 1 : kinds[std::rand() % std::size(kinds)];
        const int options = (std::rand() % 3) * 16;
        const QString text = QString::number(i);
        const QString line = kind <= 6 ? textLine("T", kind, "0", 0, 0, 10, 10, "", options)
                                       : graphicLine(kind, 0, 0, 10, 10, 1);
        auto out = el.out(line, text);
        out->Source()->TextOptions = kind <= 6 ? options : 0;
        doc.AddElement(0, std::move(out));
        const Expected added{kind, kind <= 6 ? options : 0, text};
        auto at = std::find_if(expected.begin(), expected.end(), [&](const Expected& x) {
            return drawsBeforeByRule(added.kind, added.options, x.kind, x.options);
        });
        expected.insert(at, added);
        // A page read while it grows shows every element added so far.
        if (i % 2500 == 1234) {
            ASSERT_EQ(mismatchesWith(expected), 0) << i;
        }
    }
    const TStranaPrvku* page = doc.Page(0);
    ASSERT_EQ(page->Count(), 10000);
    // Elements for a page that does not exist yet make it; a negative page takes nothing.
    EXPECT_EQ(doc.AddElement(-1, el.out(textLine("T", 1, "0", 0, 0, 10, 10, "x"))), nullptr);
    EXPECT_EQ(doc.AddElement(3, el.out(textLine("T", 1, "0", 5, 0, 10, 10, "x")))->Left, 5);
    EXPECT_EQ(doc.PageCount(), 4);
    EXPECT_EQ(mismatchesWith(expected), 0);
    // Equal neighbours share their order number (drawn with one set-up); others differ, and
    // so do elements of no kind.
    for (int i = 1; i < page->Count(); ++i) {
        const TVystPrvek* a = page->Prvek(i - 1);
        const TVystPrvek* b = page->Prvek(i);
        if (a->Kind() != b->Kind() || a->Source()->TextOptions != b->Source()->TextOptions ||
            a->Kind() == 0)
            ASSERT_NE(a->Order, b->Order) << i;
        else
            ASSERT_EQ(a->Order, b->Order) << i;
    }
}

TEST(OutputDocument, PageRange) {
    Elements el;
    TSestVystup doc;
    for (int p = 0; p < 5; ++p)
        doc.AddElement(p, el.out(textLine("T", 1, "0", 0, 0, 10, 10, "x")));
    doc.SetPageRange(3, 99, slCP852, 2);
    EXPECT_EQ(doc.PageCount(), 5);
    EXPECT_EQ(doc.EndPage(), 5);
    EXPECT_EQ(doc.CurrentPage(), 2);
    EXPECT_EQ(doc.Copies(), 2);
    doc.SetPageRange(1, 2, slUndefined, 1);
    EXPECT_EQ(doc.PageCount(), 2);
    doc.SetPageRange(1, -4, slUndefined, 1);
    EXPECT_EQ(doc.PageCount(), 0);
    doc.ShowPage(0); // no page: nothing happens
    EXPECT_TRUE(doc.PageView().isEmpty());
}

// Element at (10, 20), 100 x 50: the page-view rectangle is (60, 120) - (660, 420).
TEST(OutputDocument, LinesAndFrames) {
    Elements el;
    TSestVystup doc(827, 1169);
    // Width 3: a pen of nearest(2 x 6) + 1 = 13, narrowed by 1 and 2; left side and falling
    // diagonal.
    doc.AddElement(0, el.out(graphicLine(7, 10, 20, 100, 50, 3, 1 | 32)));
    QStringList view = viewOf(doc);
    EXPECT_EQ(view[0], "frame 4962x7014 units-per-inch=600");
    EXPECT_TRUE(view.contains("pen color=0x000000 style=0 width=13"))
        << view.join('\n').toStdString();
    EXPECT_TRUE(view.contains("line 61,418 -> 61,121"));
    EXPECT_TRUE(view.contains("line 61,121 -> 658,418"));
    EXPECT_EQ(view.filter("line ").size(), 2);

    // Rounded frames: 1 inch high gives a corner of 40 x 6; half an inch with pen 0, 150 and
    // no outline.
    TSestVystup frames;
    frames.AddElement(0, el.out(graphicLine(9, 0, 0, 200, 100, 1)));
    frames.AddElement(1, el.out(graphicLine(9, 0, 0, 200, 50, 0)));
    frames.AddElement(2, el.out(graphicLine(8, 0, 0, 200, 50, 0)));
    view = viewOf(frames, 0);
    EXPECT_TRUE(view.contains("roundrect 0,0,1199,599 corner=240x240"))
        << view.join('\n').toStdString();
    view = viewOf(frames, 1);
    EXPECT_TRUE(view.contains("roundrect 0,0,1200,300 corner=150x150"));
    EXPECT_TRUE(view.filter("pen ").first().contains("style=5"));
    view = viewOf(frames, 2);
    EXPECT_TRUE(view.contains("rectangle 0,0,1200,300"));
    EXPECT_TRUE(view.filter("brush ").first().contains("style=0"));
    EXPECT_TRUE(view.filter("pen ").first().contains("style=5"));
}

TEST(OutputDocument, TextSidesRotationAndKindsThatDrawNothing) {
    Elements el;
    TSestVystup doc;
    auto text = el.out(textLine("T", 1, "0", 10, 20, 100, 50, "Ahoj"));
    text->Source()->Options = 15;
    doc.AddElement(0, std::move(text));
    QStringList view = viewOf(doc);
    EXPECT_FALSE(view.filter("\"Ahoj\"").isEmpty()) << view.join('\n').toStdString();
    EXPECT_TRUE(view.contains("pen color=0x000000 style=0 width=0 cosmetic"));
    EXPECT_EQ(view.filter("line ").size(), 4);
    EXPECT_TRUE(view.contains("line 60,420 -> 60,120"));
    EXPECT_TRUE(view.contains("line 660,420 -> 60,420"));

    TSestVystup rotated;
    auto turned = el.out(textLine("T", 1, "0", 10, 20, 100, 50, "Ahoj", 16));
    turned->Source()->Angle = 90;
    turned->Source()->Options = 1;
    rotated.AddElement(0, std::move(turned));
    view = viewOf(rotated);
    EXPECT_FALSE(view.filter("escapement=900").isEmpty()) << view.join('\n').toStdString();
    EXPECT_EQ(view.filter("line ").size(), 1);

    // A bar code with sides set draws no sides; kinds 0 and 15 draw nothing at all.
    TSestVystup others;
    auto code = el.out(QStringLiteral("T,12,0,0,0,200,60,,4,0,0,15,15,0,\"12345670\",0,0,0"));
    others.AddElement(0, std::move(code));
    others.AddElement(0, el.out(QStringLiteral("T,15,0,0,0,100,100")));
    others.AddElement(0, el.out(QStringLiteral("T,0,0,0,0,100,100")));
    view = viewOf(others);
    EXPECT_TRUE(view.filter("line ").isEmpty());
    EXPECT_FALSE(view.filter("polygon").isEmpty() && view.filter("fillrect").isEmpty() &&
                 view.filter("rectangle").isEmpty())
        << view.join('\n').toStdString();
}

TEST(OutputDocument, CancelStopsThePageViewAfterTheElement) {
    Elements el;
    TSestVystup doc;
    for (int i = 0; i < 5; ++i)
        doc.AddElement(0, el.out(graphicLine(8, i * 10, 0, 5, 5, 1)));
    bool cancel = false;
    doc.SetCancelSource(&cancel);
    EXPECT_EQ(viewOf(doc).filter("rectangle").size(), 5);
    cancel = true;
    EXPECT_EQ(viewOf(doc).filter("rectangle").size(), 1);
}

TEST(OutputDocument, TextIntoTheCharacterPage) {
    Elements el;
    TZnakovePole page;
    page.SetPageSize(200, 0);
    // Plain element at 10 cpi (12 pt): column 10 / 10 = 1... placed at its left.
    auto plain = el.out(textLine("T", 1, "0", 100, 0, 200, 17, "Ahoj", 0, 12));
    TSestVystup::ToText(*plain, page, 0, 0);
    EXPECT_EQ(page.MergedRow(0).trimmed(), u"Ahoj");
    EXPECT_EQ(page.MergedRow(0).indexOf(u'A'), 10);

    // Lines of a growing text: the shown lines from their own row, control characters blank.
    page.ClearPage();
    auto grown = el.out(textLine("T", 1, "0", 0, 0, 300, 17, {}, 16, 12),
                        QStringLiteral("prvni\ndruhy\ntreti"));
    TRadky lines;
    platform::Metafile file(800, 1100, 100);
    platform::TVoranCanvas canvas(file, 100);
    canvas.SetFont(grown->Source()->Font);
    RichTextOptions options;
    LayoutRichText(canvas, {0, 0, 300, 10000}, grown->Text(), options, lines);
    ASSERT_EQ(lines.Count(), 3);
    grown->SetLines(lines);
    grown->SetShownLines(1, 2);
    TSestVystup::ToText(*grown, page, 0, 17);
    EXPECT_EQ(page.MergedRow(1).trimmed(), u"druhy");
    EXPECT_EQ(page.MergedRow(2).trimmed(), u"treti");
    EXPECT_TRUE(page.MergedRow(0).trimmed().isEmpty());

    // Rich text goes in as its plain text; graphic kinds write nothing.
    page.ClearPage();
    auto rich = el.out(textLine("T", 1, "0", 0, 0, 300, 17, {}, 8, 12),
                       QStringLiteral("{\\rtf1 {\\b tucne} a dost}"));
    TSestVystup::ToText(*rich, page, 0, 0);
    EXPECT_EQ(page.MergedRow(0).trimmed(), u"tucne a dost");
    page.ClearPage();
    TSestVystup::ToText(*el.out(graphicLine(8, 0, 0, 100, 17, 1)), page, 0, 0);
    EXPECT_TRUE(page.MergedRow(0).trimmed().isEmpty());
}

} // namespace
