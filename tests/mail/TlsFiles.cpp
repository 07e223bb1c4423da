#include "tests/mail/TlsFiles.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {
// A new P-256 key without a passphrase, for "openssl req".
QStringList newKey()
{
    return {QStringLiteral("-newkey"), QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
            QStringLiteral("ec_paramgen_curve:P-256"), QStringLiteral("-nodes")};
}
} // namespace

TlsFiles::TlsFiles()
{
    ok_ = openssl(QStringList{QStringLiteral("req"), QStringLiteral("-x509")} + newKey() +
                  QStringList{QStringLiteral("-keyout"), dir_.file(QStringLiteral("ca.key")),
                              QStringLiteral("-out"), caFile(), QStringLiteral("-days"),
                              QStringLiteral("2"), QStringLiteral("-subj"),
                              QStringLiteral("/CN=Quorvel Test CA"), QStringLiteral("-addext"),
                              QStringLiteral("basicConstraints=critical,CA:TRUE"),
                              QStringLiteral("-addext"),
                              QStringLiteral("keyUsage=critical,keyCertSign,cRLSign")}) &&
          issue(QStringLiteral("local"), QStringLiteral("IP:127.0.0.1")) &&
          issue(QStringLiteral("other"), QStringLiteral("DNS:mail.other.example"));
}

bool TlsFiles::openssl(const QStringList &args)
{
    QString out;
    QString err;
    const int rc = runProgram(QStringLiteral("openssl"), args, &out, &err);
    EXPECT_EQ(rc, 0) << "openssl " << args.join(u' ').toStdString() << ": " << err.toStdString();
    return rc == 0;
}

bool TlsFiles::issue(const QString &name, const QString &altName)
{
    const QString extensions = dir_.file(name + QStringLiteral(".ext"));
    QFile ext(extensions);
    if (!ext.open(QIODevice::WriteOnly))
        return false;
    ext.write("basicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\nsubjectAltName=" +
              altName.toLatin1() + '\n');
    ext.close();
    const QString request = dir_.file(name + QStringLiteral(".csr"));
    return openssl(QStringList{QStringLiteral("req")} + newKey() +
                   QStringList{QStringLiteral("-keyout"), dir_.file(name + QStringLiteral(".key")),
                               QStringLiteral("-out"), request, QStringLiteral("-subj"),
                               QStringLiteral("/CN=") + name}) &&
           openssl({QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"), request,
                    QStringLiteral("-CA"), caFile(), QStringLiteral("-CAkey"),
                    dir_.file(QStringLiteral("ca.key")), QStringLiteral("-CAcreateserial"),
                    QStringLiteral("-out"), dir_.file(name + QStringLiteral(".pem")),
                    QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-extfile"),
                    extensions});
}
