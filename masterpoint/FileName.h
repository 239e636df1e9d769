#pragma once
// Name rules. Names are byte strings: nothing here assumes an encoding.

#include <string>

namespace mp {

// The characters that end a folder part in a path: '/' on POSIX, where a file name may
// hold '\\' and ':' as ordinary bytes; '\\', '/' and ':' on Windows.
extern const char* const kPathBreaks;

// From the last "." to the end, the "." included; empty when the name has no ".".
// Only the part after the last of kPathBreaks is looked at.
std::string extensionOf(const std::string& name);

// The part before the first ".", the "." excluded (the whole name when it has none).
std::string baseNameOf(const std::string& name);

// ASCII letters a-z turned to upper case; every other byte kept.
std::string upperAscii(const std::string& text);

// Base name followed by the colour extension of the kind ("a.b.MP2" -> "a.RED").
std::string convertedName(const std::string& name, int kindCode);

// Base name followed by the display suffix of the kind ("club.mp2" -> "club.MP2(RED)").
std::string displayName(const std::string& name, int kindCode);

} // namespace mp
