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
    const std::size_t n = text_.size();
    std::size_t start = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const char c = text_[i];
        if (!isBreak(c)) {
            continue;
        }
        starts_.push_back(start);
        lengths_.push_back(i - start);
        if (c == '\r' && i + 1 < n && text_[i + 1] == '\n') {
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
    std::size_t i = 0;
    if (pendingCr_ && !chunk.empty()) {
        pendingCr_ = false;
        if (chunk[0] == '\n') {
            i = 1;
        }
    }
    std::size_t runStart = i;
    for (; i < chunk.size(); ++i) {
        const char c = chunk[i];
        if (!isBreak(c)) {
            continue;
        }
        out.append(chunk.data() + runStart, i - runStart);
        if (c == '\0') {
            lineOpen_ = lineOpen_ || i > runStart;
            ended_ = true;
            return false;
        }
        out += "\r\n";
        lineOpen_ = false;
        if (c == '\r') {
            if (i + 1 == chunk.size()) {
                pendingCr_ = true;
            } else if (chunk[i + 1] == '\n') {
                ++i;
            }
        }
        runStart = i + 1;
    }
    if (runStart < chunk.size()) {
        out.append(chunk.data() + runStart, chunk.size() - runStart);
        lineOpen_ = true;
    }
    return true;
}

void CrLfRewriter::finish(std::string& out) {
    if (lineOpen_) {
        out += "\r\n";
    }
    *this = CrLfRewriter();
}

} // namespace mp
