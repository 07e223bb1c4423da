#pragma once

#include <QString>

// One node of the report catalog, folder or report, with its stored definition. Each tree node
// owns one; other windows hold references without owning them.
struct TPropTVItem {
    // The id of a node whose catalog row has not been inserted yet.
    static constexpr int NewId = -10;

    int id = NewId;
    QString name;
    int parent_id = 0; // 0 for a root
    QString parent_name;
    int nodetype = 0; // 1 folder, 0 report
    QString SQL_TEXT;
    QString NAME_TITLE;
    QString LENGTH_COLUMS;
    QString FORMAT_STR;
    QString PRN_TITLE_TOP;
    QString PRN_TITLE_BOT;
    int TIME_GEN = 0;
    double Last_Gen = 0;

    bool IsFolder() const { return nodetype == 1; }
};
