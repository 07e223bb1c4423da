#pragma once

#include <vector>

class TReportResult;

// The data rows of a result (from row 1) ordered by the cells of column ACol as the user reads
// them: as numbers when every filled cell of the column is a number, as date-times when every
// one is a date-time, otherwise as texts by the Russian collation. Empty cells come first
// (last when descending). Rows that compare equal keep the query's order.
std::vector<int> SortedRows(const TReportResult &Result, int ACol, bool Descending);
