#include "shell/debugger/listing_pane.h"

#include <QFontDatabase>

#include "compiler/program_listing.h"

namespace zr::shell {
namespace {

constexpr int kAddressRole = Qt::UserRole;
constexpr int kLineRole = Qt::UserRole + 1;

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

// Each group under its source line, as keltoc prints the listing; a
// library's lines name the library and lead nowhere in the editor.
void ListingPane::SetProgram(const compiler::Compiler& compiled) {
    clear();
    highlighted_ = -1;
    int shownSource = -1;
    int shownLine = -1;
    for (const compiler::ListingEntry& entry : compiler::MakeListing(compiled)) {
        const int mainLine = entry.sourceIndex == 0 ? entry.line : 0;
        if (entry.line != 0 && (entry.sourceIndex != shownSource || entry.line != shownLine)) {
            const QString file =
                entry.file.empty() ? QString() : QString::fromStdString(entry.file) + ' ';
            auto* header = new QListWidgetItem(QString("; %1%2: %3")
                                                   .arg(file)
                                                   .arg(entry.line)
                                                   .arg(QString::fromStdString(entry.lineText)),
                                               this);
            header->setData(kLineRole, mainLine);
            header->setForeground(Qt::darkGreen);
            shownSource = entry.sourceIndex;
            shownLine = entry.line;
        }
        auto* item = new QListWidgetItem(
            QString::fromStdString(machine::FormatInstruction(entry.instruction)), this);
        item->setData(kAddressRole, entry.instruction.address);
        item->setData(kLineRole, mainLine);
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
