#include "shell/debugger/watch_model.h"

namespace zr::shell {

WatchModel::WatchModel(QObject* parent) : QObject(parent) {}

void WatchModel::SetNames(const compiler::NameTable& names) {
    rows_ = VariableRowsOf(names);
    values_.reset();
    before_.reset();
    emit namesChanged();
    emit listChanged();  // watches the program lacks drop out of sight, others come back
}

const VariableRow* WatchModel::RowNamed(const QString& name) const {
    return FindVariableRow(rows_, name);
}

void WatchModel::ShowPause(PausedValues values) {
    before_ = std::move(values_);
    values_ = std::move(values);
    emit valuesChanged();
}

QString WatchModel::ValueText(machine::DecodedOperand cell) const {
    return values_ ? shell::ValueText(cell, *values_) : QString();
}

bool WatchModel::Changed(machine::DecodedOperand cell) const {
    return values_ && before_ && shell::ValueText(cell, *before_) != ValueText(cell);
}

void WatchModel::Pin(const QString& name) {
    if (watches_.contains(name) || !RowNamed(name)) return;
    watches_.append(name);
    emit listChanged();
    emit watchesChanged();
}

void WatchModel::Unpin(const QString& name) {
    if (!watches_.removeAll(name)) return;
    const bool wasBreaking = breakOnChange_.remove(name);
    emit listChanged();
    emit watchesChanged();
    if (wasBreaking) emit dataBreakpointsChanged();
}

void WatchModel::SetBreakOnChange(const QString& name, bool on) {
    if (on == breakOnChange_.contains(name)) return;
    if (on) {
        const VariableRow* row = RowNamed(name);
        if (!row || BreakOperandOf(*row) < 0) return;
        breakOnChange_.insert(name);
        if (!watches_.contains(name)) watches_.append(name);
    } else {
        breakOnChange_.remove(name);
    }
    emit listChanged();
    emit watchesChanged();
    emit dataBreakpointsChanged();
}

WatchList WatchModel::list() const {
    WatchList list{watches_, {}};
    for (const QString& name : watches_)
        if (breakOnChange_.contains(name)) list.breaking.append(name);
    return list;
}

void WatchModel::SetList(const WatchList& list) {
    watches_ = list.names;
    watches_.removeDuplicates();
    breakOnChange_.clear();
    for (const QString& name : list.breaking)
        if (watches_.contains(name)) breakOnChange_.insert(name);
    emit listChanged();
}

std::vector<int> WatchModel::dataBreakpointOperands() const {
    std::vector<int> operands;
    for (const QString& name : watches_)
        if (const VariableRow* row = RowNamed(name);
            row && Breaks(name) && BreakOperandOf(*row) >= 0)
            operands.push_back(BreakOperandOf(*row));
    return operands;
}

QString WatchModel::breakingWatchOf(int operand) const {
    for (const QString& name : watches_)
        if (const VariableRow* row = RowNamed(name);
            row && Breaks(name) && BreakOperandOf(*row) == operand)
            return name;
    return {};
}

}  // namespace zr::shell
