#include "export/ExportModel.h"

#include <memory>

TExportRowSource rowsFromList(const QList<QStringList> &rows)
{
    return [rows, next = qsizetype(0)](QStringList &Row) mutable {
        if (next >= rows.size())
            return false;
        Row = rows[next++];
        return true;
    };
}

TExportRowSources rowPasses(const TExportModel &model)
{
    if (model.RowSources)
        return model.RowSources;
    auto kept = std::make_shared<QList<QStringList>>();
    if (model.Rows)
        for (QStringList row; model.Rows(row);)
            kept->append(row);
    return [kept] { return rowsFromList(*kept); };
}
