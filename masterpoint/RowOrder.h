#pragma once
// The order a table's body rows are shown in: the table's own (a file's line order), or
// sorted by one column, ascending or descending. Text columns sort by their bytes;
// Points and Count columns by value, with cells that are not numbers after all the
// numbers in both directions. Rows that tie keep the table's own order, so a sort is
// stable and a second sort by another column keeps nothing of the first.
//
// Sorting reads each cell of the column once; the order itself costs one index per row
// each way.

#include "masterpoint/Table.h"

#include <cstddef>
#include <vector>

namespace mp {

enum class SortDirection : unsigned char { None, Ascending, Descending };

class RowOrder {
public:
    // The table's own order over rows rows.
    explicit RowOrder(std::size_t rows = 0);
    // table's rows sorted by column; None gives the table's own order.
    static RowOrder sorted(const Table& table, std::size_t column, SortDirection direction);

    std::size_t size() const { return rows_; }
    // The table row shown at position.
    std::size_t rowAt(std::size_t position) const;
    // Where table row row is shown.
    std::size_t positionOf(std::size_t row) const;

    std::size_t column() const { return column_; }
    SortDirection direction() const { return direction_; }

private:
    std::size_t rows_ = 0;
    std::size_t column_ = 0;
    SortDirection direction_ = SortDirection::None;
    std::vector<std::size_t> rowAt_;      // empty in the table's own order
    std::vector<std::size_t> positionOf_; // likewise
};

} // namespace mp
