#include "shell/debugger/call_stack_pane.h"

#include <QHeaderView>

#include "shell/debugger/call_stack.h"

namespace zr::shell {
namespace {

enum Column { kKind, kLine, kFile, kAddress };
constexpr int kLineRole = Qt::UserRole;

}  // namespace

CallStackPane::CallStackPane(QWidget* parent) : QTreeWidget(parent) {
    setObjectName("callStackPane");
    setHeaderLabels({tr("Уровень"), tr("Строка"), tr("Файл"), tr("Адрес")});
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    header()->setStretchLastSection(true);
    connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        const int line = item->data(kLine, kLineRole).toInt();
        if (line > 0) emit sourceLineChosen(line);
    });
}

void CallStackPane::SetProgram(std::shared_ptr<const machine::StatementTable> statements,
                               QStringList libraryFiles) {
    statements_ = std::move(statements);
    libraryFiles_ = std::move(libraryFiles);
    clear();
}

void CallStackPane::ShowPause(const emulator::MachineState& machine) {
    clear();
    for (const CallStackEntry& entry : CallStackOf(machine, *statements_)) {
        auto* item = new QTreeWidgetItem(this);
        switch (entry.kind) {
            case CallStackEntry::Kind::Current:
                item->setText(kKind, tr("Текущий оператор"));
                break;
            case CallStackEntry::Kind::Call:
                item->setText(kKind, tr("Вызов (Call)"));
                break;
            case CallStackEntry::Kind::Event:
                item->setText(kKind, tr("Прерван событием"));
                break;
        }
        item->setText(kAddress, QString::number(entry.address));
        if (entry.statement < 0) continue;
        const machine::ProgramStatement& statement = (*statements_)[entry.statement];
        item->setText(kLine, QString::number(statement.line));
        if (statement.sourceIndex == 0) {
            item->setData(kLine, kLineRole, statement.line);
        } else {
            item->setText(kFile, libraryFiles_.value(statement.sourceIndex - 1));
        }
    }
    for (int column = 0; column < columnCount(); ++column) resizeColumnToContents(column);
}

}  // namespace zr::shell
