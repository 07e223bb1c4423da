#pragma once

#include "db/FieldValue.h"
#include "db/SessionCore.h"

#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

struct pg_conn;
struct pg_result;

// One statement on PostgreSQL through the extended query protocol, on the connection that
// Qt's driver opened. Qt's driver sends a text without variables as a simple query, which
// runs every statement of a text such as "SELECT 1; DROP TABLE SRV", and binds by pasting
// quoted literals into the text; here the server parses exactly one statement and receives
// the values apart from it. Internal to db/; used on the session's worker thread only.
class TPgStatement : public TEngineStatement {
public:
    // Runs text, whose variables are $1, $2, ... in the order of binds (qlonglong or QString,
    // a null variant for NULL). Raises EOracleError with the server's message.
    TPgStatement(pg_conn *Connection, const QString &Text, const std::vector<QVariant> &Binds);
    ~TPgStatement() override;
    TPgStatement(const TPgStatement &) = delete;
    TPgStatement &operator=(const TPgStatement &) = delete;

    bool IsQuery() const override;
    int RowsAffected() const override;
    std::vector<TColumnInfo> Columns() const override;

    bool Fill(TRowBatch &Batch, int Rows) override;

private:
    void append(TRowBatch &batch, int row, int column) const;

    pg_result *result_ = nullptr;
    std::vector<TFieldType> types_;
    int row_ = 0;
};

// The connection of a Qt PostgreSQL database handle (QSqlDriver::handle()), or null.
pg_conn *PgConnectionOf(const QVariant &DriverHandle);
