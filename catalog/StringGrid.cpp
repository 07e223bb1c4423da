#include "catalog/StringGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {
// A cell aligned by the drawing hook fills its whole rectangle with the cell's brush and
// draws its text in the whole rectangle, without the ordinary inner margin.
class TGridCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        if (!index.data(TStringGridModel::MarginlessRole).toBool()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        const QWidget *widget = opt.widget;
        QStyle *style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
        const QPalette::ColorRole role =
            (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text;
        painter->save();
        painter->setPen(opt.palette.color(role));
        painter->setFont(opt.font);
        painter->drawText(opt.rect, int(opt.displayAlignment) | Qt::TextSingleLine, text);
        painter->restore();
    }
};
} // namespace

TStringGrid::TStringGrid(QWidget *parent) : QTableView(parent), model_(new TStringGridModel(this))
{
    setModel(model_);
    setItemDelegate(new TGridCellDelegate(this));
    setWordWrap(false);
    horizontalHeader()->setDefaultSectionSize(DefaultColWidth);
    horizontalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    // Uniform row heights keep the view cheap with any number of rows.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setHighlightSections(false);
    setEditTriggers(NoEditTriggers);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int section, int, int size) {
                const std::size_t at = std::size_t(section + FixedCols());
                if (at < widths_.size())
                    widths_[at] = size;
            });
    model_->SetFixedCols(1);
    model_->SetFixedRows(1);
    SetColCount(5);
    SetRowCount(5);
    applyFixed();
}

void TStringGrid::SetColCount(int Count)
{
    model_->SetColCount(Count);
    const std::size_t before = widths_.size();
    widths_.resize(std::size_t(ColCount()), DefaultColWidth);
    for (std::size_t c = 0; c < widths_.size(); ++c) {
        if (c >= before || int(c) < FixedCols())
            applyWidth(int(c));
    }
}

void TStringGrid::SetFixedCols(int Count)
{
    model_->SetFixedCols(Count);
    SetColCount(ColCount());
    applyFixed();
}

void TStringGrid::SetFixedRows(int Count)
{
    model_->SetFixedRows(Count);
    applyFixed();
}

void TStringGrid::applyFixed()
{
    horizontalHeader()->setVisible(FixedRows() > 0);
    verticalHeader()->setVisible(FixedCols() > 0);
    for (int c = 0; c < ColCount(); ++c)
        applyWidth(c);
}

int TStringGrid::ColWidths(int ACol) const
{
    return ACol >= 0 && std::size_t(ACol) < widths_.size() ? widths_[ACol] : DefaultColWidth;
}

void TStringGrid::SetColWidths(int ACol, int Width)
{
    if (ACol < 0 || std::size_t(ACol) >= widths_.size())
        return;
    widths_[ACol] = Width;
    applyWidth(ACol);
}

void TStringGrid::applyWidth(int ACol)
{
    const int width = widths_[ACol];
    if (ACol < FixedCols())
        verticalHeader()->setFixedWidth(width);
    else
        horizontalHeader()->resizeSection(ACol - FixedCols(), width);
}

void TStringGrid::SetEditable(bool Value)
{
    model_->SetEditable(Value);
    setEditTriggers(Value ? AllEditTriggers : NoEditTriggers);
}

void TStringGrid::Invalidate()
{
    viewport()->update();
    horizontalHeader()->viewport()->update();
    verticalHeader()->viewport()->update();
}

QFont ReportWindowFont()
{
    return QFont(QStringLiteral("Tahoma"), 8);
}
