#include "masterpoint/ListEntry.h"

#include "masterpoint/FileName.h"
#include "masterpoint/Platform.h"
#include "masterpoint/Settings.h"

namespace mp {

std::string entryFileName(const ListEntry& entry) {
    if (entry.kindCode == 0) {
        return entry.displayText;
    }
    const std::string& text = entry.displayText;
    const std::size_t brk = text.find_last_of(kPathBreaks);
    const std::size_t start = brk == std::string::npos ? 0 : brk + 1;
    const std::size_t dot = text.find('.', start);
    const std::size_t end = dot == std::string::npos ? text.size() : dot + 1;
    return text.substr(start, end - start) + "MP" + std::to_string(entry.kindCode);
}

std::string entryPath(const ListEntry& entry, const Settings& settings) {
    return platform::joinPath(settings.masterpointFolder(), entryFileName(entry));
}

std::string entryExtension(const ListEntry& entry) {
    if (entry.kindCode == 0) {
        return extensionOf(entry.displayText);
    }
    return ".MP" + std::to_string(entry.kindCode);
}

} // namespace mp
