#pragma once

class QWidget;

namespace korvan {

// SetNavigatorButtonsEnabled: enables or disables the window's controls (or
// actions) named tbFirst, tbPrior, tbNext, tbLast, tbPrint, tbSet, tbExport in
// this order, stopping quietly at the first name the window lacks.
void SetNavigatorButtonsEnabled(QWidget *window, bool enabled);

} // namespace korvan
