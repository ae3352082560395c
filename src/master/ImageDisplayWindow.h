#pragma once
#include <QDialog>
#include <QImage>
#include <functional>

class QLabel;
class QMenuBar;
class QScrollArea;
class QStatusBar;
class QToolBar;

namespace korvan {

// TfrmImageDisp "图像显示": shows a picture with 15 zoom levels and full
// screen, loads one from a file, exports it, clears it.
class ImageDisplayWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int kLevels = 15;
    static constexpr int kNaturalLevel = 9;
    static double zoomFactor(int level); // level 1..15

    explicit ImageDisplayWindow(QWidget *parent = nullptr);

    // EditPicture: shows `picture` under `path` modally. After "保存" the
    // result is the window's current path (empty after "清空"); otherwise `path`.
    QString EditPicture(const QString &path, const QImage &picture);

    QString currentPath() const { return m_path; }
    const QImage &picture() const { return m_image; }
    int zoomLevel() const { return m_level; }
    bool isFullScreenView() const { return m_full; }
    QString statusText(int panel) const; // panels 1..4

    // The commands of the menu, the tool bar and the pop-up menu.
    void loadClick();
    void exportClick();
    void clearClick();
    void zoomIn();
    void zoomOut();
    void naturalSize();
    void setFullScreenView(bool on);
    // "载入" with the file already chosen; false (message shown) when it cannot be read.
    bool loadFile(const QString &path);
    // "输出" with the file chosen: filter 0 JPEG, 1 bitmap, 2 GIF; returns the path written.
    QString exportFile(const QString &path, int filter);

    // The file dialogs; tests replace them.
    std::function<QString()> chooseOpenFile;
    std::function<QString(int &filter)> chooseSaveFile;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void setPicture(const QImage &image, const QString &path);
    void showZoom(int level);
    QAction *command(const QString &name, const QString &caption, void (ImageDisplayWindow::*run)());

    QImage m_image;
    QString m_path;
    int m_level = kNaturalLevel;
    bool m_full = false;
    QMenuBar *m_menu;
    QToolBar *m_tools;
    QScrollArea *m_scroll;
    QLabel *m_view;
    QStatusBar *m_status;
    QLabel *m_panels[4];
};

} // namespace korvan
