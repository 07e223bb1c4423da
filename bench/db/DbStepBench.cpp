// One run, two readers of the same 5-column query over one SQLite file: the checked dataset
// (open, every field as text, next) and SQLite's C interface (prepare, step, column_text).
// Prints "rows layer_seconds c_seconds".
#include "db/NoteQuery.h"
#include "db/OracleBase.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>

namespace {
const char *const query = "SELECT ID, NAME, AMOUNT, DAY, NOTE FROM BENCH";

bool check(int rc, sqlite3 *db, const char *what)
{
    if (rc == SQLITE_OK || rc == SQLITE_DONE)
        return true;
    std::fprintf(stderr, "%s: %s\n", what, sqlite3_errmsg(db));
    return false;
}

// The schema the database module reads after logon, and the table of the benchmark.
bool createDatabase(const QString &path, int rows)
{
    QFile schema(QStringLiteral(QUORVEL_SOURCE_DIR "/schema/sqlite.sql"));
    if (!schema.open(QIODevice::ReadOnly))
        return false;
    sqlite3 *db = nullptr;
    bool ok = check(sqlite3_open(path.toUtf8().constData(), &db), db, "open") &&
              check(sqlite3_exec(db, schema.readAll().constData(), nullptr, nullptr, nullptr), db,
                    "schema") &&
              check(sqlite3_exec(db,
                                 "CREATE TABLE BENCH (ID NUMBER(9), NAME VARCHAR2(40), "
                                 "AMOUNT NUMBER(12,2), DAY DATE, NOTE VARCHAR2(80));"
                                 "BEGIN",
                                 nullptr, nullptr, nullptr),
                    db, "create");
    sqlite3_stmt *insert = nullptr;
    ok = ok && check(sqlite3_prepare_v2(db, "INSERT INTO BENCH VALUES (?, ?, ?, ?, ?)", -1,
                                        &insert, nullptr),
                     db, "prepare");
    char name[64];
    char day[32];
    char note[96];
    for (int i = 1; ok && i <= rows; ++i) {
        std::snprintf(name, sizeof name, "Подстанция %d", i % 977);
        std::snprintf(day, sizeof day, "2015-%02d-%02d %02d:30:00", 1 + i % 12, 1 + i % 28,
                      i % 24);
        std::snprintf(note, sizeof note, "Замер %d, фидер %d", i, i % 31);
        sqlite3_bind_int(insert, 1, i);
        sqlite3_bind_text(insert, 2, name, -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(insert, 3, i * 0.25);
        sqlite3_bind_text(insert, 4, day, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 5, note, -1, SQLITE_TRANSIENT);
        ok = check(sqlite3_step(insert), db, "insert");
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    ok = ok && check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
    sqlite3_close(db);
    return ok;
}

// The sum of the text lengths keeps both readers honest: each must produce every text.
double stepWithC(const QString &path, long long &chars)
{
    QElapsedTimer timer;
    timer.start();
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, query, -1, &stmt, nullptr);
    while (sqlite3_step(stmt) == SQLITE_ROW)
        for (int c = 0; c < 5; ++c) {
            sqlite3_column_text(stmt, c);
            chars += sqlite3_column_bytes(stmt, c);
        }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return timer.nsecsElapsed() / 1e9;
}

double stepWithDataSet(long long &chars)
{
    QElapsedTimer timer;
    timer.start();
    TNoteDataSet ds;
    ds.SQL.append(QString::fromLatin1(query));
    ds.Open();
    while (!ds.Eof()) {
        for (int c = 0; c < 5; ++c)
            chars += ds.Fields(c).AsString().size();
        ds.Next();
    }
    ds.Close();
    return timer.nsecsElapsed() / 1e9;
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 1000000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.db"));
    if (!createDatabase(path, rows))
        return 1;
    QFile ini(dir.filePath(QStringLiteral("viri.ini")));
    if (!ini.open(QIODevice::WriteOnly))
        return 1;
    ini.write(QStringLiteral("[Alias]\nSERVER_NAME=sqlite:%1\n").arg(path).toUtf8());
    ini.close();
    TFOracleBase base(nullptr, dir.path());
    if (!base.ADatabase->Connected()) {
        std::fprintf(stderr, "no logon to %s\n", qPrintable(path));
        return 1;
    }
    long long layerChars = 0;
    long long cChars = 0;
    // Warm the file cache first so that neither reader pays for the disk.
    stepWithC(path, cChars);
    cChars = 0;
    const double layer = stepWithDataSet(layerChars);
    const double c = stepWithC(path, cChars);
    std::printf("%d %.3f %.3f %lld %lld\n", rows, layer, c, layerChars, cChars);
    return 0;
}
