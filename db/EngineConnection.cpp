#include "db/EngineConnection.h"

#include "db/OracleError.h"

#include <QCoreApplication>
#include <QDir>
#include <QUrl>

QString ProgramFolder()
{
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                        : QDir::currentPath();
}

QString SqliteFilePath(const QString &ConnectString, const QString &Folder)
{
    const QString path = ConnectString.mid(int(qstrlen("sqlite:")));
    if (!QDir::isRelativePath(path))
        return path;
    return QDir(Folder.isEmpty() ? ProgramFolder() : Folder).filePath(path);
}

QSqlDatabase AddEngineDatabase(const TLogonParams &Params, const QString &Name)
{
    QSqlDatabase db;
    switch (EngineOf(Params.database)) {
    case TEngine::Oracle:
        if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QOCI")))
            throw EOracleError(
                QStringLiteral("Oracle client is not available: the Qt SQL driver for Oracle "
                               "(QOCI) is not installed; cannot log on to \"%1\". Installed SQL "
                               "drivers: %2. README.md, section \"Oracle at a site\", says how "
                               "to build and install QOCI.")
                    .arg(Params.database, QSqlDatabase::drivers().join(QStringLiteral(", "))));
        db = QSqlDatabase::addDatabase(QStringLiteral("QOCI"), Name);
        db.setDatabaseName(Params.database);
        break;
    case TEngine::SQLite: {
        const QString path = SqliteFilePath(Params.database, Params.folder);
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), Name);
        // mode=rw: a logon to a file that is not there fails instead of creating it.
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
        db.setDatabaseName(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) +
                           QStringLiteral("?mode=rw"));
        return db;
    }
    case TEngine::PostgreSQL: {
        const QUrl url(Params.database);
        db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), Name);
        db.setHostName(url.host());
        db.setPort(url.port(5432));
        db.setDatabaseName(url.path().mid(1));
        db.setConnectOptions(QStringLiteral("connect_timeout=10"));
        break;
    }
    }
    db.setUserName(Params.user);
    db.setPassword(Params.password);
    return db;
}
