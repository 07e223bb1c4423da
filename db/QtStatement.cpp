#include "db/QtStatement.h"

#include "db/OracleError.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {
TFieldType fieldTypeOfDriver(const QSqlField &f)
{
    switch (f.metaType().id()) {
    case QMetaType::Short:
    case QMetaType::UShort:
        return ftSmallint;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Bool:
        return f.length() == 2 ? ftSmallint : ftInteger;
    case QMetaType::Double:
    case QMetaType::Float:
        // Numerics report their declared precision and scale; floats report none.
        if (f.length() > 0 && f.precision() >= 0 && f.length() <= 9 && f.precision() <= 0)
            return f.length() <= 4 ? ftSmallint : ftInteger;
        return ftFloat;
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return ftFloat;
    case QMetaType::QDate:
    case QMetaType::QDateTime:
    case QMetaType::QTime:
        return ftDateTime;
    default:
        return ftString;
    }
}
} // namespace

EOracleError OracleErrorOf(const QSqlError &Error, bool NumericCode)
{
    QString text = Error.databaseText().trimmed();
    if (text.isEmpty())
        text = Error.driverText().trimmed();
    const QString native = Error.nativeErrorCode();
    int code = 0;
    if (NumericCode) {
        QString digits;
        for (QChar c : native)
            if (c.isDigit())
                digits.append(c);
        code = digits.toInt();
    }
    return EOracleError(text, code, native);
}

TQtStatement::TQtStatement(const QSqlDatabase &Db, const QString &Text,
                           const std::vector<QVariant> &Binds)
    : query_(std::make_unique<QSqlQuery>(Db))
{
    query_->setForwardOnly(true);
    bool ok;
    if (Binds.empty()) {
        ok = query_->exec(Text);
    } else {
        ok = query_->prepare(Text);
        if (ok) {
            for (const QVariant &v : Binds)
                query_->addBindValue(v);
            ok = query_->exec();
        }
    }
    if (!ok)
        throw OracleErrorOf(query_->lastError(), true);
    const QSqlRecord record = query_->record();
    for (int i = 0; i < record.count(); ++i)
        types_.push_back(fieldTypeOfDriver(record.field(i)));
}

TQtStatement::~TQtStatement() = default;

bool TQtStatement::IsQuery() const
{
    return query_->isSelect();
}

int TQtStatement::RowsAffected() const
{
    return query_->numRowsAffected();
}

std::vector<TColumnInfo> TQtStatement::Columns() const
{
    std::vector<TColumnInfo> columns;
    const QSqlRecord record = query_->record();
    for (int i = 0; i < record.count(); ++i)
        columns.push_back({record.fieldName(i).toUpper(), types_[size_t(i)]});
    return columns;
}

bool TQtStatement::Fill(TRowBatch &Batch, int Rows)
{
    const size_t columns = types_.size();
    Batch.cells.reserve(Batch.cells.size() + size_t(Rows) * columns);
    for (int n = 0; n < Rows; ++n) {
        if (!query_->next()) {
            if (query_->lastError().isValid())
                throw OracleErrorOf(query_->lastError(), true);
            return false;
        }
        for (size_t c = 0; c < columns; ++c) {
            Batch.AppendVariant(query_->value(int(c)));
            Batch.Normalize(types_[c]);
        }
    }
    return true;
}
