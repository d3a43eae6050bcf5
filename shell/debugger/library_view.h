// The text of a $Lib library, read-only, where a pause inside one of its
// routines is marked as in the editor: stepping into a library shows where
// the program stands without replacing the program's own text.
#pragma once

#include <QString>
#include <map>
#include <string>
#include <vector>

#include "compiler/compiler.h"
#include "shell/editor/source_editor.h"

namespace zr::shell {

class LibraryView : public SourceEditor {
    Q_OBJECT

  public:
    explicit LibraryView(QWidget* parent = nullptr);

    // Shows library `path` (read from disk once per run; `compilerText` is
    // what the compile read from it) and marks statement `index` of
    // `statements` there. False when the file cannot be read any more.
    bool ShowStatement(const QString& path, const std::string& compilerText,
                       const std::vector<compiler::StatementRecord>& statements, int index);
    // Forgets the texts read: a new compile may name other files.
    void Forget();
    QString shownPath() const { return shownPath_; }

  private:
    std::map<QString, QString> texts_;  // by path: the text as the editor reads it
    QString shownPath_;
};

}  // namespace zr::shell
