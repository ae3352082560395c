#pragma once
#include "DataGrid.h"
#include "Money.h"

#include <QString>

namespace korvan {

// The grid services every window calls on its DataGrid. They read the
// session, the number formats and the connection of DataModule::instance();
// the rules themselves live in GridLayout.h and GridModel.h (no widgets).

// Replaces the grid's columns by the layout stored under `key`; false (and the
// designed columns kept) when there is none.
bool LoadGridLayout(DataGrid *grid, const QString &key);
// Writes the grid's columns back to their existing rows under `key`.
void SaveGridLayout(DataGrid *grid, const QString &key);
// The field list TFrmDispFieldXZ: "确定" applies the ticks as visibility,
// "取消" changes nothing. Nothing is stored until the layout is saved.
void ChooseGridColumns(DataGrid *grid);
void ApplyColumnFormats(DataGrid *grid, int kind, int priceMode);
void ApplyUserFieldCaptions(DataGrid *grid);
// Document lines: editable grid, goods description read-only, "…" on F_GoodName.
void PrepareLineGrid(DataGrid *grid);
Money GridAmountTotal(DataGrid *grid);
// Asks for a file (the five types, `type` preselected, `fileName` proposed),
// writes every row with the visible columns, then offers to open the file.
// Returns the path written, or empty when cancelled or failed.
QString ExportGrid(DataGrid *grid, const QString &fileName, int type = 1);
// The writing half of ExportGrid, after the file is chosen.
bool ExportGridToFile(DataGrid *grid, const QString &path, int type);

} // namespace korvan
