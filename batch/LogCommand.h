#pragma once

class TBatchConsole;
struct TBatchOptions;

// "log": the delivery log from Options.Since on (all of it without), one line per row,
// oldest first: time, outcome, recipient, report, period, format, bytes and the server's
// reply or the error. On a logged-in session; returns the exit code.
int LogCommand(const TBatchOptions &Options, TBatchConsole &Console);
