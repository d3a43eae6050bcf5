// frmTest: the emulator window. The device's face (display and keypad
// picture), the input/output panel (port check boxes, ADC sliders, pin
// indicators), the serial console and the I2C table, and the menus that end
// the emulator, clear the program memory and steer the run. Every command
// is posted to the worker; the window shows the frames the worker publishes.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>

#include "shell/device/emulator_frame.h"
#include "shell/device/run_status_line.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QDockWidget;
class QScrollArea;
class QScrollBar;
class QTimer;
class QVBoxLayout;

namespace zr::shell {

class DeviceStateFiles;
class ScenarioRecorder;
class DisplayHistoryPane;
class EmulatorWorker;
class I2cTable;
class KeypadPicture;
class PinPanel;
class ListingPane;
class CallStackPane;
class LibraryView;
class BreakpointsPane;
class SerialConsole;
class VariablesPane;

class FrmTest : public QMainWindow {
    Q_OBJECT

  public:
    explicit FrmTest(EmulatorWorker& worker, QWidget* parent = nullptr);

    // Asked before Clear; true unless the user cancels. Tests answer here.
    void setClearConfirmation(std::function<bool()> confirm) { confirmClear_ = std::move(confirm); }
    // Asked before "Запустить программу" restarts the loaded program: true
    // when it took the command itself (compiling a changed text first).
    void setStartOverride(std::function<bool()> start) { startOverride_ = std::move(start); }

    // The two display lines as shown.
    QString displayLine(int row) const;
    KeypadPicture* keypad() const { return keypad_; }
    PinPanel* pinPanel() const { return pinPanel_; }
    SerialConsole* serialConsole() const { return console_; }
    I2cTable* i2cTable() const { return i2cTable_; }
    DisplayHistoryPane* displayHistory() const { return history_; }
    VariablesPane* variablesPane() const { return variables_; }
    ListingPane* listingPane() const { return listing_; }
    CallStackPane* callStackPane() const { return callStack_; }
    LibraryView* libraryView() const { return libraryView_; }
    // The library tab brought up, titled with the library's file name.
    void ShowLibraryTab(const QString& fileName);
    BreakpointsPane* breakpointsPane() const { return breakpoints_; }
    // Save and load the device state.
    DeviceStateFiles* stateFiles() const { return stateFiles_; }
    ScenarioRecorder* recorder() const { return recorder_; }
    // Continue, the steps, run to cursor, pause and step back.
    QList<QAction*> debugActions() const;
    // The status line: the run state, the instruction count, the speed.
    QString runStateText() const;
    QString instructionCountText() const;
    void ShowFrame(const zr::shell::EmulatorFrame& frame);
    // Greys the Variables and Listing panes and names why in their titles
    // ("Программа завершена", ...) while what they show is not current; an
    // empty note makes them current again.
    void setStaleNote(const QString& note);
    QString staleNote() const { return staleNote_; }
    // End stops the ticks at once, also while the window is hidden.
    void StopTicks();

    // One window: the device's face (in the dock "Устройство"), the panes,
    // the toolbars and the status line move into `host`; the same widgets,
    // so nothing is shown twice and nothing is lost. This window hides and
    // its timer runs on. TakePanesBack returns them to where they stood here.
    void LendPanes(QMainWindow& host);
    void TakePanesBack();
    bool panesLent() const { return host_ != nullptr; }
    QDockWidget* deviceDock() const { return deviceDock_; }
    // The docks of the panes (not the device's).
    QList<QDockWidget*> paneDocks() const { return paneDocks_; }
    // End, the File menu's and the Run menu's items, for the host's menu.
    void FillEmulatorMenu(QMenu& menu) const;

  signals:
    // End was chosen, or the window was closed by its close box.
    void endChosen();
    // Run to cursor: the window knows no editor, its owner finds the address.
    void runToCursorChosen();
    // Input the user gave the device (for the scenario recorder): a keypad
    // key 0..15, the port inputs, an ADC slider (channel 1..4), a serial line.
    void keyGiven(int index);
    void portInputsGiven(int value);
    void adcGiven(int channel, int value);
    void serialLineGiven(const QString& line);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // A PC key for the keypad: pressed on the device; false when it is none.
    bool GiveKeypadKey(const QKeyEvent& event);
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateFace(QVBoxLayout* face);
    // The display's character size in the window, and when lent beside the
    // editor or narrowed.
    static constexpr double kDisplayPoints = 33;
    static constexpr double kLentDisplayPoints = 20;
    void SetDisplayPoints(double points);
    void CreatePanel();
    QScrollArea* PanelScroller();
    void CreateMenus();
    void CreateViewMenu();
    // The focused `widget` lies in a pane lent to the main window.
    bool LentPaneHolds(const QWidget& widget) const;
    void CreateDebugCommands();
    void FitToolbars();
    void CreateDocks();
    QDockWidget* PaneDock(const QString& name) const;
    QDockWidget* AddPaneDock(QWidget* pane, const QString& title, const char* name);
    void CreateStatusLine();
    // `paused`: the state of the latest pause, for the watch that changed.
    void ShowStatus(const RunStatus& status, const PausedState* paused = nullptr);
    QString StateText(const RunStatus& status, const PausedState* paused) const;
    void PostPortInputs();
    void Clear();

    EmulatorWorker& worker_;
    std::function<bool()> confirmClear_;
    std::function<bool()> startOverride_;
    std::array<QLineEdit*, 2> display_{};
    QString staleNote_;
    KeypadPicture* keypad_ = nullptr;
    PinPanel* pinPanel_ = nullptr;
    std::array<QCheckBox*, 8> portBits_{};
    std::array<QScrollBar*, 4> sliders_{};
    SerialConsole* console_ = nullptr;
    I2cTable* i2cTable_ = nullptr;
    DisplayHistoryPane* history_ = nullptr;
    VariablesPane* variables_ = nullptr;
    ListingPane* listing_ = nullptr;
    CallStackPane* callStack_ = nullptr;
    LibraryView* libraryView_ = nullptr;
    BreakpointsPane* breakpoints_ = nullptr;
    DeviceStateFiles* stateFiles_ = nullptr;
    ScenarioRecorder* recorder_ = nullptr;
    std::array<QLabel*, 3> statusLabels_{};  // state, count, speed
    RunStatusLine statusLine_;
    QTimer* tickTimer_ = nullptr;
    QDockWidget* deviceDock_ = nullptr;
    QList<QDockWidget*> paneDocks_;  // in the order they were made
    QPointer<QMainWindow> host_;     // while the panes are lent
    QByteArray ownArrangement_;      // this window's docks before they were lent
    bool ending_ = false;
};

}  // namespace zr::shell
