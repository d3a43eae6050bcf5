// What an onlooker of a compile is told: the editor's language engine learns
// from it where each name is declared and used and where each statement ends,
// without a compile of its own. The compiler behaves the same with or without
// one: an observer only listens.
#pragma once

#include <cstdint>
#include <string_view>

namespace zr::compiler {

struct NameRecord;

class CompileObserver {
  public:
    virtual ~CompileObserver() = default;

    // A name was entered in the table at `slot`. Its word was scanned from
    // `scanFrom` to `scanTo` (1-based positions in text `sourceIndex`; the
    // range may begin with blanks and hold a decoration such as ":").
    virtual void NameDeclared(int slot, const NameRecord& record, std::int32_t scanFrom,
                              std::int32_t scanTo) = 0;

    // A statement looked `name` up (declared yet or not); scanned as above.
    virtual void NameUsed(std::string_view name, int sourceIndex, std::int32_t scanFrom,
                          std::int32_t scanTo) = 0;

    // A statement of text `sourceIndex` read from `start` up to `end`
    // (whether or not it compiled).
    virtual void StatementRead(int sourceIndex, std::int32_t start, std::int32_t end) = 0;
};

}  // namespace zr::compiler
