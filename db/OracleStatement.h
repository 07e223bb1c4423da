#pragma once

#include "db/FieldValue.h"
#include "db/OracleSession.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

class TOracleStatement;
class TCursorState;

// Type codes of bind variables; the system uses only these two.
enum TOracleVariableType { otInteger = 3, otString = 5 };

// A column's value (Field) converted to an integer, as a variant converts: NULL and a value
// that is not a number raise EOracleError.
qlonglong IntegerOfValue(const QVariant &Value);

// One column of the current row of a statement or dataset. Valid while its statement is
// open; it reads whatever row the statement stands on.
class TField {
public:
    QString FieldName() const;
    TFieldType DataType() const;
    int Index() const { return index_; }
    bool IsNull() const;
    // The value: qlonglong for integer fields, double for double fields, QDateTime for
    // date-times, QString for text; an invalid variant for NULL.
    QVariant Value() const;
    // The text of the value as the result grid shows it.
    QString AsString() const;
    // Appends that text to Out, without a string object of its own.
    void AppendText(std::vector<char16_t> &Out) const;
    // Integer, double and date-time readings; NULL reads as 0 (and an invalid date-time).
    // A value that is not a number raises EOracleError.
    qlonglong AsInteger() const;
    double AsFloat() const;
    QDateTime AsDateTime() const;

private:
    friend class TOracleStatement;
    TField(const TOracleStatement *owner, int index) : owner_(owner), index_(index) {}
    const TOracleStatement *owner_;
    int index_;
};

// What statements and datasets share: the session, the statement text as a list of lines,
// bind variables (:Name in the text), and the rows of a query, fetched in batches.
// Each object is used by one thread at a time.
class TOracleStatement : public QObject {
    Q_OBJECT
public:
    ~TOracleStatement() override;

    TOracleSession *Session() const { return session_; }
    // May be changed between executions; an open cursor stays with the session it ran on.
    virtual void SetSession(TOracleSession *Value);

    // The statement text, one line per item; the statement is the lines joined by line breaks.
    QStringList SQL;
    QString SQLText() const { return SQL.join(u'\n'); }

    // Variables :Name of the text. Names compare without regard to case. A declared
    // variable that the text does not name is not bound.
    void DeclareVariable(const QString &Name, int Type);
    void SetVariable(const QString &Name, const QVariant &Value);
    QVariant GetVariable(const QString &Name) const;
    void DeleteVariables();
    void ClearVariables();
    int VariableCount() const { return int(variables_.size()); }

    // Prepares and runs the text on the session, binding the variables; raises EOracleError
    // with the server's message. After a query the object stands on the first row (Eof when
    // there is none); after any other statement it has no rows. No checks of any kind:
    // TOracleQuery::Execute and TOracleDataSet::Open/ExecSQL are this, and the checked
    // objects build on it.
    void Run();

    bool Active() const;
    bool Eof() const;
    // Advances; Eof past the last row. Raises EOracleError when the fetch fails.
    void Next();
    // Releases the cursor.
    void Close();

    int FieldCount() const;
    // The fields in result order; raise EOracleError for an index or name not in the result.
    TField &Fields(int Index);
    TField &FieldByName(const QString &Name);
    TField *FindField(const QString &Name);
    // The named column of the current row as a variant, and as text.
    QVariant Field(const QString &Name);
    QString FieldAsString(const QString &Name);

    // Rows changed by the last statement that was not a query (-1 when unknown).
    int RowsProcessed() const { return rowsProcessed_; }

protected:
    explicit TOracleStatement(QObject *Owner);

private:
    friend class TField;
    struct Variable {
        QString name;
        int type;
        QVariant value;
    };
    const Variable *findVariable(const QString &name) const;
    Variable *findVariable(const QString &name);
    QVariant value(int index) const;
    TFieldType fieldType(int index) const;
    QString fieldName(int index) const;

    QPointer<TOracleSession> session_;
    QList<Variable> variables_;
    std::unique_ptr<TCursorState> cursor_;
    std::vector<std::unique_ptr<TField>> fields_;
    int rowsProcessed_ = -1;
};

// One statement on one session.
class TOracleQuery : public TOracleStatement {
    Q_OBJECT
public:
    explicit TOracleQuery(QObject *Owner = nullptr);
    // Prepares and runs the statement; raises on any error.
    virtual void Execute();
};

// A row set with the usual dataset operations.
class TOracleDataSet : public TOracleStatement {
    Q_OBJECT
public:
    explicit TOracleDataSet(QObject *Owner = nullptr);
    // Runs the query; raises on error.
    virtual void Open();
    // Runs a statement without a result set; raises on error.
    virtual void ExecSQL();
};
