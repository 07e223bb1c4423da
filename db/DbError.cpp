#include "db/DbError.h"

#include "db/OracleError.h"

QString TDbError::Summary() const
{
    if (Operation.isEmpty())
        return Text;
    return Operation + QStringLiteral("\r\n") + Text;
}

TDbError DbErrorOf(const QString &Operation, const std::exception &Error, const QString &Statement)
{
    return TDbError{Operation, ExceptionText(Error), Statement};
}
