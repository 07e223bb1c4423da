#pragma once

#include "export/ExportModel.h"

#include <QList>
#include <QStringList>

// Export models as the program builds them from a result grid: columns "ColNo_<k>" and the
// title lines (an empty line, then the report's title).
TExportModel gridModel(const QString &fileName, int columns, const QString &top = "Верх",
                       const QString &bottom = "Низ");

// rows × columns texts mixing Cyrillic and Latin, unique per cell.
QList<QStringList> sampleRows(int rows, int columns);
