#pragma once

#include "export/PdfLayout.h"

#include <QString>

#include <functional>
#include <vector>

class QPrinter;
class QWidget;
class TReportResult;
struct TPropTVItem;

// "Печать…" of a result: the print preview window over the pages a PDF export draws (title
// lines, the caption row on every page, "Страница N из M"), from which the user prints.

// Draws the result's pages on Printer in its page layout; returns the number of pages.
using TPrintPages = std::function<int(QPrinter &Printer)>;

// Shows the preview of the result (Prop's title lines, none when null) with the page's
// orientation chosen by the table's width; the rows go in RowOrder when given, the pages are
// drawn by Pdf. A failure is shown in the error box.
void PrintResult(QWidget *Parent, const TReportResult &SG, const TPropTVItem *Prop,
                 const std::vector<int> &RowOrder, const TPdfOptions &Pdf = {});

// The seam of the preview window: with a handler installed it is called in place of the window
// with the printer set up for the pages and the function that draws them. Returns the previous
// handler; an empty one restores the window.
using TPrintPreview = std::function<void(QPrinter &Printer, const TPrintPages &Paint)>;
TPrintPreview SetPrintPreviewHandler(TPrintPreview Handler);
