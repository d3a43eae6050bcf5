// The window's host: output is coalesced into one frame per change burst,
// a frame carries the latest state, and a flood of serial lines is capped.
#include "shell/device/gui_host.h"

#include <QtTest>

#include "emulator/emulator.h"

using zr::shell::EmulatorFrame;
using zr::shell::GuiHost;

class GuiHostTest : public QObject {
    Q_OBJECT

  private slots:
    void manyChangesAskForOneFrameWithTheLatestState() {
        GuiHost host;
        zr::emulator::Emulator emulator(host);
        int asked = 0;
        host.setChangedCallback([&] { ++asked; });
        for (int i = 0; i < 1000; ++i) {
            emulator.LocateCursor(1, 1);
            emulator.PrintText(std::to_string(i));
        }
        host.PinChanged(8, 1);
        QCOMPARE(asked, 1);
        const EmulatorFrame frame = host.TakeFrame();
        QCOMPARE(QString::fromStdString(frame.lines[0]).trimmed(), QString("999"));
        QCOMPARE(frame.pins[8], 1);

        emulator.PrintText("x");  // the next change asks again
        QCOMPARE(asked, 2);
    }

    void stopsAndSerialLinesArriveOnceEach() {
        GuiHost host;
        zr::emulator::Emulator emulator(host);
        host.StatementReached(emulator, {3, "12: PRINT  ( 2)"});
        host.SerialWriteLine("42");
        EmulatorFrame frame = host.TakeFrame();
        QCOMPARE(frame.stops.size(), std::size_t(1));
        QCOMPARE(frame.stops[0].statementIndex, 3);
        QCOMPARE(frame.serialOut, std::vector<std::string>{"42"});
        frame = host.TakeFrame();
        QVERIFY(frame.stops.empty());
        QVERIFY(frame.serialOut.empty());
    }

    void aSerialFloodKeepsTheNewestLinesAndCountsTheRest() {
        GuiHost host;
        const int lines = GuiHost::kMaxSerialLinesPerFrame + 25;
        for (int i = 0; i < lines; ++i) host.SerialWriteLine(std::to_string(i));
        const EmulatorFrame frame = host.TakeFrame();
        QCOMPARE(frame.serialOut.size(), GuiHost::kMaxSerialLinesPerFrame);
        QCOMPARE(frame.serialOut.back(), std::to_string(lines - 1));
        QCOMPARE(frame.droppedSerialLines, 25);
    }
};

QTEST_MAIN(GuiHostTest)
#include "gui_host_test.moc"
