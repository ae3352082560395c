#pragma once
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace korvan {
class DataModule;

// How the main window shows a window: a dialog run modally and destroyed
// after use, or an MDI child that exists once (see MainWindow::OpenChildForm).
enum class WindowKind { Modal, Child };

// Creates the window. `parent` is the main window; a child is then moved
// into the MDI area. The window's objectName becomes its class name.
using WindowFactory = std::function<QWidget *(DataModule &dm, QWidget *parent)>;

struct WindowEntry {
    QString className;
    WindowKind kind;
    WindowFactory create;
};

// Makes a window known under its class name ("TFrmGoodGl"). The main window
// enables an action only when the window it opens is registered.
void registerWindow(const QString &className, WindowKind kind, WindowFactory create);
// For an action that opens its window with settings of its own (106 and 107
// both open TfrmExcelImport): used for that action in place of the class's entry.
void registerActionWindow(int actionCode, WindowKind kind, WindowFactory create);

const WindowEntry *registeredWindow(const QString &className);
const WindowEntry *registeredActionWindow(int actionCode);
// The entry an action opens: its own, else its window class's; null when none.
const WindowEntry *windowForAction(int actionCode);
QStringList registeredWindowClasses();

// Registers every window of the application (once; later calls do nothing).
// Each subsystem has one function below, defined in its own sources, and one
// line in registerAllWindows().
void registerAllWindows();
void registerAppWindows();   // src/app: desktop, about box
void registerAdminWindows(); // src/admin: password change
void registerMasterWindows(); // src/master: employees, suppliers, goods
void registerDocumentWindows(); // src/documents: the purchase document windows

} // namespace korvan
