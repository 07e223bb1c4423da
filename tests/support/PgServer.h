#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class ChildProcess;

// A real PostgreSQL 15 server for one test: a fresh cluster in a temporary folder, on a free
// loopback port, trust authentication on loopback, fsync off. When the tests run as root the
// server runs as the system user "postgres", which owns the folder. Several may run at once.
class PgServer {
public:
    // Starts the server and creates the database (and, with withSchema, the tables of
    // schema/postgresql.sql). A failure is an ADD_FAILURE with the server's output; ok()
    // then says false.
    explicit PgServer(bool withSchema = true, const QString &dbName = QStringLiteral("quorvel"));
    ~PgServer();
    PgServer(const PgServer &) = delete;
    PgServer &operator=(const PgServer &) = delete;

    bool ok() const { return ok_; }
    bool running() const;
    int port() const { return port_; }
    QString dbName() const { return dbName_; }
    // postgresql://127.0.0.1:PORT/DBNAME
    QString connectString() const;
    // The logon user (the cluster's superuser) and a password (ignored: trust).
    QString user() const { return QStringLiteral("postgres"); }

    // Runs SQL through psql on the database; returns psql's unaligned, tuples-only output
    // (fields separated by "|", rows by line breaks, trailing line break removed). A failing
    // statement is an ADD_FAILURE unless expectFailure, and the error text goes to *error.
    QString sql(const QString &statements, bool expectFailure = false,
                QString *error = nullptr) const;

    // Stops the server: cleanly (fast shutdown), or abruptly with SIGKILL.
    void stop();
    void kill();
    // Starts it again on the same data and port.
    bool start();

private:
    bool initCluster();
    bool waitReady() const;

    QString root_;
    QString data_;
    QString dbName_;
    int port_ = 0;
    bool ok_ = false;
    std::unique_ptr<ChildProcess> postgres_;
};
