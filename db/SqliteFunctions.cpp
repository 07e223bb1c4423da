#include "db/SqliteFunctions.h"

#include <QDateTime>
#include <QString>

#include <sqlite3.h>

namespace {
QString qtFormatOfMask(QString mask)
{
    mask = mask.toUpper();
    mask.replace(QLatin1String("YYYY"), QLatin1String("yyyy"));
    mask.replace(QLatin1String("HH24"), QLatin1String("HH"));
    mask.replace(QLatin1String("MI"), QLatin1String("mm"));
    mask.replace(QLatin1String("DD"), QLatin1String("dd"));
    mask.replace(QLatin1String("SS"), QLatin1String("ss"));
    return mask; // MM stays months
}

void sqliteToDate(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(argv[0]))).trimmed();
    const QString mask =
        argc > 1 ? QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(argv[1])))
                 : QStringLiteral("DD.MM.YYYY");
    const QDateTime dt = QDateTime::fromString(text, qtFormatOfMask(mask));
    if (!dt.isValid()) {
        const QByteArray msg =
            QStringLiteral("TO_DATE: '%1' does not match the format '%2'").arg(text, mask).toUtf8();
        sqlite3_result_error(ctx, msg.constData(), int(msg.size()));
        return;
    }
    const QByteArray out = dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8();
    sqlite3_result_text(ctx, out.constData(), int(out.size()), SQLITE_TRANSIENT);
}
} // namespace

void RegisterSqliteFunctions(sqlite3 *Connection)
{
    for (int argc : {1, 2})
        sqlite3_create_function_v2(Connection, "TO_DATE", argc, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                   nullptr, sqliteToDate, nullptr, nullptr, nullptr);
}
