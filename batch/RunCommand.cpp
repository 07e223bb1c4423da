#include "batch/RunCommand.h"

#include "batch/BatchConsole.h"
#include "batch/BatchOptions.h"
#include "batch/BatchText.h"
#include "batch/ReportLookup.h"
#include "batch/ReportRun.h"
#include "catalog/ExportGrid.h"
#include "catalog/ReportResult.h"
#include "chart/ChartPicture.h"
#include "db/OracleError.h"

int RunCommand(const TBatchOptions &Options, TBatchConsole &Console)
{
    TReportCatalog catalog;
    if (const TDbResult loaded = catalog.Load(); !loaded) {
        Console.Error(QStringLiteral("cannot read the catalog: ") + loaded.Error().Text);
        return BatchUsageOrConnection;
    }
    QString error;
    const TPropTVItem *report = catalog.Find(Options.Report, error);
    if (!report) {
        Console.Error(error);
        return BatchUsageOrConnection;
    }
    const QString what = ReportLabel(*report) + u' ' + PeriodText(Options.From, Options.To);
    Console.Progress(QStringLiteral("running ") + what);
    TReportResult result;
    const TReportRun run = RunReport(*report, Options.From, Options.To, result);
    if (!run.Ok) {
        Console.Line(what + QStringLiteral(": error: ") + run.Error);
        Console.Line(QStringLiteral("summary: report failed, no file written"));
        return BatchSomeFailed;
    }
    int written = 0;
    for (const TBatchOutput &out : Options.Outputs) {
        Console.Progress(QStringLiteral("writing ") + out.File);
        QString outcome = QStringLiteral("written");
        try {
            if (out.Format)
                ExportResultAs(*out.Format, &result, report, out.File);
            else
                SaveReportChart(out.File, result, report->id);
            ++written;
        } catch (const std::exception &e) {
            outcome = QStringLiteral("error: ") + ExceptionText(e);
        }
        Console.Line(what + QStringLiteral(": ") + RowsText(run.Rows) + QStringLiteral(", ") +
                     out.File + QStringLiteral(", ") + outcome);
    }
    const qsizetype failed = Options.Outputs.size() - written;
    Console.Line(QStringLiteral("summary: ") + RowsText(run.Rows) + QStringLiteral(", ") +
                 QString::number(written) + QStringLiteral(" file(s) written, ") +
                 QString::number(failed) + QStringLiteral(" failed"));
    return failed == 0 ? BatchDone : BatchSomeFailed;
}
