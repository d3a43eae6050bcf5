// Saving and loading the device state in the emulator window: a state put
// back shows its display at once and the program goes on from it; a damaged
// file changes nothing; another program's snapshot loads only when the user
// says so.
#include "shell/device/device_state_files.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "emulator_test_support.h"

using namespace zr::shell;
using namespace zr::shell::testing;

class DeviceStateFilesTest : public QObject {
    Q_OBJECT

  private:
    static bool Save(FrmTest& window, const QString& path) {
        QSignalSpy saved(window.stateFiles(), &DeviceStateFiles::saved);
        window.stateFiles()->SaveTo(path);
        return saved.wait(kWorkerTimeout);
    }

    QTemporaryDir folder_;

  private slots:
    void aLoadedStateShowsAtOnceAndTheProgramGoesOnFromIt() {
        EmulatorWindows windows(nullptr, nullptr, nullptr);
        const auto compiled = Compile(kTwoWaits);
        FrmTest* window = StartAtAddressOne(windows, *compiled);
        QVERIFY(window);
        ZR_WAIT_LINE1(window, "First");
        const QString path = folder_.filePath("first.zrsnap");
        QVERIFY(Save(*window, path));

        ClickKey(*window, 1);
        ZR_WAIT_LINE1(window, "Second");
        window->stateFiles()->LoadFrom(path);
        ZR_WAIT_LINE1(window, "First");
        // The values are back, the program counter after the first Wait
        // among them: the next key shows the second word again.
        ClickKey(*window, 1);
        ZR_WAIT_LINE1(window, "Second");
    }

    void aDamagedFileIsRefusedAndChangesNothing() {
        EmulatorWindows windows(nullptr, nullptr, nullptr);
        const auto compiled = Compile(kTwoWaits);
        FrmTest* window = StartAtAddressOne(windows, *compiled);
        QVERIFY(window);
        ZR_WAIT_LINE1(window, "First");
        const QString path = folder_.filePath("cut.zrsnap");
        QVERIFY(Save(*window, path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.resize(file.size() - 10));
        file.close();

        ClickKey(*window, 1);
        ZR_WAIT_LINE1(window, "Second");
        QString error;
        window->stateFiles()->showError = [&error](const QString& text) { error = text; };
        window->stateFiles()->LoadFrom(path);
        QVERIFY2(error.contains("truncated snapshot"), qPrintable(error));
        QTest::qWait(100);
        QCOMPARE(window->displayLine(1).trimmed(), QString("Second"));
    }

    void anotherProgramsSnapshotLoadsOnlyWhenConfirmed() {
        EmulatorWindows first(nullptr, nullptr, nullptr);
        const auto twoWaits = Compile(kTwoWaits);
        FrmTest* saving = StartAtAddressOne(first, *twoWaits);
        QVERIFY(saving);
        ZR_WAIT_LINE1(saving, "First");
        const QString path = folder_.filePath("other.zrsnap");
        QVERIFY(Save(*saving, path));

        EmulatorWindows second(nullptr, nullptr, nullptr);
        const auto other = Compile("! [1,1,clr] \"Other\"\n-1 Wait\nEnd\n");
        FrmTest* loading = StartAtAddressOne(second, *other);
        QVERIFY(loading);
        ZR_WAIT_LINE1(loading, "Other");
        int asked = 0;
        bool answer = false;
        loading->stateFiles()->confirmOtherProgram = [&](const QString& text) {
            ++asked;
            return text.contains("другой программы") && answer;
        };
        loading->stateFiles()->LoadFrom(path);
        QCOMPARE(asked, 1);
        QTest::qWait(100);
        QCOMPARE(loading->displayLine(1).trimmed(), QString("Other"));

        answer = true;
        loading->stateFiles()->LoadFrom(path);
        QCOMPARE(asked, 2);
        ZR_WAIT_LINE1(loading, "First");
    }
};

QTEST_MAIN(DeviceStateFilesTest)
#include "device_state_files_test.moc"
