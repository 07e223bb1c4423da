#pragma once

#include "catalog/PropTVItem.h"
#include "db/DbError.h"

#include <QString>

#include <memory>

// The stored catalog of folders and reports (QUORVEL_CAT, with the definitions in QUORVEL),
// apart from any window.

// Where a catalog load puts its nodes. Handles are the sink's own; -1 stands for no parent.
class TCatalogSink {
public:
    virtual ~TCatalogSink() = default;
    // Appends a node for Rec as the last child of Parent (-1: a new root); returns its handle.
    virtual int AddNode(int Parent, std::unique_ptr<TPropTVItem> Rec) = 0;
    // A row whose folder is not in the tree; the row is dropped.
    virtual void MissingFolder(const QString &Name) = 0;
    // Whether a row whose parent is a report goes under that report (the mail settings tree)
    // rather than being reported missing (the catalog tree).
    virtual bool ReportsHoldNodes() const { return false; }
};

// Reads the catalog query of the working engine and places each row: a root for a row without
// parent, else a child of the current folder or of the folder its parent names (reports carry
// their definition). The error when the query fails or a row cannot be fetched; the nodes
// placed until then stay.
TDbResult LoadCatalog(TCatalogSink &Sink);

// Stores a node's catalog row: an insert for a new node (id NewId), which first gives the record
// the next identifier, else an update. The name is bound, so it is stored as typed; a Root (a
// node without parent in the tree) keeps a NULL parent, any other node its parent_id, which
// may be 0 (a folder whose ID_REPORT is 0). A new report gets its empty definition row in the
// same transaction. The second argument is not used.
// The error when a statement fails (rolled back), or when no new identifier can be read.
TDbResult InsUpDateNode(TPropTVItem &PropOutForm, int OldID, bool Root);

// Deletes the node ID and every node below it, as stored, from both tables in one
// transaction. The error (rolled back) when a statement fails.
TDbResult DeleteSubtree(int ID);

// The record of a new folder (NodeType 1) or report (0) under Parent.
std::unique_ptr<TPropTVItem> NewNodeRecord(const TPropTVItem &Parent, int NodeType);

// Which items of the tree's context menu a node allows.
struct TTreeMenuStates {
    bool CreateFolder = false;
    bool DelFolder = false;
    bool Insert = false;
    bool Delete = false;
    bool operator==(const TTreeMenuStates &) const = default;
};
TTreeMenuStates TreeMenuStates(const TPropTVItem &Rec);
