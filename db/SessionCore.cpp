#include "db/SessionCore.h"

#include "common/ThreadChecks.h"
#include "db/OracleError.h"
#include "db/PgStatement.h"
#include "db/QtStatement.h"
#include "db/SqlText.h"
#include "db/SqliteFunctions.h"
#include "db/SqliteStatement.h"

#include <QScopeGuard>
#include <QSqlDriver>
#include <QSqlError>

namespace {
std::atomic<int> connectionCounter{0};

const QString savepointName = QStringLiteral("quorvel_statement");
} // namespace

TSessionCore::TSessionCore()
    : connectionName_(QStringLiteral("quorvel-session-%1").arg(++connectionCounter))
{
    thread_.reset(QThread::create([this] { worker(); }));
    thread_->setObjectName(connectionName_);
    thread_->start();
}

TSessionCore::~TSessionCore()
{
    {
        std::lock_guard lock(queueMutex_);
        stopping_ = true;
    }
    queueCv_.notify_all();
    thread_->wait();
    TakeOver(this);
}

void TSessionCore::worker()
{
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock lock(queueMutex_);
            queueCv_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (queue_.empty())
                break;
            task = std::move(queue_.front());
            queue_.pop_front();
        }
        task();
    }
    close();
    HandOver(this);
}

void TSessionCore::call(const std::function<void()> &fn)
{
    if (QThread::currentThread() == thread_.get()) {
        fn();
        return;
    }
    std::promise<void> done;
    std::future<void> result = done.get_future();
    // The database's error comes back as a value, its hand-over marked with the rest; any
    // other exception through the future.
    std::optional<EOracleError> error;
    {
        std::lock_guard lock(queueMutex_);
        queue_.push_back([&fn, &done, &error] {
            try {
                fn();
            } catch (const EOracleError &e) {
                error.emplace(e);
            } catch (...) {
                HandOver(&done);
                done.set_exception(std::current_exception());
                return;
            }
            HandOver(&done);
            done.set_value();
        });
    }
    queueCv_.notify_one();
    {
        const auto takeOver = qScopeGuard([&done] { TakeOver(&done); });
        result.get();
    }
    if (error)
        throw *error;
}

std::future<TFetchedBatch> TSessionCore::fetchAhead(quint64 cursor, int rows)
{
    // The task holds no reference to the core: the worker runs every queued task before the
    // core goes.
    auto task = std::make_shared<std::packaged_task<TFetchedBatch()>>([this, cursor, rows] {
        const auto handOver = qScopeGuard([this] { HandOver(this); });
        TFetchedBatch fetched;
        try {
            fetched.Batch = fetch(cursor, rows);
        } catch (const EOracleError &e) {
            fetched.Error.emplace(e);
        }
        return fetched;
    });
    std::future<TFetchedBatch> result = task->get_future();
    if (QThread::currentThread() == thread_.get()) {
        (*task)();
        return result;
    }
    {
        std::lock_guard lock(queueMutex_);
        queue_.push_back([task] { (*task)(); });
    }
    queueCv_.notify_one();
    return result;
}

TLogonParams TSessionCore::params() const
{
    std::lock_guard lock(paramsMutex_);
    return params_;
}

void TSessionCore::setParams(const std::function<void(TLogonParams &)> &change)
{
    std::lock_guard lock(paramsMutex_);
    change(params_);
}

TEngine TSessionCore::engine() const
{
    return EngineOf(params().database);
}

void TSessionCore::raise(const QSqlError &error) const
{
    throw OracleErrorOf(error, openEngine_ != TEngine::PostgreSQL);
}

bool TSessionCore::open()
{
    if (connected_)
        return false;
    const TLogonParams p = params();
    const TEngine engine = EngineOf(p.database);
    db_ = AddEngineDatabase(p, connectionName_);
    if (!db_.open()) {
        const QSqlError error = db_.lastError();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName_);
        openEngine_ = engine;
        raise(error);
    }
    openEngine_ = engine;
    if (engine == TEngine::PostgreSQL)
        pgConnection_ = PgConnectionOf(db_.driver()->handle());
    if (engine == TEngine::SQLite) {
        sqliteConnection_ = SqliteConnectionOf(db_.driver()->handle());
        if (sqliteConnection_)
            RegisterSqliteFunctions(sqliteConnection_);
    }
    connected_ = true;
    return true;
}

void TSessionCore::releaseAll()
{
    cursors_.clear();
}

void TSessionCore::close()
{
    releaseAll();
    if (!db_.isValid())
        return;
    if (inTransaction_)
        db_.rollback();
    db_.close();
    pgConnection_ = nullptr;
    sqliteConnection_ = nullptr;
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName_);
    connected_ = false;
    inTransaction_ = false;
}

void TSessionCore::exec(const QString &text)
{
    execute(text, {});
}

void TSessionCore::begin()
{
    if (!db_.transaction())
        raise(db_.lastError());
    inTransaction_ = true;
}

void TSessionCore::commit()
{
    if (!connected_ || !inTransaction_)
        return;
    inTransaction_ = false;
    if (!db_.commit())
        raise(db_.lastError());
}

void TSessionCore::rollback()
{
    if (!connected_ || !inTransaction_)
        return;
    inTransaction_ = false;
    if (!db_.rollback())
        raise(db_.lastError());
}

std::unique_ptr<TEngineStatement> TSessionCore::execute(const QString &text,
                                                        const std::vector<QVariant> &binds)
{
    switch (openEngine_) {
    case TEngine::PostgreSQL:
        return std::make_unique<TPgStatement>(pgConnection_, text, binds);
    case TEngine::SQLite:
        return std::make_unique<TSqliteStatement>(sqliteConnection_, text, binds);
    case TEngine::Oracle:
        break;
    }
    return std::make_unique<TQtStatement>(db_, text, binds);
}

TRunResult TSessionCore::run(const QString &text, const std::vector<TBindVariable> &variables,
                             int batchRows)
{
    if (!connected_)
        throw EOracleError(QStringLiteral("Not logged on"));
    const bool pg = openEngine_ == TEngine::PostgreSQL;
    const auto variable = [&variables](const QString &name) -> const TBindVariable * {
        for (const TBindVariable &v : variables)
            if (v.name.compare(name, Qt::CaseInsensitive) == 0)
                return &v;
        return nullptr;
    };
    TBoundText bound{text, {}};
    if (!variables.empty())
        bound = BindPositional(
            text, [&](const QString &name) { return variable(name) != nullptr; }, pg);
    std::vector<QVariant> binds;
    for (const QString &name : bound.names)
        binds.push_back(variable(name)->value);

    const TStatementKind kind = StatementKindOf(text);
    if (kind == TStatementKind::Definition)
        commit();
    bool begun = false;
    if (kind == TStatementKind::Change && !inTransaction_) {
        begin();
        begun = true;
    }
    // PostgreSQL aborts the whole transaction on a failed statement; Oracle undoes only the
    // statement, which a savepoint gives.
    const bool savepoint = pg && inTransaction_;
    if (savepoint)
        exec(QStringLiteral("SAVEPOINT ") + savepointName);

    std::unique_ptr<TEngineStatement> statement;
    try {
        statement = execute(bound.text, binds);
    } catch (const EOracleError &) {
        // Best effort: on a lost connection these fail too, and the statement's own error
        // is the one the caller must see.
        try {
            if (savepoint)
                exec(QStringLiteral("ROLLBACK TO SAVEPOINT ") + savepointName);
        } catch (const EOracleError &) {
        }
        if (begun) {
            inTransaction_ = false;
            db_.rollback();
        }
        throw;
    }
    if (savepoint)
        exec(QStringLiteral("RELEASE SAVEPOINT ") + savepointName);

    TRunResult result;
    if (!statement->IsQuery()) {
        result.rowsAffected = statement->RowsAffected();
        result.first.exhausted = true;
        return result;
    }
    result.columns = statement->Columns();
    fill(*statement, result.first, batchRows);
    if (!result.first.exhausted) {
        result.cursor = nextCursor_++;
        cursors_.emplace(result.cursor, std::move(statement));
    }
    return result;
}

void TSessionCore::fill(TEngineStatement &statement, TRowBatch &batch, int rows)
{
    batch.exhausted = !statement.Fill(batch, rows);
}

TRowBatch TSessionCore::fetch(quint64 cursor, int rows)
{
    TRowBatch batch;
    const auto it = cursors_.find(cursor);
    // A cursor read to its end is never fetched again, so a missing one was closed with its
    // session: its remaining rows are lost, which must not read as the end of the result.
    if (it == cursors_.end())
        throw CursorClosedError();
    fill(*it->second, batch, rows);
    if (batch.exhausted)
        cursors_.erase(it);
    return batch;
}

EOracleError CursorClosedError()
{
    return EOracleError(
        QStringLiteral("Not logged on: the session was closed while its query was being read"));
}

void TSessionCore::release(quint64 cursor)
{
    cursors_.erase(cursor);
}
