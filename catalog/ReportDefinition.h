#pragma once

#include <QString>

#include <optional>

#include "db/DbError.h"

class TReportResult;
struct TPropTVItem;

// What the report editor does to a definition, apart from its window. The settings grid holds
// one column per field: row 0 the field name, rows 1 to 3 the title, the width and the code.

// The three column-property strings of a settings grid: the cells of rows 1, 2 and 3 of every
// column from 1, as typed (not trimmed, not checked), joined by commas.
struct TColumnStrings {
    QString NAME_TITLE;
    QString LENGTH_COLUMS;
    QString FORMAT_STR;
};
TColumnStrings ColumnStringsOf(const TReportResult &SGTableSet);

// The edited definition into the record: the query and the two title texts unchanged, the
// column strings rebuilt from the settings grid.
void ApplyEdits(TPropTVItem &PropTVItem, const QString &SQLText, const QString &Header,
                const QString &Footer, const TReportResult &SGTableSet);

// Stores the record's definition in its QUORVEL row and commits, through the checked
// statements (view mode and mirroring apply). A report without a row gets one in the same
// transaction. The error (rolled back, nothing shown) when a statement fails.
TDbResult WriteSQL(const TPropTVItem &PropTVItem);

// A settings grid of a query without fields keeps one blank column; a run would read its empty
// width as a number and stop. Removes that column when all its cells are blank.
void DropBlankSettingsColumn(TReportResult &SGTableSet);

// Titles and widths of the settings grid onto the preview: for each preview column from 1, the
// width is settings cell (c, 2) as a whole number (100 when it is none) and the title cell is
// settings cell (c, 1).
void ApplyColumnSettings(const TReportResult &SGTableSet, TReportResult &SGResultSQL);

// How a preview cell of column ACol is drawn: by the code in settings cell (ACol, 3), "C"
// centred, "R" right, anything else left; always without the inner margin.
std::optional<Qt::Alignment> PreviewAlignment(const TReportResult &SGTableSet, int ACol);
