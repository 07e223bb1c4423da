#pragma once

#include "catalog/PropTVItem.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QWidget;
class TfSetSQLTable;
class TStringGrid;

// The period the editor tests open the editor with.
inline const QDate editorBegin{2015, 3, 1};
inline const QDate editorEnd{2015, 3, 31};

// The record of catalog node ID as the program loads it from the working session (null when
// the catalog has no such node).
std::unique_ptr<TPropTVItem> loadRecord(int ID);

// Runs Step on the editor window once its modal loop runs (the next time events are processed),
// then closes the window without saving. The flag says whether Step ran.
std::shared_ptr<bool> whenEditorOpens(std::function<void(TfSetSQLTable &)> Step);

// Opens the editor for Rec with SetSqlAndTable and runs Step inside its modal loop on the
// window that is open; the window is then closed without saving (Escape). Returns the modal
// result. The window is owned by Owner.
int openEditor(TPropTVItem &Rec, QWidget &Owner, const std::function<void(TfSetSQLTable &)> &Step);

// Types Texts into settings rows 1 to 3 of column ACol the way a user edits a cell: the
// editor opened on the cell, the keys, Enter (or, for the last cell with Pending, no Enter:
// the text stays in the open editor).
void typeSettings(TStringGrid &SGTableSet, int ACol, const QStringList &Texts,
                  bool Pending = false);

// A real click on a tool button of the window.
void clickButton(TfSetSQLTable &Window, const char *Name);

// A query of the definition row of report ID giving the named columns as SQLite quotes them,
// joined by "|" ('text' or NULL), for CatalogDb::rows.
QString definitionQuery(int ID, const QStringList &Columns);
