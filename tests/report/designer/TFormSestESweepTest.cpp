// One sweep over everything the designer window lets a user do to the template: each action
// that changes the stored text adds exactly one history step, named by its change kind; undo
// gives the text before it back byte for byte and redo the text after it. The actions are
// found in the window itself (its actions, menu items and named controls): one that the tables
// below do not know fails the sweep, so a new command cannot come without its case, and every
// change kind must be met. The keys and mouse gestures on the paper and the tree that change
// the template are swept as well: each shortcut, a handle's drag and a multiple selection's.

#include "support/DesignFixture.h"
#include "support/EditingDesigner.h"

#include "report/designer/model/SectionCodes.h"
#include "report/designer/model/TListVariant.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QClipboard>
#include <QMenu>
#include <QScrollArea>
#include <QSpinBox>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <set>

using namespace Qt::StringLiterals;

using designtest::answerModal;
using designtest::EditingDesigner;

namespace {

// The body's elements, in their list order; one group, one function, a detail report.
enum Element { Text, Item, Line, Frame, Barcode, Picture, DrawingArea, RtfItem, Detail };

QStringList sweptTemplate() {
    return {u"I,0,\"Průřez\""_s,
            u"I,1,5,40,17"_s,
            u"I,2,0,827,1169,50,50,70,70,1,0"_s,
            u"I,3,2,1,300,0"_s,
            u"I,4,0,pol0,1,60,1,60,0"_s,
            u"I,6,0,8,8,0,1,1,0"_s,
            u"F,0,suma,\"Součet\",0,\"0\",0,\"[pol0]\",1,15,2,2"_s,
            u"T,1,0,10,10,200,20,Arial,10,0,0,0,0,1,\"text\",0,0,0"_s,
            u"T,2,1,300,10,200,20,Arial,10,0,0,0,0,1,\"\",0,0,0"_s,
            u"T,7,7,10,60,100,20,,1,0,2,64,15,0"_s,
            u"T,8,8,200,60,100,40,,1,0,0,0,15,0"_s,
            u"T,12,0,10,120,200,50,,3,0,99,0,15,0,\"12345\",0,0,0"_s,
            u"T,11,11,300,120,100,50,,1,0,0,16,15,0,\"logo.bmp\""_s,
            u"T,13,2,450,120,100,50,,1,0,0,16,15,3"_s,
            u"T,2,0,300,200,200,20,Arial,10,0,0,8,5,1,\"\",0,0,0"_s,
            u"T,15,0,0,250,727,40"_s,
            u"D0,T,1,0,5,5,100,20,Arial,10,0,0,0,0,1,\"v detailu\",0,0,0"_s};
}

// Places of the body where no element lies (pixels at zoom 1.0, snapping off).
const QPoint kFree(700, 20);
const QPoint kFreeToo(700, 200);

QByteArray bytesOf(const QStringList& text) {
    return report::TPredloha(text).ToBytes();
}

// Byte for byte as the file holds it; the first differing line when not.
testing::AssertionResult sameBytes(const QStringList& expected, const QStringList& actual) {
    if (bytesOf(expected) == bytesOf(actual)) return testing::AssertionSuccess();
    return testing::AssertionFailure() << designtest::firstDifference(expected, actual);
}

// The designer window on the swept template, shown, its template file in its folder; the text
// is the designer's own writing of it, so that every history state reads back unchanged.
struct Sweep : EditingDesigner {
    Sweep()
        : EditingDesigner({{"pol0", "pol1", "pol2"}, {"první", "druhá", "třetí"}, {"par"}, 1},
                          sweptTemplate(), true) {
        report.SetReportName(u"prurez.pts"_s);
        report.ReportDirIgnore = false;
        report.setReportDir(folder.path());
        const QStringList text = window->storedText();
        window.reset();
        window = open(text);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        // the steps of the sweep stay in the history, also over the save of a detail
        window->document().setHistoryCapacity(1000);
        designer::EditorSettings().UndoSave = true;
        designer::EditorSettings().ShowTree = true;
        window->BuildElementTree();
    }
    // Element `e` alone selected.
    void pick(Element e) const { select({element(e)}); }
    // The window's own control of that name (its dialogs have names of their own).
    template <typename T> T* own(const char* name) const {
        for (T* widget : window->findChildren<T*>(QString::fromLatin1(name)))
            if (widget->window() == window.get()) return widget;
        ADD_FAILURE() << name;
        return nullptr;
    }
    // A menu item of the window's popup menu by its text.
    QAction* menuItem(const QString& text) const {
        for (QMenu* menu : window->findChildren<QMenu*>())
            for (QAction* a : menu->actions())
                if (a->text() == text) return a;
        ADD_FAILURE() << text.toStdString();
        return nullptr;
    }
    void pressField(const char* name, const QString& text) const {
        auto* field = own<QLineEdit>(name);
        field->setFocus();
        field->setText(text);
        QTest::keyClick(field, Qt::Key_Return);
    }
    void typeInto(const char* name, const QString& text) const {
        auto* field = own<QLineEdit>(name);
        field->setFocus();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }
    template <typename Box> void choose(const char* name, int entry) const {
        auto* box = own<Box>(name);
        box->setCurrentIndex(entry);
        emit box->activated(entry);
    }
    void clickButton(const char* name) const { own<QAbstractButton>(name)->click(); }
    // Scrolls the paper so that `point` of `widget` is in view, for a drag through the window.
    void reveal(QWidget* widget, QPoint point) const {
        const QPoint at = widget->mapTo(paper(), point);
        window->findChild<QScrollArea*>(u"ScrollBox"_s)->ensureVisible(at.x(), at.y(), 100, 100);
    }
    // A tree item of element `e` under the body's node, or that node itself, double clicked.
    void doubleClickInTree(std::optional<Element> e) const {
        auto* tree = window->elementTree();
        QTreeWidgetItem* body = nullptr;
        QTreeWidgetItem* root = tree->topLevelItem(0);
        for (int i = 0; i < root->childCount(); ++i)
            if (root->child(i)->text(0).endsWith(u"Tělo sestavy"_s)) body = root->child(i);
        ASSERT_NE(body, nullptr);
        body->setExpanded(true);
        QTreeWidgetItem* item = e ? body->child(*e) : body;
        tree->scrollToItem(item);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {},
                           tree->visualItemRect(item).center());
    }
};

// A change of the template and the step it records.
struct Change {
    QString control; // the name the window knows it by: action, menu item, control or gesture
    designer::ChangeKind kind;
    std::function<void(Sweep&)> act;
};

// Accepting the dialog the action opens after `fill` has set its controls.
std::function<void(Sweep&)> inDialog(std::function<void(Sweep&)> open,
                                     std::function<void(QDialog&)> fill) {
    return [open, fill](Sweep& s) {
        EXPECT_EQ(answerModal([&] { open(s); },
                              [&](QDialog& dialog) {
                                  fill(dialog);
                                  dialog.accept();
                              }),
                  1);
    };
}

void setField(QDialog& dialog, const char* name, const QString& text) {
    auto* field = dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
    ASSERT_NE(field, nullptr) << name;
    field->setText(text);
}

std::vector<Change> changes() {
    using namespace designer;
    std::vector<Change> list;
    // each palette tool, then a click into the body
    for (const char* tool :
         {"ActionDb",    "ActionLb",     "ActionPar",    "ActionFn",      "ActionDate",
          "ActionTime",  "ActionRadek",  "ActionStr",    "ActionStrCelk", "ActionRadSk",
          "ActionSkCis", "ActionGrText", "ActionGrCara", "ActionGrRect",  "ActionRoRect",
          "ActionElip",  "ActionObr",    "ActionBarc",   "ActionPaintB",  "ActionDetail"})
        list.push_back({QString::fromLatin1(tool), ckInsertElement, [tool](Sweep& s) {
                            s.action(tool)->trigger();
                            s.click(report::odT, kFree);
                        }});
    const auto picked = [](Element e, std::function<void(Sweep&)> then) {
        return [e, then](Sweep& s) {
            s.pick(e);
            then(s);
        };
    };
    const auto trigger = [](const char* name) {
        return [name](Sweep& s) { s.action(name)->trigger(); };
    };
    const auto renameText = [](QDialog& dialog) { setField(dialog, "EditText", u"nový"_s); };
    list.push_back({u"ActionDel"_s, ckDeleteElement, picked(Text, trigger("ActionDel"))});
    list.push_back({u"Výmaz prvku"_s, ckDeleteElement,
                    picked(Text, [](Sweep& s) { s.menuItem(u"Výmaz prvku"_s)->trigger(); })});
    list.push_back({u"ActionCut"_s, ckCut, picked(Text, trigger("ActionCut"))});
    list.push_back({u"ActionPaste"_s, ckPaste, picked(Line, [](Sweep& s) {
                        s.action("ActionCopy")->trigger();
                        s.action("ActionPaste")->trigger();
                        s.click(report::odT, kFreeToo);
                    })});
    list.push_back({u"ActionKonfPrv"_s, ckElementSettings,
                    picked(Text, inDialog(trigger("ActionKonfPrv"), renameText))});
    list.push_back({u"ActionKonfSest"_s, ckSectionsAndGroups,
                    inDialog(trigger("ActionKonfSest"), [](QDialog& dialog) {
                        setField(dialog, "ENazev", u"Jiný průřez"_s);
                        dialog.findChild<QSpinBox*>(u"SEOkrajLevy"_s)->setValue(200);
                    })});
    list.push_back({u"ActionFnInsert"_s, ckAddFunction,
                    inDialog(trigger("ActionFnInsert"),
                             [](QDialog& dialog) { setField(dialog, "EditFnNaz", u"nova"_s); })});
    list.push_back({u"ActionFnEdit"_s, ckEditFunction,
                    inDialog(
                        [](Sweep& s) {
                            s.own<QComboBox>("CbVyberFunkce")->setCurrentIndex(0);
                            s.action("ActionFnEdit")->trigger();
                        },
                        [](QDialog& dialog) { setField(dialog, "EditFnNaz", u"jina"_s); })});
    list.push_back({u"ActionFnDelete"_s, ckDeleteFunction, [](Sweep& s) {
                        s.messages.scriptAnswers({platform::MessageAnswer::Yes});
                        s.action("ActionFnDelete")->trigger();
                    }});
    list.push_back({u"Vyrovnat vše do rastru"_s, ckMove,
                    [](Sweep& s) { s.menuItem(u"Vyrovnat vše do rastru"_s)->trigger(); }});
    list.push_back({u"Vyrovnat vybrané"_s, ckMove,
                    picked(Text, [](Sweep& s) { s.menuItem(u"Vyrovnat vybrané"_s)->trigger(); })});
    for (const char* field : {"EditX", "EditY", "EditW", "EditH"})
        list.push_back({QString::fromLatin1(field), ckMove,
                        picked(Text, [field](Sweep& s) { s.pressField(field, u"123"_s); })});

    // the property strip, each control on an element of a kind it applies to
    list.push_back(
        {u"SBPismo"_s, ckFont,
         picked(Text, inDialog([](Sweep& s) { s.clickButton("SBPismo"); },
                               [](QDialog& dialog) {
                                   dialog.findChild<QCheckBox*>(u"CBBold"_s)->setChecked(true);
                               }))});
    list.push_back({u"CBZarovnani"_s, ckAlignment,
                    picked(Text, [](Sweep& s) { s.choose<QComboBox>("CBZarovnani", 2); })});
    list.push_back(
        {u"EditText"_s, ckText, picked(Text, [](Sweep& s) { s.typeInto("EditText", u"x"_s); })});
    list.push_back({u"EditBarText"_s, ckText,
                    picked(Barcode, [](Sweep& s) { s.typeInto("EditBarText", u"9"_s); })});
    const auto button = [&list, picked](const char* name, Element e) {
        list.push_back({QString::fromLatin1(name), ckElementSettings,
                        picked(e, [name](Sweep& s) { s.clickButton(name); })});
    };
    const auto combo = [&list, picked](const char* name, Element e, int entry) {
        list.push_back({QString::fromLatin1(name), ckElementSettings,
                        picked(e, [name, entry](Sweep& s) { s.choose<QComboBox>(name, entry); })});
    };
    for (const char* name : {"SBCarT1", "SBCarT2", "SBCarT3", "SBCarT4"})
        button(name, Text);
    for (const char* name : {"CbZarBlok", "CbPromVys", "SBCarR1", "SBCarR2", "SBCarR3", "SBCarR4"})
        button(name, RtfItem);
    for (const char* name : {"CBObrStretch", "CBObrPomer", "CBObrVariable"})
        button(name, Picture);
    for (const char* name : {"SBCar1", "SBCar2", "SBCar3", "SBCar4", "SBCar5", "SBCar6", "SbCar7"})
        button(name, Line);
    for (const char* name : {"CBCheckSum", "CBBarText"})
        button(name, Barcode);
    combo("CBBarvaCary", Line, 3);
    combo("CBStylCary", Line, 1);
    combo("CBRamBarvaVypl", Frame, 5);
    combo("CBRamStyl", Frame, 2);
    combo("CBRamBarvaOkr", Frame, 9);
    combo("CBTypBarCode", Barcode, 1);
    combo("CBSirkaBarCary", Barcode, 2);
    list.push_back({u"SBSirkaCary"_s, ckElementSettings,
                    picked(Line, [](Sweep& s) { s.own<QSpinBox>("SBSirkaCary")->setValue(3); })});
    list.push_back({u"SERamSirOkr"_s, ckElementSettings,
                    picked(Frame, [](Sweep& s) { s.own<QSpinBox>("SERamSirOkr")->setValue(4); })});
    list.push_back({u"CBObrazFile"_s, ckElementSettings, picked(Picture, [](Sweep& s) {
                        auto* file = s.own<QComboBox>("CBObrazFile");
                        file->lineEdit()->setFocus();
                        file->lineEdit()->setText(u"jiny.bmp"_s);
                        QTest::keyClick(file->lineEdit(), Qt::Key_Return);
                    })});
    list.push_back({u"EPaintBoxIndex"_s, ckElementSettings, picked(DrawingArea, [](Sweep& s) {
                        s.pressField("EPaintBoxIndex", u"5"_s);
                    })});
    list.push_back({u"EPaintBoxZoom"_s, ckElementSettings,
                    picked(DrawingArea, [](Sweep& s) { s.pressField("EPaintBoxZoom", u"4"_s); })});
    list.push_back(
        {u"TreeViewElements"_s, ckElementSettings,
         picked(Text, inDialog([](Sweep& s) { s.doubleClickInTree(Text); }, renameText))});

    list.push_back({u"TreeViewElements section double click"_s, ckSectionsAndGroups,
                    inDialog([](Sweep& s) { s.doubleClickInTree(std::nullopt); },
                             [](QDialog& dialog) { setField(dialog, "EditHT", u"330"_s); })});

    // the design controls: keys on the paper, the mouse on elements and sections
    const auto keys = [&list, picked](const QString& gesture, ChangeKind kind,
                                      QList<std::pair<Qt::Key, Qt::KeyboardModifiers>> presses,
                                      bool inTree = false) {
        list.push_back({gesture, kind, picked(Text, [presses, inTree](Sweep& s) {
                            QWidget* target = inTree
                                                  ? static_cast<QWidget*>(s.window->elementTree())
                                                  : s.paper();
                            target->setFocus();
                            for (const auto& [key, modifiers] : presses)
                                QTest::keyClick(target, key, modifiers);
                            // a paste waits for the click that places it
                            if (s.window->pasteMode()) s.click(report::odT, kFreeToo);
                        })});
    };
    const Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    keys(u"Papir"_s, ckMove, {{Qt::Key_Right, Qt::ControlModifier}});
    keys(u"Papir Ctrl+Shift+Down: a grid step"_s, ckMove, {{Qt::Key_Down, ctrlShift}});
    keys(u"Papir Shift+Right: wider"_s, ckMove, {{Qt::Key_Right, Qt::ShiftModifier}});
    keys(u"Papir Delete"_s, ckDeleteElement, {{Qt::Key_Delete, Qt::NoModifier}});
    keys(u"Papir Shift+Delete: cut"_s, ckCut, {{Qt::Key_Delete, Qt::ShiftModifier}});
    keys(u"Papir Ctrl+X"_s, ckCut, {{Qt::Key_X, Qt::ControlModifier}});
    keys(u"Papir Ctrl+C, Ctrl+V"_s, ckPaste,
         {{Qt::Key_C, Qt::ControlModifier}, {Qt::Key_V, Qt::ControlModifier}});
    keys(u"Papir Ctrl+Insert, Shift+Insert"_s, ckPaste,
         {{Qt::Key_Insert, Qt::ControlModifier}, {Qt::Key_Insert, Qt::ShiftModifier}});
    keys(u"TreeViewElements Delete"_s, ckDeleteElement, {{Qt::Key_Delete, Qt::NoModifier}}, true);
    list.push_back({u"element handle drag"_s, ckMove, picked(Frame, [](Sweep& s) {
                        designer::TSesPrvek* frame = s.element(Frame);
                        const QPoint corner = designer::TSesPrvek::handlePosition(
                                                  8, frame->width(), frame->height()) +
                                              QPoint(2, 2);
                        s.reveal(frame, corner);
                        designtest::drag(frame, corner, corner + QPoint(30, 20), {}, 3);
                    })});
    // the primary and the elements selected with it move together, as one step
    list.push_back({u"multiple selection drag"_s, ckMove, [](Sweep& s) {
                        s.select({s.element(Frame), s.element(Line), s.element(Text)});
                        const int lineLeft = s.element(Line)->Left();
                        s.reveal(s.element(Frame), {50, 20});
                        designtest::drag(s.element(Frame), {50, 20}, {70, 30}, {}, 3);
                        EXPECT_NE(s.element(Line)->Left(), lineLeft);
                    }});
    list.push_back({u"element drag"_s, ckMove, [](Sweep& s) {
                        s.reveal(s.element(Frame), {50, 20});
                        designtest::drag(s.element(Frame), {50, 20}, {80, 44}, {}, 3);
                    }});
    list.push_back({u"element double click"_s, ckElementSettings,
                    inDialog(
                        [](Sweep& s) {
                            QTest::mouseDClick(s.element(Text), Qt::LeftButton, {}, {60, 10});
                        },
                        renameText)});
    list.push_back({u"section height drag"_s, ckSectionHeight, [](Sweep& s) {
                        designer::TOddil* body = s.section(report::odT);
                        const int strip = body->height() - 8;
                        s.reveal(body, {600, strip});
                        designtest::drag(body, {600, strip}, {600, strip + 40}, {}, 2);
                    }});
    list.push_back({u"section double click"_s, ckSectionsAndGroups,
                    inDialog(
                        [](Sweep& s) {
                            QTest::mouseDClick(s.section(report::odT), Qt::LeftButton, {}, kFree);
                        },
                        [](QDialog& dialog) { setField(dialog, "EditHT", u"320"_s); })});
    // the detail's own designer, which saves its change through this one
    list.push_back({u"detail element"_s, ckDetail, [](Sweep& s) {
                        designer::installDesigner();
                        answerModal([&] { s.window->EditElement(s.element(Detail)); },
                                    [](QDialog& dialog) {
                                        auto* nested = qobject_cast<TFormSestE*>(&dialog);
                                        ASSERT_NE(nested, nullptr);
                                        // opening read the detail's settings file
                                        designer::EditorSettings().UndoSave = true;
                                        nested->paper()->Prvek(0)->MoveBy(40, 0);
                                        nested->RecordChange(ckMove);
                                        EXPECT_TRUE(nested->SavePredloha());
                                    });
                        report::TSestavaTyp::setDesignerFactory({});
                    }});
    return list;
}

// What the window offers that leaves the template text as it is (tools, choices, views,
// stepping, history, files), or that is swept on its own below.
const std::set<QString> kUnchanging{
    // the arrow, the item choices, the zoom, data stepping
    u"ActionNoSelect"_s, u"CBVyberPrvku"_s, u"CbVyberSkup"_s, u"CbVyberFunkce"_s,
    u"CbVyberDetail"_s, u"CBMeritka1"_s, u"BtnF1"_s, u"BtnP1"_s, u"BtnN1"_s, u"BtnL1"_s,
    // a copy, the history, the submenu
    u"ActionCopy"_s, u"ActionUndo"_s, u"ActionRedo"_s, u"Zrušit změny"_s, u"Znovu změny"_s,
    u"Úpravy"_s,
    // files, preview, print, the editor's settings, closing
    u"ActionSave"_s, u"Uložit předlohu jako..."_s, u"ActionPreview"_s, u"ActionPrint"_s,
    u"ActionKonfig"_s, u"ActionClose"_s,
    // swept on their own: the z-order (no step of its own), a new template (a new history)
    u"SBPrenesP"_s, u"SBPrenesZ"_s, u"ActionNew"_s,
    // the arrows of the palette's tab bar
    u"ScrollLeftButton"_s, u"ScrollRightButton"_s};

// The window's actions (by name, or by text for menu items) and its named controls; a button
// that only shows an action is the action's.
std::set<QString> offeredBy(const QWidget& window) {
    std::set<QString> offered;
    for (QAction* action : window.findChildren<QAction*>()) {
        const QString name =
            action->objectName().isEmpty() ? action->text() : action->objectName();
        if (!name.isEmpty() && !action->isSeparator()) offered.insert(name);
    }
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (w->window() != &window || w->objectName().isEmpty() ||
            w->objectName().startsWith(u"qt_"_s))
            continue;
        if (auto* tool = qobject_cast<QToolButton*>(w); tool && tool->defaultAction()) continue;
        const bool input = qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
                           qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
                           qobject_cast<QAbstractItemView*>(w) || w->objectName() == u"Papir"_s;
        if (input) offered.insert(w->objectName());
    }
    return offered;
}

} // namespace

TEST(DesignerSweep, EveryChangeIsOneStepThatUndoGivesBackByteForByte) {
    Sweep s;
    const designer::TListVariant& history = s.window->history();
    const std::vector<Change> list = changes();

    // every action and control of the window has its case
    std::set<QString> known = kUnchanging;
    for (const Change& change : list)
        known.insert(change.control);
    for (const QString& name : offeredBy(*s.window))
        EXPECT_TRUE(known.count(name)) << "no sweep case for " << name.toStdString();

    // the paper's width in units and pixels, its height and where its last section lies
    const auto shown = [&s] {
        return std::tuple{s.paper()->paperWidth(), s.paper()->width(), s.paper()->height(),
                          s.section(report::odP)->y()};
    };
    std::set<int> kinds;
    for (const Change& change : list) {
        SCOPED_TRACE(change.control.toStdString());
        const int index = history.CurrentIndex();
        const QStringList before = s.window->storedText();
        const auto shownBefore = shown();
        ASSERT_TRUE(sameBytes(history.Current(), before));
        change.act(s);
        const QStringList after = s.window->storedText();
        const auto shownAfter = shown();
        EXPECT_FALSE(sameBytes(before, after));
        EXPECT_EQ(history.CurrentIndex(), index + 1);
        EXPECT_EQ(history.Count(), index + 2);
        EXPECT_EQ(history.Name(index + 1), designer::TListVariant::StepName(change.kind));
        EXPECT_TRUE(sameBytes(after, history.Current()));
        kinds.insert(change.kind);

        s.window->Undo();
        // a detail's designer saves through this window, and a save writes the current
        // state: the change is in it already, and the step after it holds the same text
        const QStringList undone = change.kind == designer::ckDetail ? after : before;
        EXPECT_TRUE(sameBytes(undone, s.window->storedText()));
        EXPECT_EQ(shown(), undone == after ? shownAfter : shownBefore);
        s.window->Redo();
        EXPECT_TRUE(sameBytes(after, s.window->storedText()));
        EXPECT_EQ(shown(), shownAfter);
        s.window->Undo();
        if (change.kind == designer::ckDetail) break; // the last: the file is written
    }
    for (int kind = designer::ckInsertElement; kind <= designer::ckDetail; ++kind)
        EXPECT_TRUE(kinds.count(kind)) << "no change of kind " << kind;
}

TEST(DesignerSweep, WhatChangesNothingAddsNoStep) {
    Sweep s;
    const designer::TListVariant& history = s.window->history();
    const QStringList text = s.window->storedText();
    const auto unchanged = [&](const char* what) {
        SCOPED_TRACE(what);
        EXPECT_TRUE(sameBytes(text, s.window->storedText()));
        EXPECT_EQ(history.CurrentIndex(), 0);
        EXPECT_EQ(history.Count(), 1);
    };
    s.pick(Text);
    s.action("ActionCopy")->trigger();
    unchanged("copy");
    for (const char* name : {"ActionDb", "ActionNoSelect"})
        s.action(name)->trigger();
    s.choose<QComboBox>("CBVyberPrvku", 1);
    unchanged("tools and items");
    s.choose<QComboBox>("CBMeritka1", 8);
    s.choose<QComboBox>("CBMeritka1", 6);
    for (const char* step : {"BtnL1", "BtnF1"})
        s.clickButton(step);
    unchanged("zoom and stepping");
    answerModal([&] { s.action("ActionKonfig")->trigger(); }, [](QDialog&) {});
    unchanged("editor settings");
    ASSERT_TRUE(s.window->SavePredloha());
    unchanged("save");

    // the z-order writes the current state anew, without a step of its own
    s.pick(Text);
    s.clickButton("SBPrenesP");
    EXPECT_NE(s.window->storedText(), text);
    EXPECT_EQ(history.Count(), 1);
    EXPECT_TRUE(sameBytes(s.window->storedText(), history.Current()));
    EXPECT_TRUE(s.window->modified());
    s.pick(Text);
    s.clickButton("SBPrenesZ");
    unchanged("to the front and back again");

    // Storno in the new template's wizard leaves the template as it was
    s.messages.scriptAnswers({platform::MessageAnswer::Yes});
    answerModal([&] { s.action("ActionNew")->trigger(); }, [](QDialog&) {});
    unchanged("the new template's Storno");
}
