#pragma once

class TBatchConsole;
struct TBatchOptions;

// "send": for every recipient of QUORVEL_MAIL (or those --only names), each assigned report
// run for the period and written as a workbook named after the report, and one message to the
// recipient carrying them all. Each report runs once, however many recipients it is assigned
// to. A recipient that fails does not stop the others. Every attempt is recorded in the
// delivery log, one row per recipient and report (a database without the log still mails,
// with one warning); --retry-failed sends, for the period of the last logged pass, only what
// it failed to deliver. With a dry run the workbooks go to one folder per recipient under the
// given folder, nothing is sent and nothing logged.
// On a logged-in session; returns the exit code.
int SendCommand(const TBatchOptions &Options, TBatchConsole &Console);
