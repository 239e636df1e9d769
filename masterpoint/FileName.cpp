#include "masterpoint/FileName.h"

#include "masterpoint/FileKind.h"

#include <cstring>

namespace mp {

#ifdef _WIN32
const char* const kPathBreaks = "\\/:";
#else
const char* const kPathBreaks = "/";
#endif

namespace {

unsigned char foldedAscii(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 'a' && u <= 'z' ? static_cast<unsigned char>(u - 'a' + 'A') : u;
}

} // namespace

std::string joinPath(const std::string& folder, const std::string& name) {
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path += folder;
    path += kSeparator;
    path += name;
    return path;
}

std::string extensionOf(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    const std::size_t brk = name.find_last_of(kPathBreaks);
    if (dot == std::string::npos || (brk != std::string::npos && brk > dot)) {
        return {};
    }
    return name.substr(dot);
}

std::string withoutExtension(const std::string& name) {
    return name.substr(0, name.size() - extensionOf(name).size());
}

std::string numberedName(const std::string& name, int number) {
    const std::string extension = extensionOf(name);
    const std::string suffix = " (" + std::to_string(number) + ")" + extension;
    std::string stem = withoutExtension(name);
    if (stem.size() + suffix.size() > kMaxNameBytes) {
        std::size_t keep = suffix.size() < kMaxNameBytes ? kMaxNameBytes - suffix.size() : 0;
        // Not inside a character: back to the lead byte of the one cut, and before it.
        while (keep > 0 && (static_cast<unsigned char>(stem[keep]) & 0xC0) == 0x80) {
            --keep;
        }
        stem.resize(keep);
    }
    return stem + suffix;
}

std::string upperAscii(const std::string& text) {
    std::string upper = text;
    for (char& c : upper) {
        c = static_cast<char>(foldedAscii(c));
    }
    return upper;
}

std::string convertedName(const std::string& name, int kindCode) {
    const FileKind* kind = kindByCode(kindCode);
    return kind ? withoutExtension(name) + kind->colour : name;
}

std::string displayName(const std::string& name, int kindCode) {
    const FileKind* kind = kindByCode(kindCode);
    return kind ? withoutExtension(name) + kind->displaySuffix : name;
}

bool isSameFileName(const std::string& a, const std::string& b) {
#ifdef _WIN32
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldedAscii(a[i]) != foldedAscii(b[i])) {
            return false;
        }
    }
    return true;
#else
    return a == b;
#endif
}

bool isBeforeInNameOrder(const std::string& a, const std::string& b) {
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char x = foldedAscii(a[i]);
        const unsigned char y = foldedAscii(b[i]);
        if (x != y) {
            return x < y;
        }
    }
    if (a.size() != b.size()) {
        return a.size() < b.size();
    }
    return std::memcmp(a.data(), b.data(), a.size()) < 0;
}

} // namespace mp
