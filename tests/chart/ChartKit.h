#pragma once

#include "catalog/ReportResult.h"

#include <QList>
#include <QStringList>

// A result as a run leaves it: row 0 the titles, then each data row with its number in
// column 0 and the fields after it.
TReportResult chartResult(const QStringList &Titles, const QList<QStringList> &Rows);

// What ImageMagick's identify reads of a picture: "FORMAT WIDTH HEIGHT" (empty when it cannot
// read it) and the number of its colours (a blank picture has one or two).
struct IdentifiedPicture {
    QString Shape;
    int Colours = 0;
};
IdentifiedPicture identifyPicture(const QString &File);
