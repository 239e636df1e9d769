#pragma once
// A table of cells (mp::Table) as an item model: the body rows in the table's own order, then the
// foot rows in bold. A cell's text is its bytes as their coding says (a file's bytes one character
// per byte, a name in the file system's encoding); figures and counts stand right-aligned; a marked
// cell is shaded as the viewer shades it (markBrush), its mark as its tool tip. The column titles
// are the header.
//
// The model does not own the table: whoever shows it keeps the table alive, and calls
// setTable again when it is replaced.

#include "masterpoint/Table.h"

#include <QAbstractTableModel>

class CellTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit CellTableModel(QObject* parent = nullptr);

    // Shows table (none when nullptr) in its own order.
    void setTable(const mp::Table* table);
    const mp::Table* table() const { return table_; }
    bool isFootRow(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    mp::Cell cellAt(int row, int column) const;

    const mp::Table* table_ = nullptr;
};
