#pragma once
// The Merge command once the caller has asked its questions: the lines of several
// files, one after the other, in one new file.

#include "masterpoint/FileSystem.h"
#include "masterpoint/ListEntry.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace mp {

// Result of the merge's check pass over the ticked entries.
struct MergeCheck {
    enum Outcome { Ok, DifferentExtensions, TooFewTicked } outcome = Ok;
    ListEntry first; // the first ticked entry, when there is one
};
MergeCheck checkMerge(const std::vector<ListEntry>& entries);

// masterpointFolder + separator + "Club" + club number + the first entry's extension
// (entryExtension: ".GLD", or ".MP2" for an entry listed as "X.MP2(RED)").
std::string proposedMergeName(const std::string& masterpointFolder, int clubNumber,
                              const ListEntry& first);

// The paths of the ticked entries' files in folder, in list order.
std::vector<std::string> tickedPaths(const std::vector<ListEntry>& entries,
                                     const std::string& folder);

// What to ask before a merge's output is put in place: whether the inputs are of a
// two-figure kind, for the record check, and the question, which answers true to go on.
struct MergeQuestion {
    bool twoFigures = false;
    std::function<bool(const std::string& question)> ask;
    // Whether the output may replace a file at its name (the user agreed to). When not,
    // the output takes its name only while it is free; a file that took the name in the
    // meantime is replaced only when askReplace (given the name) answers true.
    bool replace = true;
    std::function<bool(const std::string& name)> askReplace;
};

// Writes the lines of every input, in order, each followed by CR LF, to outputPath.
// Every input is opened before the output is touched (Error::cannotOpenFile). An input
// whose read fails is Error::cannotReadFile; one that changed while it was read (its
// size, modification time or identity) Error::changedWhileRead; one holding a NUL byte
// nulByteInMergeInput. The output is written beside its name and put in place only when
// complete (Error::cannotCreateFile(outputPath)), so a failure leaves any existing file,
// an input included, as it was. Memory stays bounded. Returns the number of lines written.
//
// Given a question, the inputs are looked at as they are written (MergeReview), and
// the file at outputPath too when it is not an input; when there is anything to tell,
// the question is asked once the output is complete and before it is put in place. No gives it up:
// nothing is written, and nothing returned. So does No to askReplace.
std::optional<std::uint64_t> mergeFiles(const std::vector<std::string>& inputPaths,
                                        const std::string& outputPath,
                                        FileSystem& fileSystem = FileSystem::system(),
                                        const MergeQuestion* question = nullptr);

} // namespace mp
