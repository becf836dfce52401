// The editor settings: reading with defaults and repairs, writing next to other sections, and
// the settings dialog's OK (checked by Python's own ini reader).

#include "report/designer/TEditorSettings.h"
#include "TestFiles.h"
#include "report/designer/TSestKonfigDlg.h"
#include "report/engine/run/sestavy.h"

#include "platform/MessageSink.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using designer::TEditorSettings;

namespace {

// "section:key=value" for every key, as Python's configparser reads the file.
QString pythonView(const QString& path) {
    QProcess python;
    python.start(u"/usr/bin/python3"_s, {u"-c"_s,
                                         u"import configparser,sys\n"
                                         "c=configparser.ConfigParser(interpolation=None)\n"
                                         "c.optionxform=str\n"
                                         "c.read(sys.argv[1],encoding='utf-8')\n"
                                         "for s in c.sections():\n"
                                         "  for k,v in c.items(s): print(s+':'+k+'='+v)\n"_s,
                                         path});
    python.waitForFinished(30000);
    return QString::fromUtf8(python.readAllStandardOutput());
}

const QByteArray kPaperSection = "[FormatyPapiru]\r\nFormat1=A4, mine,826,1169\r\nPocet=1\r\n";

} // namespace

TEST(TEditorSettings, AFileWithoutTheSectionsGivesTheDefaults) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"DoriVOZ.ini"_s);
    EXPECT_EQ(designer::ReadEditorSettings(path), TEditorSettings());
    EXPECT_TRUE(writeFile(path, kPaperSection));
    EXPECT_EQ(designer::ReadEditorSettings(path), TEditorSettings());
}

TEST(TEditorSettings, BadAndOddValuesAreRepaired) {
    struct Case {
        const char* lines;
        int TEditorSettings::*field;
        int expected;
    };
    const Case cases[] = {
        {"[Oddily]\r\nImplVyskaFontu=-50\r\n", &TEditorSettings::ImplVyskaFontu, 36},
        {"[Oddily]\r\nImplVyskaFontu=-14\r\n", &TEditorSettings::ImplVyskaFontu, 10},
        {"[Oddily]\r\nImplVyskaFontu=-2147483648\r\n", &TEditorSettings::ImplVyskaFontu,
         1546188226},
        {"[EditorSestav]\r\nImplMeritko=9\r\n", &TEditorSettings::ImplMeritko, 9},
        {"[EditorSestav]\r\nRastrX=0\r\n", &TEditorSettings::RastrX, 8},
        {"[EditorSestav]\r\nRastrY=-3\r\n", &TEditorSettings::RastrY, 8},
        {"[EditorSestav]\r\nRastrY=abc\r\n", &TEditorSettings::RastrY, 8},
        {"[EditorSestav]\r\nPocetUndo=0\r\n", &TEditorSettings::PocetUndo, 1},
        {"[EditorSestav]\r\nPocetUndo=99999999999999\r\n", &TEditorSettings::PocetUndo, 10},
        {"[Oddily]\r\nImplSkriptFontu=494\r\n", &TEditorSettings::ImplSkriptFontu, 238},
        {"[oddily]\r\nimplsirka=333\r\n", &TEditorSettings::ImplSirka, 333},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(u"DoriVOZ.ini"_s);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        EXPECT_TRUE(writeFile(path, c.lines));
        EXPECT_EQ(designer::ReadEditorSettings(path).*c.field, c.expected);
    }
    EXPECT_TRUE(writeFile(path, "[Oddily]\r\nImplNazevFontu=" + QByteArray(40, 'N') + "\r\n"));
    EXPECT_EQ(designer::ReadEditorSettings(path).ImplNazevFontu, QString(32, QLatin1Char('N')));
    // A name cut just after a space: written and read again, it is the name that was read.
    EXPECT_TRUE(
        writeFile(path, "[Oddily]\r\nImplNazevFontu=" + QByteArray(31, 'N') + " Bold\r\n"));
    const TEditorSettings cut = designer::ReadEditorSettings(path);
    EXPECT_EQ(cut.ImplNazevFontu, QString(31, QLatin1Char('N')));
    ASSERT_TRUE(designer::WriteEditorSettings(cut, path));
    EXPECT_EQ(designer::ReadEditorSettings(path), cut);
}

TEST(TEditorSettings, WrittenSettingsReadBackEqualAndLeaveOtherSectionsAlone) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"DoriVOZ.ini"_s);
    EXPECT_TRUE(writeFile(path, kPaperSection + "[EditorSestav]\r\nImplMeritko=9\r\n"));
    TEditorSettings s;
    s.RastrX = 5;
    s.PosunMimo = true;
    s.MazaniVice = false;
    s.PocetUndo = 3;
    s.ImplNazevFontu = u"Times New Roman"_s;
    s.ImplSkriptFontu = 238;
    s.ImplVyskaFontu = 14;
    ASSERT_TRUE(designer::WriteEditorSettings(s, path));
    TEditorSettings back = designer::ReadEditorSettings(path);
    EXPECT_EQ(back.ImplMeritko, 9); // the file's value, untouched
    back.ImplMeritko = s.ImplMeritko;
    EXPECT_EQ(back, s);
    EXPECT_TRUE(readFile(path).startsWith(kPaperSection));
}

namespace {

struct DialogFixture : testing::Test {
    void SetUp() override {
        path = dir.filePath(u"DoriVOZ.ini"_s);
        EXPECT_TRUE(
            writeFile(path, kPaperSection + "[EditorSestav]\r\nImplMeritko=9\r\nRastrX=4\r\n"));
        report = std::make_unique<report::TSestava>(nullptr, dir.path());
        report->setMessageSink(&messages);
        designer::EditorSettings() = TEditorSettings();
        dialog.Setup(report.get());
    }
    template <typename W> W* control(const char* name) {
        W* widget = dialog.findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    QTemporaryDir dir;
    QString path;
    platform::MessageRecorder messages;
    std::unique_ptr<report::TSestava> report;
    designer::TSestKonfigDlg dialog;
};

} // namespace

TEST_F(DialogFixture, SetupShowsTheFileAndResetsTheZoom) {
    EXPECT_EQ(control<QLineEdit>("EditRastrX")->text(), u"4"_s);
    EXPECT_EQ(designer::EditorSettings().ImplMeritko, 6);
    EXPECT_FLOAT_EQ(designer::EditorSettings().zoom, 1.0f);
    EXPECT_TRUE(control<QCheckBox>("CBMazaniVice")->isChecked());
}

TEST_F(DialogFixture, OkWritesExactlyTheSettingsKeys) {
    control<QLineEdit>("EditRastrX")->setText(u"0"_s); // taken as 8
    control<QLineEdit>("EditRastrY")->setText(u"12"_s);
    control<QLineEdit>("EImplW")->setText(u"150"_s);
    control<QCheckBox>("CBPosunMimo")->setChecked(true);
    control<QComboBox>("CBZarovCi")->setCurrentIndex(2);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(messages.messages().isEmpty());
    EXPECT_TRUE(readFile(path).startsWith(kPaperSection));
    const QString expected =
        u"FormatyPapiru:Format1=A4, mine,826,1169\nFormatyPapiru:Pocet=1\n"
        "EditorSestav:ImplMeritko=9\nEditorSestav:RastrX=8\nEditorSestav:RastrY=12\n"
        "EditorSestav:RastrZobrazovat=1\nEditorSestav:RastrZarovnavat=1\n"
        "EditorSestav:MazaniJedne=0\nEditorSestav:MazaniVice=1\nEditorSestav:PosunMimo=1\n"
        "EditorSestav:PocetUndo=10\nEditorSestav:UndoSave=0\nEditorSestav:ShowTree=0\n"
        "EditorSestav:SledPodle=0\nEditorSestav:PopisyPol=0\nEditorSestav:PismaAbec=0\n"
        "Oddily:ImplSirka=150\nOddily:ImplVyska=20\nOddily:ImplZarovnani=0\n"
        "Oddily:ImplZarovnaniCi=2\nOddily:ImplBarvaFontu=0\nOddily:ImplVyskaFontu=10\n"
        "Oddily:ImplNazevFontu=Arial\nOddily:ImplStylFontu=0\nOddily:ImplSkriptFontu=1\n"_s;
    EXPECT_EQ(pythonView(path), expected);
}

TEST_F(DialogFixture, ABadNumberIsNamedAndNothingIsTaken) {
    const QByteArray before = readFile(path);
    const TEditorSettings settings = designer::EditorSettings();
    control<QLineEdit>("EditRastrX")->setText(u"6"_s);
    control<QLineEdit>("EImplH")->setText(u"2x"_s);
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(messages.messages().size(), 1);
    EXPECT_TRUE(messages.messages()[0].contains(u"Výška položky"_s));
    EXPECT_EQ(designer::EditorSettings(), settings);
    EXPECT_EQ(readFile(path), before);
}

TEST_F(DialogFixture, TheSampleFollowsSizeAndAlignment) {
    auto* sample = control<QLabel>("SesLabel");
    auto* panel = control<QWidget>("PanelUkazky");
    control<QLineEdit>("EImplW")->setText(u"100"_s);
    control<QLineEdit>("EImplH")->setText(u"30"_s);
    control<QComboBox>("CBZarov")->setCurrentIndex(1);
    EXPECT_EQ(sample->geometry(),
              QRect((panel->width() - 100) / 2, (panel->height() - 30) / 2, 100, 30));
    EXPECT_TRUE(sample->alignment() & Qt::AlignRight);
    control<QLineEdit>("EImplW")->setText(u"abc"_s); // no error, no change
    EXPECT_EQ(sample->width(), 100);
    EXPECT_TRUE(messages.messages().isEmpty());
}

TEST_F(DialogFixture, TheDefaultFontComesFromTheElementDialogsFontPage) {
    QTimer::singleShot(0, [] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        auto* fonts = modal->findChild<QComboBox*>(u"CBPisma"_s);
        auto* tabs = modal->findChild<QTabWidget*>(u"PageControlPrv"_s);
        EXPECT_EQ(fonts->currentText(), u"Arial"_s); // kept, though not installed
        EXPECT_FALSE(tabs->isTabVisible(0));
        fonts->setCurrentIndex(fonts->findText(u"Roman 10cpi"_s));
        modal->findChild<QCheckBox*>(u"CBItalic"_s)->setChecked(true);
        modal->findChild<QComboBox*>(u"CBBarva"_s)->setCurrentIndex(12);
        modal->findChild<QPushButton*>(u"BtnOK"_s)->click();
    });
    control<QPushButton>("SBPismo")->click();
    dialog.accept();
    const TEditorSettings& s = designer::EditorSettings();
    EXPECT_EQ(s.ImplNazevFontu, u"Roman 10cpi"_s);
    EXPECT_EQ(s.ImplVyskaFontu, 11); // the pitch font's own size
    EXPECT_EQ(s.ImplStylFontu, 2);
    EXPECT_EQ(s.ImplBarvaFontu, 12);
    EXPECT_EQ(designer::ReadEditorSettings(path).ImplNazevFontu, u"Roman 10cpi"_s);
}

TEST_F(DialogFixture, EachOpeningShowsTheSettingsInForceAndStornoTakesNothing) {
    const QByteArray file = readFile(path);
    auto* gridX = control<QLineEdit>("EditRastrX");
    auto* tree = control<QCheckBox>("CBVyberZeSeznamu");
    dialog.show();
    gridX->setText(u"33"_s);
    tree->setChecked(true);
    QTest::mouseClick(control<QPushButton>("BtnCancel"), Qt::LeftButton);
    EXPECT_EQ(designer::EditorSettings().RastrX, 4);
    // another window changed the settings meanwhile: the next opening shows them
    designer::EditorSettings().RastrY = 12;
    dialog.show();
    EXPECT_EQ(gridX->text(), u"4"_s);
    EXPECT_EQ(control<QLineEdit>("EditRastrY")->text(), u"12"_s);
    EXPECT_FALSE(tree->isChecked());
    QTest::mouseClick(control<QPushButton>("BtnOK"), Qt::LeftButton);
    EXPECT_EQ(designer::EditorSettings().RastrX, 4);
    EXPECT_FALSE(designer::EditorSettings().ShowTree);
    EXPECT_EQ(designer::ReadEditorSettings(path).RastrY, 12);
    EXPECT_NE(readFile(path), file);
    EXPECT_TRUE(messages.messages().isEmpty());
}

TEST_F(DialogFixture, ASettingsFileThatCannotBeWrittenIsNamed) {
    // a plain file where the settings file's folder should be
    ASSERT_TRUE(writeFile(dir.filePath(u"plain"_s), "x"));
    report->IniFileName = dir.filePath(u"plain/DoriVOZ.ini"_s);
    dialog.Setup(report.get());
    dialog.show();
    control<QLineEdit>("EditRastrX")->setText(u"5"_s);
    QTest::mouseClick(control<QPushButton>("BtnOK"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(messages.boxes().size(), 1);
    EXPECT_TRUE(messages.boxes()[0].text.contains(u"plain/DoriVOZ.ini\""_s));
    EXPECT_EQ(messages.boxes()[0].caption, u"Chyba"_s);
    EXPECT_EQ(designer::EditorSettings().RastrX, 5); // in force for this run
}
