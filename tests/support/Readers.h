#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

// Independent readers of the files the program writes, for every suite that checks a
// workbook or a document: the distribution's Python with xlrd and olefile, LibreOffice in
// headless mode and unrtf. Each returns what the reader saw, or an error text that says why
// the reader refused the file.

// Runs a reader script with the distribution's Python and its arguments; the JSON object the
// script printed, or {"error": ...} when it failed or printed none.
QJsonObject runPythonReader(const char *script, const QStringList &args, int timeoutMs = 120000);

struct XlsSheetView {
    QString name;
    QList<QStringList> rows; // every row up to the last used one; a missing or blank cell is ""
    QList<int> blankCells;   // row * 256 + column of each BLANK cell
    QList<int> columnWidths; // COLINFO width (1/256 character) per column, -1 when none
};

struct XlsBookView {
    QString error; // empty when xlrd opened the workbook
    QList<XlsSheetView> sheets;
};

// Opens the workbook with xlrd (formatting information on, so the cell formats and fonts are
// parsed too).
XlsBookView readXlsWithXlrd(const QString &path);

// The streams olefile finds in a compound file, as paths such as "Workbook"; the error text
// instead when olefile cannot open it.
struct OleView {
    QString error;
    QStringList streams;
    QList<qint64> sizes;
    QByteArray firstStream; // the content of the first stream
};
OleView readWithOlefile(const QString &path);

// Converts every file with one LibreOffice run into outDir and returns the paths of the
// results, in the order of the files ("" where LibreOffice wrote nothing). Workbooks give one
// UTF-8 CSV per sheet (name-SheetName.csv, in a list of their own per file); documents give
// UTF-8 text.
QList<QStringList> sofficeXlsToCsv(const QStringList &files, const QString &outDir);
QStringList sofficeRtfToText(const QStringList &files, const QString &outDir);

// Parses CSV text as LibreOffice writes it (comma, double quotes).
QList<QStringList> parseCsv(const QString &text);

// unrtf --html, with the tags taken out and the character references decoded: one text per
// table cell, paragraph or line, in order, empty ones left out. The error text of unrtf instead
// when it fails.
struct UnrtfView {
    QString error;
    QStringList texts;
};
UnrtfView readWithUnrtf(const QString &path);

// A whole file as UTF-8 text.
QString readTextFile(const QString &path);
