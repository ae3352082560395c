#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace korvan {

// A worksheet read as a table: the first row gives the column names.
struct SheetTable {
    QStringList columns;
    // One list per following row, as long as `columns` (at least): QString,
    // double, QDate or bool; a blank cell is a null QVariant. CSV gives texts.
    QList<QVariantList> rows;
};

// The first worksheet of an .xlsx workbook (shared and inline strings, numbers,
// booleans, and numbers in a date format as QDate).
std::optional<SheetTable> readXlsx(const QString &path, QString *error = nullptr);
// A comma-separated file: UTF-8 with or without a byte-order mark, else GB18030.
std::optional<SheetTable> readCsv(const QString &path, QString *error = nullptr);
// By extension: .xlsx or .csv.
std::optional<SheetTable> readTableFile(const QString &path, QString *error = nullptr);

// Excel's serial day number (1900 system) as a date.
QDate excelSerialDate(double serial);

} // namespace korvan
