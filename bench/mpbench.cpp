// mpbench: runs one command of the core from the command line, with no window, so that
// a whole process can be timed against the tools a user would reach for instead.
//
//   mpbench scan <folder>                 lists the folder as the File list would
//   mpbench view <file> [two]             reads the file and sums its figure columns
//   mpbench merge <out> <in>...           merges the inputs into out
//   mpbench backup <srcfolder> <dstfolder>  backs up every file of srcfolder
//   mpbench member <number> <folder>      every file of folder searched for the member
//                                         as the Member window searches them
//   mpbench find <file> [two]             one find step over every row (a member that
//                                         is in no row), as the find bar takes it
//   mpbench sort <file> [two]             sorts the rows by the first figure, descending
//   mpbench csv <file> <out> [two]        writes the file's table as CSV
//
// find and sort also print the step's own time, file read apart (median of 5).
// Each prints a one-line result so that a wrong answer shows beside the timing.

#include "masterpoint/Backup.h"
#include "masterpoint/CsvWriter.h"
#include "masterpoint/FileKind.h"
#include "masterpoint/FileName.h"
#include "masterpoint/FolderScan.h"
#include "masterpoint/LineList.h"
#include "masterpoint/LinesTable.h"
#include "masterpoint/MemberTable.h"
#include "masterpoint/Merge.h"
#include "masterpoint/Record.h"
#include "masterpoint/TableFind.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

namespace {

int usage() {
    std::fputs("usage: mpbench scan <folder>\n"
               "       mpbench view <file> [two]\n"
               "       mpbench merge <out> <in>...\n"
               "       mpbench backup <srcfolder> <dstfolder>\n"
               "       mpbench member <number> <folder>\n"
               "       mpbench find|sort <file> [two]\n"
               "       mpbench csv <file> <out> [two]\n",
               stderr);
    return 2;
}

int scan(const std::string& folder) {
    mp::ScanResult result;
    mp::scanFolder(folder, {}, result);
    std::printf("%zu files listed\n", result.entries.size());
    return 0;
}

int view(const std::string& path, bool twoFigures) {
    mp::LineList lines;
    lines.loadFromFile(path);
    mp::Totals totals;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        totals.add(lines.line(i), twoFigures);
    }
    std::printf("%zu lines, totals %lld %lld\n", lines.size(), static_cast<long long>(totals.first),
                static_cast<long long>(totals.second));
    return 0;
}

int merge(const std::string& output, const std::vector<std::string>& inputs) {
    // As the program merges: every input looked at first, the question answered yes.
    mp::MergeQuestion question;
    question.twoFigures = mp::isTwoFigureExtension(mp::extensionOf(output));
    bool asked = false;
    question.ask = [&asked](const std::string&) { return asked = true; };
    mp::mergeFiles(inputs, output, mp::FileSystem::system(), &question);
    std::printf("%zu files merged%s\n", inputs.size(), asked ? ", after the question" : "");
    return 0;
}

int backup(const std::string& source, const std::string& destination) {
    // Every regular file of the source folder, ticked, as if listed and ticked by hand.
    std::vector<mp::ListEntry> entries;
    for (const auto& item : std::filesystem::directory_iterator(source)) {
        if (item.is_regular_file()) {
            const std::string name = item.path().filename().string();
            entries.push_back({name, name, 0, true});
        }
    }
    const mp::BackupResult result = mp::backUpTicked(entries, source, destination);
    std::printf("%d files backed up, %zu not\n", result.copied + result.alreadyThere,
                result.problems.size());
    return 0;
}

int member(const std::string& number, const std::string& folder) {
    // Every file of the folder listed, as the scan would list it, none ticked.
    std::vector<mp::ListEntry> entries;
    for (const auto& item : std::filesystem::directory_iterator(folder)) {
        if (item.is_regular_file()) {
            const std::string name = item.path().filename().string();
            const int kind = mp::kindOfNumberedExtension(mp::upperAscii(mp::extensionOf(name)));
            entries.push_back(mp::ListEntry::forFile(name, kind));
        }
    }
    std::sort(entries.begin(), entries.end(), [](const mp::ListEntry& a, const mp::ListEntry& b) {
        return a.fileName < b.fileName;
    });
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const mp::MemberIndex index(mp::entriesToSearch(entries), folder);
    const auto indexed = Clock::now();
    const mp::MemberTable table(index, mp::MemberIndex::memberNumber(number).value_or(0));
    // Every cell made, as the window and the writers make them.
    std::size_t bytes = 0;
    for (std::size_t row = 0; row < table.rowCount(); ++row)
        for (std::size_t column = 0; column < table.columnCount(); ++column)
            bytes += table.cell(row, column).text.size();
    const auto found = Clock::now();
    const auto ms = [](Clock::duration d) {
        return std::chrono::duration<double, std::milli>(d).count();
    };
    std::printf("%zu lines in %zu files\n", table.rowCount(), index.files().size());
    std::fprintf(stderr, "index %.2f ms, table %.3f ms (%zu bytes)\n", ms(indexed - start),
                 ms(found - indexed), bytes);
    return 0;
}

mp::LinesTable tableOf(const std::string& path, bool twoFigures) {
    mp::LineList lines;
    lines.loadFromFile(path);
    return mp::LinesTable(std::move(lines), twoFigures);
}

// The median of five runs of step, in milliseconds.
template <typename Step> double medianMs(Step step) {
    std::vector<double> times;
    for (int run = 0; run < 5; ++run) {
        const auto start = std::chrono::steady_clock::now();
        step();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return times[2];
}

int find(const std::string& path, bool twoFigures) {
    const mp::LinesTable table = tableOf(path, twoFigures);
    const mp::RowOrder order(table.rowCount());
    // A member in no row, so that the step reads every row and goes round.
    std::string digits;
    for (int candidate = 9999999; digits.empty() && candidate > 0; --candidate) {
        const std::string text = std::to_string(candidate);
        bool seen = false;
        for (std::size_t row = 0; row < table.rowCount() && !seen; ++row)
            seen = table.keyText(row).find(text) != std::string::npos;
        if (!seen)
            digits = text;
    }
    mp::FindResult result;
    const double ms =
        medianMs([&] { result = mp::findRow(table, order, digits, 0, mp::FindStep::Next); });
    std::printf("step_ms=%.3f rows=%zu digits=%s found=%d\n", ms, table.rowCount(), digits.c_str(),
                result.found ? 1 : 0);
    return 0;
}

int sort(const std::string& path, bool twoFigures) {
    const mp::LinesTable table = tableOf(path, twoFigures);
    mp::RowOrder order;
    const double ms =
        medianMs([&] { order = mp::RowOrder::sorted(table, 1, mp::SortDirection::Descending); });
    const std::string top = table.keyText(order.rowAt(0));
    std::printf("sort_ms=%.3f rows=%zu first=%s\n", ms, table.rowCount(), top.c_str());
    return 0;
}

int csv(const std::string& path, const std::string& output, bool twoFigures) {
    const mp::LinesTable table = tableOf(path, twoFigures);
    const std::uint64_t rows = mp::CsvWriter::write(table, mp::RowOrder(table.rowCount()), output);
    std::printf("%llu rows written\n", static_cast<unsigned long long>(rows));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        return usage();
    }
    const std::string command = argv[1];
    try {
        if (command == "scan" && argc == 3) {
            return scan(argv[2]);
        }
        if (command == "view" && (argc == 3 || argc == 4)) {
            return view(argv[2], argc == 4 && std::string(argv[3]) == "two");
        }
        if (command == "merge" && argc >= 4) {
            return merge(argv[2], std::vector<std::string>(argv + 3, argv + argc));
        }
        if (command == "member" && argc == 4) {
            return member(argv[2], argv[3]);
        }
        if (command == "backup" && argc == 4) {
            return backup(argv[2], argv[3]);
        }
        const bool two = std::string(argv[argc - 1]) == "two";
        if ((command == "find" || command == "sort") && (argc == 3 || (argc == 4 && two))) {
            return command == "find" ? find(argv[2], two) : sort(argv[2], two);
        }
        if (command == "csv" && (argc == 4 || (argc == 5 && two))) {
            return csv(argv[2], argv[3], two);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "mpbench: %s\n", error.what());
        return 1;
    }
    return usage();
}
