#pragma once

#include <QString>

// SQLite test databases made from schema/sqlite.sql, and direct access to them for checks
// (through the SQLite C interface, independent of the program's database layer).

// Creates the file with every table of the schema; returns the connect string "sqlite:PATH".
QString createSqliteDatabase(const QString &path);

// Runs statements (several, separated by ";"); a failure is an ADD_FAILURE with SQLite's
// message unless expectFailure.
void sqliteExec(const QString &path, const QString &statements, bool expectFailure = false);

// The rows of a query: fields joined by "|", rows by line breaks; NULL reads as "NULL".
QString sqliteQuery(const QString &path, const QString &query);
