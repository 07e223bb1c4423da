#include "catalog/ReportResult.h"

#include "catalog/ReportFont.h"
#include "export/TextMeasure.h"

#include <algorithm>

void TReportResult::SetColCount(int Count)
{
    store_.SetColCount(Count);
    widths_.resize(std::size_t(ColCount()), DefaultColWidth);
}

void TReportResult::SetRowCount(int Count)
{
    rows_ = std::max(Count, 0);
    store_.Truncate(rows_);
}

int TReportResult::ColWidths(int ACol) const
{
    return ACol >= 0 && std::size_t(ACol) < widths_.size() ? widths_[std::size_t(ACol)]
                                                           : DefaultColWidth;
}

void TReportResult::SetColWidths(int ACol, int Width)
{
    if (ACol >= 0 && std::size_t(ACol) < widths_.size())
        widths_[std::size_t(ACol)] = Width;
}

int TReportResult::ColChars(int ACol) const
{
    const int x =
        XWidth > 0 ? XWidth : CharPixelWidth(ReportFontFamily(), ReportFontPoints, false, u'X');
    return std::max(0, ColWidths(ACol)) / std::max(1, x);
}

TReportResult TReportResult::Layout() const
{
    TReportResult layout;
    layout.SetColCount(ColCount());
    layout.widths_ = widths_;
    layout.FormatStr = FormatStr;
    layout.XWidth = XWidth;
    layout.SetRowCount(std::min(rows_, 1));
    for (int c = 0; c < ColCount(); ++c)
        layout.SetCells(c, 0, CellView(c, 0));
    return layout;
}
