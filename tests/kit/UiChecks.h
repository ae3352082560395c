#pragma once
// Checks every window test makes: boxes named by their labels, nothing cut.
#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace korvan::test {

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
