#include "masterpoint/MergeReview.h"

#include "masterpoint/LineBreaks.h"
#include "masterpoint/Problems.h"
#include "masterpoint/RecordCheck.h"

#include <algorithm>
#include <cstring>

namespace mp {

namespace {

// The first lines of an input are matched one by one, so that a holder line that only
// starts like an input is dropped at once; after them, every kCheckEvery lines.
constexpr std::size_t kFirstLines = 256;
constexpr std::uint64_t kCheckEvery = 4096;

// The filters of the lines each input holds share this much memory: a little over a
// bit a line for a gigabyte of records, so that eight lines of an input that is not
// there pass by chance about once in ten thousand.
constexpr std::uint64_t kFilterBytes = std::uint64_t{16} << 20;
// How many first lines of an input must all pass a holder's filter for a second look.
constexpr std::size_t kFilterProbes = 8;

constexpr std::uint64_t kPrime = (std::uint64_t{1} << 61) - 1;
constexpr std::uint64_t kBase = 0x1b3f5a2c9d7e4e1ULL % kPrime;

std::uint64_t mix(std::uint64_t hash, std::uint64_t word) {
    hash = (hash ^ word) * 0x9e3779b97f4a7c15ULL;
    return hash ^ (hash >> 32);
}

// The sequence so far followed by one more line: modulo a prime, so that no pattern of
// lines (as there is for a power of two) gives two sequences the same hash.
std::uint64_t extend(std::uint64_t sequence, std::uint64_t line) {
    // line >> 3 is below 2^61: a term of the sum, as uniform as the hash itself.
    const auto product = static_cast<unsigned __int128>(sequence) * kBase + (line >> 3);
    const std::uint64_t low = static_cast<std::uint64_t>(product & kPrime);
    const std::uint64_t high = static_cast<std::uint64_t>(product >> 61);
    const std::uint64_t sum = low + high;
    return sum >= kPrime ? sum - kPrime : sum;
}

std::uint64_t finished(std::uint64_t hash, std::uint64_t pending, std::uint64_t length) {
    // The length goes in too, so that trailing NUL bytes still tell lines apart.
    std::uint64_t h = mix(mix(hash, pending), length);
    h *= 0xff51afd7ed558ccdULL;
    return h ^ (h >> 33);
}

// The hash of a line held whole in one chunk: the same as OpenLine's of it, fed in any
// pieces, in a few word loads.
std::uint64_t hashOfLine(const char* p, std::size_t n) {
    std::uint64_t hash = 0;
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, p + i, 8);
        hash = mix(hash, word);
    }
    std::uint64_t tail = 0;
    if (i < n) {
        if (n >= 8) {
            // The last word of the line, shifted so that only the bytes after i remain.
            std::memcpy(&tail, p + n - 8, 8);
            tail >>= 8 * (8 - (n - i));
        } else {
            std::memcpy(&tail, p, n);
        }
    }
    return finished(hash, tail, n);
}

// Whether the eight bytes of word are all ASCII digits.
bool allDigits(std::uint64_t word) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    return (((word - kOnes * '0') | (word + kOnes * (0x7f - '9'))) & (kOnes * 0x80)) == 0;
}

// Whether the line is a record exactly: checkLine's answer for almost every line, told
// from three overlapping word loads.
bool isRecord(const char* p, std::size_t n, bool twoFigures) {
    if (n != (twoFigures ? 19u : 13u)) {
        return false;
    }
    std::uint64_t a;
    std::uint64_t b;
    std::uint64_t c;
    std::memcpy(&a, p, 8);
    std::memcpy(&b, p + n / 2 - 4, 8);
    std::memcpy(&c, p + n - 8, 8);
    return allDigits(a) && allDigits(b) && allDigits(c);
}

std::string numbered(const LineSample& sample, const char* what) {
    std::string text = sample.count == 1 ? "line " : "lines ";
    const std::uint64_t shown = std::min<std::uint64_t>(sample.count, sample.first.size());
    for (std::uint64_t i = 0; i < shown; ++i) {
        if (i != 0) {
            text += i + 1 == shown && sample.count == shown ? " and " : ", ";
        }
        text += std::to_string(sample.first[i]);
    }
    if (sample.count > shown) {
        text += " and " + std::to_string(sample.count - shown) + " more";
    }
    return text + " " + what;
}

} // namespace

void LineSample::add(std::uint64_t line) {
    if (count < first.size()) {
        first[count] = line;
    }
    ++count;
}

void MergeReview::OpenLine::feed(const char* p, std::size_t n) {
    if (length < head.size()) {
        const std::size_t take = std::min<std::size_t>(n, head.size() - length);
        std::memcpy(head.data() + length, p, take);
    }
    length += n;
    while (pendingBytes != 0 && n != 0) {
        pending |= std::uint64_t{static_cast<unsigned char>(*p++)} << (8 * pendingBytes);
        --n;
        if (++pendingBytes == 8) {
            hash = mix(hash, pending);
            pending = 0;
            pendingBytes = 0;
        }
    }
    for (; n >= 8; p += 8, n -= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        hash = mix(hash, word);
    }
    for (; n != 0; --n) {
        pending |= std::uint64_t{static_cast<unsigned char>(*p++)} << (8 * pendingBytes++);
    }
}

std::uint64_t MergeReview::OpenLine::finish() {
    return finished(hash, pending, length);
}

bool MergeReview::Fingerprint::mayHold(const Fingerprint& other) const {
    if (other.lines == 0 || other.lines > lines || filter.empty()) {
        return false;
    }
    const std::uint64_t mask = filter.size() * 64 - 1;
    const std::size_t probes = std::min(other.firstLines.size(), kFilterProbes);
    for (std::size_t i = 0; i < probes; ++i) {
        const std::uint64_t bit = (other.firstLines[i] >> 20) & mask;
        if (((filter[bit / 64] >> (bit % 64)) & 1) == 0) {
            return false;
        }
    }
    return true;
}

MergeReview::MergeReview(bool twoFigures, std::uint64_t totalBytes, std::size_t candidateLimit)
    : twoFigures_(twoFigures), totalBytes_(totalBytes), candidateLimit_(candidateLimit) {}

void MergeReview::beginInput(std::uint64_t size) {
    look_ = Look::Input;
    notes_.emplace_back();
    // Two bits a record at most, the shared budget at least, a power of two of words.
    const std::uint64_t share = totalBytes_ == 0 ? 0
                                                 : size * (kFilterBytes * 8 / 64) /
                                                       (totalBytes_ < size ? size : totalBytes_);
    const std::uint64_t want = std::max<std::uint64_t>(1, std::min(share, size / 7 / 64 + 1));
    std::uint64_t words = 1;
    while (words * 2 <= want) {
        words *= 2;
    }
    Fingerprint print;
    print.filter.assign(words, 0);
    fingerprints_.push_back(std::move(print));
    lineNumber_ = 0;
    lastEnded_ = true;
    sawCrLf_ = false;
    // The inputs before this one are matched as it is read.
    std::vector<char> needles(fingerprints_.size(), 1);
    needles.back() = 0;
    startHolder(fingerprints_.size() - 1, std::move(needles));
}

void MergeReview::readInput(std::string_view chunk) {
    feed(chunk);
}

void MergeReview::endInput() {
    // A CR still waiting for its LF when the file ends is its last byte: where the other
    // lines end with CR LF, the writer has yet to add the LF.
    const bool halfEnded = pendingCr_ && sawCrLf_;
    finishFile();
    InputNotes& notes = notes_.back();
    notes.lines = lineNumber_;
    if ((!lastEnded_ || halfEnded) && lineNumber_ > 1) {
        notes.unendedLastLine = lineNumber_;
        notes.halfEnded = lastEnded_;
    }
    Fingerprint& print = fingerprints_.back();
    print.whole = print.prefix;
    if (!print.firstLines.empty()) {
        const std::uint64_t bit = print.firstLines[0] % 1024;
        firstLineFilter_[bit / 64] |= std::uint64_t{1} << (bit % 64);
    }
    candidates_.clear();
}

bool MergeReview::needsSecondLook(std::size_t self) const {
    if (self >= fingerprints_.size()) {
        return true;
    }
    for (std::size_t needle = self + 1; needle < fingerprints_.size(); ++needle) {
        if (fingerprints_[self].mayHold(fingerprints_[needle])) {
            return true;
        }
    }
    return false;
}

void MergeReview::startHolder(std::size_t self, std::vector<char> needles) {
    holder_ = self;
    needles_ = std::move(needles);
    candidates_.clear();
    foundInHolder_.assign(fingerprints_.size(), 0);
    holderGaveUp_ = false;
}

void MergeReview::beginHolder(std::size_t self) {
    look_ = Look::Holder;
    // Only the inputs after it, which its first look could not know of, and only those
    // its filter may hold; every input for the file to be replaced.
    std::vector<char> needles(fingerprints_.size(), 0);
    for (std::size_t needle = 0; needle < fingerprints_.size(); ++needle) {
        needles[needle] = self >= fingerprints_.size() ||
                          (needle > self && fingerprints_[self].mayHold(fingerprints_[needle]));
    }
    startHolder(self, std::move(needles));
    holderGaveUp_ = std::find(needles_.begin(), needles_.end(), 1) == needles_.end();
}

void MergeReview::readHolder(std::string_view chunk) {
    if (!holderGaveUp_) {
        feed(chunk);
    }
}

void MergeReview::endHolder() {
    finishFile(); // what is left of the walk goes, whether the holder was followed or not
    candidates_.clear();
}

void MergeReview::holderLine(std::uint64_t hash) {
    const std::uint64_t bit = hash % 1024;
    const bool mayStart = ((firstLineFilter_[bit / 64] >> (bit % 64)) & 1) != 0;
    if (!holderGaveUp_ && (mayStart || !candidates_.empty())) {
        follow(hash, mayStart);
    } // else the usual line: nothing to follow, nothing to start
}

void MergeReview::feed(std::string_view chunk) {
    const char* const p = chunk.data();
    const std::size_t n = chunk.size();
    std::size_t i = 0;
    if (pendingCr_ && n != 0) {
        pendingCr_ = false;
        if (p[0] == '\n') {
            i = 1; // the LF of a CR LF pair split between chunks
            sawCrLf_ = true;
        }
    }
    // The same line ends as the line list's and the rewriter's: CR LF, lone CR, lone LF.
    while (i < n) {
        if (!lineOpen_) {
            i = records(p, n, i);
            if (i == n) {
                return;
            }
        }
        std::size_t at = n;
        forEachBreak<false>(p + i, n - i, [&](std::size_t k) {
            at = i + k;
            return false;
        });
        if (at == n) {
            piece(p + i, n - i); // the line goes on in the next chunk
            return;
        }
        if (lineOpen_) {
            piece(p + i, at - i);
            endLine(true);
        } else {
            wholeLine(p + i, at - i);
        }
        if (p[at] == '\r' && at + 1 == n) {
            pendingCr_ = true;
        }
        const bool crLf = p[at] == '\r' && at + 1 < n && p[at + 1] == '\n';
        sawCrLf_ = sawCrLf_ || crLf;
        i = crLf ? at + 2 : at + 1;
    }
}

void MergeReview::fingerprint(Fingerprint& print, std::uint64_t hash) {
    ++print.lines;
    if (print.firstLines.size() < kFirstLines) {
        print.firstLines.push_back(hash);
    }
    print.prefix = extend(print.prefix, hash);
    const std::uint64_t bit = (hash >> 20) & (print.filter.size() * 64 - 1);
    print.filter[bit / 64] |= std::uint64_t{1} << (bit % 64);
    if (print.lines % kCheckEvery == 0) {
        print.checkpoints.push_back(print.prefix);
    }
}

std::size_t MergeReview::records(const char* p, std::size_t n, std::size_t i) {
    return twoFigures_ ? recordsOf<19>(p, n, i) : recordsOf<13>(p, n, i);
}

template <std::size_t length>
std::size_t MergeReview::recordsOf(const char* p, std::size_t n, std::size_t i) {
    // The scoring program's own lines, records ended by CR LF, one after another: the
    // line end stands where a record's length says, so no search for it is needed, and
    // every step below is of a known length.
    const std::size_t from = i;
    Fingerprint* const print = look_ == Look::Input ? &fingerprints_.back() : nullptr;
    while (n - i >= length + 2) {
        const char* const line = p + i;
        std::uint64_t a;
        std::uint64_t b = 0x3030303030303030ULL;
        std::uint64_t c;
        std::memcpy(&a, line, 8);
        if (length >= 16) {
            std::memcpy(&b, line + 8, 8);
        }
        std::memcpy(&c, line + length - 8, 8);
        if (line[length] != '\r' || line[length + 1] != '\n' || !allDigits(a) || !allDigits(b) ||
            !allDigits(c)) {
            break;
        }
        // hashOfLine's words: 0-7, 8-15 (for 19 bytes), then the tail.
        std::uint64_t hash = mix(0, a);
        if (length >= 16) {
            hash = mix(hash, b);
        }
        const std::uint64_t tail = c >> (8 * (8 - length % 8));
        hash = finished(hash, tail, length);
        if (print != nullptr) {
            ++lineNumber_;
            fingerprint(*print, hash);
        }
        holderLine(hash);
        i += length + 2;
    }
    if (i != from) {
        lastEnded_ = true;
        sawCrLf_ = true;
    }
    return i;
}

void MergeReview::wholeLine(const char* p, std::size_t n) {
    const std::uint64_t hash = hashOfLine(p, n);
    if (look_ == Look::Holder) {
        holderLine(hash);
    } else if (isRecord(p, n, twoFigures_)) {
        ++lineNumber_;
        lastEnded_ = true;
        fingerprint(fingerprints_.back(), hash);
        holderLine(hash);
    } else {
        inputLine(std::string_view(p, std::min<std::size_t>(n, line_.head.size())), hash, true);
    }
}

void MergeReview::piece(const char* p, std::size_t n) {
    if (n != 0) {
        line_.feed(p, n);
        lineOpen_ = true;
    }
}

void MergeReview::endLine(bool ended) {
    const std::uint64_t hash = line_.finish();
    if (look_ == Look::Input) {
        // A longer line than the head keeps the head and one byte more: the record
        // check looks no further, and sees it is too long.
        const std::size_t seen = std::min<std::uint64_t>(line_.length, line_.head.size());
        inputLine(std::string_view(line_.head.data(), seen), hash, ended);
    } else {
        holderLine(hash);
    }
    line_ = OpenLine();
    lineOpen_ = false;
}

void MergeReview::finishFile() {
    if (lineOpen_) {
        endLine(false);
    }
    pendingCr_ = false;
    line_ = OpenLine();
}

void MergeReview::inputLine(std::string_view head, std::uint64_t hash, bool ended) {
    ++lineNumber_;
    lastEnded_ = ended;
    const LineCheck check = checkLine(head, twoFigures_);
    if (check.outOfFormat) {
        notes_.back().outOfFormat.add(lineNumber_);
    }
    if (check.notCounted) {
        notes_.back().notCounted.add(lineNumber_);
    }
    fingerprint(fingerprints_.back(), hash);
    holderLine(hash);
}

void MergeReview::follow(std::uint64_t hash, bool mayStart) {
    next_.clear();
    // Follows candidate one more line; false when it is done with, matched or not.
    const auto advance = [&](Candidate& candidate) {
        const Fingerprint& print = fingerprints_[candidate.needle];
        if (foundInHolder_[candidate.needle] || (candidate.matched < print.firstLines.size() &&
                                                 print.firstLines[candidate.matched] != hash)) {
            return false;
        }
        candidate.hash = extend(candidate.hash, hash);
        ++candidate.matched;
        if (candidate.matched % kCheckEvery == 0 &&
            print.checkpoints[candidate.matched / kCheckEvery - 1] != candidate.hash) {
            return false;
        }
        if (candidate.matched == print.lines) {
            if (candidate.hash == print.whole) {
                foundInHolder_[candidate.needle] = 1;
                held_.push_back({candidate.needle, holder_});
            }
            return false;
        }
        return true;
    };
    for (Candidate& candidate : candidates_) {
        if (advance(candidate)) {
            next_.push_back(candidate);
        }
    }
    if (mayStart) {
        for (std::size_t needle = 0; needle < fingerprints_.size(); ++needle) {
            if (!needles_[needle] || fingerprints_[needle].lines == 0) {
                continue;
            }
            Candidate candidate{needle, 0, 0};
            if (advance(candidate)) {
                next_.push_back(candidate);
            }
        }
    }
    if (next_.size() > candidateLimit_) {
        // Following them all would cost memory and time without bound: this holder is
        // not looked at further, and the repeats found so far stand.
        holderGaveUp_ = true;
        unchecked_ = true;
        next_.clear();
    }
    candidates_.swap(next_);
}

bool MergeReview::empty() const {
    return held_.empty() && std::all_of(notes_.begin(), notes_.end(), [](const InputNotes& n) {
               return n.outOfFormat.count == 0 && n.notCounted.count == 0 && n.unendedLastLine == 0;
           });
}

std::string MergeReview::question(const std::vector<std::string>& inputNames,
                                  const std::string& outputName) const {
    if (empty()) {
        return std::string();
    }
    Problems lines;
    for (std::size_t i = 0; i < notes_.size() && i < inputNames.size(); ++i) {
        const InputNotes& notes = notes_[i];
        std::string said;
        const auto say = [&said](const std::string& part) {
            said += (said.empty() ? "" : "; ") + part;
        };
        if (notes.outOfFormat.count != 0) {
            say(numbered(notes.outOfFormat, "out of format"));
        }
        if (notes.notCounted.count != 0) {
            say(numbered(notes.notCounted, "not counted"));
        }
        if (notes.unendedLastLine != 0) {
            say("the last line (" + std::to_string(notes.unendedLastLine) +
                (notes.halfEnded ? ") ends with a CR alone where the others end with CR LF"
                                 : ") has no line end") +
                ": the file may still be being written");
        }
        if (!said.empty()) {
            lines.add(inputNames[i] + ": " + said, std::string());
        }
    }
    const auto holds = [this](std::size_t holder, std::size_t held) {
        return std::any_of(held_.begin(), held_.end(), [&](const HeldInput& h) {
            return h.holder == holder && h.held == held;
        });
    };
    for (const HeldInput& h : held_) {
        if (h.held >= inputNames.size()) {
            continue;
        }
        const std::string& held = inputNames[h.held];
        if (h.holder >= inputNames.size()) {
            lines.add(outputName + ", which the merge replaces, already holds every line of " +
                          held + ": its points may have been sent on before",
                      std::string());
        } else if (holds(h.held, h.holder)) {
            if (h.held < h.holder) { // said once for the pair
                lines.add(held + " and " + inputNames[h.holder] +
                              " hold the same lines: their points would be counted twice",
                          std::string());
            }
        } else {
            lines.add(inputNames[h.holder] + " already holds every line of " + held +
                          ": its points would be counted twice",
                      std::string());
        }
    }
    return "Look at what this merge would write into " + outputName + ":\n\n" + lines.text(16);
}

} // namespace mp
