#include "db/SessionCore.h"

#include "db/OracleBase.h"
#include "db/OracleError.h"

#include <QDir>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>
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

sqlite3 *sqliteHandle(const QSqlDatabase &db)
{
    const QVariant v = db.driver()->handle();
    if (v.isValid() && qstrcmp(v.typeName(), "sqlite3*") == 0)
        return *static_cast<sqlite3 *const *>(v.constData());
    return nullptr;
}

sqlite3_stmt *sqliteStatement(const QSqlQuery &q)
{
    const QVariant v = q.result()->handle();
    if (v.isValid() && qstrcmp(v.typeName(), "sqlite3_stmt*") == 0)
        return *static_cast<sqlite3_stmt *const *>(v.constData());
    return nullptr;
}

TFieldType fieldTypeOfDriver(const QSqlField &f)
{
    switch (f.metaType().id()) {
    case QMetaType::Short:
    case QMetaType::UShort:
        return ftSmallint;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Bool:
        return f.length() == 2 ? ftSmallint : ftInteger;
    case QMetaType::Double:
    case QMetaType::Float:
        // Numerics report their declared precision and scale; floats report none.
        if (f.length() > 0 && f.precision() >= 0 && f.length() <= 9 && f.precision() <= 0)
            return f.length() <= 4 ? ftSmallint : ftInteger;
        return ftFloat;
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return ftFloat;
    case QMetaType::QDate:
    case QMetaType::QDateTime:
    case QMetaType::QTime:
        return ftDateTime;
    default:
        return ftString;
    }
}

QDateTime parseStoredDate(const QString &s)
{
    static const QString formats[] = {
        QStringLiteral("yyyy-MM-dd HH:mm:ss"), QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"),
        QStringLiteral("yyyy-MM-ddTHH:mm:ss"), QStringLiteral("yyyy-MM-dd HH:mm")};
    const QString t = s.trimmed();
    for (const QString &f : formats) {
        const QDateTime dt = QDateTime::fromString(t, f);
        if (dt.isValid())
            return dt;
    }
    const QDate d = QDate::fromString(t, QStringLiteral("yyyy-MM-dd"));
    return d.isValid() ? QDateTime(d, QTime(0, 0)) : QDateTime();
}

// The value in the form its field kind reads: qlonglong, double, QDateTime or QString.
// A value that does not fit its kind (text in a numeric SQLite column) stays as it is.
QVariant normalize(QVariant v, TFieldType type)
{
    if (v.isNull())
        return {};
    switch (type) {
    case ftSmallint:
    case ftInteger: {
        if (v.metaType().id() == QMetaType::Double) {
            const double d = v.toDouble();
            if (d == double(qlonglong(d)))
                return qlonglong(d);
            return d;
        }
        bool ok = false;
        const qlonglong i = v.toLongLong(&ok);
        return ok ? QVariant(i) : v;
    }
    case ftFloat: {
        if (IsNumericValue(v))
            return v.toDouble();
        bool ok = false;
        const double d = v.toString().toDouble(&ok);
        return ok ? QVariant(d) : v;
    }
    case ftDateTime: {
        if (v.metaType().id() == QMetaType::QDateTime) {
            const QDateTime dt = v.toDateTime();
            return QDateTime(dt.date(), dt.time());
        }
        if (v.metaType().id() == QMetaType::QDate)
            return QDateTime(v.toDate(), QTime(0, 0));
        const QDateTime dt = parseStoredDate(v.toString());
        return dt.isValid() ? QVariant(dt) : v;
    }
    case ftString:
        return v.metaType().id() == QMetaType::QString ? v : QVariant(v.toString());
    case ftUnknown:
        break;
    }
    return v;
}
} // namespace

struct TSessionCore::Cursor {
    std::unique_ptr<QSqlQuery> query;
    std::vector<TFieldType> types;
};

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
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    const QString native = error.nativeErrorCode();
    int code = 0;
    if (openEngine_ != TEngine::PostgreSQL) {
        QString digits;
        for (QChar c : native)
            if (c.isDigit())
                digits.append(c);
        code = digits.toInt();
    }
    throw EOracleError(text, code, native);
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
    if (engine == TEngine::SQLite) {
        if (sqlite3 *h = sqliteHandle(db_)) {
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
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName_);
    connected_ = false;
    inTransaction_ = false;
}

void TSessionCore::exec(const QString &text)
{
    QSqlQuery q(db_);
    if (!q.exec(text))
        raise(q.lastError());
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

TRunResult TSessionCore::run(const QString &text, const std::vector<QVariant> &binds, int batchRows)
{
    if (!connected_)
        throw EOracleError(QStringLiteral("Not logged on"));
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
    const bool savepoint = openEngine_ == TEngine::PostgreSQL && inTransaction_;
    if (savepoint)
        exec(QStringLiteral("SAVEPOINT ") + savepointName);

    auto q = std::make_unique<QSqlQuery>(db_);
    // PostgreSQL's forward-only mode allows one active query per connection; its results
    // are read whole by the client anyway.
    q->setForwardOnly(openEngine_ != TEngine::PostgreSQL);
    bool ok;
    if (binds.empty()) {
        ok = q->exec(text);
    } else {
        ok = q->prepare(text);
        if (ok) {
            for (const QVariant &v : binds)
                q->addBindValue(v);
            ok = q->exec();
        }
    }
    if (!ok) {
        const QSqlError error = q->lastError();
        q.reset();
        if (savepoint)
            exec(QStringLiteral("ROLLBACK TO SAVEPOINT ") + savepointName);
        if (begun) {
            inTransaction_ = false;
            db_.rollback();
        }
        raise(error);
    }
    if (savepoint)
        exec(QStringLiteral("RELEASE SAVEPOINT ") + savepointName);

    TRunResult result;
    if (!q->isSelect()) {
        result.rowsAffected = q->numRowsAffected();
        result.first.exhausted = true;
        return result;
    }
    const QSqlRecord record = q->record();
    auto cursor = std::make_unique<Cursor>();
    sqlite3_stmt *stmt = openEngine_ == TEngine::SQLite ? sqliteStatement(*q) : nullptr;
    for (int i = 0; i < record.count(); ++i) {
        TColumnInfo column;
        column.name = record.fieldName(i).toUpper();
        if (openEngine_ == TEngine::SQLite) {
            const char *decl = stmt ? sqlite3_column_decltype(stmt, i) : nullptr;
            column.type = FieldTypeOfDeclared(decl ? QString::fromUtf8(decl) : QString());
        } else {
            column.type = fieldTypeOfDriver(record.field(i));
        }
        cursor->types.push_back(column.type);
        result.columns.push_back(column);
    }
    cursor->query = std::move(q);
    fill(*cursor, result.first, batchRows);
    if (!result.first.exhausted) {
        result.cursor = nextCursor_++;
        cursors_.emplace(result.cursor, std::move(cursor));
    }
    return result;
}

void TSessionCore::fill(Cursor &cursor, TRowBatch &batch, int rows)
{
    const size_t columns = cursor.types.size();
    batch.values.reserve(size_t(rows) * columns);
    QSqlQuery &q = *cursor.query;
    int n = 0;
    while (n < rows && q.next()) {
        for (size_t c = 0; c < columns; ++c)
            batch.values.push_back(normalize(q.value(int(c)), cursor.types[c]));
        ++n;
    }
    if (n < rows) {
        if (q.lastError().isValid())
            raise(q.lastError());
        batch.exhausted = true;
    }
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

TBoundText BindPositional(const QString &text, const std::function<bool(const QString &)> &declared)
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
                out.text.append(u'?');
                out.names.append(name);
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
