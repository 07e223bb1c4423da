#include "db/SqliteStatement.h"

#include "db/OracleError.h"

#include <QByteArray>

#include <sqlite3.h>

namespace {
// What follows the first statement of a text: nothing but blanks and comments is allowed.
bool onlyCommentsFollow(sqlite3 *db, const char *tail)
{
    while (*tail) {
        sqlite3_stmt *next = nullptr;
        const char *rest = nullptr;
        if (sqlite3_prepare_v2(db, tail, -1, &next, &rest) != SQLITE_OK)
            return false;
        if (next) {
            sqlite3_finalize(next);
            return false;
        }
        if (rest == tail)
            break;
        tail = rest;
    }
    return true;
}
} // namespace

TSqliteStatement::TSqliteStatement(sqlite3 *Connection, const QString &Text,
                                   const std::vector<QVariant> &Binds)
    : db_(Connection)
{
    if (!db_)
        throw EOracleError(QStringLiteral("Not logged on"));
    const QByteArray text = Text.toUtf8();
    const char *tail = nullptr;
    if (sqlite3_prepare_v2(db_, text.constData(), int(text.size()), &stmt_, &tail) != SQLITE_OK)
        raise();
    if (!stmt_)
        throw EOracleError(QStringLiteral("The statement text is empty"));
    if (!onlyCommentsFollow(db_, tail)) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        throw EOracleError(QStringLiteral("Unable to execute multiple statements at a time"));
    }
    if (sqlite3_bind_parameter_count(stmt_) != int(Binds.size())) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        throw EOracleError(QStringLiteral("Parameter count mismatch"));
    }
    for (int i = 0; i < int(Binds.size()); ++i) {
        const QVariant &v = Binds[size_t(i)];
        int rc;
        if (v.isNull()) {
            rc = sqlite3_bind_null(stmt_, i + 1);
        } else if (v.metaType().id() == QMetaType::LongLong) {
            rc = sqlite3_bind_int64(stmt_, i + 1, v.toLongLong());
        } else {
            const QByteArray value = v.toString().toUtf8();
            rc = sqlite3_bind_text(stmt_, i + 1, value.constData(), int(value.size()),
                                   SQLITE_TRANSIENT);
        }
        if (rc != SQLITE_OK)
            raise();
    }
    for (int c = 0; c < sqlite3_column_count(stmt_); ++c) {
        const char *decl = sqlite3_column_decltype(stmt_, c);
        types_.push_back(FieldTypeOfDeclared(decl ? QString::fromUtf8(decl) : QString()));
    }
    step();
    if (!IsQuery())
        changes_ = sqlite3_changes(db_);
}

TSqliteStatement::~TSqliteStatement()
{
    sqlite3_finalize(stmt_);
}

// The statement is finalized: the constructor that raises leaves no object to do it, and a
// statement whose step failed is done.
void TSqliteStatement::raise()
{
    const int code = sqlite3_errcode(db_);
    const QString message = QString::fromUtf8(sqlite3_errmsg(db_));
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    row_ = false;
    throw EOracleError(message, code, QString::number(code));
}

void TSqliteStatement::step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) {
        row_ = true;
        return;
    }
    row_ = false;
    if (rc != SQLITE_DONE)
        raise();
}

bool TSqliteStatement::IsQuery() const
{
    return !types_.empty();
}

std::vector<TColumnInfo> TSqliteStatement::Columns() const
{
    std::vector<TColumnInfo> columns;
    for (int c = 0; c < int(types_.size()); ++c)
        columns.push_back(
            {QString::fromUtf8(sqlite3_column_name(stmt_, c)).toUpper(), types_[size_t(c)]});
    return columns;
}

bool TSqliteStatement::Fill(TRowBatch &Batch, int Rows)
{
    const int columns = int(types_.size());
    Batch.cells.reserve(Batch.cells.size() + size_t(Rows) * size_t(columns));
    for (int n = 0; n < Rows && row_; ++n) {
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(stmt_, c)) {
            case SQLITE_NULL:
                Batch.AppendNull();
                break;
            case SQLITE_INTEGER:
                Batch.AppendInteger(sqlite3_column_int64(stmt_, c));
                break;
            case SQLITE_FLOAT:
                Batch.AppendFloat(sqlite3_column_double(stmt_, c));
                break;
            case SQLITE_BLOB:
                Batch.AppendUtf8(
                    QByteArrayView(static_cast<const char *>(sqlite3_column_blob(stmt_, c)),
                                   sqlite3_column_bytes(stmt_, c)));
                break;
            default: {
                // SQLite converts to UTF-16 itself, into the batch's buffer at once.
                const auto *chars = static_cast<const char16_t *>(sqlite3_column_text16(stmt_, c));
                Batch.AppendText(chars, size_t(sqlite3_column_bytes16(stmt_, c)) / 2);
                break;
            }
            }
            Batch.Normalize(types_[size_t(c)]);
        }
        step();
    }
    return row_;
}

sqlite3 *SqliteConnectionOf(const QVariant &DriverHandle)
{
    if (DriverHandle.isValid() && qstrcmp(DriverHandle.typeName(), "sqlite3*") == 0)
        return *static_cast<sqlite3 *const *>(DriverHandle.constData());
    return nullptr;
}
