// The designer's clipboard: copied elements as text on the system clipboard, cut, the paste
// mode and pastes that keep the elements' offsets, texts of any shape from other programs,
// and undo over every kind of edit.

#include "support/DesignerWindow.h"
#include "support/EditingDesigner.h"

#include <QClipboard>
#include <QGuiApplication>

#include <gtest/gtest.h>

using designtest::EditingDesigner;

namespace {

// Body elements a (10, 10), the primary (100, 50) and a line (140, 90), one more element in
// the body and one in the report header; snapping off, so clicks land where they are.
QStringList clipTemplate() {
    return {QStringLiteral("I,0,\"Schránka\""),
            QStringLiteral("I,1,5,40,17"),
            QStringLiteral("I,2,0,827,1169,50,50,70,70,1,0"),
            QStringLiteral("I,3,2,1,300,0"),
            QStringLiteral("I,6,0,8,8,0,1,1,0"),
            QStringLiteral("Z,1,0,5,5,40,20,Arial,10,0,0,0,0,1,\"hlavička\",0,0,0"),
            QStringLiteral("T,1,0,10,10,50,20,Arial,10,0,0,0,0,1,\"a\",0,0,0"),
            QStringLiteral("T,2,\"pol,1\",100,50,60,20,Arial,12,3,1,1,5,238,\"\",0,0,0"),
            QStringLiteral("T,7,0,140,90,30,3,,1,0,0,0,15,0"),
            QStringLiteral("T,1,0,400,200,40,20,Arial,10,0,0,0,0,1,\"zbytek\",0,0,0")};
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
    EditingDesigner designer(clipTemplate());
    const QStringList body = designer.lines(QStringLiteral("T"));
    designer.select({designer.element(2), designer.element(1), designer.element(3)});
    designer.action("ActionCopy")->trigger();
    // the primary's line is the second of the section's selected lines
    const QString expected = QStringLiteral("VoranEditor\r\n100\r\n50\r\n1\r\n") +
                             rekeyed(body.mid(0, 3), QStringLiteral("X")).join("\r\n") +
                             QStringLiteral("\r\n");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), expected);
    EXPECT_TRUE(designer.action("ActionPaste")->isEnabled());

    designer.action("ActionPaste")->trigger();
    ASSERT_TRUE(designer.window->pasteMode());
    EXPECT_EQ(designer.window->selectionCount(), 0);
    designer.click(2, QPoint(300, 80));
    EXPECT_FALSE(designer.window->pasteMode());
    EXPECT_FALSE(designer.action("ActionPaste")->isChecked());
    EXPECT_EQ(designer.stepName(), QStringLiteral("vložení z úschovy"));
    EXPECT_EQ(designer.steps(), 1);

    ASSERT_EQ(designer.paper()->PocetPrvku(), 8);
    const designer::TSesPrvek* pasted[] = {designer.element(5), designer.element(6),
                                           designer.element(7)};
    EXPECT_EQ(designer.bounds(pasted[0]), QRect(210, 40, 50, 20));
    EXPECT_EQ(designer.bounds(pasted[1]), QRect(300, 80, 60, 20));
    EXPECT_EQ(designer.bounds(pasted[2]), QRect(340, 120, 30, 3));
    EXPECT_EQ(designer.window->primarySelection(), pasted[1]);
    EXPECT_EQ(designer.window->selectionCount(), 3);
    for (const designer::TSesPrvek* e : pasted)
        EXPECT_TRUE(e->multi());
    EXPECT_EQ(designer.find<QLineEdit>("EditX")->text(), QStringLiteral("300"));
    // every other property came along: the lines differ only in position
    const QStringList after = designer.lines(QStringLiteral("T"));
    EXPECT_EQ(after.mid(4, 3),
              QStringList({QStringLiteral("T,1,0,210,40,50,20,Arial,10,0,0,0,0,1,\"a\",0,0,0"),
                           QStringLiteral("T,2,\"pol,1\",300,80,60,20,Arial,12,3,1,1,5,238,\"\","
                                          "0,0,0"),
                           QStringLiteral("T,7,0,340,120,30,3,,1,0,0,0,15,0")}));
}

TEST(DesignerClipboard, SelectionOverTwoSectionsCopiesThePrimarysSection) {
    EditingDesigner designer(clipTemplate());
    designer.select({designer.element(0), designer.element(4), designer.element(1)});
    designer.action("ActionCopy")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("VoranEditor\r\n5\r\n5\r\n0\r\n") +
                  rekeyed(designer.lines(QStringLiteral("Z")), QStringLiteral("X"))[0] +
                  QStringLiteral("\r\n"));

    // a single element pastes as the only selection, without the multi mark, into the
    // section clicked, under that section's key
    designer.action("ActionPaste")->trigger();
    designer.click(3, QPoint(30, 12));
    const designer::TSesPrvek* pasted = designer.window->primarySelection();
    ASSERT_NE(pasted, nullptr);
    EXPECT_FALSE(pasted->multi());
    EXPECT_EQ(designer.window->selectionCount(), 1);
    EXPECT_EQ(
        designer.lines(QStringLiteral("K")),
        QStringList(QStringLiteral("K,1,0,30,12,40,20,Arial,10,0,0,0,0,1,\"hlavička\",0,0,0")));
    auto* editX = designer.find<QLineEdit>("EditX");
    editX->setText(QStringLiteral("77"));
    QTest::keyClick(editX, Qt::Key_Return);
    EXPECT_EQ(pasted->Left(), 77);
}

TEST(DesignerClipboard, CutRemovesTheSectionsSelectionAndPastesBack) {
    EditingDesigner designer(clipTemplate());
    const QStringList body = designer.lines(QStringLiteral("T"));
    designer.select({designer.element(1), designer.element(2), designer.element(0)});
    designer.action("ActionCut")->trigger();
    EXPECT_EQ(designer.stepName(), QStringLiteral("vystřižení do úschovy"));
    EXPECT_EQ(designer.lines(QStringLiteral("T")), body.mid(2));
    EXPECT_EQ(designer.paper()->PocetPrvku(), 3);
    // what stays in the other section is no longer selected
    EXPECT_EQ(designer.window->selectionCount(), 0);
    EXPECT_FALSE(designer.element(0)->multi());
    EXPECT_FALSE(designer.action("ActionCut")->isEnabled());

    designer.action("ActionPaste")->trigger();
    designer.click(2, QPoint(10, 10)); // the anchor: where the primary was
    EXPECT_EQ(designer.lines(QStringLiteral("T")), body.mid(2) + body.mid(0, 2));
    EXPECT_EQ(designer.steps(), 2);
    designer.window->Undo();
    designer.window->Undo();
    EXPECT_EQ(designer.lines(QStringLiteral("T")), body);
}

TEST(DesignerClipboard, AnyLineEndPastesAndOnlyTheExactMarkerCounts) {
    EditingDesigner designer(clipTemplate());
    const QString lines =
        QStringLiteral("VoranEditor|100|50|0|X,1,0,100,50,20,20,Arial,10,0,0,0,0,1,\"z\",0,0,0");
    for (const char* end : {"\n", "\r", "\r\n"}) {
        SCOPED_TRACE(QByteArray(end).toHex().toStdString());
        setClipboard(QString(lines).replace(u'|', QString::fromLatin1(end)));
        EXPECT_TRUE(designer.window->CanPaste());
        designer.window->PasteAt(designer.section(0), 20, 8);
        EXPECT_EQ(designer.lines(QStringLiteral("Z")).last(),
                  QStringLiteral("Z,1,0,20,8,20,20,Arial,10,0,0,0,0,1,\"z\",0,0,0"));
    }
    const int steps = designer.steps();
    // texts that are no element text: with no copy of the window's own, nothing is pasted
    // and nothing recorded
    EditingDesigner fresh(clipTemplate());
    const QStringList notOurs = {
        QString(lines)
            .replace(u'|', u'\n')
            .replace(QStringLiteral("VoranEditor"), QStringLiteral("voraneditor")),
        QStringLiteral("VoranEditor\r\n1\r\n2\r\n0\r\n"),
        QStringLiteral("VoranEditor\r\n1\r\n2\r\n0\r\n\r\n  \r\n"), QStringLiteral("VoranEditor"),
        QString()};
    for (const QString& text : notOurs) {
        setClipboard(text);
        EXPECT_FALSE(fresh.window->CanPaste()) << text.toStdString();
        fresh.window->PasteAt(fresh.section(2), 30, 30);
        EXPECT_EQ(fresh.paper()->PocetPrvku(), 5);
        EXPECT_EQ(fresh.steps(), 0);
    }
    // with a copy of its own, the window pastes that one instead
    setClipboard(notOurs[0]);
    designer.window->PasteAt(designer.section(2), 0, 0);
    EXPECT_EQ(designer.lines(QStringLiteral("T")).last(),
              QStringLiteral("T,1,0,0,0,20,20,Arial,10,0,0,0,0,1,\"z\",0,0,0"));
    EXPECT_EQ(designer.steps(), steps + 1);
}

TEST(DesignerClipboard, TextsOfAnyShapePasteAsFarAsTheyGo) {
    EditingDesigner designer(clipTemplate(), false);
    QByteArray binary(4000, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 7919) % 256);
    QString garbage = QStringLiteral("VoranEditor\nžluť\n\x01\n-\n");
    garbage += QString::fromLatin1(binary) + u'\n';
    garbage += QStringLiteral("X,1,0,2147483647,-2147483648,5,5,Arial,10,0,0,0,0,1,\"a\"\n");
    garbage += QStringLiteral("X,99,zz,1,2\nQ,12,0,1,1,1,1\n,,,,,,\nX\n");
    garbage += QStringLiteral("X,2,neznámá,1,1,1,1,Arial,10,99,65535,255,255,999999,\"\"\n");
    setClipboard(garbage);
    ASSERT_TRUE(designer.window->CanPaste());
    designer.window->PasteAt(designer.section(2), 2000000000, -2000000000);
    const int pasted = designer.paper()->PocetPrvku() - 5;
    EXPECT_GT(pasted, 5);
    EXPECT_EQ(designer.window->selectionCount(), pasted);
    // header lines without numbers read as 0: the first element leads
    ASSERT_EQ(designer.window->primarySelection(), designer.element(5));
    // whatever came in is written and read back alike
    const QStringList stored = designer.window->storedText();
    designer.report.SetPredloha(stored);
    auto again = std::make_unique<designer::TFormSestE>();
    again->setMessageSink(&designer.messages);
    ASSERT_TRUE(again->OpenSestava(&designer.report, 1, false));
    const QRegularExpression body(QStringLiteral("^T,"));
    EXPECT_EQ(designtest::firstDifference(stored.filter(body), again->storedText().filter(body))
                  .toStdString(),
              "");

    // a long text from another program
    QStringList many{QStringLiteral("VoranEditor"), QStringLiteral("0"), QStringLiteral("0"),
                     QStringLiteral("5")};
    for (int i = 0; i < 3000; ++i)
        many << QStringLiteral("X,8,8,%1,%2,9,9,,1,0,0,0,15,0").arg(i % 700).arg(i % 250);
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
        from.report.SetPredloha(text);
        auto source = from.open();
        designer::TOddil* body = source->paper()->Oddil(2);
        if (body->PocetPrvku() == 0) continue;
        source->ClearSelection();
        source->SelectElement(body->Prvek(body->PocetPrvku() - 1));
        for (int e = 0; e < body->PocetPrvku(); ++e)
            source->AddToSelection(body->Prvek(e));
        const designer::TSesPrvek* primary = source->primarySelection();
        source->action(QStringLiteral("ActionCopy"))->trigger();
        ++copied;

        designtest::DesignedReport to(fixture);
        to.report.SetPredloha({QStringLiteral("I,0,\"B\""), QStringLiteral("I,1,5,40,17")});
        auto target = to.open();
        target->PasteAt(target->paper()->Oddil(2), primary->Left(), primary->Top());
        const QStringList expected = text.filter(QRegularExpression(QStringLiteral("^T,")));
        const QStringList actual =
            target->storedText().filter(QRegularExpression(QStringLiteral("^T,")));
        ASSERT_EQ(designtest::firstDifference(expected, actual).toStdString(), "")
            << "seed " << seed + i;
    }
    EXPECT_GT(copied, 30);
}

// Undo and redo give back every snapshot over key moves and resizes, position fields,
// insertions, deletions, cut and paste of generated templates.
TEST(DesignerRoundTrip, UndoAndRedoGiveBackEverySnapshotOfEditing) {
    const unsigned seed = 20261207u + 500000;
    static const char* const tools[] = {"ActionGrText", "ActionDb",  "ActionDate", "ActionGrRect",
                                        "ActionFn",     "ActionPar", "ActionBarc", "ActionDetail"};
    int recorded = 0;
    for (unsigned i = 0; i < 30; ++i) {
        designtest::TemplateGenerator generator(seed + i);
        designtest::DesignedReport fixture(generator.fixture());
        const QStringList text = generator.canonical();
        fixture.report.SetPredloha(text);
        auto window = fixture.open();
        window->history().SetCapacity(40);
        designer::TPapir* paper = window->paper();
        QList<QStringList> kept{window->storedText()};
        for (int step = 0; step < 12; ++step) {
            const int steps = window->history().CurrentIndex();
            const int count = paper->PocetPrvku();
            designer::TSesPrvek* some =
                count > 0 ? paper->Prvek(generator.range(0, count - 1)) : nullptr;
            if (some) window->SelectElement(some);
            designer::TOddil* section = paper->Oddil(generator.range(0, paper->PocetOddilu() - 1));
            const int x = generator.range(0, 600);
            const int y = generator.range(0, 100);
            switch (generator.range(0, 5)) {
            case 0: {
                static const Qt::Key keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up,
                                               Qt::Key_Down};
                static const Qt::KeyboardModifiers states[] = {
                    Qt::ControlModifier, Qt::ControlModifier | Qt::ShiftModifier,
                    Qt::ShiftModifier};
                QTest::keyClick(paper, keys[generator.range(0, 3)], states[generator.range(0, 2)]);
                break;
            }
            case 1: {
                const char* const fields[] = {"EditX", "EditY", "EditW", "EditH"};
                auto* field = window->findChild<QLineEdit*>(fields[generator.range(0, 3)]);
                field->setText(QString::number(generator.range(-5, 400)));
                QTest::keyClick(field, Qt::Key_Return);
                break;
            }
            case 2:
                window->action(QString::fromLatin1(tools[generator.range(0, 7)]))->trigger();
                window->paperEvent(128 + section->code(), x, y);
                break;
            case 3:
                QTest::keyClick(paper, Qt::Key_Delete);
                break;
            case 4:
                QTest::keyClick(paper, Qt::Key_X, Qt::ControlModifier);
                break;
            default:
                QTest::keyClick(paper, Qt::Key_C, Qt::ControlModifier);
                QTest::keyClick(paper, Qt::Key_V, Qt::ControlModifier);
                window->paperEvent(128 + section->code(), x, y);
                break;
            }
            if (window->history().CurrentIndex() == steps) continue;
            ++recorded;
            kept << window->storedText();
            ASSERT_EQ(kept.back(), window->history().Current()) << "seed " << seed + i;
        }
        for (int back = int(kept.size()) - 2; back >= 0; --back) {
            window->Undo();
            ASSERT_EQ(designtest::firstDifference(kept[back], window->storedText()).toStdString(),
                      "")
                << "seed " << seed + i << " undo to " << back;
        }
        EXPECT_EQ(designtest::firstDifference(text, window->storedText()).toStdString(), "");
        for (qsizetype forward = 1; forward < kept.size(); ++forward) {
            window->Redo();
            ASSERT_EQ(
                designtest::firstDifference(kept[forward], window->storedText()).toStdString(), "")
                << "seed " << seed + i << " redo to " << forward;
        }
    }
    EXPECT_GT(recorded, 200); // most edits record a step
}
