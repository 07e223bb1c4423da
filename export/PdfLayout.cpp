#include "export/PdfLayout.h"

#include <QRectF>

#include <algorithm>
#include <numeric>

namespace {

constexpr qreal GridDpi = 96;
constexpr int GridDefaultPixels = 64;

qreal gridPixels(const QList<TExportColumn> &columns)
{
    return std::accumulate(
        columns.begin(), columns.end(), qreal(0),
        [](qreal sum, const TExportColumn &c) { return sum + PdfGridPixels(c); });
}

} // namespace

int PdfGridPixels(const TExportColumn &column)
{
    return column.FPixelWidth > 0 ? column.FPixelWidth : GridDefaultPixels;
}

QPageLayout PdfPageLayout(const QList<TExportColumn> &columns, const TPdfOptions &options)
{
    QPageLayout layout(options.FPageSize, QPageLayout::Portrait, options.FMargins,
                       QPageLayout::Millimeter);
    const qreal portraitPoints = layout.paintRect(QPageLayout::Point).width();
    if (gridPixels(columns) * 72 / GridDpi > portraitPoints)
        layout.setOrientation(QPageLayout::Landscape);
    return layout;
}

QList<qreal> PdfColumnWidths(const QList<TExportColumn> &columns, qreal available,
                             qreal dotsPerInch)
{
    const qreal natural = gridPixels(columns) * dotsPerInch / GridDpi;
    const qreal scale = natural > available && natural > 0 ? available / natural : 1;
    QList<qreal> widths;
    for (const TExportColumn &c : columns)
        widths.append(PdfGridPixels(c) * dotsPerInch / GridDpi * scale);
    return widths;
}

TPdfPaginator::TPdfPaginator(qreal bodyHeight, qreal captionHeight)
    : body_(bodyHeight), caption_(captionHeight)
{
}

void TPdfPaginator::newPage()
{
    ++page_;
    y_ = 0;
    captionOnPage_ = false;
}

TPdfPaginator::Pieces TPdfPaginator::placeLine(qreal height)
{
    return place(height, false);
}

TPdfPaginator::Pieces TPdfPaginator::placeRow(qreal height)
{
    tableStarted_ = true;
    return place(height, true);
}

TPdfPaginator::Pieces TPdfPaginator::endTable()
{
    if (tableStarted_)
        return {};
    tableStarted_ = true;
    return place(0, true);
}

TPdfPaginator::Pieces TPdfPaginator::place(qreal height, bool row)
{
    const auto need = [&] { return height + (row && !captionOnPage_ ? caption_ : 0); };
    if (y_ > 0 && y_ + need() > body_)
        newPage();
    Pieces pieces;
    TPdfPiece first{page_, 0, 0, body_, false, 0};
    if (row && !captionOnPage_) {
        first.caption = true;
        first.captionTop = y_;
        y_ += caption_;
        captionOnPage_ = true;
    }
    first.top = first.visibleTop = y_;
    pieces.append(first);
    qreal shown = body_ - y_;
    // Taller than the rest of an empty page: the rest goes on as many pages as it needs. A
    // page with no room beside its caption row shows nothing of it, so it stops there.
    while (height > shown) {
        newPage();
        TPdfPiece next{page_, 0, 0, body_, false, 0};
        if (row) {
            next.caption = true;
            y_ = caption_;
            captionOnPage_ = true;
        }
        if (body_ - y_ <= 0)
            break;
        next.visibleTop = y_;
        next.top = y_ - shown;
        pieces.append(next);
        shown += body_ - y_;
    }
    y_ = pieces.back().top + height;
    return pieces;
}
