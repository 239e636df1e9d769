#pragma once
// Name rules. Names are byte strings: nothing here assumes an encoding.

#include <string>

namespace mp {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

// The characters that end a folder part in a path: '/' on POSIX, where a file name may
// hold '\\' and ':' as ordinary bytes; '\\', '/' and ':' on Windows.
extern const char* const kPathBreaks;

// folder + separator + name, as plain text: nothing added or removed.
std::string joinPath(const std::string& folder, const std::string& name);

// From the last "." to the end, the "." included; empty when the name has no ".".
// Only the part after the last of kPathBreaks is looked at.
std::string extensionOf(const std::string& name);

// The name without its extension ("a.b.MP2" -> "a.b").
std::string withoutExtension(const std::string& name);

// The name of the copy number `number` of a file kept beside it: "CLUB0612 (2).GLD",
// the extension kept ("NAME (2)" without one). Where that would be longer than a file
// name can be (kMaxNameBytes), the part before the extension is cut short, at the start
// of a UTF-8 character.
constexpr std::size_t kMaxNameBytes = 255;
std::string numberedName(const std::string& name, int number);

// ASCII letters a-z turned to upper case; every other byte kept.
std::string upperAscii(const std::string& text);

// The name with its last extension turned to the colour extension of the kind
// ("a.b.mp2" -> "a.b.RED"); the name as it stands for a code that is not a kind.
std::string convertedName(const std::string& name, int kindCode);

// The name with its last extension turned to the display suffix of the kind
// ("club.mp2" -> "club.MP2(RED)"); the name as it stands for a code that is not a kind.
std::string displayName(const std::string& name, int kindCode);

// Whether two names of one folder are the same file: exactly the same bytes where names
// tell letter case apart, the same but for the case of ASCII letters where they do not
// (Windows).
bool isSameFileName(const std::string& a, const std::string& b);

// The list's order of names: ASCII letter case ignored, ties by the bytes.
bool isBeforeInNameOrder(const std::string& a, const std::string& b);

} // namespace mp
