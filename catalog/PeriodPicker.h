#pragma once

class QDateEdit;
class QWidget;

// A picker of a period's first or last day, as the main window and the report editor show it:
// named Name, a calendar that drops down, the date as 05.03.2015.
QDateEdit *MakePeriodPicker(QWidget *Parent, const char *Name);
