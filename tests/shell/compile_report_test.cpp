// The compile report window (bars, the busy text, the countdown that closes
// it) and the start-up splash that hides itself.
#include <QLabel>
#include <QProgressBar>
#include <QTest>

#include "compiler/compiler.h"
#include "compiler/source_text.h"
#include "shell/frm_paport_compiler.h"
#include "shell/frm_splash.h"

namespace zr::shell::testing {

namespace {

compiler::MemoryReport ReportOf(const char* source) {
    compiler::Compiler compiler;
    compiler.CompileSource(compiler::ToCompilerText(source));
    return compiler::MakeMemoryReport(compiler);
}

int BarValue(const QDialog& window, const char* name) {
    return window.findChild<QProgressBar*>(name)->value();
}

int BarMaximum(const QDialog& window, const char* name) {
    return window.findChild<QProgressBar*>(name)->maximum();
}

}  // namespace

class CompileReportTest : public QObject {
    Q_OBJECT

  private slots:
    void emptyProgramShowsZeroPercentAndThePredeclaredIntegers();
    void barsHaveTheirAreasMaximaAndValues();
    void fullMemoryShowsAFullBarAndAHundredPercent();
    void thirtySinglesAndTwoFillTheSingleBar();
    void closesItselfOnTheThirtiethTick();
    void closesItselfAfterAboutThreeSeconds();
    void splashHidesItselfOnTheSixthTick();
};

void CompileReportTest::emptyProgramShowsZeroPercentAndThePredeclaredIntegers() {
    FrmPaportCompiler window(ReportOf(""));
    QCOMPARE(window.findChild<QLabel*>("Label1")->text(), QString("busy  0% of memory"));
    QCOMPARE(BarValue(window, "ProgressBar1"), 1);
    QCOMPARE(BarValue(window, "ProgressBar4"), 7);
    QCOMPARE(BarValue(window, "ProgressBar3"), 0);
    QCOMPARE(BarValue(window, "ProgressBar5"), 0);
}

void CompileReportTest::barsHaveTheirAreasMaximaAndValues() {
    FrmPaportCompiler window({121, 5, 9, 3});
    QCOMPARE(BarMaximum(window, "ProgressBar1"), 1024);
    QCOMPARE(BarMaximum(window, "ProgressBar3"), 97);
    QCOMPARE(BarMaximum(window, "ProgressBar4"), 128);
    QCOMPARE(BarMaximum(window, "ProgressBar5"), 32);
    QCOMPARE(BarMaximum(window, "ProgressBar2"), 31);
    QCOMPARE(BarValue(window, "ProgressBar1"), 121);
    QCOMPARE(BarValue(window, "ProgressBar3"), 5);
    QCOMPARE(BarValue(window, "ProgressBar4"), 9);
    QCOMPARE(BarValue(window, "ProgressBar5"), 3);
    QCOMPARE(window.findChild<QLabel*>("Label1")->text(), QString("busy  11% of memory"));
}

void CompileReportTest::fullMemoryShowsAFullBarAndAHundredPercent() {
    FrmPaportCompiler window({1025, 0, 7, 0});
    QCOMPARE(BarValue(window, "ProgressBar1"), 1024);
    QCOMPARE(window.findChild<QLabel*>("Label1")->text(), QString("busy  100% of memory"));
}

void CompileReportTest::thirtySinglesAndTwoFillTheSingleBar() {
    QString declarations;
    for (int i = 1; i <= 32; ++i) declarations += QString("DimS s%1\n").arg(i);
    FrmPaportCompiler window(ReportOf(declarations.toUtf8().constData()));
    QCOMPARE(BarValue(window, "ProgressBar5"), 32);
}

void CompileReportTest::closesItselfOnTheThirtiethTick() {
    FrmPaportCompiler window({1, 0, 7, 0});
    window.show();
    for (int i = 1; i < FrmPaportCompiler::kTicksBeforeClosing; ++i) window.tick();
    QVERIFY(window.isVisible());
    QCOMPARE(BarValue(window, "ProgressBar2"), 29);
    window.tick();
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Accepted));
    QCOMPARE(BarValue(window, "ProgressBar2"), 30);
}

void CompileReportTest::closesItselfAfterAboutThreeSeconds() {
    FrmPaportCompiler window({1, 0, 7, 0});
    QElapsedTimer clock;
    clock.start();
    window.show();
    QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), 6000);
    QVERIFY(clock.elapsed() >= 2900);
    QCOMPARE(window.ticks(), 30);
}

void CompileReportTest::splashHidesItselfOnTheSixthTick() {
    QWidget owner;
    FrmSplash splash(&owner);
    QVERIFY(splash.isModal());
    splash.show();
    for (int i = 1; i < FrmSplash::kTicksShown; ++i) splash.tick();
    QVERIFY(splash.isVisible());
    splash.tick();
    QVERIFY(!splash.isVisible());
}

}  // namespace zr::shell::testing

QTEST_MAIN(zr::shell::testing::CompileReportTest)
#include "compile_report_test.moc"
