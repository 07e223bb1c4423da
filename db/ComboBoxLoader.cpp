#include "db/ComboBoxLoader.h"

#include "db/QueryHelpers.h"

#include <QComboBox>

bool LoadComboBox(QComboBox *CB, TNoteDataSet *NDS, const QString &Table, const QString &NameField,
                  const QString &CodeField, const QString &Condition, const QString &OrderField,
                  const QString &NotDefItem, bool Distinct)
{
    TCodedStrings items;
    const bool result = LoadStrings(items, NDS, Table, NameField, CodeField, Condition, OrderField,
                                    NotDefItem, Distinct);
    CB->clear();
    for (const TCodedString &item : items)
        CB->addItem(item.Text, item.Code);
    return result;
}
