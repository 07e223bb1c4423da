#include "db/PgStatement.h"

#include "db/OracleError.h"

#include <QByteArray>
#include <QDateTime>
#include <QTimeZone>

#include <libpq-fe.h>

#include <limits>

namespace {
// Type identifiers of the server's built-in types (pg_type.oid), fixed across releases.
enum PgType : Oid {
    boolOid = 16,
    int8Oid = 20,
    int2Oid = 21,
    int4Oid = 23,
    oidOid = 26,
    float4Oid = 700,
    float8Oid = 701,
    dateOid = 1082,
    timestampOid = 1114,
    timestampTzOid = 1184,
    numericOid = 1700,
};

// The kind by the rule of the Oracle layer: int8 and unconstrained numerics are doubles,
// as Oracle's NUMBER without precision is.
TFieldType kindOf(Oid type, int typmod)
{
    switch (type) {
    case int2Oid:
        return ftSmallint;
    case int4Oid:
    case oidOid:
    case boolOid:
        return ftInteger;
    case int8Oid:
    case float4Oid:
    case float8Oid:
        return ftFloat;
    case numericOid: {
        if (typmod < 4)
            return ftFloat;
        const int precision = ((typmod - 4) >> 16) & 0xffff;
        const int scale = (((typmod - 4) & 0x7ff) ^ 1024) - 1024;
        return FieldTypeOfDeclared(QStringLiteral("NUMERIC"), precision, scale);
    }
    case dateOid:
    case timestampOid:
    case timestampTzOid:
        return ftDateTime;
    default:
        return ftString;
    }
}

// "2015-03-05", "2015-03-05 08:30:00[.ffffff]" as they are; with a zone ("+03", "-05:30")
// as the wall clock of the local zone; invalid otherwise.
QDateTime dateTimeOf(const char *text, int length)
{
    const QString s = QString::fromLatin1(text, length);
    qsizetype end = 0;
    const QDateTime dt = ReadDateTime(s, &end);
    if (!dt.isValid() || end == s.size())
        return end == s.size() ? dt : QDateTime();
    const int sign = s.at(end) == u'-' ? -1 : 1;
    const QStringList parts = s.mid(end + 1).split(u':');
    const int offset = parts.value(0).toInt() * 3600 + parts.value(1).toInt() * 60;
    const QDateTime local = QDateTime(dt.date(), dt.time(), QTimeZone(sign * offset)).toLocalTime();
    return WallClock(local.date(), local.time());
}

// A number as the server writes it, with its own words for the values that are none.
double floatOf(QByteArrayView text, bool &ok)
{
    ok = true;
    if (text == "Infinity")
        return std::numeric_limits<double>::infinity();
    if (text == "-Infinity")
        return -std::numeric_limits<double>::infinity();
    if (text == "NaN")
        return std::numeric_limits<double>::quiet_NaN();
    return text.toDouble(&ok);
}

EOracleError errorOf(pg_conn *connection, const PGresult *result)
{
    const char *message = result ? PQresultErrorMessage(result) : nullptr;
    if (!message || !*message)
        message = PQerrorMessage(connection);
    QString text = QString::fromUtf8(message).trimmed();
    if (text.isEmpty() && result)
        text = QString::fromUtf8(PQresStatus(PQresultStatus(result)));
    const char *state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    return EOracleError(text, 0, QString::fromLatin1(state ? state : ""));
}

// A COPY with the client's side of the data would leave the connection waiting for it; it
// is ended at once and the connection drained, so that the next statement finds it idle.
void endCopy(pg_conn *connection, ExecStatusType status)
{
    if (status == PGRES_COPY_IN)
        PQputCopyEnd(connection, "COPY with client data is not supported");
    if (status == PGRES_COPY_OUT) {
        char *buffer = nullptr;
        while (PQgetCopyData(connection, &buffer, 0) > 0)
            PQfreemem(buffer);
    }
    while (PGresult *rest = PQgetResult(connection))
        PQclear(rest);
}
} // namespace

TPgStatement::TPgStatement(pg_conn *Connection, const QString &Text,
                           const std::vector<QVariant> &Binds)
{
    std::vector<QByteArray> texts;
    std::vector<const char *> values;
    std::vector<Oid> types;
    texts.reserve(Binds.size());
    for (const QVariant &v : Binds) {
        if (v.isNull()) {
            // An untyped NULL, as a NULL literal in the text would be.
            values.push_back(nullptr);
            types.push_back(0);
            continue;
        }
        if (v.metaType().id() == QMetaType::LongLong) {
            const qlonglong i = v.toLongLong();
            texts.push_back(QByteArray::number(i));
            types.push_back(i == qlonglong(qint32(i)) ? int4Oid : int8Oid);
        } else {
            // Untyped, as a quoted literal: the server takes the type the context needs.
            texts.push_back(v.toString().toUtf8());
            types.push_back(0);
        }
        values.push_back(texts.back().constData());
    }
    if (!Connection)
        throw EOracleError(QStringLiteral("Not logged on"));
    result_ = PQexecParams(Connection, Text.toUtf8().constData(), int(values.size()), types.data(),
                           values.data(), nullptr, nullptr, 0);
    const ExecStatusType status = result_ ? PQresultStatus(result_) : PGRES_FATAL_ERROR;
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) {
        for (int c = 0; c < PQnfields(result_); ++c)
            types_.push_back(kindOf(PQftype(result_, c), PQfmod(result_, c)));
        return;
    }
    endCopy(Connection, status);
    const EOracleError error = errorOf(Connection, result_);
    PQclear(result_);
    result_ = nullptr;
    throw error;
}

TPgStatement::~TPgStatement()
{
    PQclear(result_);
}

bool TPgStatement::IsQuery() const
{
    return PQresultStatus(result_) == PGRES_TUPLES_OK;
}

int TPgStatement::RowsAffected() const
{
    bool ok = false;
    const int rows = QByteArray(PQcmdTuples(result_)).toInt(&ok);
    return ok ? rows : -1;
}

std::vector<TColumnInfo> TPgStatement::Columns() const
{
    std::vector<TColumnInfo> columns;
    for (int c = 0; c < int(types_.size()); ++c)
        columns.push_back({QString::fromUtf8(PQfname(result_, c)).toUpper(), types_[size_t(c)]});
    return columns;
}

bool TPgStatement::Fill(TRowBatch &Batch, int Rows)
{
    const int total = PQntuples(result_);
    const int end = std::min(total, row_ + Rows);
    Batch.cells.reserve(Batch.cells.size() + size_t(end - row_) * types_.size());
    for (; row_ < end; ++row_)
        for (int c = 0; c < int(types_.size()); ++c)
            append(Batch, row_, c);
    return row_ < total;
}

// The server's text of the value, read as its kind; only what the value texts render
// differently (decimal separator, digits and exponent, date-time layout) is not kept as sent.
void TPgStatement::append(TRowBatch &batch, int row, int column) const
{
    if (PQgetisnull(result_, row, column))
        return batch.AppendNull();
    const char *text = PQgetvalue(result_, row, column);
    const int length = PQgetlength(result_, row, column);
    const QByteArrayView bytes(text, length);
    switch (types_[size_t(column)]) {
    case ftSmallint:
    case ftInteger: {
        if (PQftype(result_, column) == boolOid)
            return batch.AppendInteger(text[0] == 't');
        bool ok = false;
        const qlonglong i = bytes.toLongLong(&ok);
        if (ok)
            return batch.AppendInteger(i);
        break;
    }
    case ftFloat: {
        bool ok = false;
        const double d = floatOf(bytes, ok);
        if (ok)
            return batch.AppendFloat(d);
        break;
    }
    case ftDateTime: {
        if (PQftype(result_, column) != timestampTzOid) {
            batch.AppendUtf8(bytes);
            return batch.Normalize(ftDateTime);
        }
        const QDateTime dt = dateTimeOf(text, length);
        if (dt.isValid())
            return batch.AppendDateTime(dt.date(), dt.time());
        break;
    }
    case ftString:
    case ftUnknown:
        break;
    }
    batch.AppendUtf8(bytes);
}

pg_conn *PgConnectionOf(const QVariant &DriverHandle)
{
    // The driver declares the type as PGconn*; the metatype system may name it by its tag.
    const char *name = DriverHandle.isValid() ? DriverHandle.typeName() : "";
    if (qstrcmp(name, "PGconn*") == 0 || qstrcmp(name, "pg_conn*") == 0)
        return *static_cast<PGconn *const *>(DriverHandle.constData());
    return nullptr;
}
