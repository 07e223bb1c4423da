#include "tests/support/DialogScript.h"

#include <gtest/gtest.h>

DialogScript::DialogScript() : previous_(setDialogInterceptor(this)) {}

DialogScript::~DialogScript()
{
    setDialogInterceptor(previous_);
}

DialogScript &DialogScript::answer(int result)
{
    answers_.enqueue(result);
    return *this;
}

int DialogScript::answer(const ShownDialog &shown)
{
    shown_.append(shown);
    if (answers_.isEmpty()) {
        ADD_FAILURE() << "unexpected " << shown.kind.toStdString() << " \""
                      << shown.title.toStdString() << "\": " << shown.text.toStdString();
        return 2;
    }
    return answers_.dequeue();
}
