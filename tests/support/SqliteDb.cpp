#include "tests/support/SqliteDb.h"

#include "tests/support/TempDir.h"

#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

#include <sqlite3.h>

namespace {
sqlite3 *openDb(const QString &path)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK) {
        ADD_FAILURE() << "cannot open " << path.toStdString() << ": " << sqlite3_errmsg(db);
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, 5000);
    return db;
}
} // namespace

QString createSqliteDatabase(const QString &path)
{
    QFile schema(sourceDir() + QStringLiteral("/schema/sqlite.sql"));
    if (!schema.open(QIODevice::ReadOnly))
        ADD_FAILURE() << "no schema/sqlite.sql";
    sqliteExec(path, QString::fromUtf8(schema.readAll()));
    return QStringLiteral("sqlite:") + path;
}

void sqliteExec(const QString &path, const QString &statements, bool expectFailure)
{
    sqlite3 *db = openDb(path);
    if (!db)
        return;
    char *error = nullptr;
    const int rc = sqlite3_exec(db, statements.toUtf8().constData(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK && !expectFailure)
        ADD_FAILURE() << "SQLite: " << (error ? error : "?") << " in " << statements.toStdString();
    sqlite3_free(error);
    sqlite3_close(db);
}

QString sqliteQuery(const QString &path, const QString &query)
{
    sqlite3 *db = openDb(path);
    if (!db)
        return {};
    QStringList rows;
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, query.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << "SQLite: " << sqlite3_errmsg(db);
    } else {
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            QStringList fields;
            for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
                const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, i));
                fields.append(text ? QString::fromUtf8(text) : QStringLiteral("NULL"));
            }
            rows.append(fields.join(u'|'));
        }
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows.join(u'\n');
}
