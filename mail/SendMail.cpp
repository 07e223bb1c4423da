#include "mail/SendMail.h"

#include "common/MessageDialogs.h"
#include "common/WindowLayout.h"
#include "db/DbErrorWindow.h"
#include "db/OracleError.h"
#include "mail/MailSettingsStore.h"
#include "mail/ReportMailing.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

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

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lvSendMail, 1);
    layout->addLayout(buttons);
    resize(357, 533);
    KeepWindowLayout(this, {.Lists = {lvSendMail}});

    connect(bbSendMail, &QPushButton::clicked, this, [this] {
        bbSendMailClick();
        accept();
    });
    connect(BitBtn3, &QPushButton::clicked, this, &QDialog::reject);

    ListRMail();
}

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
    std::vector<const TSend *> ticked;
    for (int i = 0; i < lvSendMail->topLevelItemCount(); ++i) {
        if (lvSendMail->topLevelItem(i)->checkState(0) == Qt::Checked)
            ticked.push_back(Record(i));
    }
    try {
        MailReport(vSG, Prop, ticked);
    } catch (const std::exception &e) {
        MyMessageDlg(ExceptionText(e), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}, 0);
    }
}

void ShowSendMail(const TReportResult *Result, const TPropTVItem *Item, QWidget *parent)
{
    TFSendMail form(parent);
    form.vSG = Result;
    form.Prop = Item;
    form.exec();
}
