// Where the environment finds its help, examples and libraries: installed
// (PREFIX/bin beside PREFIX/share/zr7340), in the build tree (help beside the
// program), and as the environment variable or the user's folder say.
#include "shell/main_window/data_folders.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "shell/help/help_location.h"

using namespace zr::shell;

class DataFoldersTest : public QObject {
    Q_OBJECT

    QTemporaryDir root_;
    QString bin_;
    QString share_;

    void Touch(const QString& path) {
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

  private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(root_.isValid());
        bin_ = root_.filePath("usr/bin");
        share_ = root_.filePath("usr/share/zr7340");
        QVERIFY(QDir().mkpath(bin_));
        qunsetenv(HelpLocation::kFolderVariable.toUtf8().constData());
    }

    void installedProgramFindsEverythingUnderShare() {
        Touch(share_ + "/help/" + HelpLocation::kCollectionName);
        Touch(share_ + "/examples/square.zrt");
        Touch(share_ + "/libraries/stackmath.bib");
        QCOMPARE(DataFolder(bin_), share_);
        QCOMPARE(HelpFolder(bin_), share_ + "/help");
        QCOMPARE(ExamplesFolder(bin_), share_ + "/examples");
        QCOMPARE(ShippedLibraryFolder(bin_), share_ + "/libraries");
        // Without shared libraries the program's folder holds them.
        const QString alone = root_.filePath("alone/bin");
        QVERIFY(QDir().mkpath(alone));
        QCOMPARE(ShippedLibraryFolder(alone), alone);
    }

    void helpBesideTheProgramComesFirst() {
        // The build tree compiles the help next to zr7340-ide.
        const QString buildShell = root_.filePath("build/shell");
        Touch(buildShell + "/" + HelpLocation::kCollectionName);
        QCOMPARE(HelpFolder(buildShell), buildShell);
        QCOMPARE(HelpFolder(root_.filePath("build/cli")),
                 root_.filePath("build/share/zr7340/help"));
    }

    void theEnvironmentVariableNamesTheHelpFolder() {
        qputenv(HelpLocation::kFolderVariable.toUtf8().constData(), "/somewhere/else");
        QCOMPARE(HelpFolder(bin_), QStringLiteral("/somewhere/else"));
        qunsetenv(HelpLocation::kFolderVariable.toUtf8().constData());
    }

    void theUsersLibrariesAreSearchedAfterTheShippedOnes() {
        const QStringList folders = LibraryFolders(bin_);
        QCOMPARE(folders.size(), 2);
        QCOMPARE(folders[0], share_ + "/libraries");
        QCOMPARE(folders[1], QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                                 "/zr7340/libraries");
    }

    void theBuildTreeMirrorsTheInstalledLayout() {
        // build/tests/shell/this_test: two levels below build/, like build/shell/x is one.
        const QString buildShell = QCoreApplication::applicationDirPath() + "/../../shell";
        QVERIFY(QFileInfo::exists(ExamplesFolder(buildShell) + "/square.zrt"));
        QVERIFY(QFileInfo::exists(ShippedLibraryFolder(buildShell) + "/stackmath.bib"));
    }
};

QTEST_GUILESS_MAIN(DataFoldersTest)
#include "data_folders_test.moc"
