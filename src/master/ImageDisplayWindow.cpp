#include "ImageDisplayWindow.h"
#include "MessageBox.h"
#include "Messages.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace korvan {

namespace {
constexpr double kFactors[ImageDisplayWindow::kLevels] = {0.05, 0.07, 0.1, 0.15, 0.2, 0.3, 0.5, 0.7,
                                                          1, 1.5, 2, 3, 5, 7, 10};
const QStringList kSaveFilters = {QStringLiteral("Bitmap Files (*.jpg,*.jpeg) (*.jpg *.jpeg)"),
                                  QStringLiteral("Bitmap Files (*.bmp;) (*.bmp)"),
                                  QStringLiteral("Bitmap Files (*.gif;) (*.gif)")};
} // namespace

double ImageDisplayWindow::zoomFactor(int level) { return kFactors[qBound(1, level, kLevels) - 1]; }

QAction *ImageDisplayWindow::command(const QString &name, const QString &caption, void (ImageDisplayWindow::*run)())
{
    auto *a = new QAction(caption, this);
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, run);
    return a;
}

ImageDisplayWindow::ImageDisplayWindow(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TfrmImageDisp"));
    setWindowTitle(QStringLiteral("图像显示"));
    QAction *load = command(QStringLiteral("miLoad"), QStringLiteral("载入"), &ImageDisplayWindow::loadClick);
    QAction *save = command(QStringLiteral("miExport"), QStringLiteral("输出"), &ImageDisplayWindow::exportClick);
    QAction *clear = command(QStringLiteral("miClear"), QStringLiteral("清空"), &ImageDisplayWindow::clearClick);
    QAction *ok = command(QStringLiteral("miOK"), QStringLiteral("保存"), &QDialog::accept);
    QAction *cancel = command(QStringLiteral("miCancel"), QStringLiteral("取消"), &QDialog::reject);
    QAction *in = command(QStringLiteral("miZoomIn"), QStringLiteral("放大"), &ImageDisplayWindow::zoomIn);
    QAction *out = command(QStringLiteral("miZoomOut"), QStringLiteral("缩小"), &ImageDisplayWindow::zoomOut);
    QAction *natural = command(QStringLiteral("miNatural"), QStringLiteral("原始尺寸"), &ImageDisplayWindow::naturalSize);
    natural->setIconText(QStringLiteral("原始"));
    auto *full = new QAction(QStringLiteral("全屏"), this);
    full->setObjectName(QStringLiteral("miFullScreen"));
    connect(full, &QAction::triggered, this, [this] { setFullScreenView(true); });

    m_menu = new QMenuBar(this);
    QMenu *edit = m_menu->addMenu(QStringLiteral("编辑"));
    edit->addActions({load, save, clear});
    edit->addSeparator();
    edit->addActions({ok, cancel});
    m_menu->addMenu(QStringLiteral("缩放"))->addActions({in, out, natural, full});
    m_tools = new QToolBar(this);
    m_tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_tools->addActions({load, save, clear});
    m_tools->addSeparator();
    m_tools->addActions({in, out, natural, full});
    m_tools->addSeparator();
    m_tools->addActions({ok, cancel});

    m_view = new QLabel;
    m_view->setObjectName(QStringLiteral("imgPicture"));
    m_view->setScaledContents(true);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("ScrollBox1"));
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setWidget(m_view);
    m_scroll->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_scroll->addActions({load, save, clear, ok, cancel, in, out, natural, full});

    m_status = new QStatusBar(this);
    m_status->setSizeGripEnabled(false);
    for (int i = 0; i < 4; ++i) {
        m_panels[i] = new QLabel(m_status);
        m_panels[i]->setMinimumWidth(i == 1 ? 220 : 70);
        m_status->addWidget(m_panels[i], i == 1 ? 1 : 0);
    }

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(m_menu);
    layout->addWidget(m_tools);
    layout->addWidget(m_scroll, 1);
    layout->addWidget(m_status);
    resize(560, 460);

    chooseOpenFile = [this] {
        return QFileDialog::getOpenFileName(this, QStringLiteral("载入"), QString(),
                                            QStringLiteral("Image Files (*.bmp,*.jpg,*.jpeg) (*.bmp *.jpg *.jpeg);;"
                                                           "Bitmap Files (*.jpg,*.jpeg) (*.jpg *.jpeg);;"
                                                           "Bitmap Files (*.bmp;) (*.bmp)"));
    };
    chooseSaveFile = [this](int &filter) {
        QString selected;
        const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("输出"), QString(),
                                                          kSaveFilters.join(QStringLiteral(";;")), &selected);
        filter = qMax(0, int(kSaveFilters.indexOf(selected)));
        return path;
    };
    setPicture(QImage(), QString());
}

QString ImageDisplayWindow::EditPicture(const QString &path, const QImage &picture)
{
    setPicture(picture, path);
    DispFormPos(this, 0);
    return exec() == QDialog::Accepted ? m_path : path;
}

void ImageDisplayWindow::setPicture(const QImage &image, const QString &path)
{
    m_image = image;
    m_path = path;
    m_view->setPixmap(QPixmap::fromImage(image));
    showZoom(kNaturalLevel);
}

void ImageDisplayWindow::showZoom(int level)
{
    m_level = qBound(1, level, kLevels);
    const QSize shown = m_image.isNull() ? QSize(0, 0) : (QSizeF(m_image.size()) * zoomFactor(m_level)).toSize();
    m_view->setFixedSize(shown);
    findChild<QAction *>(QStringLiteral("miZoomIn"))->setEnabled(m_level < kLevels);
    findChild<QAction *>(QStringLiteral("miZoomOut"))->setEnabled(m_level > 1);
    m_panels[1]->setText(m_path);
    m_panels[2]->setText(QStringLiteral("%1x%2").arg(m_image.width()).arg(m_image.height()));
    m_panels[3]->setText(QString::number(qRound(zoomFactor(m_level) * 100)) + QStringLiteral("%"));
}

QString ImageDisplayWindow::statusText(int panel) const { return m_panels[qBound(1, panel, 4) - 1]->text(); }

void ImageDisplayWindow::zoomIn() { showZoom(m_level + 1); }
void ImageDisplayWindow::zoomOut() { showZoom(m_level - 1); }
void ImageDisplayWindow::naturalSize() { showZoom(kNaturalLevel); }
void ImageDisplayWindow::clearClick() { setPicture(QImage(), QString()); }

void ImageDisplayWindow::loadClick()
{
    const QString path = chooseOpenFile ? chooseOpenFile() : QString();
    if (!path.isEmpty()) loadFile(path);
}

bool ImageDisplayWindow::loadFile(const QString &path)
{
    if (!QFileInfo::exists(path)) return false;
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QImage image = reader.read();
    if (image.isNull()) {
        ShowMess(QStringLiteral("读取文件：") + path + QStringLiteral("时发生错误！") + QLatin1Char('\n')
                     + QStringLiteral("该文件不是标准格式的文件，或者该文件已经被损坏！"),
                 MsgError);
        return false;
    }
    setPicture(image, path);
    return true;
}

void ImageDisplayWindow::exportClick()
{
    int filter = 0;
    const QString path = chooseSaveFile ? chooseSaveFile(filter) : QString();
    if (!path.isEmpty()) exportFile(path, filter);
}

QString ImageDisplayWindow::exportFile(const QString &path, int filter)
{
    static const char *const formats[] = {"JPG", "BMP", "GIF"};
    static const char *const suffixes[] = {".jpg", ".bmp", ".gif"};
    filter = qBound(0, filter, 2);
    const QFileInfo info(path);
    const QString target = info.path() + QLatin1Char('/') + info.completeBaseName() + QLatin1String(suffixes[filter]);
    if (m_image.isNull() || !m_image.save(target, formats[filter])) {
        ShowMess(QStringLiteral("写入文件：") + target + QStringLiteral("时发生错误！"), MsgError);
        return QString();
    }
    return target;
}

void ImageDisplayWindow::setFullScreenView(bool on)
{
    if (on == m_full) return;
    m_full = on;
    m_menu->setVisible(!on);
    m_tools->setVisible(!on);
    m_status->setVisible(!on);
    if (on) {
        setWindowFlag(Qt::FramelessWindowHint, true);
        const QRect screen = (this->screen() ? this->screen() : QGuiApplication::primaryScreen())->geometry();
        setGeometry(screen.adjusted(-2, -2, 2, 2));
        show();
    } else {
        setWindowFlag(Qt::FramelessWindowHint, false);
        show();
        resize(560, 460);
    }
    naturalSize();
}

void ImageDisplayWindow::keyPressEvent(QKeyEvent *event)
{
    QScrollBar *v = m_scroll->verticalScrollBar(), *h = m_scroll->horizontalScrollBar();
    switch (event->key()) {
    case Qt::Key_Escape:
        if (m_full) setFullScreenView(false);
        else reject();
        return;
    case Qt::Key_Backspace: case Qt::Key_Slash: case Qt::Key_Space: naturalSize(); return;
    case Qt::Key_PageUp: v->triggerAction(QAbstractSlider::SliderPageStepSub); return;
    case Qt::Key_PageDown: v->triggerAction(QAbstractSlider::SliderPageStepAdd); return;
    case Qt::Key_Up: v->triggerAction(QAbstractSlider::SliderSingleStepSub); return;
    case Qt::Key_Down: v->triggerAction(QAbstractSlider::SliderSingleStepAdd); return;
    case Qt::Key_Left: h->triggerAction(QAbstractSlider::SliderSingleStepSub); return;
    case Qt::Key_Right: h->triggerAction(QAbstractSlider::SliderSingleStepAdd); return;
    default: QDialog::keyPressEvent(event);
    }
}

} // namespace korvan
