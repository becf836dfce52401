// The report component: properties, items and parameters, the data-source check, template paths
// and files, and a report bound to a real SQLite table.

#include "FullDisk.h"
#include "SqliteFixture.h"
#include "TestFiles.h"
#include "report/engine/document/TPicture.h"
#include "report/engine/run/SqlDataset.h"
#include "report/engine/run/sestavy.h"
#include "support/ReportFixture.h"

#include "platform/MessageSink.h"
#include "platform/NumberText.h"

#include <QDir>
#include <QFile>

using namespace report;
using platform::MessageAnswer;

namespace {

// A report whose messages are recorded and whose OnError results are collected.
class ReportTest : public reporttest::SqliteFixture {
protected:
    ReportTest() : m_report(nullptr, m_dir.path()) {
        m_report.setMessageSink(&m_messages);
        m_report.OnError = [this](TSestava*, int error) {
            m_errors.append(error);
            return true;
        };
    }

    // The template folder is the temporary folder.
    void useTemplate(const QString& name) {
        m_report.ReportDirIgnore = false;
        m_report.setReportDir(m_dir.path());
        m_report.SetReportName(name);
    }

    QList<platform::RecordedBox> boxes() const { return m_messages.boxes(); }

    platform::MessageRecorder m_messages;
    TSestava m_report;
    QList<int> m_errors;
};

TEST_F(ReportTest, PaperFormatsComeFromTheSettingsFileBesideTheProgram) {
    ASSERT_TRUE(writeFile(m_dir.filePath(QStringLiteral("DoriVOZ.ini")),
                          "[FormatyPapiru]\r\nPocetFormatu=1\r\nFormat1=Vlastní,500,700\r\n"));
    TSestava report(nullptr, m_dir.path());
    ASSERT_EQ(report.Formaty().count(), TListFormatu::builtInCount + 1);
    EXPECT_EQ(report.Formaty().GetFormat(TListFormatu::builtInCount)->name, u"Vlastní");
    EXPECT_EQ(m_report.Formaty().count(), TListFormatu::builtInCount); // read before the file
}

TEST_F(ReportTest, ThePageLineSetsThePageSetup) {
    PageSetupGuard guard;
    m_report.SetPredloha(TPredloha{QStringLiteral("I,2,3,800,1000,10,20,30,40,1,0")});
    EXPECT_EQ(PageSetup().orientation, 1);
    EXPECT_EQ(PageSetup().paperWidth, 800);
    EXPECT_EQ(PageSetup().paperHeight, 1000);
    EXPECT_EQ(PageSetup().rightMargin, 20);
    EXPECT_EQ(PageSetup().bottomMargin, 40);
    // A file without paper sizes keeps the paper.
    m_report.SetPredloha(TPredloha{QStringLiteral("I,1,0,1,1"), QStringLiteral("I,2,0,1,2,3,4")});
    EXPECT_EQ(PageSetup().orientation, 0);
    EXPECT_EQ(PageSetup().paperWidth, 800);
    EXPECT_EQ(PageSetup().leftMargin, 1);
    // A detail's page line is not its own.
    TSestDetail detail;
    detail.SetPredloha(TPredloha{QStringLiteral("I,2,1,5,5,5,5,5,5,2,0")});
    EXPECT_EQ(PageSetup().orientation, 0);
    EXPECT_EQ(detail.Columns(), 2);
}

TEST_F(ReportTest, NamesAndFolders) {
    m_report.SetReportName(QStringLiteral("body.txt"));
    EXPECT_EQ(m_report.GetReportName(), u"body.pts");
    m_report.SetReportName(QStringLiteral("plain"));
    EXPECT_EQ(m_report.GetReportName(), u"plain.pts");
    m_report.SetReportName(QStringLiteral("dir.x/plain"));
    EXPECT_EQ(m_report.GetReportName(), u"dir.x/plain.pts");

    m_report.setReportAlias(QStringLiteral("alias"));
    m_report.setReportDir(QStringLiteral("C:\\sestavy"));
    EXPECT_EQ(m_report.ReportDir(), u"C:/sestavy/");
    EXPECT_EQ(m_report.ReportAlias(), QString());
    m_report.setReportAlias(QStringLiteral("alias"));
    EXPECT_EQ(m_report.ReportDir(), QString());
}

TEST_F(ReportTest, ItemsAndParameters) {
    m_report.SetItemNames({QStringLiteral("Name"), QStringLiteral("t"), QStringLiteral("c"),
                           QStringLiteral("d"), QStringLiteral("e"), QStringLiteral("f")});
    EXPECT_EQ(m_report.GetItemCount(), 6);
    EXPECT_EQ(m_report.GetItemText(0), u"Položka 1");
    EXPECT_EQ(m_report.GetItemText(7), u"Položka ?");
    EXPECT_EQ(m_report.GetItemText(-1), u"Položka ?");
    EXPECT_EQ(m_report.IndexOfItem(QStringLiteral("NAME")), 0);
    EXPECT_EQ(m_report.IndexOfItem(QStringLiteral("x")), -1);
    EXPECT_EQ(m_report.GetItemName(1), u"t");
    EXPECT_EQ(m_report.GetItemName(9), u"9");
    EXPECT_EQ(m_report.GetItemDescription(0), QString());
    EXPECT_EQ(m_report.GetDisplayWidth(0), 10);
    EXPECT_EQ(m_report.GetFloat(0), 0.0);
    EXPECT_FALSE(m_report.IsNull(0));

    m_report.setParametry({QStringLiteral("Tlak"), QStringLiteral("Teplota")});
    EXPECT_EQ(m_report.GetParameterTitle(0), u"1: Tlak");
    EXPECT_EQ(m_report.GetParameterLabel(1), u"2: Teplota");
    EXPECT_EQ(m_report.GetParameterTitle(5), u"5");
}

TEST_F(ReportTest, EventsDeliverTheRecords) {
    // Stepping and fetching by events carry every run of the report tests; here the rest.
    m_report.SetItemNames({QStringLiteral("a"), QStringLiteral("memo")});
    m_report.OnGetData = [](TSestavaD*) {};
    m_report.OnStepData = [](TSestavaD*, int) { return srNoMore; };
    m_report.OnGetDataType = [](TSestavaD*, int i, int& type) { type = i == 1 ? ftMemo : 0; };
    m_report.OnGetAlignment = [](TSestavaD*, int, int& alignment) { alignment = taCenter; };
    EXPECT_TRUE(m_report.CheckDataSource()); // no data source and no question
    EXPECT_TRUE(m_messages.messages().isEmpty());
    EXPECT_EQ(m_report.GetAlignment(0), taCenter);
    const TCalcType value = m_report.GetValue(1); // a memo takes its memo text: none here
    EXPECT_EQ(value.text, QString());
    EXPECT_EQ(value.kind, 0);

    TSestava bare;
    EXPECT_EQ(bare.Step(sdFirst), srNoData);
}

TEST_F(ReportTest, DataSourceCheckMessagesInOrder) {
    EXPECT_FALSE(m_report.CheckDataSource());
    ASSERT_EQ(boxes().size(), 1);
    EXPECT_EQ(boxes()[0].text, u"Není definován zdroj dat.");
    EXPECT_EQ(boxes()[0].caption, u"Chyba");

    TDataSource source;
    m_report.setDataSource(&source);
    EXPECT_FALSE(m_report.CheckDataSource());
    EXPECT_EQ(boxes().last().text, u"Ke zdroji dat není připojena žádná tabulka.");

    // A table that cannot be opened: asked, then told.
    ASSERT_NO_FATAL_FAILURE(createDatabase(reporttest::pointsScript()));
    SqlDataset missing(m_connection, QStringLiteral("nosuch"));
    source.SetDataSet(&missing);
    EXPECT_FALSE(m_report.CheckDataSource()); // answered No: nothing opened, nothing said
    EXPECT_EQ(boxes().last().text, u"Připojená tabulka není aktivní. Zkusit otevřít?");
    EXPECT_EQ(boxes().last().caption, u"Potvrzení");
    EXPECT_EQ(boxes().last().buttons, platform::MessageButtons::YesNo);
    m_messages.scriptAnswers({MessageAnswer::Yes});
    EXPECT_FALSE(m_report.CheckDataSource());
    EXPECT_EQ(boxes().last().text, u"Připojenou tabulku se nepodařilo otevřít.");

    SqlDataset points(m_connection, QStringLiteral("points"));
    source.SetDataSet(&points);
    m_messages.scriptAnswers({MessageAnswer::Yes});
    EXPECT_TRUE(m_report.CheckDataSource());
    EXPECT_TRUE(points.isActive());
    EXPECT_TRUE(m_report.openedByCheck());
    const qsizetype shown = boxes().size();
    EXPECT_TRUE(m_report.CheckDataSource()); // open now: nothing asked
    EXPECT_EQ(boxes().size(), shown);
    m_report.closeIfOpenedByCheck();
    EXPECT_FALSE(points.isActive());

    // Without a template and without a path.
    points.open();
    m_report.ReportDirIgnore = false;
    EXPECT_FALSE(m_report.CheckDataSource());
    EXPECT_EQ(boxes().last().text, u"Není definována cesta a název souboru s předlohou.");

    // A detail's check is part of its master's.
    m_report.SetReportName(QStringLiteral("a.pts"));
    TSestDetail detail;
    detail.setMaster(&m_report);
    EXPECT_FALSE(m_report.CheckDataSource());
    EXPECT_EQ(boxes().last().text, u"Není definován zdroj dat.");
}

TEST_F(ReportTest, TemplatePathByAliasProgramFolderOrReportDir) {
    m_report.SetReportName(QStringLiteral("r.pts"));
    EXPECT_EQ(m_report.GetPredlohaPath(), m_dir.filePath(QStringLiteral("r.pts")));
    m_report.setReportDir(QStringLiteral("/data/sestavy"));
    EXPECT_EQ(m_report.GetPredlohaPath(), m_dir.filePath(QStringLiteral("r.pts")));
    m_report.setDesigning(true); // the designer always uses ReportDir
    EXPECT_EQ(m_report.GetPredlohaPath(), u"/data/sestavy/r.pts");
    m_report.setDesigning(false);
    m_report.ReportDirIgnore = false;
    EXPECT_EQ(m_report.GetPredlohaPath(), u"/data/sestavy/r.pts");

    // An alias without a database dataset, then an unknown one, then the connection's folder.
    m_report.setReportAlias(m_connection);
    m_report.GetPredlohaPath();
    EXPECT_EQ(boxes().last().text,
              u"Nelze použít alias, protože není definován zdroj dat nebo není typu TDBDataSet");
    ASSERT_NO_FATAL_FAILURE(createDatabase(reporttest::pointsScript()));
    SqlDataset points(m_connection, QStringLiteral("points"));
    TDataSource source(&points);
    m_report.setDataSource(&source);
    m_report.setReportAlias(QStringLiteral("unknown"));
    EXPECT_EQ(m_report.GetPredlohaPath(), u"r.pts");
    EXPECT_EQ(boxes().last().text, u"Neznámý alias: unknown\nBude použito stand. nastavení");
    EXPECT_EQ(boxes().last().caption, u"Varování");
    m_report.setReportAlias(m_connection);
    EXPECT_EQ(m_report.GetPredlohaPath(),
              QDir(m_dir.path()).absolutePath() + QStringLiteral("/r.pts"));
}

TEST_F(ReportTest, LoadingTemplateFiles) {
    useTemplate(QStringLiteral("r.pts"));
    const QString path = m_dir.filePath(QStringLiteral("r.pts"));
    EXPECT_EQ(m_report.NactiPredlohu(false), seNotLoaded);
    EXPECT_EQ(boxes().last().text,
              QStringLiteral("Nebyl nalezen soubor s předlohou tiskové sestavy \"%1\"").arg(path));
    EXPECT_EQ(m_errors, QList<int>({seNotLoaded}));

    EXPECT_EQ(m_report.NactiPredlohu(true), seNotLoaded); // answered No
    EXPECT_EQ(boxes().last().text,
              QStringLiteral("Nebyl nalezen soubor s předlohou tiskové sestavy \"%1\". Založit "
                             "nový?")
                  .arg(path));
    EXPECT_FALSE(QFile::exists(path));
    m_messages.scriptAnswers({MessageAnswer::Yes});
    EXPECT_EQ(m_report.NactiPredlohu(true), seOk);
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(readFile(path), QByteArray());

    ASSERT_TRUE(writeFile(path, "I,0,\"Ze souboru\"\r\nT,1\r\n"));
    EXPECT_EQ(m_report.NactiPredlohu(false), seOk);
    EXPECT_EQ(m_report.Popis, u"Ze souboru");
    EXPECT_EQ(m_report.Predloha().size(), 2);

    // The template's folder vanished: the new file cannot be made.
    m_report.setReportDir(m_dir.filePath(QStringLiteral("gone")));
    m_messages.scriptAnswers({MessageAnswer::Yes});
    EXPECT_EQ(m_report.NactiPredlohu(true), seNotLoaded);
    EXPECT_TRUE(boxes().last().text.startsWith(u"Soubor s předlohou se nepodařilo vytvořit. \""));

    // A stored template, and an event that loads it.
    m_report.IsStored = true;
    m_report.setTemplateText(TPredloha{QStringLiteral("I,0,\"Uložená\"")});
    EXPECT_EQ(m_report.NactiPredlohu(false), seOk);
    EXPECT_EQ(m_report.Popis, u"Uložená");
    m_report.OnNactiPredlohu = [](TSestava*) { return false; };
    EXPECT_EQ(m_report.NactiPredlohu(false), seNotLoaded);
    m_report.OnNactiPredlohu = [](TSestava*) { return true; };
    EXPECT_EQ(m_report.NactiPredlohu(false), seOk);
    m_report.setDesigning(true);
    EXPECT_EQ(m_report.NactiPredlohu(false), seNotLoaded);
}

TEST_F(ReportTest, SavingKeepsTheOldFileAsBak) {
    useTemplate(QStringLiteral("r.pts"));
    const QString path = m_dir.filePath(QStringLiteral("r.pts"));
    const QString bak = m_dir.filePath(QStringLiteral("r.BAK"));
    m_report.setTemplateText(TPredloha{QStringLiteral("I,0,\"první\"")});
    EXPECT_EQ(m_report.UlozPredlohu(), seOk);
    EXPECT_EQ(readFile(path), "I,0,\"první\"\r\n");
    EXPECT_FALSE(QFile::exists(bak));

    m_report.setTemplateText(TPredloha{QStringLiteral("I,0,\"druhá\"")});
    EXPECT_EQ(m_report.UlozPredlohu(), seOk);
    EXPECT_EQ(readFile(path), "I,0,\"druhá\"\r\n");
    EXPECT_EQ(readFile(bak), "I,0,\"první\"\r\n");
    EXPECT_TRUE(m_errors.isEmpty());
}

TEST_F(ReportTest, AFailedSaveLeavesTheTemplateUntouched) {
    useTemplate(QStringLiteral("r.pts"));
    const QString path = m_dir.filePath(QStringLiteral("r.pts"));
    ASSERT_TRUE(writeFile(path, "I,0,\"original\"\r\nT,1\r\n"));
    // A non-empty folder where the backup must go: the backup fails, even for root.
    ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("r.BAK/inside")));

    m_report.setTemplateText(TPredloha{QStringLiteral("I,0,\"new\"")});
    EXPECT_EQ(m_report.UlozPredlohu(), seNotSaved);
    EXPECT_EQ(boxes().last().text, u"Soubor s předlohou se nepodařilo uložit.");
    EXPECT_EQ(boxes().last().caption, u"Chyba");
    EXPECT_EQ(m_errors, QList<int>({seNotSaved}));
    EXPECT_EQ(readFile(path), "I,0,\"original\"\r\nT,1\r\n");
    EXPECT_EQ(QDir(m_dir.path()).entryList({QStringLiteral("r.pts*")}, QDir::Files),
              QStringList({"r.pts"})); // no temporary file left behind

    // The folder is gone altogether.
    m_report.setReportDir(m_dir.filePath(QStringLiteral("gone")));
    EXPECT_EQ(m_report.UlozPredlohu(), seNotSaved);

    // An event decides; a stored template needs no file.
    m_report.OnUlozPredlohu = [](TSestava*) { return false; };
    EXPECT_EQ(m_report.UlozPredlohu(), seNotSaved);
    m_report.OnUlozPredlohu = nullptr;
    m_report.IsStored = true;
    EXPECT_EQ(m_report.UlozPredlohu(), seOk);
    EXPECT_EQ(m_errors, QList<int>({seNotSaved, seNotSaved, seNotSaved}));
}

TEST_F(ReportTest, OnAFullDiskSaveAndSaveAsSaySoAndLeaveTemplateAndBackup) {
    if (!FullDisk::insidePrivateMounts()) return FullDisk::runTestInPrivateMounts();
    FullDisk disk;
    ASSERT_TRUE(disk.mounted());
    m_report.ReportDirIgnore = false;
    m_report.setReportDir(disk.path());
    m_report.SetReportName(QStringLiteral("r.pts"));
    ASSERT_TRUE(writeFile(disk.filePath("r.pts"), "I,0,\"current\"\r\nT,1\r\n"));
    ASSERT_TRUE(writeFile(disk.filePath("r.BAK"), "I,0,\"older\"\r\n"));
    ASSERT_TRUE(writeFile(disk.filePath("other.pts"), "I,0,\"other\"\r\n"));
    ASSERT_TRUE(disk.fill());
    const auto before = disk.contents();

    reporttest::RecordingChooser chooser;
    m_report.setFileChooser(&chooser);
    chooser.answer = disk.filePath("other.pts");
    m_report.setTemplateText(TPredloha{QStringLiteral("I,0,\"edited\"")});
    EXPECT_EQ(m_report.UlozPredlohu(), seNotSaved);
    EXPECT_EQ(m_report.UlozPredlohuJako(), seNotSaved);
    EXPECT_EQ(m_errors, QList<int>({seNotSaved, seNotSaved}));
    ASSERT_EQ(boxes().size(), 2);
    for (const platform::RecordedBox& box : boxes()) {
        EXPECT_EQ(box.text, u"Soubor s předlohou se nepodařilo uložit.");
        EXPECT_EQ(box.caption, u"Chyba");
    }
    EXPECT_EQ(disk.changedSince(before), "");
}

TEST_F(ReportTest, SaveAsInsideAndOutsideReportDir) {
    reporttest::RecordingChooser chooser;
    m_report.setFileChooser(&chooser);
    useTemplate(QStringLiteral("r.pts"));
    m_report.setTemplateText(TPredloha{QStringLiteral("T,1")});
    EXPECT_EQ(m_report.UlozPredlohuJako(), seNotSaved); // cancelled
    ASSERT_EQ(chooser.requests.size(), 1);
    EXPECT_EQ(chooser.requests[0].title, u"Výběr souboru");
    EXPECT_EQ(chooser.requests[0].filter, u"Předlohy tiskových sestav (*.pts)|*.PTS");
    EXPECT_EQ(chooser.requests[0].fileName, u"r.pts");
    EXPECT_EQ(QDir(chooser.requests[0].folder), QDir(m_dir.path()));

    ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("sub")));
    chooser.answer = m_dir.filePath(QStringLiteral("sub/nova.pts"));
    EXPECT_EQ(m_report.UlozPredlohuJako(), seOk);
    EXPECT_EQ(m_report.GetReportName(), u"sub/nova.pts");
    EXPECT_EQ(readFile(chooser.answer), "T,1\r\n");

    QTemporaryDir elsewhere;
    chooser.answer = elsewhere.filePath(QStringLiteral("jinde.pts"));
    EXPECT_EQ(m_report.UlozPredlohuJako(), seOk);
    EXPECT_EQ(m_report.ReportDir(), QString());
    EXPECT_FALSE(m_report.ReportDirIgnore);
    EXPECT_EQ(m_report.GetPredlohaPath(), chooser.answer);
    EXPECT_EQ(readFile(chooser.answer), "T,1\r\n");

    // No ReportDir yet: the chosen folder becomes it, and the file is where the user chose.
    TSestava fresh(nullptr, m_dir.path());
    fresh.setFileChooser(&chooser);
    fresh.setTemplateText(TPredloha{QStringLiteral("T,2")});
    chooser.answer = elsewhere.filePath(QStringLiteral("prvni.pts"));
    EXPECT_EQ(fresh.UlozPredlohuJako(), seOk);
    EXPECT_EQ(fresh.GetPredlohaPath(), chooser.answer);
    EXPECT_EQ(readFile(chooser.answer), "T,2\r\n");

    // A folder in the way of the chosen name: not saved.
    ASSERT_TRUE(QDir(elsewhere.path()).mkpath(QStringLiteral("slozka.pts/x")));
    chooser.answer = elsewhere.filePath(QStringLiteral("slozka.pts"));
    const QString before = m_report.GetPredlohaPath();
    EXPECT_EQ(m_report.UlozPredlohuJako(), seNotSaved);
    EXPECT_EQ(m_report.GetPredlohaPath(), before); // still on the file it had
    EXPECT_EQ(boxes().last().text, u"Soubor s předlohou se nepodařilo uložit.");

    m_report.OnUlozPredlohuJako = [](TSestava*, QString& soubor) {
        soubor = QStringLiteral("jina.txt");
        return true;
    };
    EXPECT_EQ(m_report.UlozPredlohuJako(), seOk);
    EXPECT_EQ(m_report.GetReportName(), u"jina.pts");
}

TEST_F(ReportTest, BackgroundPictureAndHooks) {
    useTemplate(QStringLiteral("r.pts"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(KOLV_TEST_DATA_DIR "/logo.bmp"),
                            m_dir.filePath(QStringLiteral("pozadi.bmp"))));
    m_report.Background = QStringLiteral("pozadi.bmp");
    m_report.LoadBackgroundPicture();
    ASSERT_NE(m_report.backgroundPicture(), nullptr);
    EXPECT_EQ(m_report.backgroundPicture()->Width(), 7);
    // The template's own background wins; a name that cannot be loaded gives no picture.
    m_report.SetPredloha(TPredloha{QStringLiteral("I,7,1,0,0,0,0,0,0,chybi.bmp")});
    m_report.LoadBackgroundPicture();
    ASSERT_NE(m_report.backgroundPicture(), nullptr);
    EXPECT_TRUE(m_report.backgroundPicture()->isEmpty());
    m_report.SetPredloha({});
    m_report.Background.clear();
    m_report.LoadBackgroundPicture();
    EXPECT_EQ(m_report.backgroundPicture(), nullptr);

    // Pictures by event.
    m_report.OnNactiObraz = [](TSestava*, const QString& name, TPicture& picture) {
        return name == u"x" &&
               picture.LoadFromFile(QStringLiteral(KOLV_TEST_DATA_DIR "/logo.bmp"));
    };
    m_report.Background = QStringLiteral("x");
    m_report.LoadBackgroundPicture();
    EXPECT_EQ(m_report.backgroundPicture()->Height(), 5);
    m_report.OnNactiSeznamObrazu = [](TSestava*, QStringList& items) { items << "x"; };
    QStringList list;
    m_report.NactiSeznamObrazu(list);
    EXPECT_EQ(list, QStringList({"x"}));

    // Vetoes of sections and elements act in ReportRun.NewPageGroupsAndVetoes.
    int computed = 0;
    m_report.OnVypoctiFunkce = [&](TSestava*) { ++computed; };
    m_report.VypoctiFunkce();
    EXPECT_EQ(computed, 1);
    TPicture* prepared = nullptr;
    m_report.OnPreparePicture = [&](TSestava*, TPicture* picture, int, int) {
        prepared = picture;
    };
    TPicture picture;
    m_report.PreparePicture(&picture, 10, 10);
    EXPECT_EQ(prepared, &picture);
    EXPECT_FALSE(m_report.pageBreakPending());
    m_report.NewPage();
    EXPECT_TRUE(m_report.pageBreakPending());

    TSestDetail detail;
    int detailSections = 0;
    detail.OnTiskOddilu = [&](TSestDetail* sender, int, bool&) {
        EXPECT_EQ(sender, &detail);
        ++detailSections;
    };
    bool print = true;
    detail.TiskOddilu(0, print);
    EXPECT_EQ(detailSections, 1);
    // A detail asks its master for pictures and saves through it.
    detail.setMaster(&m_report);
    EXPECT_TRUE(detail.NactiObraz(QStringLiteral("x"), picture));
    m_report.OnUlozPredlohu = [](TSestava*) { return true; };
    EXPECT_EQ(detail.UlozPredlohu(), seOk);
    TSestDetail orphan;
    EXPECT_EQ(orphan.UlozPredlohu(), seNothingDone);
}

// A report bound to the points table built by the sqlite3 tool, its items named by field.
TEST_F(ReportTest, BoundToASqliteTable) {
    platform::LocaleSettings settings;
    settings.decimalSeparator = u',';
    settings.shortDateFormat = QStringLiteral("d.m.yyyy");
    platform::ScopedLocaleSettings czech(settings);
    ASSERT_NO_FATAL_FAILURE(createDatabase(reporttest::pointsScript()));
    SqlDataset points(m_connection, QStringLiteral("points"), QStringLiteral("grp, name"));
    TDataSource source(&points);
    m_report.setDataSource(&source);
    useTemplate(QStringLiteral("points.pts"));
    ASSERT_TRUE(writeFile(m_dir.filePath(QStringLiteral("points.pts")),
                          "I,4,0,grp,1,20,1,20,0\r\nT,2,t\r\nT,2,logo\r\n"));

    m_messages.scriptAnswers({MessageAnswer::Yes});
    ASSERT_TRUE(m_report.CheckDataSource());
    m_report.LoadItemNames();
    ASSERT_EQ(m_report.NactiPredlohu(false), seOk);
    EXPECT_EQ(m_report.GetItemName(2), u"t");
    EXPECT_EQ(m_report.GetItemDescription(6), u"note");
    EXPECT_EQ(m_report.Skupiny().Skupina(0)->KeyIndex, 1);
    EXPECT_EQ(m_report.Oddily().Oddil(odT)->Prvek(0)->Index, 2);
    EXPECT_TRUE(m_report.Oddily().Oddil(odT)->Prvek(1)->IsPicture());

    EXPECT_EQ(m_report.Step(sdFirst), srFirst);
    EXPECT_EQ(m_report.GetItemText(0), u"a1");
    EXPECT_EQ(m_report.GetItemText(2), u"20");
    EXPECT_EQ(m_report.GetFloat(5), 0.0); // a false Boolean
    EXPECT_EQ(m_report.GetDataType(8), ftDate);
    EXPECT_EQ(m_report.GetAlignment(2), taRightJustify);
    ASSERT_NE(m_report.GetPicture(7), nullptr);
    EXPECT_TRUE(m_report.GetPicture(7)->isEmpty());

    EXPECT_EQ(m_report.Step(sdNext), srMoved); // b1: NULLs
    EXPECT_TRUE(m_report.IsNull(2));
    EXPECT_EQ(m_report.GetItemText(2), QString());
    EXPECT_EQ(m_report.Step(sdNext), srMoved); // b2: everything set
    const TCalcType memo = m_report.GetValue(6);
    EXPECT_EQ(memo.text, u"Příliš žluťoučký kůň");
    EXPECT_EQ(m_report.GetItemText(8), u"15.3.2024");
    EXPECT_EQ(m_report.GetFloat(8), 45366.0);
    EXPECT_EQ(m_report.GetFloat(1), 0.0); // "B" is no number
    EXPECT_EQ(m_report.GetFloat(5), 1.0);
    EXPECT_EQ(m_report.GetValue(3).number, 0.1);
    EXPECT_EQ(m_report.GetItemText(3), u"0,1");
    const TPicture* logo = m_report.GetPicture(7);
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->Width(), 7);
    EXPECT_EQ(logo->Height(), 5);
    TVoranReportElement* item = m_report.Oddily().Oddil(odT)->Prvek(1);
    item->GetText(); // an item picture comes with the text
    ASSERT_NE(item->GetPicture(), nullptr);
    EXPECT_EQ(item->GetPicture()->Height(), 5);
    EXPECT_EQ(m_report.Step(sdNext), srNoMore);

    // Out of range: the base values.
    EXPECT_EQ(m_report.GetItemText(40), u"Položka ?");
    EXPECT_EQ(m_report.GetDisplayWidth(40), 10);
    EXPECT_EQ(m_report.GetPicture(40), nullptr);

    m_report.closeIfOpenedByCheck();
    EXPECT_FALSE(points.isActive());
}

} // namespace
