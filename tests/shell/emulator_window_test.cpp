// The emulator window driven as a user drives it: keypad clicks at every
// shift level, the Run menu, Clear, End, and a new compile while it is open.
#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QScrollBar>
#include <QtTest>

#include "emulator_test_support.h"
#include "shell/emulator_windows.h"
#include "shell/i2c_table.h"
#include "shell/pin_panel.h"
#include "shell/serial_console.h"

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

// Two waits for a key, each after a word on the display.
const char* kTwoWaits = R"(! [1,1,clr] "First"
-1 Wait
! [1,1,clr] "Second"
-1 Wait
End
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
    // Opens the emulator on `source` after a run command and starts the
    // program at address 1 (a key for the greeting, Enter at the prompt).
    void Start(EmulatorWindows& windows, const char* source) {
        compiled_ = Compile(source);
        QVERIFY(!compiled_->compileFailed);
        windows.OpenEmulator(*compiled_, EmulatorStart::AfterRun);
        FrmTest* window = windows.emulatorWindow();
        QTRY_COMPARE_WITH_TIMEOUT(window->displayLine(1).trimmed(), QString("ZR-7340 vers.B01"),
                                  kWorkerTimeout);
        ClickKey(*window, 1);
        QTRY_VERIFY_WITH_TIMEOUT(window->displayLine(1).startsWith("Adres\\Enter?"),
                                 kWorkerTimeout);
        ClickKey(*window, kKeyEnter);
    }

    FrmTest* OpenAndStart(EmulatorWindows& windows, const char* source) {
        Start(windows, source);
        return QTest::currentTestFailed() ? nullptr : windows.emulatorWindow();
    }

    std::unique_ptr<zr::compiler::Compiler> compiled_;

  private slots:
    void windowHasItsTitleMenusAndControls() {
        EmulatorWindows windows(nullptr, nullptr, nullptr);
        FrmTest* window = OpenAndStart(windows, kTwoWaits);
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QString("+"));
        for (const char* name : {"mnuEnd", "mnuClear", "mnuSaveToRealZr", "mnuRunToAdres",
                                 "mnuRunTo1", "mnuStop", "nnuAdr1"})
            QVERIFY2(window->findChild<QAction*>(name), name);
        for (int bit = 0; bit < 8; ++bit)
            QVERIFY(window->findChild<QWidget*>(QString("Check1_%1").arg(bit)));
        for (int channel = 0; channel < 4; ++channel)
            QVERIFY(window->findChild<QWidget*>(QString("HScroll1_%1").arg(channel)));
    }

    void keypadClicksGiveTheCodesOfEveryShiftLevel() {
        EmulatorWindows windows(nullptr, nullptr, nullptr);
        FrmTest* window = OpenAndStart(windows, kKeyCodes);
        QVERIFY(window);
        QTRY_VERIFY2_WITH_TIMEOUT(window->displayLine(1).startsWith("Keys"),
                                  qPrintable(window->displayLine(1) + "/" + window->displayLine(2)),
                                  kWorkerTimeout);

        struct Press {
            std::vector<int> keys;
            int code;
        };
        std::vector<Press> presses;
        for (int index = 0; index < 16; ++index)  // level 0: digits, then the fixed codes
            if (index != kKeyF) presses.push_back({{index}, index < 10 ? index : index + 19});
        for (int index = 0; index < 16; ++index)  // level 1, after F
            if (index != kKeyF && index != 9)
                presses.push_back({{kKeyF, index}, index < 10 ? index + 10 : index + 19});
        for (int index = 0; index < 16; ++index)  // level 2, after F 9
            if (index != kKeyF)
                presses.push_back({{kKeyF, 9, index}, index < 10 ? index + 20 : index + 19});
        presses.push_back({{kKeyF, kKeyF, 5}, 5});  // F twice is back to level 0

        // The register holds one key, so each click waits until the program
        // has taken the one before: a shift key shows its level letter at
        // line 1, column 15, and the program redraws "a" after each code.
        auto levelLetter = [window] { return window->displayLine(1).mid(14, 1); };
        int count = 0;
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
            ++count;
            const QString expected = QString("%1 %2").arg(count).arg(press.code);
            QTRY_VERIFY2_WITH_TIMEOUT(window->displayLine(2).startsWith(expected + " "),
                                      qPrintable(expected + " / " + window->displayLine(2)),
                                      kWorkerTimeout);
        }
        windows.EndEmulator();
    }

    void pcKeysWorkTheKeypad() {
        EmulatorWindows windows(nullptr, nullptr, nullptr);
        FrmTest* window = OpenAndStart(windows, kKeyCodes);
        QVERIFY(window);
        QTRY_VERIFY2_WITH_TIMEOUT(window->displayLine(1).startsWith("Keys"),
                                  qPrintable(window->displayLine(1) + "/" + window->displayLine(2)),
                                  kWorkerTimeout);
        QTest::keyClick(window, Qt::Key_7);
        QTRY_VERIFY_WITH_TIMEOUT(window->displayLine(2).startsWith("1 7 "), kWorkerTimeout);
        QTest::keyClick(window, Qt::Key_Right);
        QTRY_VERIFY_WITH_TIMEOUT(window->displayLine(2).startsWith("2 33 "), kWorkerTimeout);
    }

    void runTo1AndAdr1RestartAtAddressOne() {
        EmulatorWindows windows(nullptr, nullptr, nullptr);
        FrmTest* window = OpenAndStart(windows, kTwoWaits);
        QVERIFY(window);
        QTRY_COMPARE_WITH_TIMEOUT(window->displayLine(1).trimmed(), QString("First"),
                                  kWorkerTimeout);
        ClickKey(*window, 0);
        QTRY_COMPARE_WITH_TIMEOUT(window->displayLine(1).trimmed(), QString("Second"),
                                  kWorkerTimeout);
        Trigger(*window, "mnuRunTo1");
        QTRY_COMPARE_WITH_TIMEOUT(window->displayLine(1).trimmed(), QString("First"),
                                  kWorkerTimeout);
        ClickKey(*window, 0);
        QTRY_COMPARE_WITH_TIMEOUT(window->displayLine(1).trimmed(), QString("Second"),
                                  kWorkerTimeout);
        Trigger(*window, "nnuAdr1");
        QTRY_COMPARE_WITH_TIMEOUT(window->displayLine(1).trimmed(), QString("First"),
                                  kWorkerTimeout);
    }

    void stopWhileWaitingStopsAfterTheKey() {
        EmulatorWindows windows(nullptr, nullptr, nullptr);
        FrmTest* window = OpenAndStart(windows, kTwoWaits);
        QVERIFY(window);
        QTRY_COMPARE_WITH_TIMEOUT(window->displayLine(1).trimmed(), QString("First"),
                                  kWorkerTimeout);
        Trigger(*window, "mnuStop");
        ClickKey(*window, 0);
        QTRY_VERIFY_WITH_TIMEOUT(window->displayLine(1).startsWith("Adres\\Enter?"),
                                 kWorkerTimeout);
        // Run to 1 at the prompt types a point; Enter then starts at 1.
        Trigger(*window, "mnuRunTo1");
        QTRY_VERIFY_WITH_TIMEOUT(window->displayLine(2).contains('.'), kWorkerTimeout);
        ClickKey(*window, kKeyEnter);
        QTRY_COMPARE_WITH_TIMEOUT(window->displayLine(1).trimmed(), QString("First"),
                                  kWorkerTimeout);
    }

    void stopEndsAnEndlessLoop() {
        EmulatorWindows windows(nullptr, nullptr, nullptr);
        FrmTest* window = OpenAndStart(windows, "4 MODE\nTop:\ngoto Top\n");
        QVERIFY(window);
        Trigger(*window, "mnuStop");
        QTRY_VERIFY_WITH_TIMEOUT(window->displayLine(1).startsWith("Adres\\Enter?"),
                                 kWorkerTimeout);
    }

    void leftArrowStopsARunningProgram() {
        EmulatorWindows windows(nullptr, nullptr, nullptr);
        FrmTest* window = OpenAndStart(windows, "Top:\ngoto Top\n");
        QVERIFY(window);
        QTest::keyClick(window, Qt::Key_Left);
        QTRY_VERIFY_WITH_TIMEOUT(window->displayLine(1).startsWith("Adres\\Enter?"),
                                 kWorkerTimeout);
    }

    void clearAsksAndCancelKeepsTheMemory() {
        EmulatorWindows windows(nullptr, nullptr, nullptr);
        int asked = 0;
        bool answer = false;
        windows.setClearConfirmation([&] {
            ++asked;
            return answer;
        });
        FrmTest* window = OpenAndStart(windows, kTwoWaits);
        QVERIFY(window);
        Trigger(*window, "mnuClear");
        windows.EndEmulator();
        windows.worker().Join();
        QCOMPARE(asked, 1);
        QVERIFY(windows.worker().emulator().machine.programImage == compiled_->programImage);

        answer = true;
        window = OpenAndStart(windows, kTwoWaits);
        QVERIFY(window);
        Trigger(*window, "mnuClear");
        windows.EndEmulator();
        windows.worker().Join();
        const auto& memory = windows.worker().emulator().machine.programImage;
        QVERIFY(std::all_of(memory.begin() + 1, memory.end(), [](auto b) { return b == 0; }));
    }

    void endClosesAtOnceWhileTheProgramWaits() {
        EmulatorWindows windows(nullptr, nullptr, nullptr);
        FrmTest* window = OpenAndStart(windows, kTwoWaits);
        QVERIFY(window);
        QTRY_COMPARE_WITH_TIMEOUT(window->displayLine(1).trimmed(), QString("First"),
                                  kWorkerTimeout);
        QPointer<FrmTest> watched(window);
        Trigger(*window, "mnuEnd");
        QVERIFY(!windows.emulatorWindow());
        QVERIFY(!window->isVisible());
        QVERIFY(!window->findChild<QTimer*>("Timer1")->isActive());  // no tick after End
        QVERIFY(!windows.worker().running());
        windows.worker().Join();  // returns: the wait gave up
        QTRY_VERIFY(watched.isNull());
    }

    void runWhileOpenReloadsAtTheAddressPrompt() {
        EmulatorWindows windows(nullptr, nullptr, nullptr);
        FrmTest* window = OpenAndStart(windows, kTwoWaits);
        QVERIFY(window);
        QTRY_COMPARE_WITH_TIMEOUT(window->displayLine(1).trimmed(), QString("First"),
                                  kWorkerTimeout);
        auto second = Compile("! [1,1,clr] \"Другая\"\n-1 Wait\n");  // Windows-1251 text
        windows.OpenEmulator(*second, EmulatorStart::AfterRun);
        QCOMPARE(windows.emulatorWindow(), window);  // the same window, brought forward
        QTRY_VERIFY_WITH_TIMEOUT(window->displayLine(1).startsWith("Adres\\Enter?"),
                                 kWorkerTimeout);
        ClickKey(*window, kKeyEnter);
        QTRY_COMPARE_WITH_TIMEOUT(window->displayLine(1).trimmed(), QString("Другая"),
                                  kWorkerTimeout);
    }

    void portInputsAndPinsFollowTheProgram() {
        EmulatorWindows windows(nullptr, nullptr, nullptr);
        compiled_ =
            Compile("DimI p\nPORT -> p\np -> PORT\n! [1,1,clr] \"Port \" p\n-1 Wait\nEnd\n");
        windows.OpenEmulator(*compiled_, EmulatorStart::AfterRun);
        FrmTest* window = windows.emulatorWindow();
        window->findChild<QAbstractButton*>("Check1_0")->click();
        window->findChild<QAbstractButton*>("Check1_2")->click();
        ClickKey(*window, 1);
        QTRY_VERIFY_WITH_TIMEOUT(window->displayLine(1).startsWith("Adres\\Enter?"),
                                 kWorkerTimeout);
        ClickKey(*window, kKeyEnter);
        QTRY_COMPARE_WITH_TIMEOUT(window->displayLine(1).trimmed(), QString("Port 5"),
                                  kWorkerTimeout);
        const auto& pins = window->pinPanel()->pins();
        QTRY_COMPARE_WITH_TIMEOUT(pins.PinValue(0), 1, kWorkerTimeout);
        QCOMPARE(pins.PinValue(1), 0);
        QCOMPARE(pins.PinValue(2), 1);
        QCOMPARE(pins.PinValue(8), 1);  // WE and CE rest high
        QCOMPARE(pins.PinValue(9), 1);
    }

    void serialConsoleCarriesPrintAndInput() {
        EmulatorWindows windows(nullptr, nullptr, nullptr);
        FrmTest* window = OpenAndStart(windows, "INPUT\n2 *\nPRINT\n-1 Wait\n");
        QVERIFY(window);
        SerialConsole* console = window->serialConsole();
        QTest::keyClicks(console->inputField(), "21");
        QTest::keyClick(console->inputField(), Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(console->outputText().endsWith("42"), kWorkerTimeout);
    }

    void i2cTableShowsWhatTheProgramWrites() {
        EmulatorWindows windows(nullptr, nullptr, nullptr);
        FrmTest* window = OpenAndStart(windows, "77 -> I2C(3)\n-1 Wait\n");
        QVERIFY(window);
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
        FrmTest* window = OpenAndStart(windows, R"(DimI p
DimI a
Top:
PORT -> p
ADC(1) -> a
p -> PORT
! [1,1,clr] "Порт " p
! [2,1] "АЦП1 " a
p PRINT
1 Wait
goto Top
)");
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
        QTRY_COMPARE_WITH_TIMEOUT(window->displayLine(1).trimmed(), QString("First"),
                                  kWorkerTimeout);
        qInfo("idle from now for %d s", seconds);
        QEventLoop idle;  // not qWait, which wakes every few milliseconds itself
        QTimer::singleShot(seconds * 1000, &idle, &QEventLoop::quit);
        idle.exec();
    }
};

QTEST_MAIN(EmulatorWindowTest)
#include "emulator_window_test.moc"
