#include "viewer/TableModel.h"

#include "viewer/MarkBrush.h"
#include "viewer/PointsText.h"
#include "widgets/NameText.h"

#include <QFont>
#include <QLocale>
#include <QStringList>
#include <algorithm>
#include <limits>

TableModel::TableModel(std::shared_ptr<const mp::Table> table, Display display, bool footRows,
                       QObject* parent)
    : QAbstractTableModel(parent), table_(std::move(table)), display_(display), footRows_(footRows),
      order_(table_->rowCount()) {}

int TableModel::bodyRows() const {
    constexpr std::size_t most = std::size_t(std::numeric_limits<int>::max() - 64);
    return int(std::min(table_->rowCount(), most));
}

int TableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return bodyRows() + (footRows_ ? int(table_->footCount()) : 0);
}

int TableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(table_->columnCount());
}

mp::Cell TableModel::cellAt(int row, int column) const {
    if (isFootRow(row))
        return table_->footCell(std::size_t(row - bodyRows()), std::size_t(column));
    return table_->cell(tableRow(row), std::size_t(column));
}

QString TableModel::displayText(const mp::Cell& cell) const {
    if (display_ == Display::Localised && cell.isNumber) {
        const QLocale locale = QLocale::system();
        return cell.kind == mp::CellKind::Points ? pointsText(cell.value, locale)
                                                 : locale.toString(qlonglong(cell.value));
    }
    if (display_ == Display::Localised && cell.coding == mp::CellCoding::NameBytes)
        return textOfBytes(cell.text);
    // One character per byte: a cell cut by byte position shows every byte as itself.
    return QString::fromLatin1(cell.text.data(), qsizetype(cell.text.size()));
}

QVariant TableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return displayText(cellAt(index.row(), index.column()));
    case Qt::ToolTipRole: {
        const mp::Cell cell = cellAt(index.row(), index.column());
        if (!cell.mark.empty())
            return QString::fromLatin1(cell.mark.data(), qsizetype(cell.mark.size()));
        if (display_ == Display::Localised && !cell.isNumber && !cell.text.empty())
            return displayText(cell);
        return {};
    }
    case Qt::BackgroundRole:
        if (!cellAt(index.row(), index.column()).mark.empty())
            return markBrush();
        return {};
    case Qt::FontRole:
        if (isFootRow(index.row())) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::TextAlignmentRole:
        if (display_ == Display::Localised && index.column() != int(table_->keyColumn()) &&
            cellAt(index.row(), index.column()).kind != mp::CellKind::Text)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return QString::fromStdString(table_->columnTitle(std::size_t(section)));
    // Figures' titles stand over them, at the right.
    if (role == Qt::TextAlignmentRole && display_ == Display::Localised &&
        section != int(table_->keyColumn()))
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags TableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void TableModel::sortBy(int column, mp::SortDirection direction) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Persistent indexes (the current cell, the selection) follow their table rows.
    const QModelIndexList before = persistentIndexList();
    std::vector<std::size_t> rows;
    rows.reserve(std::size_t(before.size()));
    for (const QModelIndex& index : before)
        rows.push_back(isFootRow(index.row()) ? std::size_t(-1) : tableRow(index.row()));
    order_ = mp::RowOrder::sorted(*table_, std::size_t(column), direction);
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        const int row =
            rows[std::size_t(i)] == std::size_t(-1) ? before[i].row() : rowOf(rows[std::size_t(i)]);
        after.append(index(row, before[i].column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void TableModel::cycleSort(int column) {
    mp::SortDirection next = mp::SortDirection::Ascending;
    if (order_.direction() != mp::SortDirection::None && int(order_.column()) == column)
        next = order_.direction() == mp::SortDirection::Ascending ? mp::SortDirection::Descending
                                                                  : mp::SortDirection::None;
    sortBy(column, next);
}

QString TableModel::tabText(int top, int bottom, int left, int right, bool withTitles) const {
    QStringList lines;
    QStringList cells;
    if (withTitles) {
        for (int column = left; column <= right; ++column)
            cells << headerData(column, Qt::Horizontal).toString();
        lines << cells.join(QLatin1Char('\t'));
    }
    for (int row = top; row <= bottom; ++row) {
        cells.clear();
        for (int column = left; column <= right;) {
            cells << displayText(cellAt(row, column));
            const std::size_t span =
                isFootRow(row) ? 1 : table_->cellSpan(tableRow(row), std::size_t(column));
            column += int(std::max<std::size_t>(span, 1));
        }
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n'));
}
