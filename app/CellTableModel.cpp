#include "app/CellTableModel.h"

#include "print/CellText.h"
#include "viewer/MarkBrush.h"

#include <QFont>

CellTableModel::CellTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void CellTableModel::setTable(const mp::Table* table) {
    beginResetModel();
    table_ = table;
    endResetModel();
}

bool CellTableModel::isFootRow(int row) const {
    return table_ != nullptr && std::size_t(row) >= table_->rowCount();
}

int CellTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || table_ == nullptr)
        return 0;
    return int(table_->rowCount() + table_->footCount());
}

int CellTableModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid() || table_ == nullptr)
        return 0;
    return int(table_->columnCount());
}

mp::Cell CellTableModel::cellAt(int row, int column) const {
    const std::size_t body = table_->rowCount();
    if (std::size_t(row) < body)
        return table_->cell(std::size_t(row), std::size_t(column));
    return table_->footCell(std::size_t(row) - body, std::size_t(column));
}

QVariant CellTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return cellText(cellAt(index.row(), index.column()));
    case Qt::ToolTipRole: {
        const mp::Cell cell = cellAt(index.row(), index.column());
        // A name cut by a narrow column can still be read whole.
        return cell.mark.empty()
                   ? (cell.coding == mp::CellCoding::NameBytes ? cellText(cell) : QVariant())
                   : QVariant(QString::fromStdString(cell.mark));
    }
    case Qt::BackgroundRole:
        if (!cellAt(index.row(), index.column()).mark.empty())
            return markBrush();
        return {};
    case Qt::TextAlignmentRole:
        if (cellAt(index.row(), index.column()).kind != mp::CellKind::Text)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::FontRole:
        if (isFootRow(index.row())) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    default:
        return {};
    }
}

QVariant CellTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || table_ == nullptr ||
        section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromStdString(table_->columnTitle(std::size_t(section)));
}

Qt::ItemFlags CellTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}
