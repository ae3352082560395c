#include "MessageBox.h"
#include "AppSettings.h"
#include "Messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QLayout>
#include <QScreen>
#include <QWidget>

namespace korvan {

namespace {
int showBox(const QString &text, int kind)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(kApplicationTitle);
    box.setText(text);
    switch (kind) {
    case MsgQuestion: {
        box.setIcon(QMessageBox::Question);
        QPushButton *yes = box.addButton(QStringLiteral("是(&Y)"), QMessageBox::YesRole);
        QPushButton *no = box.addButton(QStringLiteral("否(&N)"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? AnswerYes : AnswerNo;
    }
    case MsgWarning: box.setIcon(QMessageBox::Warning); break;
    case MsgError: box.setIcon(QMessageBox::Critical); break;
    default: box.setIcon(QMessageBox::Information); break;
    }
    box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.exec();
    return 0;
}
} // namespace

void installMessageBox() { setMessageHandler(showBox); }

void DispFormPos(QWidget *window, int mode)
{
    if (!window) return;
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect avail = screen->availableGeometry();
    if (mode == 2) {
        const QSize size(qMin(avail.width(), qMax(1024, avail.width() * 9 / 10)),
                         qMin(avail.height(), qMax(700, avail.height() * 9 / 10)));
        window->resize(size);
    }
    if (mode == 0) {
        window->move(avail.topLeft());
        return;
    }
    if (!window->isVisible()) {
        // Not shown yet: the layout has not given the window its size, and
        // centring the default size would put the real window off-centre.
        if (QLayout *layout = window->layout()) layout->activate();
        if (!window->testAttribute(Qt::WA_Resized)) window->adjustSize();
    }
    QRect frame = window->frameGeometry();
    frame.moveCenter(avail.center());
    window->move(frame.topLeft());
}

} // namespace korvan
