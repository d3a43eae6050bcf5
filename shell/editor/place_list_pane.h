// A dock pane listing places of the program (problems, references, the
// outline): one row per place, activating a row asks to go there.
#pragma once

#include <QDockWidget>
#include <QStringList>
#include <vector>

#include "shell/editor/editor_analysis.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace zr::shell {

struct PlaceRow {
    QStringList columns;
    SourcePlace place;
    friend bool operator==(const PlaceRow&, const PlaceRow&) = default;
};

class PlaceListPane : public QDockWidget {
    Q_OBJECT

  public:
    // `goOnClick`: a single click goes there (a double click always does).
    PlaceListPane(const QString& title, const QStringList& headers, bool goOnClick,
                  QWidget* parent = nullptr);

    void setRows(std::vector<PlaceRow> rows);
    const std::vector<PlaceRow>& rows() const { return rows_; }
    QTreeWidget* list() const { return list_; }
    // As if the user activated row `index`.
    void activateRow(int index);

    // A few rows high and a few columns wide: the editor keeps most of the window.
    QSize sizeHint() const override { return {300, 120}; }

  signals:
    void placeActivated(const zr::shell::SourcePlace& place);

  private:
    void OnItem(QTreeWidgetItem* item);

    QTreeWidget* list_;
    std::vector<PlaceRow> rows_;
};

}  // namespace zr::shell
