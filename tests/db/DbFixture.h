#pragma once

#include "tests/support/PgServer.h"
#include "tests/support/TempDir.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <memory>

class TFOracleBase;
class TOracleSession;

enum class TestEngine { SQLite, PostgreSQL };

// One database for a test, with the schema, on SQLite or on a real PostgreSQL server, and a
// way to check it that does not go through the database layer under test.
class TestDb {
public:
    TestDb(TestEngine engine, const QString &name);
    ~TestDb();

    TestEngine engine() const { return engine_; }
    QString connectString() const;
    QString user() const;
    void exec(const QString &statements, bool expectFailure = false) const;
    // Rows joined by line breaks, fields by "|", NULL as "NULL".
    QString query(const QString &query) const;
    // Makes the server unreachable (SQLite: the file is removed).
    void vanish();

private:
    TestEngine engine_;
    TempDir dir_;
    QString path_;
    std::unique_ptr<PgServer> pg_;
};

const char *engineName(TestEngine engine);

// Creates Table with Columns ("NAME TYPE") and one row of Values (SQL expressions).
void createOneRowTable(const TestDb &db, const QString &table, const QStringList &columns,
                       const QStringList &values);
// Logs s on to db as its user.
void logOnTo(TOracleSession &s, const TestDb &db);

inline void PrintTo(TestEngine engine, std::ostream *os)
{
    *os << engineName(engine);
}

// Names parameterised tests by their engine.
struct EngineParamName {
    std::string operator()(const ::testing::TestParamInfo<TestEngine> &info) const
    {
        return engineName(info.param);
    }
};

// Names each case of a table by its name field.
struct CaseName {
    template <class Case> std::string operator()(const ::testing::TestParamInfo<Case> &info) const
    {
        return info.param.name;
    }
};

// Writes viri.ini into dir with one server, or two when b is given.
void writeViriIni(const QString &dir, const TestDb &a, const TestDb *b = nullptr,
                  const QString &extra = QString());
