#include "catalog/CatalogStore.h"

#include "catalog/QuorvelUtil.h"
#include "db/NoteQuery.h"
#include "db/OracleBase.h"
#include "db/OracleSession.h"
#include "db/QueryHelpers.h"

#include <QHash>
#include <QSet>

#include <vector>

namespace {
// A root keeps PARENT_ID NULL; its record holds 0, as does a child of folder 0.
QString parentText(const TPropTVItem &Rec, bool Root)
{
    return Root ? QStringLiteral("NULL") : QString::number(Rec.parent_id);
}

// The identifiers of ID and of every stored node below it, parents before children.
TDbResult subtreeIds(int ID, std::vector<int> &ids)
{
    QSet<int> seen{ID};
    ids.assign(1, ID);
    TNoteDataSet ds;
    ds.SQL = QStringList{QStringLiteral("SELECT ID_REPORT FROM QUORVEL_CAT WHERE PARENT_ID=:P")};
    ds.DeclareVariable(QStringLiteral("P"), otInteger);
    for (std::size_t next = 0; next < ids.size(); ++next) {
        ds.SetVariable(QStringLiteral("P"), ids[next]);
        if (!ds.NoteOpen())
            return ds.LastError();
        while (!ds.Eof()) {
            const int child = int(ds.Fields(0).AsInteger());
            // A parent link that loops back is not followed twice.
            if (!seen.contains(child)) {
                seen.insert(child);
                ids.push_back(child);
            }
            if (!ds.NoteNext())
                return ds.LastError();
        }
        ds.Close();
    }
    return {};
}
} // namespace

TDbResult LoadCatalog(TCatalogSink &Sink)
{
    TNoteDataSet ds;
    ds.SQL = QStringList{FOracleBase->ADatabase->Dialect().CatalogQuery()};
    if (!ds.NoteOpen())
        return ds.LastError();
    TField &id = ds.FieldByName(QStringLiteral("ID_REPORT"));
    TField &name = ds.FieldByName(QStringLiteral("NAME_REPORT"));
    TField &parentName = ds.FieldByName(QStringLiteral("PARENT_NAME"));
    TField &parentId = ds.FieldByName(QStringLiteral("PARENT_ID"));
    TField &folder = ds.FieldByName(QStringLiteral("FOLDER"));
    TField *definition[] = {&ds.FieldByName(QStringLiteral("SQL_TEXT")),
                            &ds.FieldByName(QStringLiteral("NAME_TITLE")),
                            &ds.FieldByName(QStringLiteral("LENGTH_COLUMS")),
                            &ds.FieldByName(QStringLiteral("FORMAT_STR")),
                            &ds.FieldByName(QStringLiteral("PRN_TITLE_TOP")),
                            &ds.FieldByName(QStringLiteral("PRN_TITLE_BOT"))};

    QHash<int, int> listFold; // folder id -> handle
    const bool reportsHoldNodes = Sink.ReportsHoldNodes();
    int curFNode = -1;
    int curFId = 0;
    while (!ds.Eof()) {
        auto rec = std::make_unique<TPropTVItem>();
        rec->id = int(id.AsInteger());
        const bool root = parentId.IsNull();
        rec->parent_id = root ? 0 : int(parentId.AsInteger());
        rec->name = name.AsString();
        rec->parent_name = parentName.AsString();
        rec->nodetype = int(folder.AsInteger());
        const int recId = rec->id;
        if (root) {
            curFNode = Sink.AddNode(-1, std::move(rec));
            curFId = recId;
            listFold.insert(recId, curFNode);
        } else {
            bool placed = curFNode >= 0 && rec->parent_id == curFId;
            if (!placed) {
                const auto found = listFold.constFind(rec->parent_id);
                if (found == listFold.constEnd()) {
                    Sink.MissingFolder(rec->name);
                } else {
                    curFNode = found.value();
                    curFId = rec->parent_id;
                    placed = true;
                }
            }
            if (placed && rec->IsFolder()) {
                curFNode = Sink.AddNode(curFNode, std::move(rec));
                curFId = recId;
                listFold.insert(recId, curFNode);
            } else if (placed) {
                QString *texts[] = {&rec->SQL_TEXT,   &rec->NAME_TITLE,    &rec->LENGTH_COLUMS,
                                    &rec->FORMAT_STR, &rec->PRN_TITLE_TOP, &rec->PRN_TITLE_BOT};
                for (int i = 0; i < 6; ++i)
                    *texts[i] = definition[i]->AsString();
                const int handle = Sink.AddNode(curFNode, std::move(rec));
                if (reportsHoldNodes)
                    listFold.insert(recId, handle);
            }
        }
        if (!ds.NoteNext())
            return ds.LastError();
    }
    return {};
}

TDbResult InsUpDateNode(TPropTVItem &PropOutForm, int, bool Root)
{
    TNoteQuery q;
    q.DeclareVariable(QStringLiteral("NAME"), otString);
    q.SetVariable(QStringLiteral("NAME"), PropOutForm.name);
    if (PropOutForm.id != TPropTVItem::NewId) {
        q.SQL = QStringList{QStringLiteral("UPDATE QUORVEL_CAT SET NAME_REPORT=:NAME, PARENT_ID="),
                            parentText(PropOutForm, Root),
                            QStringLiteral("WHERE ID_REPORT = ") + QString::number(PropOutForm.id)};
        return NoteResult(q.NoteExecSQL(true), q);
    }
    TDbError failed;
    int TID = CreMaxID(QStringLiteral("SELECT max(ID_REPORT) ID FROM QUORVEL_CAT"), &failed);
    // Without the greatest identifier the node would be stored under -1.
    if (TID < 0)
        return failed;
    if (TID == 0)
        TID = 1;
    PropOutForm.id = TID;
    q.SQL = QStringList{
        QStringLiteral("INSERT INTO QUORVEL_CAT (ID_REPORT, NAME_REPORT, PARENT_ID, FOLDER) "),
        QStringLiteral("VALUES(") + QString::number(TID) + QStringLiteral(", :NAME,"),
        parentText(PropOutForm, Root) + QStringLiteral(", ") +
            QString::number(PropOutForm.nodetype) + QStringLiteral(")")};
    if (PropOutForm.IsFolder())
        return NoteResult(q.NoteExecSQL(true), q);
    // The editor only updates a definition row, so a report gets one from the start.
    if (!q.NoteExecSQL(false))
        return q.LastError();
    TNoteQuery definition;
    definition.SQL = QStringList{QStringLiteral("INSERT INTO QUORVEL (ID_REPORT) VALUES(:I)")};
    definition.DeclareVariable(QStringLiteral("I"), otInteger);
    definition.SetVariable(QStringLiteral("I"), TID);
    return NoteResult(definition.NoteExecSQL(true), definition);
}

TDbResult DeleteSubtree(int ID)
{
    std::vector<int> ids;
    if (TDbResult found = subtreeIds(ID, ids); !found)
        return found;
    // Children first; the last statement commits the whole deletion.
    for (std::size_t i = ids.size(); i-- > 0;) {
        TDbResult deleted = DeleteRep(QStringLiteral("QUORVEL"), ids[i], false);
        if (deleted)
            deleted = DeleteRep(QStringLiteral("QUORVEL_CAT"), ids[i], i == 0);
        if (!deleted)
            return deleted;
    }
    return {};
}

std::unique_ptr<TPropTVItem> NewNodeRecord(const TPropTVItem &Parent, int NodeType)
{
    auto rec = std::make_unique<TPropTVItem>();
    rec->id = TPropTVItem::NewId;
    rec->parent_id = Parent.id;
    rec->parent_name = Parent.name;
    rec->nodetype = NodeType;
    rec->name = NodeType == 1 ? QStringLiteral("Новая папка") : QStringLiteral("Новый отчет");
    return rec;
}

TTreeMenuStates TreeMenuStates(const TPropTVItem &Rec)
{
    TTreeMenuStates s;
    s.CreateFolder = Rec.IsFolder();
    s.DelFolder = Rec.IsFolder() && Rec.id >= 0;
    s.Insert = false;
    s.Delete = Rec.nodetype == 0;
    return s;
}
