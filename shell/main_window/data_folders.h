// Where the environment finds its data. Installed, the program is
// PREFIX/bin/zr7340-ide and its data lies in PREFIX/share/zr7340 (help/,
// examples/, libraries/). In the build tree the help is compiled beside the
// program and build/share/zr7340 links to the source tree's examples and
// libraries, so the same rules find everything there too. Each function takes
// the program's folder so tests can point it anywhere; by default it is the
// folder of the running program.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

namespace zr::shell {

// PROGRAM_FOLDER/../share/zr7340.
QString DataFolder(const QString& programFolder = QCoreApplication::applicationDirPath());

// The folder of KeltoHelp.qhc and KeltoHelp.qch: the one named by the
// environment variable ZR7340_HELP_DIR when set, else the program's folder when
// the collection is there (the build tree), else DATA/help.
QString HelpFolder(const QString& programFolder = QCoreApplication::applicationDirPath());

// The sample programs: DATA/examples.
QString ExamplesFolder(const QString& programFolder = QCoreApplication::applicationDirPath());

// The shipped libraries: DATA/libraries when it exists, else the program's
// folder (where a library beside the program is looked up).
QString ShippedLibraryFolder(const QString& programFolder = QCoreApplication::applicationDirPath());

// The user's own libraries, searched after the shipped ones and the place to
// save new ones: ~/.local/share/zr7340/libraries (the generic data location).
QString UserLibraryFolder();

// The folders $Lib searches, in order: the shipped one, then the user's.
QStringList LibraryFolders(const QString& programFolder = QCoreApplication::applicationDirPath());

}  // namespace zr::shell
