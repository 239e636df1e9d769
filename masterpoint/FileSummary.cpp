#include "masterpoint/FileSummary.h"

namespace mp {

LineCheck FileSummary::add(std::string_view line, bool twoFigures) {
    const LineCheck check = checkLine(line, twoFigures);
    ++records;
    if (check.notCounted) {
        ++notCounted;
    }
    totals.add(line, twoFigures);
    if (check.outOfFormat) {
        ++outOfFormat;
        outOfFormatTotals.add(line, twoFigures);
    }
    return check;
}

void FileSummary::addCounts(const FileSummary& other) {
    records += other.records;
    notCounted += other.notCounted;
    outOfFormat += other.outOfFormat;
    totals.first += other.totals.first;
    totals.second += other.totals.second;
    outOfFormatTotals.first += other.outOfFormatTotals.first;
    outOfFormatTotals.second += other.outOfFormatTotals.second;
}

FileSummary summarize(const LineList& lines, bool twoFigures, MemberSet& allMembers) {
    FileSummary summary;
    MemberSet members;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines.line(i);
        summary.add(line, twoFigures);
        members.add(line);
        allMembers.add(line);
    }
    summary.members = members.size();
    return summary;
}

} // namespace mp
