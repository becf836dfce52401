// The designer's element tree: sections in print order, names, images and marks, the
// expanded state, presses and double clicks, and no item left pointing at a freed control.

#include "support/EditingDesigner.h"

#include "report/designer/TSestDlg.h"

#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using designtest::answerModal;
using designtest::EditedTemplate;

namespace {

constexpr int kImageRole = Qt::UserRole + 1;

QString textLine(const char* key, int left, const QString& text = u"t"_s) {
    return u"%1,1,0,%2,5,100,20,Arial,10,0,0,0,0,1,\"%3\",0,0,0"_s.arg(QLatin1String(key))
        .arg(left)
        .arg(text);
}

// Two groups, an element in every section.
QStringList twoGroups() {
    QStringList lines{u"I,4,0,pol0,1,24,1,24,0"_s, u"I,4,1,pol1,1,30,0,30,0"_s};
    for (const char* key : {"Z", "H", "T", "K", "P", "S0", "U0", "S1", "U1"})
        lines << textLine(key, 10, QString::fromLatin1(key));
    lines << u"T,7,7,10,40,100,20,,1,0,0,0,15,0"_s
          << u"T,5,6,300,40,100,20,Arial,10,0,0,0,0,1,\"\",0,0,0"_s << u"T,15,0,0,80,827,40"_s;
    return lines;
}

QTreeWidgetItem* root(EditedTemplate& t) {
    return t.window->elementTree()->topLevelItem(0);
}

designer::TSesPrvek* elementOf(QTreeWidgetItem* item) {
    return qobject_cast<designer::TSesPrvek*>(
        qvariant_cast<QObject*>(item->data(0, Qt::UserRole)));
}

// Every element item refers to a control that the paper holds.
void expectNoDanglingItem(EditedTemplate& t) {
    QList<designer::TSesPrvek*> live;
    for (int i = 0; i < t.window->paper()->PocetPrvku(); ++i)
        live << t.window->paper()->Prvek(i);
    int items = 0;
    for (int s = 0; s < root(t)->childCount(); ++s)
        for (int e = 0; e < root(t)->child(s)->childCount(); ++e, ++items)
            EXPECT_TRUE(live.contains(elementOf(root(t)->child(s)->child(e))));
    EXPECT_EQ(items, live.size());
}

} // namespace

TEST(ElementTree, SectionsInPrintOrderWithTheirElementsAndImages) {
    EditedTemplate t(twoGroups(), true);
    QTreeWidgetItem* top = root(t);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->text(0), u"Zkouška"_s);
    EXPECT_EQ(top->data(0, kImageRole).toInt(), 42);
    EXPECT_TRUE(top->isExpanded());
    const QStringList order{"Začátek sestavy",   "Hlava stránky", "Začátek skupiny 1",
                            "Začátek skupiny 2", "Tělo sestavy",  "Konec skupiny 2",
                            "Konec skupiny 1",   "Konec sestavy", "Pata stránky"};
    const QStringList keys{"Z", "H", "S0", "S1", "T", "U1", "U0", "K", "P"};
    const int images[] = {38, 39, 41, 41, 40, 41, 41, 38, 39};
    ASSERT_EQ(top->childCount(), order.size());
    for (int i = 0; i < order.size(); ++i) {
        QTreeWidgetItem* section = top->child(i);
        EXPECT_EQ(section->text(0), u"Oddil: "_s + order[i]);
        EXPECT_EQ(section->data(0, kImageRole).toInt(), images[i]) << i;
        EXPECT_TRUE(section->font(0).bold());
        // the text elements carry their section's key as text: each sits under its own section
        ASSERT_GE(section->childCount(), 1);
        EXPECT_EQ(elementOf(section->child(0))->element()->Text, keys[i]);
        EXPECT_EQ(section->child(0)->data(0, kImageRole).toInt(), 12);
    }
    QTreeWidgetItem* body = top->child(4);
    ASSERT_EQ(body->childCount(), 4);
    EXPECT_EQ(body->child(1)->data(0, kImageRole).toInt(), 13); // line
    EXPECT_EQ(body->child(2)->data(0, kImageRole).toInt(), 11); // group number of group 1
    EXPECT_EQ(body->child(2)->text(0), u"Číslo skupiny 1"_s);
    EXPECT_EQ(body->child(3)->data(0, kImageRole).toInt(), 1); // detail
    expectNoDanglingItem(t);
}

TEST(ElementTree, MarksHiddenSectionsAndTheExpandedStateOverUndo) {
    EditedTemplate t(twoGroups(), true);
    QTreeWidgetItem* body = root(t)->child(4);
    const auto red = [](QTreeWidgetItem* item) {
        return item->foreground(0).color() == QColor(Qt::red);
    };
    EXPECT_FALSE(red(body->child(0)));
    t.window->SelectElement(elementOf(body->child(0)));
    EXPECT_TRUE(red(body->child(0)));
    t.window->AddToSelection(elementOf(body->child(1)));
    EXPECT_TRUE(red(body->child(1)));
    t.window->ClearSelection();
    EXPECT_FALSE(red(body->child(0)) || red(body->child(1)));

    // the footer of group 2 is hidden (I,4 of group 1 says so)
    QTreeWidgetItem* hidden = root(t)->child(5);
    EXPECT_TRUE(hidden->font(0).italic());
    EXPECT_TRUE(hidden->child(0)->font(0).italic());
    EXPECT_FALSE(body->font(0).italic());
    EXPECT_FALSE(body->child(0)->font(0).italic());

    // expanded sections stay so over undo and redo, with no item left dangling
    root(t)->child(4)->setExpanded(true);
    root(t)->child(6)->setExpanded(true);
    designer::TSesPrvek* first = t.element(0);
    first->MoveBy(8, 0);
    t.window->RecordChange(designer::ckMove);
    t.window->Undo(); // every control is made anew
    expectNoDanglingItem(t);
    for (int i = 0; i < root(t)->childCount(); ++i)
        EXPECT_EQ(root(t)->child(i)->isExpanded(), i == 4 || i == 6) << i;
    t.window->Redo();
    expectNoDanglingItem(t);
    // the z-order rebuilds the tree in the new order
    designer::TSesPrvek* line = elementOf(root(t)->child(4)->child(1));
    t.window->SelectElement(line);
    t.find<QToolButton>("SBPrenesZ")->click();
    EXPECT_EQ(elementOf(root(t)->child(4)->child(0)), line);
}

TEST(ElementTree, PressSelectsAndDoubleClickEditsOrOpensTheSettings) {
    EditedTemplate t(twoGroups(), true);
    t.window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(t.window.get()));
    QTreeWidget* tree = t.window->elementTree();
    QTreeWidgetItem* body = root(t)->child(4);
    body->setExpanded(true);
    const auto click = [tree](QTreeWidgetItem* item, Qt::KeyboardModifiers modifiers) {
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, modifiers,
                          tree->visualItemRect(item).center());
    };
    click(body->child(0), Qt::NoModifier);
    EXPECT_EQ(t.window->primarySelection(), elementOf(body->child(0)));
    EXPECT_EQ(t.window->selectionCount(), 1);
    click(body->child(1), Qt::ControlModifier);
    EXPECT_EQ(t.window->selectionCount(), 2);
    EXPECT_TRUE(elementOf(body->child(1))->multi());
    click(body->child(1), Qt::ControlModifier);
    EXPECT_FALSE(elementOf(body->child(1))->multi());
    EXPECT_EQ(t.window->selectionCount(), 1);
    EXPECT_TRUE(tree->hasFocus());

    // a double click on a section opens the report settings on the groups tab
    int page = -1;
    QString opened;
    const auto openedOn = [&](QTreeWidgetItem* item) {
        return answerModal(
            [&] {
                QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {},
                                   tree->visualItemRect(item).center());
            },
            [&](QDialog& dialog) {
                opened = QString::fromLatin1(dialog.metaObject()->className());
                if (auto* settings = qobject_cast<designer::TSestDlg*>(&dialog))
                    page = settings->findChild<QTabWidget*>()->currentIndex();
            });
    };
    EXPECT_EQ(openedOn(root(t)->child(3)), 1);
    EXPECT_EQ(page, 4);
    // and on an element, its dialog
    EXPECT_EQ(opened, u"designer::TSestDlg"_s);
    EXPECT_EQ(openedOn(body->child(0)), 1);
    EXPECT_EQ(opened, u"designer::TDlgKonfPrvku"_s);
    EXPECT_EQ(t.steps(), 0);
}

TEST(ElementTree, FollowsTheShowTreeSettingAndCutsLongNames) {
    EditedTemplate t({textLine("T", 10)}, false);
    EXPECT_EQ(t.window->elementTree()->topLevelItemCount(), 0);
    EXPECT_TRUE(t.find<QWidget>("PanelTree")->isHidden());
    designer::EditorSettings().ShowTree = true;
    t.window->BuildElementTree();
    EXPECT_FALSE(t.find<QWidget>("PanelTree")->isHidden());
    EXPECT_EQ(root(t)->childCount(), 5);
    for (const int length : {79, 80, 100}) {
        t.element(0)->setToolTip(QString(length, u'ž'));
        t.window->BuildElementTree();
        const QString shown = root(t)->child(2)->child(0)->text(0); // the body
        EXPECT_EQ(shown, length <= 79 ? QString(length, u'ž') : QString(76, u'ž') + u"..."_s);
    }
}
