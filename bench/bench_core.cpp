// Google Benchmark cases for the core on synthetic data: the folder scan, reading and
// summing a file, the totals of ticked files, merging and backing up. Data goes under $TMPDIR (or
// /tmp) and is removed at exit. The merge of 1 GB runs only with MPBENCH_LARGE=1, so a plain run
// stays short.

#include "DataGenerator.h"
#include "ScratchFolder.h"

#include "masterpoint/Backup.h"
#include "masterpoint/FileName.h"
#include "masterpoint/FolderScan.h"
#include "masterpoint/LineList.h"
#include "masterpoint/Merge.h"
#include "masterpoint/Record.h"
#include "masterpoint/TickedTotals.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace {

constexpr std::uint64_t kSeed = 42;

mpbench::ScratchFolder& scratch() {
    static mpbench::ScratchFolder folder("mpbench-core");
    return folder;
}

// Each data set is made once, on first use, and shared by every run of its case.
const mpbench::FolderCensus& scanFolderOf(std::size_t entries, std::string& path) {
    static std::map<std::size_t, mpbench::FolderCensus> made;
    path = scratch() / ("scan-" + std::to_string(entries));
    auto found = made.find(entries);
    if (found == made.end()) {
        mpbench::DataGenerator generator(kSeed);
        found = made.emplace(entries, generator.makeFolder(path, entries)).first;
    }
    return found->second;
}

std::string recordFileOf(std::size_t records, bool twoFigures) {
    const std::string path =
        scratch() / ("records-" + std::to_string(records) + (twoFigures ? ".GAR" : ".GLD"));
    if (!std::filesystem::exists(path)) {
        mpbench::DataGenerator(kSeed).makeRecordFile(path, records, twoFigures);
    }
    return path;
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void BM_ScanFolder(benchmark::State& state) {
    std::string folder;
    const auto& census = scanFolderOf(static_cast<std::size_t>(state.range(0)), folder);
    for (auto _ : state) {
        mp::ScanResult result;
        mp::scanFolder(folder, {}, result);
        if (result.entries.size() != census.valid) {
            state.SkipWithError("the scan listed a different number of files");
            break;
        }
        benchmark::DoNotOptimize(result.entries.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(census.entries));
    state.counters["candidates"] = static_cast<double>(census.candidates);
}

// The scan's own sorting, alone: the names of the folder in the file system's order,
// put in the list's order.
void BM_SortNames(benchmark::State& state) {
    std::string folder;
    scanFolderOf(static_cast<std::size_t>(state.range(0)), folder);
    std::vector<mp::DirEntry> listing;
    mp::FileSystem::system().listFolder(folder, listing);
    std::vector<std::string> names;
    for (const mp::DirEntry& entry : listing) {
        names.push_back(entry.name);
    }
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<std::string> shuffled = names;
        state.ResumeTiming();
        std::sort(shuffled.begin(), shuffled.end(), mp::isBeforeInNameOrder);
        benchmark::DoNotOptimize(shuffled.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(names.size()));
}

void BM_ReadAndSum(benchmark::State& state) {
    const auto records = static_cast<std::size_t>(state.range(0));
    const bool twoFigures = state.range(1) != 0;
    const std::string path = recordFileOf(records, twoFigures);
    for (auto _ : state) {
        mp::LineList lines;
        lines.loadFromFile(path);
        mp::Totals totals;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            totals.add(lines.line(i), twoFigures);
        }
        benchmark::DoNotOptimize(totals);
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(path)));
}

// The parts of reading and summing without the disk: splitting bytes already in memory
// into lines, and summing lines already split.
void BM_SplitLines(benchmark::State& state) {
    const std::string bytes = readAll(recordFileOf(static_cast<std::size_t>(state.range(0)), true));
    for (auto _ : state) {
        const mp::LineList lines = mp::LineList::fromBytes(bytes);
        benchmark::DoNotOptimize(lines.size());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}

void BM_SumTotals(benchmark::State& state) {
    const mp::LineList lines = mp::LineList::fromBytes(
        readAll(recordFileOf(static_cast<std::size_t>(state.range(0)), true)));
    for (auto _ : state) {
        mp::Totals totals;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            totals.add(lines.line(i), true);
        }
        benchmark::DoNotOptimize(totals);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
}

// The totals of ticked files: state.range(0) files of state.range(1) records each, every
// other one of two figures, all ticked; read, checked and summed, members counted.
void BM_TotalTicked(benchmark::State& state) {
    const auto files = static_cast<std::size_t>(state.range(0));
    const auto records = static_cast<std::size_t>(state.range(1));
    const std::string folder =
        scratch() / ("totals-" + std::to_string(files) + "x" + std::to_string(records));
    std::vector<mp::ListEntry> entries;
    std::int64_t bytes = 0;
    std::filesystem::create_directories(folder);
    for (std::size_t i = 0; i < files; ++i) {
        const bool twoFigures = i % 2 == 1;
        const std::string name = "T" + std::to_string(100 + i) + (twoFigures ? ".GAR" : ".GLD");
        const std::string path = folder + "/" + name;
        if (!std::filesystem::exists(path)) {
            mpbench::DataGenerator(kSeed + i).makeRecordFile(path, records, twoFigures);
        }
        bytes += static_cast<std::int64_t>(std::filesystem::file_size(path));
        entries.push_back({name, name, 0, true});
    }
    for (auto _ : state) {
        const mp::TickedTotals totals = mp::totalTicked(entries, folder);
        std::uint64_t counted = 0;
        for (const mp::TickedTotals::ColourSum& colour : totals.colours) {
            counted += colour.summary.records;
        }
        if (counted != files * records) {
            state.SkipWithError("the totals counted a different number of records");
            break;
        }
        benchmark::DoNotOptimize(totals.colours.data());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(files * records));
}

void BM_Merge(benchmark::State& state) {
    const auto total = static_cast<std::uint64_t>(state.range(0));
    const std::size_t files = total >= (std::uint64_t{1} << 30) ? 16 : 10;
    const std::string folder = scratch() / ("merge-" + std::to_string(total));
    static std::map<std::uint64_t, std::vector<std::string>> made;
    auto found = made.find(total);
    if (found == made.end()) {
        found =
            made.emplace(total, mpbench::DataGenerator(kSeed).makeMergeInputs(folder, total, files))
                .first;
    }
    const std::string output = folder + "/Club1234.GAR";
    std::int64_t bytes = 0;
    for (const auto& input : found->second) {
        bytes += static_cast<std::int64_t>(std::filesystem::file_size(input));
    }
    for (auto _ : state) {
        mp::mergeFiles(found->second, output);
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    std::filesystem::remove(output);
    if (total >= (std::uint64_t{1} << 30)) {
        std::filesystem::remove_all(folder); // a gigabyte is not kept for later cases
        made.erase(total);
    }
}

// A small merge whose output goes into a folder of many entries: what the look for
// abandoned temporary files in the output folder adds to every merge.
void BM_MergeIntoBigFolder(benchmark::State& state) {
    std::string folder;
    scanFolderOf(static_cast<std::size_t>(state.range(0)), folder);
    const std::vector<std::string> inputs = {recordFileOf(10000, false)};
    const std::string output = folder + "/Club1234.GLD";
    for (auto _ : state) {
        mp::mergeFiles(inputs, output);
    }
    std::filesystem::remove(output);
}

void BM_Backup(benchmark::State& state) {
    const auto files = static_cast<std::size_t>(state.range(0));
    const std::string source = scratch() / ("backup-src-" + std::to_string(files));
    const std::string destination = scratch() / ("backup-dst-" + std::to_string(files));
    static std::map<std::size_t, std::vector<mp::ListEntry>> made;
    auto found = made.find(files);
    if (found == made.end()) {
        std::vector<mp::ListEntry> entries;
        for (const auto& name : mpbench::DataGenerator(kSeed).makeBackupSet(source, files, 50)) {
            entries.push_back({name, name, 0, true});
        }
        found = made.emplace(files, std::move(entries)).first;
    }
    for (auto _ : state) {
        state.PauseTiming(); // every copy must find a free name, as a first backup does
        std::filesystem::remove_all(destination);
        std::filesystem::create_directory(destination);
        state.ResumeTiming();
        benchmark::DoNotOptimize(mp::backUpTicked(found->second, source, destination));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(files));
    std::filesystem::remove_all(destination);
}

bool largeCasesWanted() {
    const char* large = std::getenv("MPBENCH_LARGE");
    return large != nullptr && std::string(large) == "1";
}

void registerCases() {
    using benchmark::kMillisecond;
    benchmark::RegisterBenchmark("BM_ScanFolder", BM_ScanFolder)
        ->Arg(1000)
        ->Arg(20000)
        ->Arg(100000)
        ->Unit(kMillisecond);
    benchmark::RegisterBenchmark("BM_SortNames", BM_SortNames)->Arg(100000)->Unit(kMillisecond);
    benchmark::RegisterBenchmark("BM_ReadAndSum", BM_ReadAndSum)
        ->Args({10000, 0})
        ->Args({10000, 1})
        ->Args({1000000, 0})
        ->Args({1000000, 1})
        ->Unit(kMillisecond);
    benchmark::RegisterBenchmark("BM_SplitLines", BM_SplitLines)->Arg(1000000)->Unit(kMillisecond);
    benchmark::RegisterBenchmark("BM_SumTotals", BM_SumTotals)->Arg(1000000)->Unit(kMillisecond);
    benchmark::RegisterBenchmark("BM_TotalTicked", BM_TotalTicked)
        ->Args({20, 100000})
        ->Unit(kMillisecond);
    benchmark::RegisterBenchmark("BM_Merge", BM_Merge)->Arg(10 << 20)->Unit(kMillisecond);
    if (largeCasesWanted()) {
        benchmark::RegisterBenchmark("BM_Merge", BM_Merge)
            ->Arg(std::int64_t{1} << 30)
            ->Iterations(2)
            ->Unit(kMillisecond);
    }
    benchmark::RegisterBenchmark("BM_MergeIntoBigFolder", BM_MergeIntoBigFolder)
        ->Arg(0)
        ->Arg(100000)
        ->Unit(kMillisecond);
    benchmark::RegisterBenchmark("BM_Backup", BM_Backup)->Arg(10000)->Unit(kMillisecond);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    registerCases();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
