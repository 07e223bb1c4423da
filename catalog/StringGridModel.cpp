#include "catalog/StringGridModel.h"

#include "catalog/ResultOrder.h"

#include <algorithm>

TStringGridModel::TStringGridModel(QObject *parent)
    : QAbstractTableModel(parent), result_(std::make_shared<TReportResult>())
{
}

void TStringGridModel::SetResult(std::shared_ptr<TReportResult> Result)
{
    beginResetModel();
    result_ = Result ? std::move(Result) : std::make_shared<TReportResult>();
    keepFixedCells();
    applySort();
    endResetModel();
}

void TStringGridModel::ResultChanged()
{
    beginResetModel();
    keepFixedCells();
    applySort();
    endResetModel();
}

void TStringGridModel::sort(int column, Qt::SortOrder order)
{
    beginResetModel();
    sortColumn_ = column < 0 ? -1 : column + fixedCols_;
    descending_ = order == Qt::DescendingOrder;
    applySort();
    endResetModel();
}

void TStringGridModel::applySort()
{
    order_.clear();
    place_.clear();
    // Only below a fixed row of titles, which stays in place.
    if (sortColumn_ < 0 || sortColumn_ >= ColCount() || fixedRows_ != 1)
        return;
    order_ = SortedRows(*result_, sortColumn_, descending_);
    place_.assign(order_.size() + 1, 0);
    for (std::size_t v = 0; v < order_.size(); ++v)
        place_[std::size_t(order_[v])] = int(v);
}

int TStringGridModel::ResultRow(int Shown) const
{
    return order_.empty() ? Shown + fixedRows_ : order_[std::size_t(Shown)];
}

int TStringGridModel::viewRow(int row) const
{
    return order_.empty() ? row - fixedRows_ : place_[std::size_t(row)];
}

void TStringGridModel::keepFixedCells()
{
    if (result_->ColCount() < std::max(fixedCols_, 1))
        result_->SetColCount(std::max(fixedCols_, 1));
    if (result_->RowCount() < std::max(fixedRows_, 1))
        result_->SetRowCount(std::max(fixedRows_, 1));
}

void TStringGridModel::SetColCount(int Count)
{
    Count = std::max({Count, fixedCols_, 1});
    const int before = columnCount();
    const int after = Count - fixedCols_;
    if (after > before) {
        beginInsertColumns(QModelIndex(), before, after - 1);
        result_->SetColCount(Count);
        endInsertColumns();
    } else if (after < before) {
        beginRemoveColumns(QModelIndex(), after, before - 1);
        result_->SetColCount(Count);
        endRemoveColumns();
    } else {
        result_->SetColCount(Count);
    }
}

void TStringGridModel::SetRowCount(int Count)
{
    Count = std::max({Count, fixedRows_, 1});
    if (sortColumn_ >= 0) {
        beginResetModel();
        result_->SetRowCount(Count);
        applySort();
        endResetModel();
        return;
    }
    const int before = rowCount();
    const int after = Count - fixedRows_;
    if (after > before) {
        beginInsertRows(QModelIndex(), before, after - 1);
        result_->SetRowCount(Count);
        endInsertRows();
    } else if (after < before) {
        beginRemoveRows(QModelIndex(), after, before - 1);
        result_->SetRowCount(Count);
        endRemoveRows();
    } else {
        result_->SetRowCount(Count);
    }
}

void TStringGridModel::SetFixedCols(int Count)
{
    beginResetModel();
    fixedCols_ = std::clamp(Count, 0, 1);
    keepFixedCells();
    endResetModel();
}

void TStringGridModel::SetFixedRows(int Count)
{
    beginResetModel();
    fixedRows_ = std::clamp(Count, 0, 1);
    keepFixedCells();
    endResetModel();
}

void TStringGridModel::cellChanged(int ACol, int ARow)
{
    if (ACol < 0 || ACol >= ColCount() || ARow < 0 || ARow >= RowCount())
        return;
    if (ARow < fixedRows_) {
        if (ACol >= fixedCols_)
            emit headerDataChanged(Qt::Horizontal, ACol - fixedCols_, ACol - fixedCols_);
    } else if (ACol < fixedCols_) {
        emit headerDataChanged(Qt::Vertical, viewRow(ARow), viewRow(ARow));
    } else {
        const QModelIndex at = index(viewRow(ARow), ACol - fixedCols_);
        emit dataChanged(at, at);
    }
}

void TStringGridModel::SetCells(int ACol, int ARow, QStringView Text)
{
    result_->SetCells(ACol, ARow, Text);
    cellChanged(ACol, ARow);
}

void TStringGridModel::SetRowCells(int ARow, std::span<const QString> Texts)
{
    result_->SetRowCells(ARow, Texts);
    if (ARow < 0 || ARow >= RowCount())
        return;
    if (ARow < fixedRows_) {
        if (columnCount() > 0)
            emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
        return;
    }
    if (fixedCols_ > 0)
        cellChanged(0, ARow);
    if (columnCount() > 0)
        emit dataChanged(index(viewRow(ARow), 0), index(viewRow(ARow), columnCount() - 1));
}

int TStringGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : std::max(RowCount() - fixedRows_, 0);
}

int TStringGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : std::max(ColCount() - fixedCols_, 0);
}

QVariant TStringGridModel::cellData(int ACol, int ARow, int role) const
{
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return Cells(ACol, ARow);
    case Qt::TextAlignmentRole:
    case MarginlessRole: {
        const std::optional<Qt::Alignment> aligned =
            alignment_ ? alignment_(ACol, ARow) : std::nullopt;
        if (role == MarginlessRole)
            return aligned.has_value();
        return QVariant::fromValue(aligned.value_or(Qt::AlignLeft | Qt::AlignVCenter));
    }
    default:
        return {};
    }
}

QVariant TStringGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    return cellData(index.column() + fixedCols_, ResultRow(index.row()), role);
}

bool TStringGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!editable_ || role != Qt::EditRole || !index.isValid())
        return false;
    SetCells(index.column() + fixedCols_, ResultRow(index.row()), value.toString());
    return true;
}

QVariant TStringGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (section < 0)
        return {};
    if (orientation == Qt::Horizontal) {
        if (fixedRows_ == 0 || section >= columnCount())
            return {};
        return cellData(section + fixedCols_, 0, role);
    }
    if (fixedCols_ == 0 || section >= rowCount())
        return {};
    return cellData(0, ResultRow(section), role);
}

Qt::ItemFlags TStringGridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (editable_)
        f |= Qt::ItemIsEditable;
    return f;
}
