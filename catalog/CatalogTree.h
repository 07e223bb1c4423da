#pragma once

#include "catalog/PropTVItem.h"

#include <QTreeWidget>

// The catalog as a tree of folders and reports; each node owns its record. Beside the tree it
// offers the catalog commands as the user gives them: reload, create a folder or a report,
// rename in place, delete with confirmation. Messages go through common/MessageDialogs.
class TCatalogTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit TCatalogTree(QWidget *parent = nullptr);

    // The record a node owns (null for none).
    static TPropTVItem *Record(const QTreeWidgetItem *Node);
    TPropTVItem *SelectedRecord() const { return Record(currentItem()); }

    // Reloads every node from the database; ends with the first root selected and expanded
    // with all its descendants (no selection for an empty catalog).
    void ListRefresh();
    // Releases every record and removes every node.
    void ClearTV();
    // Shows only the nodes whose names contain Text regardless of case, with the folders
    // above them opened; an empty text shows every node again.
    void Filter(const QString &Text);

    // A new folder under the selected node, or a new report under the selected folder (or
    // beside the selected report); stored at once, then its label is edited in place.
    void CreateFolder();
    void CreateReport();
    // Starts editing the selected node's label.
    void StartRename();
    // Deletes the selected node and everything below it, after confirmation; then reloads.
    void DeleteSelected();

    // In-place label editing: allowed while not read-only; each completed edit makes the tree
    // read-only, and the create and rename commands allow it again.
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool Value);

    // A completed label edit (not a cancelled one): the record takes the name and is stored.
    void LabelEdited(QTreeWidgetItem *Node, const QString &S);

signals:
    // A left click anywhere in the tree (keyboard moves do not count).
    void Click();
    // Records are about to be released: references to them must be dropped.
    void RecordsReleased();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void createNode(QTreeWidgetItem *Parent, int NodeType);
    // Stores the node's catalog row (a top-level node as a root); a failure is shown.
    void store(const QTreeWidgetItem *Node, TPropTVItem &Rec);
    void selectFirstRoot();

    bool readOnly_ = false;
};
