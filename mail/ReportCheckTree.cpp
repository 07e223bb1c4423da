#include "mail/ReportCheckTree.h"

#include "catalog/CatalogStore.h"
#include "common/MessageDialogs.h"
#include "mail/MailSettingsStore.h"

#include <QSet>

#include <memory>
#include <vector>

namespace {
class TReportNode : public QTreeWidgetItem {
public:
    // Folders and every root, a report too, get a three-state box.
    TReportNode(std::unique_ptr<TPropTVItem> Rec, bool Root) : rec(std::move(Rec))
    {
        setText(0, rec->name);
        Qt::ItemFlags f = flags() | Qt::ItemIsUserCheckable;
        if (Root || rec->IsFolder())
            f |= Qt::ItemIsAutoTristate;
        setFlags(f);
        setCheckState(0, Qt::Unchecked);
    }
    std::unique_ptr<TPropTVItem> rec;
};

class TCheckTreeSink : public TCatalogSink {
public:
    int AddNode(int Parent, std::unique_ptr<TPropTVItem> Rec) override
    {
        auto *node = new TReportNode(std::move(Rec), Parent < 0);
        if (Parent < 0)
            roots.append(node);
        else
            nodes[std::size_t(Parent)]->addChild(node);
        nodes.push_back(node);
        return int(nodes.size()) - 1;
    }
    void MissingFolder(const QString &Name) override
    {
        MyMessageDlg(QStringLiteral("Отсутствует папка для ") + Name, TMsgDlgType::mtCustom,
                     {TMsgDlgBtn::mbOK}, 0);
    }
    bool ReportsHoldNodes() const override { return true; }

    QList<QTreeWidgetItem *> roots;
    std::vector<QTreeWidgetItem *> nodes;
};

bool isReport(const QTreeWidgetItem *Node)
{
    const TPropTVItem *rec = TReportCheckTree::Record(Node);
    return rec && rec->nodetype == 0;
}

// Every node below Parent in display order (parents before their children).
template <typename Item, typename Visit> void forEachNode(Item *Parent, const Visit &visit)
{
    for (int i = 0; i < Parent->childCount(); ++i) {
        Item *child = Parent->child(i);
        visit(child);
        forEachNode(child, visit);
    }
}
} // namespace

TReportCheckTree::TReportCheckTree(QWidget *parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
}

TPropTVItem *TReportCheckTree::Record(const QTreeWidgetItem *Node)
{
    const auto *node = dynamic_cast<const TReportNode *>(Node);
    return node ? node->rec.get() : nullptr;
}

void TReportCheckTree::GetRptTree()
{
    clear();
    TCheckTreeSink sink;
    LoadCatalog(sink);
    // Subtrees are complete before they join the tree, so no folder recomputes its box per child.
    addTopLevelItems(sink.roots);
}

QString TReportCheckTree::SetIdsRpt() const
{
    QStringList ids;
    forEachNode(invisibleRootItem(), [&ids](const QTreeWidgetItem *node) {
        if (isReport(node) && node->checkState(0) == Qt::Checked)
            ids.append(QString::number(Record(node)->id));
    });
    return ids.join(u',');
}

void TReportCheckTree::SetVST(const QString &Ids)
{
    const QStringList list = ReportIdList(Ids);
    const QSet<QString> wanted(list.cbegin(), list.cend());
    forEachNode(invisibleRootItem(), [&wanted](QTreeWidgetItem *node) {
        // A folder with reports follows them; an empty one has nothing to show.
        if (isReport(node))
            node->setCheckState(0, wanted.contains(QString::number(Record(node)->id))
                                       ? Qt::Checked
                                       : Qt::Unchecked);
        else if (node->childCount() == 0)
            node->setCheckState(0, Qt::Unchecked);
    });
    expandAll();
}
