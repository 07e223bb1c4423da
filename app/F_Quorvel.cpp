#include "app/F_Quorvel.h"

#include "catalog/CatalogStore.h"
#include "catalog/CatalogTree.h"
#include "catalog/ExportCommands.h"
#include "catalog/PeriodPicker.h"
#include "catalog/PropTVItem.h"
#include "catalog/QuorvelUtil.h"
#include "catalog/ReportResult.h"
#include "catalog/RunProgress.h"
#include "catalog/SetSQLTable.h"
#include "catalog/StringGrid.h"
#include "chart/ChartPane.h"
#include "chart/ChartPicture.h"
#include "common/TextHelpers.h"
#include "common/WindowLayout.h"
#include "db/DbErrorWindow.h"
#include "db/OracleBase.h"
#include "db/StatusBarPainting.h"
#include "db/Supervision.h"
#include "mail/MailSetup.h"
#include "mail/SendMail.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
// The saving commands beside "Экспорт в Word" and "Экспорт в Exel", each a toolbar button and
// a menu item; no format is the print preview.
struct TSaveCommand {
    const char *Button;
    const char *MenuItem;
    const char *Caption;
    int Icon;
    std::optional<TExportKind> Kind;
};

QList<TSaveCommand> saveCommands()
{
    return {
        {"tbToXlsx", "miXlsx", "Сохранить в XLSX", QStyle::SP_DialogSaveButton, TExportKind::Xlsx},
        {"tbToCsv", "miCsv", "Сохранить в CSV", QStyle::SP_FileIcon, TExportKind::Csv},
        {"tbToPdf", "miPdf", "Сохранить в PDF", QStyle::SP_FileLinkIcon, TExportKind::Pdf},
        {"tbPrint", "miPrint", "Печать…", QStyle::SP_DesktopIcon, std::nullopt},
    };
}

QLabel *label(QWidget *parent, const char *name, const QString &text)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

QToolBar *toolBar(QWidget *parent, const char *name)
{
    auto *bar = new QToolBar(parent);
    bar->setObjectName(QLatin1String(name));
    bar->setIconSize(QSize(19, 19));
    bar->setMovable(false);
    return bar;
}

QDateEdit *datePicker(QWidget *parent, const char *name)
{
    QDateEdit *d = MakePeriodPicker(parent, name);
    d->setFixedWidth(88);
    return d;
}
} // namespace

TF_Quorvel::TF_Quorvel(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("F_Quorvel"));
    setWindowTitle(QStringLiteral("Универсальный генератор отчетов"));
    setFont(ReportWindowFont());

    QToolBar *bar1 = toolBar(this, "ToolBar1");
    bar1->setFloatable(false);
    addToolBar(Qt::TopToolBarArea, bar1);
    tbSetupSQL = command(bar1, "tbSetupSQL", QStringLiteral("Редактировать параметры отчета"),
                         QStyle::SP_FileDialogDetailedView);
    bar1->addSeparator();
    tbToWord = command(bar1, "tbToWord", QStringLiteral("Экспорт в Word"),
                       QStyle::SP_FileDialogContentsView);
    tbToExel =
        command(bar1, "tbToExel", QStringLiteral("Экспорт в Exel"), QStyle::SP_FileDialogListView);
    for (const TSaveCommand &c : saveCommands())
        addSaveCommand(command(bar1, c.Button, QString::fromUtf8(c.Caption), c.Icon), c.Kind);
    tbChart = command(bar1, "tbChart", QStringLiteral("График"), QStyle::SP_FileDialogInfoView);
    bar1->addSeparator();
    tbSetupMail =
        command(bar1, "tbSetupMail", QStringLiteral("Настройка почты"), QStyle::SP_ComputerIcon);
    tbSendMail =
        command(bar1, "tbSendMail", QStringLiteral("Отправить отчет "), QStyle::SP_DialogYesButton);

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("Splitter1"));
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(createCatalogPanel());
    splitter->addWidget(createReportPanel());
    splitter->setStretchFactor(1, 1);
    setCentralWidget(splitter);
    createMenus();
    for (QAction *a : {tbChart, miChart})
        connect(a, &QAction::triggered, this, &TF_Quorvel::tbChartClick);
    createStatusBar();

    for (QAction *a : resultCommands())
        a->setEnabled(false);
    pDTPAction->setVisible(false);
    dtpBegin->setVisible(false);
    dtpEnd->setVisible(false);

    resize(firstStartSize());
    splitter->setSizes({225, width() - 225});
    FormCreate();
    // After FormCreate: a kept period replaces yesterday and today.
    KeepWindowLayout(this, {.Splitters = {splitter}, .Period = {dtpBegin, dtpEnd}});
}

QSize TF_Quorvel::firstStartSize() const
{
    // The toolbars and both panels whole, with room for a grid, and with the window's frame
    // within the screen.
    const QSize frame(40, 60);
    QSize size = sizeHint().expandedTo(QSize(960, 640));
    if (const QScreen *s = screen())
        size = size.boundedTo(s->availableGeometry().size() - frame);
    return size;
}

void TF_Quorvel::createStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    if (!FOracleBase)
        return;
    // Steps run only with AutoConnect; without them the state found at start stays.
    connect(FOracleBase, &TFOracleBase::ConditionStepped, this, &TF_Quorvel::ShowServerState);
    ShowServerState(SupervisionState());
}

void TF_Quorvel::ShowServerState(std::optional<bool> Found)
{
    if (!FOracleBase)
        return;
    NameSRVToSB(statusBar());
    ShowConditionSRV(statusBar(), Found);
}

QAction *TF_Quorvel::command(QToolBar *bar, const char *name, const QString &hint, int icon)
{
    QAction *a = bar->addAction(style()->standardIcon(QStyle::StandardPixmap(icon)), hint);
    a->setObjectName(QLatin1String(name));
    a->setToolTip(hint);
    return a;
}

QAction *TF_Quorvel::menuItem(QMenu *menu, const char *name, const QString &caption)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(QLatin1String(name));
    return a;
}

QWidget *TF_Quorvel::createCatalogPanel()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(label(panel, "Label1", QStringLiteral(" Список отчетов")));
    QToolBar *bar2 = toolBar(panel, "ToolBar2");
    tbRefresh = command(bar2, "tbRefresh", QStringLiteral("Обновить список отчетов"),
                        QStyle::SP_BrowserReload);
    layout->addWidget(bar2);
    eFilter = new QLineEdit(panel);
    eFilter->setObjectName(QStringLiteral("eFilter"));
    eFilter->setPlaceholderText(QStringLiteral("Поиск отчета"));
    eFilter->setClearButtonEnabled(true);
    layout->addWidget(eFilter);
    tvCatReport = new TCatalogTree(panel);
    tvCatReport->setObjectName(QStringLiteral("tvCatReport"));
    layout->addWidget(tvCatReport, 1);
    connect(eFilter, &QLineEdit::textChanged, tvCatReport, &TCatalogTree::Filter);

    connect(tbRefresh, &QAction::triggered, this, &TF_Quorvel::ListRefresh);
    connect(tvCatReport, &TCatalogTree::Click, this, &TF_Quorvel::tvCatReportClick);
    connect(tvCatReport, &TCatalogTree::RecordsReleased, this, [this] { CurSQL = nullptr; });
    // Enter runs the report under the keyboard as a click and the run button would; an open
    // label editor keeps its Enter, since it has the focus then.
    for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto *enter =
            new QShortcut(QKeySequence(key), tvCatReport, nullptr, nullptr, Qt::WidgetShortcut);
        connect(enter, &QShortcut::activated, this, &TF_Quorvel::tvCatReportEnter);
    }
    // The drawing codes come from the node selected at drawing time.
    connect(tvCatReport, &QTreeWidget::currentItemChanged, this, [this] { SG->Invalidate(); });
    connect(tvCatReport, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        pmTreeViewPopup();
        pmTreeView->popup(tvCatReport->viewport()->mapToGlobal(at));
    });
    return panel;
}

QWidget *TF_Quorvel::createReportPanel()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel2"));
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    QLabel *label2 = label(panel, "Label2", QStringLiteral(" Отчет"));
    label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    layout->addWidget(label2);

    QToolBar *bar3 = toolBar(panel, "ToolBar3");
    tbExecSQL =
        command(bar3, "tbExecSQL", QStringLiteral("Сформировать отчет"), QStyle::SP_MediaPlay);
    tbExecSQL->setShortcut(QKeySequence(Qt::Key_F5));
    bar3->addSeparator();
    pDTP = new QWidget(bar3);
    pDTP->setObjectName(QStringLiteral("pDTP"));
    pDTP->setFixedSize(263, 24);
    auto *period = new QHBoxLayout(pDTP);
    period->setContentsMargins(0, 0, 0, 0);
    period->setSpacing(0);
    period->addWidget(label(pDTP, "Label4", QStringLiteral("За период ")));
    lS = label(pDTP, "lS", QStringLiteral(" с "));
    period->addWidget(lS);
    dtpBegin = datePicker(pDTP, "dtpBegin");
    period->addWidget(dtpBegin);
    lDo = label(pDTP, "lDo", QStringLiteral(" по "));
    period->addWidget(lDo);
    dtpEnd = datePicker(pDTP, "dtpEnd");
    period->addWidget(dtpEnd);
    period->addStretch(1);
    pDTPAction = bar3->addWidget(pDTP);
    layout->addWidget(bar3);

    SG = new TStringGrid(panel);
    SG->setObjectName(QStringLiteral("SG"));
    SG->SetColCount(2);
    SG->SetRowCount(2);
    SG->SetCellAlignment([this](int ACol, int ARow) { return SGDrawCell(ACol, ARow); });
    // Sorting is the view's: no column until the user clicks one.
    SG->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    SG->setSortingEnabled(true);
    // The chart of the result beside the grid, once asked for; dragging the splitter over the
    // grid shows the chart instead.
    auto *results = new QSplitter(Qt::Horizontal, panel);
    results->setObjectName(QStringLiteral("ResultSplitter"));
    results->addWidget(SG);
    ChartPane = new TChartPane(results);
    ChartPane->setObjectName(QStringLiteral("ChartPane"));
    ChartPane->hide();
    results->addWidget(ChartPane);
    layout->addWidget(results, 1);
    eFindGrid = new QLineEdit(panel);
    eFindGrid->setObjectName(QStringLiteral("eFindGrid"));
    eFindGrid->setPlaceholderText(QStringLiteral("Найти в отчете (F3 - далее)"));
    eFindGrid->setVisible(false);
    layout->addWidget(eFindGrid);
    auto *find =
        new QShortcut(QKeySequence::Find, panel, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(find, &QShortcut::activated, this, [this] {
        eFindGrid->setVisible(true);
        eFindGrid->setFocus();
        eFindGrid->selectAll();
    });
    auto *findNext = new QShortcut(QKeySequence::FindNext, panel, nullptr, nullptr,
                                   Qt::WidgetWithChildrenShortcut);
    connect(findNext, &QShortcut::activated, this, [this] { SG->FindNext(eFindGrid->text()); });
    connect(eFindGrid, &QLineEdit::returnPressed, this,
            [this] { SG->FindNext(eFindGrid->text()); });

    connect(tbExecSQL, &QAction::triggered, this, &TF_Quorvel::tbExecSQLClick);
    connect(tbToExel, &QAction::triggered, this, &TF_Quorvel::tbToExelClick);
    connect(tbToWord, &QAction::triggered, this, &TF_Quorvel::tbToWordClick);
    connect(tbSetupMail, &QAction::triggered, this, &TF_Quorvel::tbSetupMailClick);
    connect(tbSendMail, &QAction::triggered, this, &TF_Quorvel::tbSendMailClick);
    return panel;
}

void TF_Quorvel::createMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu *edit = bar->addMenu(QStringLiteral("Редактирование"));
    QAction *mmiCreateFolder = menuItem(edit, "mmiCreateFolder", QStringLiteral("Создать папку"));
    QAction *mmiCreateReport = menuItem(edit, "mmiCreateReport", QStringLiteral("Создать отчет"));
    edit->addSeparator();
    mmiEditParam = menuItem(edit, "mmiEditParam", QStringLiteral("Редактировать параметры отчета"));
    edit->addSeparator();
    QAction *mmiDeleteFolder = menuItem(edit, "mmiDeleteFolder", QStringLiteral("Удалить папку"));
    QAction *mmiDeleteReport = menuItem(edit, "mmiDeleteReport", QStringLiteral("Удалить отчет"));
    QMenu *exportMenu = bar->addMenu(QStringLiteral("Экспорт"));
    miWord = menuItem(exportMenu, "miWord", QStringLiteral("Word"));
    miExel = menuItem(exportMenu, "miExel", QStringLiteral("Exel"));
    for (const TSaveCommand &c : saveCommands())
        addSaveCommand(menuItem(exportMenu, c.MenuItem, QString::fromUtf8(c.Caption)), c.Kind);
    miChart = menuItem(exportMenu, "miChart", QStringLiteral("График"));
    exportMenu->addSeparator();
    QAction *miExportSorted = menuItem(exportMenu, "miExportSorted",
                                       QStringLiteral("Экспортировать в порядке сортировки"));
    miExportSorted->setCheckable(true);
    connect(miExportSorted, &QAction::toggled, SG, &TStringGrid::SetExportInShownOrder);
    QMenu *settings = bar->addMenu(QStringLiteral("Настройки"));
    menuItem(settings, "N7", QStringLiteral("Почты"));

    pmTreeView = new QMenu(this);
    pmTreeView->setObjectName(QStringLiteral("pmTreeView"));
    miCreateFolder = menuItem(pmTreeView, "miCreateFolder", QStringLiteral("Создать папку"));
    miDelFolder = menuItem(pmTreeView, "miDelFolder", QStringLiteral("Удалить папку"));
    QAction *miAddNewNabor = menuItem(pmTreeView, "miAddNewNabor", QStringLiteral("Новый набор"));
    pmTreeView->addSeparator();
    miInsert = menuItem(pmTreeView, "miInsert", QStringLiteral("Вставить"));
    menuItem(pmTreeView, "miCopy", QStringLiteral("Копировать"));
    menuItem(pmTreeView, "miMove", QStringLiteral("Переместить"));
    QAction *miReName = menuItem(pmTreeView, "miReName", QStringLiteral("Переименовать"));
    miDelete = menuItem(pmTreeView, "miDelete", QStringLiteral("Удалить"));
    pmTreeView->addSeparator();
    menuItem(pmTreeView, "miExpandedAll", QStringLiteral("Развернуть"));
    menuItem(pmTreeView, "miColapseNode", QStringLiteral("Свернуть ветвь"));
    menuItem(pmTreeView, "miColapseAll", QStringLiteral("Свернуть все"));
    pmTreeView->addSeparator();
    menuItem(pmTreeView, "miSafety", QStringLiteral("Безопасность"));

    TCatalogTree *tree = tvCatReport;
    for (QAction *a : {miCreateFolder, mmiCreateFolder})
        connect(a, &QAction::triggered, tree, &TCatalogTree::CreateFolder);
    for (QAction *a : {miAddNewNabor, mmiCreateReport})
        connect(a, &QAction::triggered, tree, &TCatalogTree::CreateReport);
    for (QAction *a : {miDelete, mmiDeleteFolder, mmiDeleteReport})
        connect(a, &QAction::triggered, tree, &TCatalogTree::DeleteSelected);
    connect(miReName, &QAction::triggered, tree, &TCatalogTree::StartRename);
    connect(miDelFolder, &QAction::triggered, this, &TF_Quorvel::miDelFolderClick);
    for (QAction *a : {tbSetupSQL, mmiEditParam})
        connect(a, &QAction::triggered, this, &TF_Quorvel::tbSetupSQLClick);
}

void TF_Quorvel::FormCreate()
{
    ListRefresh();
    tvCatReportClick();
    const QDate today = QDate::currentDate();
    dtpBegin->setDate(today.addDays(-1));
    dtpEnd->setDate(today);
}

void TF_Quorvel::ListRefresh()
{
    tvCatReport->ListRefresh();
    tvCatReport->Filter(eFilter->text());
}

void TF_Quorvel::tvCatReportClick()
{
    tbSetupSQL->setEnabled(false);
    mmiEditParam->setEnabled(false);
    TPropTVItem *rec = tvCatReport->SelectedRecord();
    if (!rec)
        return;
    const bool report = rec->nodetype == 0;
    if (report)
        tbSetupSQL->setEnabled(true);
    tbExecSQL->setEnabled(!TrimControls(rec->SQL_TEXT).isEmpty());
    if (!tbExecSQL->isEnabled() || !report)
        return;
    CreateTable(*rec, SG->Result(), nullptr);
    // Another report's columns: the grid shows its rows in the query's order again.
    SG->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    SG->ResultChanged();
    showChart();
    const bool begin = rec->SQL_TEXT.contains(QStringLiteral("DTPBEGIN"));
    const bool end = rec->SQL_TEXT.contains(QStringLiteral("DTPEND"));
    pDTPAction->setVisible(begin || end);
    lS->setVisible(begin);
    dtpBegin->setVisible(begin);
    lDo->setVisible(end);
    dtpEnd->setVisible(end);
    mmiEditParam->setEnabled(true);
}

void TF_Quorvel::tvCatReportEnter()
{
    tvCatReportClick();
    const TPropTVItem *rec = tvCatReport->SelectedRecord();
    if (rec && rec->nodetype == 0 && tbExecSQL->isEnabled())
        tbExecSQLClick();
}

void TF_Quorvel::tbSetupSQLClick()
{
    if (TPropTVItem *rec = tvCatReport->SelectedRecord())
        SetSqlAndTable(*rec, dtpBegin->date(), dtpEnd->date(), this);
}

void TF_Quorvel::tbExecSQLClick()
{
    TPropTVItem *rec = tvCatReport->SelectedRecord();
    if (!rec)
        return;
    // The run fills a result of its own; the grid shows it once the statement has opened, and
    // keeps what it showed when it does not. Either way the exports follow the run.
    auto next = std::make_shared<TReportResult>(SG->Result().Layout());
    TExecResult result;
    {
        TRunProgress progress(this);
        result =
            Exec_SQL(rec->SQL_TEXT, nullptr, *next, dtpBegin->date(), dtpEnd->date(), &progress);
    }
    CurSQL = rec;
    if (result.Opened)
        SG->SetResult(std::move(next));
    showChart();
    if (!result.Opened || result.StepFailed)
        ShowDbError(result.Error);
    ReportRunOutcome(result);
    for (QAction *a : resultCommands())
        a->setEnabled(true);
    tbSendMail->setEnabled(true);
}

void TF_Quorvel::tbToExelClick()
{
    ToExelCommand(this, *SG, ExportNodeOf(tvCatReport->currentItem()));
}

void TF_Quorvel::tbToWordClick()
{
    ToWordCommand(this, *SG, ExportNodeOf(tvCatReport->currentItem()), CurSQL);
}

void TF_Quorvel::SaveClick(std::optional<TExportKind> Kind)
{
    const std::optional<TExportNode> node = ExportNodeOf(tvCatReport->currentItem());
    // With the chart pane open, the pages show the chart above the table.
    TPdfOptions pdf;
    if (!ChartPane->isHidden() && !ChartPane->Data().Series.empty())
        pdf.FTopPicture = [result = SG->SharedResult(), data = ChartPane->Data(),
                           choice = ChartPane->Choice()](QPainter &Painter, const QRectF &Area) {
            DrawChart(Painter, Area.toRect(), *result, data, choice);
        };
    if (Kind)
        SaveResultCommand(this, *SG, node, *Kind, pdf);
    else
        PrintCommand(this, *SG, node, pdf);
}

void TF_Quorvel::addSaveCommand(QAction *Action, std::optional<TExportKind> Kind)
{
    SaveCommands.append(Action);
    connect(Action, &QAction::triggered, this, [this, Kind] { SaveClick(Kind); });
}

QList<QAction *> TF_Quorvel::resultCommands() const
{
    return QList<QAction *>{tbToWord, tbToExel, miWord, miExel} + SaveCommands;
}

void TF_Quorvel::tbChartClick()
{
    ChartPane->setVisible(ChartPane->isHidden());
    showChart();
}

void TF_Quorvel::showChart()
{
    if (!ChartPane->isHidden())
        ChartPane->SetResult(SG->SharedResult(), CurSQL ? CurSQL->id : -1);
}

void TF_Quorvel::tbSetupMailClick()
{
    ShowMailSetup(this);
}

void TF_Quorvel::tbSendMailClick()
{
    // The record of the node selected now, not necessarily the report whose result is shown.
    if (const TPropTVItem *rec = tvCatReport->SelectedRecord())
        ShowSendMail(&SG->Result(), rec, this, SG->ExportRowOrder());
}

void TF_Quorvel::pmTreeViewPopup()
{
    const TPropTVItem *rec = tvCatReport->SelectedRecord();
    if (!rec)
        return;
    const TTreeMenuStates states = TreeMenuStates(*rec);
    miCreateFolder->setEnabled(states.CreateFolder);
    miDelFolder->setEnabled(states.DelFolder);
    miInsert->setEnabled(states.Insert);
    miDelete->setEnabled(states.Delete);
}

void TF_Quorvel::miDelFolderClick()
{
    tvCatReport->DeleteSelected();
    ListRefresh();
}

std::optional<Qt::Alignment> TF_Quorvel::SGDrawCell(int ACol, int) const
{
    const TPropTVItem *rec = tvCatReport->SelectedRecord();
    return rec ? CellAlignment(rec->FORMAT_STR, ACol) : std::nullopt;
}
