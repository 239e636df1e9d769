// mpbench: runs one command of the core from the command line, with no window, so that
// a whole process can be timed against the tools a user would reach for instead.
//
//   mpbench scan <folder>                 lists the folder as the File list would
//   mpbench view <file> [two]             reads the file and sums its figure columns
//   mpbench merge <out> <in>...           merges the inputs into out
//   mpbench backup <srcfolder> <dstfolder>  backs up every file of srcfolder
//
// Each prints a one-line result so that a wrong answer shows beside the timing.

#include "masterpoint/Backup.h"
#include "masterpoint/FileKind.h"
#include "masterpoint/FileName.h"
#include "masterpoint/FolderScan.h"
#include "masterpoint/LineList.h"
#include "masterpoint/Merge.h"
#include "masterpoint/Record.h"

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
               "       mpbench backup <srcfolder> <dstfolder>\n",
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
        if (command == "backup" && argc == 4) {
            return backup(argv[2], argv[3]);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "mpbench: %s\n", error.what());
        return 1;
    }
    return usage();
}
