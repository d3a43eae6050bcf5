// F1 outside the editor: each window of the environment opens the help page
// that describes it, and the main window keeps F1 for the word at the caret.
#include "shell/help/window_help_key.h"

#include <QDir>
#include <QHelpEngine>
#include <QLineEdit>
#include <QTextEdit>
#include <QtTest>

#include "compiler/memory_report.h"
#include "shell/debugger/frm_trac.h"
#include "shell/editor/find_replace_dialog.h"
#include "shell/help/help_location.h"
#include "shell/help/help_topics.h"
#include "shell/help/help_viewer.h"
#include "shell/main_window/frm_paport_compiler.h"

using zr::shell::HelpTopics;
using zr::shell::HelpViewer;
using zr::shell::WindowHelpKey;

class WindowHelpKeyTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        qputenv(zr::shell::HelpLocation::kFolderVariable.toUtf8(), QByteArray(ZR_HELP_DIR));
    }

    void eachWindowHasItsPage() {
        QTextEdit editor;
        zr::shell::FindReplaceDialog find(&editor, nullptr);
        zr::shell::FrmTrac trace;
        zr::shell::FrmPaportCompiler report(zr::compiler::MemoryReport{});
        QWidget emulator;
        emulator.setObjectName("frmTest");
        QWidget main;
        main.setObjectName("frmMain");
        auto* field = new QLineEdit(&emulator);  // a control inside counts for its window

        const std::pair<QWidget*, const char*> cases[] = {{&find, "find-replace.html"},
                                                          {&trace, "trace-window.html"},
                                                          {&report, "compile-report.html"},
                                                          {&emulator, "emulator-window.html"},
                                                          {field, "emulator-window.html"},
                                                          {&main, ""},
                                                          {&editor, ""}};
        HelpViewer viewer(zr::shell::HelpLocation::CollectionFile(), nullptr);
        QVERIFY(viewer.hasHelp());
        const HelpTopics topics(*viewer.engine());
        for (const auto& [widget, page] : cases) {
            const QString topic = WindowHelpKey::TopicFor(widget);
            QCOMPARE(topic.isEmpty(), QString(page).isEmpty());
            if (!topic.isEmpty()) QCOMPARE(topics.topicFor(topic).fileName(), QString(page));
        }
        QVERIFY(WindowHelpKey::TopicFor(nullptr).isEmpty());
    }

    void f1InAWindowOpensItsPage() {
        WindowHelpKey helpKey(nullptr);
        zr::shell::FrmTrac trace;
        auto* field = trace.findChild<QLineEdit*>("Text1");
        QVERIFY(field);
        QTest::keyClick(field, Qt::Key_F1);
        QVERIFY(HelpViewer::Instance());
        QCOMPARE(HelpViewer::Instance()->currentPage().fileName(), QString("trace-window.html"));
        // Typed text is left alone.
        QTest::keyClick(field, Qt::Key_A);
        QCOMPARE(field->text(), QString("a"));
        delete HelpViewer::Instance();
    }
};

QTEST_MAIN(WindowHelpKeyTest)
#include "window_help_key_test.moc"
