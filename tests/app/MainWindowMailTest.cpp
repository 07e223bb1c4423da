#include "app/F_Quorvel.h"
#include "catalog/CatalogTree.h"
#include "tests/app/ModalWindow.h"
#include "tests/catalog/CatalogDb.h"

#include <QAction>

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

    QString openAndClose(const char *command, const char *closeButton) const
    {
        return TriggerAndClose(window->findChild<QAction *>(QLatin1String(command)), closeButton);
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
