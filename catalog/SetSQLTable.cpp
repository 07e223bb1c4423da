#include "catalog/SetSQLTable.h"

#include "catalog/PeriodPicker.h"
#include "catalog/PropTVItem.h"
#include "catalog/QuorvelUtil.h"
#include "catalog/ReportDefinition.h"
#include "catalog/RunProgress.h"
#include "catalog/StringGrid.h"
#include "common/MessageDialogs.h"
#include "common/WindowLayout.h"
#include "db/DbErrorWindow.h"

#include <QAbstractItemDelegate>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <stdexcept>

QPointer<TfSetSQLTable> fSetSQLTable;

namespace {
constexpr int settingsColWidth = 130;

QToolButton *addButton(QToolBar *Bar, const char *Name, const QString &Hint,
                       QStyle::StandardPixmap Icon)
{
    auto *button = new QToolButton(Bar);
    button->setObjectName(QString::fromLatin1(Name));
    button->setToolTip(Hint);
    button->setIcon(Bar->style()->standardIcon(Icon));
    Bar->addWidget(button);
    return button;
}

QToolBar *makeToolBar(QWidget *Parent, const char *Name)
{
    auto *bar = new QToolBar(Parent);
    bar->setObjectName(QString::fromLatin1(Name));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(19, 19));
    return bar;
}

QLabel *makeLabel(QWidget *Parent, const char *Name, const QString &Text)
{
    auto *label = new QLabel(Text, Parent);
    label->setObjectName(QString::fromLatin1(Name));
    return label;
}

// A section caption above a text area or grid.
QLabel *makeSectionLabel(QWidget *Parent, const char *Name, const QString &Text)
{
    QLabel *label = makeLabel(Parent, Name, Text);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(QFont(QStringLiteral("Tahoma"), 10));
    return label;
}

// A text area with both scroll bars; lines are not wrapped.
QPlainTextEdit *makeMemo(QWidget *Parent, const char *Name, int Height)
{
    auto *memo = new QPlainTextEdit(Parent);
    memo->setObjectName(QString::fromLatin1(Name));
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    if (Height > 0)
        memo->setFixedHeight(Height);
    return memo;
}

TStringGrid *makeGrid(QWidget *Parent, const char *Name, int Height)
{
    auto *grid = new TStringGrid(Parent);
    grid->setObjectName(QString::fromLatin1(Name));
    grid->setFixedHeight(Height);
    grid->SetFixedCols(1);
    grid->SetFixedRows(1);
    grid->SetColCount(2);
    return grid;
}
} // namespace

TfSetSQLTable::TfSetSQLTable(QWidget *Owner) : QDialog(Owner)
{
    setObjectName(QStringLiteral("fSetSQLTable"));
    setWindowTitle(QStringLiteral("fSetSQLTable"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    resize(742, 737);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    ToolBar1 = makeToolBar(this, "ToolBar1");
    ToolButton1 =
        addButton(ToolBar1, "ToolButton1", QStringLiteral("Обновить настройки запроса из БД"),
                  QStyle::SP_BrowserReload);
    ToolBar1->addSeparator();
    tbSave =
        addButton(ToolBar1, "tbSave", QStringLiteral("Сохранить"), QStyle::SP_DialogSaveButton);
    layout->addWidget(ToolBar1);

    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedHeight(167);
    auto *panelLayout = new QVBoxLayout(Panel2);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->setSpacing(0);
    Label1 = makeSectionLabel(Panel2, "Label1", QStringLiteral("Текст SQL запроса"));
    panelLayout->addWidget(Label1);
    ToolBar2 = makeToolBar(Panel2, "ToolBar2");
    tbSetColumn = addButton(ToolBar2, "tbSetColumn", QStringLiteral("Применить свойства столбцов"),
                            QStyle::SP_FileDialogDetailedView);
    ToolBar2->addSeparator();
    pDTP = new QWidget(ToolBar2);
    pDTP->setObjectName(QStringLiteral("pDTP"));
    auto *periodLayout = new QHBoxLayout(pDTP);
    periodLayout->setContentsMargins(0, 0, 0, 0);
    periodLayout->setSpacing(0);
    Label4 = makeLabel(pDTP, "Label4", QStringLiteral(" За период "));
    lS = makeLabel(pDTP, "lS", QStringLiteral(" с "));
    dtpBegin = MakePeriodPicker(pDTP, "dtpBegin");
    lDo = makeLabel(pDTP, "lDo", QStringLiteral(" по "));
    dtpEnd = MakePeriodPicker(pDTP, "dtpEnd");
    for (QWidget *w : {static_cast<QWidget *>(Label4), static_cast<QWidget *>(lS),
                       static_cast<QWidget *>(dtpBegin), static_cast<QWidget *>(lDo),
                       static_cast<QWidget *>(dtpEnd)})
        periodLayout->addWidget(w);
    ToolBar2->addWidget(pDTP);
    tbExecSQL =
        addButton(ToolBar2, "tbExecSQL", QStringLiteral("Выполнить запрос"), QStyle::SP_MediaPlay);
    panelLayout->addWidget(ToolBar2);
    mSQL = makeMemo(Panel2, "mSQL", 125);
    panelLayout->addWidget(mSQL);
    layout->addWidget(Panel2);

    SGTableSet = makeGrid(this, "SGTableSet", 128);
    SGTableSet->setFont(QFont(QStringLiteral("Tahoma"), 10));
    SGTableSet->SetRowCount(4);
    SGTableSet->SetEditable(true);
    SGTableSet->setSelectionMode(QAbstractItemView::ContiguousSelection);
    widenNewSettingsColumns(0);
    layout->addWidget(SGTableSet);

    Label2 = makeSectionLabel(this, "Label2", QStringLiteral("Заголовок"));
    layout->addWidget(Label2);
    mHeader = makeMemo(this, "mHeader", 70);
    layout->addWidget(mHeader);

    Label3 = makeSectionLabel(this, "Label3", QStringLiteral("Результат запроса"));
    layout->addWidget(Label3);
    SGResultSQL = makeGrid(this, "SGResultSQL", 226);
    SGResultSQL->SetRowCount(2);
    SGResultSQL->SetCellAlignment(
        [this](int ACol, int ARow) { return SGResultSQLDrawCell(ACol, ARow); });
    layout->addWidget(SGResultSQL);

    Label5 = makeSectionLabel(this, "Label5", QStringLiteral("Подпись"));
    layout->addWidget(Label5);
    mFooter = makeMemo(this, "mFooter", 0);
    layout->addWidget(mFooter, 1);

    // The preview's alignment follows the codes as they are typed.
    connect(SGTableSet->GridModel(), &QAbstractItemModel::dataChanged, SGResultSQL,
            [this] { SGResultSQL->Invalidate(); });
    connect(ToolButton1, &QToolButton::clicked, this, &TfSetSQLTable::ToolButton1Click);
    connect(tbSave, &QToolButton::clicked, this, &TfSetSQLTable::tbSaveClick);
    connect(tbSetColumn, &QToolButton::clicked, this, &TfSetSQLTable::tbSetColumnClick);
    connect(tbExecSQL, &QToolButton::clicked, this, &TfSetSQLTable::tbExecSQLClick);

    KeepWindowLayout(this);
    FormCreate();
}

void TfSetSQLTable::FormCreate()
{
    SGTableSet->SetCells(0, 0, QStringLiteral("Имя поля"));
    SGTableSet->SetCells(0, 1, QStringLiteral("Имя колонки"));
    SGTableSet->SetCells(0, 2, QStringLiteral("Ширина колонки"));
    SGTableSet->SetCells(0, 3, QStringLiteral("Выравнивание"));
}

void TfSetSQLTable::Refresh()
{
    if (!CurPropTVItem)
        return;
    mSQL->setPlainText(CurPropTVItem->SQL_TEXT);
    mHeader->setPlainText(CurPropTVItem->PRN_TITLE_TOP);
    mFooter->setPlainText(CurPropTVItem->PRN_TITLE_BOT);
    const int before = SGTableSet->ColCount();
    CreateTable(*CurPropTVItem, SGResultSQL->Result(), &SGTableSet->Result());
    SGResultSQL->ResultChanged();
    SGTableSet->ResultChanged();
    widenNewSettingsColumns(before);
}

void TfSetSQLTable::ToolButton1Click()
{
    Refresh();
}

void TfSetSQLTable::tbSaveClick()
{
    if (!CurPropTVItem)
        return;
    commitSettingsEdit();
    ApplyEdits(*CurPropTVItem, mSQL->toPlainText(), mHeader->toPlainText(), mFooter->toPlainText(),
               SGTableSet->Result());
    if (const TDbResult written = WriteSQL(*CurPropTVItem); !written)
        ShowWriteError(CurPropTVItem->name, written.Error());
}

void TfSetSQLTable::tbSetColumnClick()
{
    commitSettingsEdit();
    ApplyColumnSettings(SGTableSet->Result(), SGResultSQL->Result());
    SGResultSQL->ResultChanged();
}

void TfSetSQLTable::tbExecSQLClick()
{
    commitSettingsEdit();
    // The run works on copies, so a query that fails keeps the preview and every edit.
    auto settings = std::make_shared<TReportResult>(SGTableSet->Result());
    DropBlankSettingsColumn(*settings);
    const int before = settings->ColCount();
    auto preview = std::make_shared<TReportResult>(SGResultSQL->Result().Layout());
    TExecResult result;
    try {
        TRunProgress progress(this);
        result = Exec_SQL(mSQL->toPlainText(), settings.get(), *preview, dtpBegin->date(),
                          dtpEnd->date(), &progress);
    } catch (const std::invalid_argument &e) {
        // The message names the text that is not a whole number; the settings stay as typed,
        // the preview shows the fields the statement opened with.
        SGResultSQL->SetResult(std::move(preview));
        ErrorMessage(QString::fromStdString(e.what()), QString());
        return;
    }
    if (!result.Opened) {
        ShowDbError(result.Error);
        return;
    }
    SGTableSet->SetResult(std::move(settings));
    SGResultSQL->SetResult(std::move(preview));
    widenNewSettingsColumns(before);
    tbSetColumnClick();
    if (result.StepFailed)
        ShowDbError(result.Error);
    ReportRunOutcome(result);
}

std::optional<Qt::Alignment> TfSetSQLTable::SGResultSQLDrawCell(int ACol, int) const
{
    return PreviewAlignment(SGTableSet->Result(), ACol);
}

void TfSetSQLTable::commitSettingsEdit()
{
    // An open cell editor is the only widget the view places on its viewport.
    for (QObject *child : SGTableSet->viewport()->children()) {
        auto *editor = qobject_cast<QWidget *>(child);
        if (editor && editor->isVisible()) {
            emit SGTableSet->itemDelegate()->commitData(editor);
            emit SGTableSet->itemDelegate()->closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }
}

void TfSetSQLTable::widenNewSettingsColumns(int Before)
{
    for (int c = Before; c < SGTableSet->ColCount(); ++c)
        SGTableSet->SetColWidths(c, settingsColWidth);
}

TfSetSQLTable *CreateSetSQLTable(QWidget *Owner)
{
    delete fSetSQLTable;
    fSetSQLTable = new TfSetSQLTable(Owner);
    return fSetSQLTable;
}

int SetSqlAndTable(TPropTVItem &PropTVItem, const QDate &dtb, const QDate &dte, QWidget *Owner)
{
    TfSetSQLTable *window = CreateSetSQLTable(Owner);
    window->CurPropTVItem = &PropTVItem;
    window->dtpBegin->setDate(dtb);
    window->dtpEnd->setDate(dte);
    window->Refresh();
    return window->exec();
}
