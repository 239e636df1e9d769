#pragma once
// The five kinds of masterpoint file. Kind code n (1..5) has the numbered extension
// ".MPn", a colour extension and the display suffix ".MPn(COLOUR)". Kinds 4 and 5
// hold two figures per record, the others one.

#include <string>
#include <string_view>

namespace mp {

struct FileKind {
    int code;                  // 1..5
    const char* numbered;      // ".MP1"
    const char* colour;        // ".GLD"
    const char* displaySuffix; // ".MP1(GLD)"
    int figures;               // 1 or 2
};

// The kind with this code, or nullptr when code is not 1..5.
const FileKind* kindByCode(int code);

// Kind code of an upper-case extension: 1..5 when it is a numbered extension, else 0.
int kindOfNumberedExtension(std::string_view upperExtension);
// Kind code of an upper-case extension: 1..5 when it is a colour extension, else 0.
int kindOfColourExtension(std::string_view upperExtension);

// True when an extension (any letter case) names a two-figure file:
// ".MP4", ".MP5", ".GAR" or ".RAG".
bool isTwoFigureExtension(const std::string& extension);

} // namespace mp
