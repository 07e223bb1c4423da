#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// What one export run writes, filled by the program's export code from the result grid.
// Both writers read it in the same way: the columns and title lines up front, the data rows
// one at a time from Rows, so a large result is never held twice.

struct TExportColumn {
    QString FCaption;
    int FWidth = 0; // in characters (grid pixels divided by the width of "X")
};

// Hands the next data row to the writer: fills Row with its texts (one per column; missing
// texts count as empty, extra ones are ignored) and returns true, or returns false when no
// row is left. Row keeps its previous content between calls, so a source may reuse it.
using TExportRowSource = std::function<bool(QStringList &Row)>;

struct TExportModel {
    QString FileName; // target path; a bare name is taken from the working folder
    QList<TExportColumn> Columns;
    QStringList Header;    // title lines before the table
    QStringList Footer;    // title lines after it
    TExportRowSource Rows; // empty: no data rows
    int ZeroWidth = 7;     // pixels of the digit "0" in "arial" 10 pt (column widths of XLS)
    int XWidth = 8;        // pixels of the letter "X" in the caption font (cell edges of RTF)
};

// A source over rows that are already in memory (tests, small exports).
TExportRowSource rowsFromList(const QList<QStringList> &rows);
