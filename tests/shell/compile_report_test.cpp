// The compile report window (bars, the busy text, the countdown that closes
// it) and the start-up splash that hides itself.
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <QTimer>

#include "compiler/compiler.h"
#include "compiler/source_text.h"
#include "shell/main_window/frm_paport_compiler.h"
#include "shell/main_window/frm_splash.h"

namespace zr::shell::testing {

namespace {

compiler::MemoryReport ReportOf(const QString& source) {
    compiler::Compiler compiler;
    compiler.CompileSource(compiler::ToCompilerText(source.toStdString()));
    return compiler::MakeMemoryReport(compiler);
}

int BarValue(const QDialog& window, const char* name) {
    return window.findChild<QProgressBar*>(name)->value();
}

}  // namespace

class CompileReportTest : public QObject {
    Q_OBJECT

  private slots:
    void barsAndBusyTextShowTheReport() {
        QString singles;
        for (int i = 1; i <= 32; ++i) singles += QString("DimS s%1\n").arg(i);
        const char* bars[] = {"ProgressBar1", "ProgressBar3", "ProgressBar4", "ProgressBar5"};
        struct Case {
            compiler::MemoryReport report;
            std::vector<int> values;  // of the bars above
            const char* busy;
        } cases[] = {
            {ReportOf(""), {1, 0, 7, 0}, "busy  0% of memory"},  // the predeclared integers
            {{121, 5, 9, 3}, {121, 5, 9, 3}, "busy  11% of memory"},
            {{1025, 0, 7, 0}, {1024, 0, 7, 0}, "busy  100% of memory"},
            {ReportOf(singles), {-1, -1, -1, 32}, nullptr},  // thirty singles and two fill it
        };
        for (const Case& c : cases) {
            FrmPaportCompiler window(c.report);
            for (int bar = 0; bar < 4; ++bar)
                if (c.values[bar] >= 0) QCOMPARE(BarValue(window, bars[bar]), c.values[bar]);
            if (c.busy) QCOMPARE(window.findChild<QLabel*>("Label1")->text(), QString(c.busy));
        }
    }

    void closesItselfAfterThirtyTicksOfAboutATenthOfASecond() {
        FrmPaportCompiler window({1, 0, 7, 0});
        window.show();
        // Its own timer ticks every tenth of a second; the ticks are driven
        // here so the test does not wait the three seconds.
        auto* timer = window.findChild<QTimer*>();
        QVERIFY(timer && timer->isActive());
        QCOMPARE(timer->interval(), 100);
        for (int i = 1; i < 30; ++i) window.tick();
        QVERIFY(window.isVisible());
        QCOMPARE(BarValue(window, "ProgressBar2"), 29);
        window.tick();
        QVERIFY(!window.isVisible());
        QCOMPARE(window.ticks(), 30);
        QCOMPARE(BarValue(window, "ProgressBar2"), 30);
        QCOMPARE(window.result(), int(QDialog::Accepted));
    }

    void splashHidesItselfOnTheSixthTick() {
        QWidget owner;
        FrmSplash splash(&owner);
        QVERIFY(splash.isModal());
        splash.show();
        for (int i = 1; i < FrmSplash::kTicksShown; ++i) splash.tick();
        QVERIFY(splash.isVisible());
        splash.tick();
        QVERIFY(!splash.isVisible());
    }
};

}  // namespace zr::shell::testing

QTEST_MAIN(zr::shell::testing::CompileReportTest)
#include "compile_report_test.moc"
