#pragma once

#include "login/CommandLine.h"

#include <memory>

class TBatchConsole;
class TFOracleBase;
struct TBatchOptions;

// The database module over the workspace's viri.ini (with its supervision's first probe), a
// working connection, and Login checked against USER_PSW as the windows program checks
// command-line credentials. Null when any of these fails; the reason has gone to the
// console's error stream.
std::unique_ptr<TFOracleBase> OpenBatchSession(const TBatchOptions &Options,
                                               const TCommandLineLogin &Login,
                                               TBatchConsole &Console);
