#pragma once

#include "tests/support/TempDir.h"

#include <QString>

// A certificate authority and two server certificates it issued, made for one test with the
// openssl command: one valid for 127.0.0.1, one for another host name only.
class TlsFiles {
public:
    TlsFiles();

    bool ok() const { return ok_; }
    QString caFile() const { return dir_.file(QStringLiteral("ca.pem")); }
    QString certFor127() const { return dir_.file(QStringLiteral("local.pem")); }
    QString keyFor127() const { return dir_.file(QStringLiteral("local.key")); }
    QString certForOtherHost() const { return dir_.file(QStringLiteral("other.pem")); }
    QString keyForOtherHost() const { return dir_.file(QStringLiteral("other.key")); }

private:
    bool openssl(const QStringList &args);
    bool issue(const QString &name, const QString &altName);

    TempDir dir_;
    bool ok_ = false;
};
