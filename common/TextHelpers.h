#pragma once

#include <QByteArray>
#include <QString>

// Small text and number helpers shared by the database module, the supervision and the login.

// Text without its leading and trailing blanks and control characters (every character up
// to U+0020); the characters between stay as they are.
QString TrimControls(const QString &S);

// The system's 8-bit code page, through which passwords pass as bytes.
extern const char *const SystemCodePage;

// Text in that code page, one byte per character; a character it lacks becomes "?".
QByteArray ToSystemCodePage(const QString &Text);

// Swaps two integer variables.
void Exchange(int &A, int &B);

// Expression1 when Condition holds, else Expression2.
QString IIf(bool Condition, const QString &Expression1, const QString &Expression2);

// The next token of Source up to the character Chr, from the 1-based position Index.
// Index moves past the separator, or becomes 0 when no separator follows (and when it
// starts out of range, in which case the token is empty).
QString Parse(const QString &Source, QChar Chr, int &Index);

// The major version in a server's version text: the number before the first "." of its
// last word. Throws std::invalid_argument when that is not a number.
int ExtrMajorVer(const QString &Version);
