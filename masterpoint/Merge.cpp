#include "masterpoint/Merge.h"

#include "masterpoint/AtomicFile.h"
#include "masterpoint/ChangedWhileRead.h"
#include "masterpoint/CommandErrors.h"
#include "masterpoint/Error.h"
#include "masterpoint/FileName.h"
#include "masterpoint/LineList.h"
#include "masterpoint/MergeReview.h"
#include "masterpoint/ReadableFile.h"

#include <cstdint>

namespace mp {

MergeCheck checkMerge(const std::vector<ListEntry>& entries) {
    MergeCheck check;
    std::string extension;
    int ticked = 0;
    for (const ListEntry& entry : entries) {
        if (!entry.ticked) {
            continue;
        }
        // The listed extensions are compared, so "X.GLD" and "Y.MP1(GLD)" differ, and
        // so do "X.GLD" and "Y.gld".
        if (++ticked == 1) {
            check.first = entry;
            extension = extensionOf(entry.displayText);
        } else if (extensionOf(entry.displayText) != extension) {
            check.outcome = MergeCheck::DifferentExtensions;
            return check;
        }
    }
    if (ticked < 2) {
        check.outcome = MergeCheck::TooFewTicked;
    }
    return check;
}

std::string proposedMergeName(const std::string& masterpointFolder, int clubNumber,
                              const ListEntry& first) {
    // An entry listed as "X.MP2(RED)" proposes "Club612.MP2": a name with the colour in
    // brackets would not be listed by the next scan.
    return joinPath(masterpointFolder, "Club" + std::to_string(clubNumber) + entryExtension(first));
}

std::vector<std::string> tickedPaths(const std::vector<ListEntry>& entries,
                                     const std::string& folder) {
    std::vector<std::string> paths;
    for (const ListEntry& entry : entries) {
        if (entry.ticked) {
            paths.push_back(entryPath(entry, folder));
        }
    }
    return paths;
}

namespace {

// Streams one input through the line rules into the output, through buffers the caller
// keeps for every input, and returns the number of lines appended. Throws on a read or
// write failure, a NUL byte or a file that changed while it was read; the caller's
// AtomicFile then drops what was written.
std::uint64_t appendRewritten(const std::string& inputPath, AtomicFile& output,
                              const std::string& outputPath, FileSystem& fileSystem,
                              std::vector<char>& buffer, std::string& text, MergeReview* review) {
    ReadableFile input(fileSystem);
    if (const std::error_code error = input.open(inputPath)) {
        throw Error::cannotOpenFile(inputPath, error);
    }
    CrLfRewriter rewriter;
    std::uint64_t read = 0;
    std::uint64_t lines = 0;
    for (;;) {
        std::size_t n = 0;
        if (const std::error_code error = input.read(buffer.data(), buffer.size(), n)) {
            throw Error::cannotReadFile(inputPath, error);
        }
        read += n;
        if (review != nullptr) {
            review->readInput({buffer.data(), n});
        }
        text.clear();
        if (n == 0) {
            // A file written under us may hold half a record, or parts of two versions:
            // its size, time or identity tell, or a length other than it had at opening.
            const std::error_code changed = input.checkUnchanged();
            if (changed == changedWhileRead() || (!changed && read != input.size())) {
                throw Error::changedWhileRead(inputPath);
            }
            if (changed) {
                throw Error::cannotReadFile(inputPath, changed);
            }
            lines = rewriter.finish(text);
        } else if (!rewriter.feed({buffer.data(), n}, text)) {
            // Passing on the lines before it would cut the file short in silence.
            throw nulByteInMergeInput(inputPath, rewriter.lineNumber());
        }
        if (const std::error_code error = output.write(text.data(), text.size())) {
            throw Error::cannotCreateFile(outputPath, error);
        }
        if (n == 0) {
            return lines;
        }
    }
}

// Reads the file at path whole through read(chunk); false when it cannot be opened or
// read, which the merge itself then says, or leaves unsaid for the file it replaces.
template <typename Read>
bool readWhole(const std::string& path, FileSystem& fileSystem, std::vector<char>& buffer,
               Read read) {
    ReadableFile file(fileSystem);
    if (file.open(path)) {
        return false;
    }
    for (;;) {
        std::size_t n = 0;
        if (file.read(buffer.data(), buffer.size(), n)) {
            return false;
        }
        if (n == 0) {
            return true;
        }
        read(std::string_view(buffer.data(), n));
    }
}

void secondLook(MergeReview& review, std::size_t self, const std::string& path,
                FileSystem& fileSystem, std::vector<char>& buffer) {
    review.beginHolder(self);
    readWhole(path, fileSystem, buffer,
              [&review](std::string_view chunk) { review.readHolder(chunk); });
    review.endHolder();
}

std::string nameIn(const std::string& path) {
    const std::size_t slash = path.find_last_of(kPathBreaks);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Whether the file at outputPath is there and none of the inputs: what the merge would
// replace, and so may hold an input already.
bool replacesOther(const std::vector<std::string>& inputPaths, const std::string& outputPath,
                   FileSystem& fileSystem) {
    FileStamp output;
    if (fileSystem.stampAt(outputPath, output)) {
        return false;
    }
    for (const std::string& path : inputPaths) {
        FileStamp input;
        if (!fileSystem.stampAt(path, input) && input.isSameFileAs(output)) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<std::uint64_t> mergeFiles(const std::vector<std::string>& inputPaths,
                                        const std::string& outputPath, FileSystem& fileSystem,
                                        const MergeQuestion* question) {
    // Every input must open before anything is written. Each is opened again when its
    // turn comes, so that a merge of many files never holds them all open at once.
    std::vector<std::uint64_t> sizes;
    for (const std::string& path : inputPaths) {
        ReadableFile probe(fileSystem);
        if (const std::error_code error = probe.open(path)) {
            throw Error::cannotOpenFile(path, error);
        }
        sizes.push_back(probe.size());
    }
    // A quarter megabyte in and out: few calls, yet small enough to stay in the cache
    // and cheap to fault in. A chunk of lone line ends comes out at most twice as long,
    // so the output buffer never grows.
    std::vector<char> buffer(std::size_t{1} << 18);
    std::optional<MergeReview> review;
    if (question != nullptr) {
        std::uint64_t total = 0;
        for (const std::uint64_t size : sizes) {
            total += size;
        }
        review.emplace(question->twoFigures, total);
    }
    AtomicFile output(outputPath, fileSystem);
    if (const std::error_code error = output.open()) {
        throw Error::cannotCreateFile(outputPath, error);
    }
    std::string text;
    text.reserve(2 * buffer.size() + 2);
    std::uint64_t lines = 0;
    // Each input is looked at as it is written, so that a clean merge reads it once.
    for (std::size_t i = 0; i < inputPaths.size(); ++i) {
        if (review) {
            review->beginInput(sizes[i]);
        }
        lines += appendRewritten(inputPaths[i], output, outputPath, fileSystem, buffer, text,
                                 review ? &*review : nullptr);
        if (review) {
            review->endInput();
        }
    }
    if (review) {
        // Read again only where an input after it may stand in it, and the file that
        // would be replaced; one that cannot be read now is left unsaid.
        for (std::size_t i = 0; i < inputPaths.size(); ++i) {
            if (review->needsSecondLook(i)) {
                secondLook(*review, i, inputPaths[i], fileSystem, buffer);
            }
        }
        if (replacesOther(inputPaths, outputPath, fileSystem)) {
            secondLook(*review, inputPaths.size(), outputPath, fileSystem, buffer);
        }
        std::vector<std::string> names;
        for (const std::string& path : inputPaths) {
            names.push_back(nameIn(path));
        }
        const std::string asked = review->question(names, nameIn(outputPath));
        if (!asked.empty() && !question->ask(asked)) {
            return std::nullopt; // the output is dropped with `output`
        }
    }
    // Put in place only now: an input chosen as the output has been read whole by then.
    // A name that was free when the user chose it is taken only while it stays free: the
    // scoring program, or another copy of ours, may have written a file there since.
    const bool replace = question == nullptr || question->replace;
    std::error_code error = replace ? output.commit() : output.commitNew();
    if (!replace && error == std::errc::file_exists) {
        if (!question->askReplace || !question->askReplace(nameIn(outputPath))) {
            return std::nullopt; // the output is dropped with `output`
        }
        error = output.commit();
    }
    if (error) {
        throw Error::cannotCreateFile(outputPath, error);
    }
    return lines;
}

} // namespace mp
