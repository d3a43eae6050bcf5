// Opening sources and libraries of every size: plain text of 100 to 30,000
// lines through each way in (the command line, Open, the Examples menu and
// "Редактировать библиотеку"), drawn on screen without a crash, in one pass
// over the text.
#include <QMenu>
#include <QProgressDialog>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <functional>

#include "shell/editor/editor_gutter.h"
#include "shell/editor/source_files.h"
#include "shell_test_support.h"

namespace zr::shell::testing {
namespace {

QByteArray Lines(int count, const QByteArray& line) {
    QByteArray text;
    for (int i = 0; i < count; ++i) text += line + "\r\n";
    return text;
}

// The caret line's tint, read off the screen at the caret.
QColor TintAtCaret(SourceEditor& editor) {
    const QImage shot = editor.viewport()->grab().toImage();
    const QRect caret = editor.cursorRect();
    return shot.pixelColor(editor.viewport()->width() - 3, caret.center().y());
}

// Whether the gutter drew the first line's number: dark pixels beside it.
bool GutterShowsFirstNumber(SourceEditor& editor) {
    const QImage shot = editor.gutter()->grab().toImage();
    const int lineHeight = editor.fontMetrics().height();
    for (int y = 0; y < std::min(shot.height(), 2 * lineHeight); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixelColor(x, y).lightness() < 160) return true;
    return false;
}

}  // namespace

class LargeSourcesTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { QVERIFY(folder_.isValid()); }

    void plainSourcesAndLibrariesOfEverySizeOpenAndDraw() {
        using Open = std::function<bool(TestWindow&, const QString&)>;
        const struct {
            const char* way;
            Open open;
        } ways[] = {
            {"command line", [](TestWindow& t, const QString& p) { return t.window->LoadFile(p); }},
            {"Open",
             [](TestWindow& t, const QString& p) {
                 t.prompts->openNames = {p};
                 t.window->openSource();
                 return t.window->currentFileName() == p;
             }},
            {"library",
             [](TestWindow& t, const QString& p) {
                 t.prompts->openNames = {p};
                 t.window->editLibrary();
                 return t.window->currentFileName() == p;
             }},
            {"Examples",
             [](TestWindow& t, const QString& p) {
                 t.window->setExamplesFolder(QFileInfo(p).absolutePath());
                 auto* menu = t.window->findChild<QMenu*>("menuExamples");
                 emit menu->aboutToShow();
                 for (QAction* action : menu->actions())
                     if (action->text() == QFileInfo(p).completeBaseName()) action->trigger();
                 return t.window->currentFileName() == p;
             }},
        };
        const struct {
            int lines;
            QByteArray line;
            const char* suffix;
        } files[] = {{200, "' a comment line", "zrt"},
                     {100, "1 -> a", "zrt"},
                     {1000, "Dup Swap 'comment", "bib"},
                     {30000, "x Dup * PrtX", "zrt"}};
        for (const auto& way : ways) {
            for (const auto& file : files) {
                if (QByteArray(way.way) == "Examples" && QByteArray(file.suffix) != "zrt")
                    continue;  // the menu lists sources only
                const QString name =
                    QString("%1-%2.%3").arg(way.way).arg(file.lines).arg(file.suffix);
                QTemporaryDir own;  // the Examples menu lists a folder
                const QString path = own.filePath(name);
                WriteBytes(path, Lines(file.lines, file.line));
                TestWindow test;
                test.window->resize(700, 500);
                test.window->show();
                QVERIFY(QTest::qWaitForWindowExposed(test.window.get()));
                QVERIFY2(way.open(test, path), qPrintable(name));
                QCOMPARE(test.editor()->document()->blockCount(), file.lines + 1);
                // Drawn as the event loop draws it, at once and at the end,
                // while the document is still being laid out in steps.
                QTest::qWait(1);
                test.window->grab();
                QVERIFY2(GutterShowsFirstNumber(*test.editor()), qPrintable(name));
                test.editor()->moveCursor(QTextCursor::End);
                test.window->grab();
                QCOMPARE(TintAtCaret(*test.editor()), QColor(255, 250, 205));
                test.editor()->moveCursor(QTextCursor::Start);
                QTest::qWait(20);
                test.window->grab();
            }
        }
    }

    // Colouring a whole opened text is one change of the document, so it is
    // laid out once, not once per coloured word.
    void openingIsOneChangeOfTheDocument() {
        const QString path = folder_.filePath("words.zrt");
        WriteBytes(path, Lines(2000, "dup swap \"text\" 'note"));
        TestWindow test;
        QSignalSpy changes(test.editor()->document(), &QTextDocument::contentsChange);
        QVERIFY(test.window->LoadFile(path));
        QVERIFY2(changes.size() <= 3, qPrintable(QString::number(changes.size())));
        QCOMPARE(ColourAt(*test.editor()->document(), 0), compiler::colours::kBlue);
        const int lastLine = test.editor()->document()->lastBlock().previous().position();
        QCOMPARE(ColourAt(*test.editor()->document(), lastLine + 16), kCommentColour);
    }

    // A long load shows its progress; Cancel keeps the text that was there.
    void cancellingALongLoadKeepsTheText() {
        const QString path = folder_.filePath("long.zrt");
        WriteBytes(path, Lines(150000, "Dup Swap"));
        TestWindow test;
        test.setText("Mine\n");
        test.window->setProgressDelay(0);
        bool shown = false;
        QTimer cancel;
        connect(&cancel, &QTimer::timeout, this, [&] {
            if (auto* progress = test.window->findChild<QProgressDialog*>()) {
                shown = true;
                progress->cancel();
            }
        });
        cancel.start(0);
        QVERIFY(!test.window->LoadFile(path));
        QVERIFY(shown);
        QCOMPARE(test.editor()->toPlainText(), QString("Mine\n"));
        QVERIFY(test.window->currentFileName().isEmpty());
        QVERIFY(test.editor()->document()->isModified());
        cancel.stop();
        QVERIFY(test.window->LoadFile(path));  // left alone, it finishes
        QCOMPARE(test.editor()->document()->blockCount(), 150001);
    }

  private:
    QTemporaryDir folder_;
};

}  // namespace zr::shell::testing

QTEST_MAIN(zr::shell::testing::LargeSourcesTest)
#include "large_sources_test.moc"
