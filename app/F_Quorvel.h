#pragma once

#include "catalog/ExportGrid.h"

#include <QList>
#include <QMainWindow>

#include <optional>

class QAction;
class QDateEdit;
class QLabel;
class QLineEdit;
class QMenu;
class QSplitter;
class QToolBar;
class TCatalogTree;
class TChartPane;
class TStringGrid;
struct TPropTVItem;

// The main window: the report catalog on the left, the selected report's result on the right,
// and the commands that act on them.
class TF_Quorvel : public QMainWindow {
    Q_OBJECT
public:
    explicit TF_Quorvel(QWidget *parent = nullptr);

    // The record of the report last run; cleared whenever the tree releases its records.
    TPropTVItem *CurSQL = nullptr;

    // Loads the catalog, applies the selection rules to the selected node, sets the period to
    // yesterday and today.
    void FormCreate();
    // Reloads the catalog tree.
    void ListRefresh();
    // The rules that follow a click on a catalog node: which commands apply, and for a report
    // with a query the grid's columns and the period pickers the query asks for.
    void tvCatReportClick();
    // Enter in the tree: the click's rules, then the run of a report.
    void tvCatReportEnter();
    // The server, the user and the supervision state in the status bar; Found as a
    // supervision step answered it.
    void ShowServerState(std::optional<bool> Found);
    // Opens the report editor for the selected node's record with the period of the pickers.
    void tbSetupSQLClick();
    // Runs the selected report into the grid, then enables the export and mail commands.
    void tbExecSQLClick();
    // Writes the grid as a workbook with the selected node's titles, or as a document with the
    // titles of the report last run, in a folder the user chooses.
    void tbToExelClick();
    void tbToWordClick();
    // "Сохранить в XLSX", "Сохранить в CSV", "Сохранить в PDF" as "Экспорт в Exel" saves, and
    // with no format "Печать…", the print preview; with the chart pane open the PDF pages and
    // the printed ones show the chart above the table.
    void SaveClick(std::optional<TExportKind> Kind);
    // "График": shows the chart of the result shown beside the grid, or hides it again.
    void tbChartClick();
    // The mail settings; the mailing of the grid to ticked recipients, when a node is selected.
    void tbSetupMailClick();
    void tbSendMailClick();
    // Context menu states for the selected node.
    void pmTreeViewPopup();
    // "Удалить папку" of the context menu: the deletion, then one more reload.
    void miDelFolderClick();
    // The alignment of a result cell by the selected report's codes (nothing: ordinary drawing).
    std::optional<Qt::Alignment> SGDrawCell(int ACol, int ARow) const;

private:
    QAction *command(QToolBar *bar, const char *name, const QString &hint, int icon);
    QAction *menuItem(QMenu *menu, const char *name, const QString &caption);
    void createMenus();
    void createStatusBar();
    QSize firstStartSize() const;
    QWidget *createCatalogPanel();
    QWidget *createReportPanel();
    // The chart pane, while it is open, follows the result the grid shows.
    void showChart();
    // A saving command of the toolbar or the menu: kept among the exports, running SaveClick.
    void addSaveCommand(QAction *Action, std::optional<TExportKind> Kind);
    // The exports of a result: disabled until a report has run.
    QList<QAction *> resultCommands() const;

    TCatalogTree *tvCatReport = nullptr;
    QLineEdit *eFilter = nullptr;
    QLineEdit *eFindGrid = nullptr;
    TStringGrid *SG = nullptr;
    TChartPane *ChartPane = nullptr;
    QAction *tbChart = nullptr;
    QAction *miChart = nullptr;
    QMenu *pmTreeView = nullptr;
    QWidget *pDTP = nullptr;
    QAction *pDTPAction = nullptr;
    QLabel *lS = nullptr;
    QLabel *lDo = nullptr;
    QDateEdit *dtpBegin = nullptr;
    QDateEdit *dtpEnd = nullptr;
    QAction *tbSetupSQL = nullptr;
    QAction *tbToWord = nullptr;
    QAction *tbToExel = nullptr;
    QAction *tbSetupMail = nullptr;
    QAction *tbSendMail = nullptr;
    QAction *tbRefresh = nullptr;
    QAction *tbExecSQL = nullptr;
    QAction *mmiEditParam = nullptr;
    QAction *miWord = nullptr;
    QAction *miExel = nullptr;
    QList<QAction *> SaveCommands;
    QAction *miCreateFolder = nullptr;
    QAction *miDelFolder = nullptr;
    QAction *miInsert = nullptr;
    QAction *miDelete = nullptr;
};
