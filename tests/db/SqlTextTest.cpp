#include "db/SqlText.h"
#include "tests/db/DbFixture.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

const char *kindName(TStatementKind kind)
{
    switch (kind) {
    case TStatementKind::Query:
        return "Query";
    case TStatementKind::Change:
        return "Change";
    case TStatementKind::Definition:
        return "Definition";
    case TStatementKind::SessionSetting:
        return "SessionSetting";
    }
    return "?";
}

struct KindCase {
    const char *name;
    const char *text;
    TStatementKind kind;
};

void PrintTo(const KindCase &c, std::ostream *os)
{
    *os << c.name << ": \"" << c.text << "\"";
}

class StatementKind : public ::testing::TestWithParam<KindCase> {};

TEST_P(StatementKind, FollowsTheFirstWords)
{
    EXPECT_STREQ(kindName(StatementKindOf(QString::fromUtf8(GetParam().text))),
                 kindName(GetParam().kind));
}

const KindCase kindCases[] = {
    {"Select", "select * from t", TStatementKind::Query},
    {"SelectInParentheses", "  ((SELECT 1) UNION (SELECT 2))", TStatementKind::Query},
    {"SelectAfterComments", "-- about: update\n/* delete */ select 1", TStatementKind::Query},
    {"With", "with x as (select 1 a) select a from x", TStatementKind::Query},
    {"Values", "VALUES (1), (2)", TStatementKind::Query},
    {"Explain", "explain select 1", TStatementKind::Query},
    {"Insert", "insert into t values ('select')", TStatementKind::Change},
    {"Update", "UPDATE t SET a = 1", TStatementKind::Change},
    {"Delete", "delete from t", TStatementKind::Change},
    {"PlsqlBlock", "begin DBMS_APPLICATION_INFO.SET_CLIENT_INFO(:INFO); end;",
     TStatementKind::Change},
    {"Empty", "", TStatementKind::Change},
    {"OnlyAComment", "/* never closed", TStatementKind::Change},
    {"Create", "create table t (a int)", TStatementKind::Definition},
    {"Drop", "DROP TABLE t", TStatementKind::Definition},
    {"AlterTable", "alter table t add b int", TStatementKind::Definition},
    {"Truncate", "truncate table t", TStatementKind::Definition},
    {"CommentOn", "comment on table t is 'x'", TStatementKind::Definition},
    {"AlterSession", "Alter  Session SET NLS_SORT = 'BINARY'", TStatementKind::SessionSetting},
    {"AlterSessionAcrossLines", "alter\n/* what */ session set x = 1",
     TStatementKind::SessionSetting},
    {"Set", "SET quorvel.nls_sort = 'BINARY_CI'", TStatementKind::SessionSetting},
    {"Pragma", "PRAGMA quorvel_nls_sort = 'BINARY'", TStatementKind::SessionSetting},
};

INSTANTIATE_TEST_SUITE_P(Cases, StatementKind, ::testing::ValuesIn(kindCases), CaseName());

struct BindCase {
    const char *name;
    const char *text;
    bool numbered;
    const char *bound;
    QStringList names;
};

void PrintTo(const BindCase &c, std::ostream *os)
{
    *os << c.name << ": \"" << c.text << "\"";
}

class BindPositionalText : public ::testing::TestWithParam<BindCase> {};

// The declared variables of every case: A, B and NAME_1, in any letter case.
bool declared(const QString &name)
{
    return QStringList{"A", "B", "NAME_1"}.contains(name, Qt::CaseInsensitive);
}

TEST_P(BindPositionalText, ReplacesDeclaredVariablesOutsideLiteralsAndComments)
{
    const BindCase &c = GetParam();
    const TBoundText out = BindPositional(QString::fromUtf8(c.text), declared, c.numbered);
    EXPECT_EQ(out.text, QString::fromUtf8(c.bound));
    EXPECT_EQ(out.names, c.names);
}

const BindCase bindCases[] = {
    {"OneVariable", "select * from t where a = :A", false, "select * from t where a = ?", {"A"}},
    {"NumberedInOrderOfOccurrence", ":B, :a, :B", true, "$1, $2, $3", {"B", "a", "B"}},
    {"NameWithDigitAndUnderscore", "x = :NAME_1)", false, "x = ?)", {"NAME_1"}},
    {"UndeclaredStays", ":A || :C", false, "? || :C", {"A"}},
    {"InsideALiteral", "':A' || :A", false, "':A' || ?", {"A"}},
    {"DoubledQuoteInALiteral", "'it''s :A' || :B", false, "'it''s :A' || ?", {"B"}},
    {"InsideAQuotedName",
     "select \":A\" from t where :A = 1",
     true,
     "select \":A\" from t where $1 = 1",
     {"A"}},
    {"InsideALineComment", "-- :A\n:B", false, "-- :A\n?", {"B"}},
    {"InsideABlockComment", "/* :A */ :B /* :A", false, "/* :A */ ? /* :A", {"B"}},
    {"CastIsNoVariable", "x::A, :A", true, "x::A, $1", {"A"}},
    {"DigitIsNoName", ":1 + :A", false, ":1 + ?", {"A"}},
    {"UnterminatedLiteral", ":A 'and :B", false, "? 'and :B", {"A"}},
    {"ColonAtTheEnd", "x :", false, "x :", {}},
    {"NoVariables", "select 1", false, "select 1", {}},
};

INSTANTIATE_TEST_SUITE_P(Cases, BindPositionalText, ::testing::ValuesIn(bindCases), CaseName());

} // namespace
