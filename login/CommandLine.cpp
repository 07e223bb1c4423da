#include "login/CommandLine.h"

#include "common/TextHelpers.h"

TCommandLineLogin ParseLoginArgument(const QString &Argument)
{
    TCommandLineLogin out;
    int index = 1;
    out.Name = Parse(Argument, u'/', index);
    const QString rest = Parse(Argument, u'/', index);
    int restIndex = 1;
    out.Password = Parse(rest, u'@', restIndex);
    return out;
}
