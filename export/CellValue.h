#pragma once

#include <QDateTime>
#include <QStringView>

// A grid cell's text read back as the value it shows, for the writers whose cells have
// types (XLSX, and charts). The grid writes numbers with the decimal comma ("-12,5",
// "1,5E-7", no thousands separator) and date-times as "05.03.2015" or "05.03.2015 8:30:00";
// only texts of exactly those shapes are numbers or date-times, so a code such as "007", a
// number of more digits than a double keeps, or "31.02.2015" stays text.
struct TCellValue {
    enum Kind { Text, Number, DateTime };
    Kind kind = Text;
    double number = 0;
    QDateTime dateTime; // a wall-clock value, without a time zone
};

TCellValue ReadCellValue(QStringView text);
