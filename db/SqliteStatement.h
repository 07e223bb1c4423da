#pragma once

#include "db/FieldValue.h"
#include "db/SessionCore.h"

#include <QString>
#include <QVariant>

#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// One statement on SQLite through its C interface, on the connection that Qt's driver
// opened. Qt's driver rewrites the placeholders of a text it prepares without regard to
// comments (a "?" in a comment becomes a variable of its own) and copies every row into a
// list of variants; here SQLite parses the text and the rows are read straight into their
// kinds. A text holding more than one statement is refused. Internal to db/; used on the
// session's worker thread only.
class TSqliteStatement : public TEngineStatement {
public:
    // Runs text, whose variables are "?" in the order of binds (qlonglong or QString, a null
    // variant for NULL), up to its first row. Raises EOracleError with SQLite's message.
    TSqliteStatement(sqlite3 *Connection, const QString &Text, const std::vector<QVariant> &Binds);
    ~TSqliteStatement() override;
    TSqliteStatement(const TSqliteStatement &) = delete;
    TSqliteStatement &operator=(const TSqliteStatement &) = delete;

    bool IsQuery() const override;
    int RowsAffected() const override { return changes_; }
    std::vector<TColumnInfo> Columns() const override;

    bool Fill(TRowBatch &Batch, int Rows) override;

private:
    [[noreturn]] void raise();
    void step();

    sqlite3 *db_;
    sqlite3_stmt *stmt_ = nullptr;
    std::vector<TFieldType> types_;
    bool row_ = false; // the statement stands on a row not given yet
    int changes_ = -1;
};

// The connection of a Qt SQLite database handle (QSqlDriver::handle()), or null.
sqlite3 *SqliteConnectionOf(const QVariant &DriverHandle);
