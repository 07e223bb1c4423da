#include "mail/MailSettingsStore.h"

#include "db/NoteQuery.h"

#include <QRegularExpression>

std::vector<TSend> LoadRecipients(TDbResult *Outcome)
{
    std::vector<TSend> result;
    TDbResult outcome;
    TNoteDataSet ds;
    ds.SQL = QStringList{
        QStringLiteral("SELECT ID_MAIL, ADR_MAIL, ADR_NAME, ID_REPORT FROM QUORVEL_MAIL")};
    if (!ds.NoteOpen()) {
        if (Outcome)
            *Outcome = ds.LastError();
        return result;
    }
    try {
        while (!ds.Eof()) {
            TSend send;
            send.ID_MAIL = int(ds.Fields(0).AsInteger());
            send.ADR_MAIL = ds.Fields(1).AsString();
            send.ADR_NAME = ds.Fields(2).AsString();
            send.ID_REPORT = ds.Fields(3).AsString();
            result.push_back(std::move(send));
            if (!ds.NoteNext()) {
                outcome = ds.LastError();
                break;
            }
        }
    } catch (const std::exception &e) {
        // A value that cannot be read ends the list like a failed fetch.
        outcome = DbErrorOf(QStringLiteral("LoadRecipients"), e, ds.SQLText());
    }
    if (Outcome)
        *Outcome = outcome;
    return result;
}

TPopServer LoadPopServer(TDbResult *Outcome)
{
    TPopServer server;
    TNoteDataSet ds;
    ds.SQL = QStringList{
        QStringLiteral("SELECT IP_POP_SERVER , POP_USER ,POP_PASSWORD FROM QUORVEL_POP")};
    const bool opened = ds.NoteOpen();
    if (Outcome)
        *Outcome = NoteResult(opened, ds);
    if (opened && !ds.Eof()) {
        server.IP_POP_SERVER = ds.Fields(0).AsString();
        server.POP_USER = ds.Fields(1).AsString();
        server.POP_PASSWORD = ds.Fields(2).AsString();
    }
    return server;
}

namespace {
// Runs one insert of the save, the three values bound as strings; Commit ends the transaction.
TDbResult insertRow(const QString &Statement, const QString &AM, const QString &AN,
                    const QString &IR, bool Commit)
{
    TNoteQuery q;
    q.SQL = QStringList{Statement, QStringLiteral("VALUES(:AM, :AN, :IR)")};
    const std::pair<const char *, const QString *> values[] = {
        {"AM", &AM}, {"AN", &AN}, {"IR", &IR}};
    for (const auto &[name, value] : values) {
        q.DeclareVariable(QString::fromLatin1(name), otString);
        q.SetVariable(QString::fromLatin1(name), *value);
    }
    return NoteResult(q.NoteExecSQL(Commit), q);
}

TDbResult deleteAll(const QString &Table)
{
    TNoteQuery q;
    q.SQL = QStringList{QStringLiteral("DELETE FROM ") + Table};
    return NoteResult(q.NoteExecSQL(false), q);
}
} // namespace

TDbResult SaveMailSettings(const std::vector<const TSend *> &Recipients, const TPopServer &Server)
{
    // A failing statement rolls back the whole transaction, so the old list is never lost.
    if (TDbResult deleted = deleteAll(QStringLiteral("QUORVEL_MAIL")); !deleted)
        return deleted;
    for (const TSend *send : Recipients) {
        TDbResult inserted =
            insertRow(QStringLiteral("INSERT INTO QUORVEL_MAIL (ADR_MAIL , ADR_NAME ,ID_REPORT)"),
                      send->ADR_MAIL, send->ADR_NAME, send->ID_REPORT, false);
        if (!inserted)
            return inserted;
    }
    if (TDbResult deleted = deleteAll(QStringLiteral("QUORVEL_POP")); !deleted)
        return deleted;
    return insertRow(
        QStringLiteral("INSERT INTO QUORVEL_POP (IP_POP_SERVER , POP_USER ,POP_PASSWORD)"),
        Server.IP_POP_SERVER, Server.POP_USER, Server.POP_PASSWORD, true);
}

QStringList ReportIdList(const QString &Ids)
{
    static const QRegularExpression separators(QStringLiteral("[,\\s]+"));
    QStringList result;
    for (QString item : Ids.split(separators, Qt::SkipEmptyParts)) {
        if (item.size() >= 2 && item.startsWith(u'"') && item.endsWith(u'"'))
            item = item.mid(1, item.size() - 2);
        if (!item.isEmpty())
            result.append(item);
    }
    return result;
}
