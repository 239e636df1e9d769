// mpgen: makes the synthetic data that the benchmarks and bench/compare.sh run on.
// The same seed gives the same bytes, so figures from two machines compare.
//
//   mpgen folder <dir> <entries> [seed]             prints: entries candidates valid folders
//   mpgen records <file> <records> one|two [seed]   prints: bytes written
//   mpgen merge-inputs <dir> <total-bytes> <files> [seed]   prints one path per line
//   mpgen backup-set <dir> <files> <records> [seed]
//   mpgen sample <dir> [seed]                       the sample month (data/sample: seed 612)

#include "DataGenerator.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <string>

namespace {

int usage() {
    std::fputs("usage: mpgen folder <dir> <entries> [seed]\n"
               "       mpgen records <file> <records> one|two [seed]\n"
               "       mpgen merge-inputs <dir> <total-bytes> <files> [seed]\n"
               "       mpgen backup-set <dir> <files> <records> [seed]\n"
               "       mpgen sample <dir> [seed]\n",
               stderr);
    return 2;
}

unsigned long long number(const char* text) {
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text, &end, 10);
    if (end == text || *end != '\0') {
        throw std::invalid_argument(std::string("not a number: ") + text);
    }
    return value;
}

std::uint64_t seedArg(int argc, char** argv, int index) {
    return argc > index ? number(argv[index]) : 42;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return usage();
    }
    const std::string command = argv[1];
    try {
        if (command == "folder" && argc >= 4) {
            mpbench::DataGenerator generator(seedArg(argc, argv, 4));
            const auto census = generator.makeFolder(argv[2], number(argv[3]));
            std::printf("%zu %zu %zu %zu\n", census.entries, census.candidates, census.valid,
                        census.folders);
        } else if (command == "records" && argc >= 5) {
            const std::string layout = argv[4];
            if (layout != "one" && layout != "two") {
                return usage();
            }
            mpbench::DataGenerator generator(seedArg(argc, argv, 5));
            std::printf("%llu\n", static_cast<unsigned long long>(generator.makeRecordFile(
                                      argv[2], number(argv[3]), layout == "two")));
        } else if (command == "merge-inputs" && argc >= 5) {
            mpbench::DataGenerator generator(seedArg(argc, argv, 5));
            for (const auto& path :
                 generator.makeMergeInputs(argv[2], number(argv[3]), number(argv[4]))) {
                std::printf("%s\n", path.c_str());
            }
        } else if (command == "backup-set" && argc >= 5) {
            mpbench::DataGenerator generator(seedArg(argc, argv, 5));
            generator.makeBackupSet(argv[2], number(argv[3]), number(argv[4]));
        } else if (command == "sample" && argc >= 3) {
            mpbench::DataGenerator generator(seedArg(argc, argv, 3));
            generator.makeSampleMonth(argv[2]);
        } else {
            return usage();
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "mpgen: %s\n", error.what());
        return 1;
    }
    return 0;
}
