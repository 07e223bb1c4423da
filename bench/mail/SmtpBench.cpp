// Submits one message with a file attached and prints the seconds it took (connect, compose,
// send, QUIT). smtp_bench.py runs it beside Python's smtplib against the same server.
//
//   bench_mail_smtp HOST:PORT FILE [ROUNDS]

#include "mail/SmtpClient.h"
#include "mail/SmtpError.h"
#include "mail/SmtpServerAddress.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: bench_mail_smtp HOST:PORT FILE [ROUNDS]\n");
        return 2;
    }
    const int rounds = args.size() > 3 ? args[3].toInt() : 1;
    try {
        const TSmtpServerAddress address = ParseServerAddress(args[1]);
        TSmtpSettings settings;
        settings.Host = address.Host;
        settings.Port = address.Port;
        TMailMessage message;
        message.From = {QStringLiteral("Bench"), QStringLiteral("reports@example.com")};
        message.Recipients = {{QString(), QStringLiteral("to@example.com")}};
        message.Subject = QStringLiteral("ZUD Reports");
        message.Body = {QStringLiteral("Zud reports")};
        message.Attachments = {args[2]};
        for (int i = 0; i < rounds; ++i) {
            QElapsedTimer timer;
            timer.start();
            TSmtpClient client(settings);
            client.Connect();
            client.Send(message);
            client.Disconnect();
            std::printf("%.4f\n", timer.nsecsElapsed() / 1e9);
            std::fflush(stdout);
        }
    } catch (const ESmtpError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
