#pragma once

#include <QDate>
#include <QString>

// The database engine that a connect string names:
//   "sqlite:PATH"                       an SQLite file (a relative PATH is taken from the
//                                       session's workspace folder, see LogonFolder);
//   "postgresql://HOST:PORT/DBNAME"     a PostgreSQL server;
//   anything else                       Oracle, the string as the Oracle client understands it.
enum class TEngine { Oracle, SQLite, PostgreSQL };

TEngine EngineOf(const QString &ConnectString);

// The statements that only Oracle speaks, one object per engine. The Oracle dialect gives
// the texts the system was written with; the others give the same columns, rows and order.
// Every other statement of the system is shared text.
class TSqlDialect {
public:
    virtual ~TSqlDialect() = default;

    virtual TEngine Engine() const = 0;

    // The catalog of folders and reports: columns ID_REPORT, MLEVEL, NAME_REPORT,
    // PARENT_NAME, PARENT_ID, FOLDER, SQL_TEXT, NAME_TITLE, LENGTH_COLUMS, FORMAT_STR,
    // PRN_TITLE_TOP, PRN_TITLE_BOT; the rows reachable from a root (PARENT_ID NULL), each
    // with its depth (roots 1), joined outer with QUORVEL; folders first, then by depth,
    // then by name.
    virtual QString CatalogQuery() const = 0;

    // The liveness probe: one row, one column.
    virtual QString DualProbe() const = 0;

    // The server's version banner in its first column; its last word is the dotted release.
    virtual QString VersionQuery() const = 0;

    // Sets a session parameter (NLS_SORT and the like); the statement is not a query.
    // Engines without the parameter get a statement that is accepted and does nothing
    // harmful, so the checked execution treats it like any change.
    virtual QString SessionParameter(const QString &Name, const QString &Value) const = 0;

    // The module/action and the client information of the session, with the bind variables
    // :MODULE, :ACTION and :INFO. Empty where the engine has nothing to record them in.
    virtual QString SetModuleStatement() const = 0;
    virtual QString SetClientInfoStatement() const = 0;

    // A day of a report's period, for the markers DTPBEGIN and DTPEND: the day at midnight,
    // compared with the engine's stored dates as the server engines compare dates.
    virtual QString PeriodDate(const QDate &Date) const = 0;

    // Whether a failure of the liveness probe with this error means the server is still
    // there (on Oracle: 1000, too many open cursors; 942, no such table or view).
    virtual bool ProbeErrorMeansAlive(int ErrorCode, const QString &NativeCode) const = 0;
};

const TSqlDialect &DialectOf(TEngine Engine);

// The dialect of the working server's session (FOracleBase->ADatabase), the one the checked
// statements speak; the Oracle dialect while there is no database module.
const TSqlDialect &WorkingDialect();
