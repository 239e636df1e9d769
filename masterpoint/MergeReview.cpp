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

constexpr std::uint64_t kPrime = (std::uint64_t{1} << 61) - 1;
constexpr std::uint64_t kBase = 0x1b3f5a2c9d7e4e1ULL % kPrime;

std::uint64_t mix(std::uint64_t hash, std::uint64_t word) {
    hash = (hash ^ word) * 0x9e3779b97f4a7c15ULL;
    return hash ^ (hash >> 32);
}

// The sequence so far followed by one more line: modulo a prime, so that no pattern of
// lines (as there is for a power of two) gives two sequences the same hash.
std::uint64_t extend(std::uint64_t sequence, std::uint64_t line) {
    const auto product = static_cast<unsigned __int128>(sequence) * kBase + (line % kPrime);
    const std::uint64_t low = static_cast<std::uint64_t>(product & kPrime);
    const std::uint64_t high = static_cast<std::uint64_t>(product >> 61);
    const std::uint64_t sum = low + high;
    return sum >= kPrime ? sum - kPrime : sum;
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
    // The length goes in too, so that trailing NUL bytes still tell lines apart.
    std::uint64_t h = mix(mix(hash, pending), length);
    h *= 0xff51afd7ed558ccdULL;
    return h ^ (h >> 33);
}

MergeReview::MergeReview(bool twoFigures, std::size_t candidateLimit)
    : twoFigures_(twoFigures), candidateLimit_(candidateLimit) {}

void MergeReview::beginInput() {
    look_ = Look::Input;
    notes_.emplace_back();
    fingerprints_.emplace_back();
    linesEnded_ = 0;
    lineNumber_ = 0;
    lastEnded_ = true;
}

void MergeReview::readInput(std::string_view chunk) {
    feed(chunk);
}

void MergeReview::endInput() {
    finishFile();
    InputNotes& notes = notes_.back();
    notes.lines = lineNumber_;
    if (!lastEnded_ && lineNumber_ > 1) {
        notes.unendedLastLine = lineNumber_;
    }
    Fingerprint& print = fingerprints_.back();
    print.whole = print.prefix;
    if (!print.firstLines.empty()) {
        const std::uint64_t bit = print.firstLines[0] % 1024;
        firstLineFilter_[bit / 64] |= std::uint64_t{1} << (bit % 64);
    }
}

void MergeReview::beginHolder(std::size_t self) {
    look_ = Look::Holder;
    holder_ = self;
    candidates_.clear();
    foundInHolder_.assign(fingerprints_.size(), 0);
    holderGaveUp_ = false;
}

void MergeReview::readHolder(std::string_view chunk) {
    if (!holderGaveUp_) {
        feed(chunk);
    }
}

void MergeReview::endHolder() {
    if (!holderGaveUp_) {
        finishFile();
    }
    candidates_.clear();
}

void MergeReview::feed(std::string_view chunk) {
    const char* const p = chunk.data();
    const std::size_t n = chunk.size();
    std::size_t i = 0;
    if (pendingCr_ && n != 0) {
        pendingCr_ = false;
        if (p[0] == '\n') {
            i = 1; // the LF of a CR LF pair split between chunks
        }
    }
    std::size_t lineStart = i;
    // The same line ends as the line list's and the rewriter's: CR LF, lone CR, lone LF.
    forEachBreak<false>(p + i, n - i, [&](std::size_t at) {
        at += i;
        if (at < lineStart) {
            return true; // the LF of a CR LF pair
        }
        piece(p + lineStart, at - lineStart);
        endLine(true);
        if (p[at] == '\r' && at + 1 == n) {
            pendingCr_ = true;
        }
        lineStart = p[at] == '\r' && at + 1 < n && p[at + 1] == '\n' ? at + 2 : at + 1;
        return true;
    });
    piece(p + lineStart, n - lineStart);
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
    Fingerprint& print = fingerprints_.back();
    ++print.lines;
    if (print.firstLines.size() < kFirstLines) {
        print.firstLines.push_back(hash);
    }
    print.prefix = extend(print.prefix, hash);
    if (print.lines % kCheckEvery == 0) {
        print.checkpoints.push_back(print.prefix);
    }
}

void MergeReview::holderLine(std::uint64_t hash) {
    if (holderGaveUp_) {
        return;
    }
    next_.clear();
    // Follows candidate one more line; false when it is done with, matched or not.
    const auto follow = [&](Candidate& candidate) {
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
        if (follow(candidate)) {
            next_.push_back(candidate);
        }
    }
    const std::uint64_t bit = hash % 1024;
    if ((firstLineFilter_[bit / 64] >> (bit % 64)) & 1) {
        for (std::size_t needle = 0; needle < fingerprints_.size(); ++needle) {
            if (needle == holder_ || fingerprints_[needle].lines == 0) {
                continue;
            }
            Candidate candidate{needle, 0, 0};
            if (follow(candidate)) {
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
                ") has no line end: the file may still be being written");
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
