#pragma once

#include <QDialog>

class QPushButton;
class QTreeWidget;
class TReportResult;
struct TPropTVItem;
struct TSend;

// "Отправить отчет": every recipient with a check box; "Отправить" writes the handed-over
// grid to temp.xls and mails it to the ticked ones in list order, then the window closes.
class TFSendMail : public QDialog {
    Q_OBJECT
public:
    // FormCreate: lists the recipients, none ticked.
    explicit TFSendMail(QWidget *parent = nullptr);

    // Columns "Получатель" (the address) and "Адрес" (the name); each item owns its record.
    QTreeWidget *lvSendMail;
    QPushButton *bbSendMail;
    QPushButton *bbStopSend;
    QPushButton *BitBtn3;

    // The result grid and the report record handed over; not owned.
    const TReportResult *vSG = nullptr;
    const TPropTVItem *Prop = nullptr;

    // The record of list item Index (null for none).
    const TSend *Record(int Index) const;

    void ListRMail();
    // Exports and sends; a failure ends the pass and its text is shown in the error box.
    void bbSendMailClick();
};

// Shows a fresh mailing window modally for the grid and the record of the selected report.
void ShowSendMail(const TReportResult *Result, const TPropTVItem *Item, QWidget *parent = nullptr);
