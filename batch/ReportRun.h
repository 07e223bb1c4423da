#pragma once

#include <QDate>
#include <QString>

#include <memory>

class TBatchConsole;
class TStringGrid;
struct TPropTVItem;

// A result grid as the main window makes its own: two columns and two rows, in the window's
// font, which decides the exported column widths in characters.
std::unique_ptr<TStringGrid> NewReportGrid();

struct TReportRun {
    bool Ok = false;
    int Rows = 0;
    QString Error; // why the run gave no result
};

// Runs Report for the period into SG as the main window does (CreateTable, then Exec_SQL on
// the working session). A statement that does not open, or a row that cannot be fetched, is
// an error here: the window would show the grid as it stands, but a file or a mail of it
// would pass a failed report off as a result. The database's text comes from the console,
// where the checked statements report it.
TReportRun RunReport(const TPropTVItem &Report, const QDate &From, const QDate &To, TStringGrid &SG,
                     TBatchConsole &Console);

// "12 "Name"" for the lines of the output.
QString ReportLabel(const TPropTVItem &Report);
