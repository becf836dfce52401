// Editing in the designer window: palette tools and the elements they insert, the keys of the
// paper and of the window, the position fields, aligning to the grid, deleting, and the menu's
// items enabled with the commands they stand for.

#include "support/EditingDesigner.h"

#include "report/engine/ui/DesignerCursors.h"

#include <QClipboard>
#include <QFile>
#include <QTabWidget>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using designtest::EditingDesigner;
using platform::MessageAnswer;

namespace {

// Printable width 2000 - 50 - 50 = 1900; two groups; two functions (a number, a text); grid
// 8 x 8 snapped.
QStringList insertionTemplate() {
    return {u"I,0,\"Vkládání\""_s,
            u"I,1,5,40,17"_s,
            u"I,2,0,2000,1169,50,50,70,70,1,0"_s,
            u"I,3,2,1,300,0"_s,
            u"I,4,0,pol0,1,100,1,100,0"_s,
            u"I,4,1,pol2,1,100,1,100,0"_s,
            u"I,6,0,8,8,0,1,1,1"_s,
            u"F,0,suma,\"Součet\",0,\"0\",0,\"[pol0]\",1,15,2,2"_s,
            u"F,1,nazev,\"Název\",1,\"\",0,\"[pol2]\",0,15,2,2"_s};
}

// Elements in the body and the report header; a 17 characters per inch grid (5.882353 x
// 16.666666) that does not snap.
QStringList keyTemplate() {
    return {u"I,0,\"Klávesy\""_s,
            u"I,1,5,40,17"_s,
            u"I,2,0,827,1169,50,50,70,70,1,0"_s,
            u"I,3,2,1,300,0"_s,
            u"I,6,1,6,17,0,2,1,0"_s,
            u"Z,1,0,5,5,40,20,Arial,10,0,0,0,0,1,\"hlavička\",0,0,0"_s,
            u"T,1,0,100,50,200,20,Arial,10,0,0,0,0,1,\"první\",0,0,0"_s,
            u"T,1,0,20,120,60,20,Arial,10,0,0,0,0,1,\"druhý\",0,0,0"_s,
            u"T,8,8,300,10,50,40,,1,0,0,15,15,0"_s};
}

void insertionSettings() {
    designer::TEditorSettings& s = designer::EditorSettings();
    s.ImplSirka = 200;
    s.ImplVyska = 20;
    s.ImplNazevFontu = u"Ab,c Sans"_s;
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
    const QString font = u"\"Ab,c Sans\",10,4,1,"_s;
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
    EditingDesigner d(insertionTemplate());
    insertionSettings();
    ASSERT_EQ(d.paper()->paperWidth(), 1900);
    const QStringList before = d.window->storedText();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.tool);
        designer::EditorSettings().SledPodle = row.byName;
        d.action(row.tool)->trigger();
        if (row.combo) d.find<QComboBox>(row.combo)->setCurrentIndex(row.entry);
        d.click(row.section, QPoint(21, 13));

        const QString key = QString::fromLatin1(row.line).section(u',', 0, 0);
        const QStringList added = d.lines(key);
        ASSERT_EQ(added.size(), 1);
        EXPECT_EQ(added[0], QString::fromUtf8(row.line).replace(u"@"_s, font));
        EXPECT_EQ(d.stepName(), u"vložení prvku"_s);
        EXPECT_EQ(d.steps(), 1);
        // the new element is the only selection; the tool went back to the arrow
        ASSERT_NE(d.window->primarySelection(), nullptr);
        EXPECT_EQ(d.window->selectionCount(), 1);
        EXPECT_EQ(d.window->activeTool(), 0);
        d.window->Undo();
        ASSERT_EQ(d.window->storedText(), before);
    }
}

TEST(DesignerInsertion, CtrlKeepsTheToolAndMovesTheItemOn) {
    EditingDesigner d(insertionTemplate());
    d.action("ActionDb")->trigger();
    auto* items = d.find<QComboBox>("CBVyberPrvku");
    ASSERT_EQ(items->currentIndex(), 0);
    for (int i = 0; i < 4; ++i)
        d.click(2, QPoint(10, 10 + 30 * i), Qt::ControlModifier);
    EXPECT_EQ(d.window->activeTool(), 2000);
    EXPECT_EQ(items->currentIndex(), 1); // three items: the fourth click wrapped to the first
    QStringList indexes;
    for (const QString& line : d.lines(u"T"_s))
        indexes << line.section(u',', 2, 2);
    EXPECT_EQ(indexes, QStringList({"0", "1", "2", "0"}));
    EXPECT_EQ(d.steps(), 4);
    d.click(2, QPoint(10, 200));
    EXPECT_EQ(d.window->activeTool(), 0);
    ASSERT_NE(d.window->primarySelection(), nullptr);
    // with the arrow a click only lets the selection go
    d.click(2, QPoint(10, 250));
    EXPECT_EQ(d.window->primarySelection(), nullptr);
    EXPECT_EQ(d.lines(u"T"_s).size(), 5);
    EXPECT_EQ(d.steps(), 5);
}

TEST(DesignerInsertion, SettingsBelowThreeStillGiveAReachableElement) {
    EditingDesigner d(insertionTemplate());
    designer::EditorSettings().ImplSirka = 0;
    designer::EditorSettings().ImplVyska = -5;
    designer::EditorSettings().ImplVyskaFontu = 0;
    for (const char* tool : {"ActionGrText", "ActionDate", "ActionDb", "ActionGrRect"}) {
        SCOPED_TRACE(tool);
        d.action(tool)->trigger();
        d.click(2, QPoint(40, 40));
        const designer::TSesPrvek* added = d.window->primarySelection();
        ASSERT_NE(added, nullptr);
        EXPECT_GE(added->Width(), 3);
        EXPECT_GE(added->Height(), 3);
        d.window->Undo();
    }
}

TEST(DesignerTools, CursorComboAndCommandsFollowTheTool) {
    EditingDesigner d(insertionTemplate());
    auto* items = d.find<QComboBox>("CBVyberPrvku");
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
        d.action(row.tool)->trigger();
        EXPECT_TRUE(d.action(row.tool)->isChecked());
        EXPECT_FALSE(d.action("ActionNoSelect")->isChecked());
        const QCursor cursor = d.paper()->cursor();
        EXPECT_EQ(cursor.pixmap().toImage(),
                  report::DesignerCursor(row.cursor).pixmap().toImage());
        EXPECT_EQ(!items->isHidden(), row.entries >= 0);
        EXPECT_EQ(row.entries >= 0 ? items->count() : -1, row.entries);
    }
    d.action("ActionLb")->trigger();
    EXPECT_EQ(items->currentIndex(), 0);
    EXPECT_TRUE(items->itemText(2).endsWith(u"pol2"_s));
    // the function tool chooses the first of two functions: it can be edited, not deleted
    d.action("ActionFn")->trigger();
    EXPECT_TRUE(d.action("ActionFnEdit")->isEnabled());
    EXPECT_FALSE(d.action("ActionFnDelete")->isEnabled());

    // a tool ends the paste mode; the arrow and a palette page change give the arrow back
    d.action("ActionPaste")->setEnabled(true);
    d.action("ActionPaste")->trigger();
    ASSERT_TRUE(d.window->pasteMode());
    d.action("ActionGrRect")->trigger();
    EXPECT_FALSE(d.window->pasteMode());
    EXPECT_FALSE(d.action("ActionPaste")->isChecked());
    d.find<QTabWidget>("PageControlPrv")->setCurrentIndex(1);
    EXPECT_EQ(d.window->activeTool(), 0);
    EXPECT_TRUE(d.action("ActionNoSelect")->isChecked());
    EXPECT_EQ(d.paper()->cursor().pixmap().toImage(), arrow);
}

TEST(DesignerKeys, EveryKeyActsOnPaperAndTreeOnlyAndRecordsOneStep) {
    enum Before { Nothing, Copy, Step, UndoneStep };
    struct Row {
        Qt::Key key;
        Qt::KeyboardModifiers state;
        Before before;
        QRect bounds;     // of the chosen element afterwards; empty: it is gone
        int steps;        // history steps the key added; -1: one undone
        const char* step; // the name of the step recorded
        bool copied;
    };
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;
    const Qt::KeyboardModifiers alt = Qt::AltModifier;
    const char *const move = "posun prvku", *const cut = "vystřižení do úschovy";
    const QRect still{100, 50, 200, 20}, moved{100, 57, 200, 20};
    const Row rows[] = {
        {Qt::Key_Left, ctrl, Nothing, {99, 50, 200, 20}, 1, move, false},
        {Qt::Key_Down, ctrl, Nothing, {100, 51, 200, 20}, 1, move, false},
        // the 17 characters per inch grid: 100 + 5.882353, rounded by the element
        {Qt::Key_Right, ctrl | shift, Nothing, {106, 50, 200, 20}, 1, move, false},
        {Qt::Key_Up, ctrl | shift, Nothing, {100, 33, 200, 20}, 1, move, false},
        {Qt::Key_Right, shift, Nothing, {100, 50, 201, 20}, 1, move, false},
        {Qt::Key_Up, shift, Nothing, {100, 50, 200, 19}, 1, move, false},
        {Qt::Key_C, ctrl, Nothing, still, 0, nullptr, true},
        {Qt::Key_Insert, ctrl, Nothing, still, 0, nullptr, true},
        {Qt::Key_X, ctrl | shift, Nothing, {}, 1, cut, true},
        {Qt::Key_Delete, shift, Nothing, {}, 1, cut, true},
        {Qt::Key_Delete, Qt::NoModifier, Nothing, {}, 1, "zrušení prvku", false},
        {Qt::Key_V, ctrl, Copy, still, 0, nullptr, false},
        {Qt::Key_Insert, shift, Copy, still, 0, nullptr, false},
        {Qt::Key_Z, ctrl, Step, still, -1, nullptr, false},
        {Qt::Key_Backspace, alt, Step, still, -1, nullptr, false},
        {Qt::Key_Z, ctrl | shift, UndoneStep, moved, 1, move, false},
        {Qt::Key_Backspace, alt | shift, UndoneStep, moved, 1, move, false},
    };
    const QString copyText = u"VoranEditor\r\n100\r\n50\r\n0\r\nX,1,0,100,50,"_s;
    for (const Row& row : rows) {
        // the arrows are the paper's alone; the element tree takes the other keys too
        const bool arrow = row.key >= Qt::Key_Left && row.key <= Qt::Key_Down;
        for (const bool tree : {false, true}) {
            if (tree && arrow) continue;
            SCOPED_TRACE(u"key %1 state %2 %3"_s.arg(int(row.key), 0, 16)
                             .arg(row.state.toInt(), 0, 16)
                             .arg(tree ? "tree" : "paper")
                             .toStdString());
            EditingDesigner d(keyTemplate(), false);
            // the tree is found by its name
            auto* treeView = new QTreeWidget(d.window.get());
            treeView->setObjectName(u"TreeViewElements"_s);
            d.select({d.element(1)});
            if (row.before == Copy) d.action("ActionCopy")->trigger(); // something to paste
            if (row.before >= Step) d.window->MoveSelection(0, 7);
            if (row.before == UndoneStep) {
                d.window->Undo();
                d.select({d.element(1)});
            }
            QGuiApplication::clipboard()->setText(u"nic"_s);
            const QStringList text = d.window->storedText();
            const int steps = d.steps();

            // in the text fields the keys are the fields' own
            for (const char* field : {"EditX", "EditH"}) {
                QTest::keyClick(d.find<QLineEdit>(field), row.key, row.state);
                EXPECT_EQ(d.window->storedText(), text) << field;
                EXPECT_EQ(d.steps(), steps) << field;
                EXPECT_EQ(QGuiApplication::clipboard()->text(), u"nic"_s);
                EXPECT_FALSE(d.window->pasteMode());
            }
            QTest::keyClick(tree ? static_cast<QWidget*>(treeView) : d.paper(), row.key,
                            row.state);
            if (row.bounds.isEmpty()) {
                EXPECT_EQ(d.paper()->PocetPrvku(), 3);
            } else {
                EXPECT_EQ(d.bounds(d.element(1)), row.bounds);
            }
            EXPECT_EQ(d.steps() - steps, row.steps);
            if (row.step) {
                EXPECT_EQ(d.stepName(), QString::fromUtf8(row.step));
            }
            EXPECT_EQ(d.window->pasteMode(), row.before == Copy);
            EXPECT_EQ(QGuiApplication::clipboard()->text().startsWith(copyText), row.copied);
        }
    }
}

TEST(DesignerKeys, F1OpensTheDesignerHelpAnywhereAndEscCloses) {
    designtest::HelpRecorder help;
    platform::setHelpViewer(&help);
    {
        EditingDesigner d(keyTemplate());
        QTest::keyClick(d.paper(), Qt::Key_F1);
        QTest::keyClick(d.find<QLineEdit>("EditY"), Qt::Key_F1);
        QTest::keyClick(d.find<QComboBox>("CBMeritka1"), Qt::Key_F1);
        EXPECT_EQ(help.shown, QStringList(3, u"sestavy.hlp 0"_s));
        QFile contents(platform::helpTopicPath(u"sestavy.hlp"_s, 0));
        ASSERT_TRUE(contents.open(QIODevice::ReadOnly));
        EXPECT_TRUE(QString::fromUtf8(contents.readAll()).contains(u"Ctrl+Shift"_s));

        QTest::keyClick(d.paper(), Qt::Key_Escape);
        EXPECT_FALSE(d.window->isVisible());
    }
    platform::setHelpViewer(nullptr);
}

TEST(DesignerPositionFields, EnterAndArrowsSetOneOrEveryMultiSelectedElement) {
    EditingDesigner d(keyTemplate());
    auto* editX = d.find<QLineEdit>("EditX");
    auto* editW = d.find<QLineEdit>("EditW");
    auto* editH = d.find<QLineEdit>("EditH");
    const auto enter = [](QLineEdit* field, const QString& text) {
        field->setText(text);
        QTest::keyClick(field, Qt::Key_Return);
    };

    d.select({d.element(1), d.element(2), d.element(3)});
    enter(editX, u"120"_s);
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(d.element(i)->Left(), 120) << i;
    EXPECT_EQ(d.element(0)->Left(), 5);
    EXPECT_EQ(d.steps(), 1);

    d.select({d.element(2)});
    enter(editX, u"abc"_s); // no number: the value stays, nothing recorded
    EXPECT_EQ(d.element(2)->Left(), 120);
    EXPECT_EQ(editX->text(), u"120"_s);
    enter(editX, u"120"_s);
    EXPECT_EQ(d.steps(), 1);

    // sizes of 0 or less become 3
    enter(editW, u"0"_s);
    enter(editH, u"-5"_s);
    EXPECT_EQ(d.bounds(d.element(2)), QRect(120, 120, 3, 3));
    EXPECT_EQ(editW->text(), u"3"_s);
    EXPECT_EQ(d.steps(), 3);
    EXPECT_EQ(d.stepName(), u"posun prvku"_s);

    // leaving a field shows the element's value again
    ASSERT_TRUE(QTest::qWaitForWindowActive(d.window.get()));
    editX->setFocus();
    QTest::keyClicks(editX, u"9"_s);
    d.find<QLineEdit>("EditY")->setFocus();
    EXPECT_EQ(editX->text(), u"120"_s);
    EXPECT_EQ(d.element(2)->Left(), 120);

    // the arrows move every element of a multiple selection, and nothing without a selection
    const int steps = d.steps();
    d.select({d.element(1), d.element(3), d.element(0)});
    QTest::keyClick(d.paper(), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(QList<int>({d.element(0)->Top(), d.element(1)->Top(), d.element(2)->Top(),
                          d.element(3)->Top()}),
              QList<int>({6, 51, 120, 11}));
    EXPECT_EQ(d.steps(), steps + 1);
    d.window->ClearSelection();
    QTest::keyClick(d.paper(), Qt::Key_Down, Qt::ControlModifier);
    QTest::keyClick(d.paper(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(d.steps(), steps + 1);
}

TEST(DesignerGrid, AlignSnapsEdgesHalvesToEvenAndKeepsThree) {
    EditingDesigner d({u"I,0,\"Rastr\""_s, u"I,1,5,40,17"_s, u"I,3,2,1,300,0"_s,
                       u"I,6,0,8,8,0,1,1,1"_s, u"T,1,0,13,5,3,10,Arial,10,0,0,0,0,1,\"\",0,0,0"_s,
                       u"T,1,0,20,12,50,30,Arial,10,0,0,0,0,1,\"\",0,0,0"_s,
                       u"T,1,0,16,8,64,16,Arial,10,0,0,0,0,1,\"\",0,0,0"_s});
    QAction* selected = nullptr;
    QAction* all = nullptr;
    for (QAction* a : d.window->findChildren<QAction*>()) {
        if (a->text() == u"Vyrovnat vybrané"_s) selected = a;
        if (a->text() == u"Vyrovnat vše do rastru"_s) all = a;
    }
    ASSERT_TRUE(selected && all);
    EXPECT_FALSE(selected->isEnabled());

    d.select({d.element(1)});
    ASSERT_TRUE(selected->isEnabled());
    selected->trigger();
    // 20 / 8 = 2.5 → 16; 70 / 8 = 8.75 → 72; 12 / 8 = 1.5 → 16; 42 / 8 = 5.25 → 40
    EXPECT_EQ(d.bounds(d.element(1)), QRect(16, 16, 56, 24));
    EXPECT_EQ(d.bounds(d.element(0)), QRect(13, 5, 3, 10));
    EXPECT_EQ(d.steps(), 1);

    all->trigger();
    EXPECT_EQ(d.bounds(d.element(0)), QRect(16, 8, 3, 8)); // width at least 3
    EXPECT_EQ(d.bounds(d.element(2)), QRect(16, 8, 64, 16));
    EXPECT_EQ(d.steps(), 2);
    EXPECT_EQ(d.stepName(), u"posun prvku"_s);
}

TEST(DesignerDelete, QuestionsDecideAndNoRecordsNothing) {
    EditingDesigner d(keyTemplate());
    designer::EditorSettings().MazaniJedne = true;
    QAction* del = d.action("ActionDel");
    EXPECT_FALSE(del->isEnabled());
    d.select({d.element(1)});
    ASSERT_TRUE(del->isEnabled());

    d.messages.scriptAnswers({MessageAnswer::No});
    del->trigger();
    EXPECT_EQ(d.paper()->PocetPrvku(), 4);
    EXPECT_EQ(d.steps(), 0);
    ASSERT_EQ(d.messages.boxes().size(), 1);
    EXPECT_EQ(d.messages.boxes()[0].text, u"Smazat vybraný prvek?"_s);
    EXPECT_EQ(d.messages.boxes()[0].caption, u"Potvrzení"_s);

    d.messages.scriptAnswers({MessageAnswer::Yes});
    del->trigger();
    EXPECT_EQ(d.paper()->PocetPrvku(), 3);
    EXPECT_EQ(d.window->primarySelection(), nullptr);
    EXPECT_FALSE(del->isEnabled());
    EXPECT_EQ(d.stepName(), u"zrušení prvku"_s);
    EXPECT_TRUE(d.find<QLineEdit>("EditX")->text().isEmpty());

    // a multiple selection over two sections asks the other question
    d.select({d.element(0), d.element(2), d.element(1)});
    d.messages.scriptAnswers({MessageAnswer::No, MessageAnswer::Yes});
    del->trigger();
    EXPECT_EQ(d.paper()->PocetPrvku(), 3);
    EXPECT_EQ(d.steps(), 1);
    del->trigger();
    EXPECT_EQ(d.messages.boxes().last().text, u"Smazat všechny vybrané prvky?"_s);
    EXPECT_EQ(d.paper()->PocetPrvku(), 0);
    EXPECT_EQ(d.window->selectionCount(), 0);
    EXPECT_EQ(d.steps(), 2);
    d.window->Undo();
    EXPECT_EQ(d.paper()->PocetPrvku(), 3);
}

TEST(DesignerMenu, ItsItemsAreEnabledWithTheCommandsTheyStandFor) {
    EditingDesigner d({u"T,1,0,10,10,200,20,Arial,10,0,0,0,0,1,\"text\",0,0,0"_s});
    // a menu item has no name; the command it stands for is the window's action
    const auto item = [&d](const QString& text) -> QAction* {
        for (QAction* a : d.window->findChildren<QAction*>())
            if (a->objectName().isEmpty() && a->text() == text) return a;
        return nullptr;
    };
    const std::pair<QAction*, QAction*> pairs[] = {
        {item(u"Zrušit změny"_s), d.action("ActionUndo")},
        {item(u"Znovu změny"_s), d.action("ActionRedo")},
        {item(u"Výmaz prvku"_s), d.action("ActionDel")},
        {item(u"Vyrovnat vybrané"_s), d.action("ActionDel")}};
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"opened", [] {}},
        {"selected", [&d] { d.select({d.element(0)}); }},
        {"moved", [&d] { d.window->MoveSelection(8, 0); }},
        {"undone", [&d] { d.window->Undo(); }},
        {"redone", [&d] { d.window->Redo(); }},
    };
    bool changed[4] = {};
    for (const auto& [name, step] : steps) {
        step();
        for (int i = 0; i < 4; ++i) {
            ASSERT_TRUE(pairs[i].first) << i;
            EXPECT_EQ(pairs[i].first->isEnabled(), pairs[i].second->isEnabled()) << name << i;
            changed[i] = changed[i] || pairs[i].first->isEnabled();
        }
    }
    // each item was on at some step, so the table cannot pass with every item off
    for (bool on : changed)
        EXPECT_TRUE(on);
}
