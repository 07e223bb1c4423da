#pragma once

#include "db/SqlDialect.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

#include "db/DbError.h"

class TReportResult;
class TRunObserver;
struct TPropTVItem;

// Splits a comma list: items trimmed of blanks and control characters, empty items between
// commas kept, an empty last item dropped. With SpaceCheck, an item holding a blank becomes the
// text after its first blank, trimmed (the alias of a select-list item).
void NamesCreateList(const QString &NamesStr, QStringList &NameList, bool SpaceCheck);

// The field list of a query: the text between the first "SELECT" and the first "FROM" of the
// upper-cased query, split with SpaceCheck.
QStringList FieldList(const QString &SQLText);

// A width item in pixels: the whole number it holds, 100 when it holds none.
int ColumnWidthOf(const QString &Item);

// Prepares SG from a report record (columns, widths, titles, codes) and, when given, the
// settings StpSG. Replaces the record's SQL_TEXT by its upper-case form.
void CreateTable(TPropTVItem &PropTVItem, TReportResult &SG, TReportResult *StpSG);

// The statement a run sends: SQLStr in upper case with every DTPBEGIN and DTPEND (in any case,
// also inside literals) replaced by the period's first and last day in Dialect's form (TO_DATE
// of the day; on SQLite compared by the instant its stored date texts stand for).
QString PeriodStatement(const QString &SQLStr, const QDate &DTB, const QDate &DTE,
                        const TSqlDialect &Dialect = WorkingDialect());

struct TExecResult {
    bool Opened = false; // the statement opened
    int Rows = 0;        // result rows now in the grid
    bool Cancelled = false;
    bool StepFailed = false; // fetching a row failed; the rows before it stay
    TDbError Error;          // why the statement did not open or a row could not be fetched
};

// Runs the query for the period into SG: column count = fields + 1, row k (from 1) holds
// result row k with its number in column 0, row count = rows + 1 (2 when the statement does
// not open). With SGSet, merges the result's fields into the settings first; a width there
// that is not a whole number throws std::invalid_argument before anything runs. Progress,
// when given, is told of the rows fetched and may cancel the run; the rows fetched until then
// stay.
TExecResult Exec_SQL(const QString &SQLStr, TReportResult *SGSet, TReportResult &SG,
                     const QDate &DTB, const QDate &DTE, TRunObserver *Progress = nullptr);

// The alignment of data column ACol (from 1) by the codes of FORMAT_STR: "C" centred, "R"
// right, any other code left; nothing when FORMAT_STR is blank or ACol has no code (ordinary
// drawing).
std::optional<Qt::Alignment> CellAlignment(const QString &FORMAT_STR, int ACol);

// Deletes the rows of TableName whose ID_REPORT is ID, committed at once unless Commit is
// false (then the caller commits). The error when the statement failed (rolled back).
TDbResult DeleteRep(const QString &TableName, int ID, bool Commit = true);
