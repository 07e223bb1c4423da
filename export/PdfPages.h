#pragma once

#include "export/PdfLayout.h"
#include "export/QExport4.h"

class QPagedPaintDevice;
class QPainter;

// Draws the model's pages with a painter that is active on a paged device (a PDF writer, or a
// printer in a print preview), in the device's page layout (PdfPageLayout gives the one to
// set): the header lines, the table with the caption row at the top of every page, cells
// wrapping their text within the column and aligned by the report's codes, the footer lines
// after the last row, and "Страница N из M" at the foot of each page. A row moves whole to the
// next page when it does not fit; only a row taller than a page continues over pages. Reads
// the rows twice (the first pass counts the pages). Returns the number of pages.
int DrawExportPages(QPainter &painter, QPagedPaintDevice &device, const TExportModel &model,
                    const TPdfOptions &options);

// Writes the model as a PDF document with DrawExportPages. Needs a QGuiApplication (fonts);
// without a display the offscreen platform serves. Nothing is left under the file's name when
// the export fails.
class TQExport4PDF : public TQExport4 {
public:
    TPdfOptions FOptions;

    // Raises EQExportError.
    void Execute(const TExportModel &model);
};
