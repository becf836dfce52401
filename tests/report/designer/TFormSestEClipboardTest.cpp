// The designer's clipboard: copied elements as text on the system clipboard, cut, the paste
// mode and pastes that keep the elements' offsets, texts of any shape from other programs,
// and undo over every kind of edit.

#include "support/DesignerWindow.h"
#include "support/EditingDesigner.h"

#include <QClipboard>
#include <QGuiApplication>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using designtest::EditingDesigner;

namespace {

// Body elements a (10, 10), the primary (100, 50) and a line (140, 90), one more element in
// the body and one in the report header; snapping off, so clicks land where they are.
QStringList clipTemplate() {
    return {u"I,0,\"Schránka\""_s,
            u"I,1,5,40,17"_s,
            u"I,2,0,827,1169,50,50,70,70,1,0"_s,
            u"I,3,2,1,300,0"_s,
            u"I,6,0,8,8,0,1,1,0"_s,
            u"Z,1,0,5,5,40,20,Arial,10,0,0,0,0,1,\"hlavička\",0,0,0"_s,
            u"T,1,0,10,10,50,20,Arial,10,0,0,0,0,1,\"a\",0,0,0"_s,
            u"T,2,\"pol,1\",100,50,60,20,Arial,12,3,1,1,5,238,\"\",0,0,0"_s,
            u"T,7,0,140,90,30,3,,1,0,0,0,15,0"_s,
            u"T,1,0,400,200,40,20,Arial,10,0,0,0,0,1,\"zbytek\",0,0,0"_s};
}

// The template's lines of `key` under another key.
QStringList rekeyed(const QStringList& lines, const QString& key) {
    QStringList out;
    for (const QString& line : lines)
        out << key + line.mid(line.indexOf(u','));
    return out;
}

void setClipboard(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

} // namespace

TEST(DesignerClipboard, CopyThreeThenPasteKeepsTheirOffsets) {
    EditingDesigner d(clipTemplate());
    const QStringList body = d.lines(u"T"_s);
    d.select({d.element(2), d.element(1), d.element(3)});
    d.action("ActionCopy")->trigger();
    // the primary's line is the second of the section's selected lines
    const QString expected = u"VoranEditor\r\n100\r\n50\r\n1\r\n"_s +
                             rekeyed(body.mid(0, 3), u"X"_s).join("\r\n") + u"\r\n"_s;
    EXPECT_EQ(QGuiApplication::clipboard()->text(), expected);
    EXPECT_TRUE(d.action("ActionPaste")->isEnabled());

    d.action("ActionPaste")->trigger();
    ASSERT_TRUE(d.window->pasteMode());
    EXPECT_EQ(d.window->selectionCount(), 0);
    d.click(2, QPoint(300, 80));
    EXPECT_FALSE(d.window->pasteMode());
    EXPECT_FALSE(d.action("ActionPaste")->isChecked());
    EXPECT_EQ(d.stepName(), u"vložení z úschovy"_s);
    EXPECT_EQ(d.steps(), 1);

    ASSERT_EQ(d.paper()->PocetPrvku(), 8);
    const designer::TSesPrvek* pasted[] = {d.element(5), d.element(6), d.element(7)};
    EXPECT_EQ(d.window->primarySelection(), pasted[1]);
    EXPECT_EQ(d.window->selectionCount(), 3);
    for (const designer::TSesPrvek* e : pasted)
        EXPECT_TRUE(e->multi());
    EXPECT_EQ(d.find<QLineEdit>("EditX")->text(), u"300"_s);
    // at the offsets of the copied ones from the primary, every other property alike
    const QStringList after = d.lines(u"T"_s);
    EXPECT_EQ(after.mid(4, 3),
              QStringList({u"T,1,0,210,40,50,20,Arial,10,0,0,0,0,1,\"a\",0,0,0"_s,
                           u"T,2,\"pol,1\",300,80,60,20,Arial,12,3,1,1,5,238,\"\","
                           "0,0,0"_s,
                           u"T,7,0,340,120,30,3,,1,0,0,0,15,0"_s}));
}

TEST(DesignerClipboard, SelectionOverTwoSectionsCopiesThePrimarysSection) {
    EditingDesigner d(clipTemplate());
    d.select({d.element(0), d.element(4), d.element(1)});
    d.action("ActionCopy")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"VoranEditor\r\n5\r\n5\r\n0\r\n"_s +
                                                        rekeyed(d.lines(u"Z"_s), u"X"_s)[0] +
                                                        u"\r\n"_s);

    // a single element pastes as the only selection, without the multi mark, into the
    // section clicked, under that section's key
    d.action("ActionPaste")->trigger();
    d.click(3, QPoint(30, 12));
    const designer::TSesPrvek* pasted = d.window->primarySelection();
    ASSERT_NE(pasted, nullptr);
    EXPECT_FALSE(pasted->multi());
    EXPECT_EQ(d.window->selectionCount(), 1);
    EXPECT_EQ(d.lines(u"K"_s),
              QStringList(u"K,1,0,30,12,40,20,Arial,10,0,0,0,0,1,\"hlavička\",0,0,0"_s));
    auto* editX = d.find<QLineEdit>("EditX");
    editX->setText(u"77"_s);
    QTest::keyClick(editX, Qt::Key_Return);
    EXPECT_EQ(pasted->Left(), 77);
}

TEST(DesignerClipboard, CutRemovesTheSectionsSelectionAndPastesBack) {
    EditingDesigner d(clipTemplate());
    const QStringList body = d.lines(u"T"_s);
    d.select({d.element(1), d.element(2), d.element(0)});
    d.action("ActionCut")->trigger();
    EXPECT_EQ(d.stepName(), u"vystřižení do úschovy"_s);
    EXPECT_EQ(d.lines(u"T"_s), body.mid(2));
    EXPECT_EQ(d.paper()->PocetPrvku(), 3);
    // what stays in the other section is no longer selected
    EXPECT_EQ(d.window->selectionCount(), 0);
    EXPECT_FALSE(d.element(0)->multi());
    EXPECT_FALSE(d.action("ActionCut")->isEnabled());

    d.action("ActionPaste")->trigger();
    d.click(2, QPoint(10, 10)); // the anchor: where the primary was
    EXPECT_EQ(d.lines(u"T"_s), body.mid(2) + body.mid(0, 2));
    EXPECT_EQ(d.steps(), 2);
    d.window->Undo();
    d.window->Undo();
    EXPECT_EQ(d.lines(u"T"_s), body);
}

TEST(DesignerClipboard, AnyLineEndPastesAndOnlyTheExactMarkerCounts) {
    EditingDesigner d(clipTemplate());
    const QString lines =
        u"VoranEditor|100|50|0|X,1,0,100,50,20,20,Arial,10,0,0,0,0,1,\"z\",0,0,0"_s;
    for (const char* end : {"\n", "\r", "\r\n"}) {
        SCOPED_TRACE(QByteArray(end).toHex().toStdString());
        setClipboard(QString(lines).replace(u'|', QString::fromLatin1(end)));
        EXPECT_TRUE(d.window->CanPaste());
        d.window->PasteAt(d.section(0), 20, 8);
        EXPECT_EQ(d.lines(u"Z"_s).last(), u"Z,1,0,20,8,20,20,Arial,10,0,0,0,0,1,\"z\",0,0,0"_s);
    }
    const int steps = d.steps();
    // texts that are no element text: with no copy of the window's own, nothing is pasted
    // and nothing recorded
    EditingDesigner fresh(clipTemplate());
    const QStringList notOurs = {
        QString(lines).replace(u'|', u'\n').replace(u"VoranEditor"_s, u"voraneditor"_s),
        u"VoranEditor\r\n1\r\n2\r\n0\r\n"_s, u"VoranEditor\r\n1\r\n2\r\n0\r\n\r\n  \r\n"_s,
        u"VoranEditor"_s, QString()};
    for (const QString& text : notOurs) {
        setClipboard(text);
        EXPECT_FALSE(fresh.window->CanPaste()) << text.toStdString();
        fresh.window->PasteAt(fresh.section(2), 30, 30);
        EXPECT_EQ(fresh.paper()->PocetPrvku(), 5);
        EXPECT_EQ(fresh.steps(), 0);
    }
    // with a copy of its own, the window pastes that one instead
    setClipboard(notOurs[0]);
    d.window->PasteAt(d.section(2), 0, 0);
    EXPECT_EQ(d.lines(u"T"_s).last(), u"T,1,0,0,0,20,20,Arial,10,0,0,0,0,1,\"z\",0,0,0"_s);
    EXPECT_EQ(d.steps(), steps + 1);
}

TEST(DesignerClipboard, TextsOfAnyShapePasteAsFarAsTheyGo) {
    EditingDesigner d(clipTemplate(), false);
    QByteArray binary(4000, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 7919) % 256);
    QString garbage = u"VoranEditor\nžluť\n\x01\n-\n"_s;
    garbage += QString::fromLatin1(binary) + u'\n';
    garbage += u"X,1,0,2147483647,-2147483648,5,5,Arial,10,0,0,0,0,1,\"a\"\n"_s;
    garbage += u"X,99,zz,1,2\nQ,12,0,1,1,1,1\n,,,,,,\nX\n"_s;
    garbage += u"X,2,neznámá,1,1,1,1,Arial,10,99,65535,255,255,999999,\"\"\n"_s;
    setClipboard(garbage);
    ASSERT_TRUE(d.window->CanPaste());
    d.window->PasteAt(d.section(2), 2000000000, -2000000000);
    const int pasted = d.paper()->PocetPrvku() - 5;
    EXPECT_GT(pasted, 5);
    EXPECT_EQ(d.window->selectionCount(), pasted);
    // header lines without numbers read as 0: the first element leads
    ASSERT_EQ(d.window->primarySelection(), d.element(5));
    // whatever came in is written and read back alike
    const QStringList stored = d.window->storedText();
    d.report.SetPredloha(stored);
    auto again = std::make_unique<designer::TFormSestE>();
    again->setMessageSink(&d.messages);
    ASSERT_TRUE(again->OpenSestava(&d.report, 1, false));
    const QRegularExpression body(u"^T,"_s);
    EXPECT_EQ(designtest::firstDifference(stored.filter(body), again->storedText().filter(body)),
              "");

    // a long text from another program
    QStringList many{u"VoranEditor"_s, u"0"_s, u"0"_s, u"5"_s};
    for (int i = 0; i < 3000; ++i)
        many << u"X,8,8,%1,%2,9,9,,1,0,0,0,15,0"_s.arg(i % 700).arg(i % 250);
    setClipboard(many.join(u'\n'));
    again->PasteAt(again->paper()->Oddil(2), 0, 0);
    EXPECT_EQ(again->selectionCount(), 3000);
    EXPECT_EQ(again->primarySelection()->Left(), 5);
}

// Copying every element of a section and pasting it at the same anchor into an empty section
// of another designer gives the same element lines under that section's key.
TEST(DesignerClipboard, SectionsTravelBetweenDesignersUnchanged) {
    const unsigned seed = 20261207u + 400000;
    int copied = 0;
    for (unsigned i = 0; i < 60; ++i) {
        designtest::TemplateGenerator generator(seed + i);
        const designtest::GeneratedFixture fixture = generator.fixture();
        designtest::DesignedReport from(fixture);
        const QStringList text = generator.canonical();
        auto source = from.open(text);
        designer::TOddil* body = source->paper()->Oddil(2);
        if (body->PocetPrvku() == 0) continue;
        source->ClearSelection();
        source->SelectElement(body->Prvek(body->PocetPrvku() - 1));
        for (int e = 0; e < body->PocetPrvku(); ++e)
            source->AddToSelection(body->Prvek(e));
        const designer::TSesPrvek* primary = source->primarySelection();
        source->action(u"ActionCopy"_s)->trigger();
        ++copied;

        designtest::DesignedReport to(fixture);
        auto target = to.open({u"I,0,\"B\""_s, u"I,1,5,40,17"_s});
        target->PasteAt(target->paper()->Oddil(2), primary->Left(), primary->Top());
        const QRegularExpression bodyLine(u"^T,"_s);
        ASSERT_EQ(designtest::firstDifference(text.filter(bodyLine),
                                              target->storedText().filter(bodyLine)),
                  "")
            << "seed " << seed + i;
    }
    EXPECT_GT(copied, 30);
}
