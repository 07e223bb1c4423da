#pragma once

#include "common/TextHelpers.h"

#include <QByteArray>
#include <QString>

// Passwords as the user table holds them: the text in the system's 8-bit code page, plain or
// as an MD5 digest after the database's flag PassCoded.

QString FromSystemCodePage(const QByteArray &Bytes);

// Data unchanged when neither Encoding nor PassCoded is set; else the MD5 digest of its bytes
// as 32 lower-case hexadecimal digits.
QByteArray md5(const QByteArray &data, bool Encoding);

// A typed password in the form it is compared with PWD.
QString StoredPasswordForm(const QString &Typed);
