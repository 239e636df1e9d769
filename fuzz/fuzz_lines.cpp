// Line splitting (LineList, in memory and read from a file in uneven reads) and the
// CR LF rewriter (the input cut into chunks at random places), both against the plain
// reading of the line rules in Reference.h: LineList keeps a NUL as a byte of its line,
// the rewriter stops at it and names its line.
//
// Input: the text, then (from the end) the cut sizes of two passes through one
// rewriter, the read sizes of the file and the size that the file claims at opening.

#include "Reference.h"

#include "masterpoint/Error.h"
#include "masterpoint/FileSystem.h"
#include "masterpoint/LineList.h"

#include <fcntl.h>
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstring>

namespace {

std::vector<std::string> linesOf(const mp::LineList& list) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < list.size(); ++i) {
        lines.emplace_back(list.line(i));
    }
    return lines;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) {
        out += ref::shown(line) + " ";
    }
    return out;
}

// Chunk lengths from the provider, empty chunks included, until the text is cut up.
std::vector<std::string_view> cut(std::string_view text, FuzzedDataProvider& provider) {
    std::vector<std::string_view> chunks;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t n = provider.remaining_bytes() == 0
                                  ? text.size() - at
                                  : provider.ConsumeIntegralInRange<std::size_t>(0, 24);
        chunks.push_back(text.substr(at, n));
        at += chunks.back().size();
    }
    if (provider.ConsumeBool()) {
        chunks.emplace_back(); // an empty chunk at the end changes nothing
    }
    return chunks;
}

// One pass through the rewriter. After a NUL every further chunk is refused and adds
// nothing, and the line that held it is named.
std::string rewrite(mp::CrLfRewriter& rewriter, const std::vector<std::string_view>& chunks,
                    std::size_t lineOfNul) {
    std::string out;
    bool ended = false;
    for (const std::string_view chunk : chunks) {
        const std::string before = out;
        const bool more = rewriter.feed(chunk, out);
        if (ended) {
            REF_CHECK(!more && out == before, "a chunk after the NUL was taken");
        }
        // The rewriter stops exactly when the input so far holds a NUL.
        const bool nulSeen = ended || chunk.find('\0') != std::string_view::npos;
        REF_CHECK(more == !nulSeen,
                  "feed said " + std::to_string(more) + " for the chunk " + ref::shown(chunk));
        ended = !more;
    }
    if (ended) {
        REF_CHECK(rewriter.lineNumber() == lineOfNul, "the NUL was put on line " +
                                                          std::to_string(rewriter.lineNumber()) +
                                                          ", not " + std::to_string(lineOfNul));
    }
    rewriter.finish(out);
    return out;
}

// A file held in memory: it claims a size at opening that need not be its own, hands
// its bytes out in reads of chosen sizes, and may fail one read.
class MemoryFileSystem : public mp::FileSystem {
public:
    std::string_view bytes;
    std::uint64_t claimedSize = 0;
    std::vector<std::size_t> readSizes; // cycled; each at least 1
    int failingRead = -1;               // the read that fails, or none
    int reads = 0;

    std::error_code openForReading(const std::string&, mp::FileHandle& file,
                                   mp::FileStamp& stamp) override {
        // A real descriptor, so that the handle closes something of ours.
        file.reset(::open("/dev/null", O_RDONLY | O_CLOEXEC));
        stamp = mp::FileStamp();
        stamp.size = claimedSize;
        at_ = 0;
        reads = 0;
        return {};
    }
    std::error_code read(mp::FileHandle&, char* buffer, std::size_t size,
                         std::size_t& got) override {
        got = 0;
        if (reads++ == failingRead) {
            return std::make_error_code(std::errc::io_error);
        }
        std::size_t n = readSizes.empty() ? size : readSizes[reads % readSizes.size()];
        n = std::min({n, size, bytes.size() - at_});
        std::memcpy(buffer, bytes.data() + at_, n);
        at_ += n;
        got = n;
        return {};
    }

    std::error_code stampOf(mp::FileHandle&, mp::FileStamp& stamp) override {
        stamp = mp::FileStamp();
        stamp.size = claimedSize;
        return {};
    }
    std::error_code stampAt(const std::string&, mp::FileStamp&) override { return unsupported(); }
    std::error_code listFolder(const std::string&, std::vector<mp::DirEntry>&) override {
        return unsupported();
    }
    std::error_code readHead(const std::string&, char*, std::size_t, mp::Known,
                             std::size_t&) override {
        return unsupported();
    }
    std::error_code createTemporary(const std::string&, const std::string&, mp::TemporaryUse,
                                    mp::FileHandle&, std::string&) override {
        return unsupported();
    }
    std::error_code nameTemporary(mp::FileHandle&, const std::string&) override {
        return unsupported();
    }
    std::error_code removeAbandoned(const std::string&) override { return unsupported(); }
    std::error_code write(mp::FileHandle&, const char*, std::size_t) override {
        return unsupported();
    }
    std::error_code copyData(mp::FileHandle&, mp::FileHandle&) override { return unsupported(); }
    void copyTimeAndMode(mp::FileHandle&, mp::FileHandle&) override {}
    std::error_code sync(mp::FileHandle&) override { return unsupported(); }
    std::error_code close(mp::FileHandle& file) override {
        file.reset();
        return {};
    }
    std::error_code renameNoReplace(const std::string&, const std::string&) override {
        return unsupported();
    }
    std::error_code replace(mp::FileHandle&, const std::string&, const std::string&) override {
        return unsupported();
    }
    std::error_code placeNew(mp::FileHandle&, const std::string&, const std::string&) override {
        return unsupported();
    }
    std::error_code placeNewUnsynced(mp::FileHandle&, const std::string&,
                                     const std::string&) override {
        return unsupported();
    }
    std::error_code syncFolder(const std::string&) override { return unsupported(); }
    std::error_code typeAt(const std::string&, mp::EntryType&) override { return unsupported(); }
    std::error_code syncAll(const std::vector<mp::FileHandle*>&) override { return unsupported(); }
    std::size_t mostOpenFiles() override { return 0; }
    std::error_code remove(const std::string&) override { return unsupported(); }

private:
    static std::error_code unsupported() {
        return std::make_error_code(std::errc::operation_not_supported);
    }
    std::size_t at_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const std::size_t textSize = provider.ConsumeIntegralInRange<std::size_t>(0, size);
    const std::string text = provider.ConsumeBytesAsString(textSize);
    const std::vector<std::string> expected = ref::lines(text);

    // In memory.
    const mp::LineList list = mp::LineList::fromBytes(text);
    REF_CHECK(list.empty() == expected.empty(), "empty() disagrees with size()");
    const std::vector<std::string> got = linesOf(list);
    REF_CHECK(got == expected, "text " + ref::shown(text) + "\nexpected " + joined(expected) +
                                   "\ngot      " + joined(got));

    // Rewritten, twice through one rewriter, cut two ways: finish starts it afresh.
    const std::string crLf = ref::crLfJoined(ref::lines(ref::beforeNul(text)));
    mp::CrLfRewriter rewriter;
    for (int pass = 0; pass < 2; ++pass) {
        const std::vector<std::string_view> chunks = cut(text, provider);
        std::string cuts;
        for (const std::string_view chunk : chunks) {
            cuts += std::to_string(chunk.size()) + " ";
        }
        const std::string out = rewrite(rewriter, chunks, ref::lineOfNul(text));
        REF_CHECK(out == crLf, "text " + ref::shown(text) + " cut " + cuts + "\nexpected " +
                                   ref::shown(crLf) + "\ngot      " + ref::shown(out));
    }

    // Read from a file in uneven reads, with a size at opening that may be wrong (the
    // file grew or shrank), over a list that held other lines.
    MemoryFileSystem file;
    file.bytes = text;
    const std::uint8_t sizeChoice = provider.ConsumeIntegral<std::uint8_t>();
    file.claimedSize = sizeChoice < 128 ? text.size() : sizeChoice - 128u;
    while (provider.remaining_bytes() > 1 && file.readSizes.size() < 8) {
        file.readSizes.push_back(provider.ConsumeIntegralInRange<std::size_t>(1, 64));
    }
    if (provider.ConsumeBool()) {
        file.failingRead = provider.ConsumeIntegralInRange<int>(0, 4);
    }
    mp::LineList loaded = mp::LineList::fromBytes("old\nlines\n");
    bool failed = false;
    try {
        loaded.loadFromFile("in.GLD", file);
    } catch (const mp::Error& error) {
        failed = true;
        REF_CHECK(std::string(error.what()) == "Cannot read file in.GLD", error.what());
        REF_CHECK(error.reason() == std::errc::io_error, "the reason was lost");
    }
    // The read that fails is one the loader makes: it reads until a read gives nothing.
    REF_CHECK(failed == (file.failingRead >= 0 && file.failingRead < file.reads),
              "a failing read was " + std::string(failed ? "reported" : "ignored"));
    if (!failed) {
        const std::vector<std::string> read = linesOf(loaded);
        REF_CHECK(read == expected, "read from file " + ref::shown(text) + "\ngot " + joined(read));
    }
    return 0;
}
