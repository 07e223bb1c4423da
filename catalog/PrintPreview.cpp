#include "catalog/PrintPreview.h"

#include "catalog/ExportGrid.h"
#include "common/MessageDialogs.h"
#include "export/PdfPages.h"

#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <exception>
#include <optional>
#include <utility>

namespace {

TPrintPreview &handler()
{
    static TPrintPreview h;
    return h;
}

void runPreview(QWidget *Parent, QPrinter &Printer, const TPrintPages &Paint)
{
    QPrintPreviewDialog dialog(&Printer, Parent);
    dialog.setObjectName(QStringLiteral("PrintPreview"));
    dialog.setWindowTitle(QStringLiteral("Печать"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&Paint](QPrinter *printer) { Paint(*printer); });
    dialog.exec();
}

} // namespace

void PrintResult(QWidget *Parent, const TReportResult &SG, const TPropTVItem *Prop,
                 const std::vector<int> &RowOrder, const TPdfOptions &Pdf)
{
    // The model hands out fresh rows for every drawing, so one serves the layout and them all.
    const TExportModel model = ResultExportModel(SG, Prop, QString(), nullptr, RowOrder);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(PdfPageLayout(model.Columns, Pdf));
    std::optional<QString> failure;
    // The pages are drawn again whenever the preview changes; a failure ends the drawing, and
    // is shown once the window is closed.
    const TPrintPages paint = [&](QPrinter &Printer) {
        QPainter painter;
        if (!painter.begin(&Printer))
            return 0;
        try {
            return DrawExportPages(painter, Printer, model, Pdf);
        } catch (const std::exception &e) {
            failure = QString::fromUtf8(e.what());
            return 0;
        }
    };
    if (handler())
        handler()(printer, paint);
    else
        runPreview(Parent, printer, paint);
    if (failure)
        ErrorMessage(*failure, QString());
}

TPrintPreview SetPrintPreviewHandler(TPrintPreview Handler)
{
    return std::exchange(handler(), std::move(Handler));
}
