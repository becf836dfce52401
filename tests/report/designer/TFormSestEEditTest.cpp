// Editing in the designer window: palette tools and the elements they insert, the keys of the
// paper and of the window, the position fields, aligning to the grid and deleting.

#include "support/EditingDesigner.h"

#include "report/engine/DesignerCursors.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMenu>
#include <QTabWidget>
#include <QTreeWidget>

#include <gtest/gtest.h>

using designtest::EditingDesigner;
using platform::MessageAnswer;

namespace {

// Printable width 2000 - 50 - 50 = 1900; two groups; two functions (a number, a text); grid
// 8 x 8 snapped.
QStringList insertionTemplate() {
    return {QStringLiteral("I,0,\"Vkládání\""),
            QStringLiteral("I,1,5,40,17"),
            QStringLiteral("I,2,0,2000,1169,50,50,70,70,1,0"),
            QStringLiteral("I,3,2,1,300,0"),
            QStringLiteral("I,4,0,pol0,1,100,1,100,0"),
            QStringLiteral("I,4,1,pol2,1,100,1,100,0"),
            QStringLiteral("I,6,0,8,8,0,1,1,1"),
            QStringLiteral("F,0,suma,\"Součet\",0,\"0\",0,\"[pol0]\",1,15,2,2"),
            QStringLiteral("F,1,nazev,\"Název\",1,\"\",0,\"[pol2]\",0,15,2,2")};
}

// Elements in the body and the report header; a 17 characters per inch grid (5.882353 x
// 16.666666) that does not snap.
QStringList keyTemplate() {
    return {QStringLiteral("I,0,\"Klávesy\""),
            QStringLiteral("I,1,5,40,17"),
            QStringLiteral("I,2,0,827,1169,50,50,70,70,1,0"),
            QStringLiteral("I,3,2,1,300,0"),
            QStringLiteral("I,6,1,6,17,0,2,1,0"),
            QStringLiteral("Z,1,0,5,5,40,20,Arial,10,0,0,0,0,1,\"hlavička\",0,0,0"),
            QStringLiteral("T,1,0,100,50,200,20,Arial,10,0,0,0,0,1,\"první\",0,0,0"),
            QStringLiteral("T,1,0,20,120,60,20,Arial,10,0,0,0,0,1,\"druhý\",0,0,0"),
            QStringLiteral("T,8,8,300,10,50,40,,1,0,0,15,15,0")};
}

void insertionSettings() {
    designer::TEditorSettings& s = designer::EditorSettings();
    s.ImplSirka = 200;
    s.ImplVyska = 20;
    s.ImplNazevFontu = QStringLiteral("Ab,c Sans");
    s.ImplVyskaFontu = 10;
    s.ImplBarvaFontu = 4;
    s.ImplStylFontu = 1;
    s.ImplZarovnani = 2;
    s.ImplZarovnaniCi = 1;
    s.ImplSkriptFontu = 238;
}

} // namespace

TEST(DesignerInsertion, EachToolBlockInsertsItsElementLine) {
    struct Row {
        const char* tool;
        const char* combo; // the palette combo to set, or null
        int entry;
        bool byName;
        int section;
        const char* line; // as the template writer stores it
    };
    // A click at pixel (21, 13) snaps to (24, 16). Fonts "Ab,c Sans" 10 bold, colour 4,
    // charset 238, alignment 2 (numbers 1), 200 x 20 unless the kind sizes itself.
    const QString font = QStringLiteral("\"Ab,c Sans\",10,4,1,");
    static const Row rows[] = {
        {"ActionGrText", nullptr, 0, false, 2, "T,1,0,24,16,200,20,@2,0,238,\"\",0,0,0"},
        {"ActionDb", "CBVyberPrvku", 0, false, 2, "T,2,0,24,16,75,20,@1,0,238,\"\",0,0,0"},
        {"ActionDb", "CBVyberPrvku", 1, false, 2, "T,2,1,24,16,950,20,@2,0,238,\"\",0,0,0"},
        {"ActionLb", "CBVyberPrvku", 1, true, 2, "T,3,\"pol,1\",24,16,950,20,@2,0,238,\"\",0,0,0"},
        {"ActionLb", "CBVyberPrvku", 2, false, 2, "T,3,2,24,16,52,20,@0,0,238,\"\",0,0,0"},
        {"ActionPar", "CBVyberPrvku", 1, false, 2, "T,4,1,24,16,200,20,@2,0,238,\"\",0,0,0"},
        {"ActionDate", nullptr, 0, false, 2, "T,5,0,24,16,100,20,@1,0,238,\"\",0,0,0"},
        {"ActionTime", nullptr, 0, false, 2, "T,5,1,24,16,100,20,@1,0,238,\"\",0,0,0"},
        {"ActionStrCelk", nullptr, 0, false, 2, "T,5,4,24,16,60,20,@1,0,238,\"\",0,0,0"},
        {"ActionRadSk", "CbVyberSkup", 1, false, 2, "T,5,7,24,16,60,20,@1,0,238,\"\",0,0,0"},
        {"ActionSkCis", "CbVyberSkup", 0, false, 2, "T,5,6,24,16,60,20,@1,0,238,\"\",0,0,0"},
        {"ActionFn", "CbVyberFunkce", 0, true, 2, "T,6,suma,24,16,200,20,@1,0,238,\"\",0,0,0"},
        {"ActionFn", "CbVyberFunkce", 1, false, 2, "T,6,1,24,16,200,20,@2,0,238,\"\",0,0,0"},
        {"ActionGrCara", nullptr, 0, false, 2, "T,7,0,24,16,200,20,,1,4,0,2,15,0"},
        {"ActionGrRect", nullptr, 0, false, 2, "T,8,8,24,16,200,20,,1,4,0,2,15,0"},
        {"ActionElip", nullptr, 0, false, 2, "T,10,10,24,16,200,20,,1,4,0,2,15,0"},
        {"ActionObr", nullptr, 0, false, 2, "T,11,0,24,16,200,20,,10,4,1,0,0,238,\"\""},
        {"ActionDetail", "CbVyberDetail", 0, false, 2, "T,15,0,0,16,1900,20"},
        {"ActionGrText", nullptr, 0, false, 5, "S0,1,0,24,16,200,20,@2,0,238,\"\",0,0,0"},
        {"ActionDate", nullptr, 0, false, 8, "U1,5,0,24,16,100,20,@1,0,238,\"\",0,0,0"},
    };
    EditingDesigner designer(insertionTemplate());
    insertionSettings();
    ASSERT_EQ(designer.paper()->sirka(), 1900);
    const QStringList before = designer.window->storedText();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.tool);
        designer::EditorSettings().SledPodle = row.byName;
        designer.action(row.tool)->trigger();
        if (row.combo) designer.find<QComboBox>(row.combo)->setCurrentIndex(row.entry);
        designer.click(row.section, QPoint(21, 13));

        const QString key = QString::fromLatin1(row.line).section(u',', 0, 0);
        const QStringList added = designer.lines(key);
        ASSERT_EQ(added.size(), 1);
        EXPECT_EQ(added[0], QString::fromUtf8(row.line).replace(QStringLiteral("@"), font));
        EXPECT_EQ(designer.stepName(), QStringLiteral("vložení prvku"));
        EXPECT_EQ(designer.steps(), 1);
        // the new element is the only selection; the tool went back to the arrow
        ASSERT_NE(designer.window->primarySelection(), nullptr);
        EXPECT_EQ(designer.window->selectionCount(), 1);
        EXPECT_EQ(designer.window->activeTool(), 0);
        designer.window->Undo();
        ASSERT_EQ(designer.window->storedText(), before);
    }
}

TEST(DesignerInsertion, CtrlKeepsTheToolAndMovesTheItemOn) {
    EditingDesigner designer(insertionTemplate());
    designer.action("ActionDb")->trigger();
    auto* items = designer.find<QComboBox>("CBVyberPrvku");
    ASSERT_EQ(items->currentIndex(), 0);
    for (int i = 0; i < 4; ++i)
        designer.click(2, QPoint(10, 10 + 30 * i), Qt::ControlModifier);
    EXPECT_EQ(designer.window->activeTool(), 2000);
    EXPECT_EQ(items->currentIndex(), 1); // three items: the fourth click wrapped to the first
    QStringList indexes;
    for (const QString& line : designer.lines(QStringLiteral("T")))
        indexes << line.section(u',', 2, 2);
    EXPECT_EQ(indexes, QStringList({"0", "1", "2", "0"}));
    EXPECT_EQ(designer.steps(), 4);
    designer.click(2, QPoint(10, 200));
    EXPECT_EQ(designer.window->activeTool(), 0);
    ASSERT_NE(designer.window->primarySelection(), nullptr);
    // with the arrow a click only lets the selection go
    designer.click(2, QPoint(10, 250));
    EXPECT_EQ(designer.window->primarySelection(), nullptr);
    EXPECT_EQ(designer.lines(QStringLiteral("T")).size(), 5);
    EXPECT_EQ(designer.steps(), 5);
}

TEST(DesignerInsertion, SettingsBelowThreeStillGiveAReachableElement) {
    EditingDesigner designer(insertionTemplate());
    designer::EditorSettings().ImplSirka = 0;
    designer::EditorSettings().ImplVyska = -5;
    designer::EditorSettings().ImplVyskaFontu = 0;
    for (const char* tool : {"ActionGrText", "ActionDate", "ActionDb", "ActionGrRect"}) {
        SCOPED_TRACE(tool);
        designer.action(tool)->trigger();
        designer.click(2, QPoint(40, 40));
        const designer::TSesPrvek* added = designer.window->primarySelection();
        ASSERT_NE(added, nullptr);
        EXPECT_GE(added->Width(), 3);
        EXPECT_GE(added->Height(), 3);
        designer.window->Undo();
    }
}

TEST(DesignerTools, CursorComboAndCommandsFollowTheTool) {
    EditingDesigner designer(insertionTemplate());
    auto* items = designer.find<QComboBox>("CBVyberPrvku");
    const QImage arrow = QCursor(Qt::ArrowCursor).pixmap().toImage();
    struct Row {
        const char* tool;
        int cursor;
        int entries; // -1: the combo is hidden
    };
    static const Row rows[] = {
        {"ActionDb", 2, 3},       {"ActionLb", 3, 3},       {"ActionPar", 4, 2},
        {"ActionFn", 5, 2},       {"ActionDate", 6, -1},    {"ActionStrCelk", 10, -1},
        {"ActionRadSk", 11, -1},  {"ActionSkCis", 12, -1},  {"ActionGrText", 13, -1},
        {"ActionGrCara", 14, -1}, {"ActionPaintB", 20, -1}, {"ActionDetail", 21, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.tool);
        designer.action(row.tool)->trigger();
        EXPECT_TRUE(designer.action(row.tool)->isChecked());
        EXPECT_FALSE(designer.action("ActionNoSelect")->isChecked());
        const QCursor cursor = designer.paper()->cursor();
        EXPECT_EQ(cursor.pixmap().toImage(),
                  report::DesignerCursor(row.cursor).pixmap().toImage());
        EXPECT_EQ(!items->isHidden(), row.entries >= 0);
        EXPECT_EQ(row.entries >= 0 ? items->count() : -1, row.entries);
    }
    designer.action("ActionLb")->trigger();
    EXPECT_EQ(items->currentIndex(), 0);
    EXPECT_TRUE(items->itemText(2).endsWith(QStringLiteral("pol2")));
    // the function tool chooses the first of two functions: it can be edited, not deleted
    designer.action("ActionFn")->trigger();
    EXPECT_TRUE(designer.action("ActionFnEdit")->isEnabled());
    EXPECT_FALSE(designer.action("ActionFnDelete")->isEnabled());

    // a tool ends the paste mode; the arrow and a palette page change give the arrow back
    designer.action("ActionPaste")->setEnabled(true);
    designer.action("ActionPaste")->trigger();
    ASSERT_TRUE(designer.window->pasteMode());
    designer.action("ActionGrRect")->trigger();
    EXPECT_FALSE(designer.window->pasteMode());
    EXPECT_FALSE(designer.action("ActionPaste")->isChecked());
    designer.find<QTabWidget>("PageControlPrv")->setCurrentIndex(1);
    EXPECT_EQ(designer.window->activeTool(), 0);
    EXPECT_TRUE(designer.action("ActionNoSelect")->isChecked());
    EXPECT_EQ(designer.paper()->cursor().pixmap().toImage(), arrow);
}

TEST(DesignerKeys, EveryKeyActsOnPaperAndTreeOnlyAndRecordsOneStep) {
    enum Before { Nothing, Copy, Step, UndoneStep };
    struct Row {
        Qt::Key key;
        Qt::KeyboardModifiers state;
        bool inTree; // the element tree takes the key too (arrows are the paper's)
        Before before;
        QRect bounds; // of the chosen element afterwards; empty: it is gone
        int steps;    // history steps the key added; -1: one undone
        const char* step;
        bool pasteMode;
        bool copied;
    };
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
    const Qt::KeyboardModifiers alt = Qt::AltModifier;
    const char* const move = "posun prvku";
    const char* const cut = "vystřižení do úschovy";
    const Row rows[] = {
        {Qt::Key_Left, ctrl, false, Nothing, {99, 50, 200, 20}, 1, move, false, false},
        {Qt::Key_Down, ctrl, false, Nothing, {100, 51, 200, 20}, 1, move, false, false},
        // the 17 characters per inch grid: 100 + 5.882353, rounded by the element
        {Qt::Key_Right, ctrl | shift, false, Nothing, {106, 50, 200, 20}, 1, move, false, false},
        {Qt::Key_Up, ctrl | shift, false, Nothing, {100, 33, 200, 20}, 1, move, false, false},
        {Qt::Key_Right, shift, false, Nothing, {100, 50, 201, 20}, 1, move, false, false},
        {Qt::Key_Up, shift, false, Nothing, {100, 50, 200, 19}, 1, move, false, false},
        {Qt::Key_C, ctrl, true, Nothing, {100, 50, 200, 20}, 0, nullptr, false, true},
        {Qt::Key_Insert, ctrl, true, Nothing, {100, 50, 200, 20}, 0, nullptr, false, true},
        {Qt::Key_X, ctrl | shift, true, Nothing, {}, 1, cut, false, true},
        {Qt::Key_Delete, shift, true, Nothing, {}, 1, cut, false, true},
        {Qt::Key_Delete, Qt::NoModifier, true, Nothing, {}, 1, "zrušení prvku", false, false},
        {Qt::Key_V, ctrl, true, Copy, {100, 50, 200, 20}, 0, nullptr, true, false},
        {Qt::Key_Insert, shift, true, Copy, {100, 50, 200, 20}, 0, nullptr, true, false},
        {Qt::Key_Z, ctrl, true, Step, {100, 50, 200, 20}, -1, nullptr, false, false},
        {Qt::Key_Backspace, alt, true, Step, {100, 50, 200, 20}, -1, nullptr, false, false},
        {Qt::Key_Z, ctrl | shift, true, UndoneStep, {100, 57, 200, 20}, 1, move, false, false},
        {Qt::Key_Backspace,
         alt | shift,
         true,
         UndoneStep,
         {100, 57, 200, 20},
         1,
         move,
         false,
         false},
    };
    const QString copyText = QStringLiteral("VoranEditor\r\n100\r\n50\r\n0\r\nX,1,0,100,50,");
    for (const Row& row : rows) {
        for (const bool tree : {false, true}) {
            if (tree && !row.inTree) continue;
            SCOPED_TRACE(QStringLiteral("key %1 state %2 %3")
                             .arg(int(row.key), 0, 16)
                             .arg(row.state.toInt(), 0, 16)
                             .arg(tree ? "tree" : "paper")
                             .toStdString());
            EditingDesigner designer(keyTemplate(), false);
            // the tree is found by its name
            auto* treeView = new QTreeWidget(designer.window.get());
            treeView->setObjectName(QStringLiteral("TreeViewElements"));
            designer.select({designer.element(1)});
            if (row.before == Copy) designer.action("ActionCopy")->trigger(); // something to paste
            if (row.before >= Step) designer.window->MoveSelection(0, 7);
            if (row.before == UndoneStep) {
                designer.window->Undo();
                designer.select({designer.element(1)});
            }
            QGuiApplication::clipboard()->setText(QStringLiteral("nic"));
            const QStringList text = designer.window->storedText();
            const int steps = designer.steps();

            // in the text fields the keys are the fields' own
            for (const char* field : {"EditX", "EditH"}) {
                QTest::keyClick(designer.find<QLineEdit>(field), row.key, row.state);
                EXPECT_EQ(designer.window->storedText(), text) << field;
                EXPECT_EQ(designer.steps(), steps) << field;
                EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("nic"));
                EXPECT_FALSE(designer.window->pasteMode());
            }
            QTest::keyClick(tree ? static_cast<QWidget*>(treeView) : designer.paper(), row.key,
                            row.state);
            if (row.bounds.isEmpty()) {
                EXPECT_EQ(designer.paper()->PocetPrvku(), 3);
            } else {
                EXPECT_EQ(designer.bounds(designer.element(1)), row.bounds);
            }
            EXPECT_EQ(designer.steps() - steps, row.steps);
            if (row.step) {
                EXPECT_EQ(designer.stepName(), QString::fromUtf8(row.step));
            }
            EXPECT_EQ(designer.window->pasteMode(), row.pasteMode);
            EXPECT_EQ(QGuiApplication::clipboard()->text().startsWith(copyText), row.copied);
        }
    }
}

TEST(DesignerKeys, ArrowsMoveEveryMultiSelectedElement) {
    EditingDesigner designer(keyTemplate());
    designer.select({designer.element(1), designer.element(2), designer.element(0)});
    QTest::keyClick(designer.paper(), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(designer.element(1)->Top(), 51);
    EXPECT_EQ(designer.element(2)->Top(), 121);
    EXPECT_EQ(designer.element(0)->Top(), 6);
    EXPECT_EQ(designer.element(3)->Top(), 10); // not selected
    EXPECT_EQ(designer.steps(), 1);
    // without a selection the keys do nothing and record nothing
    designer.window->ClearSelection();
    QTest::keyClick(designer.paper(), Qt::Key_Down, Qt::ControlModifier);
    QTest::keyClick(designer.paper(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(designer.steps(), 1);
}

TEST(DesignerKeys, F1OpensTheDesignerHelpAnywhereAndEscCloses) {
    designtest::HelpRecorder help;
    platform::setHelpViewer(&help);
    {
        EditingDesigner designer(keyTemplate());
        QTest::keyClick(designer.paper(), Qt::Key_F1);
        QTest::keyClick(designer.find<QLineEdit>("EditY"), Qt::Key_F1);
        QTest::keyClick(designer.find<QComboBox>("CBMeritka1"), Qt::Key_F1);
        EXPECT_EQ(help.shown, QStringList(3, QStringLiteral("sestavy.hlp 0")));
        QFile contents(platform::helpTopicPath(QStringLiteral("sestavy.hlp"), 0));
        ASSERT_TRUE(contents.open(QIODevice::ReadOnly));
        EXPECT_TRUE(QString::fromUtf8(contents.readAll()).contains(QStringLiteral("Ctrl+Shift")));

        QTest::keyClick(designer.paper(), Qt::Key_Escape);
        EXPECT_FALSE(designer.window->isVisible());
    }
    platform::setHelpViewer(nullptr);
}

TEST(DesignerPositionFields, EnterSetsOneOrEveryMultiSelectedElement) {
    EditingDesigner designer(keyTemplate());
    auto* editX = designer.find<QLineEdit>("EditX");
    auto* editW = designer.find<QLineEdit>("EditW");
    auto* editH = designer.find<QLineEdit>("EditH");
    const auto enter = [](QLineEdit* field, const QString& text) {
        field->setText(text);
        QTest::keyClick(field, Qt::Key_Return);
    };

    designer.select({designer.element(1), designer.element(2), designer.element(3)});
    enter(editX, QStringLiteral("120"));
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(designer.element(i)->Left(), 120) << i;
    EXPECT_EQ(designer.element(0)->Left(), 5);
    EXPECT_EQ(designer.steps(), 1);

    designer.select({designer.element(2)});
    enter(editX, QStringLiteral("abc")); // no number: the value stays, nothing recorded
    EXPECT_EQ(designer.element(2)->Left(), 120);
    EXPECT_EQ(editX->text(), QStringLiteral("120"));
    enter(editX, QStringLiteral("120"));
    EXPECT_EQ(designer.steps(), 1);

    // sizes of 0 or less become 3
    enter(editW, QStringLiteral("0"));
    enter(editH, QStringLiteral("-5"));
    EXPECT_EQ(designer.bounds(designer.element(2)), QRect(120, 120, 3, 3));
    EXPECT_EQ(editW->text(), QStringLiteral("3"));
    EXPECT_EQ(designer.steps(), 3);
    EXPECT_EQ(designer.stepName(), QStringLiteral("posun prvku"));

    // leaving a field shows the element's value again
    ASSERT_TRUE(QTest::qWaitForWindowActive(designer.window.get()));
    editX->setFocus();
    QTest::keyClicks(editX, QStringLiteral("9"));
    designer.find<QLineEdit>("EditY")->setFocus();
    EXPECT_EQ(editX->text(), QStringLiteral("120"));
    EXPECT_EQ(designer.element(2)->Left(), 120);
}

TEST(DesignerGrid, AlignSnapsEdgesHalvesToEvenAndKeepsThree) {
    EditingDesigner designer({QStringLiteral("I,0,\"Rastr\""), QStringLiteral("I,1,5,40,17"),
                              QStringLiteral("I,3,2,1,300,0"), QStringLiteral("I,6,0,8,8,0,1,1,1"),
                              QStringLiteral("T,1,0,13,5,3,10,Arial,10,0,0,0,0,1,\"\",0,0,0"),
                              QStringLiteral("T,1,0,20,12,50,30,Arial,10,0,0,0,0,1,\"\",0,0,0"),
                              QStringLiteral("T,1,0,16,8,64,16,Arial,10,0,0,0,0,1,\"\",0,0,0")});
    QAction* selected = nullptr;
    QAction* all = nullptr;
    for (QAction* a : designer.window->findChildren<QAction*>()) {
        if (a->text() == QStringLiteral("Vyrovnat vybrané")) selected = a;
        if (a->text() == QStringLiteral("Vyrovnat vše do rastru")) all = a;
    }
    ASSERT_TRUE(selected && all);
    EXPECT_FALSE(selected->isEnabled());

    designer.select({designer.element(1)});
    ASSERT_TRUE(selected->isEnabled());
    selected->trigger();
    // 20 / 8 = 2.5 → 16; 70 / 8 = 8.75 → 72; 12 / 8 = 1.5 → 16; 42 / 8 = 5.25 → 40
    EXPECT_EQ(designer.bounds(designer.element(1)), QRect(16, 16, 56, 24));
    EXPECT_EQ(designer.bounds(designer.element(0)), QRect(13, 5, 3, 10));
    EXPECT_EQ(designer.steps(), 1);

    all->trigger();
    EXPECT_EQ(designer.bounds(designer.element(0)), QRect(16, 8, 3, 8)); // width at least 3
    EXPECT_EQ(designer.bounds(designer.element(2)), QRect(16, 8, 64, 16));
    EXPECT_EQ(designer.steps(), 2);
    EXPECT_EQ(designer.stepName(), QStringLiteral("posun prvku"));
}

TEST(DesignerDelete, QuestionsDecideAndNoRecordsNothing) {
    EditingDesigner designer(keyTemplate());
    designer::EditorSettings().MazaniJedne = true;
    QAction* del = designer.action("ActionDel");
    EXPECT_FALSE(del->isEnabled());
    designer.select({designer.element(1)});
    ASSERT_TRUE(del->isEnabled());

    designer.messages.scriptAnswers({MessageAnswer::No});
    del->trigger();
    EXPECT_EQ(designer.paper()->PocetPrvku(), 4);
    EXPECT_EQ(designer.steps(), 0);
    ASSERT_EQ(designer.messages.boxes().size(), 1);
    EXPECT_EQ(designer.messages.boxes()[0].text, QStringLiteral("Smazat vybraný prvek?"));
    EXPECT_EQ(designer.messages.boxes()[0].caption, QStringLiteral("Potvrzení"));

    designer.messages.scriptAnswers({MessageAnswer::Yes});
    del->trigger();
    EXPECT_EQ(designer.paper()->PocetPrvku(), 3);
    EXPECT_EQ(designer.window->primarySelection(), nullptr);
    EXPECT_FALSE(del->isEnabled());
    EXPECT_EQ(designer.stepName(), QStringLiteral("zrušení prvku"));
    EXPECT_TRUE(designer.find<QLineEdit>("EditX")->text().isEmpty());

    // a multiple selection over two sections asks the other question
    designer.select({designer.element(0), designer.element(2), designer.element(1)});
    designer.messages.scriptAnswers({MessageAnswer::No, MessageAnswer::Yes});
    del->trigger();
    EXPECT_EQ(designer.paper()->PocetPrvku(), 3);
    EXPECT_EQ(designer.steps(), 1);
    del->trigger();
    EXPECT_EQ(designer.messages.boxes().last().text,
              QStringLiteral("Smazat všechny vybrané prvky?"));
    EXPECT_EQ(designer.paper()->PocetPrvku(), 0);
    EXPECT_EQ(designer.window->selectionCount(), 0);
    EXPECT_EQ(designer.steps(), 2);
    designer.window->Undo();
    EXPECT_EQ(designer.paper()->PocetPrvku(), 3);
}
