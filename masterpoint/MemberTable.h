#pragma once
// One member's lines across files as a table: one body row per line of the member in
// the index, by file in list order, then by line: the file ("File", as listed), the
// line's number from 1 ("Line") and its figure ("Masterpoints"; "Masterpoints 1" and
// "Masterpoints 2" when any file searched has two figures, a one-figure file's second
// left empty) as the viewer shows it, marked as the viewer marks it. Then one foot row
// per colour the member has lines in ("All GLD", "All RED", ..., in the order of the
// kinds), summed as the totals sum (Totals::add); points of different colours are
// never added together.

#include "masterpoint/MemberIndex.h"
#include "masterpoint/Table.h"

#include <cstdint>
#include <vector>

namespace mp {

class MemberTable : public Table {
public:
    // index outlives the table.
    MemberTable(const MemberIndex& index, std::uint32_t member);

    std::size_t columnCount() const override { return twoFigures_ ? 4 : 3; }
    std::string columnTitle(std::size_t column) const override;
    std::size_t rowCount() const override { return lines_.size(); }
    Cell cell(std::size_t row, std::size_t column) const override;
    std::size_t footCount() const override { return sums_.size(); }
    Cell footCell(std::size_t row, std::size_t column) const override;

    std::uint32_t member() const { return member_; }
    // The index's file of body row row.
    const MemberIndex::File& fileOf(std::size_t row) const;
    // The line of row in its file, from 0.
    std::uint64_t lineOf(std::size_t row) const { return lines_[row]->line; }
    // How many of the files searched hold the member.
    std::size_t filesWithMember() const { return filesWithMember_; }

private:
    struct Sum {
        std::string colour;
        bool twoFigures = false;
        std::int64_t first = 0;
        std::int64_t second = 0;
    };

    const MemberIndex& index_;
    std::uint32_t member_;
    bool twoFigures_;
    std::vector<const MemberIndex::Line*> lines_;
    std::vector<Sum> sums_;
    std::size_t filesWithMember_ = 0;
};

} // namespace mp
