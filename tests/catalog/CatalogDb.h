#pragma once

#include "tests/support/TempDir.h"

#include <QString>

#include <memory>

class TFOracleBase;

// A catalog database for one test: an SQLite file made from schema/sqlite.sql with this
// server marked writable in SRV, a viri.ini beside it naming it, and the database module
// logged on to it through that viri.ini. exec and rows reach the file directly, on a
// connection of their own, to arrange data and to read what the program stored.
class CatalogDb {
public:
    CatalogDb();
    ~CatalogDb();
    CatalogDb(const CatalogDb &) = delete;
    CatalogDb &operator=(const CatalogDb &) = delete;

    // Runs statements (several separated by semicolons); fails the test on an error.
    void exec(const QString &sql) const;
    // The rows of a query, fields separated by blanks and rows by " | " ("1 A | 2 B"); NULL
    // reads as "~".
    QString rows(const QString &sql) const;

    // Adds a catalog row; parent 0 makes a root. A report gets a QUORVEL row when sql is given.
    void addFolder(int id, const QString &name, int parent) const;
    void addReport(int id, const QString &name, int parent, const QString &sql,
                   const QString &titles = {}, const QString &widths = {},
                   const QString &formats = {}) const;

    QString folder() const { return dir_.path(); }
    QString file() const { return dir_.file(QStringLiteral("catalog.db")); }

private:
    TempDir dir_;
    std::unique_ptr<TFOracleBase> base_;
};
