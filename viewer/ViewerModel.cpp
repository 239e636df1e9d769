#include "viewer/ViewerModel.h"

#include <QBrush>
#include <QPalette>
#include <algorithm>
#include <limits>

ViewerModel::ViewerModel(mp::LineList lines, bool twoFigures, QObject* parent)
    : ViewerModel(std::make_shared<const mp::LinesTable>(std::move(lines), twoFigures), parent) {}

ViewerModel::ViewerModel(std::shared_ptr<const mp::LinesTable> lines, QObject* parent)
    : TableModel(lines, Display::AsInFile, false, parent), lines_(std::move(lines)) {}

QVariant ViewerModel::data(const QModelIndex& index, int role) const {
    if (role == Qt::BackgroundRole && index.isValid() && index.column() == 0) {
        const QVariant marked = TableModel::data(index, role);
        return marked.isValid() ? marked : QVariant(QPalette().button());
    }
    return TableModel::data(index, role);
}

int ViewerModel::markedColumnAfter(int row, int column) const {
    const mp::LineCheck check = lines_->check(tableRow(row));
    for (int c = column + 1; c < columnCount(); ++c)
        if (check.cells[std::size_t(c)] != mp::CellMark::None)
            return c;
    return -1;
}

QModelIndex ViewerModel::nextMarked(const QModelIndex& from) const {
    const std::vector<std::size_t>& marked = lines_->markedRows();
    const int rows = bodyRows();
    const bool valid = from.isValid() && from.model() == this;
    if (valid) {
        const int column = markedColumnAfter(from.row(), from.column());
        if (column >= 0)
            return index(from.row(), column);
    }
    // The marked row shown next below from, else the first shown: by position, so it
    // follows the rows' order whichever it is.
    const int after = valid ? from.row() : -1;
    int next = std::numeric_limits<int>::max();
    int first = std::numeric_limits<int>::max();
    for (const std::size_t row : marked) {
        const int position = rowOf(row);
        if (position >= rows)
            continue;
        first = std::min(first, position);
        if (position > after)
            next = std::min(next, position);
    }
    if (first == std::numeric_limits<int>::max())
        return {};
    const int row = next != std::numeric_limits<int>::max() ? next : first;
    return index(row, markedColumnAfter(row, -1));
}
