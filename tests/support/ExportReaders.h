#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

// Independent readers of the XLSX, CSV and PDF files, beside those of tests/support: the
// distribution's Python with openpyxl, zipfile and csv, and poppler's pdftotext, pdfinfo and
// pdftoppm. Each gives what the reader saw, or an "error" text.

// openpyxl's view of every sheet: {"sheets": [{"name", "rows": [[{"v", "t", "fmt", "bold",
// "align"}...]...], "widths": {"A": 12.5...}, "freeze", "filter", "footer"}]}; "v" is the value
// as JSON (a date-time as "YYYY-MM-DD HH:MM:SS"), "t" openpyxl's data type.
QJsonObject readXlsxWithOpenpyxl(const QString &path);

// The sheets of a workbook in order, each with its used range as the sheet states it
// ("A1:B7"), read with Python's zipfile alone (fast for a million rows).
struct XlsxSheetRange {
    QString name;
    QString dimension;
};
QList<XlsxSheetRange> readXlsxSheetRanges(const QString &path, QString *error);

// Python's csv module under the given dialect: the rows, or an error text as the only row.
QList<QStringList> readCsvWithPython(const QString &path, const QString &encoding,
                                     const QString &delimiter);

// pdftotext -layout: the text of each page.
QStringList pdfPageTexts(const QString &path);
// pdfinfo's page count, -1 when it cannot read the file.
int pdfPageCount(const QString &path);
// The first page as a PNG (pdftoppm) at path + ".png"; the PNG's path, or "" on failure.
QString pdfFirstPagePng(const QString &pdf, const QString &pngBase);
