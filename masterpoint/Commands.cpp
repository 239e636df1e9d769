#include "masterpoint/Commands.h"

#include "masterpoint/Error.h"
#include "masterpoint/FileKind.h"
#include "masterpoint/FileName.h"
#include "masterpoint/LineList.h"
#include "masterpoint/Platform.h"
#include "masterpoint/Settings.h"

namespace mp {

int convertTicked(const std::vector<ListEntry>& entries, const Settings& settings) {
    int attempted = 0;
    for (const ListEntry& entry : entries) {
        const FileKind* kind = kindByCode(entry.kindCode);
        if (!entry.ticked || kind == nullptr) {
            continue;
        }
        const std::string to = platform::joinPath(settings.masterpointFolder(),
                                                  baseNameOf(entry.displayText) + kind->colour);
        const std::string from = entryPath(entry, settings);
        platform::renameNoReplace(from, to); // a failure is passed over
        ++attempted;
    }
    return attempted;
}

int backupTicked(const std::vector<ListEntry>& entries, const Settings& settings) {
    int ticked = 0;
    for (const ListEntry& entry : entries) {
        if (!entry.ticked) {
            continue;
        }
        const std::string name = entryFileName(entry);
        const std::string from = platform::joinPath(settings.masterpointFolder(), name);
        const std::string to = platform::joinPath(settings.backupFolder(), name);
        ++ticked;
        platform::copyNoReplace(from, to); // a failure, an existing copy included, is passed over
    }
    return ticked;
}

MergeCheck checkMerge(const std::vector<ListEntry>& entries) {
    MergeCheck check;
    int ticked = 0;
    for (const ListEntry& entry : entries) {
        if (!entry.ticked) {
            continue;
        }
        const std::string extension = extensionOf(entry.displayText);
        if (++ticked == 1) {
            check.extension = extension;
        } else if (extension != check.extension) {
            check.outcome = MergeCheck::DifferentExtensions;
            return check;
        }
    }
    if (ticked < 2) {
        check.outcome = MergeCheck::TooFewTicked;
    }
    return check;
}

std::string proposedMergeName(const Settings& settings, const std::string& extension) {
    const std::string folder = settings.masterpointFolder();
    return platform::joinPath(folder, "Club" + std::to_string(settings.clubNumber()) + extension);
}

void mergeTicked(const std::vector<ListEntry>& entries, const Settings& settings,
                 const std::string& outputPath) {
    std::vector<std::string> inputs;
    for (const ListEntry& entry : entries) {
        if (entry.ticked) {
            inputs.push_back(entryPath(entry, settings));
        }
    }
    mergeFiles(inputs, outputPath);
}

namespace {

// Streams one input through the line rules into the output, through buffers the caller
// keeps for every input. Throws on a read or write failure; the caller's AtomicFile then
// drops what was written.
void appendRewritten(const std::string& inputPath, platform::AtomicFile& output,
                     const std::string& outputPath, std::vector<char>& buffer, std::string& text) {
    platform::ReadableFile input;
    if (!input.open(inputPath)) {
        throw Error::cannotOpenFile(inputPath);
    }
    CrLfRewriter rewriter;
    bool more = true;
    while (more) {
        const long long n = input.read(buffer.data(), buffer.size());
        if (n < 0) {
            throw Error::cannotOpenFile(inputPath);
        }
        text.clear();
        if (n == 0) {
            rewriter.finish(text);
            more = false;
        } else if (!rewriter.feed({buffer.data(), static_cast<std::size_t>(n)}, text)) {
            rewriter.finish(text); // a NUL ends this input's text
            more = false;
        }
        if (!output.write(text.data(), text.size())) {
            throw Error::cannotCreateFile(outputPath);
        }
    }
}

} // namespace

void mergeFiles(const std::vector<std::string>& inputPaths, const std::string& outputPath) {
    // Every input must open before anything is written. Each is opened again when its
    // turn comes, so that a merge of many files never holds them all open at once.
    for (const std::string& path : inputPaths) {
        platform::ReadableFile probe;
        if (!probe.open(path)) {
            throw Error::cannotOpenFile(path);
        }
    }
    platform::AtomicFile output(outputPath);
    if (!output.open()) {
        throw Error::cannotCreateFile(outputPath);
    }
    // A quarter megabyte in and out: few calls, yet small enough to stay in the cache
    // and cheap to fault in. A chunk of lone line ends comes out at most twice as long,
    // so the output buffer never grows.
    std::vector<char> buffer(std::size_t{1} << 18);
    std::string text;
    text.reserve(2 * buffer.size() + 2);
    for (const std::string& path : inputPaths) {
        appendRewritten(path, output, outputPath, buffer, text);
    }
    // Put in place only now: an input chosen as the output has been read whole by then.
    if (!output.commit()) {
        throw Error::cannotCreateFile(outputPath);
    }
}

} // namespace mp
