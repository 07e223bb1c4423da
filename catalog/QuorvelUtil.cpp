#include "catalog/QuorvelUtil.h"

#include "catalog/PropTVItem.h"
#include "catalog/ReportResult.h"
#include "catalog/RunObserver.h"
#include "common/TextHelpers.h"
#include "db/FieldCells.h"
#include "db/NoteQuery.h"
#include "db/OracleBase.h"
#include "db/OracleSession.h"

#include <QList>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace {
// Rows between two looks at the progress.
constexpr int progressBatch = 256;

struct TColProp {
    QString ColName;
    qint32 ColWidth = 0;
    QString ColAlign;
};

struct TMergeEntry {
    QString Name;
    std::optional<TColProp> Props;
};

// A whole number as the settings grid holds it; the run stops when it is none.
qint32 strictInteger(const QString &text)
{
    bool ok = false;
    const qint32 value = text.toInt(&ok);
    if (!ok)
        throw std::invalid_argument(
            (QStringLiteral("'") + text + QStringLiteral("' is not a valid integer value"))
                .toStdString());
    return value;
}

// Merges the fields of the open result into the settings grid (editor use) and writes the
// names into the title row of SG.
void mergeSettings(TReportResult &SGSet, TReportResult &SG, TNoteDataSet &ds)
{
    QList<TMergeEntry> entries{TMergeEntry{}};
    for (int c = 1; c < SGSet.ColCount(); ++c) {
        TColProp props{SGSet.Cells(c, 1), strictInteger(SGSet.Cells(c, 2)), SGSet.Cells(c, 3)};
        entries.append(TMergeEntry{SGSet.Cells(c, 0), props});
    }
    for (int i = 0; i < ds.FieldCount(); ++i) {
        const QString name = ds.Fields(i).FieldName();
        const bool known = std::any_of(entries.cbegin(), entries.cend(), [&](const auto &e) {
            return e.Name.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (!known)
            entries.insert(std::min<qsizetype>(i + 1, entries.size()), TMergeEntry{name, {}});
    }
    for (int p = 0; p < entries.size() && p < SG.ColCount(); ++p)
        SG.SetCells(p, 0, entries[p].Name);
    SGSet.SetColCount(int(entries.size()));
    for (int p = 1; p < entries.size(); ++p) {
        const TMergeEntry &e = entries[p];
        SGSet.SetCells(p, 0, e.Name);
        SGSet.SetCells(p, 1, e.Props ? e.Props->ColName : e.Name);
        SGSet.SetCells(p, 2, e.Props ? QString::number(e.Props->ColWidth) : QStringLiteral("100"));
        SGSet.SetCells(p, 3, e.Props ? e.Props->ColAlign : QStringLiteral("C"));
    }
}

} // namespace

void NamesCreateList(const QString &NamesStr, QStringList &NameList, bool SpaceCheck)
{
    NameList.clear();
    QString rest = TrimControls(NamesStr);
    while (!rest.isEmpty()) {
        QString item;
        const qsizetype comma = rest.indexOf(u',');
        if (comma >= 0) {
            item = TrimControls(rest.left(comma));
            rest = TrimControls(rest.mid(comma + 1));
        } else {
            item = rest;
            rest.clear();
        }
        const qsizetype blank = SpaceCheck ? item.indexOf(u' ') : -1;
        if (blank >= 0)
            item = TrimControls(item.mid(blank + 1));
        NameList.append(item);
    }
}

QStringList FieldList(const QString &SQLText)
{
    const QString upper = SQLText.toUpper();
    // Positions counted from 1, 0 when absent, as the select list has always been cut.
    const qsizetype select = upper.indexOf(QStringLiteral("SELECT")) + 1;
    const qsizetype from = upper.indexOf(QStringLiteral("FROM")) + 1;
    const qsizetype count = from - select - 6;
    QStringList fields;
    if (count > 0)
        NamesCreateList(upper.mid(select + 5, count), fields, true);
    return fields;
}

int ColumnWidthOf(const QString &Item)
{
    bool ok = false;
    const int width = Item.toInt(&ok);
    return ok ? width : 100;
}

void CreateTable(TPropTVItem &PropTVItem, TReportResult &SG, TReportResult *StpSG)
{
    PropTVItem.SQL_TEXT = PropTVItem.SQL_TEXT.toUpper();
    const QStringList fields = FieldList(PropTVItem.SQL_TEXT);
    QStringList titles;
    QStringList widths;
    QStringList codes;
    NamesCreateList(PropTVItem.NAME_TITLE, titles, false);
    NamesCreateList(PropTVItem.LENGTH_COLUMS, widths, false);
    NamesCreateList(PropTVItem.FORMAT_STR, codes, false);

    SG.SetRowCount(2);
    SG.SetColCount(int(fields.size()) + 1);
    SG.SetColWidths(0, 30);
    SG.FormatStr = PropTVItem.FORMAT_STR;
    for (int i = 0; i < fields.size(); ++i) {
        if (i < widths.size())
            SG.SetColWidths(i + 1, ColumnWidthOf(widths[i]));
        if (i < titles.size())
            SG.SetCells(i + 1, 0, titles[i]);
    }
    if (!StpSG)
        return;
    StpSG->SetColCount(fields.isEmpty() ? 2 : int(fields.size()) + 1);
    for (int i = 0; i < fields.size(); ++i) {
        StpSG->SetCells(i + 1, 0, fields[i]);
        if (i < titles.size())
            StpSG->SetCells(i + 1, 1, titles[i]);
        if (i < widths.size())
            StpSG->SetCells(i + 1, 2, widths[i]);
        if (i < codes.size())
            StpSG->SetCells(i + 1, 3, codes[i]);
    }
}

QString PeriodStatement(const QString &SQLStr, const QDate &DTB, const QDate &DTE,
                        const TSqlDialect &Dialect)
{
    QString text = SQLStr.toUpper();
    text.replace(QStringLiteral("DTPBEGIN"), Dialect.PeriodDate(DTB));
    text.replace(QStringLiteral("DTPEND"), Dialect.PeriodDate(DTE));
    return text;
}

TExecResult Exec_SQL(const QString &SQLStr, TReportResult *SGSet, TReportResult &SG,
                     const QDate &DTB, const QDate &DTE, TRunObserver *Progress)
{
    TExecResult result;
    int row = 2;
    // The row count follows the rows written on every way out, a conversion error included.
    struct RowCountOnExit {
        TReportResult &grid;
        int &row;
        ~RowCountOnExit()
        {
            grid.SetRowCount(row);
            grid.Squeeze();
        }
    } onExit{SG, row};

    // The progress window lets the supervision's timer run between batches.
    const TSessionBusy busy(FOracleBase ? FOracleBase->ADatabase : nullptr);
    TNoteDataSet ds;
    ds.SQL = QStringList{PeriodStatement(SQLStr, DTB, DTE)};
    if (!ds.NoteOpen()) {
        result.Error = ds.LastError();
        return result;
    }
    result.Opened = true;
    row = 1;
    const int fieldCount = ds.FieldCount();
    SG.SetColCount(fieldCount + 1);
    if (SGSet)
        mergeSettings(*SGSet, SG, ds);

    std::vector<const TField *> fields;
    for (int r = 0; r < fieldCount; ++r)
        fields.push_back(&ds.Fields(r));
    while (!ds.Eof()) {
        // The texts go from the fetched batch straight into the grid's buffer.
        SG.WriteRowCells(row, [&](int c, std::vector<char16_t> &buffer) {
            if (c == 0)
                AppendIntegerText(row, buffer);
            else
                fields[std::size_t(c) - 1]->AppendText(buffer);
        });
        ++row;
        if (!ds.NoteNext()) {
            result.StepFailed = true;
            result.Error = ds.LastError();
            break;
        }
        if (Progress && row % progressBatch == 0 && !Progress->Fetched(row - 1)) {
            result.Cancelled = true;
            break;
        }
    }
    result.Rows = row - 1;
    return result;
}

std::optional<Qt::Alignment> CellAlignment(const QString &FORMAT_STR, int ACol)
{
    if (ACol <= 0 || TrimControls(FORMAT_STR).isEmpty())
        return std::nullopt;
    QStringList codes;
    NamesCreateList(FORMAT_STR, codes, false);
    if (ACol > codes.size())
        return std::nullopt;
    const QString &code = codes[ACol - 1];
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (code == u"C")
        horizontal = Qt::AlignHCenter;
    else if (code == u"R")
        horizontal = Qt::AlignRight;
    return horizontal | Qt::AlignVCenter;
}

TDbResult DeleteRep(const QString &TableName, int ID, bool Commit)
{
    TNoteDataSet ds;
    ds.SQL = QStringList{QStringLiteral("DELETE FROM ") + TableName,
                         QStringLiteral("WHERE ID_REPORT=:I")};
    ds.DeclareVariable(QStringLiteral("I"), otInteger);
    ds.SetVariable(QStringLiteral("I"), ID);
    if (!ds.NoteExecSQL(Commit))
        return ds.LastError();
    return {};
}
