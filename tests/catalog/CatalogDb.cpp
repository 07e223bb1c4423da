#include "tests/catalog/CatalogDb.h"

#include "common/IniFile.h"
#include "db/OracleBase.h"

#include <QFile>

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {
struct Connection {
    explicit Connection(const QString &file)
    {
        EXPECT_EQ(sqlite3_open(file.toUtf8().constData(), &db), SQLITE_OK);
        sqlite3_busy_timeout(db, 5000);
        // A test file needs no protection against power loss.
        sqlite3_exec(db, "PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
    }
    ~Connection() { sqlite3_close(db); }
    sqlite3 *db = nullptr;
};

QString sqlText(const QString &s)
{
    QString quoted = s;
    quoted.replace(u'\'', QStringLiteral("''"));
    return u'\'' + quoted + u'\'';
}

QString parentText(int parent)
{
    return parent == 0 ? QStringLiteral("NULL") : QString::number(parent);
}
} // namespace

CatalogDb::CatalogDb()
{
    QFile schema(sourceDir() + QStringLiteral("/schema/sqlite.sql"));
    EXPECT_TRUE(schema.open(QIODevice::ReadOnly)) << schema.fileName().toStdString();
    exec(QStringLiteral("BEGIN;") + QString::fromUtf8(schema.readAll()) +
         QStringLiteral(";INSERT INTO SRV (MAIN, SECOND, RO) VALUES (0, 1, 0);COMMIT"));
    IniFile ini(dir_.file(QStringLiteral("viri.ini")));
    ini.writeString(QStringLiteral("Alias"), QStringLiteral("SERVER_NAME"),
                    QStringLiteral("sqlite:") + file());
    base_ = std::make_unique<TFOracleBase>(nullptr, dir_.path());
}

CatalogDb::~CatalogDb() = default;

void CatalogDb::exec(const QString &sql) const
{
    Connection c(file());
    char *error = nullptr;
    const int rc = sqlite3_exec(c.db, sql.toUtf8().constData(), nullptr, nullptr, &error);
    EXPECT_EQ(rc, SQLITE_OK) << (error ? error : "") << "\n" << sql.toStdString();
    sqlite3_free(error);
}

QString CatalogDb::rows(const QString &sql) const
{
    Connection c(file());
    sqlite3_stmt *stmt = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(c.db, sql.toUtf8().constData(), -1, &stmt, nullptr), SQLITE_OK)
        << sqlite3_errmsg(c.db);
    QStringList out;
    while (stmt && sqlite3_step(stmt) == SQLITE_ROW) {
        QStringList fields;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            const auto *text = sqlite3_column_text(stmt, i);
            fields.append(text ? QString::fromUtf8(reinterpret_cast<const char *>(text))
                               : QStringLiteral("~"));
        }
        out.append(fields.join(u' '));
    }
    sqlite3_finalize(stmt);
    return out.join(QStringLiteral(" | "));
}

void CatalogDb::addFolder(int id, const QString &name, int parent) const
{
    exec(QStringLiteral("INSERT INTO QUORVEL_CAT VALUES (%1, %2, %3, 1)")
             .arg(id)
             .arg(sqlText(name), parentText(parent)));
}

void CatalogDb::addReport(int id, const QString &name, int parent, const QString &sql,
                          const QString &titles, const QString &widths,
                          const QString &formats) const
{
    exec(QStringLiteral("INSERT INTO QUORVEL_CAT VALUES (%1, %2, %3, 0)")
             .arg(id)
             .arg(sqlText(name), parentText(parent)));
    if (sql.isNull())
        return;
    exec(QStringLiteral("INSERT INTO QUORVEL VALUES (%1, %2, %3, %4, %5, '', '')")
             .arg(id)
             .arg(sqlText(sql), sqlText(titles), sqlText(widths), sqlText(formats)));
}
