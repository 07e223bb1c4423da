#pragma once

#include <QDate>
#include <QStringList>
#include <QTextStream>

// The whole program apart from its process: the arguments after the program name, the two
// streams, whether progress is shown (the error stream is a terminal) and the day taken as
// today. Returns the exit code. Needs a QApplication (the result grid is a widget, never
// shown). May run more than once in a process.
int BatchMain(const QStringList &Args, QTextStream &Out, QTextStream &Err, bool Progress,
              const QDate &Today);
