#pragma once

#include "catalog/ExportGrid.h"

#include <QString>

#include <optional>

class QTreeWidgetItem;
class QWidget;
class TStringGrid;
struct TPropTVItem;

// The exports of the main window's result grid, as its toolbar buttons give them.

// The selected catalog node as the exports read it: its text and its record (may be null).
struct TExportNode {
    QString Text;
    const TPropTVItem *Record = nullptr;
};
std::optional<TExportNode> ExportNodeOf(const QTreeWidgetItem *Node);

// "Экспорт в Exel": asks for the folder ("otchet.xls"), then writes the grid as a workbook
// named after the node with the node's title lines, or to the chosen path without titles when
// no node is selected. The grid is hidden while it is written; a failure is shown in the error
// box. Nothing is written when the dialog is cancelled. The rows go in the query's order, or as
// sorted in the grid when it is told to (SetExportInShownOrder).
void ToExelCommand(QWidget *Parent, TStringGrid &SG, const std::optional<TExportNode> &Node);

// "Экспорт в Word": as ToExelCommand ("otchet"), but the title lines are those of the report
// last run (CurSQL, none when null), "<", ">" and ":" leave the name, and the document is
// opened once written.
void ToWordCommand(QWidget *Parent, TStringGrid &SG, const std::optional<TExportNode> &Node,
                   const TPropTVItem *CurSQL);

// "Сохранить в XLSX", "Сохранить в CSV", "Сохранить в PDF" (and the workbook of "Экспорт в
// Exel"): asks for the file ("otchet" with the format's extension), then writes the grid as
// ToExelCommand does, named after the node with the node's title lines; PDF pages by Pdf.
void SaveResultCommand(QWidget *Parent, TStringGrid &SG, const std::optional<TExportNode> &Node,
                       TExportKind Kind, const TPdfOptions &Pdf = {});

// "Печать…": the print preview of the grid with the node's title lines, rows as exported, the
// pages drawn by Pdf.
void PrintCommand(QWidget *Parent, TStringGrid &SG, const std::optional<TExportNode> &Node,
                  const TPdfOptions &Pdf = {});
