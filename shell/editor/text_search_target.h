// What the find and replace logic needs from an editor: its text, its
// selection and a way to replace the selection. Positions are the editor's
// own 0-based character positions (a line end counts as one character).
#pragma once

#include <QString>

namespace zr::shell {

class TextSearchTarget {
  public:
    virtual ~TextSearchTarget() = default;

    // The whole text, one character per editor position.
    virtual QString text() const = 0;
    virtual int selectionStart() const = 0;
    virtual int selectionLength() const = 0;
    virtual void select(int start, int length) = 0;
    // Replaces the selection; the caret then stands after the inserted text.
    virtual void replaceSelection(const QString& replacement) = 0;

    // Brackets a group of changes that the user undoes in one step.
    virtual void beginEditBlock() {}
    virtual void endEditBlock() {}
};

}  // namespace zr::shell
