#include "masterpoint/FolderScan.h"

#include "masterpoint/FileKind.h"
#include "masterpoint/FileName.h"
#include "masterpoint/Platform.h"
#include "masterpoint/Settings.h"
#include "masterpoint/ValidityTest.h"

#include <set>

namespace mp {

namespace {

// Attribute words that mean "nothing but this one attribute": such entries are passed
// over. The word is compared whole, so a read-only file that is also archive (33) stays.
bool isPassedOver(unsigned attributes) {
    using namespace platform;
    return attributes == ReadOnly || attributes == Hidden || attributes == System ||
           attributes == VolumeLabel || attributes == Directory;
}

class Scan {
public:
    Scan(const Settings& settings, ScanListener& listener)
        : settings_(settings), listener_(listener) {}

    void consider(const platform::DirEntry& entry) {
        if (isPassedOver(entry.attributes) || renamedHere_.count(entry.name) != 0) {
            return;
        }
        const std::string extension = upperAscii(extensionOf(entry.name));
        if (const int kind = kindOfNumberedExtension(extension)) {
            if (isListedMasterpointFile(settings_, entry.name)) {
                addNumbered(entry.name, kind);
            }
        } else if (kindOfColourExtension(extension) != 0) {
            if (isListedMasterpointFile(settings_, entry.name)) {
                listener_.addEntry({entry.name, 0, false});
            }
        }
    }

private:
    void addNumbered(const std::string& name, int kind) {
        if (!listener_.convertExtensions()) {
            listener_.addEntry({displayName(name, kind), kind, false});
            return;
        }
        const std::string converted = convertedName(name, kind);
        listener_.addEntry({converted, 0, false});
        const std::string from = platform::joinPath(settings_.masterpointFolder(), name);
        const std::string to = platform::joinPath(settings_.masterpointFolder(), converted);
        // A failed rename is not reported: the entry stays listed under the new name.
        // A file renamed here may come up again under its new name later in the same
        // walk; it is one file and gets one entry.
        if (platform::renameNoReplace(from, to)) {
            renamedHere_.insert(converted);
        }
    }

    const Settings& settings_;
    ScanListener& listener_;
    std::set<std::string> renamedHere_;
};

} // namespace

void scanFolder(const Settings& settings, ScanListener& listener) {
    // The folder with the separator after it, as the entry paths are formed: an empty
    // folder setting walks the root, whose files its paths then name.
    const std::string folder = platform::joinPath(settings.masterpointFolder(), "");
    // A regular file always carries the archive bit, so whether it is also read-only
    // never decides whether it is passed over; finding that out would cost a call for
    // every file in the folder.
    platform::FolderEnumeration enumeration(platform::FolderEnumeration::Detail::NoReadOnlyBit);
    platform::DirEntry entry;
    if (!enumeration.first(folder, entry)) {
        return;
    }
    listener.walkStarted();
    Scan scan(settings, listener);
    do {
        scan.consider(entry);
    } while (enumeration.next(entry));
}

} // namespace mp
