#include "shell/debugger/watch_choice.h"

namespace zr::shell {

WatchChoice ChooseWatchOperand(const compiler::NameTable& names, std::string_view name) {
    const auto first = name.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    name = name.substr(first, name.find_last_not_of(' ') - first + 1);

    const int slot = names.FindName(name);
    if (slot == 0) return {0, true};
    const compiler::NameRecord& record = names[slot];
    switch (record.kind) {
        case compiler::NameKind::Single:
        case compiler::NameKind::Byte:
        case compiler::NameKind::Integer:
            return {compiler::VariableOperand(record), false};
        default:
            return {0, true};
    }
}

}  // namespace zr::shell
