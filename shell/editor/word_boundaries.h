// Where the Kelto word around the caret begins and ends in a line of text.
#pragma once

#include <QString>
#include <QStringView>

namespace zr::shell {

// True for the characters that end a word while typing: blank, comma, line
// ends and brackets. A tab counts as a blank, as it does for the compiler.
bool IsWordEnd(QChar c);

// The index at which the word ending at `caret` begins. The character directly
// before the caret belongs to the word whatever it is; the scan starts one
// further left and stops after the first word end. 0 when there is none.
int FindWordStart(QStringView text, int caret);

// The whole word the caret stands in or directly after (for help look-ups);
// empty when the caret is between two word ends.
QString WordAt(QStringView text, int caret);

}  // namespace zr::shell
