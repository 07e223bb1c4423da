#include "app/F_Quorvel.h"
#include "catalog/CatalogTree.h"
#include "tests/catalog/CatalogDb.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {
// The mail commands of the main window open the mail settings and the mailing window.
class MainWindowMail_Gui_Sqlite : public ::testing::Test {
protected:
    MainWindowMail_Gui_Sqlite()
    {
        db.addFolder(1, QStringLiteral("Отчеты"), 0);
        db.addReport(10, QStringLiteral("Отчет"), 1, QStringLiteral("select 1 a from srv"),
                     QStringLiteral("A"), QStringLiteral("70"), QStringLiteral("L"));
        window = std::make_unique<TF_Quorvel>();
        window->show();
    }

    // Triggers the command and closes the modal window it opens with the named button;
    // returns the window's object name (empty when none opened).
    QString openAndClose(const char *command, const char *closeButton)
    {
        QString seen;
        QTimer poll;
        int tries = 0;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                seen = modal->objectName();
                if (auto *b = modal->findChild<QPushButton *>(QLatin1String(closeButton)))
                    b->click();
                poll.stop();
            } else if (++tries > 500) {
                poll.stop();
            }
        });
        poll.start(10);
        window->findChild<QAction *>(QLatin1String(command))->trigger();
        poll.stop();
        return seen;
    }

    CatalogDb db;
    std::unique_ptr<TF_Quorvel> window;
};

TEST_F(MainWindowMail_Gui_Sqlite, MailSettingsOpenFromTheToolbar)
{
    EXPECT_EQ(openAndClose("tbSetupMail", "BitBtn2"), QStringLiteral("FMailSetup"));
}

TEST_F(MainWindowMail_Gui_Sqlite, MailingOpensForTheSelectedNodeOnly)
{
    auto *tree = window->findChild<TCatalogTree *>(QStringLiteral("tvCatReport"));
    ASSERT_NE(tree, nullptr);
    ASSERT_NE(tree->SelectedRecord(), nullptr);
    EXPECT_EQ(openAndClose("tbSendMail", "BitBtn3"), QStringLiteral("FSendMail"));

    tree->setCurrentItem(nullptr);
    EXPECT_EQ(openAndClose("tbSendMail", "BitBtn3"), QString());
}
} // namespace
