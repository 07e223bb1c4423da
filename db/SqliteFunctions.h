#pragma once

#include <string>
#include <string_view>

struct sqlite3;

// The functions of Oracle that report queries use, made on an SQLite connection (on the
// thread that owns it):
//   TO_DATE(text [, mask])  the masks DD, MM, YYYY, HH24, MI, SS with any separators (default
//                           'DD.MM.YYYY'); the result is the stored form of dates,
//                           'YYYY-MM-DD HH:MM:SS'. NULL gives NULL; a text that does not match
//                           the mask is an error naming both.
//   COLLATE DATE_ORDER      orders the stored forms of a date by the instant they stand for:
//                           'YYYY-MM-DD' (midnight), then ' ' or 'T' and 'HH:MM', 'HH:MM:SS'
//                           or 'HH:MM:SS.fff...'; so '2016-04-05', '2016-04-05 00:00:00' and
//                           '2016-04-05T00:00:00.000' are equal. Other texts keep their own
//                           order among the dates' normalised texts.
void RegisterSqliteFunctions(sqlite3 *Connection);

// The text DATE_ORDER compares for a stored text: 'YYYY-MM-DD HH:MM:SS.fffffffff' (nine or
// more fraction digits) for the date forms above, any other text as it is.
std::string DateOrderKey(std::string_view Text);
