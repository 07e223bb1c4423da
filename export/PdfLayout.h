#pragma once

#include "export/ExportModel.h"

#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QVarLengthArray>

#include <functional>

// The geometry of the PDF pages, apart from any drawing: the page's orientation, the columns'
// widths and the place of every title line and table row on the pages.

class QPainter;

struct TPdfOptions {
    QString FFontFamily = QStringLiteral("Arial");
    int FTableFontSize = 9;  // points, the caption row bold
    int FTitleFontSize = 10; // header and footer lines, and the page numbers
    QPageSize FPageSize = QPageSize(QPageSize::A4);
    QMarginsF FMargins = QMarginsF(15, 15, 15, 15); // millimetres
    // Drawn above the header lines when set (the report's chart), into the page's width and
    // FTopPictureHeight millimetres, at most a page's body.
    std::function<void(QPainter &, const QRectF &)> FTopPicture;
    qreal FTopPictureHeight = 100;
};

// The grid's width of a column in its pixels (a column without one counts as the grid's
// default of 64).
int PdfGridPixels(const TExportColumn &column);

// Portrait, or landscape when the table at the grid's size (96 pixels an inch) is wider than
// the printable width of a portrait page.
QPageLayout PdfPageLayout(const QList<TExportColumn> &columns, const TPdfOptions &options);

// The columns' widths for a printable width: the grid's widths at dotsPerInch, in proportion
// and narrowed together when the table is wider than the page.
QList<qreal> PdfColumnWidths(const QList<TExportColumn> &columns, qreal available,
                             qreal dotsPerInch);

// One part of a block (a title line or a table row) on one page. Only a block taller than a
// whole page has more than one part: the rest of it continues on the next pages.
struct TPdfPiece {
    int page = 0;         // from 0
    qreal top = 0;        // of the block, in the page's body (above visibleTop for a rest)
    qreal visibleTop = 0; // the part of the body the piece shows
    qreal visibleBottom = 0;
    bool caption = false; // the caption row goes first, at captionTop
    qreal captionTop = 0;
};

// Places blocks one after the other down pages of the given body height: a block never
// splits across pages unless it is taller than a page, and every page of the table starts
// with the caption row.
class TPdfPaginator {
public:
    TPdfPaginator(qreal bodyHeight, qreal captionHeight);

    using Pieces = QVarLengthArray<TPdfPiece, 1>;
    Pieces placeLine(qreal height);
    Pieces placeRow(qreal height);
    // The table ends: with no row on its page yet, the caption row stands alone.
    Pieces endTable();

    int pages() const { return page_ + 1; }

private:
    Pieces place(qreal height, bool row);
    void newPage();

    qreal body_;
    qreal caption_;
    int page_ = 0;
    qreal y_ = 0;
    bool captionOnPage_ = false;
    bool tableStarted_ = false;
};
