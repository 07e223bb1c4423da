#include "db/OracleStatement.h"

#include "common/ThreadChecks.h"
#include "db/OracleError.h"
#include "db/OracleSession.h"
#include "db/SessionCore.h"

#include <QScopeGuard>

#include <utility>

namespace {
// The first batch is small so that one-row queries cost little; later batches grow so that
// long results cross from the worker thread in few hand-overs.
constexpr int firstBatchRows = 256;
constexpr int maxBatchRows = 8192;
} // namespace

// The rows of an open query on this side of the worker thread: the current batch, where the
// statement stands in it, and the next batch, which the worker reads meanwhile.
class TCursorState {
public:
    std::weak_ptr<TSessionCore> core;
    quint64 id = 0;
    std::vector<TColumnInfo> columns;
    TRowBatch batch;
    std::future<TFetchedBatch> ahead;
    const TSessionCore *aheadFrom = nullptr; // the core reading it, as a key of ThreadChecks
    size_t rows = 0;
    size_t pos = 0;
    int nextBatchRows = firstBatchRows;

    ~TCursorState() { settle(); }

    // Takes a batch and, unless it was the last, has the worker read the next one.
    void take(TRowBatch &&b)
    {
        batch = std::move(b);
        rows = columns.empty() ? 0 : batch.cells.size() / columns.size();
        pos = 0;
        if (batch.exhausted) {
            id = 0;
            return;
        }
        if (const std::shared_ptr<TSessionCore> c = core.lock()) {
            ahead = c->fetchAhead(id, nextBatchRows);
            aheadFrom = c.get();
            nextBatchRows = std::min(maxBatchRows, nextBatchRows * 4);
        }
    }

    // Waits for a read still under way, whose rows nobody will take.
    void settle()
    {
        if (!ahead.valid())
            return;
        ahead.wait();
        TakeOver(aheadFrom);
        ahead = {};
    }

    const TFieldCell &cell(int index) const
    {
        return batch.cells[pos * columns.size() + size_t(index)];
    }
};

QString TField::FieldName() const
{
    return owner_->fieldName(index_);
}

TFieldType TField::DataType() const
{
    return owner_->fieldType(index_);
}

bool TField::IsNull() const
{
    return Value().isNull();
}

QVariant TField::Value() const
{
    return owner_->value(index_);
}

QString TField::AsString() const
{
    thread_local std::vector<char16_t> text;
    text.clear();
    AppendText(text);
    return QString(reinterpret_cast<const QChar *>(text.data()), qsizetype(text.size()));
}

void TField::AppendText(std::vector<char16_t> &Out) const
{
    if (owner_->Eof())
        return;
    const TCursorState &c = *owner_->cursor_;
    c.batch.AppendCellText(DataType(), c.cell(index_), Out);
}

qlonglong TField::AsInteger() const
{
    const QVariant v = Value();
    return v.isNull() ? 0 : IntegerOfValue(v);
}

qlonglong IntegerOfValue(const QVariant &v)
{
    if (v.isNull())
        throw EOracleError(QStringLiteral("NULL is not a valid integer value"));
    bool ok = false;
    const qlonglong i = v.toLongLong(&ok);
    if (ok)
        return i;
    const double d = v.toString().trimmed().toDouble(&ok);
    if (!ok)
        throw EOracleError(QStringLiteral("'%1' is not a valid integer value").arg(v.toString()));
    return qlonglong(d);
}

double TField::AsFloat() const
{
    const QVariant v = Value();
    if (v.isNull())
        return 0;
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok)
        throw EOracleError(
            QStringLiteral("'%1' is not a valid floating point value").arg(v.toString()));
    return d;
}

QDateTime TField::AsDateTime() const
{
    return Value().toDateTime();
}

TOracleStatement::TOracleStatement(QObject *Owner) : QObject(Owner) {}

TOracleStatement::~TOracleStatement()
{
    Close();
}

void TOracleStatement::SetSession(TOracleSession *Value)
{
    session_ = Value;
}

const TOracleStatement::Variable *TOracleStatement::findVariable(const QString &name) const
{
    for (const Variable &v : variables_)
        if (v.name.compare(name, Qt::CaseInsensitive) == 0)
            return &v;
    return nullptr;
}

TOracleStatement::Variable *TOracleStatement::findVariable(const QString &name)
{
    return const_cast<Variable *>(std::as_const(*this).findVariable(name));
}

void TOracleStatement::DeclareVariable(const QString &Name, int Type)
{
    if (Variable *v = findVariable(Name)) {
        v->type = Type;
        v->value = QVariant();
        return;
    }
    variables_.append(Variable{Name, Type, QVariant()});
}

void TOracleStatement::SetVariable(const QString &Name, const QVariant &Value)
{
    Variable *v = findVariable(Name);
    if (!v)
        throw EOracleError(QStringLiteral("Variable %1 is not declared").arg(Name), 0, QString(),
                           this, session_);
    v->value = Value;
}

QVariant TOracleStatement::GetVariable(const QString &Name) const
{
    const Variable *v = findVariable(Name);
    return v ? v->value : QVariant();
}

void TOracleStatement::DeleteVariables()
{
    variables_.clear();
}

void TOracleStatement::ClearVariables()
{
    for (Variable &v : variables_)
        v.value = QVariant();
}

void TOracleStatement::Run()
{
    Close();
    if (!session_)
        throw EOracleError(QStringLiteral("No session is given to the statement"), 0, QString(),
                           this);
    const std::shared_ptr<TSessionCore> core = session_->Core();
    std::vector<TBindVariable> variables;
    for (const Variable &v : variables_) {
        if (v.type == otInteger)
            variables.push_back({v.name, v.value.isNull()
                                             ? QVariant(QMetaType::fromType<qlonglong>())
                                             : QVariant(v.value.toLongLong())});
        else
            variables.push_back({v.name, v.value.isNull() ? QVariant(QMetaType::fromType<QString>())
                                                          : QVariant(v.value.toString())});
    }
    const QString text = SQLText();
    TRunResult result;
    try {
        core->call([&] { result = core->run(text, variables, firstBatchRows); });
    } catch (const EOracleError &e) {
        throw EOracleError(e.Message(), e.ErrorCode(), e.NativeCode(), this, session_);
    }
    rowsProcessed_ = result.rowsAffected;
    if (result.columns.empty())
        return;
    auto cursor = std::make_unique<TCursorState>();
    cursor->core = core;
    cursor->id = result.cursor;
    cursor->columns = std::move(result.columns);
    cursor->take(std::move(result.first));
    cursor_ = std::move(cursor);
    for (int i = 0; i < int(cursor_->columns.size()); ++i)
        fields_.push_back(std::unique_ptr<TField>(new TField(this, i)));
}

bool TOracleStatement::Active() const
{
    return cursor_ != nullptr;
}

bool TOracleStatement::Eof() const
{
    return !cursor_ || cursor_->pos >= cursor_->rows;
}

void TOracleStatement::Next()
{
    if (Eof())
        return;
    TCursorState &c = *cursor_;
    if (++c.pos < c.rows || c.id == 0)
        return;
    TRowBatch batch;
    try {
        // No read was queued: the session was gone when the last batch was taken.
        if (!c.ahead.valid())
            throw CursorClosedError();
        TFetchedBatch fetched;
        {
            const auto takeOver = qScopeGuard([&c] { TakeOver(c.aheadFrom); });
            fetched = std::exchange(c.ahead, {}).get();
        }
        if (fetched.Error)
            throw *fetched.Error;
        batch = std::move(fetched.Batch);
    } catch (const EOracleError &e) {
        c.take(TRowBatch{{}, {}, true});
        throw EOracleError(e.Message(), e.ErrorCode(), e.NativeCode(), this, session_);
    }
    c.take(std::move(batch));
}

void TOracleStatement::Close()
{
    fields_.clear();
    if (!cursor_)
        return;
    const std::unique_ptr<TCursorState> cursor = std::move(cursor_);
    cursor->settle();
    if (cursor->id == 0)
        return;
    if (const std::shared_ptr<TSessionCore> core = cursor->core.lock()) {
        try {
            core->call([&] { core->release(cursor->id); });
        } catch (const std::exception &) {
            // Releasing a cursor of a connection that is gone has nothing left to do.
        }
    }
}

int TOracleStatement::FieldCount() const
{
    return int(fields_.size());
}

TField &TOracleStatement::Fields(int Index)
{
    if (Index < 0 || Index >= FieldCount())
        throw EOracleError(QStringLiteral("Field index %1 out of range").arg(Index), 0, QString(),
                           this, session_);
    return *fields_[size_t(Index)];
}

TField *TOracleStatement::FindField(const QString &Name)
{
    if (!cursor_)
        return nullptr;
    for (size_t i = 0; i < cursor_->columns.size(); ++i)
        if (cursor_->columns[i].name.compare(Name, Qt::CaseInsensitive) == 0)
            return fields_[i].get();
    return nullptr;
}

TField &TOracleStatement::FieldByName(const QString &Name)
{
    if (TField *f = FindField(Name))
        return *f;
    throw EOracleError(QStringLiteral("Field '%1' not found").arg(Name), 0, QString(), this,
                       session_);
}

QVariant TOracleStatement::Field(const QString &Name)
{
    return FieldByName(Name).Value();
}

QString TOracleStatement::FieldAsString(const QString &Name)
{
    return FieldByName(Name).AsString();
}

QVariant TOracleStatement::value(int index) const
{
    if (Eof())
        return {};
    const TCursorState &c = *cursor_;
    return c.batch.VariantOf(c.cell(index));
}

TFieldType TOracleStatement::fieldType(int index) const
{
    return cursor_ ? cursor_->columns[size_t(index)].type : ftUnknown;
}

QString TOracleStatement::fieldName(int index) const
{
    return cursor_ ? cursor_->columns[size_t(index)].name : QString();
}

TOracleQuery::TOracleQuery(QObject *Owner) : TOracleStatement(Owner) {}

void TOracleQuery::Execute()
{
    Run();
}

TOracleDataSet::TOracleDataSet(QObject *Owner) : TOracleStatement(Owner) {}

void TOracleDataSet::Open()
{
    Run();
}

void TOracleDataSet::ExecSQL()
{
    Run();
}
