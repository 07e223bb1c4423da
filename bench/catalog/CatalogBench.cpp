// Figures of the report run and the catalog load against their peers, in one run:
//   a 200,000-row, 10-column SQLite report run into the main window's grid, against the sqlite3
//   shell printing the same query to /dev/null; the grid's memory for the result against the
//   UTF-16 size of its cell texts plus 8 bytes per cell; the longest gap between two turns of
//   the event loop during the run;
//   a catalog of 10,000 nodes loaded into the tree, against the catalog query alone.
// With "postgresql://HOST:PORT/DB" (a server with the schema, started by bench/catalog/run),
// the same report run from PostgreSQL against psql -At -c QUERY -o /dev/null. With
// "--workspace DIR", only the SQLite database and its viri.ini written into DIR.
#include "app/F_Quorvel.h"
#include "catalog/CatalogTree.h"
#include "catalog/StringGrid.h"
#include "common/IniFile.h"
#include "db/NoteQuery.h"
#include "db/OracleBase.h"
#include "db/OracleSession.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <sqlite3.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

namespace {
constexpr int resultRows = 200000;
constexpr int folders = 100;
constexpr int reportsPerFolder = 99; // with the folders and the root: 10,000 nodes
const char *const bigQuery =
    "select n, name, v, d, t, n * 2 n2, code, note, v / 3 v3, flag from big";

void exec(sqlite3 *db, const QString &sql)
{
    char *error = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n", error);
        std::exit(1);
    }
}

void createDatabase(const QString &file, const QString &schemaFile)
{
    sqlite3 *db = nullptr;
    sqlite3_open(file.toUtf8().constData(), &db);
    QFile schema(schemaFile);
    if (!schema.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "no schema %s\n", qPrintable(schemaFile));
        std::exit(1);
    }
    exec(db, QStringLiteral("PRAGMA synchronous=OFF; BEGIN;") +
                 QString::fromUtf8(schema.readAll()) +
                 QStringLiteral(";INSERT INTO SRV VALUES (0, 1, 0);"
                                "INSERT INTO USER_PSW (TABNUM, NAME, PWD, WENABLED, ALLNAME, "
                                "SHEMA) VALUES (7, 'dispatcher', 'secret', 'T', 'Диспетчер', 0);"
                                "CREATE TABLE BIG (N INTEGER, NAME VARCHAR2(40), V NUMBER, "
                                "D DATE, T VARCHAR2(20), CODE NUMBER(9), NOTE VARCHAR2(60), "
                                "FLAG CHAR(1));"
                                "WITH RECURSIVE C(N) AS (SELECT 1 UNION ALL SELECT N + 1 FROM C "
                                "WHERE N < %1) INSERT INTO BIG SELECT N, 'Подстанция ' || N, "
                                "N * 1.25, '2015-03-05 08:30:00', 'ТП-' || (N % 977), N % 100000, "
                                "'примечание к строке ' || N, 'T' FROM C;"
                                "INSERT INTO QUORVEL_CAT VALUES (1, 'Root', NULL, 1);"
                                "INSERT INTO QUORVEL_CAT VALUES (2, 'Big report', 1, 0);"
                                "INSERT INTO QUORVEL (ID_REPORT, SQL_TEXT) VALUES (2, '%2');")
                     .arg(resultRows)
                     .arg(QString::fromLatin1(bigQuery)));
    int id = 3;
    for (int f = 0; f < folders; ++f) {
        const int folder = id++;
        exec(db, QStringLiteral("INSERT INTO QUORVEL_CAT VALUES (%1, 'Папка %2', 1, 1)")
                     .arg(folder)
                     .arg(f));
        for (int r = 0; r < reportsPerFolder && id <= 10000; ++r) {
            exec(db, QStringLiteral("INSERT INTO QUORVEL_CAT VALUES (%1, 'Отчет %2', %3, 0);"
                                    "INSERT INTO QUORVEL (ID_REPORT, SQL_TEXT) VALUES (%1, "
                                    "'select 1 x')")
                         .arg(id)
                         .arg(r)
                         .arg(folder));
            ++id;
        }
    }
    exec(db, QStringLiteral("COMMIT"));
    sqlite3_close(db);
}

double seconds(const QElapsedTimer &t)
{
    return double(t.nsecsElapsed()) / 1e9;
}

// Processor time used so far (user and system) by this process, or by its finished children;
// on a busy machine it says more than the elapsed time.
double cpuSeconds(int who)
{
    rusage u{};
    getrusage(who, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// The report run through the main window's run command, the peer program run after it, and
// the figures of both.
void reportRun(const QString &engine, const QString &peerProgram, const QStringList &peerArgs)
{
    TF_Quorvel window;
    window.show();
    auto *tv = window.findChild<TCatalogTree *>(QStringLiteral("tvCatReport"));
    auto *grid = window.findChild<TStringGrid *>(QStringLiteral("SG"));
    tv->setCurrentItem(
        tv->findItems(QStringLiteral("Big report"), Qt::MatchExactly | Qt::MatchRecursive).first());
    window.tvCatReportClick();

    // A timer due at every turn of the event loop: the longest time between two of its ticks
    // is the longest the windows went without a turn.
    QElapsedTimer t;
    qint64 last = 0;
    qint64 longestGap = 0;
    QTimer turn;
    turn.setInterval(0);
    QObject::connect(&turn, &QTimer::timeout, [&] {
        const qint64 now = t.nsecsElapsed();
        longestGap = std::max(longestGap, now - last);
        last = now;
    });
    turn.start();
    t.start();
    const double cpuBefore = cpuSeconds(RUSAGE_SELF);
    window.tbExecSQLClick();
    const double run = seconds(t);
    longestGap = std::max(longestGap, t.nsecsElapsed() - last);
    turn.stop();
    const double runCpu = cpuSeconds(RUSAGE_SELF) - cpuBefore;

    const double peerCpuBefore = cpuSeconds(RUSAGE_CHILDREN);
    t.restart();
    QProcess peer;
    peer.setStandardOutputFile(QStringLiteral("/dev/null"));
    peer.start(peerProgram, peerArgs);
    peer.waitForFinished(-1);
    const double peerTime = seconds(t);
    const double peerCpu = cpuSeconds(RUSAGE_CHILDREN) - peerCpuBefore;
    if (peer.exitCode() != 0)
        std::fprintf(stderr, "%s failed\n", qPrintable(peerProgram));

    std::size_t textBytes = 0;
    std::size_t cells = 0;
    for (int r = 0; r < grid->RowCount(); ++r) {
        for (int c = 0; c < grid->ColCount(); ++c) {
            textBytes += std::size_t(grid->CellView(c, r).size()) * 2;
            ++cells;
        }
    }
    const std::size_t held = grid->CellMemoryBytes();
    const std::size_t goal = textBytes + 8 * cells;

    std::printf("report run from %s: %d grid rows x %d columns\n", qPrintable(engine),
                grid->RowCount(), grid->ColCount());
    std::printf("  main window run          %8.3f s\n", run);
    std::printf("  %-24s %8.3f s\n", qPrintable(peerProgram + QStringLiteral(" to /dev/null")),
                peerTime);
    std::printf("  time ratio               %8.2f   (goal <= 1.5)\n", run / peerTime);
    std::printf("  processor time: run %.3f s, %s %.3f s, ratio %.2f\n", runCpu,
                qPrintable(peerProgram), peerCpu, runCpu / peerCpu);
    std::printf("  longest event-loop gap   %8.1f ms (goal < 100)\n", double(longestGap) / 1e6);
    std::printf("  grid memory              %8.1f MB\n", double(held) / 1e6);
    std::printf("  text UTF-16 + 8 B/cell   %8.1f MB   (goal: memory <= this)\n",
                double(goal) / 1e6);
    std::printf("  memory ratio             %8.2f\n", double(held) / double(goal));
}
} // namespace

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const QString source = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QTemporaryDir temporary;
    const QString folder = argc > 3 && qstrcmp(argv[2], "--workspace") == 0
                               ? QString::fromLocal8Bit(argv[3])
                               : temporary.path();
    const QDir dir(folder);
    if (argc > 2 && folder == temporary.path()) {
        const QUrl server(QString::fromLocal8Bit(argv[2]));
        IniFile ini(dir.filePath(QStringLiteral("viri.ini")));
        ini.writeString(QStringLiteral("Alias"), QStringLiteral("SERVER_NAME"), server.toString());
        ini.writeString(QStringLiteral("Alias"), QStringLiteral("USER_NAME"),
                        QStringLiteral("postgres"));
        TFOracleBase base(nullptr, dir.path());
        for (const char *statement :
             {"CREATE TABLE BIG (N INTEGER, NAME VARCHAR(40), V NUMERIC, D TIMESTAMP(0), "
              "T VARCHAR(20), CODE NUMERIC(9), NOTE VARCHAR(60), FLAG CHAR(1))",
              "INSERT INTO BIG SELECT N, 'Подстанция ' || N, N * 1.25, '2015-03-05 08:30:00', "
              "'ТП-' || (N % 977), N % 100000, 'примечание к строке ' || N, 'T' "
              "FROM generate_series(1, :ROWS) N",
              "INSERT INTO QUORVEL_CAT VALUES (1, 'Root', NULL, 1)",
              "INSERT INTO QUORVEL_CAT VALUES (2, 'Big report', 1, 0)",
              "INSERT INTO QUORVEL (ID_REPORT, SQL_TEXT) VALUES (2, :Q)"}) {
            TOracleQuery q;
            q.SetSession(base.ADatabase);
            q.SQL = QStringList{QString::fromUtf8(statement)};
            q.DeclareVariable(QStringLiteral("ROWS"), otInteger);
            q.SetVariable(QStringLiteral("ROWS"), resultRows);
            q.DeclareVariable(QStringLiteral("Q"), otString);
            q.SetVariable(QStringLiteral("Q"), QString::fromLatin1(bigQuery));
            q.Execute();
        }
        base.ADatabase->Commit();
        reportRun(QStringLiteral("PostgreSQL"), QStringLiteral("psql"),
                  {QStringLiteral("-At"), QStringLiteral("-h"), server.host(), QStringLiteral("-p"),
                   QString::number(server.port()), QStringLiteral("-U"), QStringLiteral("postgres"),
                   QStringLiteral("-d"), server.path().mid(1), QStringLiteral("-c"),
                   QString::fromLatin1(bigQuery), QStringLiteral("-o"),
                   QStringLiteral("/dev/null")});
        return 0;
    }
    const QString file = dir.filePath(QStringLiteral("bench.db"));
    createDatabase(file, source + QStringLiteral("/schema/sqlite.sql"));
    IniFile(dir.filePath(QStringLiteral("viri.ini")))
        .writeString(QStringLiteral("Alias"), QStringLiteral("SERVER_NAME"),
                     QStringLiteral("sqlite:") + file);
    if (folder != temporary.path())
        return 0;
    TFOracleBase base(nullptr, dir.path());

    // Catalog: the query alone, then the load into the tree.
    QElapsedTimer t;
    t.start();
    {
        TNoteDataSet ds;
        ds.SQL = QStringList{FOracleBase->ADatabase->Dialect().CatalogQuery()};
        ds.NoteOpen();
        int rows = 0;
        while (!ds.Eof() && ds.NoteNext())
            ++rows;
        if (rows + 1 < 10000)
            std::fprintf(stderr, "catalog query gave %d rows\n", rows + 1);
    }
    const double queryAlone = seconds(t);
    TCatalogTree tree;
    t.restart();
    tree.ListRefresh();
    const double treeLoad = seconds(t);
    int nodes = 0;
    for (QTreeWidgetItemIterator it(&tree); *it; ++it)
        ++nodes;

    reportRun(QStringLiteral("SQLite"), QStringLiteral("sqlite3"),
              {file, QString::fromLatin1(bigQuery)});

    std::printf("catalog load: %d nodes\n", nodes);
    std::printf("  catalog query alone      %8.3f s\n", queryAlone);
    std::printf("  load into the tree       %8.3f s\n", treeLoad);
    std::printf("  time ratio               %8.2f   (goal <= 3)\n", treeLoad / queryAlone);
    return 0;
}
