#include "batch/ReportLookup.h"

#include "catalog/CatalogStore.h"

#include <QStringList>

namespace {

class TFlatSink : public TCatalogSink {
public:
    explicit TFlatSink(std::vector<std::unique_ptr<TPropTVItem>> &Nodes) : nodes_(Nodes) {}
    int AddNode(int, std::unique_ptr<TPropTVItem> Rec) override
    {
        nodes_.push_back(std::move(Rec));
        return int(nodes_.size()) - 1;
    }
    void MissingFolder(const QString &) override {}

private:
    std::vector<std::unique_ptr<TPropTVItem>> &nodes_;
};

} // namespace

TDbResult TReportCatalog::Load()
{
    nodes_.clear();
    TFlatSink sink(nodes_);
    return LoadCatalog(sink);
}

const TPropTVItem *TReportCatalog::ById(int Id) const
{
    for (const auto &n : nodes_)
        if (n->id == Id && !n->IsFolder())
            return n.get();
    return nullptr;
}

const TPropTVItem *TReportCatalog::Find(const QString &IdOrName, QString &Error) const
{
    bool number = false;
    const int id = IdOrName.toInt(&number);
    if (number) {
        if (const TPropTVItem *rec = ById(id))
            return rec;
    }
    std::vector<const TPropTVItem *> named;
    bool folder = false;
    for (const auto &n : nodes_) {
        if (n->name != IdOrName)
            continue;
        if (n->IsFolder())
            folder = true;
        else
            named.push_back(n.get());
    }
    if (named.size() == 1)
        return named.front();
    if (named.size() > 1) {
        QStringList ids;
        for (const TPropTVItem *rec : named)
            ids << QString::number(rec->id);
        Error = QStringLiteral("several reports are named \"") + IdOrName +
                QStringLiteral("\"; give one of the identifiers ") + ids.join(QStringLiteral(", "));
    } else if (folder)
        Error = QStringLiteral("\"") + IdOrName + QStringLiteral("\" is a folder, not a report");
    else
        Error = QStringLiteral("no report \"") + IdOrName + QStringLiteral("\" in the catalog");
    return nullptr;
}
