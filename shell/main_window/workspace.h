// "Единое окно": the emulator window's panes (the device, the debugger's
// panes, the console, the I2C table) become docks of the main window beside
// the editor. They stay the emulator window's own widgets, lent and given
// back, so no pane is ever made twice. The choice and the one-window
// arrangement are kept in the settings; "Сбросить расположение" brings back
// the default: the editor in the centre, the device right, the panes below.
#pragma once

#include <QObject>
#include <QPointer>

class QAction;
class QDockWidget;
class QMainWindow;
class QMenu;

namespace zr::shell {

class FrmTest;

class Workspace : public QObject {
    Q_OBJECT

  public:
    // Adds "Вид" and the hidden "Эмулятор" menu to `main`'s menu bar.
    explicit Workspace(QMainWindow& main);

    bool oneWindow() const;
    // Remembered; an open emulator's panes move at once.
    void setOneWindow(bool on);
    // The emulator window opened: with one window chosen its panes join the
    // main window and the window itself stays hidden (true).
    bool Adopt(FrmTest& emulator);
    // The emulator ends: the arrangement is kept and the panes go back.
    void Release(FrmTest& emulator);
    // The device pane brought forward, the main window activated.
    void ShowDevice();
    void ResetLayout();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Lend();
    void TakeBack();
    void SaveArrangement() const;
    bool RestoreArrangement();
    void FillViewMenu();
    void MakeRoomForDevice();
    QDockWidget* Dock(const QString& name) const;

    QMainWindow& main_;
    QPointer<FrmTest> emulator_;
    QAction* oneWindowAction_;
    QAction* resetAction_;
    QMenu* viewMenu_;
    QMenu* emulatorMenu_;
};

}  // namespace zr::shell
