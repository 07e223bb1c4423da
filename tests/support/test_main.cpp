#include "db/DbWindows.h"
#include "tests/support/DialogScript.h"

#include <QApplication>

#include <gmock/gmock.h>

#include <cstdlib>

namespace {
// Outside a test's own DialogScript, any box fails the test instead of waiting for a user.
class UnexpectedDialogs : public DialogInterceptor {
public:
    int answer(const ShownDialog &shown) override
    {
        ADD_FAILURE() << "unexpected " << shown.kind.toStdString() << " \""
                      << shown.title.toStdString() << "\": " << shown.text.toStdString();
        return 2;
    }
};
} // namespace

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleMock(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quorvel"));
    // The database layer's errors and waiting window, as the windows program shows them.
    InstallDbWindows();
    UnexpectedDialogs unexpected;
    setDialogInterceptor(&unexpected);
    const int rc = RUN_ALL_TESTS();
    setDialogInterceptor(nullptr);
    return rc;
}
