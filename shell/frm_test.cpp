#include "shell/frm_test.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFontDatabase>
#include <QFrame>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollBar>
#include <QTimer>

#include "machine/cp1251.h"
#include "shell/emulator_worker.h"
#include "shell/i2c_table.h"
#include "shell/keypad_layout.h"
#include "shell/keypad_picture.h"
#include "shell/pin_panel.h"
#include "shell/serial_console.h"
#include "shell/twips.h"

namespace zr::shell {
namespace {

using emulator::Emulator;

constexpr int kClientWidth = 11235;  // twips
constexpr int kClientHeight = 7515;
constexpr int kTimer1Milliseconds = 100;
constexpr double kDisplayPoints = 33;

// Tops of Check1(7) down to Check1(0), level with the D7..D0 indicators.
constexpr std::array<int, 8> kCheckTops = {3360, 3960, 4440, 4920, 5520, 6000, 6480, 6960};
constexpr std::array<int, 4> kSliderTops = {120, 600, 1080, 1560};

QString FromDevice(const std::string& bytes) {
    return QString::fromStdString(machine::Cp1251ToUtf8(bytes));
}

}  // namespace

FrmTest::FrmTest(EmulatorWorker& worker, QWidget* parent)
    : QMainWindow(parent, Qt::Window), worker_(worker) {
    setObjectName("frmTest");
    setWindowTitle("+");
    confirmClear_ = [this] {
        return QMessageBox::question(this, windowTitle(), "Clear?",
                                     QMessageBox::Ok | QMessageBox::Cancel,
                                     QMessageBox::Ok) != QMessageBox::Cancel;
    };

    auto* client = new QWidget(this);
    client->setObjectName("client");
    client->setFixedSize(TwipsRect(*this, 0, 0, kClientWidth, kClientHeight).size());
    setCentralWidget(client);
    CreateFace(client);
    pinPanel_ = new PinPanel(client);
    pinPanel_->setObjectName("Pic1");
    pinPanel_->setGeometry(TwipsRect(*this, 8520, 0, 2655, 7452));
    CreatePanel();
    CreateMenus();
    CreateDocks();

    // Timer1 runs while the window exists, also when no program runs.
    timer1_ = new QTimer(this);
    timer1_->setObjectName("Timer1");
    connect(timer1_, &QTimer::timeout, this,
            [this] { worker_.Post([](Emulator& e) { e.TimerTick(); }); });
    timer1_->start(kTimer1Milliseconds);

    setFocusPolicy(Qt::StrongFocus);
    pinPanel_->ResetPins();
}

void FrmTest::CreateFace(QWidget* client) {
    auto* shape = new QFrame(client);
    shape->setObjectName("Shape1");
    shape->setGeometry(TwipsRect(*this, 120, 0, 8292, 1932));
    shape->setStyleSheet("#Shape1 { background: #404040; border-radius: 14px; }");

    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(kDisplayPoints);
    font.setBold(true);
    const QRect lines[2] = {TwipsRect(*this, 720, 120, 6972, 816),
                            TwipsRect(*this, 720, 960, 6972, 888)};
    for (int row = 0; row < 2; ++row) {
        auto* field = new QLineEdit(client);
        field->setObjectName(QString("Text1_%1").arg(row + 1));
        field->setGeometry(lines[row]);
        field->setReadOnly(true);
        field->setFocusPolicy(Qt::NoFocus);
        field->setFont(font);
        field->setFrame(false);
        field->setStyleSheet("QLineEdit { background: rgb(128, 128, 0); color: black; }");
        field->setText(QString(16, ' '));
        display_[row] = field;
    }

    keypad_ = new KeypadPicture(client);
    keypad_->setObjectName("Image1");
    keypad_->setGeometry(TwipsRect(*this, 120, 2040, 8292, 5412));
    // A click on the keypad takes the keyboard back from the console.
    keypad_->setFocusPolicy(Qt::ClickFocus);
    connect(keypad_, &KeypadPicture::keyReleased, this,
            [this](int index) { worker_.Post([index](Emulator& e) { e.PressKey(index); }); });
}

void FrmTest::CreatePanel() {
    for (int channel = 0; channel < 4; ++channel) {
        auto* slider = new QScrollBar(Qt::Horizontal, pinPanel_);
        slider->setObjectName(QString("HScroll1_%1").arg(channel));
        slider->setGeometry(TwipsRect(*this, 600, kSliderTops[channel], 1695, 375));
        slider->setRange(0, emulator::kAdcMaximum);
        slider->setFocusPolicy(Qt::NoFocus);
        slider->setToolTip(QString("ADC%1").arg(channel + 1));
        connect(slider, &QScrollBar::valueChanged, this, [this, channel](int value) {
            worker_.Post([channel, value](Emulator& e) { e.io.adc[channel] = value; });
        });
        sliders_[channel] = slider;
    }
    // Captions wrap within the width up to the next control on their line.
    auto caption = [this](const char* name, const QString& text, int left, int top, int width) {
        auto* label = new QLabel(text, pinPanel_);
        label->setObjectName(name);
        label->setWordWrap(true);
        const QRect place = TwipsRect(*this, left, top, width, 0);
        label->setGeometry(place.x(), place.y(), place.width(),
                           label->heightForWidth(place.width()));
    };
    caption("Label2", "Модель входв АЦП", 600, 2040, 2000);
    caption("Label3", "Модель входов-выходов порта", 480, 2760, 1920 - 480);
    caption("Label1", "\"1\"", 1920, 2760, 600);

    for (int bit = 7; bit >= 0; --bit) {
        auto* box = new QCheckBox(pinPanel_);
        box->setObjectName(QString("Check1_%1").arg(bit));
        box->setGeometry(TwipsRect(*this, 1080, kCheckTops[7 - bit], 255, 255));
        box->setFocusPolicy(Qt::NoFocus);
        box->setToolTip(QString("D%1").arg(bit));
        connect(box, &QCheckBox::toggled, this, &FrmTest::PostPortInputs);
        portBits_[bit] = box;
    }
}

void FrmTest::CreateMenus() {
    auto action = [this](QWidget* menu, const char* name, const QString& caption) {
        auto* item = new QAction(caption, this);
        item->setObjectName(name);
        menu->addAction(item);
        return item;
    };
    QAction* end = action(menuBar(), "mnuEnd", "End");
    connect(end, &QAction::triggered, this, &FrmTest::endChosen);

    QMenu* file = menuBar()->addMenu("File");
    file->setObjectName("mnuFile");
    connect(action(file, "mnuClear", "Clear"), &QAction::triggered, this, &FrmTest::Clear);
    file->addSeparator()->setObjectName("mnuFile1");
    action(file, "mnuSaveToRealZr", "Save to real zr-7340");  // no transfer protocol: inert

    QMenu* run = menuBar()->addMenu("Run");
    run->setObjectName("mnuRun");
    connect(action(run, "mnuRunToAdres", "Run to adres"), &QAction::triggered, this,
            [this] { worker_.Post([](Emulator& e) { e.CommandRun(); }); });
    connect(action(run, "mnuRunTo1", "Run to 1"), &QAction::triggered, this,
            [this] { worker_.Post([](Emulator& e) { e.CommandRunFrom1(); }); });
    run->addSeparator()->setObjectName("mnuRun1");
    connect(action(run, "mnuStop", "Stop"), &QAction::triggered, this,
            [this] { worker_.Post([](Emulator& e) { e.CommandStop(); }); });
    connect(action(run, "nnuAdr1", "Adr=1"), &QAction::triggered, this,
            [this] { worker_.Post([](Emulator& e) { e.CommandAddress1(); }); });
}

void FrmTest::CreateDocks() {
    console_ = new SerialConsole;
    console_->setObjectName("serialConsole");
    connect(console_, &SerialConsole::lineEntered, this, [this](const QString& line) {
        worker_.PostSerialLine(machine::Utf8ToCp1251(line.toStdString()));
    });
    auto* consoleDock = new QDockWidget(tr("Serial 1"), this);
    consoleDock->setObjectName("serialDock");
    consoleDock->setWidget(console_);
    consoleDock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    addDockWidget(Qt::BottomDockWidgetArea, consoleDock);

    i2cTable_ = new I2cTable;
    i2cTable_->setObjectName("i2cTable");
    connect(i2cTable_, &I2cTable::elementEdited, this, [this](int element, int value) {
        worker_.Post([element, value](Emulator& e) {
            e.io.i2c[element] = static_cast<std::uint8_t>(value);
        });
    });
    auto* i2cDock = new QDockWidget("I2C", this);
    i2cDock->setObjectName("i2cDock");
    i2cDock->setWidget(i2cTable_);
    i2cDock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    addDockWidget(Qt::BottomDockWidgetArea, i2cDock);
    resizeDocks({consoleDock}, {TwipsToPixels(2400, logicalDpiY())}, Qt::Vertical);
}

void FrmTest::PostPortInputs() {
    int inputs = 0;
    for (int bit = 0; bit < 8; ++bit)
        if (portBits_[bit]->isChecked()) inputs |= 1 << bit;
    worker_.Post([inputs](Emulator& e) { e.io.portInputs = static_cast<std::uint8_t>(inputs); });
}

void FrmTest::Clear() {
    if (confirmClear_()) worker_.Post([](Emulator& e) { e.ClearProgramMemory(); });
}

QString FrmTest::displayLine(int row) const {
    return display_[row == 2 ? 1 : 0]->text();
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
}

void FrmTest::keyPressEvent(QKeyEvent* event) {
    // Typing into the console or a table cell is not keypad input.
    if (auto* field = qobject_cast<QLineEdit*>(focusWidget()); field && !field->isReadOnly()) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    const int index = KeyIndexForPcKey(event->key());
    if (index < 0 || event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    worker_.Post([index](Emulator& e) { e.PressKey(index); });
    event->accept();
}

void FrmTest::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) pinPanel_->RedrawPins();
    QMainWindow::changeEvent(event);
}

// Hidden by End, the window waits only for its deletion; its ticks stop now,
// so none reaches a worker that may go first. A minimised window keeps them.
void FrmTest::hideEvent(QHideEvent* event) {
    if (!event->spontaneous()) timer1_->stop();
    QMainWindow::hideEvent(event);
}

void FrmTest::closeEvent(QCloseEvent* event) {
    event->accept();
    if (ending_) return;
    ending_ = true;
    timer1_->stop();
    emit endChosen();
}

}  // namespace zr::shell
