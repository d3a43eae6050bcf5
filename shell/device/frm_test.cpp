#include "shell/device/frm_test.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <chrono>
#include <optional>

#include "emulator/debugger.h"
#include "emulator/number_text.h"
#include "shell/debugger/breakpoints_pane.h"
#include "shell/debugger/call_stack_pane.h"
#include "shell/debugger/library_view.h"
#include "shell/debugger/listing_pane.h"
#include "shell/debugger/variables_pane.h"
#include "shell/debugger/watches_pane.h"
#include "shell/device/device_state_files.h"
#include "shell/device/device_text.h"
#include "shell/device/display_history_pane.h"
#include "shell/device/emulator_worker.h"
#include "shell/device/i2c_table.h"
#include "shell/device/keypad_layout.h"
#include "shell/device/keypad_picture.h"
#include "shell/device/pin_panel.h"
#include "shell/device/scenario_recorder.h"
#include "shell/device/serial_console.h"
#include "shell/main_window/toolbar_icons.h"
#include "shell/main_window/twips.h"

namespace zr::shell {
namespace {

using emulator::Emulator;

constexpr int kClientWidth = 11235;  // twips: the size the window opens with
constexpr int kClientHeight = 7515;
constexpr int kDockHeight = 2400;
constexpr int kPanelWidth = 2655;
constexpr int kTimer1Milliseconds = 100;
constexpr int kDebugDockCharacters = 40;  // the Variables and listing column
constexpr int kDebugDockMinimumCharacters = 26;

}  // namespace

FrmTest::FrmTest(EmulatorWorker& worker, QWidget* parent)
    : QMainWindow(parent, Qt::Window), worker_(worker) {
    setObjectName("frmTest");
    qApp->installEventFilter(this);
    setWindowTitle(tr("+"));
    confirmClear_ = [this] {
        return QMessageBox::question(this, windowTitle(), tr("Clear?"),
                                     QMessageBox::Ok | QMessageBox::Cancel,
                                     QMessageBox::Ok) != QMessageBox::Cancel;
    };

    auto* client = new QWidget(this);
    client->setObjectName("client");
    setCentralWidget(client);
    auto* columns = new QHBoxLayout(client);
    // Half the usual margin above and below: height is what a large scale lacks.
    const QMargins margins = columns->contentsMargins();
    columns->setContentsMargins(margins.left(), margins.top() / 2, margins.right(),
                                margins.bottom() / 2);
    auto* face = new QVBoxLayout;
    columns->addLayout(face, 1);
    CreateFace(face);
    pinPanel_ = new PinPanel;
    pinPanel_->setObjectName("Pic1");
    pinPanel_->setMinimumWidth(TwipsToPixels(kPanelWidth, logicalDpiX()));
    CreatePanel();
    columns->addWidget(PanelScroller());
    CreateMenus();
    CreateDebugCommands();
    CreateDocks();
    CreateViewMenu();
    CreateStatusLine();

    // Timer1 runs while the window exists, also when no program runs.
    tickTimer_ = new QTimer(this);
    tickTimer_->setObjectName("Timer1");
    connect(tickTimer_, &QTimer::timeout, this,
            [this] { worker_.Post([](Emulator& e) { e.TimerTick(); }); });
    tickTimer_->start(kTimer1Milliseconds);

    setFocusPolicy(Qt::StrongFocus);
    pinPanel_->ResetPins();
    const int dpi = logicalDpiY();
    resize(TwipsToPixels(kClientWidth, logicalDpiX()) +
               fontMetrics().averageCharWidth() * kDebugDockCharacters,
           TwipsToPixels(kClientHeight + kDockHeight, dpi) + menuBar()->sizeHint().height() +
               statusBar()->sizeHint().height() + fontMetrics().height() * 3);
    // A large scale on a small screen: the window opens no larger than the
    // screen (less a title bar), down to what its layouts need.
    if (QScreen* shown = screen()) {
        const QSize room = shown->availableGeometry().size() - QSize(0, fontMetrics().height() * 2);
        const int wanted = width();
        // Too narrow for a column of its own: the debug panes and the I2C
        // table join the tabs below.
        if (room.width() < wanted) {
            auto* console = PaneDock("serialDock");
            for (const char* name : {"variablesDock", "watchesDock", "listingDock", "callStackDock",
                                     "breakpointsDock", "libraryDock", "i2cDock"}) {
                auto* dock = PaneDock(name);
                addDockWidget(Qt::BottomDockWidgetArea, dock);
                tabifyDockWidget(console, dock);
            }
            console->raise();
        }
        resize(size().boundedTo(room).expandedTo(minimumSizeHint()));
    }
    // The library tab waits for a pause inside a library: no empty tab before.
    PaneDock("libraryDock")->hide();

    // The device's face as a pane of its own, used when the panes are lent.
    deviceDock_ = new QDockWidget(tr("Устройство"), this);
    deviceDock_->setObjectName("deviceDock");
    deviceDock_->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    deviceDock_->hide();
}

void FrmTest::CreateFace(QVBoxLayout* face) {
    auto* shape = new QFrame;
    shape->setObjectName("Shape1");
    shape->setStyleSheet("#Shape1 { background: #404040; border-radius: 14px; }");
    auto* lines = new QVBoxLayout(shape);
    const int inset = TwipsToPixels(300, logicalDpiX());
    lines->setContentsMargins(inset, inset / 5, inset, inset / 5);
    lines->setSpacing(2);
    face->addWidget(shape);

    for (int row = 0; row < 2; ++row) {
        auto* field = new QLineEdit;
        field->setObjectName(QString("Text1_%1").arg(row + 1));
        field->setReadOnly(true);
        field->setFocusPolicy(Qt::NoFocus);
        field->setFrame(false);
        field->setStyleSheet("QLineEdit { background: rgb(128, 128, 0); color: black; }");
        field->setText(QString(16, ' '));
        lines->addWidget(field);
        display_[row] = field;
    }
    SetDisplayPoints(kDisplayPoints);

    keypad_ = new KeypadPicture;
    keypad_->setObjectName("Image1");
    keypad_->setMinimumSize(TwipsToPixels(8292, logicalDpiX()) / 2,
                            TwipsToPixels(5412, logicalDpiY()) / 3);
    keypad_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    face->addWidget(keypad_, 1);
    // A click on the keypad takes the keyboard back from the console.
    keypad_->setFocusPolicy(Qt::ClickFocus);
    connect(keypad_, &KeypadPicture::keyReleased, this, [this](int index) {
        emit keyGiven(index);
        worker_.Post([index](Emulator& e) { e.PressKey(index); });
    });
}

// The display's characters at `points`; sixteen of them always fit whole.
void FrmTest::SetDisplayPoints(double points) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(points);
    font.setBold(true);
    const QFontMetrics metrics(font);
    for (QLineEdit* field : display_) {
        field->setFont(font);
        field->setMinimumWidth(metrics.horizontalAdvance(QString(16, 'W')) + 12);
        field->setMinimumHeight(metrics.height() + 6);
    }
}

// The panel's grid, top to bottom: the ADC4..ADC1 rows (indicator, name,
// slider, value), the two captions, then CE, WE and D7..D0 (indicator, name,
// and for the data bits the input check box). The indicators are drawn by
// the panel left of the names, so each stands level with its row.
void FrmTest::CreatePanel() {
    auto* grid = new QGridLayout(pinPanel_);
    const int indicatorColumn = fontMetrics().height() * 3 / 2;
    grid->setColumnMinimumWidth(0, indicatorColumn);
    grid->setColumnStretch(2, 1);
    grid->setHorizontalSpacing(fontMetrics().averageCharWidth());
    int row = 0;
    auto pinCaption = [this, grid](int pin, const QString& text, int atRow) {
        auto* label = new QLabel(text, pinPanel_);
        label->setObjectName(QString("pinCaption%1").arg(pin));
        grid->addWidget(label, atRow, 1);
        grid->setRowStretch(atRow, 1);
        pinPanel_->SetIndicatorAnchor(pin, label);
        return label;
    };

    for (int channel = 3; channel >= 0; --channel, ++row) {
        const QString name = QString("ADC%1").arg(channel + 1);
        pinCaption(emulator::kPinCount - 4 + channel, name, row)
            ->setObjectName(QString("adcCaption%1").arg(channel));
        auto* slider = new QScrollBar(Qt::Horizontal, pinPanel_);
        slider->setObjectName(QString("HScroll1_%1").arg(channel));
        slider->setRange(0, emulator::kAdcMaximum);
        slider->setFocusPolicy(Qt::NoFocus);
        slider->setToolTip(name);
        slider->setPageStep(64);
        slider->setMinimumWidth(fontMetrics().averageCharWidth() * 14);
        grid->addWidget(slider, row, 2, Qt::AlignVCenter);
        auto* value = new QLabel("0", pinPanel_);
        value->setObjectName(QString("adcValue%1").arg(channel));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setMinimumWidth(fontMetrics().horizontalAdvance("1023") + 2);
        grid->addWidget(value, row, 3);
        connect(slider, &QScrollBar::valueChanged, this, [this, channel, value](int position) {
            value->setText(QString::number(position));
            emit adcGiven(channel + 1, position);
            worker_.Post([channel, position](Emulator& e) { e.io.adc[channel] = position; });
        });
        sliders_[channel] = slider;
    }

    // Captions wrap onto a second line in a narrow panel, and always have room for it.
    auto caption = [this](const char* name, const QString& text) {
        auto* label = new QLabel(text, pinPanel_);
        label->setObjectName(name);
        label->setWordWrap(true);
        label->setMinimumHeight(label->fontMetrics().lineSpacing() * 2);
        return label;
    };
    grid->addWidget(caption("Label2", tr("Модель входв АЦП")), row++, 1, 1, 3);
    grid->addWidget(caption("Label3", tr("Модель входов-выходов порта")), row, 1, 1, 2);
    grid->addWidget(caption("Label1", tr("\"1\"")), row++, 3, Qt::AlignRight | Qt::AlignTop);

    for (int pin : {emulator::kPinCE, emulator::kPinWE})
        pinCaption(pin,
                   QString::fromLatin1(emulator::kPinNames[pin].data(),
                                       static_cast<int>(emulator::kPinNames[pin].size())),
                   row++);
    for (int bit = 7; bit >= 0; --bit, ++row) {
        pinCaption(bit, QString("D%1").arg(bit), row);
        auto* box = new QCheckBox(pinPanel_);
        box->setObjectName(QString("Check1_%1").arg(bit));
        box->setFocusPolicy(Qt::NoFocus);
        box->setToolTip(QString("D%1").arg(bit));
        grid->addWidget(box, row, 2, Qt::AlignLeft | Qt::AlignVCenter);
        connect(box, &QCheckBox::toggled, this, &FrmTest::PostPortInputs);
        portBits_[bit] = box;
    }
}

// The panel's fourteen rows are taller than the device's face: on a short
// screen (a large scale) they scroll, so the window is no taller than the
// face needs and its docks and status line stay on the screen.
QScrollArea* FrmTest::PanelScroller() {
    auto* scroller = new QScrollArea;
    scroller->setObjectName("panelScroller");
    scroller->setWidget(pinPanel_);
    scroller->setWidgetResizable(true);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setMinimumWidth(pinPanel_->minimumSizeHint().width() +
                              scroller->verticalScrollBar()->sizeHint().width());
    scroller->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Ignored);
    return scroller;
}

void FrmTest::CreateMenus() {
    auto action = [this](QWidget* menu, const char* name, const QString& caption) {
        auto* item = new QAction(caption, this);
        item->setObjectName(name);
        menu->addAction(item);
        return item;
    };
    QAction* end = action(menuBar(), "mnuEnd", tr("End"));
    connect(end, &QAction::triggered, this, &FrmTest::endChosen);

    QMenu* file = menuBar()->addMenu(tr("File"));
    file->setObjectName("mnuFile");
    connect(action(file, "mnuClear", tr("Clear")), &QAction::triggered, this, &FrmTest::Clear);
    stateFiles_ = new DeviceStateFiles(worker_, this);
    stateFiles_->AddActions(file);
    recorder_ = new ScenarioRecorder(*this, worker_);
    recorder_->AddAction(file);
    file->addSeparator()->setObjectName("mnuFile1");
    // No transfer protocol to a real device is defined: the item says so.
    QAction* save = action(file, "mnuSaveToRealZr", tr("Save to real zr-7340"));
    save->setEnabled(false);
    save->setToolTip(tr("Передача программы в настоящий zr-7340 не поддерживается"));
    file->setToolTipsVisible(true);

    QMenu* run = menuBar()->addMenu(tr("Run"));
    run->setObjectName("mnuRun");
    connect(action(run, "mnuRunToAdres", tr("Run to adres")), &QAction::triggered, this,
            [this] { worker_.Post([](Emulator& e) { e.CommandRun(); }); });
    connect(action(run, "mnuRunTo1", tr("Run to 1")), &QAction::triggered, this,
            [this] { worker_.Post([](Emulator& e) { e.CommandRunFrom1(); }); });
    // Starts at address 1 from any state, the greeting and the prompt included.
    QAction* start = action(run, "mnuStartProgram", tr("Запустить программу"));
    start->setShortcut(Qt::CTRL | Qt::Key_F5);
    start->setIcon(ToolbarIcon("Run"));
    start->setToolTip(tr("Запустить программу с адреса 1 (Ctrl+F5)"));
    connect(start, &QAction::triggered, this, [this] {
        if (!startOverride_ || !startOverride_()) worker_.StartProgram();
    });
    auto* toolbar = addToolBar(tr("Пуск"));
    toolbar->setObjectName("runToolbar");
    toolbar->setMovable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolbar->addAction(start);
    run->addSeparator()->setObjectName("mnuRun1");
    connect(action(run, "mnuStop", tr("Stop")), &QAction::triggered, this,
            [this] { worker_.Post([](Emulator& e) { e.CommandStop(); }); });
    connect(action(run, "nnuAdr1", tr("Adr=1")), &QAction::triggered, this,
            [this] { worker_.Post([](Emulator& e) { e.CommandAddress1(); }); });
}

// "Вид": a closed pane comes back from here.
void FrmTest::CreateViewMenu() {
    QMenu* view = menuBar()->addMenu(tr("Вид"));
    view->setObjectName("mnuView");
    connect(view, &QMenu::aboutToShow, this, [this, view] {
        view->clear();
        for (QDockWidget* dock : paneDocks()) view->addAction(dock->toggleViewAction());
    });
}

// The debugger's commands, in a menu and a toolbar. Their keys work from
// the editor too, where the user sets breakpoints and reads the mark.
void FrmTest::CreateDebugCommands() {
    QMenu* menu = menuBar()->addMenu(tr("Отладка"));
    menu->setObjectName("mnuDebug");
    auto* toolbar = addToolBar(tr("Отладка"));
    toolbar->setObjectName("debugToolbar");
    toolbar->setMovable(false);
    const struct Command {
        const char* name;
        const char* caption;
        QKeySequence key;
        std::optional<DebugCommand> command;  // none: run to cursor
    } commands[] = {
        {"mnuContinue", QT_TR_NOOP("Продолжить"), QKeySequence(Qt::Key_F5), DebugCommand::Continue},
        {"mnuStepInto", QT_TR_NOOP("Шаг с заходом"), QKeySequence(Qt::Key_F11),
         DebugCommand::StepInto},
        {"mnuStepOver", QT_TR_NOOP("Шаг с обходом"), QKeySequence(Qt::Key_F10),
         DebugCommand::StepOver},
        {"mnuStepOut", QT_TR_NOOP("Шаг с выходом"), QKeySequence(Qt::SHIFT | Qt::Key_F11),
         DebugCommand::StepOut},
        {"mnuRunToCursor", QT_TR_NOOP("Выполнить до курсора"), QKeySequence(Qt::CTRL | Qt::Key_F10),
         std::nullopt},
        {"mnuPause", QT_TR_NOOP("Пауза"), QKeySequence(Qt::CTRL | Qt::Key_Pause),
         DebugCommand::Pause},
        {"mnuStepBack", QT_TR_NOOP("Шаг назад"), QKeySequence(Qt::SHIFT | Qt::Key_F10),
         DebugCommand::StepBack},
    };
    // The toolbar leads with the commands used most, so a narrow window
    // drops the rarer ones into the toolbar's overflow first.
    const char* const toolbarOrder[] = {"mnuContinue", "mnuPause",   "mnuStepInto",   "mnuStepOver",
                                        "mnuStepBack", "mnuStepOut", "mnuRunToCursor"};
    for (const Command& c : commands) {
        auto* item = new QAction(tr(c.caption), this);
        item->setObjectName(c.name);
        item->setShortcut(c.key);
        item->setShortcutContext(Qt::ApplicationShortcut);
        item->setToolTip(
            QStringLiteral("%1 (%2)").arg(item->text(), c.key.toString(QKeySequence::NativeText)));
        item->setStatusTip(item->toolTip());
        menu->addAction(item);
        if (c.command)
            connect(item, &QAction::triggered, this,
                    [this, command = *c.command] { worker_.Debug(command); });
        else
            connect(item, &QAction::triggered, this, &FrmTest::runToCursorChosen);
    }
    for (const char* name : toolbarOrder) toolbar->addAction(findChild<QAction*>(name));
}

// The run command shows its caption only while every debug command fits
// beside it; else its icon alone (its tooltip names it).
void FrmTest::FitToolbars() {
    auto* run = findChild<QToolBar*>("runToolbar");
    auto* debug = findChild<QToolBar*>("debugToolbar");
    if (!run || !debug) return;
    run->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    if (run->sizeHint().width() + debug->sizeHint().width() > width())
        run->setToolButtonStyle(Qt::ToolButtonIconOnly);
}

void FrmTest::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FitToolbars();
    // Narrower than it opens (beside the main window on a full screen), the
    // display's characters shrink so that the panes keep their width.
    if (!host_) {
        const int natural = TwipsToPixels(kClientWidth, logicalDpiX()) +
                            fontMetrics().averageCharWidth() * kDebugDockCharacters;
        const double points = width() < natural ? kLentDisplayPoints : kDisplayPoints;
        if (points != display_[0]->font().pointSizeF()) {
            SetDisplayPoints(points);
            // Dock sizes take once the window is laid out.
            QTimer::singleShot(0, this, [this] {
                if (QDockWidget* variables = PaneDock("variablesDock");
                    variables && dockWidgetArea(variables) == Qt::RightDockWidgetArea)
                    resizeDocks({variables},
                                {fontMetrics().averageCharWidth() * kDebugDockCharacters},
                                Qt::Horizontal);
            });
        }
    }
}

QList<QAction*> FrmTest::debugActions() const {
    return findChild<QMenu*>("mnuDebug")->actions();
}

// A dock holding `pane`: it moves, floats and closes; "Вид" brings it back.
QDockWidget* FrmTest::AddPaneDock(QWidget* pane, const QString& title, const char* name) {
    auto* dock = new QDockWidget(title, this);
    dock->setObjectName(name);
    dock->setWidget(pane);
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable |
                      QDockWidget::DockWidgetClosable);
    paneDocks_.append(dock);
    return dock;
}

void FrmTest::CreateDocks() {
    console_ = new SerialConsole;
    console_->setObjectName("serialConsole");
    connect(console_, &SerialConsole::lineEntered, this, [this](const QString& line) {
        emit serialLineGiven(line);
        worker_.PostSerialLine(ToDevice(line));
    });
    QDockWidget* consoleDock = AddPaneDock(console_, tr("Serial 1"), "serialDock");
    addDockWidget(Qt::BottomDockWidgetArea, consoleDock);

    i2cTable_ = new I2cTable;
    i2cTable_->setObjectName("i2cTable");
    connect(i2cTable_, &I2cTable::elementEdited, this, [this](int element, int value) {
        worker_.Post([element, value](Emulator& e) {
            e.io.i2c[element] = static_cast<std::uint8_t>(value);
        });
    });
    QDockWidget* i2cDock = AddPaneDock(i2cTable_, tr("I2C"), "i2cDock");
    addDockWidget(Qt::BottomDockWidgetArea, i2cDock);
    connect(i2cTable_, &I2cTable::editRefused, this,
            [this](const QString& hint) { statusBar()->showMessage(hint, 5000); });

    history_ = new DisplayHistoryPane;
    history_->setObjectName("displayHistory");
    QDockWidget* historyDock = AddPaneDock(history_, tr("История экрана"), "historyDock");
    addDockWidget(Qt::BottomDockWidgetArea, historyDock);
    tabifyDockWidget(consoleDock, historyDock);
    consoleDock->raise();
    resizeDocks({consoleDock}, {TwipsToPixels(kDockHeight, logicalDpiY())}, Qt::Vertical);

    variables_ = new VariablesPane;
    QDockWidget* variablesDock = AddPaneDock(variables_, tr("Переменные"), "variablesDock");
    addDockWidget(Qt::RightDockWidgetArea, variablesDock);

    listing_ = new ListingPane;
    QDockWidget* listingDock = AddPaneDock(listing_, tr("Листинг"), "listingDock");
    addDockWidget(Qt::RightDockWidgetArea, listingDock);
    splitDockWidget(variablesDock, listingDock, Qt::Vertical);
    // Tabbed only once split: a tabbed dock split would take the listing into its tabs.
    tabifyDockWidget(variablesDock, AddPaneDock(new WatchesPane(variables_->model()),
                                                tr("Контрольные значения"), "watchesDock"));
    variablesDock->raise();

    callStack_ = new CallStackPane;
    // The call stack and the breakpoints are tabs below, where the width is:
    // tabs in the narrow column beside the face would lose their captions.
    QDockWidget* callStackDock = AddPaneDock(callStack_, tr("Стек вызовов"), "callStackDock");
    tabifyDockWidget(consoleDock, callStackDock);

    libraryView_ = new LibraryView;
    QDockWidget* libraryDock = AddPaneDock(libraryView_, tr("Библиотека"), "libraryDock");
    tabifyDockWidget(listingDock, libraryDock);

    breakpoints_ = new BreakpointsPane;
    QDockWidget* breakpointsDock =
        AddPaneDock(breakpoints_, tr("Точки останова"), "breakpointsDock");
    tabifyDockWidget(consoleDock, breakpointsDock);
    consoleDock->raise();
    listingDock->raise();
    // The debug panes get their width first: a name and a value stay
    // readable, and a wider window widens them, not the device's face (its
    // keys keep their proportions).
    const int readable = fontMetrics().averageCharWidth() * kDebugDockMinimumCharacters;
    variables_->setMinimumWidth(readable);
    listing_->setMinimumWidth(readable);
    resizeDocks({variablesDock}, {fontMetrics().averageCharWidth() * kDebugDockCharacters},
                Qt::Horizontal);
    centralWidget()->setMaximumSize(centralWidget()->sizeHint() * 5 / 4);

    // At their smallest the panes show two lines (a scroll area's own minimum
    // is a scroll bar's length): on a short screen the docks leave the face
    // its room, and the window fits.
    const int twoLines = fontMetrics().lineSpacing() * 2 + 4;
    for (QAbstractScrollArea* pane : std::initializer_list<QAbstractScrollArea*>{
             console_->findChild<QPlainTextEdit*>("serialOutput"), i2cTable_, history_, variables_,
             listing_})
        pane->setMinimumHeight(twoLines);
}

void FrmTest::CreateStatusLine() {
    for (std::size_t i = 0; i < statusLabels_.size(); ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QString("runStatus%1").arg(i));
        statusBar()->addPermanentWidget(label, i == 0 ? 1 : 0);
        statusLabels_[i] = label;
    }
    ShowStatus(RunStatus{});
}

// Labels change only when their text does: a program waiting for a key
// repaints nothing.
void FrmTest::ShowStatus(const RunStatus& status, const PausedState* paused) {
    statusLine_.Note(std::chrono::duration_cast<std::chrono::milliseconds>(
                         std::chrono::steady_clock::now().time_since_epoch())
                         .count(),
                     status);
    const bool running = statusLine_.speed() > 0;
    const QString texts[3] = {StateText(status, paused),
                              RunStatusLine::CountText(status.instructions),
                              running ? RunStatusLine::SpeedText(statusLine_.speed()) : QString()};
    for (std::size_t i = 0; i < statusLabels_.size(); ++i)
        if (statusLabels_[i]->text() != texts[i]) statusLabels_[i]->setText(texts[i]);
}

// A pause for a data breakpoint names the watch and its new value.
QString FrmTest::StateText(const RunStatus& status, const PausedState* paused) const {
    if (!status.paused || status.changedWatch < 0 || !paused)
        return RunStatusLine::StateText(status);
    const QString name = variables_->breakingWatchOf(status.changedWatch);
    if (name.isEmpty()) return RunStatusLine::StateText(status);
    const float value = emulator::WatchedValueOf(paused->device.machine,
                                                 static_cast<std::uint8_t>(status.changedWatch));
    return RunStatusLine::DataChangeText(
        name, QString::fromStdString(emulator::FormatDecimal(value, paused->decimalSeparator)));
}

QString FrmTest::runStateText() const {
    return statusLabels_[0]->text();
}

QString FrmTest::instructionCountText() const {
    return statusLabels_[1]->text();
}

void FrmTest::PostPortInputs() {
    int inputs = 0;
    for (int bit = 0; bit < 8; ++bit)
        if (portBits_[bit]->isChecked()) inputs |= 1 << bit;
    emit portInputsGiven(inputs);
    worker_.Post([inputs](Emulator& e) { e.io.portInputs = static_cast<std::uint8_t>(inputs); });
}

void FrmTest::Clear() {
    if (confirmClear_()) worker_.Post([](Emulator& e) { e.ClearProgramMemory(); });
}

QString FrmTest::displayLine(int row) const {
    return display_[row == 2 ? 1 : 0]->text();
}

void FrmTest::ShowLibraryTab(const QString& fileName) {
    auto* dock = PaneDock("libraryDock");
    dock->setWindowTitle(tr("Библиотека: %1").arg(fileName));
    dock->show();
    dock->raise();
}

void FrmTest::setStaleNote(const QString& note) {
    if (note == staleNote_) return;
    staleNote_ = note;
    const struct {
        const char* dock;
        QString title;
        QWidget* pane;
    } panes[] = {{"variablesDock", tr("Переменные"), variables_},
                 {"watchesDock", tr("Контрольные значения"), PaneDock("watchesDock")->widget()},
                 {"listingDock", tr("Листинг"), listing_},
                 {"callStackDock", tr("Стек вызовов"), callStack_}};
    for (const auto& pane : panes) {
        pane.pane->setEnabled(note.isEmpty());
        if (auto* dock = PaneDock(pane.dock))
            dock->setWindowTitle(note.isEmpty() ? pane.title : pane.title + " — " + note);
    }
}

void FrmTest::ShowFrame(const EmulatorFrame& frame) {
    for (int row = 0; row < 2; ++row) {
        const QString text = FromDevice(frame.lines[row]);
        if (display_[row]->text() != text) display_[row]->setText(text);
    }
    for (int pin = 0; pin < emulator::kPinCount; ++pin) pinPanel_->SetPin(pin, frame.pins[pin]);
    if (frame.droppedSerialLines > 0) console_->NoteDroppedLines(frame.droppedSerialLines);
    for (const std::string& line : frame.serialOut) console_->AppendOutput(FromDevice(line));
    console_->SetWaitingForInput(frame.waitingForSerialInput);
    i2cTable_->ShowBuffer(frame.i2c);
    if (frame.historyRestarted) history_->Restart();
    history_->Append(frame.screens);
    ShowStatus(frame.status, frame.pausedState.get());
}

namespace {

// A widget that takes typed text: its keys are never the keypad's.
bool TakesText(const QWidget* widget) {
    if (auto* line = qobject_cast<const QLineEdit*>(widget)) return !line->isReadOnly();
    if (auto* text = qobject_cast<const QTextEdit*>(widget)) return !text->isReadOnly();
    if (auto* plain = qobject_cast<const QPlainTextEdit*>(widget)) return !plain->isReadOnly();
    // A cell open for editing in a table has a line edit of its own.
    return qobject_cast<const QAbstractSpinBox*>(widget) != nullptr;
}

bool IsNavigationKey(int key) {
    switch (key) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Space:
            return true;
        default:
            return false;
    }
}

}  // namespace

void FrmTest::keyPressEvent(QKeyEvent* event) {
    // Typing into the console or a table cell is not keypad input.
    if (auto* field = qobject_cast<QLineEdit*>(focusWidget()); field && !field->isReadOnly()) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    // A list's or tree's navigation key that it did not use stops here.
    if (qobject_cast<QAbstractItemView*>(focusWidget()) && IsNavigationKey(event->key())) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    if (!GiveKeypadKey(*event)) QMainWindow::keyPressEvent(event);
}

bool FrmTest::GiveKeypadKey(const QKeyEvent& event) {
    const int index = KeyIndexForPcKey(event.key());
    if (index < 0 || event.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
    emit keyGiven(index);
    worker_.Post([index](Emulator& e) { e.PressKey(index); });
    return true;
}

// While this window is active, the keypad's PC keys reach the device from
// whichever pane has the focus: a list or tree keeps only its navigation keys
// (arrows, Enter on an item), a text field all of its keys. Without this a
// click into the Variables tree swallowed every digit typed for the device.
bool FrmTest::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    // Only the widget with the focus decides; a key it passes on to its
    // parents comes to keyPressEvent below.
    if (!widget || widget == this || widget != QApplication::focusWidget()) return false;
    if (!isActiveWindow() && !LentPaneHolds(*widget)) return false;
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (TakesText(widget)) return false;
    if (qobject_cast<QAbstractItemView*>(widget) ||
        qobject_cast<QAbstractItemView*>(widget->parentWidget()))
        if (IsNavigationKey(key.key())) return false;
    return GiveKeypadKey(key);
}

void FrmTest::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) pinPanel_->RedrawPins();
    QMainWindow::changeEvent(event);
}

// Hidden by End, the window waits only for its deletion; its ticks stop now,
// so none reaches a worker that may go first. A minimised window keeps them,
// and so does one whose panes are lent to the main window.
void FrmTest::hideEvent(QHideEvent* event) {
    if (!event->spontaneous() && !host_) tickTimer_->stop();
    QMainWindow::hideEvent(event);
}

// The pane dock named `name`, here or lent to the main window.
QDockWidget* FrmTest::PaneDock(const QString& name) const {
    for (QDockWidget* dock : paneDocks_)
        if (dock->objectName() == name) return dock;
    return nullptr;
}

void FrmTest::StopTicks() {
    tickTimer_->stop();
}

void FrmTest::closeEvent(QCloseEvent* event) {
    event->accept();
    if (ending_) return;
    ending_ = true;
    tickTimer_->stop();
    emit endChosen();
}

}  // namespace zr::shell
