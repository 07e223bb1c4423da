#pragma once

#include "catalog/PropTVItem.h"
#include "db/DbError.h"

#include <QString>

#include <memory>
#include <vector>

// The reports of the stored catalog, without a tree, to find one by its identifier or name.
class TReportCatalog {
public:
    // Loads the catalog through the same query as the main window's tree. The error when the
    // query fails (the reports read until then stay).
    TDbResult Load();

    // The report with that identifier; null when there is none (or it is a folder).
    const TPropTVItem *ById(int Id) const;

    // A whole number is an identifier; else the report of that name. Null with the reason
    // in Error when there is none, when several reports bear the name, or for a folder.
    const TPropTVItem *Find(const QString &IdOrName, QString &Error) const;

private:
    std::vector<std::unique_ptr<TPropTVItem>> nodes_;
};
