// The environment's Save and what the file name stands for: a link is saved through to its
// file and stays a link; a folder, a pipe, a device or a socket is never replaced, and the
// reason says so in Russian.
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "formats/zrt.h"
#include "shell/editor/source_files.h"

namespace zr::shell::testing {

class SaveTargetsTest : public QObject {
    Q_OBJECT

  private slots:
    void aLinkIsSavedThroughAndStays() {
        QTemporaryDir folder;
        const QString real = folder.filePath("real.zrt");
        const QString library = folder.filePath("real.bib");
        QVERIFY(QFile::link("real.zrt", folder.filePath("link.zrt")));
        QVERIFY(QFile::link(library, folder.filePath("link.bib")));
        QString error;
        QVERIFY2(
            SaveSourceFile(folder.filePath("link.zrt"), formats::RichText{"Dup\nEnd", {}}, &error),
            qPrintable(error));
        QVERIFY2(SaveLibraryFile(folder.filePath("link.bib"), "Ret\n", &error), qPrintable(error));
        QCOMPARE(QFileInfo(folder.filePath("link.zrt")).symLinkTarget(), real);
        QCOMPARE(QFileInfo(folder.filePath("link.bib")).symLinkTarget(), library);
        QFile saved(real);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(formats::ReadZrt(saved.readAll().toStdString()).text, std::string("Dup\nEnd"));
        QFile savedLibrary(library);
        QVERIFY(savedLibrary.open(QIODevice::ReadOnly));
        QCOMPARE(savedLibrary.readAll(), QByteArray("Ret\r\n"));
    }

    void aFolderOrAPipeIsRefusedWithAReason() {
        QTemporaryDir folder;
        const QString pipe = folder.filePath("pipe.zrt");
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QVERIFY(QDir(folder.path()).mkdir("folder.zrt"));
        const struct {
            QString path;
            QString reason;
        } cases[] = {
            {pipe,
             "Это не обычный файл (канал, устройство или сокет): сохранение не заменяет "
             "его. Выберите другое имя."},
            {folder.filePath("folder.zrt"), "Это папка, а не файл."},
        };
        for (const auto& c : cases) {
            QString error;
            QVERIFY(!SaveSourceFile(c.path, formats::RichText{"Dup", {}}, &error));
            QCOMPARE(error, c.reason);
            QVERIFY(!SaveLibraryFile(c.path, "Dup", &error));
            QCOMPARE(error, c.reason);
        }
        QVERIFY(QFileInfo(pipe).exists() && !QFileInfo(pipe).isFile());
        QVERIFY(QFileInfo(folder.filePath("folder.zrt")).isDir());
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::System | QDir::Hidden),
                 QStringList{"pipe.zrt"});
    }
};

}  // namespace zr::shell::testing

QTEST_GUILESS_MAIN(zr::shell::testing::SaveTargetsTest)
#include "save_targets_test.moc"
