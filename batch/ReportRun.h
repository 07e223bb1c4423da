#pragma once

#include <QDate>
#include <QString>

class TReportResult;
struct TPropTVItem;

struct TReportRun {
    bool Ok = false;
    int Rows = 0;
    QString Error; // why the run gave no result
};

// Runs Report for the period into Result as the main window does (CreateTable, then Exec_SQL
// on the working session). A statement that does not open, or a row that cannot be fetched,
// is an error here: the window would show the rows read, but a file or a mail of them would
// pass a failed report off as a result. The error carries the database's own text.
TReportRun RunReport(const TPropTVItem &Report, const QDate &From, const QDate &To,
                     TReportResult &Result);

// "12 "Name"" for the lines of the output.
QString ReportLabel(const TPropTVItem &Report);
