#pragma once

#include "db/EngineConnection.h"
#include "db/FieldCells.h"
#include "db/FieldValue.h"
#include "db/OracleError.h"
#include "db/SqlDialect.h"

#include <QSqlDatabase>
#include <QString>
#include <QThread>
#include <QVariant>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

// The inside of a session: the worker thread that owns the Qt SQL connection, the task
// queue through which every call reaches it, and the cursors open on the connection.
// Internal to db/.

struct TColumnInfo {
    QString name;
    TFieldType type = ftUnknown;
};

// A declared variable of a statement with its value: qlonglong or QString, a null variant of
// that type for NULL.
struct TBindVariable {
    QString name;
    QVariant value;
};

struct TRunResult {
    quint64 cursor = 0; // 0: no rows (not a query, or a query already read to its end)
    std::vector<TColumnInfo> columns;
    TRowBatch first;
    int rowsAffected = -1;
};

// An executed statement of one engine, on the session's worker thread: a query stands
// before its first row not given yet.
class TEngineStatement {
public:
    virtual ~TEngineStatement() = default;
    virtual bool IsQuery() const = 0;
    // Rows changed by a statement that is not a query; -1 when unknown.
    virtual int RowsAffected() const = 0;
    virtual std::vector<TColumnInfo> Columns() const = 0;
    // Appends up to Rows rows (values in the form their kinds read) to Batch; false once
    // every row has been given. Raises EOracleError when reading fails.
    virtual bool Fill(TRowBatch &Batch, int Rows) = 0;
};

// What a fetch ahead read: the rows, or the database's error. The error travels as a value so
// that its hand-over between the threads is marked with the rest (a thrown object's count lives
// where the thread checks cannot see it).
struct TFetchedBatch {
    TRowBatch Batch;
    std::optional<EOracleError> Error;
};

// The error of a fetch on a cursor that its session closed (logged off) meanwhile.
EOracleError CursorClosedError();

class TSessionCore {
public:
    TSessionCore();
    ~TSessionCore();
    TSessionCore(const TSessionCore &) = delete;
    TSessionCore &operator=(const TSessionCore &) = delete;

    TLogonParams params() const;
    void setParams(const std::function<void(TLogonParams &)> &change);

    bool connected() const { return connected_; }
    bool inTransaction() const { return inTransaction_; }
    TEngine engine() const;

    // Runs fn on the worker thread and waits for it; its exception is rethrown here.
    void call(const std::function<void()> &fn);
    // Queues fetch(cursor, rows) on the worker thread without waiting: the rows are read while
    // the caller works on the batch before them. The taker marks TakeOver(this core) once it
    // has the outcome (common/ThreadChecks.h).
    std::future<TFetchedBatch> fetchAhead(quint64 cursor, int rows);

    // Worker-side operations, each called through call().
    // True when this call opened the connection (false: it was open already).
    bool open();
    void close();
    void commit();
    void rollback();
    TRunResult run(const QString &text, const std::vector<TBindVariable> &variables, int batchRows);
    TRowBatch fetch(quint64 cursor, int rows);
    void release(quint64 cursor);

private:
    void worker();
    void releaseAll();
    void begin();
    void exec(const QString &text);
    [[noreturn]] void raise(const class QSqlError &error) const;
    static void fill(TEngineStatement &statement, TRowBatch &batch, int rows);
    std::unique_ptr<TEngineStatement> execute(const QString &text,
                                              const std::vector<QVariant> &binds);

    mutable std::mutex paramsMutex_;
    TLogonParams params_;

    std::mutex queueMutex_;
    std::condition_variable queueCv_;
    std::deque<std::function<void()>> queue_;
    bool stopping_ = false;
    std::unique_ptr<QThread> thread_;

    // Worker-thread state.
    QString connectionName_;
    QSqlDatabase db_;
    struct pg_conn *pgConnection_ = nullptr;     // the connection of db_ on PostgreSQL
    struct sqlite3 *sqliteConnection_ = nullptr; // the connection of db_ on SQLite
    TEngine openEngine_ = TEngine::SQLite;
    std::unordered_map<quint64, std::unique_ptr<TEngineStatement>> cursors_;
    quint64 nextCursor_ = 1;
    std::atomic<bool> connected_{false};
    std::atomic<bool> inTransaction_{false};
};
