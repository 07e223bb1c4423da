#pragma once

class TBatchConsole;
struct TBatchOptions;

// Exit codes of the program.
enum TBatchExit : int { BatchDone = 0, BatchSomeFailed = 1, BatchUsageOrConnection = 2 };

// "run": the report for the period into a grid, then each file written as the main window's
// exports write it (title lines from the report's record; the document is not opened). On a
// logged-in session.
int RunCommand(const TBatchOptions &Options, TBatchConsole &Console);
