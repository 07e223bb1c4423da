#pragma once

#include <QString>

// Login credentials given as the first command-line argument: name/password@alias.
struct TCommandLineLogin {
    QString Name;
    QString Password;
    bool operator==(const TCommandLineLogin &) const = default;
};

// The name up to the first "/"; the password from there up to the next "/" (or the end),
// cut at its first "@". Without "/" the whole argument is the name and the password is empty.
TCommandLineLogin ParseLoginArgument(const QString &Argument);
