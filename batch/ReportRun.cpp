#include "batch/ReportRun.h"

#include "batch/BatchConsole.h"
#include "catalog/PropTVItem.h"
#include "catalog/QuorvelUtil.h"
#include "catalog/StringGrid.h"
#include "common/TextHelpers.h"

std::unique_ptr<TStringGrid> NewReportGrid()
{
    auto grid = std::make_unique<TStringGrid>();
    grid->setFont(ReportWindowFont());
    grid->SetColCount(2);
    grid->SetRowCount(2);
    return grid;
}

TReportRun RunReport(const TPropTVItem &Report, const QDate &From, const QDate &To, TStringGrid &SG,
                     TBatchConsole &Console)
{
    TReportRun run;
    if (TrimControls(Report.SQL_TEXT).isEmpty()) {
        run.Error = QStringLiteral("the report has no query");
        return run;
    }
    // CreateTable upper-cases the query of the record it is given; the catalog's stays.
    TPropTVItem record = Report;
    CreateTable(record, &SG, nullptr);
    Console.ForgetMessages();
    const TExecResult result = Exec_SQL(record.SQL_TEXT, nullptr, &SG, From, To);
    run.Rows = result.Rows;
    if (!result.Opened)
        run.Error = QStringLiteral("the query failed: ") + Console.LastMessage();
    else if (result.StepFailed)
        run.Error = QStringLiteral("fetching row ") + QString::number(result.Rows + 1) +
                    QStringLiteral(" failed: ") + Console.LastMessage();
    else
        run.Ok = true;
    return run;
}

QString ReportLabel(const TPropTVItem &Report)
{
    return QStringLiteral("report ") + QString::number(Report.id) + QStringLiteral(" \"") +
           Report.name + u'"';
}
