// Carrying out a rename the language engine planned: every span becomes the
// new name, as one step for Undo.
#pragma once

#include <QString>

#include "language/rename.h"
#include "shell/editor/editor_analysis.h"

class QTextEdit;

namespace zr::shell {

// `analysis` must be of the editor's text as it stands.
void ApplyRename(QTextEdit& editor, const EditorAnalysis& analysis,
                 const language::RenamePlan& plan, const QString& newName);

}  // namespace zr::shell
