#pragma once
#include <QString>

namespace korvan {

class GridModel;

// The file types of ExportGrid, numbered as the windows propose them.
enum ExportType { ExportExcel = 1, ExportText = 2, ExportHtml = 3, ExportRtf = 4, ExportCsv = 5 };

// "xlsx", "txt", "htm", "rtf" or "csv"; empty for an unknown type.
QString exportExtension(int type);
// The save dialog's filters in type order, for QFileDialog (";;"-separated).
QString exportFilters();
// The chosen name with the type's extension appended unless it already ends
// with "." + extension (any case). An Excel name ending in ".xls" becomes
// ".xlsx": the file is a workbook of today's format and Excel refuses a
// mismatched extension.
QString exportFileName(const QString &chosen, int type);

// Writes every row of the model (all of them, in the order shown) with its
// visible columns, their captions and the footer row when the layout has one:
//  1 an .xlsx workbook: numbers, money and dates as such with the column's
//    number format, footer sums as SUM formulas carrying their value;
//  2 tab-separated text, 3 an HTML table, 4 an RTF table, 5 CSV; texts as
//    shown, UTF-8 (text and CSV with a byte-order mark so Excel reads Chinese).
// Returns false and fills *error when the file cannot be written.
bool writeGridFile(GridModel &model, const QString &path, int type, QString *error = nullptr);

// An Excel number format equivalent to a display format (",0.00##" gives
// "#,##0.00##"); empty for Excel's General.
QString excelNumberFormat(const QString &pattern);

} // namespace korvan
