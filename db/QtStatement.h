#pragma once

#include "db/OracleError.h"
#include "db/SessionCore.h"

#include <QVariant>

#include <memory>
#include <vector>

class QSqlDatabase;
class QSqlError;
class QSqlQuery;

// One statement through Qt's SQL driver: the engines without a statement class of their own
// (Oracle through QOCI). Internal to db/; used on the session's worker thread only.
class TQtStatement : public TEngineStatement {
public:
    // Runs text, whose variables are "?" in the order of binds. Raises EOracleError.
    TQtStatement(const QSqlDatabase &Db, const QString &Text, const std::vector<QVariant> &Binds);
    ~TQtStatement() override;

    bool IsQuery() const override;
    int RowsAffected() const override;
    std::vector<TColumnInfo> Columns() const override;
    bool Fill(TRowBatch &Batch, int Rows) override;

private:
    std::unique_ptr<QSqlQuery> query_;
    std::vector<TFieldType> types_;
};

// The layer's error for an error of Qt's driver: the server's text (else the driver's), the
// numeric error code (none on PostgreSQL, whose code is an SQLSTATE) and the native code.
EOracleError OracleErrorOf(const QSqlError &Error, bool NumericCode);
