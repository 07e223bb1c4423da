#pragma once

#include <QDate>
#include <QDialog>
#include <QPointer>

#include <optional>

class QDateEdit;
class QLabel;
class QPlainTextEdit;
class QToolBar;
class QToolButton;
class QWidget;
class TStringGrid;
struct TPropTVItem;

// The report editor: one report's query, column settings and title texts, a preview of the
// query for a period, and the save into the report's definition row. It edits the record of
// the catalog node in place (CurPropTVItem); the record changes only on save, apart from its
// query text, which filling the window upper-cases.
class TfSetSQLTable : public QDialog {
    Q_OBJECT
public:
    explicit TfSetSQLTable(QWidget *Owner = nullptr);

    // The record being edited; not owned.
    TPropTVItem *CurPropTVItem = nullptr;

    // Writes the row captions of the settings grid.
    void FormCreate();
    // Fills the window from the record in memory (not from the database): the texts, then the
    // settings and preview grids from the record's columns.
    void Refresh();
    void ToolButton1Click();
    // The edits into the record, then the record into the database; a failure is shown and
    // the record keeps the edits.
    void tbSaveClick();
    // Titles and widths of the settings grid onto the preview.
    void tbSetColumnClick();
    // Runs the edited query into the preview, merging its fields into the settings grid, then
    // applies the settings. A width that is not a whole number is reported and stops the run.
    void tbExecSQLClick();
    // How the preview draws cell (ACol, ARow): aligned by the settings code of its column.
    std::optional<Qt::Alignment> SGResultSQLDrawCell(int ACol, int ARow) const;

    QToolBar *ToolBar1;
    QToolButton *ToolButton1;
    QToolButton *tbSave;
    QWidget *Panel2;
    QLabel *Label1;
    QToolBar *ToolBar2;
    QToolButton *tbSetColumn;
    QWidget *pDTP;
    QLabel *Label4;
    QLabel *lS;
    QDateEdit *dtpBegin;
    QLabel *lDo;
    QDateEdit *dtpEnd;
    QToolButton *tbExecSQL;
    QPlainTextEdit *mSQL;
    TStringGrid *SGTableSet;
    QLabel *Label2;
    QPlainTextEdit *mHeader;
    QLabel *Label3;
    TStringGrid *SGResultSQL;
    QLabel *Label5;
    QPlainTextEdit *mFooter;

private:
    // A cell being typed in counts as typed: its text goes into the grid before a command
    // reads the grid.
    void commitSettingsEdit();
    // Settings columns added from Before on get the grid's default width.
    void widenNewSettingsColumns(int Before);
};

// The one editor window (none before the first is made); it lives until the next opening or
// until its owner goes.
extern QPointer<TfSetSQLTable> fSetSQLTable;

// Destroys the editor window if there is one and makes a new one, hidden, owned by Owner.
TfSetSQLTable *CreateSetSQLTable(QWidget *Owner);

// Opens the editor for a report record with the period dtb to dte: a fresh window, filled from
// the record, shown modally. Returns the window's modal result.
int SetSqlAndTable(TPropTVItem &PropTVItem, const QDate &dtb, const QDate &dte, QWidget *Owner);
