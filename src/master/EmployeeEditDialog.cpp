#include "EmployeeEditDialog.h"
#include "DataModule.h"
#include "ImageDisplayWindow.h"
#include "ImageKind.h"

#include <QAction>
#include <QBuffer>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace korvan {

namespace {
MasterEditDialog::Config employeeEditConfig(const Session &s)
{
    return {QStringLiteral("t_employee"), QStringLiteral("员工档案信息 - 新增"), QStringLiteral("员工档案信息 - 修改"), false,
            s.canEditEmployees || s.isSuperUser(), QStringLiteral("F_Name")};
}
} // namespace

EmployeeEditDialog::EmployeeEditDialog(DataModule &dm, RowCursor *rows, QWidget *parent)
    : MasterEditDialog(dm, rows, employeeEditConfig(dm.session()), parent)
{
    setObjectName(QStringLiteral("TfrmEmpEdit"));
    QWidget *fields = addFields({
        {"F_Code", "edtCode", "员工编号："},
        {"F_Name", "edtName", "员工姓名："},
        {"F_Sex", "cbSex", "性    别：", FieldKind::Combo, {QStringLiteral("男"), QStringLiteral("女")}},
        {"F_Dept", "cbDept", "部    门：", FieldKind::Combo},
        {"F_Duty", "cbDuty", "职    务：", FieldKind::Combo},
        {"F_Phone", "edtPhone", "电    话："},
        {"F_Mem", "memMem", "备注信息：", FieldKind::Memo},
        {"F_Flag", "chkFlag", "停用", FieldKind::Check},
    }, 1);

    auto *photo = new QWidget(this);
    auto *photoLayout = new QGridLayout(photo);
    photoLayout->setContentsMargins(0, 0, 0, 0);
    auto *caption = new QLabel(QStringLiteral("相    片："), photo);
    m_frame = new QLabel(photo);
    m_frame->setObjectName(QStringLiteral("imgPhoto"));
    m_frame->setFixedSize(102, 100);
    m_frame->setFrameShape(QFrame::Box);
    m_frame->setScaledContents(true); // the frame stretches the picture to its own size
    m_frame->installEventFilter(this);
    caption->setBuddy(m_frame);
    auto *hint = new QLabel(QStringLiteral("最佳大小：(102*100)"), photo);
    auto *load = new QPushButton(QStringLiteral("载入图片"), photo);
    load->setObjectName(QStringLiteral("btnLoadImage"));
    load->setAutoDefault(false);
    auto *clear = new QPushButton(QStringLiteral("清空显示"), photo);
    clear->setObjectName(QStringLiteral("btnClearImage"));
    clear->setAutoDefault(false);
    photoLayout->addWidget(caption, 0, 0, Qt::AlignTop);
    photoLayout->addWidget(m_frame, 0, 1);
    photoLayout->addWidget(hint, 1, 1);
    photoLayout->addWidget(load, 2, 1);
    photoLayout->addWidget(clear, 3, 1);
    photoLayout->setRowStretch(4, 1);
    m_frame->setContextMenuPolicy(Qt::ActionsContextMenu);
    for (QPushButton *b : {load, clear}) {
        auto *a = new QAction(b->text(), m_frame);
        connect(a, &QAction::triggered, b, &QPushButton::click);
        m_frame->addAction(a);
    }
    connect(load, &QPushButton::clicked, this, &EmployeeEditDialog::loadPictureClick);
    connect(clear, &QPushButton::clicked, this, &EmployeeEditDialog::clearPictureClick);

    auto *body = new QWidget(this);
    auto *bodyLayout = new QHBoxLayout(body);
    bodyLayout->setContentsMargins(0, 0, 0, 0);
    bodyLayout->addWidget(fields, 1);
    bodyLayout->addWidget(photo);
    setBody(body);
    finishLayout();
    editPicture = [this](const QString &path, const QImage &image) {
        ImageDisplayWindow window(this);
        return window.EditPicture(path, image);
    };
    resize(560, sizeHint().height());
}

void EmployeeEditDialog::prepare(int mode)
{
    auto *dept = static_cast<QComboBox *>(fieldWidget("F_Dept"));
    dept->clear();
    dept->addItems(DepartmentNames(dm()));
    auto *duty = static_cast<QComboBox *>(fieldWidget("F_Duty"));
    duty->clear();
    duty->addItems(DutyNames(dm()));
    auto *code = static_cast<QLineEdit *>(fieldWidget("F_Code"));
    code->setReadOnly(mode != 0);
    code->setStyleSheet(mode != 0 ? QStringLiteral("QLineEdit { background: #e8e4d8; }") : QString());
}

void EmployeeEditDialog::loadRecord(const QVariantMap &row)
{
    MasterEditDialog::loadRecord(row);
    m_photo = PhotoOfRecord(row);
    m_image = QImage::fromData(m_photo.data);
    showPhoto();
}

void EmployeeEditDialog::clearRecord()
{
    MasterEditDialog::clearRecord();
    clearPictureClick();
}

void EmployeeEditDialog::showPhoto() { m_frame->setPixmap(QPixmap::fromImage(m_image)); }

void EmployeeEditDialog::clearPictureClick()
{
    m_photo = {};
    m_image = QImage();
    showPhoto();
}

void EmployeeEditDialog::loadPictureClick()
{
    const QString path = editPicture(m_photo.path, m_image);
    if (path == m_photo.path) return;
    if (path.isEmpty()) clearPictureClick();
    else setPhotoFile(path);
}

void EmployeeEditDialog::setPhotoFile(const QString &path)
{
    QFile file(path);
    m_photo.path = path;
    m_photo.data = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    m_image = QImage::fromData(m_photo.data);
    showPhoto();
}

QByteArray EmployeeEditDialog::photoData() const
{
    const int kind = ImageKindOfFile(m_photo.path);
    if (m_image.isNull() || (kind != 1 && kind != 2)) return {};
    const QByteArray wanted = kind == 1 ? QByteArrayLiteral("bmp") : QByteArrayLiteral("jpeg");
    QByteArray stored = m_photo.data; // shared, not copied
    QBuffer in(&stored);
    if (QImageReader(&in).format() == wanted) return m_photo.data;
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    m_image.save(&buffer, kind == 1 ? "BMP" : "JPG");
    return out;
}

MasterResult EmployeeEditDialog::save(const QVariantMap &values, QString &code)
{
    EmployeeEdit e;
    e.isNew = isNew();
    e.id = editedId();
    e.values = values;
    e.photo = {m_photo.path, photoData()};
    const MasterResult r = SaveEmployee(dm(), e);
    code = e.values.value("F_Code").toString();
    return r;
}

bool EmployeeEditDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_frame && event->type() == QEvent::MouseButtonDblClick) {
        loadPictureClick();
        return true;
    }
    return MasterEditDialog::eventFilter(watched, event);
}

} // namespace korvan
