#include "catalog/ReportDefinition.h"

#include "catalog/PropTVItem.h"
#include "catalog/QuorvelUtil.h"
#include "catalog/ReportResult.h"
#include "db/NoteQuery.h"

#include <QStringList>

namespace {
QString joinedRow(const TReportResult &SGTableSet, int ARow)
{
    QStringList cells;
    for (int c = 1; c < SGTableSet.ColCount(); ++c)
        cells.append(SGTableSet.Cells(c, ARow));
    return cells.join(u',');
}

// A report whose catalog row was made elsewhere may have no definition row, and an update
// alone would change nothing while reporting success. Selecting from the catalog row makes
// the insert a no-op wherever the row exists, the reserve server included.
TDbResult ensureDefinitionRow(int ID)
{
    TNoteDataSet ds;
    ds.SQL = QStringList{
        QStringLiteral("INSERT INTO QUORVEL (ID_REPORT) SELECT C.ID_REPORT FROM QUORVEL_CAT C"),
        QStringLiteral("WHERE C.ID_REPORT = :ID AND NOT EXISTS"),
        QStringLiteral("(SELECT 1 FROM QUORVEL Q WHERE Q.ID_REPORT = C.ID_REPORT)")};
    ds.DeclareVariable(QStringLiteral("ID"), otInteger);
    ds.SetVariable(QStringLiteral("ID"), ID);
    if (!ds.NoteExecSQL(false))
        return ds.LastError();
    return {};
}
} // namespace

TColumnStrings ColumnStringsOf(const TReportResult &SGTableSet)
{
    return TColumnStrings{joinedRow(SGTableSet, 1), joinedRow(SGTableSet, 2),
                          joinedRow(SGTableSet, 3)};
}

void ApplyEdits(TPropTVItem &PropTVItem, const QString &SQLText, const QString &Header,
                const QString &Footer, const TReportResult &SGTableSet)
{
    PropTVItem.SQL_TEXT = SQLText;
    const TColumnStrings columns = ColumnStringsOf(SGTableSet);
    PropTVItem.NAME_TITLE = columns.NAME_TITLE;
    PropTVItem.LENGTH_COLUMS = columns.LENGTH_COLUMS;
    PropTVItem.FORMAT_STR = columns.FORMAT_STR;
    PropTVItem.PRN_TITLE_TOP = Header;
    PropTVItem.PRN_TITLE_BOT = Footer;
}

TDbResult WriteSQL(const TPropTVItem &PropTVItem)
{
    if (TDbResult made = ensureDefinitionRow(PropTVItem.id); !made)
        return made;
    TNoteDataSet ds;
    const struct {
        const char *name;
        const QString &value;
    } texts[] = {{"ST", PropTVItem.SQL_TEXT},      {"NT", PropTVItem.NAME_TITLE},
                 {"LC", PropTVItem.LENGTH_COLUMS}, {"FS", PropTVItem.FORMAT_STR},
                 {"TT", PropTVItem.PRN_TITLE_TOP}, {"TB", PropTVItem.PRN_TITLE_BOT}};
    for (const auto &t : texts)
        ds.DeclareVariable(QString::fromLatin1(t.name), otString);
    ds.DeclareVariable(QStringLiteral("ID"), otInteger);
    ds.SQL = QStringList{QStringLiteral("UPDATE QUORVEL SET SQL_TEXT=:ST, NAME_TITLE=:NT,"),
                         QStringLiteral("LENGTH_COLUMS=:LC, FORMAT_STR=:FS,"),
                         QStringLiteral("PRN_TITLE_TOP=:TT, PRN_TITLE_BOT=:TB"),
                         QStringLiteral("WHERE ID_REPORT = :ID")};
    // An empty text is stored as an empty text, not as NULL (a null string binds as NULL).
    for (const auto &t : texts)
        ds.SetVariable(QString::fromLatin1(t.name),
                       t.value.isNull() ? QStringLiteral("") : t.value);
    ds.SetVariable(QStringLiteral("ID"), PropTVItem.id);
    // Committed at once: left open, the update would wait for some later catalog write.
    if (!ds.NoteExecSQL(true))
        return ds.LastError();
    return {};
}

void DropBlankSettingsColumn(TReportResult &SGTableSet)
{
    if (SGTableSet.ColCount() != 2)
        return;
    for (int r = 0; r < 4; ++r) {
        if (!SGTableSet.CellView(1, r).isEmpty())
            return;
    }
    SGTableSet.SetColCount(1);
}

void ApplyColumnSettings(const TReportResult &SGTableSet, TReportResult &SGResultSQL)
{
    for (int c = 1; c < SGResultSQL.ColCount(); ++c) {
        SGResultSQL.SetColWidths(c, ColumnWidthOf(SGTableSet.Cells(c, 2)));
        SGResultSQL.SetCells(c, 0, SGTableSet.Cells(c, 1));
    }
}

std::optional<Qt::Alignment> PreviewAlignment(const TReportResult &SGTableSet, int ACol)
{
    return CellAlignment(SGTableSet.Cells(ACol, 3), 1).value_or(Qt::AlignLeft | Qt::AlignVCenter);
}
