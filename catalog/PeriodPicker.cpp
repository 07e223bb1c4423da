#include "catalog/PeriodPicker.h"

#include <QDateEdit>

QDateEdit *MakePeriodPicker(QWidget *Parent, const char *Name)
{
    auto *picker = new QDateEdit(Parent);
    picker->setObjectName(QString::fromLatin1(Name));
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    return picker;
}
