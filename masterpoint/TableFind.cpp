#include "masterpoint/TableFind.h"

#include <string>

namespace mp {

FindResult findRow(const Table& table, const RowOrder& order, std::string_view digits,
                   std::size_t from, FindStep step) {
    const std::size_t rows = std::min(order.size(), table.rowCount());
    if (digits.empty() || rows == 0)
        return {};
    if (from >= rows)
        from = step == FindStep::Previous ? rows : rows - 1;
    const auto matches = [&](std::size_t position) {
        return table.keyText(order.rowAt(position)).find(digits) != std::string::npos;
    };
    if (step == FindStep::Previous) {
        // Back from the row before from, then round from the end down to from.
        for (std::size_t i = 1; i <= rows; ++i) {
            const std::size_t position = (from + rows - i) % rows;
            if (matches(position))
                return {true, position, position >= from};
        }
        return {};
    }
    const std::size_t first = step == FindStep::Next ? 1 : 0;
    for (std::size_t i = first; i < rows + first; ++i) {
        const std::size_t position = (from + i) % rows;
        if (matches(position))
            return {true, position, from + i >= rows};
    }
    return {};
}

} // namespace mp
