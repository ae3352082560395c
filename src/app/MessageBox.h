#pragma once
class QWidget;

namespace korvan {
// Routes ShowMess to a modal message box with Chinese buttons.
void installMessageBox();
// DispFormPos: 0 top-left of the screen, 1 centred on the screen, 2 centred and
// sized to most of the screen (the main window).
void DispFormPos(QWidget *window, int mode);
}
