#include "shell/main_window/workspace.h"

#include <QAction>
#include <QCloseEvent>
#include <QDockWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <algorithm>

#include "shell/device/frm_test.h"

namespace zr::shell {
namespace {

const QString kOneWindowKey = QStringLiteral("workspace/oneWindow");
const QString kArrangementKey = QStringLiteral("workspace/arrangement");

QSettings Settings() {
    return QSettings(QSettings::UserScope, QStringLiteral("zr7340"), QStringLiteral("zr7340-ide"));
}

// The default arrangement: the device right of the editor, and three stacks
// of tabs below it (the first of each on top): the debugger's panes, the
// device's input and output, the editor's own panes. Names of docks that do
// not exist (no emulator yet) are passed over.
const char* const kDebuggerPanes[] = {"variablesDock", "watchesDock", "callStackDock",
                                      "breakpointsDock"};
const char* const kDevicePanes[] = {"serialDock", "listingDock", "libraryDock", "historyDock",
                                    "i2cDock"};
const char* const kEditorPanes[] = {"problemsPane", "referencesPane", "structurePane",
                                    "scenarioDock"};

}  // namespace

Workspace::Workspace(QMainWindow& main)
    : QObject(&main),
      main_(main),
      oneWindowAction_(new QAction(tr("Единое окно"), &main)),
      resetAction_(new QAction(tr("Сбросить расположение"), &main)),
      viewMenu_(new QMenu(tr("Вид"), &main)),
      emulatorMenu_(new QMenu(tr("Эмулятор"), &main)) {
    oneWindowAction_->setObjectName("mnuOneWindow");
    oneWindowAction_->setCheckable(true);
    oneWindowAction_->setChecked(oneWindow());
    oneWindowAction_->setStatusTip(
        tr("Устройство и панели отладки — в главном окне, рядом с текстом программы"));
    connect(oneWindowAction_, &QAction::toggled, this, &Workspace::setOneWindow);
    resetAction_->setObjectName("mnuResetLayout");
    resetAction_->setStatusTip(tr("Вернуть панели на их места по умолчанию"));
    connect(resetAction_, &QAction::triggered, this, &Workspace::ResetLayout);

    viewMenu_->setObjectName("mnuView");
    emulatorMenu_->setObjectName("mnuEmulatorMenu");
    QMenuBar* bar = main.menuBar();
    // "Вид" after the edit menu, "Эмулятор" before the debug menu.
    QAction* beforeView = nullptr;
    QAction* beforeEmulator = nullptr;
    const QList<QAction*> menus = bar->actions();
    for (int i = 0; i < menus.size(); ++i) {
        const QMenu* menu = menus[i]->menu();
        if (menu && menu->objectName() == "menuEdit" && i + 1 < menus.size())
            beforeView = menus[i + 1];
        if (menu && menu->objectName() == "mnuTool1") beforeEmulator = menus[i];
    }
    bar->insertMenu(beforeView, viewMenu_);
    bar->insertMenu(beforeEmulator, emulatorMenu_);
    emulatorMenu_->menuAction()->setVisible(false);
    FillViewMenu();
    connect(viewMenu_, &QMenu::aboutToShow, this, &Workspace::FillViewMenu);
    main.installEventFilter(this);
}

bool Workspace::oneWindow() const {
    return Settings().value(kOneWindowKey, false).toBool();
}

void Workspace::setOneWindow(bool on) {
    if (oneWindowAction_->isChecked() != on) oneWindowAction_->setChecked(on);  // comes back here
    if (on == oneWindow()) return;
    Settings().setValue(kOneWindowKey, on);
    if (!emulator_) return;
    if (on) {
        Lend();
        ShowDevice();
    } else {
        SaveArrangement();
        TakeBack();
        emulator_->show();
        emulator_->raise();
        emulator_->activateWindow();
    }
}

bool Workspace::Adopt(FrmTest& emulator) {
    emulator_ = &emulator;
    if (!oneWindow()) return false;
    Lend();
    return true;
}

void Workspace::Release(FrmTest& emulator) {
    if (emulator_ != &emulator) return;
    if (emulator.panesLent()) {
        SaveArrangement();
        TakeBack();
    }
    emulator_ = nullptr;
}

void Workspace::Lend() {
    emulator_->LendPanes(main_);
    emulatorMenu_->clear();
    emulator_->FillEmulatorMenu(*emulatorMenu_);
    emulatorMenu_->menuAction()->setVisible(true);
    MakeRoomForDevice();
    if (!RestoreArrangement()) ResetLayout();
    // Maximised before the device could float (a narrow screen), the window
    // kept the height the docked device needed: maximised again, it fits.
    if (main_.isMaximized() && main_.screen() &&
        !main_.screen()->availableGeometry().contains(main_.frameGeometry())) {
        main_.showNormal();
        main_.showMaximized();
    }
}

void Workspace::TakeBack() {
    emulatorMenu_->menuAction()->setVisible(false);
    emulatorMenu_->clear();
    emulator_->TakePanesBack();
}

void Workspace::ShowDevice() {
    if (QDockWidget* device = Dock("deviceDock")) {
        device->show();
        device->raise();
    }
    main_.raise();
    main_.activateWindow();
}

// A main window too narrow for the editor and the device is maximised (the
// window manager knows its frame); a maximised one has all there is.
void Workspace::MakeRoomForDevice() {
    if (main_.isMaximized() || main_.isFullScreen() || !main_.isVisible()) return;
    const int device = emulator_->deviceDock()->sizeHint().width();
    const int editor = main_.fontMetrics().averageCharWidth() * 90;
    if (main_.width() < editor + device) main_.showMaximized();
}

void Workspace::ResetLayout() {
    auto existing = [this](auto& names) {
        QList<QDockWidget*> docks;
        for (const char* name : names)
            if (QDockWidget* dock = Dock(name)) docks.append(dock);
        return docks;
    };
    QList<QList<QDockWidget*>> stacks;
    for (const QList<QDockWidget*>& docks :
         {existing(kDebuggerPanes), existing(kDevicePanes), existing(kEditorPanes)})
        if (!docks.isEmpty()) stacks.append(docks);
    QDockWidget* device = Dock("deviceDock");
    // A narrow screen (a large scale) has no width for the device beside the
    // editor: the device floats at the screen's right edge, and the panes
    // below share one stack.
    const QRect screen = main_.screen() ? main_.screen()->availableGeometry() : QRect();
    const bool narrow = device && screen.isValid() &&
                        screen.width() < device->minimumSizeHint().width() +
                                             main_.fontMetrics().averageCharWidth() * 60;
    if (narrow) {
        for (int i = 1; i < stacks.size(); ++i) stacks[0] += stacks[i];
        stacks.resize(std::min<qsizetype>(stacks.size(), 1));
    }
    for (QDockWidget* dock : main_.findChildren<QDockWidget*>(Qt::FindDirectChildrenOnly)) {
        dock->setFloating(false);
        // The library tab keeps waiting for a pause inside a library.
        if (dock->objectName() != "libraryDock") dock->show();
    }
    if (device) main_.addDockWidget(Qt::RightDockWidgetArea, device);
    if (narrow) {
        device->setFloating(true);
        device->resize(device->minimumSizeHint());
        device->move(screen.right() - device->frameGeometry().width(), screen.top());
    }
    for (int i = 0; i < stacks.size(); ++i) {
        if (i == 0)
            main_.addDockWidget(Qt::BottomDockWidgetArea, stacks[0][0]);
        else
            main_.splitDockWidget(stacks[i - 1][0], stacks[i][0], Qt::Horizontal);
    }
    for (const QList<QDockWidget*>& docks : stacks) {
        for (int i = 1; i < docks.size(); ++i) main_.tabifyDockWidget(docks[0], docks[i]);
        docks[0]->raise();
    }
    // The editor keeps most of the window: the device its natural width, the
    // panes below a quarter of the height.
    if (device && !narrow)
        main_.resizeDocks({device}, {std::min(device->sizeHint().width(), main_.width() * 2 / 5)},
                          Qt::Horizontal);
    if (!stacks.isEmpty())
        main_.resizeDocks({stacks[0][0]},
                          {std::max(main_.height() / 4, main_.fontMetrics().lineSpacing() * 8)},
                          Qt::Vertical);
}

void Workspace::SaveArrangement() const {
    Settings().setValue(kArrangementKey, main_.saveState());
}

bool Workspace::RestoreArrangement() {
    const QByteArray state = Settings().value(kArrangementKey).toByteArray();
    return !state.isEmpty() && main_.restoreState(state);
}

// The choice, every pane of the main window (its own and the lent ones) to
// close or bring back, and the reset.
void Workspace::FillViewMenu() {
    viewMenu_->clear();
    viewMenu_->addAction(oneWindowAction_);
    viewMenu_->addSeparator();
    QList<QDockWidget*> docks = main_.findChildren<QDockWidget*>(Qt::FindDirectChildrenOnly);
    std::sort(docks.begin(), docks.end(), [](const QDockWidget* a, const QDockWidget* b) {
        return a->windowTitle().localeAwareCompare(b->windowTitle()) < 0;
    });
    for (QDockWidget* dock : docks)
        if (main_.dockWidgetArea(dock) != Qt::NoDockWidgetArea || dock->isFloating())
            viewMenu_->addAction(dock->toggleViewAction());
    viewMenu_->addSeparator();
    viewMenu_->addAction(resetAction_);
}

// Only the main window's own docks and the lent ones: the emulator window is
// a child of the main window too, and its docks are not the main window's.
QDockWidget* Workspace::Dock(const QString& name) const {
    for (QDockWidget* dock : main_.findChildren<QDockWidget*>(Qt::FindDirectChildrenOnly))
        if (dock->objectName() == name) return dock;
    return nullptr;
}

// Closing the environment keeps the arrangement of the panes it shows.
bool Workspace::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &main_ && event->type() == QEvent::Close && emulator_ && emulator_->panesLent())
        SaveArrangement();
    return QObject::eventFilter(watched, event);
}

}  // namespace zr::shell
