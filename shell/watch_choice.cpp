#include "shell/watch_choice.h"

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
            return {record.address, false};
        case compiler::NameKind::Byte:
            return {record.address + 32, false};
        case compiler::NameKind::Integer:
            return {record.address + 128, false};
        default:
            return {0, true};
    }
}

}  // namespace zr::shell
