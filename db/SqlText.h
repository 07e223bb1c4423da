#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Scanning of statement texts, without a database: what a statement does to the transaction,
// and where its bind variables stand. Literals, quoted names and comments are skipped.

// How a statement touches the transaction, by its first words.
enum class TStatementKind { Query, Change, Definition, SessionSetting };
TStatementKind StatementKindOf(const QString &text);

// The statement text with each :Name of a declared variable (outside literals, quoted names
// and comments) replaced by a positional "?", or by "$1", "$2", ... when numbered, and the
// names in the order they occur.
struct TBoundText {
    QString text;
    QStringList names;
};
TBoundText BindPositional(const QString &text, const std::function<bool(const QString &)> &declared,
                          bool numbered);
