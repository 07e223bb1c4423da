#pragma once

#include "catalog/StringGridModel.h"

#include <QAbstractButton>
#include <QFont>
#include <QTableView>

#include <memory>
#include <span>
#include <vector>

// A string grid: cells addressed by column and row, the fixed column and row included, with
// column widths in pixels. Read-only unless made editable. Drawing of each cell can be
// aligned by a hook (SetCellAlignment); Invalidate repaints after the hook's answers change.
// The font of the main window and its result grid; exported column widths are measured in it.
QFont ReportWindowFont();

class TStringGrid : public QTableView {
    Q_OBJECT
public:
    static constexpr int DefaultColWidth = TReportResult::DefaultColWidth;

    explicit TStringGrid(QWidget *parent = nullptr);

    // The result shown: cells, widths, codes. A result changed directly (not through the grid)
    // is shown again by ResultChanged.
    TReportResult &Result() const { return model_->Result(); }
    const std::shared_ptr<TReportResult> &SharedResult() const { return model_->SharedResult(); }
    void SetResult(std::shared_ptr<TReportResult> Result);
    void ResultChanged();

    int ColCount() const { return model_->ColCount(); }
    void SetColCount(int Count);
    int RowCount() const { return model_->RowCount(); }
    void SetRowCount(int Count) { model_->SetRowCount(Count); }
    int FixedCols() const { return model_->FixedCols(); }
    void SetFixedCols(int Count);
    int FixedRows() const { return model_->FixedRows(); }
    void SetFixedRows(int Count);

    QString Cells(int ACol, int ARow) const { return model_->Cells(ACol, ARow); }
    QStringView CellView(int ACol, int ARow) const { return model_->CellView(ACol, ARow); }
    void SetCells(int ACol, int ARow, QStringView Text);
    void SetRowCells(int ARow, std::span<const QString> Texts);

    int ColWidths(int ACol) const;
    void SetColWidths(int ACol, int Width);

    bool Editable() const { return model_->Editable(); }
    void SetEditable(bool Value);
    void SetCellAlignment(TCellAlignment Hook) { model_->SetCellAlignment(std::move(Hook)); }
    void Invalidate();

    // Gives back spare storage after a bulk fill; the bytes the cells hold.
    void Squeeze() { model_->Squeeze(); }
    std::size_t CellMemoryBytes() const { return model_->MemoryBytes(); }

    TStringGridModel *GridModel() const { return model_; }

    // The clipboard gets the selected cells ("Копировать", Ctrl+C; with the titles when whole
    // columns are selected) or the whole result in the order shown ("Копировать всё"), as
    // tab-separated text and as an HTML table.
    void CopySelection() const;
    void CopyAll() const;
    // Selects the next cell after the current one, in the order shown and row by row, whose
    // text contains Text regardless of case, starting over at the top; false when none does.
    bool FindNext(const QString &Text);
    // Whether the exports write the rows as sorted here or in the query's order (the default).
    void SetExportInShownOrder(bool Value) { exportShownOrder_ = Value; }
    // The data rows to write, in order; empty for the query's order.
    std::vector<int> ExportRowOrder() const;

protected:
    void changeEvent(QEvent *Event) override;

private:
    // The result's columns are counted in characters of the font the grid is drawn in.
    void measureFont();
    void applyWidth(int ACol);
    void applyFixed();

    TStringGridModel *model_;
    // The table's corner button, which shows cell (0, 0) of a grid with a fixed row and column.
    QAbstractButton *corner_ = nullptr;
    bool exportShownOrder_ = false;
};
