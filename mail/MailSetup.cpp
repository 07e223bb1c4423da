#include "mail/MailSetup.h"

#include "catalog/StringGrid.h"
#include "common/IniFile.h"
#include "common/MessageDialogs.h"
#include "common/WindowLayout.h"
#include "db/DbErrorWindow.h"
#include "mail/MailSettings.h"
#include "mail/ReportCheckTree.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
QLineEdit *labelledEdit(QVBoxLayout *box, const QString &label, const char *name)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    box->addWidget(new QLabel(label));
    box->addWidget(edit);
    return edit;
}

QAction *toolButton(QToolBar *bar, const char *name, const QString &hint,
                    QStyle::StandardPixmap icon)
{
    QAction *a = bar->addAction(bar->style()->standardIcon(icon), hint);
    a->setObjectName(QString::fromLatin1(name));
    a->setToolTip(hint);
    return a;
}
} // namespace

TFMailSetup::TFMailSetup(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FMailSetup"));
    setWindowTitle(QStringLiteral("Настройки почты"));

    auto *server = new QGroupBox(QStringLiteral(" Настройки почтового ящика "));
    server->setFixedWidth(220);
    auto *serverBox = new QVBoxLayout(server);
    eIP = labelledEdit(serverBox, QStringLiteral("IP адрес почтового сервера"), "eIP");
    eLogin = labelledEdit(serverBox, QStringLiteral("Логин"), "eLogin");
    ePsw = labelledEdit(serverBox, QStringLiteral("Пароль"), "ePsw");
    cbSecurity = new QComboBox;
    cbSecurity->setObjectName(QStringLiteral("cbSecurity"));
    for (const TSmtpSecurity security :
         {TSmtpSecurity::None, TSmtpSecurity::StartTls, TSmtpSecurity::Tls})
        cbSecurity->addItem(MailSecurityName(security), QVariant::fromValue(int(security)));
    serverBox->addWidget(new QLabel(QStringLiteral("Шифрование")));
    serverBox->addWidget(cbSecurity);
    eCaFile = labelledEdit(serverBox, QStringLiteral("Файл центра сертификации (PEM)"), "eCaFile");
    serverBox->addStretch();

    auto *bar = new QToolBar;
    tbAddMail = toolButton(bar, "tbAddMail", QStringLiteral("Добавить адрес"),
                           QStyle::SP_FileDialogNewFolder);
    tbDelMail = toolButton(bar, "tbDelMail", QStringLiteral("Удалить адрес"), QStyle::SP_TrashIcon);

    SG = new TStringGrid;
    SG->setObjectName(QStringLiteral("SG"));
    SG->SetFixedCols(0);
    SG->SetFixedRows(1);
    SG->SetColCount(2);
    SG->SetRowCount(2);
    SG->SetColWidths(0, 135);
    SG->SetColWidths(1, 135);
    SG->SetEditable(true);
    SG->setSelectionMode(QAbstractItemView::SingleSelection);

    VST = new TReportCheckTree;
    VST->setObjectName(QStringLiteral("VST"));

    auto *splitter = new QSplitter(Qt::Horizontal);
    splitter->setObjectName(QStringLiteral("Splitter1"));
    splitter->addWidget(SG);
    splitter->addWidget(VST);
    auto *right = new QVBoxLayout;
    right->addWidget(bar);
    right->addWidget(splitter, 1);

    auto *top = new QHBoxLayout;
    top->addWidget(server);
    top->addLayout(right, 1);

    BitBtn1 = new QPushButton(QStringLiteral("OK"));
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("Отмена"));
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
    resize(746, 495);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().topLeft());

    connect(tbAddMail, &QAction::triggered, this, &TFMailSetup::tbAddMailClick);
    connect(tbDelMail, &QAction::triggered, this, &TFMailSetup::tbDelMailClick);
    connect(BitBtn1, &QPushButton::clicked, this, [this] {
        ListWMail();
        accept();
    });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    ListRefresh();
    CurRow = 0;
    ListRMail();
    SG->SetCells(0, 0, QStringLiteral("Адрес"));
    SG->SetCells(1, 0, QStringLiteral("Получатель"));
    if (!FRecords[0])
        FRecords[0] = std::make_unique<TSend>();
    // Connected only now: the load itself must not move edits between records.
    connect(SG, &QAbstractItemView::clicked, this, &TFMailSetup::SGClick);
    connect(SG->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TFMailSetup::SGClick);
    selectRow(1);
    SGClick();
    KeepWindowLayout(this, {.Lists = {VST}, .Grids = {SG}, .Splitters = {splitter}});
}

TFMailSetup::~TFMailSetup() = default;

TSend *TFMailSetup::Record(int ARow) const
{
    return ARow >= 1 && std::size_t(ARow) <= FRecords.size() ? FRecords[ARow - 1].get() : nullptr;
}

int TFMailSetup::selectedRow() const
{
    const QModelIndex at = SG->currentIndex();
    return at.isValid() ? at.row() + SG->FixedRows() : 0;
}

void TFMailSetup::selectRow(int ARow)
{
    SG->setCurrentIndex(SG->model()->index(ARow - SG->FixedRows(), 0));
}

void TFMailSetup::ListRefresh()
{
    VST->GetRptTree();
}

void TFMailSetup::ClearSG()
{
    FRecords.clear();
    SG->SetRowCount(1);
    SG->SetRowCount(2);
    FRecords.resize(1);
}

void TFMailSetup::ListRMail()
{
    ClearSG();
    TDbResult loaded;
    const std::vector<TSend> recipients = LoadRecipients(&loaded);
    const int n = int(recipients.size());
    if (n > 1)
        SG->SetRowCount(n + 1);
    FRecords.resize(std::size_t(std::max(n, 1)));
    for (int row = 1; row <= n; ++row) {
        const TSend &send = recipients[std::size_t(row - 1)];
        SG->SetCells(0, row, send.ADR_MAIL);
        SG->SetCells(1, row, send.ADR_NAME);
        FRecords[std::size_t(row - 1)] = std::make_unique<TSend>(send);
    }
    TDbResult serverLoaded;
    const TPopServer pop = LoadPopServer(&serverLoaded);
    if (!loaded || !serverLoaded)
        ShowDbError(!loaded ? loaded.Error() : serverLoaded.Error());
    eIP->setText(pop.IP_POP_SERVER);
    eLogin->setText(pop.POP_USER);
    ePsw->setText(pop.POP_PASSWORD);
    const int security = cbSecurity->findData(int(MailSecurity().value_or(TSmtpSecurity::None)));
    cbSecurity->setCurrentIndex(security);
    eCaFile->setText(MailCaFile());
}

void TFMailSetup::SGClick()
{
    if (TSend *rec = Record(CurRow)) {
        rec->ID_REPORT = VST->SetIdsRpt();
        rec->ADR_MAIL = SG->Cells(0, CurRow);
        rec->ADR_NAME = SG->Cells(1, CurRow);
    }
    const int row = selectedRow();
    if (row > 0 && row != CurRow) {
        CurRow = row;
        if (const TSend *rec = Record(CurRow))
            VST->SetVST(rec->ID_REPORT);
    }
}

void TFMailSetup::tbAddMailClick()
{
    const int row = SG->RowCount();
    SG->SetRowCount(row + 1);
    FRecords.push_back(std::make_unique<TSend>());
    selectRow(row);
    SGClick();
}

void TFMailSetup::tbDelMailClick()
{
    if (MyMessageDlg(QStringLiteral("Удалить адрес?"), TMsgDlgType::mtConfirmation,
                     {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}, 0) != mrYes)
        return;
    const int row = CurRow;
    if (!Record(row))
        return;
    // The removed recipient's ticks must not pass to the row that moves up into its place.
    CurRow = 0;
    FRecords.erase(FRecords.begin() + (row - 1));
    for (int r = row; r + 1 < SG->RowCount(); ++r) {
        SG->SetCells(0, r, SG->Cells(0, r + 1));
        SG->SetCells(1, r, SG->Cells(1, r + 1));
    }
    SG->SetRowCount(SG->RowCount() - 1);
    SGClick();
}

void TFMailSetup::ListWMail()
{
    SGClick();
    std::vector<const TSend *> recipients;
    for (const auto &rec : FRecords) {
        if (rec)
            recipients.push_back(rec.get());
    }
    const TPopServer pop{eIP->text(), eLogin->text(), ePsw->text()};
    if (const TDbResult saved = SaveMailSettings(recipients, pop); !saved)
        ShowWriteError(QString(), saved.Error());
    try {
        SaveMailSecurity(TSmtpSecurity(cbSecurity->currentData().toInt()));
        SaveMailCaFile(eCaFile->text());
    } catch (const EIniFileException &e) {
        MyMessageDlg(QString::fromUtf8(e.what()), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}, 0);
    }
}

void ShowMailSetup(QWidget *parent)
{
    TFMailSetup form(parent);
    form.exec();
}
