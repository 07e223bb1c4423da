#include "catalog/PropTVItem.h"
#include "catalog/QuorvelUtil.h"
#include "catalog/StringGrid.h"
#include "common/IniFile.h"
#include "db/FieldValue.h"
#include "db/NoteQuery.h"
#include "db/OracleBase.h"
#include "db/SqlDialect.h"
#include "tests/app/DemoWorkspace.h"
#include "tests/catalog/GridDump.h"
#include "tests/support/PgServer.h"
#include "tests/support/Readers.h"
#include "tests/support/SqliteDb.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {
// The period the main window opens with.
const QDate today = QDate::currentDate();
const QDate yesterday = today.addDays(-1);

QStringList listOf(const QString &s)
{
    QStringList items;
    NamesCreateList(s, items, false);
    return items;
}

// The demo content as the program sees it, through the database module on a viri.ini of the
// fixture's own (the workspace's viri.ini names demo.db relative to the program's folder,
// which in a test is the test program's).
class DemoContent : public ::testing::Test {
protected:
    void logOn(const QString &ServerName, const QString &User = QStringLiteral("DEMO"))
    {
        const QString folder = dir.file(QStringLiteral("module"));
        ASSERT_TRUE(QDir().mkpath(folder));
        IniFile ini(folder + QStringLiteral("/viri.ini"));
        ini.writeString(QStringLiteral("Alias"), QStringLiteral("USER_NAME"), User);
        ini.writeString(QStringLiteral("Alias"), QStringLiteral("SERVER_NAME"), ServerName);
        engine = EngineOf(ServerName);
        base = std::make_unique<TFOracleBase>(nullptr, folder);
        ASSERT_TRUE(base->Is_Connect_A) << ServerName.toStdString();
    }

    // Rows of a query on the working session: fields joined by "|", rows by line breaks.
    QString rows(const QString &Sql) const
    {
        TNoteDataSet ds;
        ds.SQL = QStringList{Sql};
        EXPECT_TRUE(ds.NoteOpen()) << Sql.toStdString();
        QStringList out;
        while (ds.Active() && !ds.Eof()) {
            QStringList fields;
            for (int i = 0; i < ds.FieldCount(); ++i)
                fields.append(ds.Fields(i).AsString());
            out.append(fields.join(u'|'));
            if (!ds.NoteNext())
                break;
        }
        return out.join(u'\n');
    }

    // The catalog query of the working engine, read into records as the tree holds them.
    std::vector<TPropTVItem> catalog() const
    {
        TNoteDataSet ds;
        ds.SQL = QStringList{DialectOf(engine).CatalogQuery()};
        EXPECT_TRUE(ds.NoteOpen());
        std::vector<TPropTVItem> nodes;
        while (ds.Active() && !ds.Eof()) {
            TPropTVItem rec;
            rec.id = int(ds.FieldByName(QStringLiteral("ID_REPORT")).AsInteger());
            rec.name = ds.FieldAsString(QStringLiteral("NAME_REPORT"));
            rec.parent_id = int(ds.FieldByName(QStringLiteral("PARENT_ID")).AsInteger());
            rec.nodetype = int(ds.FieldByName(QStringLiteral("FOLDER")).AsInteger());
            rec.SQL_TEXT = ds.FieldAsString(QStringLiteral("SQL_TEXT"));
            rec.NAME_TITLE = ds.FieldAsString(QStringLiteral("NAME_TITLE"));
            rec.LENGTH_COLUMS = ds.FieldAsString(QStringLiteral("LENGTH_COLUMS"));
            rec.FORMAT_STR = ds.FieldAsString(QStringLiteral("FORMAT_STR"));
            rec.PRN_TITLE_TOP = ds.FieldAsString(QStringLiteral("PRN_TITLE_TOP"));
            rec.PRN_TITLE_BOT = ds.FieldAsString(QStringLiteral("PRN_TITLE_BOT"));
            nodes.push_back(rec);
            if (!ds.NoteNext())
                break;
        }
        return nodes;
    }

    // Every report with a query runs for the default period as the main window runs it: the
    // grid prepared from the record, then the run. Its titles, widths and codes match the
    // select list one for one, the result has as many fields, and it has rows.
    void checkEveryReportRuns() const
    {
        const QRegularExpression dateText(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d{4}( "
                                                         "\\d{1,2}:\\d\\d:\\d\\d)?$"));
        const QRegularExpression fractionText(
            QStringLiteral("^-?\\d+[%1]\\d+$").arg(FormatSettings.DecimalSeparator));
        int run = 0;
        bool dates = false;
        bool fractions = false;
        for (TPropTVItem rec : catalog()) {
            if (rec.IsFolder() || rec.SQL_TEXT.trimmed().isEmpty())
                continue;
            SCOPED_TRACE(rec.name.toStdString());
            const int fields = int(FieldList(rec.SQL_TEXT).size());
            EXPECT_EQ(listOf(rec.NAME_TITLE).size(), fields);
            EXPECT_EQ(listOf(rec.LENGTH_COLUMS).size(), fields);
            EXPECT_EQ(listOf(rec.FORMAT_STR).size(), fields);
            for (const QString &code : listOf(rec.FORMAT_STR))
                EXPECT_TRUE(code == u'C' || code == u'L' || code == u'R') << code.toStdString();
            for (const QString &width : listOf(rec.LENGTH_COLUMS))
                EXPECT_GT(ColumnWidthOf(width), 0);

            TStringGrid SG;
            CreateTableIn(rec, SG, nullptr);
            const TExecResult r = ExecSqlInto(rec.SQL_TEXT, nullptr, SG, yesterday, today);
            EXPECT_TRUE(r.Opened) << PeriodStatement(rec.SQL_TEXT, yesterday, today).toStdString();
            EXPECT_GT(r.Rows, 0);
            EXPECT_EQ(SG.ColCount(), fields + 1);
            EXPECT_EQ(SG.Cells(1, 0), listOf(rec.NAME_TITLE).value(0));
            for (int row = 1; row < SG.RowCount(); ++row) {
                for (int col = 1; col < SG.ColCount(); ++col) {
                    dates = dates || dateText.match(SG.Cells(col, row)).hasMatch();
                    fractions = fractions || fractionText.match(SG.Cells(col, row)).hasMatch();
                }
            }
            ++run;
        }
        EXPECT_GE(run, 11);
        EXPECT_TRUE(dates);
        EXPECT_TRUE(fractions);
    }

    // Root folders with sub-folders, a dozen reports in them, with and without the period
    // markers (one with the end marker only), all three alignments, title texts of several
    // lines above and below, one report without a query.
    void checkCatalogShape() const
    {
        const std::vector<TPropTVItem> nodes = catalog();
        QSet<int> folders;
        int roots = 0;
        int subFolders = 0;
        for (const TPropTVItem &rec : nodes) {
            if (!rec.IsFolder())
                continue;
            folders.insert(rec.id);
            (rec.parent_id == 0 ? roots : subFolders)++;
        }
        EXPECT_GE(roots, 2);
        EXPECT_GE(subFolders, 2);

        int reports = 0;
        int withBoth = 0;
        int endOnly = 0;
        int withoutMarkers = 0;
        int empty = 0;
        QSet<QString> codes;
        bool topLines = false;
        bool bottomLines = false;
        for (const TPropTVItem &rec : nodes) {
            if (rec.IsFolder())
                continue;
            SCOPED_TRACE(rec.name.toStdString());
            ++reports;
            EXPECT_TRUE(folders.contains(rec.parent_id));
            const QString sql = rec.SQL_TEXT.toUpper();
            const bool begin = sql.contains(QLatin1String("DTPBEGIN"));
            const bool end = sql.contains(QLatin1String("DTPEND"));
            if (sql.trimmed().isEmpty())
                ++empty;
            else if (begin && end)
                ++withBoth;
            else if (end)
                ++endOnly;
            else if (!begin)
                ++withoutMarkers;
            for (const QString &code : listOf(rec.FORMAT_STR))
                codes.insert(code);
            topLines = topLines || rec.PRN_TITLE_TOP.contains(u'\n');
            bottomLines = bottomLines || rec.PRN_TITLE_BOT.contains(u'\n');
        }
        EXPECT_EQ(reports, 12);
        EXPECT_GE(withBoth, 3);
        EXPECT_EQ(endOnly, 1);
        EXPECT_GE(withoutMarkers, 3);
        EXPECT_EQ(empty, 1);
        EXPECT_EQ(codes, (QSet<QString>{"C", "L", "R"}));
        EXPECT_TRUE(topLines);
        EXPECT_TRUE(bottomLines);
    }

    // The demo user logs in with plain passwords; the disabled user, the group's rights, the
    // one server's role and the mail settings are there, and every report a recipient is
    // given exists.
    void checkUsersServerAndMail() const
    {
        EXPECT_EQ(rows(QStringLiteral("SELECT COUNT(*) FROM SCRIPT_HISTORY "
                                      "WHERE SCRIPT_VERSION = 'SHIFRPSWMD5'")),
                  "0");
        // Reading the user's row needs every one of these (login: user properties).
        EXPECT_EQ(rows(QStringLiteral("SELECT TABNUM, NAME, PWD, WENABLED, GROUPID, SHEMA "
                                      "FROM USER_PSW WHERE ALLNAME IS NOT NULL AND "
                                      "IPADR IS NULL ORDER BY TABNUM")),
                  "1001|demo|demo|T|1|0\n1002|viewer|viewer|T|2|0\n1003|petrov|petrov|F|1|0");
        EXPECT_EQ(rows(QStringLiteral("SELECT G.ID, G.ACTIONID, COUNT(P.USER_PROP) FROM USER_GROUP "
                                      "G JOIN USER_G_P P ON P.USER_GROUP = G.ID "
                                      "GROUP BY G.ID, G.ACTIONID ORDER BY G.ID")),
                  "1|1|8\n2|0|1");
        EXPECT_EQ(rows(QStringLiteral("SELECT MAIN, SECOND, RO FROM SRV")), "0|1|0");
        EXPECT_EQ(rows(QStringLiteral("SELECT IP_POP_SERVER FROM QUORVEL_POP")), "127.0.0.1:2525");

        QSet<QString> reportIds;
        for (const TPropTVItem &rec : catalog())
            if (!rec.IsFolder())
                reportIds.insert(QString::number(rec.id));
        const QStringList recipients =
            rows(QStringLiteral("SELECT ADR_MAIL, ID_REPORT FROM QUORVEL_MAIL ORDER BY ID_MAIL"))
                .split(u'\n');
        ASSERT_EQ(recipients.size(), 2);
        for (const QString &recipient : recipients) {
            const QStringList ids = recipient.section(u'|', 1).split(u',');
            EXPECT_FALSE(ids.isEmpty());
            for (const QString &id : ids)
                EXPECT_TRUE(reportIds.contains(id)) << recipient.toStdString();
        }
    }

    TempDir dir;
    TEngine engine = TEngine::SQLite;
    std::unique_ptr<TFOracleBase> base;
};

class DemoContent_Sqlite : public DemoContent {
protected:
    void SetUp() override
    {
        QString output;
        ASSERT_EQ(makeDemoWorkspace(workspace(), &output), 0) << output.toStdString();
        logOn(QStringLiteral("sqlite:") + workspace() + QStringLiteral("/demo.db"));
    }
    QString workspace() const { return dir.file(QStringLiteral("workspace")); }
};

TEST_F(DemoContent_Sqlite, TheWorkspaceNamesTheDemoDatabaseBesideTheProgram)
{
    const IniFile ini(workspace() + QStringLiteral("/viri.ini"));
    EXPECT_EQ(ini.readString(QStringLiteral("Alias"), QStringLiteral("SERVER_NAME"), {}),
              "sqlite:demo.db");
    EXPECT_EQ(ini.readInteger(QStringLiteral("Mode"), QStringLiteral("N_Server"), 0), 1);
    EXPECT_EQ(ini.readBool(QStringLiteral("Timer"), QStringLiteral("AutoConnect"), true), false);
    EXPECT_EQ(QDir(workspace()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"demo.db", "viri.ini"}));
}

TEST_F(DemoContent_Sqlite, ASecondRunKeepsTheWorkspaceAndWhatTheUserChanged)
{
    const QString ini = workspace() + QStringLiteral("/viri.ini");
    const QString db = workspace() + QStringLiteral("/demo.db");
    IniFile(ini).writeInteger(QStringLiteral("Timer"), QStringLiteral("AutoConnect"), 1);
    sqliteExec(db, QStringLiteral("INSERT INTO QUORVEL_CAT VALUES (5, 'Мои отчеты', NULL, 1)"));
    const QString iniText = readTextFile(ini);

    QString output;
    ASSERT_EQ(makeDemoWorkspace(workspace(), &output), 0) << output.toStdString();
    EXPECT_EQ(readTextFile(ini), iniText);
    EXPECT_EQ(sqliteQuery(db, QStringLiteral("SELECT NAME_REPORT FROM QUORVEL_CAT WHERE "
                                             "ID_REPORT = 5")),
              "Мои отчеты");

    // A database the user removed is made again; the changed settings stay.
    base.reset();
    ASSERT_TRUE(QFile::remove(db));
    ASSERT_EQ(makeDemoWorkspace(workspace(), &output), 0) << output.toStdString();
    EXPECT_EQ(readTextFile(ini), iniText);
    EXPECT_EQ(sqliteQuery(db, QStringLiteral("SELECT COUNT(*) FROM QUORVEL_CAT WHERE "
                                             "ID_REPORT = 5")),
              "0");
    EXPECT_EQ(sqliteQuery(db, QStringLiteral("SELECT COUNT(*) FROM QUORVEL WHERE ID_REPORT = 201")),
              "1");
}

TEST_F(DemoContent_Sqlite, EveryReportWithAQueryRunsForTheDefaultPeriod)
{
    checkEveryReportRuns();
}

TEST_F(DemoContent_Sqlite, TheCatalogHasFoldersAndEveryKindOfReport)
{
    checkCatalogShape();
}

TEST_F(DemoContent_Sqlite, UsersServerRoleAndMailAreSetUp)
{
    checkUsersServerAndMail();
}

// The PostgreSQL script on a real server, read by the program's own session.
class DemoContent_Postgres : public DemoContent {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pg.ok());
        pg.sql(readTextFile(sourceDir() + QStringLiteral("/schema/demo-postgresql.sql")));
        ASSERT_FALSE(HasFailure());
        logOn(pg.connectString(), pg.user());
    }
    PgServer pg;
};

TEST_F(DemoContent_Postgres, EveryReportWithAQueryRunsForTheDefaultPeriod)
{
    checkEveryReportRuns();
}

TEST_F(DemoContent_Postgres, TheCatalogHasFoldersAndEveryKindOfReport)
{
    checkCatalogShape();
}

TEST_F(DemoContent_Postgres, UsersServerRoleAndMailAreSetUp)
{
    checkUsersServerAndMail();
}
} // namespace
