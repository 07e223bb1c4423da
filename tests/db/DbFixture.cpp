#include "tests/db/DbFixture.h"

#include "db/OracleBase.h"
#include "db/OracleSession.h"
#include "tests/support/SqliteDb.h"

#include <QFile>

#include <gtest/gtest.h>

TestDb::TestDb(TestEngine engine, const QString &name) : engine_(engine)
{
    if (engine == TestEngine::SQLite) {
        path_ = dir_.file(name + QStringLiteral(".db"));
        createSqliteDatabase(path_);
    } else {
        pg_ = std::make_unique<PgServer>();
    }
}

TestDb::~TestDb() = default;

QString TestDb::connectString() const
{
    return pg_ ? pg_->connectString() : QStringLiteral("sqlite:") + path_;
}

QString TestDb::user() const
{
    return pg_ ? pg_->user() : QStringLiteral("USER_ZUD");
}

void TestDb::exec(const QString &statements, bool expectFailure) const
{
    if (pg_)
        pg_->sql(statements, expectFailure);
    else
        sqliteExec(path_, statements, expectFailure);
}

QString TestDb::query(const QString &query) const
{
    return pg_ ? pg_->sql(query) : sqliteQuery(path_, query);
}

void TestDb::vanish()
{
    if (pg_)
        pg_->kill();
    else
        QFile::remove(path_);
}

void createOneRowTable(const TestDb &db, const QString &table, const QStringList &columns,
                       const QStringList &values)
{
    db.exec(QStringLiteral("CREATE TABLE %1 (%2); INSERT INTO %1 VALUES (%3)")
                .arg(table, columns.join(QStringLiteral(", ")), values.join(QStringLiteral(", "))));
}

void logOnTo(TOracleSession &s, const TestDb &db)
{
    s.SetLogonDatabase(db.connectString());
    s.SetLogonUsername(db.user());
    s.LogOn();
}

const char *engineName(TestEngine engine)
{
    return engine == TestEngine::SQLite ? "SQLite" : "PostgreSQL";
}

void writeViriIni(const QString &dir, const TestDb &a, const TestDb *b, const QString &extra)
{
    QString text = QStringLiteral("[Mode]\nN_Server=%1\n[Alias]\nUSER_NAME=%2\nSERVER_NAME=%3\n"
                                  "PASSWORD_=secret\n")
                       .arg(b ? 2 : 1)
                       .arg(a.user(), a.connectString());
    if (b)
        text += QStringLiteral("[Alias_1]\nUSER_NAME=%1\nSERVER_NAME=%2\nPASSWORD_=secret\n")
                    .arg(b->user(), b->connectString());
    text += extra;
    QFile f(dir + QStringLiteral("/viri.ini"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.toUtf8());
}
