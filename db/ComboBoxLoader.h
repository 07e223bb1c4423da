#pragma once

#include <QString>

class QComboBox;
class TNoteDataSet;

// LoadStrings into the items of CB: each item's text, with its integer as the item data
// (Qt::UserRole).
bool LoadComboBox(QComboBox *CB, TNoteDataSet *NDS, const QString &Table, const QString &NameField,
                  const QString &CodeField, const QString &Condition, const QString &OrderField,
                  const QString &NotDefItem, bool Distinct);
