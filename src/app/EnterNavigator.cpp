#include "EnterNavigator.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace korvan {

namespace {
bool keepsEnter(QWidget *w)
{
    if (qobject_cast<QAbstractButton *>(w) || qobject_cast<QTextEdit *>(w) || qobject_cast<QPlainTextEdit *>(w))
        return true;
    for (QWidget *p = w; p; p = p->parentWidget()) {
        if (p->property("keepEnter").toBool() || qobject_cast<QAbstractItemView *>(p)) return true;
        if (p->isWindow()) {
            // Qt's own dialogs (file, print, message box) keep their behaviour.
            return QByteArray(p->metaObject()->className()).startsWith('Q');
        }
    }
    return false;
}
} // namespace

void EnterNavigator::install()
{
    static EnterNavigator *navigator = nullptr;
    if (navigator || !qApp) return;
    navigator = new EnterNavigator(qApp);
    qApp->installEventFilter(navigator);
}

bool EnterNavigator::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress) return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    auto *w = qobject_cast<QWidget *>(watched);
    if (!w || w != QApplication::focusWidget() || keepsEnter(w)) return false;
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &tab);
    return true;
}

} // namespace korvan
