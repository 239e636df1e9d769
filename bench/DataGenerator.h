#pragma once
// Synthetic masterpoint data for the benchmarks (folders that mix valid and invalid
// masterpoint files with other files and subfolders, and record files of any size) and
// the sample month that ships with the program.
// Everything is drawn from one seeded generator, so the same seed and the same calls
// give byte-identical files on every machine.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace mpbench {

// What a generated folder holds.
struct FolderCensus {
    std::size_t entries = 0;    // files and subfolders made, "." and ".." not counted
    std::size_t candidates = 0; // files with a numbered or colour extension
    std::size_t valid = 0;      // candidates whose first 13 bytes are digits
    std::size_t folders = 0;    // subfolders, some of them named like candidates
};

class DataGenerator {
public:
    explicit DataGenerator(std::uint64_t seed);

    // Fills folder (created when missing) with `entries` entries named C000000...:
    // about 30% valid numbered files (.MP1-.MP5, some in lower case), 25% valid colour
    // files, 10% candidates that fail the validity test (short, empty or text), 30%
    // other extensions (some of them holding digits, which must never be listed) and
    // 5% subfolders. Masterpoint files hold 1 to 40 records.
    FolderCensus makeFolder(const std::string& folder, std::size_t entries);

    // A masterpoint file of `records` records, each ended by CR LF: member number,
    // one figure or two. Returns the bytes written.
    std::uint64_t makeRecordFile(const std::string& path, std::size_t records, bool twoFigures);

    // `files` two-figure files named IN00001.GAR... in folder, about totalBytes together.
    std::vector<std::string> makeMergeInputs(const std::string& folder, std::uint64_t totalBytes,
                                             std::size_t files);

    // `files` valid one-figure files of `records` records each, named B000001.GLD...;
    // returns their names.
    std::vector<std::string> makeBackupSet(const std::string& folder, std::size_t files,
                                           std::size_t records);

    // A club's month as the sample that ships with the program: eleven nights' files of
    // every kind (two of them with numbered extensions, one in lower case), each a few
    // hundred members of one roster; last month's merged gold file; a note saved under a
    // masterpoint extension; and in CLUB0612.GLD one line whose points slid a place to the
    // right behind a blank and one with a letter in its points.
    void makeSampleMonth(const std::string& folder);

    // Bytes of one record, CR LF included.
    static std::size_t recordSize(bool twoFigures) { return twoFigures ? 21 : 15; }

private:
    std::uint64_t next();
    std::uint64_t below(std::uint64_t bound);
    void appendRecord(std::string& out, bool twoFigures);
    void appendDigits(std::string& out, std::uint64_t value, int width);
    std::string sampleNight(const std::vector<std::uint64_t>& roster, bool twoFigures);
    void writeFile(const std::string& path, const std::string& bytes);

    std::uint64_t state_;
};

} // namespace mpbench
