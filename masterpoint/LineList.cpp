#include "masterpoint/LineList.h"

#include "masterpoint/Error.h"
#include "masterpoint/Platform.h"

namespace mp {

namespace {

// CR, LF or NUL. Every other common byte is above CR, so one comparison usually decides.
bool isBreak(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u <= '\r' && (u == '\r' || u == '\n' || u == 0);
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

void LineList::loadFromFile(const std::string& path) {
    platform::ReadableFile file;
    if (!file.open(path)) {
        throw Error::cannotOpenFile(path);
    }
    std::string text;
    // The size is only a hint: the file may grow or shrink while it is read.
    text.resize(static_cast<std::size_t>(file.size()) + 1);
    std::size_t used = 0;
    for (;;) {
        if (used == text.size()) {
            text.resize(text.size() * 2);
        }
        const long long n = file.read(&text[used], text.size() - used);
        if (n < 0) {
            throw Error::cannotOpenFile(path);
        }
        if (n == 0) {
            break;
        }
        used += static_cast<std::size_t>(n);
    }
    text.resize(used);
    text_ = std::move(text);
    split();
}

std::string_view LineList::line(std::size_t index) const {
    return std::string_view(text_).substr(starts_[index], lengths_[index]);
}

std::string LineList::toCrLfText() const {
    std::string out;
    out.reserve(text_.size() + starts_.size() * 2);
    for (std::size_t i = 0; i < size(); ++i) {
        out += line(i);
        out += "\r\n";
    }
    return out;
}

void LineList::split() {
    const std::size_t nul = text_.find('\0');
    if (nul != std::string::npos) {
        text_.resize(nul);
    }
    starts_.clear();
    lengths_.clear();
    const char* const text = text_.data();
    const std::size_t n = text_.size();
    // Counting the line ends first lets each offset table be allocated once: grown by
    // doubling, the two tables of a million-line file touched twice their final size
    // in fresh memory, and first touches are what reading a big file mostly costs.
    const std::size_t most = mostLines(text, n);
    starts_.reserve(most);
    lengths_.reserve(most);
    std::size_t start = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const char c = text[i];
        if (!isBreak(c)) {
            continue;
        }
        starts_.push_back(start);
        lengths_.push_back(i - start);
        if (c == '\r' && i + 1 < n && text[i + 1] == '\n') {
            ++i;
        }
        start = i + 1;
    }
    if (start < n) {
        starts_.push_back(start);
        lengths_.push_back(n - start);
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
    std::size_t lineStart = i; // where the line being read began
    for (; i < n; ++i) {
        const char c = p[i];
        if (!isBreak(c)) {
            continue;
        }
        if (c == '\r' && i + 1 < n && p[i + 1] == '\n') {
            ++i;
            lineStart = i + 1;
            continue;
        }
        out.append(p + runStart, i - runStart);
        if (c == '\0') {
            lineOpen_ = (lineOpen_ && lineStart == first) || i > lineStart;
            ended_ = true;
            return false;
        }
        out += "\r\n";
        if (c == '\r' && i + 1 == n) {
            pendingCr_ = true; // an LF opening the next chunk belongs to this line end
        }
        runStart = i + 1;
        lineStart = i + 1;
    }
    out.append(p + runStart, n - runStart);
    // A line is left open when text follows the last line end (or, with no line end in
    // this chunk, when one was open before it).
    lineOpen_ = (lineOpen_ && lineStart == first) || n > lineStart;
    return true;
}

void CrLfRewriter::finish(std::string& out) {
    if (lineOpen_) {
        out += "\r\n";
    }
    *this = CrLfRewriter();
}

} // namespace mp
