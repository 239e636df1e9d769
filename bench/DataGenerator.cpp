#include "DataGenerator.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace mpbench {

namespace {

const char* const kNumbered[] = {".MP1", ".MP2", ".MP3", ".MP4", ".MP5"};
const char* const kNumberedLower[] = {".mp1", ".mp2", ".mp3", ".mp4", ".mp5"};
const char* const kColour[] = {".GLD", ".RED", ".GRN", ".GAR", ".RAG"};
const char* const kOther[] = {".TXT", ".DOC", ".BAK", ".CSV", ""};

std::string entryName(char prefix, std::size_t index, const char* extension) {
    char name[32];
    std::snprintf(name, sizeof name, "%c%06zu", prefix, index);
    return std::string(name) + extension;
}

void makeFolderOrThrow(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        throw std::runtime_error("cannot create folder " + folder + ": " + error.message());
    }
}

// Writes in large pieces so that files of gigabytes cost little more than the disk.
class ChunkedWriter {
public:
    explicit ChunkedWriter(const std::string& path) : file_(std::fopen(path.c_str(), "wb")) {
        if (file_ == nullptr) {
            throw std::runtime_error("cannot create " + path);
        }
    }
    ~ChunkedWriter() {
        if (file_ != nullptr) {
            std::fclose(file_);
        }
    }
    ChunkedWriter(const ChunkedWriter&) = delete;
    ChunkedWriter& operator=(const ChunkedWriter&) = delete;

    void write(const std::string& bytes) {
        if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
            throw std::runtime_error("write failed");
        }
    }
    void close() {
        const int result = std::fclose(file_);
        file_ = nullptr;
        if (result != 0) {
            throw std::runtime_error("close failed");
        }
    }

private:
    std::FILE* file_;
};

struct SampleFile {
    const char* name;
    bool twoFigures;
};
const SampleFile kSampleNights[] = {
    {"CLUB0602.GLD", false}, {"CLUB0605.RED", false}, {"CLUB0609.GLD", false},
    {"CLUB0612.GLD", false}, {"CLUB0613.MP1", false}, {"CLUB0614.GAR", true},
    {"club0615.mp2", false}, {"CLUB0616.RAG", true},  {"CLUB0619.GLD", false},
    {"CLUB0623.GRN", false}, {"CLUB0630.RED", false},
};
// Awards as a club night gives them, in hundredths: mostly fractions of a point.
const unsigned kAwards[] = {25, 25, 50, 50, 50, 75, 75, 100, 100, 150, 200, 300, 500};
constexpr std::size_t kAwardCount = sizeof kAwards / sizeof kAwards[0];

} // namespace

DataGenerator::DataGenerator(std::uint64_t seed) : state_(seed) {}

// splitmix64: small, fast and the same everywhere, unlike the standard distributions.
std::uint64_t DataGenerator::next() {
    std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

std::uint64_t DataGenerator::below(std::uint64_t bound) {
    return next() % bound;
}

void DataGenerator::appendDigits(std::string& out, std::uint64_t value, int width) {
    char digits[20];
    for (int i = width - 1; i >= 0; --i) {
        digits[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    out.append(digits, static_cast<std::size_t>(width));
}

void DataGenerator::appendRecord(std::string& out, bool twoFigures) {
    appendDigits(out, 1000000 + below(9000000), 7);
    // Most awards are a few points, now and then a larger one: a million records still
    // sum to less than 2^31 hundredths, as a real club's files do.
    appendDigits(out, below(16) == 0 ? below(10000) : below(500), 6);
    if (twoFigures) {
        appendDigits(out, below(300), 6);
    }
    out += "\r\n";
}

void DataGenerator::writeFile(const std::string& path, const std::string& bytes) {
    ChunkedWriter writer(path);
    writer.write(bytes);
    writer.close();
}

FolderCensus DataGenerator::makeFolder(const std::string& folder, std::size_t entries) {
    makeFolderOrThrow(folder);
    FolderCensus census;
    std::string bytes;
    for (std::size_t i = 0; i < entries; ++i) {
        const std::uint64_t pick = below(100);
        const std::string base = folder + "/";
        bytes.clear();
        ++census.entries;
        if (pick < 55) {
            // A valid masterpoint file, numbered (some in lower case) or coloured.
            const std::size_t kind = below(5);
            const char* extension = pick < 30
                                        ? (below(5) == 0 ? kNumberedLower[kind] : kNumbered[kind])
                                        : kColour[kind];
            const std::size_t records = 1 + below(40);
            for (std::size_t r = 0; r < records; ++r) {
                appendRecord(bytes, kind >= 3);
            }
            writeFile(base + entryName('C', i, extension), bytes);
            ++census.candidates;
            ++census.valid;
        } else if (pick < 65) {
            // A candidate by name that fails the test: too short, empty, or a text header.
            const char* extension = below(2) == 0 ? kNumbered[below(5)] : kColour[below(5)];
            switch (below(3)) {
            case 0:
                appendDigits(bytes, below(1000000), 6);
                break;
            case 1:
                break;
            default:
                bytes = "Club results, week 12\r\n";
                appendRecord(bytes, false);
                break;
            }
            writeFile(base + entryName('C', i, extension), bytes);
            ++census.candidates;
        } else if (pick < 95) {
            // Another kind of file; some hold records, which the scan must not look at.
            if (below(2) == 0) {
                appendRecord(bytes, false);
            } else {
                bytes.assign(50 + below(400), 'x');
            }
            writeFile(base + entryName('C', i, kOther[below(5)]), bytes);
        } else {
            // A subfolder; half of them carry a masterpoint extension.
            const char* extension = below(2) == 0 ? kNumbered[below(5)] : "";
            makeFolderOrThrow(base + entryName('D', i, extension));
            ++census.folders;
        }
    }
    return census;
}

std::uint64_t DataGenerator::makeRecordFile(const std::string& path, std::size_t records,
                                            bool twoFigures) {
    ChunkedWriter writer(path);
    std::string chunk;
    constexpr std::size_t kChunkRecords = 1 << 16;
    std::uint64_t written = 0;
    for (std::size_t done = 0; done < records;) {
        chunk.clear();
        const std::size_t count = std::min(kChunkRecords, records - done);
        for (std::size_t r = 0; r < count; ++r) {
            appendRecord(chunk, twoFigures);
        }
        writer.write(chunk);
        written += chunk.size();
        done += count;
    }
    writer.close();
    return written;
}

std::vector<std::string> DataGenerator::makeMergeInputs(const std::string& folder,
                                                        std::uint64_t totalBytes,
                                                        std::size_t files) {
    makeFolderOrThrow(folder);
    std::vector<std::string> paths;
    const std::uint64_t perFile = totalBytes / files;
    const std::size_t records = static_cast<std::size_t>(perFile / recordSize(true));
    for (std::size_t i = 0; i < files; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "IN%05zu.GAR", i + 1);
        paths.push_back(folder + "/" + name);
        makeRecordFile(paths.back(), records, true);
    }
    return paths;
}

std::vector<std::string> DataGenerator::makeBackupSet(const std::string& folder, std::size_t files,
                                                      std::size_t records) {
    makeFolderOrThrow(folder);
    std::vector<std::string> names;
    std::string bytes;
    for (std::size_t i = 0; i < files; ++i) {
        bytes.clear();
        for (std::size_t r = 0; r < records; ++r) {
            appendRecord(bytes, false);
        }
        names.push_back(entryName('B', i + 1, ".GLD"));
        writeFile(folder + "/" + names.back(), bytes);
    }
    return names;
}

std::string DataGenerator::sampleNight(const std::vector<std::uint64_t>& roster, bool twoFigures) {
    // Who played: a few hundred of the roster, each once, in no particular order.
    std::vector<std::uint64_t> players = roster;
    for (std::size_t i = players.size() - 1; i > 0; --i) {
        std::swap(players[i], players[below(i + 1)]);
    }
    players.resize(180 + below(220));
    std::string bytes;
    for (const std::uint64_t member : players) {
        appendDigits(bytes, member, 7);
        appendDigits(bytes, kAwards[below(kAwardCount)], 6);
        if (twoFigures) {
            appendDigits(bytes, below(3) == 0 ? 0 : kAwards[below(6)], 6);
        }
        bytes += "\r\n";
    }
    return bytes;
}

void DataGenerator::makeSampleMonth(const std::string& folder) {
    makeFolderOrThrow(folder);
    // The members of one club, so that the same numbers come back night after night.
    std::vector<std::uint64_t> roster;
    while (roster.size() < 420) {
        const std::uint64_t member = 1000000 + below(9000000);
        if (std::find(roster.begin(), roster.end(), member) == roster.end()) {
            roster.push_back(member);
        }
    }
    for (const SampleFile& night : kSampleNights) {
        std::string bytes = sampleNight(roster, night.twoFigures);
        if (std::string(night.name) == "CLUB0612.GLD") {
            // Records are 15 bytes: member, points, CR LF. A blank pushed in before the
            // points (still counted) and a letter O typed for a zero (not counted).
            bytes.replace(40 * 15 + 7, 6, " 00232");
            bytes[117 * 15 + 9] = 'O';
        }
        writeFile(folder + "/" + night.name, bytes);
    }
    // Last month's gold files, merged one after the other as the program merges them.
    std::string merged;
    for (int night = 0; night < 3; ++night) {
        merged += sampleNight(roster, false);
    }
    writeFile(folder + "/Club612.GLD", merged);
    writeFile(folder + "/CLUB0620.RED", "No pairs on 20 June: the hall was let for a wedding.\r\n"
                                        "No masterpoints were awarded.\r\n");
}

} // namespace mpbench
