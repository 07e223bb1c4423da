#pragma once

#include "login/CommandLine.h"

#include <QString>

struct TBatchOptions;

// The name and password the unattended program logs on with. For name@alias the password is
// the first line of Options.PasswordFile, which must be readable by its owner alone, or else
// EnvPassword (QUORVEL_PASSWORD; null when the variable is not set). name/password@alias is
// still taken, with Warning set: the process list shows the password to every user. Throws
// EBatchUsage when no password can be had.
TCommandLineLogin BatchLogin(const TBatchOptions &Options, const QString &EnvPassword,
                             QString *Warning);
