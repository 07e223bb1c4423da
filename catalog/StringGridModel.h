#pragma once

#include "catalog/ReportResult.h"

#include <QAbstractTableModel>

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

// How a cell of a string grid is drawn: an alignment drawn without inner margin, or nothing
// for the grid's ordinary drawing (left-aligned with a small margin).
using TCellAlignment = std::function<std::optional<Qt::Alignment>(int ACol, int ARow)>;

// The cells of a string grid as an item model over a result object, which it shares with
// whoever made it. Grid coordinates (ACol, ARow) count the fixed column and row too; the fixed row
// is the horizontal header and the fixed column the vertical header, so both stay in place while
// the rest scrolls. At most one fixed column and one fixed row.
class TStringGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Set by data() for a cell whose alignment comes from the drawing hook.
    static constexpr int MarginlessRole = Qt::UserRole + 1;

    explicit TStringGridModel(QObject *parent = nullptr);

    // The result shown; never null.
    TReportResult &Result() const { return *result_; }
    const std::shared_ptr<TReportResult> &SharedResult() const { return result_; }
    // Shows another result (kept to at least the fixed column and row).
    void SetResult(std::shared_ptr<TReportResult> Result);
    // After the result was changed directly rather than through this model.
    void ResultChanged();

    int ColCount() const { return result_->ColCount(); }
    void SetColCount(int Count);
    int RowCount() const { return result_->RowCount(); }
    // Cells written past the old count become visible; rows past the new count are dropped.
    void SetRowCount(int Count);
    int FixedCols() const { return fixedCols_; }
    void SetFixedCols(int Count);
    int FixedRows() const { return fixedRows_; }
    void SetFixedRows(int Count);

    QString Cells(int ACol, int ARow) const { return result_->Cells(ACol, ARow); }
    QStringView CellView(int ACol, int ARow) const { return result_->CellView(ACol, ARow); }
    // Any row may be written, also past RowCount (it shows once RowCount reaches it).
    void SetCells(int ACol, int ARow, QStringView Text);
    void SetRowCells(int ARow, std::span<const QString> Texts);
    void Squeeze() { result_->Squeeze(); }
    std::size_t MemoryBytes() const { return result_->MemoryBytes(); }

    bool Editable() const { return editable_; }
    void SetEditable(bool Value) { editable_ = Value; }
    void SetCellAlignment(TCellAlignment Hook) { alignment_ = std::move(Hook); }

    // The order the data rows are shown in: sorted by a column (as SortedRows orders them) or,
    // for a negative column, the query's order. A result shown or changed is sorted again by
    // the same column. Cells, SetCells and the result keep the query's order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    // The result rows in the order shown; empty while that is the query's order.
    const std::vector<int> &RowOrder() const { return order_; }
    // Result row of a shown data row.
    int ResultRow(int Shown) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    QVariant cellData(int ACol, int ARow, int role) const;
    void cellChanged(int ACol, int ARow);
    void keepFixedCells();
    void applySort();
    // Shown data row of a result row below the fixed one.
    int viewRow(int row) const;

    std::shared_ptr<TReportResult> result_;
    int fixedCols_ = 0;
    int fixedRows_ = 0;
    bool editable_ = false;
    TCellAlignment alignment_;
    int sortColumn_ = -1;
    bool descending_ = false;
    // order_[v] is the result row shown at data row v, place_[r] the data row of result row r.
    std::vector<int> order_;
    std::vector<int> place_;
};
