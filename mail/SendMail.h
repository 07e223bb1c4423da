#pragma once

#include "catalog/ExportGrid.h"

#include <QDialog>

#include <memory>
#include <vector>

class QLabel;
class QPushButton;
class TMailingRun;
struct TDelivery;
class QTreeWidget;
class TReportResult;
struct TPropTVItem;
struct TSend;

// "Отправить отчет": every recipient with a check box; "Отправить" writes the handed-over
// grid to temp.xls (temp.xlsx when viri.ini's ATTACH_FORMAT asks for it) and mails it to the ticked
// ones in list order, then the window closes. The messages go out on a worker thread; meanwhile the
// window names the recipient being served and "Прервать" stops the sending.
class TFSendMail : public QDialog {
    Q_OBJECT
public:
    // FormCreate: lists the recipients, none ticked.
    explicit TFSendMail(QWidget *parent = nullptr);
    ~TFSendMail() override;

    // Columns "Получатель" (the address) and "Адрес" (the name); each item owns its record.
    QTreeWidget *lvSendMail;
    QPushButton *bbSendMail;
    QPushButton *bbStopSend;
    QPushButton *BitBtn3;
    // The recipient being served, or why the deliveries are not logged.
    QLabel *lStatus;

    // The result grid and the report record handed over; not owned.
    const TReportResult *vSG = nullptr;
    const TPropTVItem *Prop = nullptr;
    // The data rows in the order to write them (a sorted view's); empty for the query's order.
    std::vector<int> RowOrder;

    // The record of list item Index (null for none).
    const TSend *Record(int Index) const;

    void ListRMail();
    // Exports, then starts the sending; a failure ends the pass and its text is shown in the
    // error box. The window closes when the sending is over.
    void bbSendMailClick();
    // "Прервать": no further message, the current connection closed at once.
    void bbStopSendClick();
    bool Sending() const;

    // The close box and Escape stop a sending first; the window closes when it is over.
    void reject() override;

signals:
    void SendingFinished();

private:
    void delivered(const TDelivery &Delivery);
    void sendingOver(bool Stopped);

    std::unique_ptr<TMailingRun> FRun;
    std::vector<const TSend *> FSending;
    QStringList FServed;
    QString FError;
    QString FAttachment;
    TExportKind FFormat = TExportKind::Xls;
    bool FLogged = false;
};

// Shows a fresh mailing window modally for the grid and the record of the selected report,
// the rows in RowOrder when given.
void ShowSendMail(const TReportResult *Result, const TPropTVItem *Item, QWidget *parent = nullptr,
                  std::vector<int> RowOrder = {});
