#include "db/ProcessState.h"

#include "common/TempTmp.h"

#include <memory>

TProcessState ProcessState;

QString TSharedText::Value() const
{
    std::lock_guard lock(mutex_);
    return value_;
}

TSharedText &TSharedText::operator=(const QString &value)
{
    std::lock_guard lock(mutex_);
    value_ = value;
    return *this;
}

void ResetProcessState()
{
    // Made anew in place: the names bound to its members go on naming the new members.
    std::destroy_at(&ProcessState);
    std::construct_at(&ProcessState);
    // The state file name is common's, below db/, so it cannot be a member.
    TmpFile.clear();
}
