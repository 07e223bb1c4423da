#include "catalog/CatalogTree.h"

#include "catalog/CatalogStore.h"
#include "common/MessageDialogs.h"
#include "db/DbErrorWindow.h"

#include <QMouseEvent>
#include <QStyledItemDelegate>

#include <memory>
#include <vector>

namespace {
// A tree node that owns its catalog record.
class TCatalogNode : public QTreeWidgetItem {
public:
    explicit TCatalogNode(std::unique_ptr<TPropTVItem> Rec) : rec(std::move(Rec))
    {
        setText(0, rec->name);
        setFlags(flags() | Qt::ItemIsEditable);
    }
    std::unique_ptr<TPropTVItem> rec;
};

// Hands a completed label edit to the tree; a cancelled edit never reaches setModelData.
class TLabelDelegate : public QStyledItemDelegate {
public:
    explicit TLabelDelegate(TCatalogTree *tree) : QStyledItemDelegate(tree), tree_(tree) {}
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override
    {
        QStyledItemDelegate::setModelData(editor, model, index);
        tree_->LabelEdited(tree_->itemFromIndex(index), index.data().toString());
    }

private:
    TCatalogTree *tree_;
};

// Builds the nodes of a load; handles index the nodes made so far.
class TTreeSink : public TCatalogSink {
public:
    explicit TTreeSink(QTreeWidget &tree) : tree_(tree) {}
    int AddNode(int Parent, std::unique_ptr<TPropTVItem> Rec) override
    {
        auto *node = new TCatalogNode(std::move(Rec));
        if (Parent < 0)
            roots_.push_back(node);
        else
            nodes_[Parent]->addChild(node);
        nodes_.push_back(node);
        return int(nodes_.size()) - 1;
    }
    void MissingFolder(const QString &Name) override
    {
        MyMessageDlg(QStringLiteral("Отсутствует папка для ") + Name, TMsgDlgType::mtCustom,
                     {TMsgDlgBtn::mbOK}, 0);
    }
    // Roots join the tree at the end, in one step, with their subtrees already built.
    void attach() { tree_.addTopLevelItems(roots_); }

private:
    QTreeWidget &tree_;
    QList<QTreeWidgetItem *> roots_;
    std::vector<QTreeWidgetItem *> nodes_;
};
} // namespace

TCatalogTree::TCatalogTree(QWidget *parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setIndentation(19);
    setItemDelegate(new TLabelDelegate(this));
    setContextMenuPolicy(Qt::CustomContextMenu);
    SetReadOnly(false);
}

TPropTVItem *TCatalogTree::Record(const QTreeWidgetItem *Node)
{
    const auto *node = dynamic_cast<const TCatalogNode *>(Node);
    return node ? node->rec.get() : nullptr;
}

void TCatalogTree::SetReadOnly(bool Value)
{
    readOnly_ = Value;
    setEditTriggers(Value ? NoEditTriggers : (SelectedClicked | EditKeyPressed));
}

void TCatalogTree::ClearTV()
{
    emit RecordsReleased();
    clear();
}

void TCatalogTree::selectFirstRoot()
{
    QTreeWidgetItem *first = topLevelItem(0);
    setCurrentItem(first);
    if (!first)
        clearSelection();
}

void TCatalogTree::ListRefresh()
{
    ClearTV();
    TTreeSink sink(*this);
    const TDbResult loaded = LoadCatalog(sink);
    sink.attach();
    if (QTreeWidgetItem *first = topLevelItem(0))
        expandRecursively(indexFromItem(first));
    selectFirstRoot();
    if (!loaded)
        ShowDbError(loaded.Error());
}

namespace {
// Whether the node or one below it matches; the node is hidden when none does.
bool filterNode(QTreeWidgetItem *Node, const QString &Text)
{
    bool below = false;
    for (int i = 0; i < Node->childCount(); ++i)
        below = filterNode(Node->child(i), Text) || below;
    const bool shown = below || Node->text(0).contains(Text, Qt::CaseInsensitive);
    Node->setHidden(!shown);
    if (below && !Text.isEmpty())
        Node->setExpanded(true);
    return shown;
}
} // namespace

void TCatalogTree::Filter(const QString &Text)
{
    for (int i = 0; i < topLevelItemCount(); ++i)
        filterNode(topLevelItem(i), Text);
}

void TCatalogTree::store(const QTreeWidgetItem *Node, TPropTVItem &Rec)
{
    if (const TDbResult stored = InsUpDateNode(Rec, 0, Node->parent() == nullptr); !stored)
        ShowWriteError(Rec.name, stored.Error());
}

void TCatalogTree::createNode(QTreeWidgetItem *Parent, int NodeType)
{
    auto *node = new TCatalogNode(NewNodeRecord(*Record(Parent), NodeType));
    Parent->insertChild(0, node);
    Parent->setExpanded(true);
    store(node, *node->rec);
    SetReadOnly(false);
    setCurrentItem(node);
    editItem(node);
}

void TCatalogTree::CreateFolder()
{
    if (SelectedRecord())
        createNode(currentItem(), 1);
}

void TCatalogTree::CreateReport()
{
    const TPropTVItem *rec = SelectedRecord();
    if (!rec)
        return;
    QTreeWidgetItem *parent = rec->nodetype == 0 ? currentItem()->parent() : currentItem();
    if (parent)
        createNode(parent, 0);
}

void TCatalogTree::StartRename()
{
    if (!currentItem())
        return;
    SetReadOnly(false);
    editItem(currentItem());
}

void TCatalogTree::LabelEdited(QTreeWidgetItem *Node, const QString &S)
{
    if (TPropTVItem *rec = Record(Node)) {
        rec->name = S;
        store(Node, *rec);
    }
    SetReadOnly(true);
}

void TCatalogTree::DeleteSelected()
{
    QTreeWidgetItem *node = currentItem();
    const TPropTVItem *rec = Record(node);
    if (!rec)
        return;
    if (node->childCount() > 0) {
        const QString text = QStringLiteral("Внимание! У выбранного элемента есть дочерние!") +
                             QStringLiteral("\n\r") + QString(15, u' ') +
                             QStringLiteral("Удалить все ?");
        if (MyMessageDlg(text, TMsgDlgType::mtConfirmation,
                         {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbCancel}, 0) == mrCancel)
            return;
    } else if (MyMessageDlg(QStringLiteral("Удалить выбраный элемент ?"),
                            TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo},
                            0) == mrNo) {
        return;
    }
    // After a failure too, the reload below shows what is really stored.
    const TDbResult deleted = DeleteSubtree(rec->id);
    if (!deleted)
        ShowDbError(deleted.Error());
    emit RecordsReleased();
    delete node;
    selectFirstRoot();
    ListRefresh();
}

void TCatalogTree::mousePressEvent(QMouseEvent *event)
{
    // A right click opens the context menu on the selected node without moving the selection.
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

void TCatalogTree::mouseReleaseEvent(QMouseEvent *event)
{
    QTreeWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit Click();
}
