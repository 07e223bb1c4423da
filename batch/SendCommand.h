#pragma once

class TBatchConsole;
struct TBatchOptions;

// "send": for every recipient of QUORVEL_MAIL (or those --only names), each assigned report
// run for the period and written as a workbook named after the report, and one message to the
// recipient carrying them all, through SendToMail. Each report runs once, however many
// recipients it is assigned to. A recipient that fails does not stop the others. With a dry
// run the workbooks go to one folder per recipient under the given folder and nothing is sent.
// On a logged-in session; returns the exit code.
int SendCommand(const TBatchOptions &Options, TBatchConsole &Console);
