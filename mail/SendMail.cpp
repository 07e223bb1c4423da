#include "mail/SendMail.h"

#include "catalog/PropTVItem.h"
#include "common/MessageDialogs.h"
#include "common/WindowLayout.h"
#include "db/DbErrorWindow.h"
#include "db/OracleError.h"
#include "mail/DeliveryLog.h"
#include "mail/MailSettingsStore.h"
#include "mail/MailingRun.h"
#include "mail/ReportMailing.h"

#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <utility>

namespace {
class TRecipientItem : public QTreeWidgetItem {
public:
    explicit TRecipientItem(TSend Send) : send(std::move(Send))
    {
        setText(0, send.ADR_MAIL);
        setText(1, send.ADR_NAME);
        setFlags(flags() | Qt::ItemIsUserCheckable);
        setCheckState(0, Qt::Unchecked);
    }
    const TSend send;
};

QPushButton *button(const QString &caption, const char *name)
{
    auto *b = new QPushButton(caption);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}
} // namespace

TFSendMail::TFSendMail(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FSendMail"));
    setWindowTitle(QStringLiteral("Отправить отчет"));

    lvSendMail = new QTreeWidget;
    lvSendMail->setObjectName(QStringLiteral("lvSendMail"));
    lvSendMail->setRootIsDecorated(false);
    lvSendMail->setColumnCount(2);
    lvSendMail->setHeaderLabels({QStringLiteral("Получатель"), QStringLiteral("Адрес")});
    lvSendMail->header()->resizeSection(0, 150);
    lvSendMail->header()->resizeSection(1, 200);

    bbSendMail = button(QStringLiteral("Отправить"), "bbSendMail");
    bbStopSend = button(QStringLiteral("Прервать"), "bbStopSend");
    bbStopSend->setEnabled(false);
    BitBtn3 = button(QStringLiteral("Отменить"), "BitBtn3");
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(bbSendMail);
    buttons->addWidget(bbStopSend);
    buttons->addWidget(BitBtn3);

    lStatus = new QLabel;
    lStatus->setObjectName(QStringLiteral("lStatus"));
    lStatus->setWordWrap(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lvSendMail, 1);
    layout->addWidget(lStatus);
    layout->addLayout(buttons);
    resize(357, 533);
    KeepWindowLayout(this, {.Lists = {lvSendMail}});

    connect(bbSendMail, &QPushButton::clicked, this, &TFSendMail::bbSendMailClick);
    connect(bbStopSend, &QPushButton::clicked, this, &TFSendMail::bbStopSendClick);
    connect(BitBtn3, &QPushButton::clicked, this, &QDialog::reject);

    ListRMail();
}

TFSendMail::~TFSendMail() = default;

const TSend *TFSendMail::Record(int Index) const
{
    const auto *item = dynamic_cast<const TRecipientItem *>(lvSendMail->topLevelItem(Index));
    return item ? &item->send : nullptr;
}

void TFSendMail::ListRMail()
{
    QList<QTreeWidgetItem *> items;
    TDbResult loaded;
    for (TSend &send : LoadRecipients(&loaded))
        items.append(new TRecipientItem(std::move(send)));
    lvSendMail->addTopLevelItems(items);
    if (!loaded)
        ShowDbError(loaded.Error());
}

void TFSendMail::bbSendMailClick()
{
    if (Sending())
        return;
    FSending.clear();
    for (int i = 0; i < lvSendMail->topLevelItemCount(); ++i) {
        if (lvSendMail->topLevelItem(i)->checkState(0) == Qt::Checked)
            FSending.push_back(Record(i));
    }
    std::vector<TMailMessage> messages;
    TSmtpSettings settings;
    try {
        FFormat = MailAttachmentKind();
        FAttachment = WriteMailAttachment(vSG, Prop, FFormat, RowOrder);
        if (FSending.empty()) {
            accept();
            return;
        }
        // The database and the settings are read here, on this thread, before any sending.
        settings = MailServerSettings(LoadPopServer());
        for (const TSend *send : FSending)
            messages.push_back(ReportMessage(*send, {FAttachment}));
    } catch (const std::exception &e) {
        MyMessageDlg(ExceptionText(e), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}, 0);
        accept();
        return;
    }
    const TDbResult probed = ProbeDeliveryLog();
    FLogged = bool(probed);
    if (!FLogged)
        lStatus->setText(DeliveryLogWarning(probed.Error()));
    FServed.clear();
    FError.clear();
    FRun = std::make_unique<TMailingRun>(std::move(settings), std::move(messages));
    connect(FRun.get(), &TMailingRun::Serving, this, [this](int Index) {
        lStatus->setText(QStringLiteral("Отправка: ") + FSending[std::size_t(Index)]->ADR_MAIL);
    });
    connect(FRun.get(), &TMailingRun::Delivered, this, &TFSendMail::delivered);
    connect(FRun.get(), &TMailingRun::Finished, this, &TFSendMail::sendingOver);
    bbSendMail->setEnabled(false);
    BitBtn3->setEnabled(false);
    bbStopSend->setEnabled(true);
    FRun->Start();
}

void TFSendMail::bbStopSendClick()
{
    if (FRun)
        FRun->Stop();
}

bool TFSendMail::Sending() const
{
    return FRun && bbStopSend->isEnabled();
}

void TFSendMail::reject()
{
    if (Sending())
        bbStopSendClick();
    else
        QDialog::reject();
}

void TFSendMail::delivered(const TDelivery &Delivery)
{
    const TSend &send = *FSending[std::size_t(Delivery.Index)];
    if (Delivery.Sent)
        FServed << send.ADR_MAIL;
    else
        FError = Delivery.Text;
    if (!FLogged)
        return;
    TDeliveryLogRow row;
    row.At = QDateTime::currentDateTime();
    row.Address = send.ADR_MAIL;
    row.ReportId = Prop ? Prop->id : 0;
    row.Format = MailAttachmentFormat(FFormat);
    row.Delivered = Delivery.Sent;
    row.Reply = Delivery.Text;
    row.Bytes = Delivery.Bytes;
    if (const TDbResult written = WriteDeliveryLog(row); !written) {
        // One warning is enough: the rest of the pass is not logged either.
        FLogged = false;
        lStatus->setText(DeliveryLogWarning(written.Error()));
    }
}

void TFSendMail::sendingOver(bool Stopped)
{
    bbStopSend->setEnabled(false);
    if (Stopped) {
        // An interrupted pass leaves no workbook behind for anyone to mistake as sent.
        QFile::remove(FAttachment);
        MyMessageDlg(QStringLiteral("Отправка прервана\n") +
                         (FServed.isEmpty() ? QStringLiteral("Ни одному получателю не отправлено")
                                            : QStringLiteral("Отправлено: ") +
                                                  FServed.join(QStringLiteral(", "))),
                     TMsgDlgType::mtWarning, {TMsgDlgBtn::mbOK}, 0);
    } else if (!FError.isEmpty())
        MyMessageDlg(FError, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}, 0);
    emit SendingFinished();
    accept();
}

void ShowSendMail(const TReportResult *Result, const TPropTVItem *Item, QWidget *parent,
                  std::vector<int> RowOrder)
{
    TFSendMail form(parent);
    form.vSG = Result;
    form.Prop = Item;
    form.RowOrder = std::move(RowOrder);
    form.exec();
}
