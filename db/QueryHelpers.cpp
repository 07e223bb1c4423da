#include "db/QueryHelpers.h"

#include "db/NoteQuery.h"
#include "db/OracleBase.h"
#include "db/OracleError.h"
#include "db/OracleSession.h"
#include "db/UiThread.h"

#include <memory>

bool SetSessionPar(const QString &ParName, const QString &ParValue)
{
    TNoteQuery q;
    try {
        if (!FOracleBase)
            throw EOracleError(QStringLiteral("The database module is not created"));
        q.SQL.append(FOracleBase->ADatabase->Dialect().SessionParameter(ParName, ParValue));
        q.Execute();
        return true;
    } catch (const std::exception &e) {
        if (Debug_)
            ShowErrorOnUiThread(QStringLiteral("NoteQuery.NoteExecSQL\r\n") + ExceptionText(e),
                                q.SQLText());
        return false;
    }
}

int CreMaxID(const QString &s, TDbError *Error)
{
    TNoteDataSet ds;
    ds.SQL.append(s);
    if (!ds.NoteOpen()) {
        if (Error)
            *Error = ds.LastError();
        return -1;
    }
    try {
        if (ds.Eof())
            return 0;
        return int(ds.FieldByName(QStringLiteral("ID")).AsInteger()) + 1;
    } catch (const std::exception &e) {
        if (Error)
            *Error = DbErrorOf(QStringLiteral("CreMaxID"), e, s);
        return -1;
    }
}

bool LoadStrings(TCodedStrings &Items, TNoteDataSet *NDS, const QString &Table,
                 const QString &NameField, const QString &CodeField, const QString &Condition,
                 const QString &OrderField, const QString &NotDefItem, bool Distinct)
{
    Items.clear();
    std::unique_ptr<TNoteDataSet> own;
    if (!NDS) {
        own = std::make_unique<TNoteDataSet>();
        NDS = own.get();
    }
    NDS->SQL.clear();
    if (!Distinct)
        NDS->SQL.append(QStringLiteral("SELECT ") + NameField + QStringLiteral(", ") + CodeField +
                        QStringLiteral(" FROM ") + Table);
    else if (!OrderField.isEmpty() && OrderField != NameField && OrderField != CodeField)
        NDS->SQL.append(QStringLiteral("SELECT DISTINCT ") + NameField + QStringLiteral(", ") +
                        CodeField + QStringLiteral(", ") + OrderField + QStringLiteral(" FROM ") +
                        Table);
    else
        NDS->SQL.append(QStringLiteral("SELECT DISTINCT ") + NameField + QStringLiteral(", ") +
                        CodeField + QStringLiteral(" FROM ") + Table);
    if (!Condition.isEmpty())
        NDS->SQL.append(QStringLiteral("WHERE ") + Condition);
    if (!OrderField.isEmpty())
        NDS->SQL.append(QStringLiteral("ORDER BY ") + OrderField);
    if (!NDS->NoteOpen())
        return false;
    bool result = true;
    try {
        while (!NDS->Eof()) {
            Items.append({NDS->FieldByName(NameField).AsString(),
                          int(NDS->FieldByName(CodeField).AsInteger())});
            if (!NDS->NoteNext()) {
                result = false;
                break;
            }
        }
    } catch (const std::exception &) {
        result = false;
    }
    NDS->Close();
    if (result && !NotDefItem.isEmpty())
        Items.prepend({NotDefItem, 0});
    return result;
}
