#include "batch/LogCommand.h"

#include "batch/BatchConsole.h"
#include "batch/BatchOptions.h"
#include "batch/BatchText.h"
#include "batch/RunCommand.h"
#include "mail/DeliveryLog.h"

int LogCommand(const TBatchOptions &Options, TBatchConsole &Console)
{
    TDbResult read;
    const std::vector<TDeliveryLogRow> rows = ReadDeliveryLog(Options.Since, &read);
    if (!read) {
        Console.Error(QStringLiteral("cannot read the delivery log: ") + read.Error().Text);
        return BatchUsageOrConnection;
    }
    for (const TDeliveryLogRow &row : rows) {
        const QString period =
            row.From.isValid() ? PeriodText(row.From, row.To) : QStringLiteral("on screen");
        Console.Line(row.At.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")) + u' ' +
                     (row.Delivered ? QStringLiteral("sent  ") : QStringLiteral("FAILED")) + u' ' +
                     row.Address + QStringLiteral(", report ") + QString::number(row.ReportId) +
                     u' ' + period + u' ' + row.Format + QStringLiteral(", ") +
                     QString::number(row.Bytes) + QStringLiteral(" bytes: ") +
                     QString(row.Reply).replace(u'\n', u' '));
    }
    return BatchDone;
}
