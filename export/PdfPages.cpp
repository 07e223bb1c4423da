#include "export/PdfPages.h"

#include "export/ExportFile.h"

#include <QDir>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>

#include <algorithm>
#include <vector>

namespace {

// A cell's text laid out in lines of the given width, wrapping at word boundaries and inside
// a word that is wider than the cell.
struct CellText {
    CellText(const QString &text, const QFont &font, QPaintDevice *device, qreal width)
        : layout(QString(text)
                     .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                     .replace(u'\r', u'\n')
                     .replace(u'\n', QChar::LineSeparator),
                 font, device)
    {
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, height));
            height += line.height();
        }
        layout.endLayout();
    }

    QTextLayout layout;
    qreal height = 0;
};

bool oneLine(const QString &t, const QFontMetricsF &metrics, qreal width)
{
    return !t.contains(u'\n') && !t.contains(u'\r') && metrics.horizontalAdvance(t) <= width;
}

class Pages {
public:
    Pages(QPainter &painter, QPagedPaintDevice &device, const TExportModel &model,
          const TPdfOptions &options)
        : painter_(painter), device_(device), model_(model), top_(options.FTopPicture)
    {
        const qreal dpi = device.logicalDpiX();
        const QRectF paint = device.pageLayout().paintRectPixels(int(dpi));
        width_ = paint.width();
        pad_ = dpi / 72 * 2; // 2 points
        table_ = QFont(options.FFontFamily);
        table_.setPointSize(options.FTableFontSize);
        bold_ = table_;
        bold_.setBold(true);
        title_ = QFont(options.FFontFamily);
        title_.setPointSize(options.FTitleFontSize);
        widths_ = PdfColumnWidths(model.Columns, width_, dpi);
        const QFontMetricsF titleMetrics(title_, &device);
        footHeight_ = titleMetrics.height() * 2; // a line of space, then the page number
        body_ = paint.height() - footHeight_;
        topHeight_ = std::min(options.FTopPictureHeight * dpi / 25.4, body_);
        QStringList captions;
        for (const TExportColumn &c : model.Columns)
            captions.append(c.FCaption);
        captions_ = captions;
        caption_ = rowHeight(captions_, bold_);
    }

    int draw()
    {
        const TExportRowSources passes = rowPasses(model_);
        std::vector<qreal> heights;
        QStringList row;
        {
            TPdfPaginator counter(body_, caption_);
            if (top_)
                counter.placeLine(topHeight_);
            for (const QString &line : model_.Header)
                counter.placeLine(lineHeight(line));
            const TExportRowSource rows = passes();
            while (rows && rows(row)) {
                heights.push_back(rowHeight(row, table_));
                counter.placeRow(heights.back());
            }
            counter.endTable();
            for (const QString &line : model_.Footer)
                counter.placeLine(lineHeight(line));
            pageCount_ = counter.pages();
        }
        TPdfPaginator pager(body_, caption_);
        if (top_)
            for (const TPdfPiece &p : pager.placeLine(topHeight_))
                drawPiece(p,
                          [&](qreal top) { top_(painter_, QRectF(0, top, width_, topHeight_)); });
        for (const QString &line : model_.Header)
            for (const TPdfPiece &p : pager.placeLine(lineHeight(line)))
                drawPiece(p, [&](qreal top) { drawLine(line, top); });
        const TExportRowSource rows = passes();
        for (size_t i = 0; i < heights.size() && rows && rows(row); ++i)
            for (const TPdfPiece &p : pager.placeRow(heights[i]))
                drawPiece(p, [&](qreal top) { drawRow(row, table_, top, heights[i]); });
        for (const TPdfPiece &p : pager.endTable())
            drawPiece(p, [](qreal) {});
        for (const QString &line : model_.Footer)
            for (const TPdfPiece &p : pager.placeLine(lineHeight(line)))
                drawPiece(p, [&](qreal top) { drawLine(line, top); });
        finishPage();
        return pageCount_;
    }

private:
    qreal cellWidth(qsizetype column) const
    {
        return std::max<qreal>(widths_[column] - 2 * pad_, 1);
    }

    qreal rowHeight(const QStringList &texts, const QFont &font) const
    {
        const QFontMetricsF metrics(font, &device_);
        qreal height = metrics.height();
        for (qsizetype c = 0; c < widths_.size() && c < texts.size(); ++c) {
            const QString &t = texts[c];
            // Most cells hold one short line: no layout needed to know their height.
            if (t.isEmpty() || oneLine(t, metrics, cellWidth(c)))
                continue;
            height = std::max(height, CellText(t, font, &device_, cellWidth(c)).height);
        }
        return height + 2 * pad_;
    }

    qreal lineHeight(const QString &line) const
    {
        return line.isEmpty() ? QFontMetricsF(title_, &device_).height()
                              : CellText(line, title_, &device_, width_).height;
    }

    void startPage(int page)
    {
        while (page_ < page) {
            finishPage();
            device_.newPage();
            ++page_;
        }
    }

    template <typename Draw> void drawPiece(const TPdfPiece &p, Draw draw)
    {
        startPage(p.page);
        painter_.save();
        if (p.caption)
            drawRow(captions_, bold_, p.captionTop, caption_);
        painter_.setClipRect(QRectF(0, p.visibleTop, width_, p.visibleBottom - p.visibleTop));
        draw(p.top);
        painter_.restore();
    }

    void drawLine(const QString &line, qreal top)
    {
        if (line.isEmpty())
            return;
        CellText text(line, title_, &device_, width_);
        painter_.setFont(title_);
        text.layout.draw(&painter_, QPointF(0, top));
    }

    void drawRow(const QStringList &texts, const QFont &font, qreal top, qreal height)
    {
        painter_.setFont(font);
        painter_.setPen(QPen(Qt::black, 0));
        const QFontMetricsF metrics(font, &device_);
        qreal x = 0;
        for (qsizetype c = 0; c < widths_.size(); ++c) {
            const QRectF cell(x, top, widths_[c], height);
            painter_.drawRect(cell);
            const QString t = c < texts.size() ? texts[c] : QString();
            const QRectF inner = cell.adjusted(pad_, pad_, -pad_, -pad_);
            if (!t.isEmpty())
                drawCellText(t, font, metrics, inner, model_.Columns[c].FAlign);
            x += widths_[c];
        }
    }

    void drawCellText(const QString &t, const QFont &font, const QFontMetricsF &metrics,
                      const QRectF &inner, TExportAlign align)
    {
        if (oneLine(t, metrics, inner.width())) {
            const Qt::Alignment flags = align == TExportAlign::Centre  ? Qt::AlignHCenter
                                        : align == TExportAlign::Right ? Qt::AlignRight
                                                                       : Qt::AlignLeft;
            painter_.drawText(inner, int(flags | Qt::AlignTop) | Qt::TextSingleLine, t);
            return;
        }
        CellText text(t, font, &device_, inner.width());
        for (int i = 0; i < text.layout.lineCount(); ++i) {
            QTextLine line = text.layout.lineAt(i);
            const qreal slack = inner.width() - line.naturalTextWidth();
            line.setPosition(QPointF(align == TExportAlign::Centre  ? slack / 2
                                     : align == TExportAlign::Right ? slack
                                                                    : 0,
                                     line.position().y()));
        }
        text.layout.draw(&painter_, inner.topLeft());
    }

    void finishPage()
    {
        painter_.save();
        painter_.setClipping(false);
        painter_.setFont(title_);
        painter_.setPen(Qt::black);
        const QRectF foot(0, body_, width_, footHeight_);
        painter_.drawText(foot, int(Qt::AlignHCenter | Qt::AlignBottom),
                          QStringLiteral("Страница %1 из %2").arg(page_ + 1).arg(pageCount_));
        painter_.restore();
    }

    QPainter &painter_;
    QPagedPaintDevice &device_;
    const TExportModel &model_;
    const std::function<void(QPainter &, const QRectF &)> &top_;
    qreal topHeight_ = 0;
    QFont table_, bold_, title_;
    QList<qreal> widths_;
    QStringList captions_;
    qreal width_ = 0, body_ = 0, footHeight_ = 0, pad_ = 0, caption_ = 0;
    int page_ = 0;
    int pageCount_ = 1;
};

} // namespace

int DrawExportPages(QPainter &painter, QPagedPaintDevice &device, const TExportModel &model,
                    const TPdfOptions &options)
{
    return Pages(painter, device, model, options).draw();
}

void TQExport4PDF::Execute(const TExportModel &model)
{
    const QString path = PrepareOutputPath(model.FileName);
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        raiseExportError(EQExportError::PdfNeedsGui);
    TExportFile file(path);
    {
        QPdfWriter writer(&file.device());
        writer.setPageLayout(PdfPageLayout(model.Columns, FOptions));
        writer.setCreator(QStringLiteral("quorvel"));
        QPainter painter;
        if (!painter.begin(&writer))
            file.raiseWriteError(QStringLiteral("the PDF writer did not start"));
        DrawExportPages(painter, writer, model, FOptions);
        painter.end();
    }
    file.commit();
}
