#pragma once

#include "catalog/GridStore.h"

#include <QString>
#include <QStringView>

#include <cstddef>
#include <span>
#include <utility>
#include <vector>

// A report's result as a run leaves it, apart from any window: the cells in grid coordinates
// (column 0 the row numbers, row 0 the column titles, field r in column r + 1), the pixel
// width of every column and the report's alignment codes. The windows' grids are views of it;
// the export, the mailing and the unattended program read it.
class TReportResult {
public:
    static constexpr int DefaultColWidth = 64;

    int ColCount() const { return store_.ColCount(); }
    // Keeps the cells and widths of the columns that remain; new columns are empty and
    // DefaultColWidth wide.
    void SetColCount(int Count);
    int RowCount() const { return rows_; }
    // Rows written past the old count become part of the result; rows past the new one go.
    void SetRowCount(int Count);

    QString Cells(int ACol, int ARow) const { return store_.Cell(ACol, ARow); }
    QStringView CellView(int ACol, int ARow) const { return store_.CellView(ACol, ARow); }
    // Any row may be written, also past RowCount (it counts once RowCount reaches it).
    void SetCells(int ACol, int ARow, QStringView Text) { store_.SetCell(ACol, ARow, Text); }
    void SetRowCells(int ARow, std::span<const QString> Texts) { store_.SetRow(ARow, Texts); }
    // Writes row ARow with Write(c, buffer) appending each cell's text (TGridStore::WriteRow).
    template <class TWrite> void WriteRowCells(int ARow, TWrite &&Write)
    {
        store_.WriteRow(ARow, std::forward<TWrite>(Write));
    }

    // The title of a column: its cell in row 0.
    QString Title(int ACol) const { return Cells(ACol, 0); }
    int ColWidths(int ACol) const;
    void SetColWidths(int ACol, int Width);
    // The width in characters, rounded down, of the font the columns are counted in.
    int ColChars(int ACol) const;
    // Pixels of the letter "X" in that font: the font of the grid that shows the result, or
    // while none has, 0 for the report window's font.
    int XWidth = 0;

    // The report's alignment codes (FORMAT_STR) its data columns are drawn and written with.
    QString FormatStr;

    // The same columns, widths, titles and codes, without data rows: where a new run starts.
    TReportResult Layout() const;

    // Gives back spare storage after a bulk fill; the bytes the cells hold.
    void Squeeze() { store_.Squeeze(); }
    std::size_t MemoryBytes() const { return store_.MemoryBytes(); }

private:
    TGridStore store_;
    int rows_ = 0;
    std::vector<int> widths_;
};
