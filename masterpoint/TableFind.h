#pragma once
// Finding a member in a table: the rows, in the order shown, whose key-column text
// (Table::keyText) contains the digits typed.
//
// Here finds the first match at or after from; Next the first after it; Previous the
// last before it. The search goes round the end (or the start, going back) and says
// so: wrapped. Nothing typed finds nothing. One step reads each row's key text at most
// once.

#include "masterpoint/RowOrder.h"
#include "masterpoint/Table.h"

#include <cstddef>
#include <string_view>

namespace mp {

enum class FindStep : unsigned char { Here, Next, Previous };

struct FindResult {
    bool found = false;
    std::size_t position = 0; // in the shown order, when found
    bool wrapped = false;     // the match lies on the far side of the end
};

FindResult findRow(const Table& table, const RowOrder& order, std::string_view digits,
                   std::size_t from, FindStep step);

} // namespace mp
