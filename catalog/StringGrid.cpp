#include "catalog/StringGrid.h"

#include "catalog/GridCopy.h"
#include "catalog/ReportFont.h"
#include "export/TextMeasure.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QMimeData>
#include <QPainter>
#include <QStyleOptionHeader>
#include <QStylePainter>
#include <QStyledItemDelegate>

#include <set>

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

// Draws the corner button as a header section with the button's text, which the table's own
// drawing leaves out.
class TCornerCaption : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject *Watched, QEvent *Event) override
    {
        auto *corner = qobject_cast<QAbstractButton *>(Watched);
        if (!corner || Event->type() != QEvent::Paint || corner->text().isEmpty())
            return false;
        QStyleOptionHeader opt;
        opt.initFrom(corner);
        opt.state |= corner->isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
        opt.position = QStyleOptionHeader::OnlyOneSection;
        opt.text = corner->text();
        opt.textAlignment = Qt::AlignCenter;
        QStylePainter painter(corner);
        painter.drawControl(QStyle::CE_Header, opt);
        return true;
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
    connect(
        horizontalHeader(), &QHeaderView::sectionResized, this,
        [this](int section, int, int size) { Result().SetColWidths(section + FixedCols(), size); });
    corner_ = findChild<QAbstractButton *>(QString(), Qt::FindDirectChildrenOnly);
    if (corner_)
        corner_->installEventFilter(new TCornerCaption(this));
    setContextMenuPolicy(Qt::ActionsContextMenu);
    auto *copy = new QAction(QStringLiteral("Копировать"), this);
    copy->setObjectName(QStringLiteral("miCopyCells"));
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    connect(copy, &QAction::triggered, this, &TStringGrid::CopySelection);
    addAction(copy);
    auto *copyAll = new QAction(QStringLiteral("Копировать всё"), this);
    copyAll->setObjectName(QStringLiteral("miCopyAll"));
    connect(copyAll, &QAction::triggered, this, &TStringGrid::CopyAll);
    addAction(copyAll);
    model_->SetFixedCols(1);
    model_->SetFixedRows(1);
    SetColCount(5);
    SetRowCount(5);
    measureFont();
    applyFixed();
}

void TStringGrid::SetResult(std::shared_ptr<TReportResult> Result)
{
    model_->SetResult(std::move(Result));
    measureFont();
    applyFixed();
}

void TStringGrid::ResultChanged()
{
    model_->ResultChanged();
    applyFixed();
}

void TStringGrid::SetColCount(int Count)
{
    const int before = ColCount();
    model_->SetColCount(Count);
    for (int c = 0; c < ColCount(); ++c) {
        if (c >= before || c < FixedCols())
            applyWidth(c);
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

void TStringGrid::SetCells(int ACol, int ARow, QStringView Text)
{
    model_->SetCells(ACol, ARow, Text);
    if (ACol == 0 && ARow == 0)
        applyFixed();
}

void TStringGrid::SetRowCells(int ARow, std::span<const QString> Texts)
{
    model_->SetRowCells(ARow, Texts);
    if (ARow == 0)
        applyFixed();
}

void TStringGrid::applyFixed()
{
    horizontalHeader()->setVisible(FixedRows() > 0);
    verticalHeader()->setVisible(FixedCols() > 0);
    if (corner_) {
        corner_->setText(FixedRows() > 0 && FixedCols() > 0 ? Cells(0, 0) : QString());
        corner_->update();
    }
    for (int c = 0; c < ColCount(); ++c)
        applyWidth(c);
}

int TStringGrid::ColWidths(int ACol) const
{
    return Result().ColWidths(ACol);
}

void TStringGrid::SetColWidths(int ACol, int Width)
{
    if (ACol < 0 || ACol >= ColCount())
        return;
    Result().SetColWidths(ACol, Width);
    applyWidth(ACol);
}

void TStringGrid::applyWidth(int ACol)
{
    const int width = ColWidths(ACol);
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

namespace {
void toClipboard(const TCellBlock &block)
{
    auto *data = new QMimeData;
    data->setText(block.Tsv);
    data->setHtml(block.Html);
    QGuiApplication::clipboard()->setMimeData(data);
}
} // namespace

void TStringGrid::CopySelection() const
{
    const QModelIndexList chosen = selectionModel()->selectedIndexes();
    if (chosen.isEmpty())
        return;
    std::set<int> shownRows, cols;
    std::set<std::pair<int, int>> cells;
    for (const QModelIndex &at : chosen) {
        const int col = at.column() + FixedCols();
        const int row = model_->ResultRow(at.row());
        shownRows.insert(at.row());
        cols.insert(col);
        cells.insert({col, row});
    }
    std::vector<int> rows;
    for (const int shown : shownRows)
        rows.push_back(model_->ResultRow(shown));
    const std::vector<int> columns(cols.begin(), cols.end());
    bool whole = FixedRows() > 0;
    for (const int col : columns)
        whole = whole && selectionModel()->isColumnSelected(col - FixedCols());
    toClipboard(CopyCells(Result(), rows, columns, whole, [&cells](int ACol, int ARow) {
        return cells.contains({ACol, ARow});
    }));
}

void TStringGrid::CopyAll() const
{
    std::vector<int> rows;
    for (int shown = 0; shown < model_->rowCount(); ++shown)
        rows.push_back(model_->ResultRow(shown));
    std::vector<int> columns;
    for (int col = FixedCols(); col < ColCount(); ++col)
        columns.push_back(col);
    toClipboard(CopyCells(Result(), rows, columns, FixedRows() > 0));
}

bool TStringGrid::FindNext(const QString &Text)
{
    const int rows = model_->rowCount(), cols = model_->columnCount();
    const int cells = rows * cols;
    if (Text.isEmpty() || cells == 0)
        return false;
    const QModelIndex current = currentIndex();
    const int from = current.isValid() ? current.row() * cols + current.column() : -1;
    for (int step = 1; step <= cells; ++step) {
        const int at = (from + step) % cells;
        const QModelIndex cell = model_->index(at / cols, at % cols);
        if (cell.data().toString().contains(Text, Qt::CaseInsensitive)) {
            setCurrentIndex(cell);
            scrollTo(cell);
            return true;
        }
    }
    return false;
}

std::vector<int> TStringGrid::ExportRowOrder() const
{
    return exportShownOrder_ ? model_->RowOrder() : std::vector<int>();
}

QFont ReportWindowFont()
{
    return QFont(ReportFontFamily(), ReportFontPoints);
}

void TStringGrid::changeEvent(QEvent *Event)
{
    if (Event->type() == QEvent::FontChange)
        measureFont();
    QTableView::changeEvent(Event);
}

void TStringGrid::measureFont()
{
    const QFont f = font();
    // A font given in pixels is 3/4 of that in points on the 96-dpi display the widths assume.
    const int points = f.pointSize() > 0 ? f.pointSize() : f.pixelSize() * 3 / 4;
    Result().XWidth = CharPixelWidth(f.family(), points, f.bold(), u'X');
}
