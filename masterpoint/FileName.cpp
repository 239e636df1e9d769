#include "masterpoint/FileName.h"

#include "masterpoint/FileKind.h"

namespace mp {

#ifdef _WIN32
const char* const kPathBreaks = "\\/:";
#else
const char* const kPathBreaks = "/";
#endif

std::string extensionOf(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    const std::size_t brk = name.find_last_of(kPathBreaks);
    if (dot == std::string::npos || (brk != std::string::npos && brk > dot)) {
        return {};
    }
    return name.substr(dot);
}

std::string baseNameOf(const std::string& name) {
    return name.substr(0, name.find('.'));
}

std::string upperAscii(const std::string& text) {
    std::string upper = text;
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

std::string convertedName(const std::string& name, int kindCode) {
    const FileKind* kind = kindByCode(kindCode);
    return kind ? baseNameOf(name) + kind->colour : name;
}

std::string displayName(const std::string& name, int kindCode) {
    const FileKind* kind = kindByCode(kindCode);
    return kind ? baseNameOf(name) + kind->displaySuffix : name;
}

} // namespace mp
