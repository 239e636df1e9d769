#include "app/FileCommands.h"

#include "app/BusyCursor.h"
#include "app/FileList.h"
#include "app/FilesLog.h"
#include "app/NameText.h"
#include "app/StatusLine.h"
#include "app/TotalsView.h"
#include "app/Viewers.h"
#include "dialogs/Prompts.h"
#include "masterpoint/Backup.h"
#include "masterpoint/Convert.h"
#include "masterpoint/Error.h"
#include "masterpoint/FileKind.h"
#include "masterpoint/FileName.h"
#include "masterpoint/FolderScan.h"
#include "masterpoint/LineList.h"
#include "masterpoint/Merge.h"
#include "masterpoint/Problems.h"
#include "masterpoint/TickedTotals.h"
#include "masterpoint/ValidityTest.h"
#include "settings/SettingsNames.h"
#include "settings/SettingsStore.h"
#include "widgets/TableSaver.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>
#include <chrono>
#include <unordered_set>

using namespace SettingsNames;

namespace {

// A folder whose name is not valid text in the file system's encoding reaches us with
// its odd bytes already replaced: stored so, it would name another folder, or none.
bool isKeepable(const QString& folder) {
    return !folder.contains(QChar::ReplacementCharacter);
}

QString notKeepable(const QString& folder) {
    return QStringLiteral("The folder %1 cannot be used: its name is not valid text in this "
                          "system's encoding. Rename it and choose it again.")
        .arg(folder);
}

// "1 file", "2,056 files": numbers grouped as the user's locale groups them.
QString counted(qulonglong count, const QString& one, const QString& many) {
    return QStringLiteral("%1 %2").arg(QLocale().toString(count), count == 1 ? one : many);
}

// The nearest folder above path that is there, where a question about a folder that is
// not there opens: the mount point of a drive not plugged in, say; else the home folder.
QString nearestFolderAbove(const QString& path) {
    QString folder = QDir::cleanPath(path);
    while (!folder.isEmpty()) {
        const QFileInfo info(folder);
        if (info.isDir()) {
            return QDir::toNativeSeparators(folder);
        }
        const QString parent = info.path();
        if (parent == folder) {
            break;
        }
        folder = parent;
    }
    return QDir::homePath();
}

QString files(qulonglong count) {
    return counted(count, QStringLiteral("file"), QStringLiteral("files"));
}

// The wall clock, the clock of file times, in nanoseconds.
std::int64_t wallClockNow() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// A file's name as the list shows it: "CLUB0630.MP1(GLD)".
QString listedName(const std::string& fileName) {
    const int kind = mp::kindOfNumberedExtension(mp::upperAscii(mp::extensionOf(fileName)));
    return textOfBytes(mp::displayName(fileName, kind));
}

bool isAway(std::error_code error) {
    return error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory;
}

QString replaceQuestion(const QString& name) {
    return QStringLiteral("%1 already exists. Do you want to replace it?").arg(name);
}

// A scan that is over within this time says nothing while it runs; a longer one says
// how far it has come, at most this often.
constexpr qint64 kQuietScanMs = 500;
constexpr qint64 kProgressEveryMs = 100;

} // namespace

FileCommands::FileCommands(Prompts& prompts, SettingsStore& store, FileList& list, Viewers& viewers,
                           TotalsView& totals, StatusLine& status, mp::FileSystem& fileSystem)
    : prompts_(prompts), store_(store), list_(list), viewers_(viewers), totals_(totals),
      status_(status), fileSystem_(fileSystem) {}

void FileCommands::report(const mp::Problems& problems) {
    if (problems.empty()) {
        return;
    }
    for (const mp::Problem& problem : problems.all()) {
        qCWarning(filesLog).noquote() << textOfBytes(problem.detail);
    }
    prompts_.showWarning(textOfBytes(problems.text()));
}

std::optional<QString> FileCommands::missingReason(const QString& folder) const {
    mp::FileStamp stamp;
    const std::error_code error = fileSystem_.stampAt(bytesOfText(folder), stamp);
    if (!error) {
        if (QFileInfo(folder).isDir()) {
            return std::nullopt;
        }
        return QStringLiteral("It is not a folder.");
    }
    if (error == std::errc::no_such_file_or_directory) {
        return QString();
    }
    QString reason = textOfBytes(mp::describe(error));
    if (!reason.isEmpty()) {
        reason[0] = reason[0].toUpper();
    }
    return reason + QLatin1Char('.');
}

std::optional<FolderChoice> FileCommands::askForFolder(const QString& title, const QString& stored,
                                                       const QString& what) {
    QString start = stored;
    bool remember = true;
    if (!stored.isEmpty()) {
        if (const std::optional<QString> reason = missingReason(stored)) {
            // A drive that is not plugged in: said first, and the folder then chosen is
            // taken for this time only unless the user asks for it to be kept.
            QString text = QStringLiteral("The %1 %2 is not there: plug in the drive, or choose "
                                          "another folder")
                               .arg(what, stored);
            if (!reason->isEmpty()) {
                text += QLatin1Char('\n') + *reason;
            }
            prompts_.showWarning(text);
            start = nearestFolderAbove(stored);
            remember = false;
        }
    }
    std::optional<FolderChoice> choice = prompts_.browseForFolder(title, start, remember);
    if (choice && !isKeepable(choice->folder)) {
        prompts_.showMessage(notKeepable(choice->folder));
        return std::nullopt;
    }
    return choice;
}

std::optional<std::string> FileCommands::settleFolder(FolderQuestion question) {
    const QString stored = store_.readString(Paths, MasterpointFolder, QString());
    if (question == FolderQuestion::OnlyWhenNoneStored && !stored.isEmpty()) {
        return bytesOfText(stored);
    }
    const std::optional<FolderChoice> choice =
        askForFolder(QStringLiteral("Browser for masterpoint files"), stored,
                     QStringLiteral("masterpoint folder"));
    if (!choice) {
        return std::nullopt;
    }
    if (choice->remember) {
        store_.writeString(Paths, MasterpointFolder, choice->folder);
    }
    return bytesOfText(choice->folder);
}

void FileCommands::locate(FolderQuestion question) {
    status_.showDone(QString());
    const std::optional<std::string> folder = settleFolder(question);
    if (!folder) {
        return;
    }
    mp::Problems problems;
    rescan(*folder, problems);
    report(problems);
}

void FileCommands::rescan(const std::string& folder, mp::Problems& problems) {
    list_.setEntries({}, std::string());
    listedFolder_ = mp::FileStamp();
    viewers_.closeAll();
    mp::ScanResult result;
    {
        BusyCursor busy;
        QElapsedTimer clock;
        qint64 said = 0;
        mp::ScanOptions options;
        options.convertExtensions = convertOnLocate_;
        options.walkStarted = [&busy, &clock] {
            busy.start();
            clock.start();
        };
        options.progress = [this, &clock, &said, &folder](std::size_t tested,
                                                          std::size_t candidates) {
            const qint64 now = clock.elapsed();
            if (now < kQuietScanMs || now - said < kProgressEveryMs) {
                return;
            }
            said = now;
            status_.showProgress(QStringLiteral("Checked %1 of %2 in %3")
                                     .arg(QLocale().toString(qulonglong(tested)), files(candidates),
                                          textOfBytes(folder)));
        };
        const std::int64_t scanned = wallClockNow();
        try {
            mp::scanFolder(folder, options, result, fileSystem_);
        } catch (...) {
            // The files before the one that stopped the scan stay listed.
            startFollowing(folder, result.entries, scanned);
            list_.setEntries(std::move(result.entries), folder);
            listedFolder_ = result.folderStamp;
            status_.showDone(QString());
            throw;
        }
        if (result.folderError == std::errc::no_such_file_or_directory) {
            status_.showDone(QStringLiteral("The masterpoint folder %1 is not there: plug in the "
                                            "drive and press Locate")
                                 .arg(textOfBytes(folder)));
        } else if (result.folderError) {
            status_.showDone(
                QStringLiteral("Cannot read the masterpoint folder %1: %2")
                    .arg(textOfBytes(folder), textOfBytes(mp::describe(result.folderError))));
        } else {
            status_.showDone(
                QStringLiteral("%1 in %2")
                    .arg(counted(result.entries.size(), QStringLiteral("masterpoint file"),
                                 QStringLiteral("masterpoint files")),
                         textOfBytes(folder)));
        }
        startFollowing(folder, result.entries, scanned);
        list_.setEntries(std::move(result.entries), folder);
        listedFolder_ = result.folderStamp;
    }
    if (result.folderError) {
        // Said as a warning, not an error: the program goes on, with an empty list.
        problems.add("Cannot read the masterpoint folder " + folder + ": " +
                         mp::describe(result.folderError),
                     "list " + folder + ": " + result.folderError.message());
        return;
    }
    // A rename that Convert could not make, the scan that follows it tries again when it
    // converts too, and fails the same way: the user hears of it once.
    std::unordered_set<std::string> told;
    for (const mp::Problem& problem : problems.all()) {
        told.insert(problem.message);
    }
    for (const mp::Problem& problem : result.problems.all()) {
        if (told.count(problem.message) == 0) {
            problems.add(problem.message, problem.detail);
        }
    }
}

void FileCommands::startFollowing(const std::string& folder,
                                  const std::vector<mp::ListEntry>& listed, std::int64_t scanned) {
    mp::FollowResult result = follower_.start(folder, listed, scanned, fileSystem_);
    folderAway_ = static_cast<bool>(result.folderError);
    lookAgainIn_.reset();
    if (result.lookAgainIn)
        lookAgainIn_ = static_cast<int>((*result.lookAgainIn + 999'999) / 1'000'000);
}

void FileCommands::refresh() {
    const std::string folder = list_.folder();
    if (folder.empty() || follower_.folder() != folder) {
        locate(FolderQuestion::OnlyWhenNoneStored);
        return;
    }
    status_.showDone(QString());
    follower_.alwaysStamp(viewers_.fileNames());
    apply(follower_.look(wallClockNow(), convertOnLocate_, true), true);
}

void FileCommands::follow() {
    if (list_.folder().empty() || follower_.folder() != list_.folder())
        return;
    follower_.alwaysStamp(viewers_.fileNames());
    apply(follower_.look(wallClockNow(), convertOnLocate_), false);
}

void FileCommands::apply(mp::FollowResult result, bool asked) {
    lookAgainIn_.reset();
    if (result.lookAgainIn)
        lookAgainIn_ = static_cast<int>((*result.lookAgainIn + 999'999) / 1'000'000);
    const QString folder = textOfBytes(follower_.folder());
    if (result.folderError) {
        // Said when it happens, and again when the user asks; not at every look.
        if (!folderAway_ || asked) {
            list_.setFolderThere(false);
            status_.showDone(
                isAway(result.folderError)
                    ? QStringLiteral("The masterpoint folder %1 is not there any more").arg(folder)
                    : QStringLiteral("Cannot read the masterpoint folder %1: %2")
                          .arg(folder, textOfBytes(mp::describe(result.folderError))));
        }
        folderAway_ = true;
        return;
    }
    const bool back = folderAway_;
    folderAway_ = false;
    list_.setFolderThere(true);
    for (const std::string& name : result.changedFiles)
        viewers_.noteFileChanged(name, false);
    for (const std::string& name : result.goneFiles)
        viewers_.noteFileChanged(name, true);

    // What the status line says: one change by its name, more by their numbers.
    const std::size_t renamed = result.renamed.size();
    const std::size_t added = result.added.size() - renamed;
    const std::size_t removed = result.removed.size() - renamed;
    QString said;
    if (added + removed + renamed == 1) {
        if (!result.converted.empty()) {
            said = QStringLiteral("%1 arrived and was converted to %2")
                       .arg(textOfBytes(result.converted.front().first),
                            textOfBytes(result.converted.front().second));
        } else if (added == 1) {
            said = QStringLiteral("%1 added").arg(textOfBytes(result.added.front().displayText));
        } else if (removed == 1) {
            said = QStringLiteral("%1 removed").arg(listedName(result.removed.front()));
        } else {
            said = QStringLiteral("%1 renamed to %2")
                       .arg(listedName(result.renamed.front().first),
                            listedName(result.renamed.front().second));
        }
    } else if (added + removed + renamed > 1) {
        QStringList parts;
        const auto part = [&parts](std::size_t count, const char* what) {
            if (count == 0)
                return;
            parts << (parts.isEmpty()
                          ? QStringLiteral("%1 %2").arg(files(count), QLatin1String(what))
                          : QStringLiteral("%1 %2").arg(QLocale().toString(qulonglong(count)),
                                                        QLatin1String(what)));
        };
        part(added, "added");
        part(removed, "removed");
        part(renamed, "renamed");
        if (!result.converted.empty())
            parts << QStringLiteral("%1 converted")
                         .arg(QLocale().toString(qulonglong(result.converted.size())));
        said = parts.join(QStringLiteral(", "));
    }
    if (back)
        said = QStringLiteral("The masterpoint folder %1 is back").arg(folder) +
               (said.isEmpty() ? QString() : QStringLiteral(": ") + said);
    if (said.isEmpty() && asked)
        said = QStringLiteral("Nothing has changed in %1").arg(folder);
    if (result.listChanged())
        list_.update(result.removed, std::move(result.added), result.renamed);
    if (!said.isEmpty())
        status_.showDone(said);
    report(result.problems);
}

void FileCommands::reread(const std::string& fileName) {
    status_.showDone(QString());
    follower_.stampBeforeReading(fileName);
    mp::LineList lines;
    lines.loadFromFile(mp::joinPath(list_.folder(), fileName), fileSystem_);
    viewers_.reread(fileName, std::move(lines));
}

QString FileCommands::followedFolder() const {
    return textOfBytes(follower_.folder());
}

std::vector<std::string> FileCommands::viewedPaths() const {
    std::vector<std::string> paths;
    for (const std::string& name : viewers_.fileNames())
        paths.push_back(mp::joinPath(list_.folder(), name));
    return paths;
}

bool FileCommands::isListCurrent(const std::vector<mp::ListEntry>& entries) {
    const std::string folder = list_.folder();
    mp::FileStamp now;
    // A folder that cannot be looked up now is left to the command, whose every file then
    // fails with the reason; one that is there but is another folder is not.
    if (listedFolder_ != mp::FileStamp() && !fileSystem_.stampAt(folder, now) &&
        !now.isSameFileAs(listedFolder_)) {
        prompts_.showWarning(
            QStringLiteral("The folder %1 is not the folder that was listed: another drive may "
                           "be in its place. Nothing was done; choose Locate to list it again.")
                .arg(textOfBytes(folder)));
        return false;
    }
    QStringList changed;
    for (const mp::ListEntry& entry : entries) {
        if (!entry.ticked) {
            continue;
        }
        try {
            if (!mp::isMasterpointFile(mp::entryPath(entry, folder), mp::Known::Nothing,
                                       fileSystem_)) {
                changed << textOfBytes(entry.fileName);
            }
        } catch (const mp::Error&) {
            // Cannot be opened now: the command says so for this file, with the reason.
        }
    }
    if (changed.isEmpty()) {
        return true;
    }
    if (changed.size() > 3) {
        changed = changed.mid(0, 3) << QStringLiteral("…");
    }
    prompts_.showWarning(QStringLiteral("No longer a masterpoint file: %1. Nothing was done; "
                                        "choose Locate to list the folder again.")
                             .arg(changed.join(QStringLiteral(", "))));
    return false;
}

void FileCommands::convert() {
    status_.showDone(QString());
    if (list_.isEmpty()) {
        prompts_.showMessage(QStringLiteral("Select files to convert"));
        return;
    }
    // The files renamed are those the user saw listed, and the list that follows shows
    // that folder again, so the user sees what became of them, even when another folder
    // has been stored since: listing that one here would also convert its files, unseen,
    // when the option is on.
    const std::string folder = list_.folder();
    const std::vector<mp::ListEntry> entries = list_.entries();
    if (!isListCurrent(entries)) {
        return;
    }
    mp::ConvertResult result = mp::convertTicked(entries, folder, fileSystem_);
    if (result.attempted == 0) {
        prompts_.showMessage(QStringLiteral("Tick files to convert"));
        return;
    }
    const auto notConverted = static_cast<qulonglong>(result.problems.size());
    const auto converted = static_cast<qulonglong>(result.attempted) - notConverted;
    // The list shows the new names first; then whatever could not be renamed is said,
    // with what the rescan could not rename either, in one message.
    try {
        rescan(folder, result.problems);
    } catch (...) {
        report(result.problems);
        throw;
    }
    // Every ticked file accounted for, those that kept their names too.
    status_.showDone(notConverted == 0
                         ? QStringLiteral("Converted %1").arg(files(converted))
                         : QStringLiteral("Converted %1 of %2: %3 could not be renamed")
                               .arg(QLocale().toString(converted),
                                    files(static_cast<qulonglong>(result.attempted)),
                                    QLocale().toString(notConverted)));
    report(result.problems);
}

void FileCommands::view() {
    status_.showDone(QString());
    int ticked = 0;
    const std::string folder = list_.folder();
    mp::Problems problems;
    const std::vector<mp::ListEntry> entries = list_.entries();
    if (!isListCurrent(entries)) {
        return;
    }
    for (const mp::ListEntry& entry : entries) {
        if (!entry.ticked) {
            continue;
        }
        ++ticked;
        if (viewers_.raise(entry.fileName)) {
            continue;
        }
        // A file that cannot be read keeps none of the others from their viewers.
        const std::string path = mp::entryPath(entry, folder);
        follower_.stampBeforeReading(entry.fileName);
        mp::LineList lines;
        try {
            lines.loadFromFile(path, fileSystem_);
        } catch (const mp::Error& error) {
            std::string message = error.what();
            if (error.reason()) {
                message += ": " + mp::describe(error.reason());
            }
            problems.add(message, "view " + path + ": " + error.reason().message());
            continue;
        }
        viewers_.open(entry.fileName, textOfBytes(entry.displayText), std::move(lines),
                      mp::isTwoFigureExtension(mp::entryExtension(entry)), folder);
    }
    if (ticked == 0) {
        prompts_.showMessage(QStringLiteral("Select file(s) to view"));
    }
    report(problems);
}

void FileCommands::backUp() {
    status_.showDone(QString());
    if (list_.isEmpty()) {
        prompts_.showMessage(QStringLiteral("Select files to backup"));
        return;
    }
    const std::vector<mp::ListEntry> entries = list_.entries();
    if (!isListCurrent(entries)) {
        return;
    }
    const std::optional<FolderChoice> choice = askForFolder(
        QStringLiteral("Select backup location/folder"),
        store_.readString(Paths, BackupFolder, QString()), QStringLiteral("backup folder"));
    if (!choice) {
        return;
    }
    const QString& folder = choice->folder;
    mp::BackupResult result;
    {
        BusyCursor busy;
        busy.start();
        // Refused (the masterpoint folder itself), the folder is not stored.
        result = mp::backUpTicked(entries, list_.folder(), bytesOfText(folder), fileSystem_);
    }
    if (choice->remember) {
        store_.writeString(Paths, BackupFolder, folder);
    }
    if (result.ticked == 0) {
        prompts_.showMessage(QStringLiteral("Tick files to backup"));
        return;
    }
    const auto copied = static_cast<qulonglong>(result.copied);
    const auto failed = static_cast<qulonglong>(result.ticked) -
                        static_cast<qulonglong>(result.alreadyThere) - copied;
    QString done = failed == 0 ? QStringLiteral("Backed up %1 to %2").arg(files(copied), folder)
                               : QStringLiteral("Backed up %1 of %2 to %3")
                                     .arg(QLocale().toString(copied),
                                          files(static_cast<qulonglong>(result.ticked)), folder);
    const auto beside = [&done](const std::vector<std::string>& copies, const QString& what) {
        if (copies.empty()) {
            return;
        }
        QStringList names;
        for (const std::string& name : copies) {
            names << textOfBytes(name);
        }
        if (names.size() > 3) {
            names = names.mid(0, 3) << QStringLiteral("…");
        }
        done += what.arg(QLocale().toString(qulonglong(copies.size())),
                         names.join(QStringLiteral(", ")));
    };
    beside(result.besideOlder, QStringLiteral(", %1 beside an older, different copy (%2)"));
    beside(result.besideOther, QStringLiteral(", %1 beside a folder or link of its name (%2)"));
    if (result.alreadyThere > 0) {
        done += QStringLiteral(", %1 already there")
                    .arg(QLocale().toString(qulonglong(result.alreadyThere)));
    }
    if (failed > 0) {
        done += QStringLiteral(": %1 could not be copied").arg(QLocale().toString(failed));
    }
    status_.showDone(done);
    report(result.problems);
}

void FileCommands::merge() {
    status_.showDone(QString());
    if (list_.isEmpty()) {
        prompts_.showMessage(QStringLiteral("Select files to merge"));
        return;
    }
    const std::vector<mp::ListEntry> entries = list_.entries();
    const mp::MergeCheck check = mp::checkMerge(entries);
    if (check.outcome == mp::MergeCheck::DifferentExtensions) {
        prompts_.showMessage(QStringLiteral("All merged files must be of the same extension type"));
        return;
    }
    if (check.outcome == mp::MergeCheck::TooFewTicked) {
        prompts_.showMessage(QStringLiteral("More than one file must be ticked to merge"));
        return;
    }
    const std::string folder = list_.folder();
    const int club = store_.readInteger(Paths, ClubNumber, 0);
    if (!isListCurrent(entries)) {
        return;
    }
    bool replace = false;
    const std::optional<QString> output =
        chooseMergeOutput(textOfBytes(mp::proposedMergeName(folder, club, check.first)), replace);
    if (!output) {
        return;
    }
    const std::vector<std::string> inputs = mp::tickedPaths(entries, folder);
    mp::MergeQuestion question;
    question.twoFigures = mp::isTwoFigureExtension(mp::entryExtension(check.first));
    question.replace = replace;
    std::optional<BusyCursor> busy(std::in_place);
    busy->start();
    // Every question is asked without the busy cursor.
    const auto asked = [&busy](auto ask) {
        busy.reset();
        const bool yes = ask();
        busy.emplace();
        busy->start();
        return yes;
    };
    question.ask = [this, &asked](const std::string& text) {
        return asked([&] {
            return prompts_.askToProceed(textOfBytes(text), QStringLiteral("Merge anyway"));
        });
    };
    // A name free when chosen that another program took during the merge: asked again.
    question.askReplace = [this, &asked](const std::string& name) {
        return asked([&] { return prompts_.askYesNo(replaceQuestion(textOfBytes(name))); });
    };
    const std::optional<std::uint64_t> lines =
        mp::mergeFiles(inputs, bytesOfText(*output), fileSystem_, &question);
    busy.reset();
    if (!lines) {
        status_.showDone(QStringLiteral("Merge cancelled: nothing was written"));
        return;
    }
    status_.showDone(QStringLiteral("Merged %1 (%2) into %3")
                         .arg(files(inputs.size()),
                              counted(*lines, QStringLiteral("line"), QStringLiteral("lines")),
                              QFileInfo(*output).fileName()));
}

std::optional<QString> FileCommands::chooseMergeOutput(const QString& proposed, bool& replace) {
    // Asked as every save asks: the dialog, then whether to replace a name that is taken.
    return TableSaver::askSaveName(prompts_, proposed, &replace);
}

void FileCommands::totals() {
    status_.showDone(QString());
    const std::vector<mp::ListEntry> entries = list_.entries();
    const bool anyTicked = std::any_of(entries.begin(), entries.end(),
                                       [](const mp::ListEntry& entry) { return entry.ticked; });
    if (!anyTicked) {
        prompts_.showMessage(QStringLiteral("Tick files to total"));
        return;
    }
    if (!isListCurrent(entries)) {
        return;
    }
    mp::TickedTotals result;
    {
        BusyCursor busy;
        busy.start();
        result = mp::totalTicked(entries, list_.folder(), fileSystem_);
    }
    for (const mp::TickedTotals::Row& row : result.rows) {
        if (!row.error.empty()) {
            logFailure(textOfBytes(row.error), row.reason);
        }
    }
    totals_.showTotals(result);
}

std::optional<mp::MemberIndex> FileCommands::indexMembers() {
    status_.showDone(QString());
    if (list_.isEmpty()) {
        prompts_.showMessage(QStringLiteral("Locate masterpoint files to find a member in"));
        return std::nullopt;
    }
    std::optional<mp::MemberIndex> index;
    {
        BusyCursor busy;
        busy.start();
        index.emplace(mp::entriesToSearch(list_.entries()), list_.folder(), fileSystem_);
    }
    for (const mp::MemberIndex::File& file : index->files()) {
        if (!file.error.empty()) {
            logFailure(textOfBytes(file.error), file.reason);
        }
    }
    return index;
}

void FileCommands::viewLine(const mp::ListEntry& entry, const std::string& folder,
                            std::uint64_t line) {
    if (!viewers_.raise(entry.fileName)) {
        follower_.stampBeforeReading(entry.fileName);
        mp::LineList lines;
        lines.loadFromFile(mp::entryPath(entry, folder), fileSystem_);
        viewers_.open(entry.fileName, textOfBytes(entry.displayText), std::move(lines),
                      mp::isTwoFigureExtension(mp::entryExtension(entry)), folder);
    }
    viewers_.selectLine(entry.fileName, line);
}

void FileCommands::editPaths() {
    status_.showDone(QString());
    PathSettings current;
    current.masterpointFolder = store_.readString(Paths, MasterpointFolder, QString());
    current.backupFolder = store_.readString(Paths, BackupFolder, QString());
    current.clubNumber = store_.readInteger(Paths, ClubNumber, 0);
    const std::optional<PathSettings> chosen = prompts_.editPaths(current);
    if (!chosen) {
        return;
    }
    for (const QString& folder : {chosen->masterpointFolder, chosen->backupFolder}) {
        if (!isKeepable(folder)) {
            prompts_.showMessage(notKeepable(folder));
            return;
        }
    }
    store_.writeString(Paths, BackupFolder, chosen->backupFolder);
    store_.writeString(Paths, MasterpointFolder, chosen->masterpointFolder);
    store_.writeInteger(Paths, ClubNumber, chosen->clubNumber);
}

QString FileCommands::listFolderNote() const {
    const std::string listed = list_.folder();
    if (listed.empty()) {
        return QString();
    }
    const QString stored = store_.readString(Paths, MasterpointFolder, QString());
    const QString shown = textOfBytes(listed);
    // "/mp/" and "/mp" list the same files: no need to send the user to Locate.
    if (QDir::cleanPath(stored) == QDir::cleanPath(shown)) {
        return QString();
    }
    // In short lines, so that what to do is still seen in a narrow window.
    if (stored.isEmpty()) {
        return QStringLiteral("The list shows %1;\nno masterpoint folder is set now:\nchoose "
                              "Locate to choose one")
            .arg(shown);
    }
    return QStringLiteral("The list shows %1;\nthe masterpoint folder is now %2:\nchoose "
                          "Locate to list it")
        .arg(shown, stored);
}
