// The "Тесты" pane: it lists the scenarios beside the current source, runs
// them off the window's thread, marks each, and a failure double-clicked
// opens the scenario in the editor at the failing step's line.
#include "shell/device/scenario_pane.h"

#include <QDockWidget>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>

#include "shell/editor/source_editor.h"
#include "shell_test_support.h"

using namespace zr::shell;
using namespace zr::shell::testing;

namespace {

const char* kSquare = "DimS x\nCls\n? \"Number?\"\n-> x\nx Dup * PrtX\n0 Wait\nEnd\n";

QByteArray ScenarioFor(const char* result) {
    return QByteArray(
               "program: prog.txt\nsteps:\n  - press: [enter, enter, 3, enter]\n"
               "  - expect-display: ['Number?       aD', '") +
           result + "']\n";
}

}  // namespace

class ScenarioPaneTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir folder_;
    QString P(const QString& name) const { return folder_.filePath(name); }

  private slots:
    void init() {
        WriteBytes(P("prog.txt"), kSquare);
        WriteBytes(P("prog.scn.yaml"), ScenarioFor("9"));
        WriteBytes(P("prog-wrong.scn.yaml"), ScenarioFor("10"));
        WriteBytes(P("other.scn.yaml"), ScenarioFor("9"));
    }

    void listsTheScenariosOfTheSourceOnly() {
        ScenarioPane pane({});
        pane.setSource(P("prog.txt"));
        QCOMPARE(pane.scenarioFiles(), QStringList({P("prog-wrong.scn.yaml"), P("prog.scn.yaml")}));
        pane.setSource(QString());
        QVERIFY(pane.scenarioFiles().isEmpty());
    }

    void runsAllOffTheWindowThreadAndMarksEach() {
        ScenarioPane pane({});
        pane.setSource(P("prog.txt"));
        QSignalSpy finished(&pane, &ScenarioPane::runFinished);
        pane.runAll();
        // The marks come back through the event loop: none is there yet.
        QCOMPARE(pane.list()->item(0)->text(), QString("prog-wrong.scn.yaml"));
        QVERIFY(finished.wait(10000));
        QVERIFY2(
            pane.list()->item(0)->text().startsWith("✗ prog-wrong.scn.yaml:4 — expect-display"),
            qPrintable(pane.list()->item(0)->text()));
        QCOMPARE(pane.list()->item(1)->text(), QString("✓ prog.scn.yaml"));
        QVERIFY(!pane.busy());
    }

    void aFailureDoubleClickedAsksForItsLine() {
        ScenarioPane pane({});
        pane.setSource(P("prog.txt"));
        QSignalSpy finished(&pane, &ScenarioPane::runFinished);
        pane.runAll();
        QVERIFY(finished.wait(10000));
        QSignalSpy open(&pane, &ScenarioPane::openScenarioAt);
        emit pane.list()->itemDoubleClicked(pane.list()->item(1));  // passed: nothing to open
        QCOMPARE(open.count(), 0);
        emit pane.list()->itemDoubleClicked(pane.list()->item(0));
        QCOMPARE(open.count(), 1);
        QCOMPARE(open[0][0].toString(), P("prog-wrong.scn.yaml"));
        QCOMPARE(open[0][1].toInt(), 4);
    }

    void theMainWindowsPaneFollowsItsFileAndOpensAFailure() {
        TestWindow test;
        ScenarioPane* pane = ScenarioPane::InstallInto(*test.window);
        test.window->show();
        auto* dock = test.window->findChild<QDockWidget*>("scenarioDock");
        QVERIFY(!dock->isVisible());  // a new text has no scenarios: no room taken
        QVERIFY(test.window->LoadFile(P("prog.txt")));
        QCOMPARE(pane->scenarioFiles().size(), 2);
        QVERIFY(dock->isVisible());
        test.prompts->confirmAnswers.push_back(true);  // a scenario is no Kelto source
        emit pane->openScenarioAt(P("prog-wrong.scn.yaml"), 4);
        QCOMPARE(test.window->currentFileName(), P("prog-wrong.scn.yaml"));
        QCOMPARE(test.editor()->textCursor().blockNumber(), 3);
        QVERIFY(test.editor()->textCursor().block().text().contains("expect-display"));
    }
};

QTEST_MAIN(ScenarioPaneTest)
#include "scenario_pane_test.moc"
