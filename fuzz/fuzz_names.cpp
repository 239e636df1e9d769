// Name rules and the Convert mapping (FileName.h, FileKind.h) against Reference.h and
// properties: a new name changes only what follows the last dot, the stem is kept, the
// list's order is a strict weak order that ignores ASCII case before the bytes.
//
// Input: three names, each up to a chosen length, and a kind code.

#include "Reference.h"

#include "masterpoint/FileKind.h"
#include "masterpoint/FileName.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

std::string folded(const std::string& name) {
    return ref::upper(name);
}

// The order as its header words it: ASCII letter case ignored, ties by the bytes.
bool before(const std::string& a, const std::string& b) {
    const std::string x = folded(a);
    const std::string y = folded(b);
    if (x != y) {
        return x < y; // std::string compares bytes as unsigned
    }
    return a < b;
}

void checkName(const std::string& name, int code) {
    const std::string shown = ref::shown(name);
    const std::string extension = mp::extensionOf(name);
    REF_CHECK(extension == ref::extensionOf(name), shown + " extension " + ref::shown(extension));
    const std::string stem = mp::withoutExtension(name);
    REF_CHECK(stem + extension == name, shown + " stem " + ref::shown(stem));
    REF_CHECK(mp::upperAscii(name) == ref::upper(name), shown + " in upper case");

    const std::string upperExtension = ref::upper(extension);
    const bool twoFigures = upperExtension == ".MP4" || upperExtension == ".MP5" ||
                            upperExtension == ".GAR" || upperExtension == ".RAG";
    REF_CHECK(mp::isTwoFigureExtension(extension) == twoFigures, shown + " two figures");
    int numbered = 0;
    int colour = 0;
    for (int kind = 1; kind <= 5; ++kind) {
        numbered = upperExtension == ".MP" + std::to_string(kind) ? kind : numbered;
        colour = upperExtension == ref::colourOf(kind) ? kind : colour;
    }
    REF_CHECK(mp::kindOfNumberedExtension(upperExtension) == numbered, shown + " numbered kind");
    REF_CHECK(mp::kindOfColourExtension(upperExtension) == colour, shown + " colour kind");

    // Every code, the five kinds and any other.
    for (const int kind : {code, 1, 2, 3, 4, 5}) {
        const std::string converted = mp::convertedName(name, kind);
        const std::string display = mp::displayName(name, kind);
        const char* const newColour = ref::colourOf(kind);
        const std::string what = shown + " kind " + std::to_string(kind);
        if (newColour == nullptr) {
            REF_CHECK(converted == name, what + " converted to " + ref::shown(converted));
            REF_CHECK(display == name, what + " shown as " + ref::shown(display));
            REF_CHECK(mp::kindByCode(kind) == nullptr, what + " is a kind");
            continue;
        }
        REF_CHECK(mp::kindByCode(kind) != nullptr && mp::kindByCode(kind)->code == kind,
                  what + " has no kind");
        // Only the part from the last dot on changes; the stem stays byte for byte.
        REF_CHECK(converted == ref::stemOf(name) + newColour,
                  what + " converted to " + ref::shown(converted));
        REF_CHECK(display == ref::stemOf(name) + ".MP" + std::to_string(kind) + "(" +
                                 (newColour + 1) + ")",
                  what + " shown as " + ref::shown(display));
        REF_CHECK(mp::withoutExtension(converted) == stem, what + " lost its stem");
        REF_CHECK(mp::extensionOf(converted) == newColour, what + " converted extension");
        REF_CHECK(mp::kindOfColourExtension(mp::upperAscii(mp::extensionOf(converted))) == kind,
                  what + " converted name is not of its kind");
        REF_CHECK(mp::convertedName(converted, kind) == converted, what + " converts twice");
        REF_CHECK(mp::isTwoFigureExtension(mp::extensionOf(converted)) == (kind >= 4),
                  what + " figures of the converted name");
    }

    REF_CHECK(!mp::isBeforeInNameOrder(name, name), shown + " is before itself");
    REF_CHECK(mp::isSameFileName(name, name), shown + " is not itself");
    REF_CHECK(mp::joinPath("folder", name) == "folder/" + name, shown + " joined");
}

void checkPair(const std::string& a, const std::string& b) {
    const std::string shown = ref::shown(a) + " and " + ref::shown(b);
    const bool ab = mp::isBeforeInNameOrder(a, b);
    const bool ba = mp::isBeforeInNameOrder(b, a);
    REF_CHECK(ab == before(a, b), shown + ": first before second is " + std::to_string(ab));
    REF_CHECK(!(ab && ba), shown + " each before the other");
    // Ties go by the bytes, so only equal names are unordered.
    REF_CHECK(ab || ba || a == b, shown + " unordered yet different");
    // POSIX names tell letter case apart: the same file is the same bytes.
    REF_CHECK(mp::isSameFileName(a, b) == (a == b), shown + " same file");
}

void checkTriple(const std::string& a, const std::string& b, const std::string& c) {
    if (mp::isBeforeInNameOrder(a, b) && mp::isBeforeInNameOrder(b, c)) {
        REF_CHECK(mp::isBeforeInNameOrder(a, c), ref::shown(a) + " < " + ref::shown(b) + " < " +
                                                     ref::shown(c) + " not transitive");
    }
    const bool abUnordered = !mp::isBeforeInNameOrder(a, b) && !mp::isBeforeInNameOrder(b, a);
    const bool bcUnordered = !mp::isBeforeInNameOrder(b, c) && !mp::isBeforeInNameOrder(c, b);
    if (abUnordered && bcUnordered) {
        REF_CHECK(!mp::isBeforeInNameOrder(a, c) && !mp::isBeforeInNameOrder(c, a),
                  ref::shown(a) + ", " + ref::shown(c) + ": unordered is not transitive");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const int code = provider.ConsumeIntegral<int>();
    std::string names[3];
    for (std::string& name : names) {
        name = provider.ConsumeRandomLengthString(64);
    }
    // Names that differ only in letter case or in one byte reach the ties of the order.
    if (provider.ConsumeBool() && !names[0].empty()) {
        names[1] = names[0];
        const std::size_t at = provider.ConsumeIntegralInRange<std::size_t>(0, names[1].size() - 1);
        names[1][at] = provider.ConsumeIntegral<char>();
    }
    for (const std::string& name : names) {
        checkName(name, code);
    }
    for (const std::string& a : names) {
        for (const std::string& b : names) {
            checkPair(a, b);
            for (const std::string& c : names) {
                checkTriple(a, b, c);
            }
        }
    }
    return 0;
}
