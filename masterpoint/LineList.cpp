#include "masterpoint/LineList.h"

#include "masterpoint/Error.h"
#include "masterpoint/LineBreaks.h"
#include "masterpoint/ReadableFile.h"

#include <cstdint>
#include <limits>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace mp {

namespace {

// Prepares memory just allocated, not yet touched, that is about to be filled whole.
// A big file is read into fresh memory, and every first touch of a 4 KiB page is a
// fault, which on a virtual machine costs more than the reading and splitting of the
// page (docs/performance.md has the figures). So the whole 2 MiB blocks of the range
// are asked to be huge pages, and the range is mapped in one call rather than page by
// page (its ends, shared with the allocator's own bookkeeping, cannot be huge pages).
// Both are hints: where the system has neither, nothing changes.
void prepareFreshMemory(const void* data, std::size_t size) {
#ifdef __linux__
    constexpr std::uintptr_t kPage = 4096;
    constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20;
    if (size < kHuge) {
        return;
    }
    const auto start = reinterpret_cast<std::uintptr_t>(data);
#ifdef MADV_HUGEPAGE
    const std::uintptr_t hugeBegin = (start + kHuge - 1) & ~(kHuge - 1);
    const std::uintptr_t hugeEnd = (start + size) & ~(kHuge - 1);
    if (hugeEnd > hugeBegin) {
        ::madvise(reinterpret_cast<void*>(hugeBegin), hugeEnd - hugeBegin, MADV_HUGEPAGE);
    }
#endif
#ifdef MADV_POPULATE_WRITE
    const std::uintptr_t begin = start & ~(kPage - 1);
    const std::uintptr_t end = (start + size + kPage - 1) & ~(kPage - 1);
    ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#endif
#else
    (void)data;
    (void)size;
#endif
}

// The line count of any text that does not mix lone CRs with lone LFs, or more: the
// larger of the CR and LF counts, plus one for a last line without an end. (A text that
// mixes them only makes the tables grow as before.) Counted in blocks of 255 bytes with byte-wide
// counters, which the compiler turns into wide compares: a tenth of a plain counting loop's time.
std::size_t mostLines(const char* text, std::size_t n) {
    std::size_t crs = 0;
    std::size_t lfs = 0;
    std::size_t i = 0;
    while (i < n) {
        const std::size_t blockEnd = n - i > 255 ? i + 255 : n;
        unsigned char blockCrs = 0;
        unsigned char blockLfs = 0;
        for (; i < blockEnd; ++i) {
            blockCrs += text[i] == '\r';
            blockLfs += text[i] == '\n';
        }
        crs += blockCrs;
        lfs += blockLfs;
    }
    return (crs > lfs ? crs : lfs) + 1;
}

} // namespace

LineList LineList::fromBytes(std::string_view bytes) {
    LineList list;
    list.text_.assign(bytes.data(), bytes.size());
    list.split();
    return list;
}

void LineList::loadFromFile(const std::string& path, FileSystem& fileSystem) {
    ReadableFile file(fileSystem);
    if (const std::error_code error = file.open(path)) {
        throw Error::cannotOpenFile(path, error);
    }
    std::string text;
    // The size is only a hint: the file may grow or shrink while it is read.
    const std::size_t expected = static_cast<std::size_t>(file.size()) + 1;
    text.reserve(expected);
    prepareFreshMemory(text.data(), text.capacity());
    text.resize(expected);
    std::size_t used = 0;
    for (;;) {
        if (used == text.size()) {
            text.resize(text.size() * 2);
        }
        std::size_t n = 0;
        if (const std::error_code error = file.read(&text[used], text.size() - used, n)) {
            throw Error::cannotReadFile(path, error);
        }
        if (n == 0) {
            break;
        }
        used += n;
    }
    text.resize(used);
    text_ = std::move(text);
    split();
}

std::string_view LineList::line(std::size_t index) const {
    const std::string_view text(text_);
    if (wide_) {
        const auto start = static_cast<std::size_t>(wideLines_.starts[index]);
        return text.substr(start, static_cast<std::size_t>(wideLines_.ends[index]) - start);
    }
    const std::size_t start = narrowLines_.starts[index];
    return text.substr(start, narrowLines_.ends[index] - start);
}

void LineList::split() {
    narrowLines_ = {};
    wideLines_ = {};
    wide_ = text_.size() > std::numeric_limits<std::uint32_t>::max();
    if (wide_) {
        splitInto(wideLines_);
    } else {
        splitInto(narrowLines_);
    }
}

template <typename Offset> void LineList::splitInto(Lines<Offset>& lines) {
    const char* const text = text_.data();
    const std::size_t n = text_.size();
    // Counting the line ends first lets each offset table be allocated once: grown by
    // doubling, the two tables of a million-line file touched twice their final size
    // in fresh memory, and first touches are what reading a big file mostly costs.
    const std::size_t most = mostLines(text, n);
    lines.starts.reserve(most);
    lines.ends.reserve(most);
    prepareFreshMemory(lines.starts.data(), lines.starts.capacity() * sizeof(Offset));
    prepareFreshMemory(lines.ends.data(), lines.ends.capacity() * sizeof(Offset));
    std::size_t start = 0; // where the line being read began
    // A line end is a CR, an LF, or a CR LF pair, after which the next line starts. A
    // NUL is a byte of its line like any other.
    forEachBreak<false>(text, n, [&](std::size_t at) {
        if (at >= start) { // else the LF of a CR LF pair already taken
            lines.starts.push_back(static_cast<Offset>(start));
            lines.ends.push_back(static_cast<Offset>(at));
            start = (text[at] == '\r' && at + 1 < n && text[at + 1] == '\n') ? at + 2 : at + 1;
        }
        return true;
    });
    if (start < n) {
        lines.starts.push_back(static_cast<Offset>(start));
        lines.ends.push_back(static_cast<Offset>(n));
    }
}

bool CrLfRewriter::feed(std::string_view chunk, std::string& out) {
    if (ended_) {
        return false;
    }
    const char* const p = chunk.data();
    const std::size_t n = chunk.size();
    std::size_t i = 0;
    if (pendingCr_ && n != 0) {
        pendingCr_ = false;
        if (p[0] == '\n') {
            i = 1;
        }
    }
    // Lines that already end in CR LF are left in the run and copied with it, so text
    // written by the scoring program goes out in one copy per chunk; only a lone CR or
    // LF, a NUL, or a CR that ends the chunk breaks the run.
    const std::size_t first = i;
    std::size_t runStart = i;
    std::size_t lineStart = i; // where the line being read began; bytes before it are done
    // Handles the CR, LF or NUL at `at`; false at a NUL, which ends the input.
    const auto lineEnd = [&](std::size_t at) {
        if (at < lineStart) {
            return true; // the LF of a CR LF pair
        }
        const char c = p[at];
        if (c == '\r' && at + 1 < n && p[at + 1] == '\n') {
            lineStart = at + 2;
            ++linesEnded_;
            return true;
        }
        out.append(p + runStart, at - runStart);
        if (c == '\0') {
            lineOpen_ = (lineOpen_ && lineStart == first) || at > lineStart;
            ended_ = true;
            return false;
        }
        out += "\r\n";
        ++linesEnded_;
        if (c == '\r' && at + 1 == n) {
            pendingCr_ = true; // an LF opening the next chunk belongs to this line end
        }
        runStart = at + 1;
        lineStart = at + 1;
        return true;
    };
    if (!forEachBreak<true>(p + i, n - i, [&](std::size_t at) { return lineEnd(i + at); })) {
        return false;
    }
    out.append(p + runStart, n - runStart);
    // A line is left open when text follows the last line end (or, with no line end in
    // this chunk, when one was open before it).
    lineOpen_ = (lineOpen_ && lineStart == first) || n > lineStart;
    return true;
}

std::uint64_t CrLfRewriter::finish(std::string& out) {
    std::uint64_t lines = linesEnded_;
    if (lineOpen_) {
        out += "\r\n";
        ++lines;
    }
    *this = CrLfRewriter();
    return lines;
}

} // namespace mp
