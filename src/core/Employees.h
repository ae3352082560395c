#pragma once
#include "MasterList.h"

#include <QByteArray>

namespace korvan {

// Employees (t_employee) with their photos. Documents and suppliers store an
// employee's name as text.

// The list TfrmEmpMan: "编  号" (prefix), "姓  名", "性  别", "部  门" and
// "职  务" (drop-downs, prefix), "备  注". The photo column is not read.
MasterListDecl EmployeeListDecl();

// The edit window's drop-downs: departments and duties of the option lists.
QStringList DepartmentNames(DataModule &dm);
QStringList DutyNames(DataModule &dm);

// A photo as stored: the source file's name (without folder) and its data.
// Only bitmap (.bmp) and JPEG (.jpg, .jpeg) photos are kept; any other kind
// stores an empty photo.
struct EmployeePhoto {
    QString path;
    QByteArray data;
    bool isEmpty() const { return data.isEmpty(); }
};
// What is written for a photo taken from `path`: the file name part and the
// data, or nothing for a kind that is not kept.
EmployeePhoto StoredPhoto(const QString &path, const QByteArray &data);
// The photo of a loaded row; cleared (path too) when its kind is not kept.
EmployeePhoto PhotoOfRecord(const QVariantMap &row);

struct EmployeeEdit {
    bool isNew = true;
    qint64 id = 0;
    // t_employee columns by declared name (texts, F_Flag bool); the photo apart.
    QVariantMap values;
    EmployeePhoto photo; // path may still hold a folder
};

// Checks (code given and unique) and writes in one transaction. The name
// may be empty.
MasterResult SaveEmployee(DataModule &dm, EmployeeEdit &edit);

} // namespace korvan
