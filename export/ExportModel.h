#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// What one export run writes, filled by the program's export code from the result grid.
// Every writer reads it in the same way: the columns and title lines up front, the data rows
// one at a time from Rows, so a large result is never held twice.

// How a column's cells are aligned (the report's codes "L", "C", "R").
enum class TExportAlign { Left, Centre, Right };

struct TExportColumn {
    QString FCaption;
    int FWidth = 0;      // in characters (grid pixels divided by the width of "X")
    int FPixelWidth = 0; // the grid's width in pixels (XLSX widths, PDF proportions)
    TExportAlign FAlign = TExportAlign::Left; // XLS and RTF leave every column left
};

// Hands the next data row to the writer: fills Row with its texts (one per column; missing
// texts count as empty, extra ones are ignored) and returns true, or returns false when no
// row is left. Row keeps its previous content between calls, so a source may reuse it.
using TExportRowSource = std::function<bool(QStringList &Row)>;

// Makes a fresh source over the same rows, from the first: for a writer that reads the rows
// twice (the PDF pages count the pages before drawing "Page N of M").
using TExportRowSources = std::function<TExportRowSource()>;

struct TExportModel {
    QString FileName; // target path; a bare name is taken from the working folder
    QList<TExportColumn> Columns;
    QStringList Header;    // title lines before the table, one row or paragraph each
    QStringList Footer;    // title lines after it
    TExportRowSource Rows; // empty: no data rows
    // Optional: when set, a writer that needs two passes takes both from here (and ignores
    // Rows); without it such a writer keeps the rows of Rows in memory between its passes.
    TExportRowSources RowSources;
    int ZeroWidth = 7; // pixels of the digit "0" in "arial" 10 pt (column widths of XLS)
    int XWidth = 8;    // pixels of the letter "X" in the caption font (cell edges of RTF)
};

// A source over rows that are already in memory (tests, small exports).
TExportRowSource rowsFromList(const QList<QStringList> &rows);

// Sources for two passes over the model's rows: RowSources when the model has it, otherwise
// the rows of Rows read once and kept.
TExportRowSources rowPasses(const TExportModel &model);
