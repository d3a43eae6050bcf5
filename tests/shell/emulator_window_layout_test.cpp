// The emulator window's arrangement: the debug panes wide enough to read and
// widening with the window while the device's face keeps its size, and the
// most used debug commands on the toolbar of a narrow window.
#include <QApplication>
#include <QDockWidget>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include "emulator_test_support.h"
#include "shell/debugger/listing_pane.h"
#include "shell/debugger/variables_pane.h"

using namespace zr::shell;

class EmulatorWindowLayoutTest : public QObject {
    Q_OBJECT

  private:
    FrmTest* Open(EmulatorWindows& windows) {
        compiled_ = testing::Compile("1 -> a\n");
        windows.OpenEmulator(*compiled_, EmulatorStart::AfterRun);
        FrmTest* window = windows.emulatorWindow();
        if (window && QTest::qWaitForWindowExposed(window)) return window;
        return nullptr;
    }
    std::unique_ptr<zr::compiler::Compiler> compiled_;

  private slots:
    void debugPanesAreReadableAndTakeTheExtraWidth() {
        EmulatorWindows windows(nullptr, nullptr, nullptr);
        FrmTest* window = Open(windows);
        QVERIFY(window);
        window->resize(1000, 700);
        QTest::qWait(50);
        auto* variables = window->findChild<VariablesPane*>();
        auto* listing = window->findChild<ListingPane*>();
        const int readable = window->fontMetrics().averageCharWidth() * 26;
        QVERIFY2(variables->width() >= readable, qPrintable(QString::number(variables->width())));
        QVERIFY(listing->width() >= readable);
        // The narrow column holds no tabs to cut: the call stack and the
        // breakpoints are tabs below, beside the console.
        auto* console = window->findChild<QDockWidget*>("serialDock");
        for (const char* name : {"callStackDock", "breakpointsDock"}) {
            auto* dock = window->findChild<QDockWidget*>(name);
            QVERIFY2(window->tabifiedDockWidgets(console).contains(dock), name);
        }

        const int faceBefore = window->centralWidget()->width();
        const int paneBefore = variables->width();
        window->resize(1600, 1000);
        QTRY_VERIFY(variables->width() > paneBefore);
        auto* line1 = window->findChild<QLineEdit*>("Text1_1");
        QCOMPARE(line1->font().pointSizeF(), 33.0);
        // The pane took most of the 600 pixels, the face at most a quarter more.
        QVERIFY2(variables->width() - paneBefore > 300,
                 qPrintable(QString("%1 -> %2").arg(paneBefore).arg(variables->width())));
        // The face grew by at most a quarter.
        const int faceAfter = window->centralWidget()->width();
        QVERIFY2(faceAfter <= faceBefore * 5 / 4,
                 qPrintable(QString("%1 -> %2").arg(faceBefore).arg(faceAfter)));

        // Narrower than it opens (beside the main window), the display's
        // characters shrink and the panes stay readable.
        window->resize(860, 700);
        QTRY_COMPARE(line1->font().pointSizeF(), 20.0);
        QTRY_VERIFY2(variables->width() >= readable,
                     qPrintable(QString::number(variables->width())));
    }

    void aNarrowWindowKeepsTheMainDebugCommandsOnTheToolbar() {
        EmulatorWindows windows(nullptr, nullptr, nullptr);
        FrmTest* window = Open(windows);
        QVERIFY(window);
        auto* run = window->findChild<QToolBar*>("runToolbar");
        auto* debug = window->findChild<QToolBar*>("debugToolbar");
        window->resize(run->sizeHint().width() + debug->sizeHint().width() + 40, 700);
        QTRY_COMPARE(run->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);

        window->resize(debug->sizeHint().width() * 3 / 4, 700);
        QTRY_COMPARE(run->toolButtonStyle(), Qt::ToolButtonIconOnly);
        for (const char* name : {"mnuContinue", "mnuPause", "mnuStepInto", "mnuStepOver"}) {
            QWidget* button = debug->widgetForAction(window->findChild<QAction*>(name));
            QVERIFY2(button && button->isVisible(), name);
        }
    }
};

// A 1600x1000 screen, as the window is checked on, instead of the offscreen
// platform's 800x600 (too narrow for the panes' own column).
int main(int argc, char** argv) {
    QTemporaryDir folder;
    const QString config = folder.filePath("screen.json");
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) return 2;
    file.write(R"({"screens": [{"name": "wide", "x": 0, "y": 0, "width": 1600, "height": 1000,
                  "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
    QApplication app(argc, argv);
    EmulatorWindowLayoutTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "emulator_window_layout_test.moc"
