#include "masterpoint/FileKind.h"

#include "masterpoint/FileName.h"

namespace mp {

namespace {

const FileKind kKinds[] = {
    {1, ".MP1", ".GLD", ".MP1(GLD)", 1}, {2, ".MP2", ".RED", ".MP2(RED)", 1},
    {3, ".MP3", ".GRN", ".MP3(GRN)", 1}, {4, ".MP4", ".GAR", ".MP4(GAR)", 2},
    {5, ".MP5", ".RAG", ".MP5(RAG)", 2},
};

} // namespace

const FileKind* kindByCode(int code) {
    return code >= 1 && code <= 5 ? &kKinds[code - 1] : nullptr;
}

int kindOfNumberedExtension(std::string_view upperExtension) {
    for (const FileKind& kind : kKinds) {
        if (upperExtension == kind.numbered) {
            return kind.code;
        }
    }
    return 0;
}

int kindOfColourExtension(std::string_view upperExtension) {
    for (const FileKind& kind : kKinds) {
        if (upperExtension == kind.colour) {
            return kind.code;
        }
    }
    return 0;
}

bool isTwoFigureExtension(const std::string& extension) {
    const std::string upper = upperAscii(extension);
    const int kind = kindOfNumberedExtension(upper) + kindOfColourExtension(upper);
    return kind != 0 && kindByCode(kind)->figures == 2;
}

} // namespace mp
