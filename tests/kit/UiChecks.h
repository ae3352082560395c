#pragma once
// What every window test uses: controls found by object name, pictures for a
// look by eye, and the checks every window passes (boxes named by their
// labels, nothing cut).
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace korvan::test {

// The control named `name` under `parent`; a missing control stops the test run.
template <class T = QWidget> T *child(QObject *parent, const char *name)
{
    T *w = parent->findChild<T *>(QString::fromLatin1(name));
    if (!w) qFatal("no control %s", name);
    return w;
}
inline void click(QObject *parent, const char *name) { child<QAbstractButton>(parent, name)->click(); }
inline void trigger(QObject *parent, const char *name) { child<QAction>(parent, name)->trigger(); }

// With KORVAN_SHOTS set to a folder, windows are saved there as pictures.
inline void shot(QWidget *w, const QString &name)
{
    const QString dir = qEnvironmentVariable("KORVAN_SHOTS");
    if (dir.isEmpty()) return;
    w->show();
    QApplication::processEvents();
    w->grab().save(QDir(dir).filePath(name + ".png"));
}

// Every box has a label as its buddy, so assistive technology names it.
inline void verifyLabelled(QWidget &w)
{
    const QList<QLabel *> labels = w.findChildren<QLabel *>();
    for (QLineEdit *box : w.findChildren<QLineEdit *>()) {
        bool named = false;
        for (QLabel *l : labels) named = named || l->buddy() == box;
        QVERIFY2(named, qPrintable(w.objectName() + "/" + box->objectName()));
    }
}

// No visible label or button of a shown window is smaller than its text needs.
inline void verifyLabelsFit(QWidget &w)
{
    for (QWidget *c : w.findChildren<QWidget *>()) {
        if (!c->isVisible() || !(qobject_cast<QLabel *>(c) || qobject_cast<QAbstractButton *>(c))) continue;
        if (auto *l = qobject_cast<QLabel *>(c); l && l->wordWrap()) continue;
        QVERIFY2(c->width() >= c->sizeHint().width() && c->height() >= c->minimumSizeHint().height(),
                 qPrintable(w.objectName() + "/" + c->objectName()));
    }
}

} // namespace korvan::test
