#include "shell/listing_pane.h"

#include <QFontDatabase>

#include "compiler/listing_names.h"
#include "compiler/source_text.h"
#include "machine/listing.h"
#include "shell/device_text.h"

namespace zr::shell {
namespace {

constexpr int kAddressRole = Qt::UserRole;
constexpr int kLineRole = Qt::UserRole + 1;

// Line `line` (1-based) of a compiler text, without its line end.
std::string LineOf(const std::string& text, int line) {
    std::size_t start = 0;
    for (int current = 1; current < line && start != std::string::npos; ++current) {
        start = text.find('\n', start);
        if (start != std::string::npos) ++start;
    }
    if (start == std::string::npos) return {};
    const std::size_t end = text.find_first_of("\r\n", start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

const QColor kPausedColour(255, 230, 120);

}  // namespace

ListingPane::ListingPane(QWidget* parent) : QListWidget(parent) {
    setObjectName("listingPane");
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int line = item->data(kLineRole).toInt();
        if (line > 0) emit sourceLineChosen(line);
    });
}

void ListingPane::SetProgram(const compiler::Compiler& compiled) {
    clear();
    highlighted_ = -1;
    // The last record of an address is the statement whose instruction is there.
    std::vector<const compiler::StatementRecord*> statementAt(machine::kProgramSize + 1, nullptr);
    for (const compiler::StatementRecord& record : compiled.statementMap)
        if (record.address >= 1 && record.address <= machine::kProgramSize)
            statementAt[record.address] = &record;
    const auto instructions =
        machine::DecodeImage(compiled.programImage, 1, compiled.compileAddress,
                             compiler::ListingNamesOf(compiled.names));
    int line = 0;
    for (const machine::DecodedInstruction& instruction : instructions) {
        if (const compiler::StatementRecord* record = statementAt[instruction.address]) {
            const std::string& text = compiled.TextOf(record->sourceIndex);
            const int at =
                compiler::LineColumnOf(text, compiler::SkipBlanks(text, record->position)).line;
            if (record->sourceIndex != 0) {
                line = 0;
            } else if (at != line) {
                line = at;
                auto* header = new QListWidgetItem(
                    QString("; %1: %2").arg(line).arg(FromDevice(LineOf(text, line))), this);
                header->setData(kLineRole, line);
                header->setForeground(Qt::darkGreen);
            }
        }
        auto* item = new QListWidgetItem(
            QString::fromStdString(machine::FormatInstruction(instruction)), this);
        item->setData(kAddressRole, instruction.address);
        item->setData(kLineRole, line);
    }
}

int ListingPane::rowOfAddress(int address) const {
    for (int row = 0; row < count(); ++row)
        if (item(row)->data(kAddressRole).toInt() == address && address > 0) return row;
    return -1;
}

void ListingPane::ShowPause(int address) {
    if (highlighted_ >= 0 && highlighted_ < count()) item(highlighted_)->setBackground(QBrush());
    highlighted_ = rowOfAddress(address);
    if (highlighted_ < 0) return;
    item(highlighted_)->setBackground(kPausedColour);
    scrollToItem(item(highlighted_), QAbstractItemView::PositionAtCenter);
}

}  // namespace zr::shell
