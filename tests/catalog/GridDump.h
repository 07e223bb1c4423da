#pragma once

#include <QString>

class TStringGrid;
class QTreeWidget;

// A grid as short text: cells of a row joined by ",", rows by " | ", every row of RowCount.
QString gridText(const TStringGrid &grid);
// The column widths joined by ",".
QString gridWidths(const TStringGrid &grid);
// A tree in display order: each node's label, its children in brackets, siblings separated
// by blanks; a selected node is marked with "*" and an expanded one with "+"
// ("Root+* [Sub [R1] R2]").
QString treeText(const QTreeWidget &tree);

class QDate;
class TRunObserver;
struct TExecResult;
struct TPropTVItem;

// The column set-up and the report run on the results of grids, shown again in the grids
// afterwards, as the windows do.
void CreateTableIn(TPropTVItem &Rec, TStringGrid &SG, TStringGrid *StpSG);
TExecResult ExecSqlInto(const QString &SQL, TStringGrid *SGSet, TStringGrid &SG, const QDate &DTB,
                        const QDate &DTE, TRunObserver *Progress = nullptr);
