#pragma once
// What a merge is about to send on that its user should see first, found by looking at
// the inputs as they are read:
//
// - lines that are not records, as the viewer marks them (checkLine): out of format
//   yet counted, or not counted;
// - a last line without its line end in a file whose other lines end with one, or with
//   a CR alone where the others end with CR LF: a file still being written;
// - an input whose lines stand, one after another, inside another input or inside the
//   file the merge replaces. A merge writes its inputs one after the other, so that is
//   what an earlier merge of the input looks like, and its points would be counted twice.
//
// Each input is read once in order (readInput): its lines are checked, fingerprinted,
// noted in a small filter of the lines it holds, and matched against the inputs before
// it. An input after it can only be matched on a second look (readHolder), which
// needsSecondLook() asks for only where that input's first lines all pass the filter:
// for clean inputs, never. The file to be replaced, when it is not an input, is looked
// at the second way too.
// Lines are compared by 64-bit hashes and sequences by a polynomial hash modulo 2^61 - 1,
// so a repeat is said only of lines that are, beyond any practical doubt, the same.
// Memory stays bounded whatever the inputs: where telling repeats would take more than
// the bound (an input of one line repeated over and over, say), fewer repeats are said
// (repeatsUnchecked), never one that is not there.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mp {

// How many lines of one kind a file has, and the numbers (from 1) of the first three.
struct LineSample {
    std::uint64_t count = 0;
    std::array<std::uint64_t, 3> first{};
    void add(std::uint64_t line);
};

struct InputNotes {
    LineSample outOfFormat;
    LineSample notCounted;
    std::uint64_t unendedLastLine = 0; // its number, 0 when the file ends as it should
    // Whether that last line ends with a CR alone, in a file whose other lines end with
    // CR LF: half of its line end written.
    bool halfEnded = false;
    std::uint64_t lines = 0;
};

// Input held in a holder: another input, or holder == the number of inputs for the file
// the merge replaces.
struct HeldInput {
    std::size_t held = 0;
    std::size_t holder = 0;
};

class MergeReview {
public:
    // totalBytes, the inputs' size together, shares out the filters' memory;
    // candidateLimit bounds the partial matches followed at once for one holder.
    explicit MergeReview(bool twoFigures, std::uint64_t totalBytes,
                         std::size_t candidateLimit = 4096);

    // First look: the next input's bytes (about size of them), in order, in chunks of
    // any size.
    void beginInput(std::uint64_t size);
    void readInput(std::string_view chunk);
    void endInput();

    // Whether input self must be read again with readHolder, once every input has had
    // its first look; always true for the file to be replaced (self: the inputs' number).
    bool needsSecondLook(std::size_t self) const;
    // Second look: the bytes of input self, or of the file to be replaced.
    void beginHolder(std::size_t self);
    void readHolder(std::string_view chunk);
    void endHolder();

    const std::vector<InputNotes>& notes() const { return notes_; }
    // In the order found; an input and a holder that hold each other (the same lines,
    // the same file under two names) both appear.
    const std::vector<HeldInput>& held() const { return held_; }
    bool repeatsUnchecked() const { return unchecked_; }
    // Whether there is anything to tell.
    bool empty() const;

    // The question to ask, naming inputs by inputNames and the file to be replaced by
    // outputName: one line per input with something to say, at most three line numbers
    // each, then one line per repeat. Empty when there is nothing to tell.
    std::string question(const std::vector<std::string>& inputNames,
                         const std::string& outputName) const;

private:
    // What follows a line across chunk boundaries: its hash so far, its length and its
    // first bytes (all that the record check looks at, and one more to tell a longer line).
    struct OpenLine {
        std::uint64_t hash = 0;
        std::uint64_t pending = 0; // bytes not yet mixed into hash, low byte first
        unsigned pendingBytes = 0;
        std::uint64_t length = 0;
        std::array<char, 20> head{};
        void feed(const char* p, std::size_t n);
        std::uint64_t finish();
    };
    struct Fingerprint {
        std::uint64_t lines = 0;
        std::uint64_t whole = 0;                // sequence hash of every line
        std::vector<std::uint64_t> firstLines;  // hashes of the first lines
        std::vector<std::uint64_t> checkpoints; // sequence hash of every kCheckEvery lines
        std::uint64_t prefix = 0;               // while it is read
        std::vector<std::uint64_t> filter;      // a bit a line hash; a power of two of words
        // Whether other may stand in these lines: its first lines all pass the filter.
        bool mayHold(const Fingerprint& other) const;
    };
    struct Candidate {
        std::size_t needle;
        std::uint64_t hash;
        std::uint64_t matched;
    };
    enum class Look { Input, Holder };

    void feed(std::string_view chunk);
    // Takes the records ended by CR LF from i on; where the first other line starts.
    std::size_t records(const char* p, std::size_t n, std::size_t i);
    template <std::size_t length>
    std::size_t recordsOf(const char* p, std::size_t n, std::size_t i);
    // A line that lies whole in the chunk, ended there.
    void wholeLine(const char* p, std::size_t n);
    void piece(const char* p, std::size_t n);
    void endLine(bool ended);
    void finishFile();
    void inputLine(std::string_view head, std::uint64_t hash, bool ended);
    static void fingerprint(Fingerprint& print, std::uint64_t hash);
    void holderLine(std::uint64_t hash);
    void follow(std::uint64_t hash, bool mayStart);
    void startHolder(std::size_t self, std::vector<char> needles);

    bool twoFigures_;
    std::uint64_t totalBytes_;
    std::size_t candidateLimit_;
    Look look_ = Look::Input;
    // The line walk of the file being read.
    OpenLine line_;
    bool lineOpen_ = false;
    bool pendingCr_ = false;
    std::uint64_t lineNumber_ = 0;
    bool lastEnded_ = true;
    bool sawCrLf_ = false; // in the input being read

    std::vector<InputNotes> notes_;
    std::vector<Fingerprint> fingerprints_;
    std::array<std::uint64_t, 16> firstLineFilter_{}; // 1024 bits of first-line hashes
    std::size_t holder_ = 0;
    std::vector<Candidate> candidates_;
    std::vector<Candidate> next_;
    std::vector<char> needles_;       // by input: matched against the holder being read
    std::vector<char> foundInHolder_; // by input, for the holder being read
    bool holderGaveUp_ = false;
    std::vector<HeldInput> held_;
    bool unchecked_ = false;
};

} // namespace mp
