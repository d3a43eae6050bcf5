// What the emulator window tells at a glance: sliders labelled with the input
// they drive, the run state line, the display history, Start program, the
// I2C table's range check.
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDockWidget>
#include <QLabel>
#include <QMainWindow>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QtTest>

#include "emulator_test_support.h"
#include "shell/device/display_history_pane.h"
#include "shell/device/i2c_table.h"
#include "shell/device/pin_panel.h"
#include "shell/device/run_status_line.h"

using namespace zr::shell;
using namespace zr::shell::testing;

namespace {

QString HistoryText(FrmTest& window) {
    return window.displayHistory()->toPlainText();
}

}  // namespace

class EmulatorGlanceTest : public QObject {
    Q_OBJECT

  private slots:
    void eachSliderDrivesTheInputOfItsCaption() {
        EmulatorWindows windows(nullptr, nullptr, nullptr);
        auto compiled = Compile(
            "DimI a\nDimI b\nTop:\nADC(1) -> a\nADC(4) -> b\n! [1,1,clr] a \" \" b \"  \"\n"
            "1 Wait\ngoto Top\n");
        FrmTest* window = StartAtAddressOne(windows, *compiled);
        QVERIFY(window);
        for (int channel = 0; channel < 4; ++channel) {
            // The caption stands on the slider's row.
            auto* slider = window->findChild<QScrollBar*>(QString("HScroll1_%1").arg(channel));
            auto* caption = window->findChild<QLabel*>(QString("adcCaption%1").arg(channel));
            QVERIFY(slider && caption);
            const int captionMiddle = caption->mapTo(window, caption->rect().center()).y();
            const QRect sliderPlace(slider->mapTo(window, QPoint(0, 0)), slider->size());
            QVERIFY2(
                captionMiddle >= sliderPlace.top() - 4 && captionMiddle <= sliderPlace.bottom() + 4,
                qPrintable(caption->text()));
        }
        // ADC4 is drawn highest among the indicators: its slider is the top one.
        auto top = [window](int channel) {
            return window->findChild<QScrollBar*>(QString("HScroll1_%1").arg(channel))
                ->mapTo(window, QPoint(0, 0))
                .y();
        };
        QVERIFY(top(3) < top(2) && top(2) < top(1) && top(1) < top(0));

        // Each port check box stands level with its indicator, also in a small window.
        for (QSize size : {window->minimumSizeHint(), QSize(1400, 1000)}) {
            window->resize(size);
            QCoreApplication::processEvents();
            PinPanel* panel = window->pinPanel();
            for (int bit = 0; bit < 8; ++bit) {
                auto* box = window->findChild<QCheckBox*>(QString("Check1_%1").arg(bit));
                const int boxMiddle = box->mapTo(panel, box->rect().center()).y();
                const double indicatorMiddle = panel->IndicatorRect(bit).center().y();
                QVERIFY2(std::abs(boxMiddle - indicatorMiddle) <= 2, qPrintable(box->objectName()));
                QVERIFY(panel->rect().contains(panel->IndicatorRect(bit).toRect()));
            }
        }
        window->findChild<QScrollBar*>("HScroll1_0")->setValue(612);
        window->findChild<QScrollBar*>("HScroll1_3")->setValue(99);
        QTRY_VERIFY_WITH_TIMEOUT(window->displayLine(1).startsWith("612 99"), kWorkerTimeout);
        QCOMPARE(window->findChild<QLabel*>("adcValue0")->text(), QString("612"));
        windows.EndEmulator();
    }

    // A scale of 2 on a 1600x1000 screen leaves 800x500 device-independent
    // pixels, the title bar included: the window's minimum fits there, the
    // panel's rows scroll, and the status line stays inside the window.
    void windowFitsAShortScreenAtItsMinimumSize() {
        EmulatorWindows windows(nullptr, nullptr, nullptr);
        auto compiled = Compile("End\n");
        windows.OpenEmulator(*compiled, EmulatorStart::AfterRun);
        FrmTest* window = windows.emulatorWindow();
        const QSize minimum = window->minimumSizeHint();
        QVERIFY2(minimum.width() <= 800 && minimum.height() <= 480,
                 qPrintable(QString("%1 x %2").arg(minimum.width()).arg(minimum.height())));
        window->resize(minimum);
        QCoreApplication::processEvents();
        QVERIFY(window->statusBar()->geometry().bottom() <= window->height());
        auto* scroller = window->findChild<QScrollArea*>("panelScroller");
        QVERIFY(scroller && scroller->verticalScrollBar()->maximum() > 0);
        // D0, the last row, scrolls into view.
        auto* lastBox = window->findChild<QCheckBox*>("Check1_0");
        scroller->ensureWidgetVisible(lastBox);
        const QRect shown(lastBox->mapTo(scroller->viewport(), QPoint(0, 0)), lastBox->size());
        QVERIFY(scroller->viewport()->rect().contains(shown));
        windows.EndEmulator();
    }

    void i2cEditsOutsideAByteAreRefusedAndKeepTheOldValue() {
        I2cTable table;
        std::array<std::uint8_t, zr::emulator::kI2CSize + 1> buffer{};
        buffer[3] = 77;
        table.ShowBuffer(buffer);
        QSignalSpy edited(&table, &I2cTable::elementEdited);
        QSignalSpy refused(&table, &I2cTable::editRefused);
        auto cell = [&table](int element) {
            return table.item((element - 1) / I2cTable::kColumns,
                              (element - 1) % I2cTable::kColumns);
        };
        for (const char* text : {"300", "-1", "abc", "2.5"}) {
            cell(3)->setText(text);
            QCOMPARE(table.cellText(3), QString("77"));
        }
        QCOMPARE(refused.count(), 4);
        QVERIFY(table.lastRefusal().contains("255"));
        QCOMPARE(edited.count(), 0);
        cell(3)->setText(" 255 ");
        QCOMPARE(edited.count(), 1);
        QCOMPARE(edited.at(0).at(1).toInt(), 255);
        cell(3)->setText("256");  // the value accepted last comes back
        QCOMPARE(table.cellText(3), QString("255"));
    }

    // The window tests meet the other states in a run.
    void runStateTextsAndSpeed() {
        QCOMPARE(RunStatusLine::StateText(RunStatus{1, 20, false, true, 5}),
                 QString("Ждёт ввода с последовательного порта"));
        QCOMPARE(RunStatusLine::StateText(RunStatus{37, 412}), QString("Ошибка 37 в 412"));

        // The speed: instructions over the last second of frames; none while waiting.
        RunStatusLine line;
        line.Note(1000, RunStatus{1, 1, false, false, 0});
        line.Note(1500, RunStatus{1, 1, false, false, 1000});
        QCOMPARE(line.speed(), 2000.0);
        line.Note(4000, RunStatus{1, 1, false, false, 4000});
        QCOMPARE(line.speed(), 1200.0);  // the oldest sample dropped: 3000 over 2.5 s
        line.Note(4100, RunStatus{1, 20, true, false, 5});  // waiting for a key
        QCOMPARE(line.speed(), 0.0);
    }

    // The status line and the display history follow a run; a new run starts
    // the history afresh.
    void statusLineAndDisplayHistoryFollowTheRun() {
        EmulatorWindows windows(nullptr, nullptr, nullptr);
        auto compiled = Compile(kTwoWaits);
        windows.OpenEmulator(*compiled, EmulatorStart::AfterRun);
        FrmTest* window = windows.emulatorWindow();
        ZR_WAIT_LINE1(window, "ZR-7340 vers.B01");
        QTRY_COMPARE_WITH_TIMEOUT(window->runStateText(), QString("Остановлена"), kWorkerTimeout);
        ClickKey(*window, 1);
        ZR_WAIT_PROMPT(window);
        ClickKey(*window, kKeyEnter);
        ZR_WAIT_LINE1(window, "First");
        QTRY_COMPARE_WITH_TIMEOUT(window->runStateText(), QString("Ждёт нажатия клавиши"),
                                  kWorkerTimeout);
        QVERIFY(window->instructionCountText().contains(QRegularExpression("[1-9]")));
        ClickKey(*window, 0);
        ZR_WAIT_LINE1(window, "Second");
        ClickKey(*window, 0);
        ZR_WAIT_PROMPT(window);  // End: the prompt overwrote "Second"
        QTRY_COMPARE_WITH_TIMEOUT(window->runStateText(), QString("Остановлена"), kWorkerTimeout);
        QTRY_VERIFY_WITH_TIMEOUT(HistoryText(*window).contains("|Second"), kWorkerTimeout);
        const QStringList lines = HistoryText(*window).split('\n');
        QVERIFY(lines.first().contains("|ZR-7340 vers.B01|Kelto vers.03   |") ||
                lines.first().contains("|                |"));
        const int first = lines.indexOf(QRegularExpression(".*\\|First.*"));
        const int second = lines.indexOf(QRegularExpression(".*\\|Second.*"));
        QVERIFY(first >= 0 && second > first);
        QVERIFY(lines.last().contains("|Adres\\Enter?"));
        // The counts grow with the screens.
        auto count = [&lines](int i) {
            return lines[i].section('|', 0, 0).trimmed().toULongLong();
        };
        QVERIFY(count(second) > count(first));

        // A new compile while open is a new run: the old screens go.
        auto other = Compile("! [1,1,clr] \"Other\"\n-1 Wait\n");
        windows.OpenEmulator(*other, EmulatorStart::AfterRun);
        ZR_WAIT_PROMPT(window);
        QTRY_VERIFY_WITH_TIMEOUT(!HistoryText(*window).contains("|First"), kWorkerTimeout);
        // ... and its count starts at 0.
        QTRY_COMPARE_WITH_TIMEOUT(window->instructionCountText(), QString("Команд: 0"),
                                  kWorkerTimeout);
        windows.EndEmulator();
    }

    void displayHistoryPaneKeepsTheLastScreensOnly() {
        DisplayHistoryPane pane;
        std::deque<zr::emulator::DisplayScreen> screens;
        for (int i = 0; i < 6000; ++i)
            screens.push_back({static_cast<std::uint64_t>(i), std::to_string(i), "x"});
        pane.Append(screens);
        pane.Append(screens);
        QCOMPARE(pane.screenCount(), static_cast<int>(zr::emulator::DisplayHistory::kMaxScreens));
        QCOMPARE(DisplayHistoryPane::ScreenLine({42, "ab", "cd"}), QString("        42  |ab|cd|"));
        pane.selectAll();
        pane.copy();  // read-only, yet copyable
        QVERIFY(QGuiApplication::clipboard()->text().endsWith("5999|x|"));
        pane.Restart();
        QCOMPARE(pane.screenCount(), 0);
    }

    // The pane keeps the newest screen in view, also when it was filled in a
    // hidden tab, until the user scrolls back; scrolled to the end, it follows
    // again.
    void displayHistoryPaneFollowsTheNewestScreen() {
        QMainWindow window;  // tabbed docks, as in the emulator window
        auto* other = new QDockWidget("other");
        other->setWidget(new QWidget);
        auto* history = new QDockWidget("history");
        auto* pane = new DisplayHistoryPane;
        history->setWidget(pane);
        window.addDockWidget(Qt::BottomDockWidgetArea, other);
        window.tabifyDockWidget(other, history);
        other->raise();
        window.resize(400, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto screens = [](int from) {
            std::deque<zr::emulator::DisplayScreen> list;
            for (int i = from; i < from + 100; ++i)
                list.push_back({static_cast<std::uint64_t>(i), std::to_string(i), "x"});
            return list;
        };
        QScrollBar* bar = pane->verticalScrollBar();
        auto atEnd = [bar] { return bar->maximum() > 0 && bar->value() == bar->maximum(); };
        pane->Append(screens(0));  // while hidden
        history->raise();
        QTRY_VERIFY(atEnd());
        pane->Append(screens(100));
        QTRY_VERIFY(atEnd());
        bar->setValue(0);  // the user reads back
        pane->Append(screens(200));
        QTest::qWait(20);
        QCOMPARE(bar->value(), 0);
        bar->setValue(bar->maximum());
        pane->Append(screens(300));
        QTRY_VERIFY(atEnd());
    }

    void startProgramStartsAtAddressOneFromTheGreetingThePromptAndARun() {
        EmulatorWindows windows(nullptr, nullptr, nullptr);
        auto compiled = Compile(kTwoWaits);
        windows.OpenEmulator(*compiled, EmulatorStart::AfterRun);
        FrmTest* window = windows.emulatorWindow();
        ZR_WAIT_LINE1(window, "ZR-7340 vers.B01");
        QTRY_VERIFY_WITH_TIMEOUT(HistoryText(*window).contains("Kelto"), kWorkerTimeout);
        const int greetings = HistoryText(*window).count("|ZR-7340 vers.B01");
        QAction* start = window->findChild<QAction*>("mnuStartProgram");
        QVERIFY(start);
        QCOMPARE(start->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F5));
        start->trigger();  // from the greeting
        ZR_WAIT_LINE1(window, "First");

        ClickKey(*window, 0);
        ZR_WAIT_LINE1(window, "Second");
        start->trigger();  // from a program waiting for a key
        ZR_WAIT_LINE1(window, "First");
        ClickKey(*window, 0);
        ZR_WAIT_LINE1(window, "Second");
        ClickKey(*window, 0);
        ZR_WAIT_PROMPT(window);
        ClickKey(*window, 5);  // an address half typed at the prompt does not count
        QTRY_VERIFY_WITH_TIMEOUT(window->displayLine(2).contains('5'), kWorkerTimeout);
        start->trigger();
        ZR_WAIT_LINE1(window, "First");
        // The start's own greeting and prompt stay out of the history.
        QTRY_VERIFY_WITH_TIMEOUT(HistoryText(*window).contains("|First"), kWorkerTimeout);
        QCOMPARE(HistoryText(*window).count("|ZR-7340 vers.B01"), greetings);
        windows.EndEmulator();
    }
};

QTEST_MAIN(EmulatorGlanceTest)
#include "emulator_glance_test.moc"
