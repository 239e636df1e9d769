#pragma once
// A read-only grid over a TableModel, with what every window's table does alike:
//
// - a click on a column header sorts the body by that column, ascending, a second
//   click descending, a third back to the table's own order; the header's sort
//   indicator shows which (none in the table's own order). The current row stays the
//   same table row and is kept in view; the selection is cleared.
// - Ctrl+C copies the selection's bounding rectangle as tab-separated text
//   (TableModel::tabText), or, for a grid told to copy whole, the whole table with its
//   column titles.
// - find() moves the current row to the next match of a find step
//   (mp::findRow over the rows as shown), selects that row and scrolls it into view;
//   the row stays where it was when there is none.

#include "masterpoint/RowOrder.h"
#include "widgets/FindBar.h"

#include <QTableView>

class TableModel;

class TableGrid : public QTableView {
    Q_OBJECT
public:
    explicit TableGrid(QWidget* parent = nullptr);

    // Shows model (not owned), in its own order.
    void setTableModel(TableModel* model);
    TableModel* tableModel() const { return model_; }

    void setCopiesWhole(bool whole) { copiesWhole_ = whole; }
    // What Ctrl+C copies; empty when nothing is selected (and the grid copies the
    // selection).
    QString copiedText() const;

    // Sorts the rows as a header click would have left them, the header showing it.
    void sortAs(int column, mp::SortDirection direction);

    FindBar::Outcome find(const QString& digits, FindBar::Step step);
    // Makes row current (its column kept), selects it and scrolls it into view.
    void goToRow(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void sortByHeader(int column);
    void showSortIndicator();

    TableModel* model_ = nullptr;
    bool copiesWhole_ = false;
};
