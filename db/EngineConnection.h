#pragma once

#include "db/SqlDialect.h"

#include <QSqlDatabase>
#include <QString>

// The logon parameters of a session and the Qt SQL connection they give on each engine.
// Internal to db/.

struct TLogonParams {
    QString user;
    QString password;
    QString database;
    // The workspace (the folder whose viri.ini was read): a relative SQLite path is taken from
    // it, or from the program's folder while it is empty.
    QString folder;
};

// The connection named Name for the engine of Params.database, set up but not yet open:
// SQLite opens an existing file only, PostgreSQL gives up connecting after ten seconds.
// Raises EOracleError for Oracle when Qt's Oracle driver is not installed.
QSqlDatabase AddEngineDatabase(const TLogonParams &Params, const QString &Name);

// The file that an "sqlite:PATH" connect string names, a relative PATH taken from Folder
// (the program's folder when Folder is empty).
QString SqliteFilePath(const QString &ConnectString, const QString &Folder);

// The folder of the program file.
QString ProgramFolder();
