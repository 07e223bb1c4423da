#include "db/NoteQuery.h"

#include "common/TextHelpers.h"
#include "db/OracleBase.h"
#include "db/OracleError.h"
#include "db/OracleSession.h"
#include "db/UiThread.h"

namespace {
TFOracleBase &module()
{
    if (!FOracleBase)
        throw EOracleError(QStringLiteral("The database module is not created"));
    return *FOracleBase;
}

TOracleSession *workingSession()
{
    return FOracleBase ? FOracleBase->ADatabase : nullptr;
}

// The checked execution: in view mode only reading statements run; while mirrored, a
// changing statement runs again on the reserve, whose failure only clears WriteToRezerv.
void checkedRun(TOracleStatement &st, bool mirror)
{
    const bool reading = SELECT_(st.SQLText());
    if (!WriteToSRV) {
        if (reading)
            st.Run();
        return;
    }
    st.Run();
    if (!mirror || !WriteToRezerv || reading)
        return;
    TFOracleBase &base = module();
    st.SetSession(base.BDatabase);
    try {
        st.Run();
    } catch (const std::exception &) {
        WriteToRezerv = false;
    }
    st.SetSession(base.ADatabase);
}

void report(TDbError &error, const char *prefix, const std::exception &e,
            const TOracleStatement &st)
{
    error = DbErrorOf(QString::fromLatin1(prefix), e, st.SQLText());
    if (Debug_)
        ShowErrorOnUiThread(error.Summary(), error.Statement);
}

// NoteExecSQL of both classes: the checked execution, the commit on request, and on any
// error the report and the rollback of both servers.
bool noteExecSQL(TOracleStatement &st, TDbError &error, const std::function<void()> &execute,
                 bool commit, const char *prefix)
{
    error = {};
    try {
        st.SetSession(module().ADatabase);
        execute();
        if (commit)
            module().Commit_();
        return true;
    } catch (const std::exception &e) {
        report(error, prefix, e, st);
        try {
            if (FOracleBase)
                FOracleBase->Rollback_();
        } catch (const std::exception &) {
            // The statement failed already; a rollback that fails too leaves nothing to add.
        }
        return false;
    }
}

bool noteStep(TOracleStatement &st, TDbError &error, const std::function<void()> &step,
              const char *prefix)
{
    error = {};
    try {
        step();
        return true;
    } catch (const std::exception &e) {
        report(error, prefix, e, st);
        return false;
    }
}
} // namespace

bool SELECT_(const QString &s)
{
    // WITH is no read here, unlike StatementKindOf (SqlText.cpp): this rule goes by prefix.
    const QString upper = TrimControls(s).toUpper();
    return upper.startsWith(QLatin1String("SELECT")) ||
           upper.contains(QLatin1String("RMT_QUERY")) || upper.contains(QLatin1String("AUTO_HOUR"));
}

const TSqlDialect &WorkingDialect()
{
    const TOracleSession *session = workingSession();
    return session ? session->Dialect() : DialectOf(TEngine::Oracle);
}

TNoteQuery::TNoteQuery(QObject *Owner) : TOracleQuery(Owner)
{
    SetSession(workingSession());
}

void TNoteQuery::Execute()
{
    checkedRun(*this, true);
}

bool TNoteQuery::NoteExecSQL(bool C)
{
    return noteExecSQL(
        *this, lastError_, [this] { Execute(); }, C, "NoteQuery.NoteExecSQL");
}

bool TNoteQuery::NoteOpen()
{
    return noteStep(
        *this, lastError_,
        [this] {
            SetSession(module().ADatabase);
            checkedRun(*this, false);
        },
        "NoteQuery.NoteOpen");
}

bool TNoteQuery::NoteNext()
{
    return noteStep(
        *this, lastError_, [this] { Next(); }, "NoteQuery.NoteNext");
}

TNoteDataSet::TNoteDataSet(QObject *Owner) : TOracleDataSet(Owner)
{
    SetSession(workingSession());
}

void TNoteDataSet::ExecSQL()
{
    checkedRun(*this, true);
}

void TNoteDataSet::Open()
{
    SetSession(module().ADatabase);
    TOracleDataSet::Open();
}

bool TNoteDataSet::NoteExecSQL(bool C)
{
    return noteExecSQL(
        *this, lastError_, [this] { ExecSQL(); }, C, "NoteDataSet.NoteExecSQL");
}

bool TNoteDataSet::NoteOpen()
{
    return noteStep(
        *this, lastError_, [this] { Open(); }, "NoteDataSet.NoteOpen");
}

bool TNoteDataSet::NoteNext()
{
    return noteStep(
        *this, lastError_, [this] { Next(); }, "NoteDataSet.NoteNext");
}
