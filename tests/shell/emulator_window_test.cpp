// The emulator window driven as a user drives it: keypad clicks at every
// shift level, the Run menu, Clear, End, and a new compile while it is open.
#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>

#include "emulator_test_support.h"
#include "shell/debugger/variables_pane.h"
#include "shell/device/i2c_table.h"
#include "shell/device/pin_panel.h"
#include "shell/device/serial_console.h"

using namespace zr::shell;
using namespace zr::shell::testing;

namespace {

// Shows a count and the code of every key the program reads.
const char* kKeyCodes = R"(DimI code
DimI count
4 MODE
! [1,1,clr] "Keys"
KeyReg
Top:
KeyCod -> code
code 255 = if
  goto Top
then
count 1 + -> count
! [2,1] count " " code "      "
KeyReg
goto Top
)";

void Trigger(FrmTest& window, const char* name) {
    QAction* action = window.findChild<QAction*>(name);
    QVERIFY2(action, name);
    action->trigger();
}

}  // namespace

class EmulatorWindowTest : public QObject {
    Q_OBJECT

  private:
    FrmTest* OpenAndStart(EmulatorWindows& windows, const char* source) {
        compiled_ = Compile(source);
        return compiled_->compileFailed ? nullptr : StartAtAddressOne(windows, *compiled_);
    }

    std::unique_ptr<zr::compiler::Compiler> compiled_;

  private slots:
    void keypadClicksGiveTheCodesOfEveryShiftLevel() {
        EmulatorWindows windows(nullptr, nullptr, nullptr);
        FrmTest* window = OpenAndStart(windows, kKeyCodes);
        QVERIFY(window);
        QTRY_VERIFY_WITH_TIMEOUT(window->displayLine(1).startsWith("Keys"), kWorkerTimeout);

        struct Press {
            std::vector<int> keys;
            int code;
        };
        // Each row and column of the picture at each level (the device's
        // decoding of every key at every level is tested without a window).
        const std::vector<Press> presses = {
            {{0}, 0},
            {{5}, 5},
            {{10}, 29},
            {{15}, 34},
            {{kKeyF, 1}, 11},
            {{kKeyF, 14}, 33},
            {{kKeyF, 9, 3}, 23},
            {{kKeyF, 9, 11}, 30},
            {{kKeyF, kKeyF, 6}, 6},  // F twice is back to level 0
        };

        // The register holds one key, so each click waits until the program
        // has taken the one before: a shift key shows its level letter at
        // line 1, column 15, and the program redraws "a" after each code.
        auto levelLetter = [window] { return window->displayLine(1).mid(14, 1); };
        int count = 0;
        auto expectCode = [&](int code) {
            const QString expected = QString("%1 %2 ").arg(++count).arg(code);
            QTRY_VERIFY2_WITH_TIMEOUT(window->displayLine(2).startsWith(expected),
                                      qPrintable(expected + "/ " + window->displayLine(2)),
                                      kWorkerTimeout);
        };
        for (const Press& press : presses) {
            QTRY_COMPARE_WITH_TIMEOUT(levelLetter(), QString("a"), kWorkerTimeout);
            int level = 0;
            for (std::size_t i = 0; i + 1 < press.keys.size(); ++i) {
                level = press.keys[i] == kKeyF ? (level == 0 ? 1 : 0) : 2;
                ClickKey(*window, press.keys[i]);
                QTRY_COMPARE_WITH_TIMEOUT(levelLetter(), QString(QChar('a' + level)),
                                          kWorkerTimeout);
            }
            ClickKey(*window, press.keys.back());
            expectCode(press.code);
        }
        // PC keys work the keypad too.
        QTest::keyClick(window, Qt::Key_7);
        expectCode(7);
        QTest::keyClick(window, Qt::Key_Right);
        expectCode(33);
        windows.EndEmulator();
    }

    // With a pane focused, the keypad's PC keys still reach the device; the
    // pane keeps its navigation keys and a text field all of its keys.
    void keypadKeysReachTheDeviceFromAFocusedPane() {
        EmulatorWindows windows(nullptr, nullptr, nullptr);
        FrmTest* window = OpenAndStart(windows, kTwoWaits);
        QVERIFY(window);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QSignalSpy given(window, &FrmTest::keyGiven);
        QTreeWidget* pane = window->variablesPane();
        pane->setFocus();
        QTest::keyClick(pane, Qt::Key_5);
        QTest::keyClick(pane, Qt::Key_Down);
        QTest::keyClick(pane, Qt::Key_Return);
        QLineEdit* line = window->serialConsole()->findChild<QLineEdit*>();
        QVERIFY(line);
        line->setFocus();
        QTest::keyClick(line, Qt::Key_7);
        QCOMPARE(given.size(), 1);
        QCOMPARE(given.at(0).at(0).toInt(), 5);
        QCOMPARE(line->text(), QString("7"));
        windows.EndEmulator();
    }

    void runMenuRestartsAtAddressOneAndStopsAfterTheKey() {
        EmulatorWindows windows(nullptr, nullptr, nullptr);
        FrmTest* window = OpenAndStart(windows, kTwoWaits);
        QVERIFY(window);
        for (const char* restart : {"mnuRunTo1", "nnuAdr1"}) {
            ZR_WAIT_LINE1(window, "First");
            ClickKey(*window, 0);
            ZR_WAIT_LINE1(window, "Second");
            Trigger(*window, restart);
        }
        ZR_WAIT_LINE1(window, "First");
        Trigger(*window, "mnuStop");  // while waiting: stops after the key
        ClickKey(*window, 0);
        ZR_WAIT_PROMPT(window);
        // Run to 1 at the prompt types a point; Enter then starts at 1.
        Trigger(*window, "mnuRunTo1");
        QTRY_VERIFY_WITH_TIMEOUT(window->displayLine(2).contains('.'), kWorkerTimeout);
        ClickKey(*window, kKeyEnter);
        ZR_WAIT_LINE1(window, "First");
    }

    void stopAndLeftArrowEndAnEndlessLoop() {
        for (bool menu : {true, false}) {
            EmulatorWindows windows(nullptr, nullptr, nullptr);
            FrmTest* window =
                OpenAndStart(windows, menu ? "4 MODE\nTop:\ngoto Top\n" : "Top:\ngoto Top\n");
            QVERIFY(window);
            if (menu)
                Trigger(*window, "mnuStop");
            else
                QTest::keyClick(window, Qt::Key_Left);
            ZR_WAIT_PROMPT(window);
        }
    }

    void clearAsksAndOnlyYesClearsTheMemory() {
        EmulatorWindows windows(nullptr, nullptr, nullptr);
        int asked = 0;
        bool answer = false;
        windows.setClearConfirmation([&] { return ++asked, answer; });
        for (bool yes : {false, true}) {
            answer = yes;
            FrmTest* window = OpenAndStart(windows, kTwoWaits);
            QVERIFY(window);
            Trigger(*window, "mnuClear");
            windows.EndEmulator();
            windows.worker().Join();
            const auto& memory = windows.worker().emulator().machine.programImage;
            if (yes)
                QVERIFY(std::all_of(memory.begin() + 1, memory.end(), [](auto b) { return !b; }));
            else
                QVERIFY(memory == compiled_->programImage);
        }
        QCOMPARE(asked, 2);
    }

    void runWhileOpenReloadsAndEndClosesAtOnceWhileTheProgramWaits() {
        EmulatorWindows windows(nullptr, nullptr, nullptr);
        FrmTest* window = OpenAndStart(windows, kTwoWaits);
        QVERIFY(window);
        ZR_WAIT_LINE1(window, "First");
        auto second = Compile("! [1,1,clr] \"Другая\"\n-1 Wait\n");  // Windows-1251 text
        windows.OpenEmulator(*second, EmulatorStart::AfterRun);
        QCOMPARE(windows.emulatorWindow(), window);  // the same window, brought forward
        ZR_WAIT_PROMPT(window);
        ClickKey(*window, kKeyEnter);
        ZR_WAIT_LINE1(window, "Другая");

        QPointer<FrmTest> watched(window);
        Trigger(*window, "mnuEnd");
        QVERIFY(!windows.emulatorWindow());
        QVERIFY(!window->isVisible());
        QVERIFY(!window->findChild<QTimer*>("Timer1")->isActive());  // no tick after End
        QVERIFY(!windows.worker().running());
        windows.worker().Join();  // returns: the wait gave up
        QTRY_VERIFY(watched.isNull());
    }

    void portsSerialConsoleAndI2cTableFollowTheProgram() {
        EmulatorWindows windows(nullptr, nullptr, nullptr);
        compiled_ = Compile(
            "DimI p\nPORT -> p\np -> PORT\n! [1,1,clr] \"Port \" p\n"
            "77 -> I2C(3)\nINPUT\n2 *\nPRINT\n-1 Wait\n");
        windows.OpenEmulator(*compiled_, EmulatorStart::AfterRun);
        FrmTest* window = windows.emulatorWindow();
        window->findChild<QAbstractButton*>("Check1_0")->click();
        window->findChild<QAbstractButton*>("Check1_2")->click();
        ClickKey(*window, 1);
        ZR_WAIT_PROMPT(window);
        ClickKey(*window, kKeyEnter);
        ZR_WAIT_LINE1(window, "Port 5");
        const auto& pins = window->pinPanel()->pins();
        QTRY_COMPARE_WITH_TIMEOUT(pins.PinValue(0), 1, kWorkerTimeout);
        QCOMPARE(pins.PinValue(1), 0);
        QCOMPARE(pins.PinValue(2), 1);
        QCOMPARE(pins.PinValue(8), 1);  // WE and CE rest high
        QCOMPARE(pins.PinValue(9), 1);

        SerialConsole* console = window->serialConsole();
        QTest::keyClicks(console->inputField(), "21");
        QTest::keyClick(console->inputField(), Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(console->outputText().endsWith("42"), kWorkerTimeout);
        // The buffer is published at the next pump: a timer tick at the latest.
        QTRY_COMPARE_WITH_TIMEOUT(window->i2cTable()->cellText(3), QString("77"), kWorkerTimeout);
        QCOMPARE(window->i2cTable()->cellText(4), QString("0"));
    }

    // For the documentation: ZR_EMULATOR_SCREENSHOT=FILE saves a picture of
    // the window running a port and ADC program (run it under a real display).
    void screenshotOfARunningProgram() {
        const QString target = qEnvironmentVariable("ZR_EMULATOR_SCREENSHOT");
        if (target.isEmpty()) QSKIP("ZR_EMULATOR_SCREENSHOT not set");
        EmulatorWindows windows(nullptr, nullptr, nullptr);
        FrmTest* window = OpenAndStart(windows,
                                       "DimI p\nDimI a\nTop:\nPORT -> p\nADC(1) -> a\np -> PORT\n"
                                       "! [1,1,clr] \"Порт \" p\n! [2,1] \"АЦП1 \" a\n"
                                       "p PRINT\n1 Wait\ngoto Top\n");
        QVERIFY(window);
        for (const char* box : {"Check1_0", "Check1_2", "Check1_3", "Check1_6"})
            window->findChild<QAbstractButton*>(box)->click();
        window->findChild<QScrollBar*>("HScroll1_0")->setValue(612);
        window->findChild<QScrollBar*>("HScroll1_2")->setValue(300);
        QTRY_VERIFY_WITH_TIMEOUT(window->displayLine(2).startsWith(QString("АЦП1 612")),
                                 kWorkerTimeout);
        QTest::qWait(1500);
        QTest::mousePress(window->keypad(), Qt::LeftButton, {}, QPoint(20, 20));  // the frame
        QVERIFY(window->grab().save(target));
        QTest::mouseRelease(window->keypad(), Qt::LeftButton, {}, QPoint(-5, -5));
    }

    // ZR_IDLE_SECONDS=N keeps an emulator waiting for a key open N seconds,
    // so its CPU use can be measured from outside.
    void idleWhileWaitingForAKey() {
        const int seconds = qEnvironmentVariableIntValue("ZR_IDLE_SECONDS");
        if (seconds <= 0) QSKIP("ZR_IDLE_SECONDS not set");
        EmulatorWindows windows(nullptr, nullptr, nullptr);
        FrmTest* window = OpenAndStart(windows, kTwoWaits);
        QVERIFY(window);
        ZR_WAIT_LINE1(window, "First");
        qInfo("idle from now for %d s", seconds);
        QEventLoop idle;  // not qWait, which wakes every few milliseconds itself
        QTimer::singleShot(seconds * 1000, &idle, &QEventLoop::quit);
        idle.exec();
    }
};

QTEST_MAIN(EmulatorWindowTest)
#include "emulator_window_test.moc"
