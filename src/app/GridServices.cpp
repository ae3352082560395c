#include "GridServices.h"
#include "DataModule.h"
#include "FieldListDialog.h"
#include "GridExport.h"
#include "Messages.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

namespace korvan {

bool LoadGridLayout(DataGrid *grid, const QString &key)
{
    DataModule *dm = DataModule::instance();
    if (!grid || !dm) return false;
    GridColumns cols = grid->columns();
    if (!LoadGridLayout(*dm, key, cols)) return false;
    grid->setColumns(cols);
    return true;
}

void SaveGridLayout(DataGrid *grid, const QString &key)
{
    if (DataModule *dm = DataModule::instance(); grid && dm) SaveGridLayout(*dm, key, grid->columns());
}

void ChooseGridColumns(DataGrid *grid)
{
    if (!grid) return;
    FieldListDialog dlg(grid->columns(), grid->window());
    if (dlg.exec() != QDialog::Accepted) return;
    const QList<bool> ticks = dlg.visibility();
    for (int c = 0; c < ticks.size() && c < grid->gridModel()->columnCount(); ++c)
        grid->gridModel()->setColumnVisible(c, ticks[c]);
}

void ApplyColumnFormats(DataGrid *grid, int kind, int priceMode)
{
    DataModule *dm = DataModule::instance();
    if (!grid || !dm) return;
    GridColumns cols = grid->columns();
    ApplyColumnFormats(cols, kind, priceMode, dm->session(), dm->formats());
    grid->setColumns(cols);
}

void ApplyUserFieldCaptions(DataGrid *grid)
{
    DataModule *dm = DataModule::instance();
    if (!grid || !dm) return;
    GridColumns cols = grid->columns();
    ApplyUserFieldCaptions(cols, dm->session());
    grid->setColumns(cols);
}

void PrepareLineGrid(DataGrid *grid)
{
    if (!grid) return;
    GridColumns cols = grid->columns();
    PrepareLineColumns(cols);
    grid->setColumns(cols);
    grid->setEditable(true);
}

Money GridAmountTotal(DataGrid *grid)
{
    return grid ? GridAmountTotal(*grid->gridModel()) : Money();
}

QString ExportGrid(DataGrid *grid, const QString &fileName, int type)
{
    if (!grid) return QString();
    const QStringList filters = exportFilters().split(QStringLiteral(";;"));
    QFileDialog dlg(grid->window(), QStringLiteral("导出"));
    dlg.setObjectName(QStringLiteral("dlgExport"));
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setNameFilters(filters);
    dlg.selectNameFilter(filters.value(qBound(1, type, int(filters.size())) - 1));
    dlg.selectFile(fileName);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return QString();
    const int chosenType = int(filters.indexOf(dlg.selectedNameFilter())) + 1;
    const QString path = exportFileName(dlg.selectedFiles().first(), chosenType > 0 ? chosenType : ExportExcel);
    return ExportGridToFile(grid, path, chosenType > 0 ? chosenType : ExportExcel) ? path : QString();
}

bool ExportGridToFile(DataGrid *grid, const QString &path, int type)
{
    QString error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = writeGridFile(*grid->gridModel(), path, type, &error);
    QApplication::restoreOverrideCursor();
    const QString name = QFileInfo(path).fileName();
    if (!ok) {
        ShowMess(QStringLiteral("导出 “") + name + QStringLiteral("” 失败：") + error, MsgError);
        return false;
    }
    if (ShowMess(QStringLiteral("导出 “") + name + QStringLiteral("” 成功，打开该文件吗？"), MsgQuestion) == AnswerYes)
        QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    return true;
}

} // namespace korvan
