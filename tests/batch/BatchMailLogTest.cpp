// The delivery log of the unattended program on SQLite and PostgreSQL: a morning run in which
// one recipient is refused, then --retry-failed delivers that one alone, and "log" prints
// both attempts.

#include "tests/batch/BatchDb.h"
#include "tests/mail/SmtpServer.h"

#include <QJsonArray>

#include <gtest/gtest.h>

namespace {

const QString Login = QStringLiteral("dispatcher/secret@ZUD");

QStringList recipientsOf(const SmtpServer &server)
{
    QStringList to;
    for (const SmtpServer::Received &m : server.messages())
        for (const QJsonValue &v : m.envelope[QStringLiteral("rcpt_tos")].toArray())
            to << v.toString();
    return to;
}

template <class Db> void morningRunThenRetry(const Db &db)
{
    const SmtpServer morning(QString(),
                             {QStringLiteral("--refuse"), QStringLiteral("second@example.com")});
    ASSERT_TRUE(morning.isRunning());
    db.exec("INSERT INTO QUORVEL_POP VALUES ('" + morning.address() + "', '', '');" +
            "INSERT INTO QUORVEL_MAIL (ADR_MAIL, ADR_NAME, ID_REPORT) VALUES "
            "('first@example.com', 'Первый', '2,3')");
    db.exec("INSERT INTO QUORVEL_MAIL (ADR_MAIL, ADR_NAME, ID_REPORT) VALUES "
            "('second@example.com', 'Второй', '3')");
    QString out;
    QString err;
    EXPECT_EQ(runBatch({"send", Login, "--from", "01.03.2015", "--to", "02.03.2015", "--workspace",
                        db.folder()},
                       &out, &err),
              1)
        << out.toStdString() << err.toStdString();
    EXPECT_EQ(recipientsOf(morning), QStringList{"first@example.com"});

    // Later, on the default period, the server accepts everyone: the retry takes the logged
    // period and sends the refused report alone.
    const SmtpServer later;
    ASSERT_TRUE(later.isRunning());
    db.exec("UPDATE QUORVEL_POP SET IP_POP_SERVER = '" + later.address() + "'");
    EXPECT_EQ(runBatch({"send", Login, "--retry-failed", "--workspace", db.folder()}, &out, &err),
              0)
        << out.toStdString() << err.toStdString();
    EXPECT_EQ(recipientsOf(later), QStringList{"second@example.com"});
    EXPECT_TRUE(out.startsWith("second@example.com: report 3 \"Итог: месяц\" "
                               "01.03.2015-02.03.2015: 1 row, Итог_ месяц.xls, sent\n"))
        << out.toStdString();

    EXPECT_EQ(db.rows("SELECT ADR_MAIL, ID_REPORT, DATE_FROM, DATE_TO, FORMAT, OUTCOME, "
                      "substr(REPLY, 1, 3) FROM QUORVEL_MAIL_LOG ORDER BY ID_LOG"),
              QStringLiteral("first@example.com|2|2015-03-01|2015-03-02|xls|sent|250\n"
                             "first@example.com|3|2015-03-01|2015-03-02|xls|sent|250\n"
                             "second@example.com|3|2015-03-01|2015-03-02|xls|failed|550\n"
                             "second@example.com|3|2015-03-01|2015-03-02|xls|sent|250"));

    // Nothing is left to retry.
    EXPECT_EQ(runBatch({"send", Login, "--retry-failed", "--workspace", db.folder()}, &out), 0);
    EXPECT_EQ(out, "nothing to retry: the last pass delivered everything\n");
    EXPECT_EQ(later.messages().size(), 1);

    EXPECT_EQ(runBatch({"log", Login, "--since", "01.01.2015", "--workspace", db.folder()}, &out),
              0);
    const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << out.toStdString();
    EXPECT_TRUE(lines[2].contains(" FAILED second@example.com, report 3 01.03.2015-02.03.2015 "
                                  "xls, 0 bytes: 550"))
        << lines[2].toStdString();
    EXPECT_TRUE(lines[3].contains(" sent   second@example.com, report 3 "))
        << lines[3].toStdString();
    EXPECT_EQ(runBatch({"log", Login, "--since", "01.01.2999", "--workspace", db.folder()}, &out),
              0);
    EXPECT_EQ(out, QString());
}

TEST(BatchMailLog_Sqlite_Smtp, RetryFailedSendsOnlyWhatTheLastPassFailed)
{
    const BatchDb db;
    morningRunThenRetry(db);
}

TEST(BatchMailLog_Postgres_Smtp, RetryFailedSendsOnlyWhatTheLastPassFailed)
{
    const BatchPgDb db;
    ASSERT_TRUE(db.ok());
    morningRunThenRetry(db);
}

TEST(BatchMailLog_Sqlite_Smtp, WithoutTheTableTheMailGoesOutWithOneWarning)
{
    const BatchDb db;
    const SmtpServer smtp;
    ASSERT_TRUE(smtp.isRunning());
    db.exec("DROP TABLE QUORVEL_MAIL_LOG;"
            "INSERT INTO QUORVEL_POP VALUES ('" +
            smtp.address() + "', '', '');" +
            "INSERT INTO QUORVEL_MAIL (ADR_MAIL, ADR_NAME, ID_REPORT) VALUES "
            "('first@example.com', 'Первый', '2,3')");
    QString out;
    QString err;
    EXPECT_EQ(runBatch({"send", Login, "--workspace", db.folder()}, &out, &err), 0);
    EXPECT_EQ(recipientsOf(smtp), QStringList{"first@example.com"});
    const QStringList warnings = err.split('\n', Qt::SkipEmptyParts).filter("QUORVEL_MAIL_LOG");
    ASSERT_EQ(warnings.size(), 1) << err.toStdString();
    EXPECT_TRUE(warnings[0].startsWith("Журнал отправки QUORVEL_MAIL_LOG недоступен"));
}

} // namespace
