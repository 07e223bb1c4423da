#pragma once

#include "db/DbError.h"

#include <QList>
#include <QString>

class TNoteDataSet;

// "ALTER SESSION SET " + ParName + " = " + ParValue (in the working engine's dialect) as a
// checked execution: skipped in view mode (true), repeated on the reserve while mirrored.
// False on error, reported as "NoteQuery.NoteExecSQL" when Debug_ is set.
bool SetSessionPar(const QString &ParName, const QString &ParValue);

// Runs s, a query selecting the greatest identifier as a column named ID: its value plus 1
// (NULL counts as 0, so an empty table gives 1), 0 with no row, -1 when the query fails (its
// error into Error, when given).
int CreMaxID(const QString &s, TDbError *Error = nullptr);

// One item of a list of texts each carrying an integer.
struct TCodedString {
    QString Text;
    int Code = 0;
    bool operator==(const TCodedString &) const = default;
};
using TCodedStrings = QList<TCodedString>;

// Fills Items (cleared first) with NameField carrying CodeField of each row of Table:
// "SELECT [DISTINCT] NameField, CodeField[, OrderField] FROM Table" (OrderField is selected
// only with Distinct when it differs from both fields), "WHERE Condition" and
// "ORDER BY OrderField" when given. Works on NDS, or on a dataset of its own when NDS is
// null. On success NotDefItem, when not empty, is inserted first with code 0. False when
// the query or a step fails (rows read so far stay, NotDefItem is not added).
bool LoadStrings(TCodedStrings &Items, TNoteDataSet *NDS, const QString &Table,
                 const QString &NameField, const QString &CodeField, const QString &Condition,
                 const QString &OrderField, const QString &NotDefItem, bool Distinct);
