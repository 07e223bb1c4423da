#pragma once

#include <QString>

#include <functional>
#include <span>

class TReportResult;

// A block of result cells as the clipboard carries it: tab-separated lines for a spreadsheet
// (a cell with a tab, a line break or a quote in quotes, its quotes doubled) and an HTML table
// for a mail client or a word processor.
struct TCellBlock {
    QString Tsv;
    QString Html;
};

// The cells of the given result rows and columns, in the order given. Included, when given,
// says which of them are taken; the others are written empty. With Titles the columns' titles
// (row 0) come first, as a header row of the table.
TCellBlock CopyCells(const TReportResult &Result, std::span<const int> Rows,
                     std::span<const int> Cols, bool Titles,
                     const std::function<bool(int ACol, int ARow)> &Included = {});
