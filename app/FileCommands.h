#pragma once
// The commands of the main window without its widgets: Locate, Convert, View, Backup,
// Merge, Totals and Paths. They ask the user through the prompts seam only, keep their
// settings in the store, read and fill the file list, open viewers through the Viewers
// seam, show totals through the TotalsView seam and reach the disk through the core
// (Merge alone looks whether its chosen output exists, to ask before replacing it). The backup
// folder and the club number are read from the store when a command runs, so a change in the Paths
// dialog counts at the next command. The masterpoint folder stored is listed only by Locate: every
// command that acts on entries finds their files in the folder the list was made from, whatever is
// stored since, and only while that folder is still the one listed and each ticked file still
// a masterpoint file (isListCurrent).
//
// An error that ends a command is thrown (mp::Error, the store's StoreError) for
// the caller to show. What a command could not do file by file (a copy, a rename), or
// a masterpoint folder that cannot be read, is said once, in one warning, after it has
// done all it could, and logged under "mpmgr.files". What a command did is said on the
// status line, without a box: each command clears it when it starts.
//
// Between scans the list follows its folder (follow(), run whenever the folder may have
// changed): arrivals are listed once settled, departures leave, renamed files are listed
// under their new names, and every other entry keeps its tick; the viewers of files that
// changed or went are told. The status line says what changed ("CLUB0630.MP1(GLD)
// added", "2 files added, 1 removed"); a folder that goes away greys the list ("The
// masterpoint folder /media/usb/MP is not there any more") until it is back.

#include "dialogs/Prompts.h"
#include "masterpoint/FileSystem.h"
#include "masterpoint/FolderFollower.h"
#include "masterpoint/ListEntry.h"
#include "masterpoint/MemberIndex.h"

#include <QString>
#include <optional>
#include <string>
#include <vector>

namespace mp {
class Problems;
}
class FileList;
class SettingsStore;
class StatusLine;
class TotalsView;
class Viewers;

class FileCommands {
public:
    // Whether Locate asks for the masterpoint folder.
    enum class FolderQuestion {
        Ask,                // the user asked for the scan
        OnlyWhenNoneStored, // start-up
    };

    FileCommands(Prompts& prompts, SettingsStore& store, FileList& list, Viewers& viewers,
                 TotalsView& totals, StatusLine& status,
                 mp::FileSystem& fileSystem = mp::FileSystem::system());

    // The option "Convert extensions on locate", as the Options menu shows it.
    void setConvertOnLocate(bool convert) { convertOnLocate_ = convert; }

    void locate(FolderQuestion question);
    // Lists the list's folder again without a question, keeping ticks and viewers: what
    // has settled is listed, and so is what has not, the user having asked. With
    // nothing listed yet it is the start-up scan.
    void refresh();
    // Brings the list up to date with its folder, as refresh() but only with the files
    // that have settled; nothing is said while nothing has changed.
    void follow();
    // Reads the file of fileName again for its viewer, at the user's word.
    void reread(const std::string& fileName);

    // What to watch: the list's folder (empty while nothing is listed), the paths of
    // the files the viewers show, and in how many milliseconds to look again for a file
    // that is settling (none when none is).
    QString followedFolder() const;
    std::vector<std::string> viewedPaths() const;
    std::optional<int> lookAgainIn() const { return lookAgainIn_; }
    void convert();
    void view();
    void backUp();
    void merge();
    // The totals of every ticked file and of them all, in the one totals view; a file
    // that cannot be read gets its error in its row (and the log) and the others are
    // still summed. Nothing ticked: "Tick files to total".
    void totals();
    void editPaths();
    // The member index over the ticked files (every listed file when none is ticked),
    // each read once; a file that cannot be read is kept with its error (and logged).
    // Nothing listed: "Locate masterpoint files to find a member in", and nothing.
    std::optional<mp::MemberIndex> indexMembers();
    // Shows line (from 0) of entry's file, found in folder, in its viewer: the one open,
    // or a new one as View opens it.
    void viewLine(const mp::ListEntry& entry, const std::string& folder, std::uint64_t line);

    // What the status bar says of the list while the masterpoint folder stored now is
    // not the folder the list was made from (changed in Paths, or by another copy of
    // the program): which folder the list shows, in lines as the status bar shows them.
    // Empty when they are the same, or nothing has been listed. Reads the store, which
    // may throw.
    QString listFolderNote() const;

private:
    // Asks for the masterpoint folder when the question calls for it and stores the
    // answer; the folder to list, or nothing when the user cancels.
    std::optional<std::string> settleFolder(FolderQuestion question);
    // Asks for a folder, the stored one first; a stored folder that is not there is said
    // first (what names it: "backup folder"), and the question then opens at the nearest
    // folder above it, with "Remember this folder" unticked.
    std::optional<FolderChoice> askForFolder(const QString& title, const QString& stored,
                                             const QString& what);
    // Why folder cannot be listed: nothing when it is a folder there, empty text when it
    // is simply not there, else the reason as a sentence.
    std::optional<QString> missingReason(const QString& folder) const;
    // Empties the list and the viewers and lists folder anew; the renames it could not
    // make, or the folder that could not be read, are added to problems.
    void rescan(const std::string& folder, mp::Problems& problems);
    // Asks for the merge's output name until the user cancels, chooses a new name or
    // agrees to replace the file there; replace says which of the two.
    std::optional<QString> chooseMergeOutput(const QString& proposed, bool& replace);
    // Whether the list still shows what is on disk: the folder listed is the same folder
    // (not another drive mounted at its place), and every ticked file that can be read
    // is still a masterpoint file. When not, says what changed and the answer is false;
    // the command then does nothing.
    bool isListCurrent(const std::vector<mp::ListEntry>& entries);
    void report(const mp::Problems& problems);
    // Starts following the folder just scanned, from the entries it listed; scanned is
    // when the scan began, on the clock of file times.
    void startFollowing(const std::string& folder, const std::vector<mp::ListEntry>& listed,
                        std::int64_t scanned);
    // Applies a look at the folder to the list and the viewers and says what changed;
    // asked: the user asked for it, so that "nothing changed" is said too.
    void apply(mp::FollowResult result, bool asked);

    Prompts& prompts_;
    SettingsStore& store_;
    FileList& list_;
    Viewers& viewers_;
    TotalsView& totals_;
    StatusLine& status_;
    mp::FileSystem& fileSystem_;
    bool convertOnLocate_ = false;
    mp::FileStamp listedFolder_; // the listed folder's own, as it was listed
    mp::FolderFollower follower_;
    bool folderAway_ = false; // the followed folder could not be listed at the last look
    std::optional<int> lookAgainIn_;
};
