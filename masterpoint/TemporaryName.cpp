#include "masterpoint/TemporaryName.h"

#include <chrono>
#include <mutex>
#include <random>
#include <thread>

namespace mp {

namespace {

const std::string kMergePrefix = ".mpmgr-merge-";
const std::string kBackupPrefix = ".mpmgr-backup-";
const std::string kSuffix = ".partial";
constexpr std::size_t kRandomLength = 12;
// Lower case only: names that differ by case alone are one file on Windows.
constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool matches(const std::string& name, const std::string& prefix) {
    if (name.size() != prefix.size() + kRandomLength + kSuffix.size() ||
        name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - kSuffix.size(), kSuffix.size(), kSuffix) != 0) {
        return false;
    }
    for (std::size_t i = prefix.size(); i < prefix.size() + kRandomLength; ++i) {
        if (!isLetter(name[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

std::string temporaryName(TemporaryUse use) {
    // Seeded from the system's randomness and the clock, so that two copies of the
    // program started at once still draw apart.
    static std::mutex lock;
    static std::mt19937_64 generator = [] {
        std::random_device device;
        const auto now = static_cast<std::uint64_t>(
            std::chrono::high_resolution_clock::now().time_since_epoch().count());
        std::seed_seq seed{
            device(), device(), static_cast<unsigned>(now), static_cast<unsigned>(now >> 32),
            static_cast<unsigned>(std::hash<std::thread::id>()(std::this_thread::get_id()))};
        return std::mt19937_64(seed);
    }();
    std::string name = use == TemporaryUse::Merge ? kMergePrefix : kBackupPrefix;
    const std::lock_guard<std::mutex> guard(lock);
    for (std::size_t i = 0; i < kRandomLength; ++i) {
        name += kLetters[generator() % (sizeof kLetters - 1)];
    }
    return name + kSuffix;
}

bool isTemporaryName(const std::string& name) {
    return matches(name, kMergePrefix) || matches(name, kBackupPrefix);
}

bool isMergeTemporaryName(const std::string& name) {
    return matches(name, kMergePrefix);
}

void removeAbandonedTemporaries(const std::string& folder, FileSystem& fileSystem) {
    std::vector<DirEntry> entries;
    if (fileSystem.listFolder(folder.empty() ? std::string(".") : folder, entries)) {
        return;
    }
    for (const DirEntry& entry : entries) {
        if ((entry.attributes & Directory) == 0 && isTemporaryName(entry.name)) {
            fileSystem.removeAbandoned(folder + entry.name);
        }
    }
}

} // namespace mp
