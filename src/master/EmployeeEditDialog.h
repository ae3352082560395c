#pragma once
#include "Employees.h"
#include "MasterEditDialog.h"

#include <QImage>
#include <functional>

class QLabel;

namespace korvan {

// TfrmEmpEdit: one employee with the photo. The code of an existing
// employee is read-only.
class EmployeeEditDialog : public MasterEditDialog {
    Q_OBJECT
public:
    EmployeeEditDialog(DataModule &dm, RowCursor *rows, QWidget *parent = nullptr);
    // EditEmployee: 0 new, 1 edit of the list's current row.
    int EditEmployee(int mode) { return edit(mode); }

    const QImage &photo() const { return m_image; }
    QString photoPath() const { return m_photo.path; }
    // "载入图片": the picture window on the current photo; a new path loads that file.
    void loadPictureClick();
    void clearPictureClick();
    // Takes the photo from a file (what "载入图片" does with the path it gets back).
    void setPhotoFile(const QString &path);
    // The picture window; tests replace it: (path, picture) → new path.
    std::function<QString(const QString &, const QImage &)> editPicture;

    // The data stored for the current photo: the loaded bytes when they are
    // already of the kind the path names, else the picture encoded so.
    QByteArray photoData() const;

protected:
    void prepare(int mode) override;
    void loadRecord(const QVariantMap &row) override;
    void clearRecord() override;
    MasterResult save(const QVariantMap &values, QString &code) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showPhoto();

    EmployeePhoto m_photo; // path and the bytes read
    QImage m_image;
    QLabel *m_frame = nullptr;
};

} // namespace korvan
