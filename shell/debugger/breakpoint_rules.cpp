#include "shell/debugger/breakpoint_rules.h"

#include <QCoreApplication>

#include "machine/cp1251.h"

namespace zr::shell {
namespace {

// An empty table (nothing compiled yet) takes any name: only the form counts.
emulator::ParsedCondition Parsed(const QString& condition, const compiler::NameTable& names) {
    return emulator::ParseBreakCondition(condition.toStdString(), [&](std::string_view name) {
        if (names.count() == 0) return 0;
        return compiler::OneValueOperand(names, machine::Utf8ToCp1251(name));
    });
}

}  // namespace

QString ConditionRefusal(const QString& condition, const compiler::NameTable& names) {
    if (condition.trimmed().isEmpty()) return {};
    const auto parsed = Parsed(condition, names);
    const QString name = QString::fromStdString(parsed.name);
    switch (parsed.fault) {
        case emulator::ConditionFault::None:
            return {};
        case emulator::ConditionFault::Syntax:
            return QCoreApplication::translate(
                "BreakpointsPane",
                "Условие пишется как «имя знак число», знак — один из = <> < > <= >= "
                "(например, a > 5)");
        case emulator::ConditionFault::UnknownName:
            return QCoreApplication::translate("BreakpointsPane", "В программе нет имени «%1»")
                .arg(name);
        case emulator::ConditionFault::NotOneValue:
            return QCoreApplication::translate(
                       "BreakpointsPane",
                       "«%1» — не переменная с одним значением (массив, метка или порт)")
                .arg(name);
    }
    return {};
}

int HitCountOf(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return 0;
    bool ok = false;
    const int count = trimmed.toInt(&ok);
    return ok && count >= 0 ? count : -1;
}

QString HitCountText(int hitCount) {
    return hitCount > 0 ? QString::number(hitCount) : QString();
}

std::vector<LineBreakpoint> LineBreakpointsOf(const std::vector<BreakpointEntry>& entries,
                                              const compiler::NameTable& names) {
    std::vector<LineBreakpoint> breakpoints;
    for (const BreakpointEntry& entry : entries) {
        LineBreakpoint breakpoint{entry.line, {entry.enabled, std::nullopt, entry.hitCount}};
        if (!entry.condition.trimmed().isEmpty() && names.count() > 0)
            breakpoint.settings.condition = Parsed(entry.condition, names).condition;
        breakpoints.push_back(std::move(breakpoint));
    }
    return breakpoints;
}

}  // namespace zr::shell
