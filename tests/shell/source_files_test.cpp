// Documents through files and the clipboard: text and colours survive a
// save and an open exactly, Cyrillic included; Copy is rich, Cut and Paste plain.
#include "shell/editor/source_files.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include "compiler/keywords.h"
#include "formats/zrt.h"
#include "shell/editor/document_conversion.h"
#include "shell_test_support.h"

namespace zr::shell::testing {

using namespace compiler::colours;

class SourceFilesTest : public QObject {
    Q_OBJECT

  private slots:
    void savedFileOpensWithTheSameTextAndColours() {
        QTemporaryDir folder;
        const QString path = folder.filePath("round.zrt");
        TestWindow test;
        test.setText("");
        QTest::keyClicks(test.editor(), "?");
        QTest::keyClick(test.editor(), Qt::Key_Space);
        test.editor()->insertPlainText("\"Привет, мир\" ");
        QTest::keyClicks(test.editor(), "dup ");
        QTest::keyClick(test.editor(), Qt::Key_Return);
        QTest::keyClicks(test.editor(), "call ");
        test.editor()->insertPlainText("Метка ");
        const formats::RichText before = test.editor()->richText();

        test.prompts->saveNames = {path};
        QVERIFY(test.window->saveSource());
        QVERIFY(test.window->LoadFile(path));

        QCOMPARE(test.editor()->toPlainText(), QString("? \"Привет, мир\" Dup \nCall Метка "));
        QCOMPARE(test.editor()->richText(), before);
        const std::pair<int, std::uint32_t> colours[] = {
            {0, kOrange}, {16, kBlue}, {21, kGreen}, {26, 0}};
        for (auto [position, colour] : colours)
            QCOMPARE(ColourAt(*test.editor()->document(), position), colour);
    }

    void documentRunsCountCharactersNotUtf16Units() {
        formats::RichText text{"\xF0\x9F\x98\x80 Dup", {{2, 3, kBlue}}};
        QTextDocument document;
        FillDocument(document, text);
        QCOMPARE(ColourAt(document, 3), kBlue);  // UTF-16: the emoji takes two units
        QCOMPARE(ToRichText(document), text);
    }

    void copyIsRichWithColoursCutAndPastePlain() {
        SourceEditor editor;
        QTest::keyClicks(&editor, "x dup ");
        editor.selectAll();
        editor.copyAsRichText();
        const QMimeData* data = QApplication::clipboard()->mimeData();
        const QByteArray rtf = data->data("text/rtf");
        const formats::RichText copied = formats::ReadZrt(std::string_view(rtf.data(), rtf.size()));
        QCOMPARE(copied, (formats::RichText{"x Dup ", {{2, 3, kBlue}}}));
        QVERIFY(data->html().contains("#0000ff", Qt::CaseInsensitive));
        QCOMPARE(data->text(), QString("x Dup "));

        QTest::keyClick(&editor, Qt::Key_End);
        QTest::keyClick(&editor, Qt::Key_Return);
        QTest::keyClicks(&editor, "swap ");
        editor.selectAll();
        editor.cutAsPlainText();
        data = QApplication::clipboard()->mimeData();
        QCOMPARE(data->text(), QString("x Dup \nSwap "));
        QVERIFY(!data->hasHtml());
        QVERIFY(!data->hasFormat("text/rtf"));
        QVERIFY(editor.toPlainText().isEmpty());

        auto* red = new QMimeData;
        red->setHtml("<span style=\"color:#ff0000\">Red</span>");
        red->setText("Red");
        QApplication::clipboard()->setMimeData(red);
        QTest::keyClicks(&editor, "dup ");
        QTest::keyClick(&editor, Qt::Key_Left);  // right after the blue word
        editor.pastePlainText();
        QCOMPARE(editor.toPlainText(), QString("DupRed "));
        QCOMPARE(ColourAt(*editor.document(), 3), 0u);
    }
};

}  // namespace zr::shell::testing

QTEST_MAIN(zr::shell::testing::SourceFilesTest)
#include "source_files_test.moc"
