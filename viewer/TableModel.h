#pragma once
// A table of cells (mp::Table) as an item model, its body rows in an mp::RowOrder and,
// when asked, its foot rows after them (never sorted). Every window that shows a table
// reads it through this model, so the sort, the marks and the copied text are the same
// in each.
//
// Display: as in the file (the viewer: every cell's bytes one character per byte), or
// localised (counts grouped and figures written as the user's locale writes them,
// names in the file system's coding). A marked cell answers BackgroundRole with
// markBrush() and ToolTipRole with its mark; in a localised table an unmarked text
// cell answers ToolTipRole with its text, so that a name cut by a narrow column can be
// read whole. Foot rows are bold; localised figures are aligned right.
//
// sortBy reorders the body and tells the views their layout changed, keeping the
// selection on the same table rows (persistent indexes follow them).

#include "masterpoint/RowOrder.h"
#include "masterpoint/Table.h"

#include <QAbstractTableModel>
#include <memory>

class TableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum class Display { AsInFile, Localised };

    TableModel(std::shared_ptr<const mp::Table> table, Display display, bool footRows,
               QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    const mp::Table& table() const { return *table_; }
    const mp::RowOrder& order() const { return order_; }
    // The body rows shown (item views count in int: a longer table shows as many as fit).
    int bodyRows() const;
    // The table's cell behind a row of the model: a body row through the order, a foot
    // row after them.
    mp::Cell cellAt(int row, int column) const;
    bool isFootRow(int row) const { return row >= bodyRows(); }
    // The table row shown at row (a body row).
    std::size_t tableRow(int row) const { return order_.rowAt(std::size_t(row)); }
    // Where the table's body row is shown.
    int rowOf(std::size_t tableRow) const { return int(order_.positionOf(tableRow)); }

    void sortBy(int column, mp::SortDirection direction);
    // A header click: a new column ascending, then descending, then the table's own order.
    void cycleSort(int column);

    // The display texts of rows top..bottom and columns left..right, cells joined by
    // tabs (a cell that covers others is one), rows by "\n", no newline after the last;
    // the column titles first when withTitles.
    QString tabText(int top, int bottom, int left, int right, bool withTitles) const;

    QString displayText(const mp::Cell& cell) const;

private:
    std::shared_ptr<const mp::Table> table_;
    Display display_;
    bool footRows_;
    mp::RowOrder order_;
};
