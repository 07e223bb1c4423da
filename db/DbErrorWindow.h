#pragma once

#include "db/DbError.h"

#include <QString>

// How the windows show a database failure they received as a value.

// The error window: the operation and the server's text, the statement as its detail.
void ShowDbError(const TDbError &Error);
// A failed save: the box "Ошибка записи в БД " + Name + " !" (Name may be empty), with the
// server's text and the statement behind its details button.
void ShowWriteError(const QString &Name, const TDbError &Error);
