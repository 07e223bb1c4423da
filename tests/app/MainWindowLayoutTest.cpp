#include "app/F_Quorvel.h"
#include "catalog/CatalogTree.h"
#include "catalog/SetSQLTable.h"
#include "catalog/StringGrid.h"
#include "common/IniFile.h"
#include "common/TempTmp.h"
#include "db/ServerStatus.h"
#include "db/StatusBarPainting.h"
#include "mail/MailSetup.h"
#include "mail/SendMail.h"
#include "tests/catalog/CatalogDb.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>

// What the windows keep between runs in Temp.tmp, what the main window shows at its first
// start, its keys, and its status bar on one server.

namespace {
class MainWindowLayout_Gui_Sqlite : public ::testing::Test {
protected:
    void SetUp() override
    {
        db.exec(QStringLiteral("CREATE TABLE DATA (V NUMBER(9)); INSERT INTO DATA VALUES (7);"
                               "INSERT INTO DATA VALUES (8)"));
        db.addFolder(1, QStringLiteral("Отчеты"), 0);
        db.addReport(2, QStringLiteral("Числа"), 1, QStringLiteral("select v from data"),
                     QStringLiteral("Число"));
    }
    void open()
    {
        window = std::make_unique<TF_Quorvel>();
        window->show();
        QCoreApplication::processEvents();
    }
    // Closes the window as the user does (which saves its layout) and destroys it.
    void closeWindow()
    {
        window->close();
        window.reset();
    }
    template <class T> T *child(const char *name) const
    {
        T *found = window->findChild<T *>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QSplitter *splitter() const { return child<QSplitter>("Splitter1"); }
    TCatalogTree *tree() const { return child<TCatalogTree>("tvCatReport"); }
    TStringGrid *grid() const { return child<TStringGrid>("SG"); }
    QString section() const { return TTempTmp::GetSectionName(window.get()); }
    QRect screenRect() const { return QGuiApplication::primaryScreen()->geometry(); }
    void selectReport() const
    {
        const auto found =
            tree()->findItems(QStringLiteral("Числа"), Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_FALSE(found.isEmpty());
        tree()->setCurrentItem(found.first());
        tree()->setFocus();
    }

    CatalogDb db;
    std::unique_ptr<TF_Quorvel> window;
};

// Whether a toolbar shows all of its actions (no extension button for the ones cut off).
bool whole(const QToolBar *bar)
{
    const auto *more = bar->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button"));
    return bar->isVisible() && (!more || !more->isVisible());
}
} // namespace

TEST_F(MainWindowLayout_Gui_Sqlite, BoundsAndSplitterComeBackInTheNextLifetime)
{
    open();
    window->setGeometry(40, 50, 700, 480);
    splitter()->setSizes({300, 400});
    QCoreApplication::processEvents();
    const QList<int> sizes = splitter()->sizes();
    const QString name = section();
    closeWindow();

    const IniFile ini(TmpFile);
    EXPECT_EQ(ini.readInteger(name, "Left", -1), 40);
    EXPECT_EQ(ini.readInteger(name, "Top", -1), 50);
    EXPECT_EQ(ini.readInteger(name, "Width", -1), 700);
    EXPECT_EQ(ini.readInteger(name, "Height", -1), 480);
    EXPECT_FALSE(ini.valueExists(name, "WindowState"));
    EXPECT_EQ(ini.readInteger(name, "Splitter1.Sizes[0]", -1), sizes[0]);

    open();
    EXPECT_EQ(window->geometry(), QRect(40, 50, 700, 480));
    EXPECT_EQ(splitter()->sizes(), sizes);
    EXPECT_EQ(child<QWidget>("Panel1")->width(), sizes[0]);
}

TEST_F(MainWindowLayout_Gui_Sqlite, APositionOffEveryScreenIsBroughtBackAndMaximisedStaysSo)
{
    open();
    const QString name = section();
    closeWindow();
    IniFile ini(TmpFile);
    ini.writeInteger(name, "Left", 5000);
    ini.writeInteger(name, "Top", -4000);
    ini.writeInteger(name, "Width", 600);
    ini.writeInteger(name, "Height", 400);

    open();
    EXPECT_EQ(window->size(), QSize(600, 400));
    EXPECT_TRUE(screenRect().contains(window->geometry()));
    closeWindow();

    ini.writeString(name, "WindowState", "wsMaximized");
    open();
    EXPECT_TRUE(window->isMaximized());
    closeWindow();
    // The restored bounds are what is kept, not the maximised ones.
    EXPECT_EQ(ini.readString(name, "WindowState", ""), "wsMaximized");
    EXPECT_EQ(ini.readInteger(name, "Width", -1), 600);
}

TEST_F(MainWindowLayout_Gui_Sqlite, TheFirstStartShowsBothToolbarsAndTheReportLabelWhole)
{
    open();
    EXPECT_TRUE(whole(child<QToolBar>("ToolBar1")));
    EXPECT_TRUE(whole(child<QToolBar>("ToolBar3")));
    const auto *label = child<QLabel>("Label2");
    EXPECT_GE(label->width(), label->sizeHint().width());
    EXPECT_EQ(child<QWidget>("Panel1")->width(), 225);
    EXPECT_GE(window->width(), std::min(960, screenRect().width() - 40));
    EXPECT_TRUE(screenRect().contains(window->frameGeometry()));
}

TEST_F(MainWindowLayout_Gui_Sqlite, EnterOnAReportRunsItAndF5RunsItAgain)
{
    open();
    selectReport();
    QTest::keyClick(tree(), Qt::Key_Return);
    ASSERT_EQ(grid()->RowCount(), 3);
    EXPECT_EQ(grid()->Cells(1, 2), "8");
    db.exec(QStringLiteral("INSERT INTO DATA VALUES (9)"));
    QTest::keyClick(window.get(), Qt::Key_F5);
    ASSERT_EQ(grid()->RowCount(), 4);
    EXPECT_EQ(grid()->Cells(1, 3), "9");

    // On a folder Enter runs nothing.
    db.exec(QStringLiteral("INSERT INTO DATA VALUES (10)"));
    tree()->setCurrentItem(tree()->topLevelItem(0));
    QTest::keyClick(tree(), Qt::Key_Enter);
    EXPECT_EQ(grid()->RowCount(), 4);
}

TEST_F(MainWindowLayout_Gui_Sqlite, TheStatusBarNamesTheServerAndTheUser)
{
    User_All_Name = QStringLiteral("Петров П. П.");
    open();
    QStatusBar *bar = child<QStatusBar>("StatusBar1");
    ASSERT_EQ(window->statusBar(), bar);
    const QString text = StatusPanel0(bar)->text();
    EXPECT_EQ(text, ServerStatusText());
    EXPECT_TRUE(text.startsWith("   ")) << text.toStdString();
    EXPECT_TRUE(text.endsWith("Пользователь: \"Петров П. П.\"   ")) << text.toStdString();
    EXPECT_EQ(bar->currentMessage(), "");
    EXPECT_EQ(bar->palette().color(QPalette::Window),
              QApplication::palette().color(QPalette::Button));
    User_All_Name = QString();
}

TEST_F(MainWindowLayout_Gui_Sqlite, TheEditorAndTheMailWindowsKeepTheirSizesAndColumns)
{
    open();
    {
        TfSetSQLTable *editor = CreateSetSQLTable(window.get());
        editor->show();
        const QSize size = editor->size() + QSize(40, 30);
        editor->resize(size);
        QTest::keyClick(editor, Qt::Key_Escape);
        EXPECT_FALSE(editor->isVisible());
        EXPECT_EQ(editor->result(), QDialog::Rejected);
        EXPECT_EQ(CreateSetSQLTable(window.get())->size(), size);
    }
    {
        TFSendMail mailing;
        mailing.show();
        mailing.resize(420, 380);
        mailing.lvSendMail->header()->resizeSection(0, 210);
        QTest::keyClick(&mailing, Qt::Key_Escape);
        EXPECT_FALSE(mailing.isVisible());
    }
    TFSendMail again;
    EXPECT_EQ(again.size(), QSize(420, 380));
    EXPECT_EQ(again.lvSendMail->header()->sectionSize(0), 210);
    EXPECT_EQ(again.lvSendMail->header()->sectionSize(1), 200);
    QList<int> sizes;
    {
        TFMailSetup settings;
        settings.show();
        settings.resize(800, 520);
        settings.SG->SetColWidths(0, 230);
        auto *split = settings.findChild<QSplitter *>("Splitter1");
        split->setSizes({380, 240});
        QCoreApplication::processEvents();
        sizes = split->sizes();
        QTest::keyClick(&settings, Qt::Key_Escape);
        EXPECT_FALSE(settings.isVisible());
    }
    TFMailSetup settings;
    settings.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(settings.size(), QSize(800, 520));
    EXPECT_EQ(settings.SG->ColWidths(0), 230);
    EXPECT_EQ(settings.findChild<QSplitter *>("Splitter1")->sizes(), sizes);
}

TEST_F(MainWindowLayout_Gui_Sqlite, ThePeriodIsKeptOnlyWithKeepPeriod)
{
    const QDate today = QDate::currentDate();
    open();
    child<QDateEdit>("dtpBegin")->setDate(QDate(2015, 3, 1));
    const QString name = section();
    closeWindow();
    IniFile ini(TmpFile);
    EXPECT_FALSE(ini.valueExists(name, "dtpBegin"));
    open();
    EXPECT_EQ(child<QDateEdit>("dtpBegin")->date(), today.addDays(-1));
    closeWindow();

    ini.writeBool("Main", "KEEP_PERIOD", true);
    open();
    child<QDateEdit>("dtpBegin")->setDate(QDate(2015, 3, 1));
    child<QDateEdit>("dtpEnd")->setDate(QDate(2015, 3, 5));
    closeWindow();
    EXPECT_EQ(ini.readString(name, "dtpBegin", ""), "01.03.2015");
    open();
    EXPECT_EQ(child<QDateEdit>("dtpBegin")->date(), QDate(2015, 3, 1));
    EXPECT_EQ(child<QDateEdit>("dtpEnd")->date(), QDate(2015, 3, 5));
}
