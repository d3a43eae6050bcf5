#include "shell/debugger/library_view.h"

#include "shell/debugger/statement_mark.h"
#include "shell/editor/source_files.h"

namespace zr::shell {

LibraryView::LibraryView(QWidget* parent) : SourceEditor(parent) {
    setObjectName("libraryView");
    setReadOnly(true);
    // Read-only text shows no caret, so the mark alone says where the program is.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

bool LibraryView::ShowStatement(const QString& path, const std::string& compilerText,
                                const std::vector<compiler::StatementRecord>& statements,
                                int index) {
    auto known = texts_.find(path);
    if (known == texts_.end()) {
        const ReadResult read = ReadSourceFile(path);
        if (!read.document) return false;
        known = texts_.emplace(path, QString::fromStdString(read.document->text)).first;
    }
    if (shownPath_ != path) {
        LoadDocument({known->second.toStdString(), {}}, true);
        shownPath_ = path;
    }
    const int sourceIndex = statements.at(index).sourceIndex;
    const auto range =
        StatementMarkRange(toPlainText(), compilerText, statements, index, sourceIndex);
    if (!range) {
        clearExecutionMark();
        return true;
    }
    setExecutionMark(range->start, range->length);
    return true;
}

void LibraryView::Forget() {
    texts_.clear();
    shownPath_.clear();
    clearExecutionMark();
}

}  // namespace zr::shell
