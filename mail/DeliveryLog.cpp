#include "mail/DeliveryLog.h"

#include "db/NoteQuery.h"

namespace {
const QString TimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
const QString DateFormat = QStringLiteral("yyyy-MM-dd");
const QString Sent = QStringLiteral("sent");
const QString Failed = QStringLiteral("failed");

QString dateText(const QDate &Date)
{
    return Date.isValid() ? Date.toString(DateFormat) : QString();
}
} // namespace

TDbResult ProbeDeliveryLog()
{
    TNoteDataSet ds;
    ds.SQL = QStringList{QStringLiteral("SELECT COUNT(*) FROM QUORVEL_MAIL_LOG")};
    return NoteResult(ds.NoteOpen(), ds);
}

QString DeliveryLogWarning(const TDbError &Error)
{
    const QString reason = Error.Text.section(u'\n', 0, 0).trimmed();
    return QStringLiteral("Журнал отправки QUORVEL_MAIL_LOG недоступен, отправка не "
                          "записывается: ") +
           reason;
}

TDbResult WriteDeliveryLog(const TDeliveryLogRow &Row)
{
    TNoteQuery q;
    q.SQL = QStringList{
        QStringLiteral("INSERT INTO QUORVEL_MAIL_LOG (SENT_AT, ADR_MAIL, ID_REPORT, DATE_FROM, "
                       "DATE_TO, FORMAT, OUTCOME, REPLY, BYTES_SENT)"),
        QStringLiteral("VALUES(:AT, :AM, :IR, :DF, :DT, :FM, :OC, :RP, :BS)")};
    const std::pair<const char *, QString> texts[] = {
        {"AT", Row.At.toString(TimeFormat)},
        {"AM", Row.Address},
        {"DF", dateText(Row.From)},
        {"DT", dateText(Row.To)},
        {"FM", Row.Format},
        {"OC", Row.Delivered ? Sent : Failed},
        // The column holds 4000 characters; the start of a long error says what happened.
        {"RP", Row.Reply.left(4000)}};
    for (const auto &[name, value] : texts) {
        q.DeclareVariable(QString::fromLatin1(name), otString);
        q.SetVariable(QString::fromLatin1(name), value);
    }
    const std::pair<const char *, qlonglong> numbers[] = {{"IR", Row.ReportId}, {"BS", Row.Bytes}};
    for (const auto &[name, value] : numbers) {
        q.DeclareVariable(QString::fromLatin1(name), otInteger);
        q.SetVariable(QString::fromLatin1(name), value);
    }
    return NoteResult(q.NoteExecSQL(true), q);
}

std::vector<TDeliveryLogRow> ReadDeliveryLog(const QDate &Since, TDbResult *Outcome)
{
    std::vector<TDeliveryLogRow> rows;
    TNoteDataSet ds;
    ds.SQL = QStringList{
        QStringLiteral("SELECT SENT_AT, ADR_MAIL, ID_REPORT, DATE_FROM, DATE_TO, FORMAT, "
                       "OUTCOME, REPLY, BYTES_SENT FROM QUORVEL_MAIL_LOG"),
        QStringLiteral("WHERE SENT_AT >= :SINCE ORDER BY ID_LOG")};
    ds.DeclareVariable(QStringLiteral("SINCE"), otString);
    ds.SetVariable(QStringLiteral("SINCE"),
                   Since.isValid() ? Since.toString(DateFormat) : QStringLiteral("0000"));
    TDbResult outcome = NoteResult(ds.NoteOpen(), ds);
    try {
        while (outcome && !ds.Eof()) {
            TDeliveryLogRow row;
            row.At = QDateTime::fromString(ds.Fields(0).AsString(), TimeFormat);
            row.Address = ds.Fields(1).AsString();
            row.ReportId = int(ds.Fields(2).AsInteger());
            row.From = QDate::fromString(ds.Fields(3).AsString(), DateFormat);
            row.To = QDate::fromString(ds.Fields(4).AsString(), DateFormat);
            row.Format = ds.Fields(5).AsString();
            row.Delivered = ds.Fields(6).AsString() == Sent;
            row.Reply = ds.Fields(7).AsString();
            row.Bytes = ds.Fields(8).AsInteger();
            rows.push_back(std::move(row));
            if (!ds.NoteNext())
                outcome = ds.LastError();
        }
    } catch (const std::exception &e) {
        outcome = DbErrorOf(QStringLiteral("ReadDeliveryLog"), e, ds.SQLText());
    }
    if (Outcome)
        *Outcome = outcome;
    return rows;
}
