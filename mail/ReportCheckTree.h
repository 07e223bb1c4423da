#pragma once

#include "catalog/PropTVItem.h"

#include <QString>
#include <QTreeWidget>

// The report catalog with a check box on every node, for choosing the reports of a mail
// recipient: folders have three-state boxes that follow the reports below them (checking a
// folder checks everything inside it), reports plain boxes. Each node owns its catalog record.
class TReportCheckTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit TReportCheckTree(QWidget *parent = nullptr);

    // The record a node owns (null for none).
    static TPropTVItem *Record(const QTreeWidgetItem *Node);

    // Rebuilds the tree from the catalog; a row whose folder is not in the tree is announced
    // with "Отсутствует папка для " and its name and left out. A failing read ends the build
    // with the nodes added so far.
    void GetRptTree();

    // The identifiers of the checked reports in display order, "," between them ("12,15,40"),
    // empty when none is checked.
    QString SetIdsRpt() const;
    // Checks exactly the reports whose identifiers the list names (read by ReportIdList), lets
    // the folders follow, and expands the whole tree.
    void SetVST(const QString &Ids);
};
