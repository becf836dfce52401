// The expression builder, the user-function dialog and the element dialog, driven through
// their named controls.

#include "report/designer/TDlgKonfPrvku.h"
#include "report/designer/TEditorSettings.h"
#include "report/designer/TFunkceDlg.h"
#include "report/designer/TSest_FnEditVyraz.h"
#include "report/engine/expressions/sest_fn.h"
#include "report/engine/run/Dataset.h"
#include "report/engine/run/sestavy.h"

#include "platform/MessageSink.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using designer::TSest_FnEditVyraz;

namespace {

template <typename W> W* control(QWidget& parent, const QString& name) {
    W* widget = parent.findChild<W*>(name);
    EXPECT_NE(widget, nullptr) << name.toStdString();
    return widget;
}

QStringList lines(QComboBox* box) {
    QStringList result;
    for (int i = 0; i < box->count(); ++i)
        result << box->itemText(i);
    return result;
}

// Chooses line `index` of a pick list as the user does and presses "Vložit".
void pick(TSest_FnEditVyraz& builder, const char* list, int index) {
    auto* box = control<QComboBox>(builder, QString::fromLatin1(list));
    QFocusEvent focusIn(QEvent::FocusIn); // entering the list, also when not shown
    QApplication::sendEvent(box, &focusIn);
    box->setCurrentIndex(index);
    emit box->activated(index);
    auto* insert = control<QPushButton>(builder, u"BtnVlozit"_s);
    ASSERT_TRUE(insert->isEnabled());
    insert->click();
}

struct BuilderFixture : testing::Test {
    void SetUp() override {
        report.SetItemNames({u"Teplota"_s, u"Tlak"_s});
        report.setParametry({u"a"_s, u"b"_s});
        functions.AddFunction().SetDefinition(u"Suma"_s, {}, u"1"_s, 0, u"0"_s, 0, 2, 15, 2, 2);
        builder.setMessageSink(&messages);
        builder.FillLists(&report, &functions, false, 0);
        edit = control<QLineEdit>(builder, u"EditVyraz"_s);
    }

    report::TSestava report;
    report::TListFunkci functions;
    platform::MessageRecorder messages;
    TSest_FnEditVyraz builder;
    QLineEdit* edit = nullptr;
};

} // namespace

TEST_F(BuilderFixture, ReferenceListsHoldNumberedLines) {
    EXPECT_EQ(lines(control<QComboBox>(builder, "CBFields")),
              (QStringList{"#1  Teplota", "#2  Tlak"}));
    EXPECT_EQ(lines(control<QComboBox>(builder, "CBParameters")),
              (QStringList{"&1  Parametr 1", "&2  Parametr 2"}));
    EXPECT_EQ(lines(control<QComboBox>(builder, "CBFunctions")), (QStringList{"@1  Suma"}));
}

TEST_F(BuilderFixture, VariablesFollowTheGroupsAndTheReportKind) {
    builder.FillLists(&report, &functions, false, 3);
    EXPECT_EQ(
        lines(control<QComboBox>(builder, "CBVariables")),
        (QStringList{"%1  Datum tisku", "%2  Čas tisku", "%3  Číslo řádku", "%4  Číslo stránky",
                     "%6  Číslo ř. ve sk.1", "%7  Číslo skupiny 1", "%8  Číslo ř. ve sk.2",
                     "%9  Číslo skupiny 2", "%10 Číslo ř. ve sk.3", "%11 Číslo skupiny 3"}));
    report::TSestDetail detail;
    builder.FillLists(&detail, nullptr, false, 0);
    EXPECT_EQ(lines(control<QComboBox>(builder, "CBVariables")),
              (QStringList{"%1  Datum tisku", "%2  Čas tisku", "%3  Číslo řádku"}));
}

TEST_F(BuilderFixture, ReferencesAreInsertedByNumberOrByName) {
    edit->setText(u"1+"_s);
    edit->setCursorPosition(2);
    pick(builder, "CBFields", 1);
    EXPECT_EQ(edit->text(), u"1+#2"_s);
    EXPECT_EQ(edit->cursorPosition(), 4);
    control<QCheckBox>(builder, u"CBPodle"_s)->setChecked(true);
    edit->setCursorPosition(0);
    pick(builder, "CBFields", 0);
    EXPECT_EQ(edit->text(), u"#Teplota1+#2"_s);
    EXPECT_EQ(edit->cursorPosition(), 8);
    pick(builder, "CBParameters", 1); // parameters never go by name
    EXPECT_EQ(edit->text(), u"#Teplota&21+#2"_s);
    edit->setSelection(0, 8); // the selection is replaced
    pick(builder, "CBFunctions", 0);
    EXPECT_EQ(edit->text(), u"@Suma&21+#2"_s);
    EXPECT_FALSE(control<QPushButton>(builder, u"BtnVlozit"_s)->isEnabled());
}

TEST_F(BuilderFixture, ReferenceNumbersAreNeverCut) {
    QStringList names;
    for (int i = 1; i <= 1000; ++i)
        names << u"P%1"_s.arg(i);
    report.SetItemNames(names);
    builder.FillLists(&report, &functions, false, 0);
    EXPECT_EQ(control<QComboBox>(builder, "CBFields")->itemText(999), u"#1000P1000"_s);
    pick(builder, "CBFields", 999);
    EXPECT_EQ(edit->text(), u"#1000"_s);
}

TEST_F(BuilderFixture, FunctionTemplatesAndOperatorsPlaceTheCaret) {
    pick(builder, "CBFx1", 3);
    EXPECT_EQ(edit->text(), u"MAX(,)"_s);
    EXPECT_EQ(edit->cursorPosition(), 4);
    struct Case {
        const char* caption;
        const char* text;
        int caret;
    };
    const Case cases[] = {{"()", "()", 1},   {"<>", "<>", 2},    {"AND", " AND ", 5},
                          {"OR", " OR ", 4}, {"IN", " IN[]", 5}, {"^", "^", 1}};
    for (const Case& c : cases) {
        edit->clear();
        QToolButton* button = nullptr;
        for (QToolButton* b : builder.findChildren<QToolButton*>())
            if (b->objectName().startsWith(QLatin1String("SBOperator")) &&
                b->text() == QLatin1String(c.caption))
                button = b;
        ASSERT_NE(button, nullptr) << c.caption;
        button->click();
        EXPECT_EQ(edit->text(), QString::fromLatin1(c.text));
        EXPECT_EQ(edit->cursorPosition(), c.caret) << c.caption;
    }
}

TEST_F(BuilderFixture, CheckReportsTheErrorAndPutsTheCaretBeforeIt) {
    struct Case {
        const char* text;
        bool valid;
        const char* message;
        int caret;
    };
    const Case cases[] = {
        {"1+2*3", true, "Výraz je v pořádku.", -1},
        {"2*(3+4", false, "Chyba : \"chybí pravá závorka\" na pozici 7", 6},
        {"NOSUCH(1)", false, "Chyba : \"neznámé slovo\" na pozici 1", 0},
        {"')(", false, "Chyba : \"neukončený řetězec\" na pozici 1", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        edit->setText(QString::fromUtf8(c.text));
        edit->setCursorPosition(edit->text().size());
        const qsizetype before = messages.boxes().size();
        EXPECT_EQ(builder.check(), c.valid);
        ASSERT_EQ(messages.boxes().size(), before + 1);
        const platform::RecordedBox& box = messages.boxes().last();
        EXPECT_EQ(box.caption, c.valid ? u"Informace"_s : u"Chyba"_s);
        EXPECT_EQ(box.icon,
                  c.valid ? platform::MessageIcon::Information : platform::MessageIcon::Warning);
        EXPECT_EQ(box.text, QString::fromUtf8(c.message));
        if (c.caret >= 0) {
            EXPECT_EQ(edit->cursorPosition(), c.caret);
        }
        EXPECT_FALSE(edit->hasSelectedText());
    }
}

TEST(TFunkceDlg, FieldsRoundTripAndBadNumbersKeepTheOldValues) {
    report::TRadekFunkce function(1);
    function.SetDefinition(u"Prumer"_s, u"průměr"_s, u"#1*2"_s, 0, u"0"_s, 3, 3, 12, 4, 1);
    designer::TFunkceDlg dialog(nullptr, nullptr, nullptr, false, 2);
    EXPECT_EQ(lines(control<QComboBox>(dialog, "CBFnPhn")),
              (QStringList{"Sestavy", "Stránky", "Skupiny 1", "Skupiny 2"}));
    dialog.load(function);
    EXPECT_EQ(control<QComboBox>(dialog, "CBFnPhn")->currentIndex(), 3);
    control<QLineEdit>(dialog, "EditFnSir")->setText(u"x"_s);
    control<QLineEdit>(dialog, "EditFnDes")->setText(u"6"_s);
    control<QLineEdit>(dialog, "EditFnPop")->setText(u"nový"_s);
    dialog.store(function);
    QString name, title, expression, initial;
    int kind, reset, aggregate, precision, digits, format;
    function.GetDefinition(name, title, expression, kind, initial, reset, aggregate, precision,
                           digits, format);
    EXPECT_EQ(title, u"nový"_s);
    EXPECT_EQ(expression, u"#1*2"_s);
    EXPECT_EQ(reset, 3);
    EXPECT_EQ(aggregate, 3);
    EXPECT_EQ(precision, 12);
    EXPECT_EQ(digits, 6);
    EXPECT_EQ(format, 1);
}

TEST(TFunkceDlg, TheNumericPanelShowsOnlyForNumbers) {
    designer::TFunkceDlg dialog(nullptr, nullptr, nullptr, false, 0);
    dialog.show();
    auto* type = control<QComboBox>(dialog, "CBFnTyp");
    auto* panel = control<QWidget>(dialog, "PanelCiselna");
    EXPECT_TRUE(panel->isVisible());
    type->setCurrentIndex(1);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_FALSE(control<QWidget>(dialog, "RGDalZpr")->isVisible());
    type->setCurrentIndex(0);
    EXPECT_TRUE(panel->isVisible());
}

namespace {

struct ElementDialogFixture : testing::Test {
    void SetUp() override { designer::EditorSettings() = designer::TEditorSettings(); }
    template <typename W> W* get(const char* name) {
        return control<W>(dialog, QString::fromLatin1(name));
    }

    designer::TDlgKonfPrvku dialog;
};

} // namespace

TEST_F(ElementDialogFixture, TabsHideAsAsked) {
    const auto shown = [](designer::TDlgKonfPrvku& d) {
        auto* tabs = d.findChild<QTabWidget*>(u"PageControlPrv"_s);
        QStringList captions;
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->isTabVisible(i)) captions << tabs->tabText(i);
        return captions;
    };
    designer::TDlgKonfPrvku fonts, barcode;
    dialog.HideBarcodePage();
    fonts.HideBasicPages();
    barcode.HideFontPages();
    EXPECT_TRUE(shown(dialog).contains(u"Základní vlastnosti"_s));
    EXPECT_FALSE(shown(dialog).contains(u"Čárový kód"_s));
    EXPECT_EQ(shown(fonts), QStringList{u"Písmo prvku"_s});
    EXPECT_EQ(shown(barcode), QStringList{u"Čárový kód"_s});
}

TEST_F(ElementDialogFixture, AFontThatIsNotInstalledSurvivesOk) {
    for (const QString& name : {u"Arial"_s, u"Zzz Absent Face"_s}) {
        platform::TFont font;
        font.name = name;
        font.size = 14;
        font.bold = true;
        font.color = 0x0000FF; // red
        font.charset = 238;
        dialog.LoadFont(font);
        QTimer::singleShot(0, [] {
            QApplication::activeModalWidget()->findChild<QPushButton*>(u"BtnOK"_s)->click();
        });
        ASSERT_EQ(dialog.exec(), QDialog::Accepted);
        EXPECT_EQ(dialog.WorkingFont(), font) << name.toStdString();
    }
    EXPECT_FALSE(QFontDatabase::families().contains(u"Zzz Absent Face"_s));
}

TEST_F(ElementDialogFixture, RomanFontsHaveFixedSizesAndNoScript) {
    get<QComboBox>("CBVyska")->setCurrentText(u"abc"_s);
    EXPECT_EQ(dialog.WorkingFont().size, 12);
    auto* fonts = get<QComboBox>("CBPisma");
    fonts->setCurrentIndex(fonts->findText(u"Roman 12cpi"_s));
    EXPECT_EQ(dialog.WorkingFont().size, 10);
    EXPECT_EQ(get<QComboBox>("CBVyska")->currentText(), u"10"_s);
    EXPECT_FALSE(get<QComboBox>("CbSkript")->isEnabled());
    fonts->setCurrentIndex(fonts->findText(u"Roman 17cpi"_s));
    EXPECT_EQ(dialog.WorkingFont().size, 8);
    fonts->setCurrentIndex(0);
    EXPECT_TRUE(get<QComboBox>("CbSkript")->isEnabled());
}

TEST_F(ElementDialogFixture, TheFontListIsSortedOnRequest) {
    designer::EditorSettings().PismaAbec = true;
    designer::TDlgKonfPrvku sorted;
    QStringList names = lines(sorted.findChild<QComboBox*>(u"CBPisma"_s));
    QStringList expected = names;
    expected.sort(Qt::CaseInsensitive);
    EXPECT_EQ(names, expected);
    EXPECT_TRUE(names.contains(u"Roman 10cpi"_s));
}

TEST_F(ElementDialogFixture, TheItemTypeChoosesTheKindPanel) {
    report::TSestava report;
    report.SetItemNames({"text", "memo", "obrazek", "blob"});
    report.OnGetDataType = [](report::TSestavaD*, int index, int& type) {
        const int types[] = {report::ftString, report::ftMemo, report::ftGraphic, report::ftBlob};
        type = types[index];
    };
    dialog.setReport(&report, nullptr, false, 0);
    auto* index = get<QComboBox>("CbIndex");
    index->addItems(report.itemDescriptions().isEmpty() ? QStringList{"a", "b", "c", "d"}
                                                        : report.itemDescriptions());
    dialog.ShowKindPanel(designer::TDlgKonfPrvku::PanelText);
    const int expected[] = {1, 2, 3, 3};
    for (int i = 3; i >= 0; --i) {
        index->setCurrentIndex(i);
        EXPECT_EQ(dialog.shownPanel(), expected[i]) << i;
    }
    dialog.ShowKindPanel(designer::TDlgKonfPrvku::PanelFunction);
    index->setCurrentIndex(1);
    EXPECT_EQ(dialog.shownPanel(), designer::TDlgKonfPrvku::PanelFunction);
    dialog.show();
    EXPECT_TRUE(get<QWidget>("PaDvFunkce")->isVisible());
    EXPECT_FALSE(get<QWidget>("PaDvText")->isVisible());
    EXPECT_EQ(get<QWidget>("PaDvFunkce")->pos(), get<QWidget>("PaDvMemo")->pos());
    dialog.ShowKindPanel(9);
    EXPECT_EQ(dialog.shownPanel(), 0);
}
