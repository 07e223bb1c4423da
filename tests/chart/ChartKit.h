#pragma once

#include "catalog/ReportResult.h"

#include <QList>
#include <QStringList>

// A result as a run leaves it: row 0 the titles, then each data row with its number in
// column 0 and the fields after it.
TReportResult chartResult(const QStringList &Titles, const QList<QStringList> &Rows);
