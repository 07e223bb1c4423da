#include "tests/catalog/GridDump.h"

#include "catalog/QuorvelUtil.h"
#include "catalog/ReportResult.h"

#include "catalog/StringGrid.h"

#include <QTreeWidget>

QString gridText(const TStringGrid &grid)
{
    QStringList rows;
    for (int r = 0; r < grid.RowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid.ColCount(); ++c)
            cells.append(grid.Cells(c, r));
        rows.append(cells.join(u','));
    }
    return rows.join(QStringLiteral(" | "));
}

QString gridWidths(const TStringGrid &grid)
{
    QStringList widths;
    for (int c = 0; c < grid.ColCount(); ++c)
        widths.append(QString::number(grid.ColWidths(c)));
    return widths.join(u',');
}

namespace {
QString itemText(const QTreeWidgetItem *item)
{
    QString text = item->text(0);
    if (item->isExpanded() && item->childCount() > 0)
        text += u'+';
    if (item->isSelected() || item->treeWidget()->currentItem() == item)
        text += u'*';
    if (item->childCount() == 0)
        return text;
    QStringList children;
    for (int i = 0; i < item->childCount(); ++i)
        children.append(itemText(item->child(i)));
    return text + QStringLiteral(" [") + children.join(u' ') + u']';
}
} // namespace

QString treeText(const QTreeWidget &tree)
{
    QStringList roots;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        roots.append(itemText(tree.topLevelItem(i)));
    return roots.join(u' ');
}

void CreateTableIn(TPropTVItem &Rec, TStringGrid &SG, TStringGrid *StpSG)
{
    CreateTable(Rec, SG.Result(), StpSG ? &StpSG->Result() : nullptr);
    SG.ResultChanged();
    if (StpSG)
        StpSG->ResultChanged();
}

TExecResult ExecSqlInto(const QString &SQL, TStringGrid *SGSet, TStringGrid &SG, const QDate &DTB,
                        const QDate &DTE, TRunObserver *Progress)
{
    struct ShownAgain {
        TStringGrid *settings;
        TStringGrid &grid;
        ~ShownAgain()
        {
            grid.ResultChanged();
            if (settings)
                settings->ResultChanged();
        }
    } shown{SGSet, SG};
    return Exec_SQL(SQL, SGSet ? &SGSet->Result() : nullptr, SG.Result(), DTB, DTE, Progress);
}
