#include "db/SqlDialect.h"

#include <QStringList>

TEngine EngineOf(const QString &ConnectString)
{
    if (ConnectString.startsWith(QLatin1String("sqlite:"), Qt::CaseInsensitive))
        return TEngine::SQLite;
    if (ConnectString.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive))
        return TEngine::PostgreSQL;
    return TEngine::Oracle;
}

namespace {
// The catalog on engines with recursive common table expressions: the same columns, rows and
// final order as Oracle's hierarchical query.
const QString recursiveCatalog = QStringLiteral(
    "WITH RECURSIVE TREE (ID_REPORT, NAME_REPORT, PARENT_NAME, MLEVEL, PARENT_ID, FOLDER) AS (\n"
    "SELECT A.ID_REPORT, A.NAME_REPORT, CAST(NULL AS VARCHAR(255)), 1, A.PARENT_ID, A.FOLDER\n"
    "FROM QUORVEL_CAT A WHERE A.PARENT_ID IS NULL\n"
    "UNION ALL\n"
    "SELECT A.ID_REPORT, A.NAME_REPORT, T.NAME_REPORT, T.MLEVEL + 1, A.PARENT_ID, A.FOLDER\n"
    "FROM QUORVEL_CAT A JOIN TREE T ON A.PARENT_ID = T.ID_REPORT)\n"
    "SELECT M.ID_REPORT, MLEVEL, NAME_REPORT, PARENT_NAME, PARENT_ID, FOLDER, \n"
    "AR.SQL_TEXT, AR.NAME_TITLE, AR.LENGTH_COLUMS, AR.FORMAT_STR, AR.PRN_TITLE_TOP, "
    "AR.PRN_TITLE_BOT\n"
    "FROM TREE M LEFT OUTER JOIN QUORVEL AR ON M.ID_REPORT = AR.ID_REPORT\n"
    "ORDER BY FOLDER DESC, MLEVEL, NAME_REPORT ");

QString toDate(const QDate &date)
{
    return QStringLiteral("TO_DATE('") + date.toString(QStringLiteral("dd.MM.yyyy")) +
           QStringLiteral("', 'DD.MM.YYYY')");
}

class OracleDialect : public TSqlDialect {
public:
    TEngine Engine() const override { return TEngine::Oracle; }
    QString CatalogQuery() const override
    {
        static const char *const lines[] = {
            "SELECT M.ID_REPORT, mLEVEL, NAME_REPORT, PARENT_NAME, parent_id, folder, ",
            ("AR.SQL_TEXT, AR.NAME_TITLE, AR.LENGTH_COLUMS, AR.FORMAT_STR, AR.PRN_TITLE_TOP, "
             "AR.PRN_TITLE_BOT"),
            "FROM (SELECT ID_REPORT, NAME_REPORT,",
            "(SELECT NAME_REPORT FROM QUORVEL_CAT B",
            "WHERE B.ID_REPORT = A.PARENT_ID) AS PARENT_NAME, LEVEL as mLEVEL, parent_id, folder",
            "FROM QUORVEL_CAT A",
            "CONNECT BY PRIOR ID_REPORT = PARENT_ID",
            "START WITH PARENT_ID IS NULL",
            "ORDER SIBLINGS BY NAME_REPORT) M, QUORVEL AR",
            "WHERE M.ID_REPORT=AR.ID_REPORT(+)",
            "ORDER BY FOLDER DESC, mLEVEL, NAME_REPORT "};
        QStringList text;
        for (const char *line : lines)
            text.append(QString::fromLatin1(line));
        return text.join(u'\n');
    }
    QString DualProbe() const override { return QStringLiteral("select 'x' from dual"); }
    QString VersionQuery() const override { return QStringLiteral("select * from v$version"); }
    QString SessionParameter(const QString &Name, const QString &Value) const override
    {
        return QStringLiteral("ALTER SESSION SET ") + Name + QStringLiteral(" = ") + Value;
    }
    QString SetModuleStatement() const override
    {
        return QStringLiteral("begin DBMS_APPLICATION_INFO.SET_MODULE(:MODULE, :ACTION); end;");
    }
    QString SetClientInfoStatement() const override
    {
        return QStringLiteral("begin DBMS_APPLICATION_INFO.SET_CLIENT_INFO(:INFO); end;");
    }
    QString PeriodDate(const QDate &Date) const override { return toDate(Date); }
    bool ProbeErrorMeansAlive(int ErrorCode, const QString &) const override
    {
        return ErrorCode == 1000 || ErrorCode == 942;
    }
};

class SqliteDialect : public TSqlDialect {
public:
    TEngine Engine() const override { return TEngine::SQLite; }
    QString CatalogQuery() const override { return recursiveCatalog; }
    QString DualProbe() const override { return QStringLiteral("select 'x'"); }
    QString VersionQuery() const override
    {
        return QStringLiteral("select 'SQLite Release ' || sqlite_version() || ' '");
    }
    // SQLite ignores pragmas it does not know: the parameter is accepted and has no effect.
    QString SessionParameter(const QString &Name, const QString &Value) const override
    {
        return QStringLiteral("PRAGMA quorvel_") + Name.toLower() + QStringLiteral(" = ") + Value;
    }
    QString SetModuleStatement() const override { return {}; }
    QString SetClientInfoStatement() const override { return {}; }
    // SQLite keeps dates as text, where '2016-04-05' sorts before '2016-04-05 00:00:00': the
    // collation (SqliteFunctions.h) compares the instants the texts stand for instead.
    QString PeriodDate(const QDate &Date) const override
    {
        return toDate(Date) + QStringLiteral(" COLLATE DATE_ORDER");
    }
    bool ProbeErrorMeansAlive(int, const QString &) const override { return false; }
};

class PostgresDialect : public TSqlDialect {
public:
    TEngine Engine() const override { return TEngine::PostgreSQL; }
    QString CatalogQuery() const override { return recursiveCatalog; }
    QString DualProbe() const override { return QStringLiteral("select 'x'"); }
    QString VersionQuery() const override
    {
        return QStringLiteral(
            "select 'PostgreSQL Release ' || (current_setting('server_version_num')::int / 10000)"
            " || '.' || (current_setting('server_version_num')::int % 10000) || ' '");
    }
    // A setting of the session under the program's own prefix: kept for the session, read
    // back with current_setting, without effect on the server.
    QString SessionParameter(const QString &Name, const QString &Value) const override
    {
        return QStringLiteral("SET quorvel.") + Name.toLower() + QStringLiteral(" = ") + Value;
    }
    QString SetModuleStatement() const override
    {
        return QStringLiteral("SELECT set_config('application_name', :MODULE, false), "
                              "set_config('quorvel.action', :ACTION, false)");
    }
    QString SetClientInfoStatement() const override
    {
        return QStringLiteral("SELECT set_config('quorvel.client_info', :INFO, false)");
    }
    QString PeriodDate(const QDate &Date) const override { return toDate(Date); }
    bool ProbeErrorMeansAlive(int, const QString &) const override { return false; }
};
} // namespace

const TSqlDialect &DialectOf(TEngine Engine)
{
    static const OracleDialect oracle;
    static const SqliteDialect sqlite;
    static const PostgresDialect postgres;
    switch (Engine) {
    case TEngine::SQLite:
        return sqlite;
    case TEngine::PostgreSQL:
        return postgres;
    case TEngine::Oracle:
        break;
    }
    return oracle;
}
