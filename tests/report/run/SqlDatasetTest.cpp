// The SQLite dataset and the bridge over it, against databases built by the sqlite3 tool.

#include "report/engine/run/SqlDataset.h"
#include "SqliteFixture.h"
#include "platform/NumberText.h"
#include "report/engine/run/DB_Bridge.h"

#include <QDir>
#include <QFile>
#include <QImage>

using namespace report;

namespace {

// Display texts follow the report's locale settings, not the machine's.
platform::LocaleSettings czechSettings() {
    platform::LocaleSettings settings;
    settings.decimalSeparator = u',';
    settings.dateSeparator = u'.';
    settings.shortDateFormat = QStringLiteral("d.m.yyyy");
    settings.longTimeFormat = QStringLiteral("h:nn:ss");
    return settings;
}

class SqlDatasetTest : public reporttest::SqliteFixture {
protected:
    void SetUp() override {
        SqliteFixture::SetUp();
        ASSERT_NO_FATAL_FAILURE(createDatabase(reporttest::pointsScript()));
        m_source.SetDataSet(&m_points);
        m_bridge.SetDataSource(&m_source);
    }

    platform::ScopedLocaleSettings m_czech{czechSettings()};
    SqlDataset m_points{m_connection, QStringLiteral("points"), QStringLiteral("grp, name")};
    TDataSource m_source;
    TBridge m_bridge;
};

TEST_F(SqlDatasetTest, NamesAndTypesComeFromTheDeclaredColumns) {
    ASSERT_TRUE(m_points.open()) << m_points.lastError().toStdString();
    QStringList names;
    m_bridge.ItemNames(names);
    EXPECT_EQ(names.join(u','), u"name,grp,t,p,n,ok,note,logo,measured,at");
    QStringList labels{QStringLiteral("kept")};
    m_bridge.ItemDescriptions(labels);
    EXPECT_EQ(labels.join(u','), u"kept,name,grp,t,p,n,ok,note,logo,measured,at");

    QList<int> types;
    for (int i = 0; i < 10; ++i)
        types.append(m_bridge.FieldDataType(i));
    EXPECT_EQ(types, (QList<int>{ftString, ftString, ftFloat, ftFloat, ftInteger, ftBoolean,
                                 ftMemo, ftGraphic, ftDate, ftDateTime}));
    EXPECT_EQ(m_bridge.FieldAlignment(0), taLeftJustify);
    EXPECT_EQ(m_bridge.FieldAlignment(2), taRightJustify);
    EXPECT_EQ(m_bridge.FieldAlignment(4), taRightJustify);
    EXPECT_EQ(m_bridge.FieldDisplayWidth(0), 12); // VARCHAR(12)
}

TEST_F(SqlDatasetTest, DeclaredTypeNamesMapToFieldTypes) {
    const std::pair<const char*, int> cases[] = {
        {"INTEGER", ftInteger},
        {"bigint", ftInteger},
        {"REAL", ftFloat},
        {"double precision", ftFloat},
        {"NUMERIC(10,2)", ftCurrency},
        {"money", ftCurrency},
        {"BOOLEAN", ftBoolean},
        {"DATE", ftDate},
        {"TIME", ftTime},
        {"DATETIME", ftDateTime},
        {"timestamp", ftDateTime},
        {"MEMO", ftMemo},
        {"CLOB", ftMemo},
        {"GRAPHIC", ftGraphic},
        {"IMAGE", ftGraphic},
        {"BLOB", ftBlob},
        {"TEXT", ftString},
        {"", ftString},
    };
    for (const auto& [declared, type] : cases)
        EXPECT_EQ(SqlDataset::typeOfDeclared(QString::fromLatin1(declared)), type) << declared;
}

TEST_F(SqlDatasetTest, StepsKeepClassicBofAndEof) {
    m_points.open();
    EXPECT_EQ(m_bridge.Step(sdFirst), srFirst);
    EXPECT_EQ(m_bridge.FieldText(0), u"a1");
    EXPECT_EQ(m_bridge.Step(sdPrior), srFirst); // stays on the first record
    EXPECT_EQ(m_bridge.FieldText(0), u"a1");
    EXPECT_EQ(m_bridge.Step(sdNext), srMoved);
    EXPECT_EQ(m_bridge.FieldText(0), u"b1");
    EXPECT_EQ(m_bridge.Step(sdNext), srMoved);
    EXPECT_EQ(m_bridge.FieldText(0), u"b2");
    EXPECT_EQ(m_bridge.Step(sdNext), srNoMore); // stays on the last record
    EXPECT_EQ(m_bridge.FieldText(0), u"b2");
    EXPECT_EQ(m_bridge.Step(sdPrior), srMoved);
    EXPECT_EQ(m_bridge.FieldText(0), u"b1");
    EXPECT_EQ(m_bridge.Step(sdLast), srNoMore);
    EXPECT_EQ(m_bridge.FieldText(0), u"b2");
}

TEST_F(SqlDatasetTest, AnEmptyTableOrNoDatasetAnswersNoData) {
    SqlDataset empty(m_connection, QStringLiteral("empty"));
    ASSERT_TRUE(empty.open());
    TDataSource source(&empty);
    TBridge bridge;
    bridge.SetDataSource(&source);
    for (int dir : {sdFirst, sdPrior, sdNext, sdLast})
        EXPECT_EQ(bridge.Step(dir), srNoData) << dir;
    EXPECT_TRUE(bridge.FieldIsNull(0));
    EXPECT_EQ(bridge.FieldText(0), QString());

    TBridge unbound;
    EXPECT_EQ(unbound.Step(sdFirst), srNoData);
    source.SetDataSet(nullptr);
    EXPECT_FALSE(bridge.HasDataSet());
    EXPECT_EQ(bridge.Step(sdFirst), srNoData);
}

TEST_F(SqlDatasetTest, ValuesNullsMemoDatesAndPicture) {
    m_points.open();
    m_bridge.Step(sdLast); // b2: every field set
    EXPECT_DOUBLE_EQ(m_bridge.FieldAsFloat(2), 150.5);
    EXPECT_EQ(m_bridge.FieldText(2), u"150,5"); // the Czech decimal comma
    EXPECT_EQ(m_bridge.FieldText(4), u"2");
    EXPECT_TRUE(m_bridge.FieldAsBoolean(5));
    EXPECT_EQ(m_bridge.FieldText(5), u"True");
    EXPECT_EQ(m_bridge.MemoText(6), u"Příliš žluťoučký kůň");
    EXPECT_EQ(m_bridge.FieldText(6), u"(MEMO)");
    // 15 March 2024 is day 45366 after 30 December 1899; noon and a half is 0.5208333.
    EXPECT_DOUBLE_EQ(m_bridge.FieldAsFloat(8), 45366.0);
    EXPECT_EQ(m_bridge.FieldText(8), u"15.3.2024");
    EXPECT_NEAR(m_bridge.FieldAsFloat(9), 45366.0 + 12.5 / 24.0, 1e-9);
    EXPECT_EQ(m_bridge.FieldText(9), u"15.3.2024 12:30:00");

    const QImage logo = QImage::fromData(m_bridge.FieldBlob(7));
    EXPECT_EQ(logo.size(), QSize(7, 5));
    EXPECT_EQ(logo.pixelColor(3, 2), QColor(0x20, 0x60, 0xa0));
    QFile fixture(QStringLiteral(KOLV_TEST_DATA_DIR "/logo.bmp"));
    ASSERT_TRUE(fixture.open(QIODevice::ReadOnly));
    EXPECT_EQ(m_bridge.FieldBlob(7), fixture.readAll());

    m_bridge.Step(sdFirst); // a1: a date before the epoch, NULL memo and picture
    EXPECT_DOUBLE_EQ(m_bridge.FieldAsFloat(8), -1.0);
    EXPECT_TRUE(m_bridge.FieldIsNull(6));
    EXPECT_EQ(m_bridge.FieldText(6), u"(Memo)");
    EXPECT_TRUE(m_bridge.FieldBlob(7).isEmpty());
    EXPECT_FALSE(m_bridge.FieldAsBoolean(5));

    m_bridge.Step(sdNext); // b1: NULL in every typed field
    for (int i : {2, 3, 4, 5, 8, 9}) {
        EXPECT_TRUE(m_bridge.FieldIsNull(i)) << i;
        EXPECT_EQ(m_bridge.FieldText(i), QString()) << i;
        EXPECT_EQ(m_bridge.FieldAsFloat(i), 0.0) << i;
    }
    EXPECT_FALSE(m_bridge.FieldIsNull(6)); // an empty memo is not NULL
    EXPECT_EQ(m_bridge.FieldText(6), u"(Memo)");
}

TEST_F(SqlDatasetTest, FieldIndexesOutOfRangeGiveNeutralValues) {
    m_points.open();
    for (int i : {-1, 10, 1000}) {
        EXPECT_EQ(m_bridge.FieldDataType(i), ftUnknown);
        EXPECT_EQ(m_bridge.FieldText(i), QString());
        EXPECT_EQ(m_bridge.MemoText(i), QString());
        EXPECT_EQ(m_bridge.FieldAsFloat(i), 0.0);
        EXPECT_TRUE(m_bridge.FieldIsNull(i));
        EXPECT_TRUE(m_bridge.FieldBlob(i).isEmpty());
    }
}

TEST_F(SqlDatasetTest, BookmarkIsRestoredOnceAndOnlyWhenSaved) {
    m_points.open();
    m_bridge.Step(sdNext);
    m_bridge.SaveBookmark();
    m_bridge.Step(sdLast);
    m_bridge.RestoreBookmark();
    EXPECT_EQ(m_bridge.FieldText(0), u"b1");
    m_bridge.Step(sdFirst);
    m_bridge.RestoreBookmark(); // forgotten after the first restore
    EXPECT_EQ(m_bridge.FieldText(0), u"a1");
}

TEST_F(SqlDatasetTest, ControlsDisableNests) {
    m_bridge.DisableControls();
    m_bridge.DisableControls();
    m_bridge.EnableControls();
    EXPECT_TRUE(m_points.controlsDisabled());
    m_bridge.EnableControls();
    m_bridge.EnableControls();
    EXPECT_FALSE(m_points.controlsDisabled());
    m_bridge.DisableControls();
    EXPECT_TRUE(m_points.controlsDisabled());
}

TEST_F(SqlDatasetTest, ASelectStatementIsASource) {
    SqlDataset query(m_connection,
                     QStringLiteral("select name, t * 2 AS twice FROM points WHERE t > 100"));
    ASSERT_TRUE(query.open()) << query.lastError().toStdString();
    EXPECT_EQ(query.fieldCount(), 2);
    EXPECT_EQ(query.fieldName(1), u"twice");
    EXPECT_EQ(query.fieldType(1), ftFloat);
    EXPECT_EQ(query.asFloat(1), 301.0);
    EXPECT_TRUE(query.bof());
    query.next();
    EXPECT_TRUE(query.eof());
}

TEST_F(SqlDatasetTest, OpenFailsForAMissingTableAnUnreadableFileOrNoConnection) {
    SqlDataset missing(m_connection, QStringLiteral("nosuch"));
    EXPECT_FALSE(missing.open());
    EXPECT_FALSE(missing.isActive());

    // A table dropped after a first successful open.
    ASSERT_TRUE(m_points.open());
    m_points.close();
    QSqlDatabase::database(m_connection, false).close();
    ASSERT_NO_FATAL_FAILURE(
        reporttest::runSqlite3(m_dir.path(), QStringLiteral("data.sqlite"), "DROP TABLE points;"));
    EXPECT_FALSE(m_points.open());

    QFile garbage(m_dir.filePath(QStringLiteral("garbage.sqlite")));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(4096, '\x5a'));
    garbage.close();
    QSqlDatabase::database(m_connection, false).setDatabaseName(garbage.fileName());
    SqlDataset unreadable(m_connection, QStringLiteral("points"));
    EXPECT_FALSE(unreadable.open());

    SqlDataset noConnection(QStringLiteral("no such connection"), QStringLiteral("points"));
    EXPECT_FALSE(noConnection.open());
}

TEST_F(SqlDatasetTest, AliasPathIsTheFolderOfTheDatabaseFile) {
    EXPECT_EQ(TBridge::AliasPath(m_connection), QDir(m_dir.path()).canonicalPath() + u'/');
    EXPECT_EQ(TBridge::AliasPath(QStringLiteral("unknown alias")), QString());
    EXPECT_TRUE(m_bridge.IsDatabaseDataSet());
}

} // namespace
