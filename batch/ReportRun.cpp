#include "batch/ReportRun.h"

#include "catalog/PropTVItem.h"
#include "catalog/QuorvelUtil.h"
#include "catalog/ReportResult.h"
#include "common/TextHelpers.h"

TReportRun RunReport(const TPropTVItem &Report, const QDate &From, const QDate &To,
                     TReportResult &Result)
{
    TReportRun run;
    if (TrimControls(Report.SQL_TEXT).isEmpty()) {
        run.Error = QStringLiteral("the report has no query");
        return run;
    }
    // CreateTable upper-cases the query of the record it is given; the catalog's stays.
    TPropTVItem record = Report;
    CreateTable(record, Result, nullptr);
    const TExecResult result = Exec_SQL(record.SQL_TEXT, nullptr, Result, From, To);
    run.Rows = result.Rows;
    if (!result.Opened)
        run.Error = QStringLiteral("the query failed: ") + result.Error.Text;
    else if (result.StepFailed)
        run.Error = QStringLiteral("fetching row ") + QString::number(result.Rows + 1) +
                    QStringLiteral(" failed: ") + result.Error.Text;
    else
        run.Ok = true;
    return run;
}

QString ReportLabel(const TPropTVItem &Report)
{
    return QStringLiteral("report ") + QString::number(Report.id) + QStringLiteral(" \"") +
           Report.name + u'"';
}
