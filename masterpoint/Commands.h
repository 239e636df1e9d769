#pragma once
// The Convert, Backup and Merge commands on a list of entries, once the caller has
// asked its questions. Entries are in list order; only ticked ones are acted on.

#include "masterpoint/ListEntry.h"

#include <string>
#include <vector>

namespace mp {

class Settings;

// Renames each ticked entry of kind 1..5 from its numbered to its colour extension,
// never replacing a file. Failed renames are passed over. Returns the number of
// renames attempted.
int convertTicked(const std::vector<ListEntry>& entries, const Settings& settings);

// Copies each ticked entry's file from the masterpoint folder into the backup folder
// (both read now, per entry), never replacing a file there and keeping the
// modification time. Failed copies are passed over. Returns the number of ticked entries.
int backupTicked(const std::vector<ListEntry>& entries, const Settings& settings);

// Result of the merge's check pass.
struct MergeCheck {
    enum Outcome { Ok, DifferentExtensions, TooFewTicked } outcome = Ok;
    std::string extension; // the first ticked entry's display-text extension
};
MergeCheck checkMerge(const std::vector<ListEntry>& entries);

// masterpoint folder + separator + "Club" + club number + extension.
std::string proposedMergeName(const Settings& settings, const std::string& extension);

// Writes the lines of every ticked entry's file, in list order, each followed by CR LF,
// to outputPath. Every input is opened before the output is touched
// (Error::cannotOpenFile); the output is written beside its name and put in place
// only when complete (Error::cannotCreateFile(outputPath)), so a failure leaves any
// existing file, an input included, as it was. Memory stays bounded.
void mergeTicked(const std::vector<ListEntry>& entries, const Settings& settings,
                 const std::string& outputPath);

// The same on paths already resolved.
void mergeFiles(const std::vector<std::string>& inputPaths, const std::string& outputPath);

} // namespace mp
