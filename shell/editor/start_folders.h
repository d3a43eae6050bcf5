// Where the file dialogs start: where the user works. The folder of the
// current file, else the last folder a file was opened from or saved to
// (remembered across runs), else the examples.
#pragma once

#include <QString>

namespace zr::shell {

// The last folder used, as remembered; empty when none is or it is gone.
QString RememberedFolder();

// Remembers the folder of `file` for the next dialog and the next run.
void RememberFolderOf(const QString& file);

// The folder a dialog starts in. `currentFile` does not count when empty or
// when it is a shipped example (its folder is no place to save in).
QString DialogStartFolder(const QString& currentFile, bool currentIsExample,
                          const QString& rememberedFolder, const QString& examplesFolder);

}  // namespace zr::shell
