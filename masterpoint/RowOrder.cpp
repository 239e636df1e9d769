#include "masterpoint/RowOrder.h"

#include <algorithm>
#include <numeric>
#include <string>

namespace mp {

RowOrder::RowOrder(std::size_t rows) : rows_(rows) {}

RowOrder RowOrder::sorted(const Table& table, std::size_t column, SortDirection direction) {
    RowOrder order(table.rowCount());
    if (direction == SortDirection::None || order.rows_ == 0)
        return order;
    order.column_ = column;
    order.direction_ = direction;
    order.rowAt_.resize(order.rows_);
    std::iota(order.rowAt_.begin(), order.rowAt_.end(), std::size_t{0});

    const bool descending = direction == SortDirection::Descending;
    // Keys are read once: each cell made per comparison would cost a million rows
    // twenty million cells. A column is of figures when any of its cells is one: a
    // file's error standing in its Records cell does not make the column text.
    struct Key {
        bool isNumber;
        std::int64_t value;
    };
    // The texts are kept only while the column still looks like text.
    std::vector<std::string> texts;
    std::vector<Key> keys(order.rows_);
    bool figures = false;
    for (std::size_t row = 0; row < order.rows_; ++row) {
        Cell cell = table.cell(row, column);
        if (!figures && cell.kind != CellKind::Text) {
            figures = true;
            std::vector<std::string>().swap(texts);
        }
        keys[row] = {cell.isNumber, cell.value};
        if (!figures) {
            if (texts.empty())
                texts.reserve(order.rows_);
            texts.push_back(std::move(cell.text));
        }
    }
    if (!figures) {
        std::stable_sort(order.rowAt_.begin(), order.rowAt_.end(),
                         [&](std::size_t a, std::size_t b) {
                             return descending ? texts[b] < texts[a] : texts[a] < texts[b];
                         });
    } else {
        // Not-a-number cells go last whichever the direction: they are what the user
        // looks for apart, not the smallest or largest figures.
        std::stable_sort(order.rowAt_.begin(), order.rowAt_.end(),
                         [&](std::size_t a, std::size_t b) {
                             const Key& x = keys[a];
                             const Key& y = keys[b];
                             if (x.isNumber != y.isNumber)
                                 return x.isNumber;
                             if (!x.isNumber)
                                 return false;
                             return descending ? y.value < x.value : x.value < y.value;
                         });
    }
    order.positionOf_.resize(order.rows_);
    for (std::size_t position = 0; position < order.rows_; ++position)
        order.positionOf_[order.rowAt_[position]] = position;
    return order;
}

std::size_t RowOrder::rowAt(std::size_t position) const {
    return rowAt_.empty() ? position : rowAt_[position];
}

std::size_t RowOrder::positionOf(std::size_t row) const {
    return positionOf_.empty() ? row : positionOf_[row];
}

} // namespace mp
