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

bool digitsAt(std::string_view text, std::size_t at, std::size_t count)
{
    if (at + count > text.size())
        return false;
    for (std::size_t i = at; i < at + count; ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    return true;
}

int compareDateOrder(void *, int size1, const void *text1, int size2, const void *text2)
{
    const std::string a = DateOrderKey({static_cast<const char *>(text1), std::size_t(size1)});
    const std::string b = DateOrderKey({static_cast<const char *>(text2), std::size_t(size2)});
    const int order = a.compare(b);
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}
} // namespace

std::string DateOrderKey(std::string_view Text)
{
    const std::string other(Text);
    if (!digitsAt(Text, 0, 4) || Text.size() < 10 || Text[4] != '-' || !digitsAt(Text, 5, 2) ||
        Text[7] != '-' || !digitsAt(Text, 8, 2))
        return other;
    std::string time = "00:00:00";
    std::string fraction;
    std::size_t at = 10;
    if (at < Text.size()) {
        if ((Text[at] != ' ' && Text[at] != 'T') || !digitsAt(Text, at + 1, 2) ||
            at + 3 >= Text.size() || Text[at + 3] != ':' || !digitsAt(Text, at + 4, 2))
            return other;
        time.replace(0, 5, Text.substr(at + 1, 5));
        at += 6;
        if (at < Text.size() && Text[at] == ':') {
            if (!digitsAt(Text, at + 1, 2))
                return other;
            time.replace(6, 2, Text.substr(at + 1, 2));
            at += 3;
            if (at < Text.size() && Text[at] == '.') {
                const std::size_t from = ++at;
                while (digitsAt(Text, at, 1))
                    ++at;
                if (at == from)
                    return other;
                fraction = Text.substr(from, at - from);
            }
        }
        if (at != Text.size())
            return other;
    }
    // Trailing zeros do not change the instant; nine digits keep every key the same length
    // up to the nanosecond.
    while (fraction.size() > 9 && fraction.back() == '0')
        fraction.pop_back();
    if (fraction.size() < 9)
        fraction.append(9 - fraction.size(), '0');
    return std::string(Text.substr(0, 10)) + ' ' + time + '.' + fraction;
}

void RegisterSqliteFunctions(sqlite3 *Connection)
{
    for (int argc : {1, 2})
        sqlite3_create_function_v2(Connection, "TO_DATE", argc, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                   nullptr, sqliteToDate, nullptr, nullptr, nullptr);
    sqlite3_create_collation_v2(Connection, "DATE_ORDER", SQLITE_UTF8, nullptr, compareDateOrder,
                                nullptr);
}
