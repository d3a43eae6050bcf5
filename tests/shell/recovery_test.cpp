// Unsaved text survives the environment's end: the recovery file is written
// soon after typing stops, removed once the text is saved or given up, offered
// at the next start, and kept when a signal closes the window.
#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

#include "shell/editor/document_recovery.h"
#include "shell/editor/recovery_files.h"
#include "shell/main_window/termination_signals.h"
#include "shell_test_support.h"

namespace zr::shell::testing {

class RecoveryTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        QVERIFY(state_.isValid());
        qputenv("XDG_STATE_HOME", state_.path().toUtf8());
        QDir(RecoveryFolder()).removeRecursively();
    }

    void typedTextIsKeptUntilSavedOrGivenUp() {
        const QString path = QDir(state_.path()).filePath("mine.zrt");
        TestWindow test;
        test.window->recovery().setQuietMilliseconds(100);
        const QString file = test.window->recoveryFile();
        QVERIFY(file.startsWith(RecoveryFolder()));
        QTest::keyClicks(test.editor(), "dup ");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(file), DocumentRecovery::kQuietMilliseconds + 3000);
        std::optional<RecoveredDocument> kept = ReadRecoveryFile(file);
        QVERIFY(kept);
        QCOMPARE(QString::fromStdString(kept->text.text), test.editor()->toPlainText());
        QVERIFY(kept->originalPath.isEmpty());

        // Saved: gone. Changed again: back, now naming its file.
        test.prompts->saveNames = {path};
        QVERIFY(test.window->saveSource());
        QVERIFY(!QFile::exists(file));
        QTest::keyClicks(test.editor(), "swap ");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(file), DocumentRecovery::kQuietMilliseconds + 3000);
        QCOMPARE(ReadRecoveryFile(file)->originalPath, path);

        // Closed without saving: the user gave the text up.
        test.prompts->unsavedChoices = {UnsavedChoice::Discard};
        QVERIFY(test.window->close());
        QVERIFY(!QFile::exists(file));
    }

    void aSignalClosesWithoutQuestionsAndKeepsTheText() {
        TestWindow test;
        test.window->show();
        QTest::keyClicks(test.editor(), "unsaved");  // no pause: written on close
        TerminationSignals termination;
        QSignalSpy requested(&termination, &TerminationSignals::terminationRequested);
        ::raise(SIGTERM);
        QVERIFY(requested.wait(2000));
        QCOMPARE(requested.at(0).at(0).toInt(), SIGTERM);
        test.window->CloseWithoutQuestions();
        QVERIFY(!test.window->isVisible());
        QCOMPARE(test.prompts->unsavedQuestions, 0);
        const QString file = test.window->recoveryFile();
        test.window.reset();  // the environment ends
        QVERIFY(QFile::exists(file));
        QVERIFY(QString::fromStdString(ReadRecoveryFile(file)->text.text).contains("unsaved"));
    }

    void leftoverFilesAreOfferedAtTheNextStart() {
        const QDateTime when = QDateTime::fromString("2026-12-01T10:20:30Z", Qt::ISODate);
        auto plant = [&](const QString& name, const QString& original, const char* text) {
            const QString file = QDir(RecoveryFolder()).filePath(name + ".zrec");
            WriteRecoveryFile(file, {original, when, {text, {}}}, nullptr);
            return file;
        };
        const QString later = plant("a", "/work/later.zrt", "Later\n");
        const QString removed = plant("b", "", "Removed\n");
        const QString restored = plant("c", "/work/lamp.zrt", "Dup Swap\n");
        QVERIFY(QFile::exists(later) && QFile::exists(removed) && QFile::exists(restored));
        TestWindow test;
        const QString own = test.window->recoveryFile();
        using enum RecoveryChoice;
        test.prompts->recoveryChoices = {Later, Delete, Restore};
        test.window->OfferRecoveredDocuments();
        QCOMPARE(test.prompts->recoveryQuestions,
                 QStringList({"/work/later.zrt", "новый текст", "/work/lamp.zrt"}));
        QVERIFY(QFile::exists(later));
        QVERIFY(!QFile::exists(removed));
        QVERIFY(!QFile::exists(restored));
        QCOMPARE(test.editor()->toPlainText(), QString("Dup Swap\n"));
        QCOMPARE(test.window->currentFileName(), QString("/work/lamp.zrt"));
        QVERIFY(test.editor()->document()->isModified());
        QVERIFY(QFile::exists(own));  // the restored text is this window's now

        // A second environment does not offer the first one's file.
        TestWindow second;
        second.window->OfferRecoveredDocuments();
        QCOMPARE(second.prompts->recoveryQuestions, QStringList({"/work/later.zrt"}));
    }

    void foreignAndDamagedFilesAreNotRecoveryFiles() {
        const QString file = QDir(state_.path()).filePath("x.zrec");
        for (const QByteArray& bytes :
             {QByteArray(""), QByteArray("ZR7340 recovery 1\npath: a\n"),
              QByteArray("ZR7340 recovery 2\npath: \nsaved: 2026-12-01T10:20:30Z\n\nDup"),
              QByteArray("ZR7340 recovery 1\npath: \nsaved: yesterday\n\nDup")}) {
            WriteBytes(file, bytes);
            QVERIFY2(!ReadRecoveryFile(file), bytes.constData());
        }
    }

  private:
    QTemporaryDir state_;
};

}  // namespace zr::shell::testing

QTEST_MAIN(zr::shell::testing::RecoveryTest)
#include "recovery_test.moc"
