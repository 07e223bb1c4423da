#include "db/SessionCore.h"

#include "db/OracleBase.h"
#include "db/OracleError.h"
#include "db/PgStatement.h"
#include "db/QtStatement.h"
#include "db/SqliteStatement.h"

#include <QDir>
#include <QSqlDriver>
#include <QSqlError>
#include <QUrl>

#include <sqlite3.h>

namespace {
std::atomic<int> connectionCounter{0};

const QString savepointName = QStringLiteral("quorvel_statement");

QString firstWords(const QString &text, int count)
{
    QStringList words;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && words.size() < count) {
        const QChar c = text.at(i);
        if (c.isSpace() || c == u'(') {
            ++i;
        } else if (text.mid(i, 2) == QLatin1String("--")) {
            while (i < n && text.at(i) != u'\n')
                ++i;
        } else if (text.mid(i, 2) == QLatin1String("/*")) {
            const qsizetype end = text.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? n : end + 2;
        } else {
            qsizetype j = i;
            while (j < n && (text.at(j).isLetterOrNumber() || text.at(j) == u'_'))
                ++j;
            if (j == i)
                break;
            words.append(text.mid(i, j - i).toUpper());
            i = j;
        }
    }
    return words.join(u' ');
}

// SQLite: TO_DATE(text, mask) for the masks the reports use (DD, MM, YYYY, HH24, MI, SS
// and any separators); the result is the stored form of dates, 'YYYY-MM-DD HH:MM:SS'.
QString qtFormatOfMask(QString mask)
{
    mask = mask.toUpper();
    mask.replace(QLatin1String("YYYY"), QLatin1String("yyyy"));
    mask.replace(QLatin1String("HH24"), QLatin1String("HH"));
    mask.replace(QLatin1String("MI"), QLatin1String("mm"));
    mask.replace(QLatin1String("DD"), QLatin1String("dd"));
    mask.replace(QLatin1String("SS"), QLatin1String("ss"));
    return mask; // MM stays months
}

void sqliteToDate(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(argv[0]))).trimmed();
    const QString mask =
        argc > 1 ? QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(argv[1])))
                 : QStringLiteral("DD.MM.YYYY");
    const QDateTime dt = QDateTime::fromString(text, qtFormatOfMask(mask));
    if (!dt.isValid()) {
        const QByteArray msg =
            QStringLiteral("TO_DATE: '%1' does not match the format '%2'").arg(text, mask).toUtf8();
        sqlite3_result_error(ctx, msg.constData(), int(msg.size()));
        return;
    }
    const QByteArray out = dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8();
    sqlite3_result_text(ctx, out.constData(), int(out.size()), SQLITE_TRANSIENT);
}

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
}

void TSessionCore::call(const std::function<void()> &fn)
{
    if (QThread::currentThread() == thread_.get()) {
        fn();
        return;
    }
    std::promise<void> done;
    std::future<void> result = done.get_future();
    {
        std::lock_guard lock(queueMutex_);
        queue_.push_back([&fn, &done] {
            try {
                fn();
                done.set_value();
            } catch (...) {
                done.set_exception(std::current_exception());
            }
        });
    }
    queueCv_.notify_one();
    result.get();
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
    switch (engine) {
    case TEngine::Oracle:
        if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QOCI")))
            throw EOracleError(QStringLiteral("Oracle client is not available: the Qt SQL driver "
                                              "for Oracle (QOCI) is not installed; cannot log "
                                              "on to \"%1\"")
                                   .arg(p.database));
        db_ = QSqlDatabase::addDatabase(QStringLiteral("QOCI"), connectionName_);
        db_.setDatabaseName(p.database);
        break;
    case TEngine::SQLite: {
        QString path = p.database.mid(int(qstrlen("sqlite:")));
        if (QDir::isRelativePath(path))
            path = QDir(ProgramFolder()).filePath(path);
        db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
        // mode=rw: a logon to a file that is not there fails instead of creating it.
        db_.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
        db_.setDatabaseName(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) +
                            QStringLiteral("?mode=rw"));
        break;
    }
    case TEngine::PostgreSQL: {
        const QUrl url(p.database);
        db_ = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName_);
        db_.setHostName(url.host());
        db_.setPort(url.port(5432));
        db_.setDatabaseName(url.path().mid(1));
        db_.setConnectOptions(QStringLiteral("connect_timeout=10"));
        break;
    }
    }
    if (engine != TEngine::SQLite) {
        db_.setUserName(p.user);
        db_.setPassword(p.password);
    }
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
        if (sqlite3 *h = sqliteConnection_) {
            for (int argc : {1, 2})
                sqlite3_create_function_v2(h, "TO_DATE", argc, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                           nullptr, sqliteToDate, nullptr, nullptr, nullptr);
        }
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
    batch.exhausted = !statement.Fill(batch.values, rows);
}

TRowBatch TSessionCore::fetch(quint64 cursor, int rows)
{
    TRowBatch batch;
    const auto it = cursors_.find(cursor);
    if (it == cursors_.end()) {
        // The session was logged off (or the cursor read to its end) meanwhile.
        batch.exhausted = true;
        return batch;
    }
    fill(*it->second, batch, rows);
    if (batch.exhausted)
        cursors_.erase(it);
    return batch;
}

void TSessionCore::release(quint64 cursor)
{
    cursors_.erase(cursor);
}

TStatementKind StatementKindOf(const QString &text)
{
    const QString words = firstWords(text, 2);
    const QString first = words.section(u' ', 0, 0);
    static const QStringList queries = {QStringLiteral("SELECT"), QStringLiteral("WITH"),
                                        QStringLiteral("VALUES"), QStringLiteral("SHOW"),
                                        QStringLiteral("EXPLAIN")};
    static const QStringList definitions = {QStringLiteral("CREATE"),  QStringLiteral("DROP"),
                                            QStringLiteral("ALTER"),   QStringLiteral("TRUNCATE"),
                                            QStringLiteral("GRANT"),   QStringLiteral("REVOKE"),
                                            QStringLiteral("COMMENT"), QStringLiteral("RENAME")};
    if (queries.contains(first))
        return TStatementKind::Query;
    if (words == QLatin1String("ALTER SESSION") || first == QLatin1String("SET") ||
        first == QLatin1String("PRAGMA"))
        return TStatementKind::SessionSetting;
    if (definitions.contains(first))
        return TStatementKind::Definition;
    return TStatementKind::Change;
}

TBoundText BindPositional(const QString &text, const std::function<bool(const QString &)> &declared,
                          bool numbered)
{
    TBoundText out;
    out.text.reserve(text.size());
    const qsizetype n = text.size();
    qsizetype i = 0;
    auto copyUntil = [&](qsizetype end) {
        out.text.append(QStringView(text).mid(i, end - i));
        i = end;
    };
    while (i < n) {
        const QChar c = text.at(i);
        if (c == u'\'' || c == u'"') {
            qsizetype j = i + 1;
            while (j < n && text.at(j) != c)
                ++j;
            copyUntil(std::min(n, j + 1));
        } else if (c == u'-' && i + 1 < n && text.at(i + 1) == u'-') {
            const qsizetype end = text.indexOf(u'\n', i);
            copyUntil(end < 0 ? n : end);
        } else if (c == u'/' && i + 1 < n && text.at(i + 1) == u'*') {
            const qsizetype end = text.indexOf(QLatin1String("*/"), i + 2);
            copyUntil(end < 0 ? n : end + 2);
        } else if (c == u':' && i + 1 < n && text.at(i + 1) == u':') {
            copyUntil(i + 2);
        } else if (c == u':' && i + 1 < n &&
                   (text.at(i + 1).isLetter() || text.at(i + 1) == u'_')) {
            qsizetype j = i + 1;
            while (j < n && (text.at(j).isLetterOrNumber() || text.at(j) == u'_'))
                ++j;
            const QString name = text.mid(i + 1, j - i - 1);
            if (declared(name)) {
                out.names.append(name);
                out.text.append(numbered ? QStringLiteral("$%1").arg(out.names.size())
                                         : QStringLiteral("?"));
                i = j;
            } else {
                copyUntil(j);
            }
        } else {
            out.text.append(c);
            ++i;
        }
    }
    return out;
}
