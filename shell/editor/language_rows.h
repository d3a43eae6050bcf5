// What the Problems, Structure and References panes and the status bar show
// of an analysis, as plain rows that tests read.
#pragma once

#include <QString>
#include <vector>

#include "shell/editor/editor_analysis.h"
#include "shell/editor/place_list_pane.h"

namespace zr::shell {

// "Ошибок нет", "1 ошибка", "2 ошибки", "5 ошибок".
QString ProblemCountText(int count);

// The first error, as F9 reports it: its message and where it lies (a
// library's error names the library and its line and goes there).
std::vector<PlaceRow> ProblemRows(const EditorAnalysis& analysis);

// The labels, routines, data lists, arrays and variables declared, in the
// order of the text; a library's declarations stand where its $Lib does.
// From the analysis's outline(): a statement being typed hides no names.
std::vector<PlaceRow> OutlineRows(const EditorAnalysis& analysis);

// Declaration `declaration` and every use of it, in reading order, each with
// its line's text.
std::vector<PlaceRow> ReferenceRows(const EditorAnalysis& analysis, int declaration);

// "строка 12" for the editor's text, "библиотека Hypot.bib, строка 3" for a library's.
QString PlaceText(const SourcePlace& place);

}  // namespace zr::shell
