#include "db/SqlText.h"

namespace {
// The first count words of text in upper case, joined by blanks; comments and opening
// parentheses before and between them are skipped.
QString firstWords(const QString &text, int count)
{
    QStringList words;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && words.size() < count) {
        const QChar c = text.at(i);
        if (c.isSpace() || c == u'(') {
            ++i;
        } else if (text.mid(i, 2) == QLatin1String("--")) {
            while (i < n && text.at(i) != u'\n')
                ++i;
        } else if (text.mid(i, 2) == QLatin1String("/*")) {
            const qsizetype end = text.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? n : end + 2;
        } else {
            qsizetype j = i;
            while (j < n && (text.at(j).isLetterOrNumber() || text.at(j) == u'_'))
                ++j;
            if (j == i)
                break;
            words.append(text.mid(i, j - i).toUpper());
            i = j;
        }
    }
    return words.join(u' ');
}
} // namespace

TStatementKind StatementKindOf(const QString &text)
{
    const QString words = firstWords(text, 2);
    const QString first = words.section(u' ', 0, 0);
    // WITH reads, so it opens no transaction; SELECT_ (NoteQuery.cpp) keeps its prefix rule.
    static const QStringList queries = {QStringLiteral("SELECT"), QStringLiteral("WITH"),
                                        QStringLiteral("VALUES"), QStringLiteral("SHOW"),
                                        QStringLiteral("EXPLAIN")};
    static const QStringList definitions = {QStringLiteral("CREATE"),  QStringLiteral("DROP"),
                                            QStringLiteral("ALTER"),   QStringLiteral("TRUNCATE"),
                                            QStringLiteral("GRANT"),   QStringLiteral("REVOKE"),
                                            QStringLiteral("COMMENT"), QStringLiteral("RENAME")};
    if (queries.contains(first))
        return TStatementKind::Query;
    if (words == QLatin1String("ALTER SESSION") || first == QLatin1String("SET") ||
        first == QLatin1String("PRAGMA"))
        return TStatementKind::SessionSetting;
    if (definitions.contains(first))
        return TStatementKind::Definition;
    return TStatementKind::Change;
}

TBoundText BindPositional(const QString &text, const std::function<bool(const QString &)> &declared,
                          bool numbered)
{
    TBoundText out;
    out.text.reserve(text.size());
    const qsizetype n = text.size();
    qsizetype i = 0;
    auto copyUntil = [&](qsizetype end) {
        out.text.append(QStringView(text).mid(i, end - i));
        i = end;
    };
    while (i < n) {
        const QChar c = text.at(i);
        if (c == u'\'' || c == u'"') {
            qsizetype j = i + 1;
            while (j < n && text.at(j) != c)
                ++j;
            copyUntil(std::min(n, j + 1));
        } else if (c == u'-' && i + 1 < n && text.at(i + 1) == u'-') {
            const qsizetype end = text.indexOf(u'\n', i);
            copyUntil(end < 0 ? n : end);
        } else if (c == u'/' && i + 1 < n && text.at(i + 1) == u'*') {
            const qsizetype end = text.indexOf(QLatin1String("*/"), i + 2);
            copyUntil(end < 0 ? n : end + 2);
        } else if (c == u':' && i + 1 < n && text.at(i + 1) == u':') {
            copyUntil(i + 2);
        } else if (c == u':' && i + 1 < n &&
                   (text.at(i + 1).isLetter() || text.at(i + 1) == u'_')) {
            qsizetype j = i + 1;
            while (j < n && (text.at(j).isLetterOrNumber() || text.at(j) == u'_'))
                ++j;
            const QString name = text.mid(i + 1, j - i - 1);
            if (declared(name)) {
                out.names.append(name);
                out.text.append(numbered ? QStringLiteral("$%1").arg(out.names.size())
                                         : QStringLiteral("?"));
                i = j;
            } else {
                copyUntil(j);
            }
        } else {
            out.text.append(c);
            ++i;
        }
    }
    return out;
}
