#pragma once
#include <QObject>

namespace korvan {

// Enter moves the focus to the next control in the application's own windows,
// as Tab does. Buttons, lists, grids and multi-line boxes keep their Enter, and
// so does any widget (or its parent) with the property "keepEnter" set to true.
class EnterNavigator : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Installs one navigator on the application.
    static void install();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace korvan
