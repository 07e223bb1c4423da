#pragma once

struct sqlite3;

// The functions of Oracle that report queries use, made on an SQLite connection (on the
// thread that owns it):
//   TO_DATE(text [, mask])  the masks DD, MM, YYYY, HH24, MI, SS with any separators (default
//                           'DD.MM.YYYY'); the result is the stored form of dates,
//                           'YYYY-MM-DD HH:MM:SS'. NULL gives NULL; a text that does not match
//                           the mask is an error naming both.
void RegisterSqliteFunctions(sqlite3 *Connection);
