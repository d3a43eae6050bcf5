// Plain-text .kel sources: opened like any source and coloured as typed,
// saved back as UTF-8 plain text (never RTF), offered by Open and Save As.
#include <QTemporaryDir>
#include <QTest>

#include "shell/editor/source_files.h"
#include "shell_test_support.h"

namespace zr::shell::testing {

class PlainSourcesTest : public QObject {
    Q_OBJECT

  private slots:
    void kelOpensColouredAndSavesAsPlainUtf8() {
        QTemporaryDir folder;
        const QString path = folder.filePath("prog.kel");
        // Cyrillic and a character beyond U+FFFF in a comment, CR LF line ends.
        const QByteArray text = "' Счёт \xF0\x9F\x98\x80\r\ndup\r\nEnd\r\n";
        WriteBytes(path, text);
        TestWindow test(folder.path());
        QVERIFY(test.window->LoadFile(path));
        QCOMPARE(test.editor()->toPlainText(), QString::fromUtf8(text).remove(u'\r'));
        const int end = test.editor()->toPlainText().indexOf("End");
        QCOMPARE(ColourAt(*test.editor()->document(), end), 0xFF0000u);  // coloured as if typed

        test.editor()->moveCursor(QTextCursor::End);
        test.editor()->insertPlainText("Cls\n");
        QVERIFY(test.window->saveSource());
        QCOMPARE(ReadBytes(path), QString::fromUtf8(text).remove(u'\r').toUtf8() + "Cls\n");
        QVERIFY(test.prompts->saveDialogs.empty());  // its own name, no question
    }

    void saveAsOffersBothFormsAndTheNameDecides() {
        QTemporaryDir folder;
        TestWindow test(folder.path());
        test.setText("Dup\n");
        test.prompts->saveNames = {folder.filePath("a.kel"), folder.filePath("b.zrt")};
        QVERIFY(test.window->saveSourceAs());
        QCOMPARE(test.prompts->saveDialogs.at(0).filter, QString("*.zrt;;*.kel"));
        QCOMPARE(ReadBytes(folder.filePath("a.kel")), QByteArray("Dup\n"));
        // Now a .kel file: Save As offers .kel first.
        QVERIFY(test.window->saveSourceAs());
        QCOMPARE(test.prompts->saveDialogs.at(1).filter, QString("*.kel;;*.zrt"));
        QVERIFY(ReadBytes(folder.filePath("b.zrt")).startsWith("{\\rtf"));
    }

    void onlyKelPathsArePlain() {
        const std::pair<const char*, bool> cases[] = {
            {"/p/a.kel", true},      {"/p/A.KEL", true}, {"/p/a.zrt", false},
            {"/p/a.kel.zrt", false}, {"/p/kel", false},  {"/p/a.bib", false},
        };
        for (const auto& [path, plain] : cases) QCOMPARE(IsPlainSourcePath(path), plain);
    }
};

}  // namespace zr::shell::testing

QTEST_MAIN(zr::shell::testing::PlainSourcesTest)
#include "plain_sources_test.moc"
