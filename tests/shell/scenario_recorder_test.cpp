// Recording a scenario in the emulator window: record a session, replay the
// written scenario on the headless device, and it passes; a changed
// expectation then fails at its line.
#include "shell/device/scenario_recorder.h"

#include <QAction>
#include <QTemporaryDir>
#include <QtTest>

#include "emulator_test_support.h"
#include "shell/device/scenario_pane.h"
#include "shell_test_support.h"

using namespace zr::shell;
using namespace zr::shell::testing;

namespace {

const char* kSquare = "DimS x\nCls\n? \"Number?\"\n-> x\nx Dup * PrtX\n0 Wait\nEnd\n";

}  // namespace

class ScenarioRecorderTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir folder_;
    QString P(const QString& name) const { return folder_.filePath(name); }

  private slots:
    void aRecordedSessionReplaysAndPasses() {
        WriteBytes(P("prog.txt"), kSquare);
        EmulatorWindows windows(nullptr, nullptr, nullptr);
        const auto compiled = Compile(kSquare);
        windows.OpenEmulator(*compiled, EmulatorStart::AfterRun);
        FrmTest* window = windows.emulatorWindow();
        ZR_WAIT_LINE1(window, "ZR-7340 vers.B01");

        ScenarioRecorder* recorder = window->recorder();
        recorder->programPath = [this] { return P("prog.txt"); };
        recorder->askFileName = [this] { return P("square.scn.yaml"); };
        window->findChild<QAction*>("mnuRecordScenario")->trigger();
        QVERIFY(recorder->recording());
        // The program starts at address 1 at once.
        QTRY_VERIFY_WITH_TIMEOUT(window->displayLine(1).startsWith("Number?"), kWorkerTimeout);
        ClickKey(*window, 3);
        QTRY_VERIFY_WITH_TIMEOUT(window->displayLine(2).contains('3'), kWorkerTimeout);
        ClickKey(*window, kKeyEnter);
        QTRY_COMPARE_WITH_TIMEOUT(window->displayLine(2).trimmed(), QString("9"), kWorkerTimeout);
        window->findChild<QAction*>("mnuRecordScenario")->trigger();
        QVERIFY(!recorder->recording());

        const QString yaml = QString::fromUtf8(ReadBytes(P("square.scn.yaml")));
        QVERIFY2(yaml.contains("program: \"prog.txt\"") && yaml.contains("  - press: 3\n") &&
                     yaml.contains("\"9\"]"),
                 qPrintable(yaml));
        const ScenarioMark replay =
            RunScenarioFile(P("square.scn.yaml"), {std::string(ZR_SOURCE_DIR) + "/libraries"});
        QVERIFY2(replay.passed, qPrintable(QString("%1: %2").arg(replay.line).arg(replay.summary)));

        // The recorded expectations are checked: another result fails.
        QString edited = yaml;
        edited.replace("\"9\"]", "\"10\"]");
        WriteBytes(P("edited.scn.yaml"), edited.toUtf8());
        QVERIFY(!RunScenarioFile(P("edited.scn.yaml"), {}).passed);
    }
};

QTEST_MAIN(ScenarioRecorderTest)
#include "scenario_recorder_test.moc"
