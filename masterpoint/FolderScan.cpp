#include "masterpoint/FolderScan.h"

#include "masterpoint/Convert.h"
#include "masterpoint/Error.h"
#include "masterpoint/FileKind.h"
#include "masterpoint/FileName.h"
#include "masterpoint/ValidityTest.h"

#include <algorithm>

namespace mp {

namespace {

// Attribute words that mean "nothing but this one attribute": such entries are passed
// over. The word is compared whole, so a hidden file that is also archive (34) stays.
bool isPassedOver(unsigned attributes) {
    return attributes == ReadOnly || attributes == Hidden || attributes == System ||
           attributes == VolumeLabel || attributes == Directory;
}

struct Candidate {
    std::string name;
    int numberedKind; // 1..5, or 0 for a colour extension
};

bool isBeforeByName(const ListEntry& a, const ListEntry& b) {
    return isBeforeInNameOrder(a.fileName, b.fileName);
}

class Scan {
public:
    Scan(const std::string& folder, const ScanOptions& options, ScanResult& result,
         FileSystem& fileSystem)
        : folder_(joinPath(folder, "")), options_(options), result_(result),
          fileSystem_(fileSystem) {}

    void run() {
        // Taken before the listing: a folder put in its place afterwards (another drive
        // at the same mount point) then differs from what was listed.
        if (fileSystem_.stampAt(folder_, result_.folderStamp)) {
            result_.folderStamp = FileStamp();
        }
        std::vector<DirEntry> listing;
        // A folder that cannot be read lists nothing, as a folder without files does, but
        // the caller learns why.
        result_.folderError = fileSystem_.listFolder(folder_, listing);
        if (result_.folderError || listing.empty()) {
            return;
        }
        if (options_.walkStarted) {
            options_.walkStarted();
        }
        std::vector<Candidate> candidates = candidatesOf(listing);
        listing.clear();
        listing.shrink_to_fit();
        // Tested in name order too, so that the files are renamed, and any that cannot
        // be read are said, in the order the list shows.
        std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
            return isBeforeInNameOrder(a.name, b.name);
        });
        result_.entries.reserve(candidates.size());
        const std::size_t interval = std::max<std::size_t>(options_.progressInterval, 1);
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            consider(candidates[i]);
            if (options_.progress && (i + 1) % interval == 0) {
                options_.progress(i + 1, candidates.size());
            }
        }
        sortEntries();
    }

private:
    // The entries with a masterpoint extension, in any letter case; their names are
    // moved out of the listing.
    static std::vector<Candidate> candidatesOf(std::vector<DirEntry>& listing) {
        std::vector<Candidate> candidates;
        for (DirEntry& entry : listing) {
            if (isPassedOver(entry.attributes)) {
                continue;
            }
            const std::size_t dot = entry.name.rfind('.');
            // ".MP1" and the rest are four characters; anything else is never opened.
            if (dot == std::string::npos || entry.name.size() - dot != 4) {
                continue;
            }
            char upper[5] = {};
            for (std::size_t i = 0; i < 4; ++i) {
                const char c = entry.name[dot + i];
                upper[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
            }
            if (const int kind = kindOfNumberedExtension(upper)) {
                candidates.push_back({std::move(entry.name), kind});
            } else if (kindOfColourExtension(upper) != 0) {
                candidates.push_back({std::move(entry.name), 0});
            }
        }
        return candidates;
    }

    void consider(const Candidate& candidate) {
        if (!isValid(candidate.name)) {
            return;
        }
        if (candidate.numberedKind == 0 || !options_.convertExtensions) {
            result_.entries.push_back(ListEntry::forFile(candidate.name, candidate.numberedKind));
            return;
        }
        const std::string converted = convertedName(candidate.name, candidate.numberedKind);
        if (convertFile(folder_, candidate.name, converted, result_.problems, fileSystem_)) {
            result_.entries.push_back(ListEntry::forFile(converted, 0));
        } else {
            // Listed as it is on disk, so that every command still reaches it.
            result_.entries.push_back(ListEntry::forFile(candidate.name, candidate.numberedKind));
        }
    }

    bool isValid(const std::string& name) {
        try {
            // One buffer for every path: a scan forms one for each candidate.
            path_.assign(folder_).append(name);
            return isMasterpointFile(path_, Known::RegularFile, fileSystem_);
        } catch (const Error& error) {
            if (error.reason() != std::errc::no_such_file_or_directory) {
                // One file that cannot be read (no permission, a link loop) keeps none of
                // the others from the list: it is said, with the reason, and passed over.
                result_.problems.add(error.what() + (": " + describe(error.reason())),
                                     "test " + path_ + ": " + error.reason().message());
            }
            return false; // gone since the listing: nothing to list
        }
    }

    // The entries come in the candidates' order; only a converted name can have moved.
    void sortEntries() {
        if (!std::is_sorted(result_.entries.begin(), result_.entries.end(), isBeforeByName)) {
            std::stable_sort(result_.entries.begin(), result_.entries.end(), isBeforeByName);
        }
    }

    const std::string folder_; // with its separator
    std::string path_;
    const ScanOptions& options_;
    ScanResult& result_;
    FileSystem& fileSystem_;
};

} // namespace

void scanFolder(const std::string& folder, const ScanOptions& options, ScanResult& result,
                FileSystem& fileSystem) {
    result.entries.clear();
    result.problems = Problems();
    result.folderError = {};
    Scan(folder, options, result, fileSystem).run();
}

} // namespace mp
