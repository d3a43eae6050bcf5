// The emulator window's panes lent to the main window ("Единое окно") and
// given back. The widgets move; none is made twice, so what a pane shows
// (the console's lines, the screen history, the variables at a pause) goes
// with it.
#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include "shell/device/frm_test.h"

namespace zr::shell {
namespace {

const char* const kToolbars[] = {"runToolbar", "debugToolbar"};

}  // namespace

void FrmTest::FillEmulatorMenu(QMenu& menu) const {
    menu.addAction(findChild<QAction*>("mnuEnd"));
    for (const char* name : {"mnuFile", "mnuRun"}) {
        menu.addSeparator();
        menu.addActions(findChild<QMenu*>(name)->actions());
    }
}

void FrmTest::LendPanes(QMainWindow& host) {
    if (host_) return;
    host_ = &host;
    ownArrangement_ = saveState();
    QWidget* face = takeCentralWidget();
    SetDisplayPoints(kLentDisplayPoints);  // beside the editor it gives up width
    deviceDock_->setWidget(face);
    host.addDockWidget(Qt::RightDockWidgetArea, deviceDock_);
    deviceDock_->show();
    for (QDockWidget* dock : paneDocks_) host.addDockWidget(Qt::BottomDockWidgetArea, dock);
    // The debug commands on a row of their own: none of them overflows.
    host.addToolBar(findChild<QToolBar*>("runToolbar"));
    host.addToolBarBreak();
    host.addToolBar(findChild<QToolBar*>("debugToolbar"));
    for (QLabel* label : statusLabels_) host.statusBar()->addPermanentWidget(label);
    hide();
}

void FrmTest::TakePanesBack() {
    if (!host_) return;
    QMainWindow& host = *host_;
    for (std::size_t i = 0; i < statusLabels_.size(); ++i) {
        host.statusBar()->removeWidget(statusLabels_[i]);
        statusBar()->addPermanentWidget(statusLabels_[i], i == 0 ? 1 : 0);
        statusLabels_[i]->show();
    }
    // The host's children are searched because the toolbars now live there.
    for (const char* name : kToolbars)
        if (auto* bar = host.findChild<QToolBar*>(name, Qt::FindDirectChildrenOnly)) {
            host.removeToolBar(bar);
            addToolBar(bar);
            bar->show();
        }
    for (QDockWidget* dock : paneDocks_) {
        const bool closed = dock->isHidden();
        host.removeDockWidget(dock);
        addDockWidget(Qt::BottomDockWidgetArea, dock);
        dock->setVisible(!closed);
    }
    host.removeDockWidget(deviceDock_);
    QWidget* face = deviceDock_->widget();
    deviceDock_->setWidget(nullptr);
    deviceDock_->setParent(this);
    deviceDock_->hide();
    SetDisplayPoints(kDisplayPoints);
    setCentralWidget(face);
    face->show();
    restoreState(ownArrangement_);
    host_ = nullptr;
}

bool FrmTest::LentPaneHolds(const QWidget& widget) const {
    if (!host_) return false;
    if (deviceDock_->isAncestorOf(&widget)) return true;
    for (QDockWidget* dock : paneDocks_)
        if (dock->isAncestorOf(&widget)) return true;
    return false;
}

}  // namespace zr::shell
