#pragma once

#include "mail/MailSettingsStore.h"

#include <QDialog>

#include <memory>
#include <vector>

class QAction;
class QComboBox;
class QLineEdit;
class QPushButton;
class TReportCheckTree;
class TStringGrid;

// "Настройки почты": the outgoing mail server and the recipients, each with the reports
// assigned to it. The tree always shows the reports of the selected recipient; edits of the
// cells and ticks reach the row's record when the selection leaves the row or OK saves.
class TFMailSetup : public QDialog {
    Q_OBJECT
public:
    // FormCreate: builds the report tree, loads the settings, selects the first recipient.
    explicit TFMailSetup(QWidget *parent = nullptr);
    ~TFMailSetup() override;

    QLineEdit *eIP;
    QLineEdit *eLogin;
    QLineEdit *ePsw;
    // SECURITY and CA_FILE of viri.ini's [Mail]: "none", "starttls", "tls" in that order.
    QComboBox *cbSecurity;
    QLineEdit *eCaFile;
    QAction *tbAddMail;
    QAction *tbDelMail;
    // Row 0 the header ("Адрес", "Получатель"); rows from 1 the recipients.
    TStringGrid *SG;
    TReportCheckTree *VST;
    QPushButton *BitBtn1;
    QPushButton *BitBtn2;

    // The grid row whose record the tree shows; 0 before any.
    int CurRow = 0;

    // The record of grid row ARow (from 1); null for a row without one.
    TSend *Record(int ARow) const;

    void ListRefresh();
    void ClearSG();
    void ListRMail();
    void SGClick();
    void tbAddMailClick();
    void tbDelMailClick();
    // OK: the selected row's edits reach its record, then recipients and server are saved in
    // one transaction; a failure keeps the stored settings and says "Ошибка записи в БД".
    // The security settings go to viri.ini.
    void ListWMail();

private:
    int selectedRow() const;
    void selectRow(int ARow);

    // FRecords[r - 1] belongs to grid row r.
    std::vector<std::unique_ptr<TSend>> FRecords;
};

// Replaces any open mail settings window by a new one and shows it modally.
void ShowMailSetup(QWidget *parent = nullptr);
