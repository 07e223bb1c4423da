#include "export/ExportModel.h"

TExportRowSource rowsFromList(const QList<QStringList> &rows)
{
    return [rows, next = qsizetype(0)](QStringList &Row) mutable {
        if (next >= rows.size())
            return false;
        Row = rows[next++];
        return true;
    };
}
