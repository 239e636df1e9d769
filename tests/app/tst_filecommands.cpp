// The file commands without a window: Locate, Convert, View, Backup, Merge, Totals and Paths
// driven through FileCommands, with scripted answers, a real file list model, viewers
// that only take notes and a real folder on disk. Every case checks the questions and
// messages the user would see and the bytes left on disk.

#include "app/FileCommands.h"
#include "app/FileListModel.h"
#include "app/StatusLine.h"
#include "app/TotalsView.h"
#include "app/Viewers.h"
#include "masterpoint/Error.h"
#include "masterpoint/FileName.h"
#include "settings/SettingsNames.h"
#include "settings/SettingsStore.h"
#include "support/FaultyFileSystem.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace SettingsNames;
using Question = FileCommands::FolderQuestion;

Q_DECLARE_METATYPE(FileCommands::FolderQuestion)

enum class Command { Locate, Convert, View, BackUp, Merge, Totals, EditPaths };
Q_DECLARE_METATYPE(Command)

namespace {

const QByteArray kValid = "1234567001250\r\n";

// count records, member numbers from first on: each file of a test gets its own bytes.
QByteArray records(int count, int first = 1000000) {
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += QByteArray::number(first + i).rightJustified(7, '0') + "000100\r\n";
    return bytes;
}

QString fromBytes(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

void perform(FileCommands& commands, Command command) {
    switch (command) {
    case Command::Locate:
        return commands.locate(FileCommands::FolderQuestion::Ask);
    case Command::Convert:
        return commands.convert();
    case Command::View:
        return commands.view();
    case Command::BackUp:
        return commands.backUp();
    case Command::Merge:
        return commands.merge();
    case Command::Totals:
        return commands.totals();
    case Command::EditPaths:
        return commands.editPaths();
    }
}

// One viewer as the notes give it.
QString shown(const QString& name, const QString& caption, int lines, bool twoFigures) {
    return QStringLiteral("%1 as %2, %3 lines, %4")
        .arg(name, caption)
        .arg(lines)
        .arg(twoFigures ? "two figures" : "one figure");
}

// One file as contents() gives it: the name and the bytes with line ends spelt out.
QString fileText(const QString& name, const QByteArray& bytes) {
    return name + QLatin1Char('=') +
           QString::fromLatin1(bytes).replace('\r', QLatin1String("\\r")).replace('\n', "\\n");
}

// Every file of folder, in plain name order.
QStringList contents(const QString& folder) {
    QStringList out;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        out << fileText(name, testfiles::read(QDir(folder).filePath(name)));
    std::sort(out.begin(), out.end());
    return out;
}

QStringList sorted(QStringList list) {
    std::sort(list.begin(), list.end());
    return list;
}

// The text of what f throws, or "nothing thrown".
template <typename Exception, typename F> QString thrownText(F f) {
    try {
        f();
    } catch (const Exception& error) {
        return QString::fromStdString(error.what());
    }
    return QStringLiteral("nothing thrown");
}

// Viewers without windows: the viewers showing now, and a log of every open, every raise
// that found a viewer and every closeAll.
class NotedViewers : public Viewers {
public:
    QStringList showing;
    QStringList log;

    bool raise(const std::string& fileName) override {
        for (const std::string& name : names_) {
            if (mp::isSameFileName(name, fileName)) {
                log << "raise:" + fromBytes(fileName);
                return true;
            }
        }
        return false;
    }
    void open(const std::string& fileName, const QString& caption, mp::LineList lines,
              bool twoFigures, const std::string&) override {
        names_.push_back(fileName);
        showing << shown(fromBytes(fileName), caption, int(lines.size()), twoFigures);
        log << "open:" + fromBytes(fileName);
    }
    void selectLine(const std::string& fileName, std::uint64_t line) override {
        log << QStringLiteral("select:%1:%2").arg(fromBytes(fileName)).arg(line);
    }
    void closeAll() override {
        names_.clear();
        showing.clear();
        log << QStringLiteral("closeAll");
    }

private:
    std::vector<std::string> names_;
};

// How the totals are shown is the totals window's tests' concern: here only which files
// were read, and how many records each gave.
class NotedTotals : public TotalsView {
public:
    QStringList shown;
    void showTotals(const mp::TickedTotals& totals) override {
        for (const mp::TickedTotals::Row& row : totals.rows)
            shown << QStringLiteral("totals:%1 %2 records")
                         .arg(fromBytes(row.displayText))
                         .arg(row.summary.records);
    }
};

// The status line as the window would show it.
class NotedStatus : public StatusLine {
public:
    QString done;
    void showDone(const QString& text) override { done = text; }
    void showProgress(const QString&) override {}
};

QStringList textsOf(const FileListModel& list) {
    QStringList out;
    for (int row = 0; row < list.rowCount(); ++row)
        out << list.index(row).data().toString();
    return out;
}

// Also notes the list as it stood when each warning came.
class Prompter : public ScriptedPrompts {
public:
    explicit Prompter(const FileListModel& list) : list_(list) {}
    QStringList listAtWarning;
    void showWarning(const QString& text) override {
        listAtWarning = textsOf(list_);
        ScriptedPrompts::showWarning(text);
    }

private:
    const FileListModel& list_;
};

// The commands with everything they talk to.
struct Run {
    explicit Run(const QString& ini) : store(ini) {}

    FaultyFileSystem disk;
    FileListModel list;
    Prompter prompts{list};
    SettingsStore store;
    NotedViewers viewers;
    NotedTotals totals;
    NotedStatus status;
    FileCommands commands{prompts, store, list, viewers, totals, status, disk};

    QStringList texts() const { return textsOf(list); }
    void scan() { commands.locate(Question::OnlyWhenNoneStored); }
    void tick(const QString& text) {
        const int row = texts().indexOf(text);
        QVERIFY2(row >= 0, qPrintable(text));
        QVERIFY(list.setData(list.index(row), Qt::Checked, Qt::CheckStateRole));
    }
    void tickAll() {
        for (const QString& text : texts())
            tick(text);
    }
    bool ticked(const QString& text) const {
        return list.index(texts().indexOf(text)).data(Qt::CheckStateRole).toInt() == Qt::Checked;
    }
};

} // namespace

class tst_FileCommands : public QObject {
    Q_OBJECT

private slots:
    void init();

    void locateAsksOnlyWhenItShould_data();
    void locateAsksOnlyWhenItShould();
    void locateStoresChosenFolderBeforeScanning();
    void scanListsValidFiles_data();
    void scanListsValidFiles();
    void scanListsInNameOrderAndMergeFollows();
    void scanOfUnreadableFolderWarnsOnce_data();
    void scanOfUnreadableFolderWarnsOnce();

    void eachEntryReachesItsOwnFile_data();
    void eachEntryReachesItsOwnFile();
    void refusalsLeaveEverythingAsItWas_data();
    void refusalsLeaveEverythingAsItWas();

    void convertFailureSaidOnceAfterRescan_data();
    void convertFailureSaidOnceAfterRescan();

    void backupStoresFolderWithNothingTicked();
    void folderKeptOnlyWhenRemembered_data();
    void folderKeptOnlyWhenRemembered();
    void backupSaysWhatIsNotSafe_data();
    void backupSaysWhatIsNotSafe();

    void mergeProposesClubNameAndCancelWritesNothing_data();
    void mergeProposesClubNameAndCancelWritesNothing();
    void mergeWritesCrLfLines();
    void mergeMissingInputThrowsAndWritesNothing();
    void mergeAsksBeforeReplacing_data();
    void mergeAsksBeforeReplacing();

    void viewOpensTickedByExactNameAndRaisesWithoutReading();
    void viewGoesOnPastAMissingFile();

    void editPathsOkStoresTheThree_data();
    void editPathsOkStoresTheThree();
    void editPathsStoreFailureThrows();
    void commandsActOnTheListedFolder_data();
    void commandsActOnTheListedFolder();
    void commandsRefuseWhatIsNoLongerAsListed_data();
    void commandsRefuseWhatIsNoLongerAsListed();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString ini() const { return dir_->filePath(QStringLiteral("cfg/settings.ini")); }
    // Beyond ASCII and with a space, so that every path passes the encoding both ways.
    QString mp() const { return dir_->filePath(QStringLiteral("Masterpoint é")); }
    QString bu() const { return dir_->filePath(QStringLiteral("bu")); }
    QString in(const QString& folder, const QString& name) const {
        return QDir(folder).filePath(name);
    }
    void write(const QString& name, const QByteArray& bytes = kValid) {
        testfiles::write(mp(), name, bytes);
    }
    void storeFolders() {
        SettingsStore store(ini());
        store.writeString(Paths, MasterpointFolder, mp());
        store.writeString(Paths, BackupFolder, bu());
    }
};

void tst_FileCommands::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    for (const QString& folder : {mp(), bu(), dir_->filePath(QStringLiteral("cfg"))})
        QVERIFY(QDir().mkpath(folder));
}

// ---- Locate ----

void tst_FileCommands::locateAsksOnlyWhenItShould_data() {
    QTest::addColumn<Question>("question");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<bool>("asks");
    QTest::newRow("start-up, folder stored") << Question::OnlyWhenNoneStored << true << false;
    QTest::newRow("start-up, none stored") << Question::OnlyWhenNoneStored << false << true;
    QTest::newRow("asked for, folder stored") << Question::Ask << true << true;
    QTest::newRow("asked for, none stored") << Question::Ask << false << true;
}

void tst_FileCommands::locateAsksOnlyWhenItShould() {
    QFETCH(Question, question);
    QFETCH(bool, stored);
    QFETCH(bool, asks);
    write(QStringLiteral("A.GLD"));
    if (stored)
        storeFolders();
    Run run(ini());
    run.prompts.folderAnswers.push_back(mp());
    run.commands.locate(question);
    const QString preset = stored ? mp() : QString();
    QCOMPARE(run.prompts.asked,
             asks ? QStringList{"browse:Browser for masterpoint files|" + preset} : QStringList());
    QCOMPARE(run.texts(), QStringList{QStringLiteral("A.GLD")});
    QVERIFY(!run.ticked(QStringLiteral("A.GLD")));
    QCOMPARE(run.store.readString(Paths, MasterpointFolder, QString()), mp());
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
}

// The folder chosen is kept, and a file the scan cannot read is said once, with the
// reason, after every other file is listed (one such file once hid all after it).
void tst_FileCommands::locateStoresChosenFolderBeforeScanning() {
    const QString other = dir_->filePath(QStringLiteral("other"));
    QVERIFY(QDir().mkpath(other));
    testfiles::write(other, QStringLiteral("a.GLD"), kValid);
    testfiles::write(other, QStringLiteral("club.mp2"), kValid);
    testfiles::write(other, QStringLiteral("d.GLD"), kValid);
    Run run(ini());
    run.disk.failOn(Call::ReadHead, std::errc::permission_denied, 0, "club.mp2");
    run.prompts.folderAnswers.push_back(other);
    run.commands.locate(Question::Ask);
    QCOMPARE(run.prompts.warnings(),
             QStringList{"Cannot open file " + in(other, "club.mp2") + ": permission denied"});
    QCOMPARE(run.store.readString(Paths, MasterpointFolder, QString()), other);
    QCOMPARE(run.texts(), (QStringList{"a.GLD", "d.GLD"}));
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
}

// With the option on, X.MP1 cannot become X.GLD: both stay, each under its own name,
// and that is said once.
void tst_FileCommands::scanListsValidFiles_data() {
    QTest::addColumn<bool>("convert");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QStringList>("onDisk");
    QTest::addColumn<QStringList>("asked");
    QTest::newRow("option off") << false
                                << QStringList{"A.MP1(GLD)", "B.GLD", "e.MP3(GRN)", "X.GLD",
                                               "X.MP1(GLD)"}
                                << QStringList{"A.MP1", "B.GLD", "C.TXT", "D.MP2",
                                               "X.GLD", "X.MP1", "e.mp3"}
                                << QStringList();
    QTest::newRow("option on")
        << true << QStringList{"A.GLD", "B.GLD", "e.GRN", "X.GLD", "X.MP1(GLD)"}
        << QStringList{"A.GLD", "B.GLD", "C.TXT", "D.MP2", "X.GLD", "X.MP1", "e.GRN"}
        << QStringList{"warning:Could not convert X.MP1: X.GLD already exists"};
}

void tst_FileCommands::scanListsValidFiles() {
    QFETCH(bool, convert);
    QFETCH(QStringList, listed);
    QFETCH(QStringList, onDisk);
    QFETCH(QStringList, asked);
    for (const char* name : {"A.MP1", "B.GLD", "C.TXT", "e.mp3"})
        write(QLatin1String(name));
    write(QStringLiteral("D.MP2"), "12345678901\r\n"); // too short a head
    write(QStringLiteral("X.MP1"), records(1, 1111111));
    write(QStringLiteral("X.GLD"), records(1, 2222222));
    storeFolders();
    Run run(ini());
    run.commands.setConvertOnLocate(convert);
    run.scan();
    QCOMPARE(run.texts(), listed);
    QCOMPARE(sorted(QDir(mp()).entryList(QDir::Files)), onDisk);
    QCOMPARE(testfiles::read(in(mp(), "X.MP1")), records(1, 1111111));
    QCOMPARE(testfiles::read(in(mp(), "X.GLD")), records(1, 2222222));
    QCOMPARE(run.prompts.asked, asked);
}

void tst_FileCommands::scanListsInNameOrderAndMergeFollows() {
    const QStringList created{"c.GLD", "b.GLD", "D.GLD", "a1.GLD", "B.GLD"};
    for (int i = 0; i < created.size(); ++i)
        write(created[i], records(1, 1000000 + i));
    storeFolders();
    Run run(ini());
    run.scan();
    const QStringList order{"a1.GLD", "B.GLD", "b.GLD", "c.GLD", "D.GLD"};
    QCOMPARE(run.texts(), order);
    run.tickAll();
    const QString output = in(bu(), QStringLiteral("merged.GLD"));
    run.prompts.saveAnswers.push_back(output);
    run.commands.merge();
    QByteArray expected;
    for (const QString& name : order)
        expected += records(1, 1000000 + int(created.indexOf(name)));
    QCOMPARE(testfiles::read(output), expected);
}

// A folder that cannot be listed empties the list and closes the viewers, as a folder
// without files would, but the user hears why, once, whoever started the scan.
void tst_FileCommands::scanOfUnreadableFolderWarnsOnce_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<Question>("question");
    QTest::addColumn<QString>("reason");
    QTest::newRow("deleted, by Locate")
        << "deleted" << Question::Ask << "no such file or directory";
    QTest::newRow("deleted, at start-up")
        << "deleted" << Question::OnlyWhenNoneStored << "no such file or directory";
    QTest::newRow("a file, at start-up")
        << "a file" << Question::OnlyWhenNoneStored << "not a directory";
    QTest::newRow("not readable, by Locate")
        << "not readable" << Question::Ask << "permission denied";
}

void tst_FileCommands::scanOfUnreadableFolderWarnsOnce() {
    QFETCH(QString, how);
    QFETCH(Question, question);
    QFETCH(QString, reason);
    write(QStringLiteral("A.GLD"));
    storeFolders();
    Run run(ini());
    run.scan();
    QCOMPARE(run.status.done, "1 masterpoint file in " + mp());
    run.tickAll();
    run.commands.view();
    if (how == "deleted") {
        QVERIFY(QDir(mp()).removeRecursively());
    } else if (how == "a file") {
        QVERIFY(QDir(mp()).removeRecursively());
        testfiles::write(dir_->path(), QFileInfo(mp()).fileName(), kValid);
    } else {
        run.disk.failOn(Call::ListFolder, std::errc::permission_denied);
    }
    run.prompts.asked.clear();
    run.prompts.folderAnswers.push_back(mp());
    run.commands.locate(question);
    QStringList asked{"warning:Cannot read the masterpoint folder " + mp() + ": " + reason};
    if (question == Question::Ask && how == "deleted") {
        // Said before the question, which opens above the folder that is not there.
        asked.prepend("browse:Browser for masterpoint files|" + dir_->path() + "|unticked");
        asked.prepend("warning:The masterpoint folder " + mp() +
                      " is not there: plug in the drive, or choose another folder");
    } else if (question == Question::Ask) {
        asked.prepend("browse:Browser for masterpoint files|" + mp());
    }
    QCOMPARE(run.prompts.asked, asked);
    QVERIFY(run.texts().isEmpty());
    QVERIFY(run.viewers.showing.isEmpty());
    // The foot line says where things stand.
    QCOMPARE(run.status.done, how == "deleted"
                                  ? "The masterpoint folder " + mp() +
                                        " is not there: plug in the drive and press Locate"
                                  : "Cannot read the masterpoint folder " + mp() + ": " + reason);
}

// Names whose listed text differs from the name on disk: every command reaches the file
// by its own name.
void tst_FileCommands::eachEntryReachesItsOwnFile_data() {
    QTest::addColumn<QStringList>("files"); // in list order
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QStringList>("converted");
    QTest::addColumn<bool>("twoFigures");
    QTest::newRow("lower-case extension")
        << QStringList{"low.mp1"} << QStringList{"low.MP1(GLD)"} << QStringList{"low.GLD"} << false;
    QTest::newRow("dotted name beside its stem")
        << QStringList{"a.b.MP1", "a.MP1"} << QStringList{"a.b.MP1(GLD)", "a.MP1(GLD)"}
        << QStringList{"a.b.GLD", "a.GLD"} << false;
    QTest::newRow("lower-case, two figures")
        << QStringList{"p.mp5"} << QStringList{"p.MP5(RAG)"} << QStringList{"p.RAG"} << true;
    QTest::newRow("name beyond ASCII")
        << QStringList{"Ré.MP2"} << QStringList{"Ré.MP2(RED)"} << QStringList{"Ré.RED"} << false;
}

void tst_FileCommands::eachEntryReachesItsOwnFile() {
    QFETCH(QStringList, files);
    QFETCH(QStringList, listed);
    QFETCH(QStringList, converted);
    QFETCH(bool, twoFigures);
    QList<QByteArray> bytes;
    for (int i = 0; i < files.size(); ++i) {
        bytes << records(i + 1, 1000000 * (i + 1));
        write(files[i], bytes[i]);
    }
    storeFolders();
    Run run(ini());
    run.scan();
    QCOMPARE(run.texts(), listed);
    run.tickAll();

    run.commands.view();
    QStringList opened, backedUp, renamed;
    for (int i = 0; i < files.size(); ++i) {
        opened << shown(files[i], listed[i], i + 1, twoFigures);
        backedUp << fileText(files[i], bytes[i]);
        renamed << fileText(converted[i], bytes[i]);
    }
    QCOMPARE(run.viewers.showing, opened);

    run.prompts.folderAnswers.push_back(bu());
    run.commands.backUp();
    QCOMPARE(contents(bu()), sorted(backedUp));

    run.commands.convert(); // renames, then lists the folder anew
    QCOMPARE(contents(mp()), sorted(renamed));
    QCOMPARE(run.texts(), converted);
    for (const QString& text : converted)
        QVERIFY(!run.ticked(text));
    QVERIFY(run.viewers.showing.isEmpty());
    QCOMPARE(run.prompts.asked, QStringList{"browse:Select backup location/folder|" + bu()});
}

// ---- What a command refuses to do ----

void tst_FileCommands::refusalsLeaveEverythingAsItWas_data() {
    QTest::addColumn<Command>("command");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("ticked");
    QTest::addColumn<bool>("oddAnswer");    // answers a folder whose name is not valid text
    QTest::addColumn<QStringList>("asked"); // "<mp>", "<bu>", "<odd>" stand for the folders
    const QStringList none;
    const QString odd = QStringLiteral("message:The folder <odd> cannot be used: its name is not "
                                       "valid text in this system's encoding. Rename it and "
                                       "choose it again.");
    const QString differ =
        QStringLiteral("message:All merged files must be of the same extension type");
    const QString tooFew = QStringLiteral("message:More than one file must be ticked to merge");
    QTest::newRow("locate, cancelled")
        << Command::Locate << QStringList{"A.GLD", "B.GLD"} << QStringList{"A.GLD"} << false
        << QStringList{"browse:Browser for masterpoint files|<mp>"};
    QTest::newRow("paths, cancelled")
        << Command::EditPaths << QStringList{"A.GLD"} << QStringList{"A.GLD"} << false
        << QStringList{"paths:<mp>|<bu>|0"};
    QTest::newRow("locate, folder name not text")
        << Command::Locate << QStringList{"A.GLD"} << QStringList{"A.GLD"} << true
        << QStringList{"browse:Browser for masterpoint files|<mp>", odd};
    QTest::newRow("backup, folder name not text")
        << Command::BackUp << QStringList{"A.GLD"} << QStringList{"A.GLD"} << true
        << QStringList{"browse:Select backup location/folder|<bu>", odd};
    QTest::newRow("paths, folder name not text")
        << Command::EditPaths << QStringList{"A.GLD"} << QStringList{"A.GLD"} << true
        << QStringList{"paths:<mp>|<bu>|0", odd};
    QTest::newRow("convert, empty list") << Command::Convert << none << none << false
                                         << QStringList{"message:Select files to convert"};
    QTest::newRow("convert, no numbered file ticked")
        << Command::Convert << QStringList{"CLUB0612.GLD", "X.MP1"} << QStringList{"CLUB0612.GLD"}
        << false << QStringList{"message:Tick files to convert"};
    QTest::newRow("view, empty list")
        << Command::View << none << none << false << QStringList{"message:Select file(s) to view"};
    QTest::newRow("view, none ticked") << Command::View << QStringList{"A.GLD"} << none << false
                                       << QStringList{"message:Select file(s) to view"};
    QTest::newRow("backup, empty list") << Command::BackUp << none << none << false
                                        << QStringList{"message:Select files to backup"};
    QTest::newRow("backup, cancelled")
        << Command::BackUp << QStringList{"A.GLD"} << QStringList{"A.GLD"} << false
        << QStringList{"browse:Select backup location/folder|<bu>"};
    QTest::newRow("merge, empty list")
        << Command::Merge << none << none << false << QStringList{"message:Select files to merge"};
    QTest::newRow("merge, converted and not")
        << Command::Merge << QStringList{"X.GLD", "Y.MP1"} << QStringList{"X.GLD", "Y.MP1(GLD)"}
        << false << QStringList{differ};
    QTest::newRow("merge, letter case differs")
        << Command::Merge << QStringList{"X.GLD", "Y.gld"} << QStringList{"X.GLD", "Y.gld"} << false
        << QStringList{differ};
    QTest::newRow("merge, one ticked") << Command::Merge << QStringList{"X.GLD", "Y.GLD"}
                                       << QStringList{"X.GLD"} << false << QStringList{tooFew};
    QTest::newRow("merge, none ticked")
        << Command::Merge << QStringList{"X.GLD", "Y.GLD"} << none << false << QStringList{tooFew};
}

void tst_FileCommands::refusalsLeaveEverythingAsItWas() {
    QFETCH(Command, command);
    QFETCH(QStringList, files);
    QFETCH(QStringList, ticked);
    QFETCH(bool, oddAnswer);
    QFETCH(QStringList, asked);
    for (const QString& name : files)
        write(name);
    storeFolders();
    Run run(ini());
    run.scan();
    for (const QString& text : ticked)
        run.tick(text);
    const QStringList listed = run.texts();
    QStringList onDisk = contents(mp());
    const QByteArray stored = testfiles::read(ini());
    write(QStringLiteral("NEW.GLD")); // a rescan would list it
    const QString odd = dir_->filePath(QStringLiteral("odd")) + QChar(QChar::ReplacementCharacter);
    if (oddAnswer) {
        run.prompts.folderAnswers.push_back(odd);
        run.prompts.pathsAnswers.push_back(PathSettings{mp(), odd, 0});
    }
    perform(run.commands, command);
    asked.replaceInStrings(QStringLiteral("<odd>"), odd).replaceInStrings("<mp>", mp());
    QCOMPARE(run.prompts.asked, asked.replaceInStrings(QStringLiteral("<bu>"), bu()));
    QCOMPARE(run.texts(), listed);
    for (const QString& text : listed)
        QCOMPARE(run.ticked(text), ticked.contains(text));
    QCOMPARE(run.viewers.log, QStringList{QStringLiteral("closeAll")}); // the scan's only
    QCOMPARE(contents(mp()), sorted(onDisk << fileText("NEW.GLD", kValid)));
    QVERIFY(contents(bu()).isEmpty());
    QCOMPARE(testfiles::read(ini()), stored);
}

// ---- Convert ----

// A rename that fails never replaces a file; it is said once, after the list shows what
// is on disk, with the file listed under its own name.
void tst_FileCommands::convertFailureSaidOnceAfterRescan_data() {
    QTest::addColumn<bool>("convertOnLocate");
    QTest::addColumn<bool>("nameTaken");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<QStringList>("listed");
    const QString taken = QStringLiteral("Could not convert X.MP1: X.GLD already exists");
    const QStringList besideTaken{"X.GLD", "X.MP1(GLD)", "Y.GAR"};
    QTest::newRow("name taken") << false << true << taken << besideTaken;
    QTest::newRow("name taken, converting on locate") << true << true << taken << besideTaken;
    QTest::newRow("rename refused")
        << false << false << QStringLiteral("Could not convert X.MP1: permission denied")
        << QStringList{"X.MP1(GLD)", "Y.GAR"};
}

void tst_FileCommands::convertFailureSaidOnceAfterRescan() {
    QFETCH(bool, convertOnLocate);
    QFETCH(bool, nameTaken);
    QFETCH(QString, warning);
    QFETCH(QStringList, listed);
    const QByteArray x = records(1, 1), y = records(2, 2), old = records(3, 3);
    write(QStringLiteral("X.MP1"), x);
    write(QStringLiteral("Y.MP4"), y);
    if (nameTaken)
        write(QStringLiteral("X.GLD"), old);
    storeFolders();
    Run run(ini());
    run.commands.setConvertOnLocate(convertOnLocate);
    if (!nameTaken)
        run.disk.failOn(Call::RenameNoReplace, std::errc::permission_denied, 0, "X.MP1");
    run.scan();
    run.prompts.asked.clear(); // what the start-up scan could not rename
    run.tickAll();
    run.commands.convert();
    QCOMPARE(run.prompts.asked, QStringList{"warning:" + warning});
    QCOMPARE(run.prompts.listAtWarning, listed);
    QCOMPARE(run.texts(), listed);
    QStringList onDisk{fileText("X.MP1", x), fileText("Y.GAR", y)};
    if (nameTaken)
        onDisk.prepend(fileText("X.GLD", old));
    QCOMPARE(contents(mp()), onDisk);
    // X kept its name: the foot line counts it with the others (Y was converted by the
    // scan already when converting on locate).
    QCOMPARE(run.status.done,
             convertOnLocate ? QStringLiteral("Converted 0 of 1 file: 1 could not be renamed")
                             : QStringLiteral("Converted 1 of 2 files: 1 could not be renamed"));
}

// ---- Backup ----

void tst_FileCommands::backupStoresFolderWithNothingTicked() {
    write(QStringLiteral("A.GLD"));
    storeFolders();
    Run run(ini());
    run.scan();
    const QString chosen = dir_->filePath(QStringLiteral("chosen"));
    QVERIFY(QDir().mkpath(chosen));
    run.prompts.folderAnswers.push_back(chosen);
    run.commands.backUp();
    QCOMPARE(run.prompts.asked, (QStringList{"browse:Select backup location/folder|" + bu(),
                                             "message:Tick files to backup"}));
    QCOMPARE(run.store.readString(Paths, BackupFolder, QString()), chosen);
    QVERIFY(contents(chosen).isEmpty());
}

// A drive that is not plugged in must never replace the stored folder by accident, and a
// folder the command refuses (the masterpoint folder as the backup's) is never kept.
void tst_FileCommands::folderKeptOnlyWhenRemembered_data() {
    QTest::addColumn<bool>("backup");        // else Locate
    QTest::addColumn<bool>("storedMissing"); // the stored folder is on a drive not there
    QTest::addColumn<bool>("chooseMp");      // the masterpoint folder chosen, else another
    QTest::addColumn<bool>("remember");      // the check box as the user leaves it
    QTest::addColumn<bool>("kept");
    QTest::newRow("backup, drive out, another folder") << true << true << false << false << false;
    QTest::newRow("backup, drive out, another folder remembered")
        << true << true << false << true << true;
    QTest::newRow("backup into the masterpoint folder, remembered")
        << true << false << true << true << false;
    QTest::newRow("locate, drive out, another folder") << false << true << false << false << false;
    QTest::newRow("locate, drive out, another folder remembered")
        << false << true << false << true << true;
}

void tst_FileCommands::folderKeptOnlyWhenRemembered() {
    QFETCH(bool, backup);
    QFETCH(bool, storedMissing);
    QFETCH(bool, chooseMp);
    QFETCH(bool, remember);
    QFETCH(bool, kept);
    write(QStringLiteral("A.GLD"));
    storeFolders();
    Run run(ini());
    run.scan();
    run.tickAll();
    const QString key = backup ? BackupFolder : MasterpointFolder;
    if (storedMissing)
        run.store.writeString(Paths, key, dir_->filePath(QStringLiteral("stick/folder")));
    const QString stored = run.store.readString(Paths, key, QString());
    const QString other = dir_->filePath(QStringLiteral("other"));
    QVERIFY(QDir().mkpath(other));
    testfiles::write(other, QStringLiteral("B.GLD"), kValid);
    const QString chosen = chooseMp ? mp() : other;
    run.prompts.folderAnswers.push_back(chosen);
    run.prompts.rememberAnswers.push_back(remember);
    const QString thrown = thrownText<mp::Error>(
        [&] { backup ? run.commands.backUp() : run.commands.locate(Question::Ask); });
    QCOMPARE(thrown == "nothing thrown", !chooseMp);
    QCOMPARE(run.store.readString(Paths, key, QString()), kept ? chosen : stored);
    // Used for this command all the same.
    if (backup && !chooseMp)
        QVERIFY(QFile::exists(in(other, QStringLiteral("A.GLD"))));
    if (!backup)
        QCOMPARE(run.texts(), QStringList{"B.GLD"});
}

// Three ticked files; Y.GLD, in the middle, meets trouble: the others are copied and
// whatever went wrong is said once, after them all.
void tst_FileCommands::backupSaysWhatIsNotSafe_data() {
    QTest::addColumn<QByteArray>("alreadyThere"); // bu/Y.GLD before the backup
    QTest::addColumn<bool>("refused");            // creating bu/Y.GLD fails
    QTest::addColumn<bool>("zGone");              // Z.GLD deleted since the scan
    QTest::addColumn<QString>("warning");
    QTest::addColumn<QStringList>("backedUp");
    // The foot line, "BU" for the folder: every ticked file accounted for, the failed too.
    QTest::addColumn<QString>("done");
    const QStringList all{"X.MP3", "Y.GLD", "Z.GLD"};
    const QString refusal = QStringLiteral("Could not back up Y.GLD: permission denied");
    QTest::newRow("all copied") << QByteArray() << false << false << QString() << all
                                << "Backed up 3 files to BU";
    QTest::newRow("same copy there") << records(2, 2) << false << false << QString() << all
                                     << "Backed up 2 files to BU, 1 already there";
    QTest::newRow("other copy there, kept beside")
        << QByteArray("old copy") << false << false << QString()
        << QStringList{"X.MP3", "Y (2).GLD", "Y.GLD", "Z.GLD"}
        << "Backed up 3 files to BU, 1 beside an older, different copy (Y (2).GLD)";
    QTest::newRow("copy refused") << QByteArray() << true << false << refusal
                                  << QStringList{"X.MP3", "Z.GLD"}
                                  << "Backed up 2 of 3 files to BU: 1 could not be copied";
    QTest::newRow("copy refused, another gone since the scan")
        << QByteArray() << true << true
        << refusal + "\nCould not back up Z.GLD: no such file or directory" << QStringList{"X.MP3"}
        << "Backed up 1 of 3 files to BU: 2 could not be copied";
}

void tst_FileCommands::backupSaysWhatIsNotSafe() {
    QFETCH(QByteArray, alreadyThere);
    QFETCH(bool, refused);
    QFETCH(bool, zGone);
    QFETCH(QString, warning);
    QFETCH(QStringList, backedUp);
    QFETCH(QString, done);
    const QStringList names{"X.MP3", "Y.GLD", "Z.GLD"};
    for (int i = 0; i < 3; ++i)
        write(names[i], records(i + 1, i + 1));
    const QDateTime longAgo(QDate(2001, 2, 3), QTime(4, 5, 6));
    {
        QFile source(in(mp(), "X.MP3"));
        QVERIFY(source.open(QIODevice::ReadWrite));
        QVERIFY(source.setFileTime(longAgo, QFileDevice::FileModificationTime));
    }
    if (!alreadyThere.isNull())
        testfiles::write(bu(), QStringLiteral("Y.GLD"), alreadyThere);
    storeFolders();
    Run run(ini());
    run.scan();
    run.tickAll();
    if (refused)
        run.disk.failOn(Call::CreateNew, std::errc::permission_denied, 0, "Y.GLD");
    if (zGone)
        QVERIFY(QFile::remove(in(mp(), "Z.GLD")));
    const QStringList source = contents(mp());
    run.prompts.folderAnswers.push_back(bu());
    run.commands.backUp();

    QStringList asked{"browse:Select backup location/folder|" + bu()};
    if (!warning.isEmpty())
        asked << "warning:" + warning;
    QCOMPARE(run.prompts.asked, asked);
    QStringList expected;
    for (const QString& name : backedUp) {
        const int i = name == QLatin1String("Y (2).GLD") ? 1 : int(names.indexOf(name));
        const bool kept = name == QLatin1String("Y.GLD") && !alreadyThere.isNull();
        expected << fileText(name, kept ? alreadyThere : records(i + 1, i + 1));
    }
    QCOMPARE(contents(bu()), expected);
    QCOMPARE(run.status.done, QString(done).replace(QStringLiteral("BU"), bu()));
    QCOMPARE(contents(mp()), source);
    QCOMPARE(QFileInfo(in(bu(), "X.MP3")).lastModified(), longAgo);
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
}

// ---- Merge ----

void tst_FileCommands::mergeProposesClubNameAndCancelWritesNothing_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<int>("club");
    QTest::addColumn<QString>("proposed");
    QTest::newRow("numbered extension") << QStringList{"X.mp2", "Y.MP2"} << 612 << "Club612.MP2";
    QTest::newRow("colour extension") << QStringList{"X.GLD", "Y.GLD"} << 0 << "Club0.GLD";
    QTest::newRow("lower-case colour") << QStringList{"x.gar", "y.gar"} << 7 << "Club7.gar";
}

void tst_FileCommands::mergeProposesClubNameAndCancelWritesNothing() {
    QFETCH(QStringList, files);
    QFETCH(int, club);
    QFETCH(QString, proposed);
    for (const QString& name : files)
        write(name);
    storeFolders();
    SettingsStore(ini()).writeInteger(Paths, ClubNumber, club);
    Run run(ini());
    run.scan();
    run.tickAll();
    const QStringList before = contents(mp());
    run.commands.merge(); // cancelled
    QCOMPARE(run.prompts.asked, QStringList{"save:" + in(mp(), proposed)});
    QCOMPARE(contents(mp()), before);
}

void tst_FileCommands::mergeWritesCrLfLines() {
    const QByteArray x = "1111111000100\r\nB\r\n", y = "2222222000200\nD\rE";
    write(QStringLiteral("X.MP1"), x);
    write(QStringLiteral("Y.MP1"), y);
    storeFolders();
    SettingsStore(ini()).writeInteger(Paths, ClubNumber, 1234);
    Run run(ini());
    run.scan();
    run.tickAll();
    const QString output = in(mp(), QStringLiteral("merged.txt"));
    run.prompts.saveAnswers.push_back(output);
    run.prompts.proceedAnswers.push_back(true);
    run.commands.merge();
    QCOMPARE(run.prompts.asked.size(), 2);
    QCOMPARE(run.prompts.asked[0], "save:" + in(mp(), "Club1234.MP1"));
    QVERIFY(run.prompts.asked[1].startsWith("proceed:Merge anyway|"));
    QCOMPARE(contents(mp()), (QStringList{
                                 fileText("X.MP1", x),
                                 fileText("Y.MP1", y),
                                 fileText("merged.txt", x + "2222222000200\r\nD\r\nE\r\n"),
                             }));
    QCOMPARE(run.texts(), (QStringList{"X.MP1(GLD)", "Y.MP1(GLD)"}));   // no rescan
    QCOMPARE(run.viewers.log, QStringList{QStringLiteral("closeAll")}); // the scan's only
}

void tst_FileCommands::mergeMissingInputThrowsAndWritesNothing() {
    write(QStringLiteral("X.GLD"));
    write(QStringLiteral("Y.GLD"));
    write(QStringLiteral("out.GLD"), "keep me");
    storeFolders();
    Run run(ini());
    run.scan();
    run.tick(QStringLiteral("X.GLD"));
    run.tick(QStringLiteral("Y.GLD"));
    QVERIFY(QFile::remove(in(mp(), "Y.GLD")));
    run.prompts.saveAnswers.push_back(in(mp(), "out.GLD"));
    run.prompts.yesNoAnswers.push_back(true); // replace out.GLD
    QCOMPARE(thrownText<mp::Error>([&] { run.commands.merge(); }),
             "Cannot open file " + in(mp(), "Y.GLD"));
    QCOMPARE(contents(mp()),
             (QStringList{fileText("X.GLD", kValid), fileText("out.GLD", "keep me")}));
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
}

// The output name is asked for until it is new, or the user agrees to replace the file
// there: No goes back to the save dialog at the name chosen, and nothing is written
// until the answer is Yes or the name new.
void tst_FileCommands::mergeAsksBeforeReplacing_data() {
    QTest::addColumn<QStringList>("names");   // chosen in the save dialog, in turn
    QTest::addColumn<QList<bool>>("answers"); // to "... already exists"
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QString>("written"); // the file that holds the merge, or none
    const QString replace =
        QStringLiteral("question:%1 already exists. Do you want to replace it?");
    QTest::newRow("new name asks nothing") << QStringList{"new.GLD"} << QList<bool>{}
                                           << QStringList{"save:<mp>/Club0.GLD"} << "new.GLD";
    QTest::newRow("other file, yes")
        << QStringList{"old.GLD"} << QList<bool>{true}
        << QStringList{"save:<mp>/Club0.GLD", replace.arg("old.GLD")} << "old.GLD";
    QTest::newRow("other file, no, then cancel")
        << QStringList{"old.GLD"} << QList<bool>{false}
        << QStringList{"save:<mp>/Club0.GLD", replace.arg("old.GLD"), "save:<mp>/old.GLD"}
        << QString();
    QTest::newRow("other file, no, then a new name")
        << QStringList{"old.GLD", "new.GLD"} << QList<bool>{false}
        << QStringList{"save:<mp>/Club0.GLD", replace.arg("old.GLD"), "save:<mp>/old.GLD"}
        << "new.GLD";
    QTest::newRow("an input, no twice, then yes")
        << QStringList{"X.GLD", "X.GLD", "X.GLD"} << QList<bool>{false, false, true}
        << QStringList{"save:<mp>/Club0.GLD", replace.arg("X.GLD"), "save:<mp>/X.GLD",
                       replace.arg("X.GLD"),  "save:<mp>/X.GLD",    replace.arg("X.GLD")}
        << "X.GLD";
}

void tst_FileCommands::mergeAsksBeforeReplacing() {
    QFETCH(QStringList, names);
    QFETCH(QList<bool>, answers);
    QFETCH(QStringList, asked);
    QFETCH(QString, written);
    const QByteArray x = records(1, 1), y = records(2, 2), old = "last month\r\n";
    write(QStringLiteral("X.GLD"), x);
    write(QStringLiteral("Y.GLD"), y);
    write(QStringLiteral("old.GLD"), old);
    storeFolders();
    Run run(ini());
    run.scan();
    run.tickAll();
    for (const QString& name : names)
        run.prompts.saveAnswers.push_back(in(mp(), name));
    run.prompts.yesNoAnswers.assign(answers.begin(), answers.end());
    run.commands.merge();
    QCOMPARE(run.prompts.asked, asked.replaceInStrings(QStringLiteral("<mp>"), mp()));
    QStringList expected{fileText("X.GLD", x), fileText("Y.GLD", y), fileText("old.GLD", old)};
    if (!written.isEmpty()) {
        expected.removeIf([&](const QString& file) { return file.startsWith(written + "="); });
        expected << fileText(written, x + y);
    }
    QCOMPARE(contents(mp()), sorted(expected));
}

// ---- View ----

// Names that differ only in letter case are two files, each with its own viewer; a
// colour extension in lower case still picks its layout; an unticked file is left
// alone. Viewing again brings the viewers forward as they are, without reading.
void tst_FileCommands::viewOpensTickedByExactNameAndRaisesWithoutReading() {
    write(QStringLiteral("CLUB.GLD"), records(1));
    write(QStringLiteral("club.gld"), records(3));
    write(QStringLiteral("club.gar"), records(2));
    write(QStringLiteral("LEFT.GLD"));
    storeFolders();
    Run run(ini());
    run.scan();
    QCOMPARE(run.texts(), (QStringList{"club.gar", "CLUB.GLD", "club.gld", "LEFT.GLD"}));
    for (const char* text : {"CLUB.GLD", "club.gld", "club.gar"})
        run.tick(QLatin1String(text));
    run.commands.view();
    const QStringList opened{shown("club.gar", "club.gar", 2, true),
                             shown("CLUB.GLD", "CLUB.GLD", 1, false),
                             shown("club.gld", "club.gld", 3, false)};
    QCOMPARE(run.viewers.showing, opened);
    for (const char* name : {"CLUB.GLD", "club.gld", "club.gar"})
        QVERIFY(QFile::remove(in(mp(), QLatin1String(name))));
    run.commands.view();
    QVERIFY(run.prompts.asked.isEmpty());
    QCOMPARE(run.viewers.showing, opened);
    QCOMPARE(run.viewers.log.mid(4),
             (QStringList{"raise:club.gar", "raise:CLUB.GLD", "raise:club.gld"}));
}

// One file gone since the scan kept the files after it from their viewers.
void tst_FileCommands::viewGoesOnPastAMissingFile() {
    for (const char* name : {"A.GLD", "B.GLD", "C.GLD"})
        write(QLatin1String(name));
    storeFolders();
    Run run(ini());
    run.scan();
    run.tickAll();
    QVERIFY(QFile::remove(in(mp(), "B.GLD")));
    run.commands.view();
    QCOMPARE(run.prompts.asked, QStringList{"warning:Cannot open file " + in(mp(), "B.GLD") +
                                            ": no such file or directory"});
    QCOMPARE(run.viewers.showing,
             (QStringList{shown("A.GLD", "A.GLD", 1, false), shown("C.GLD", "C.GLD", 1, false)}));
}

// ---- Paths ----

void tst_FileCommands::editPathsOkStoresTheThree_data() {
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QString>("masterpoint");
    QTest::addColumn<QString>("backup");
    QTest::addColumn<int>("club");
    QTest::newRow("unchanged, nothing stored") << false << QString() << QString() << 0;
    QTest::newRow("new values") << true << "/new/mp"
                                << " spaced " << 612;
    QTest::newRow("folders cleared") << true << QString() << QString() << 5;
}

void tst_FileCommands::editPathsOkStoresTheThree() {
    QFETCH(bool, stored);
    QFETCH(QString, masterpoint);
    QFETCH(QString, backup);
    QFETCH(int, club);
    if (stored)
        storeFolders();
    Run run(ini());
    run.prompts.pathsAnswers.push_back(PathSettings{masterpoint, backup, club});
    run.commands.editPaths();
    QCOMPARE(run.prompts.asked, QStringList{stored ? "paths:" + mp() + "|" + bu() + "|0"
                                                   : QStringLiteral("paths:||0")});
    QSettings raw(ini(), QSettings::IniFormat);
    QCOMPARE(raw.value(QStringLiteral("paths/Quillet")), QVariant(masterpoint));
    QCOMPARE(raw.value(QStringLiteral("paths/backup")), QVariant(backup));
    QCOMPARE(raw.value(QStringLiteral("paths/ClubNo")), QVariant(QString::number(club)));
}

// A store that cannot be written: the failure ends the command for the caller to show.
void tst_FileCommands::editPathsStoreFailureThrows() {
    testfiles::write(dir_->path(), QStringLiteral("blocked"), "a file, not a folder");
    Run run(dir_->filePath(QStringLiteral("blocked/settings.ini")));
    run.prompts.pathsAnswers.push_back(PathSettings{mp(), bu(), 99});
    QCOMPARE(thrownText<StoreError>([&] { run.commands.editPaths(); }),
             QStringLiteral("Failed to create key paths"));
    QCOMPARE(run.prompts.asked, QStringList{QStringLiteral("paths:||0")});
}

// The masterpoint folder changes once the list is made, in the Paths dialog or in
// another copy of the program, to a folder holding files of the same names: the
// commands still act on the files the user saw listed, Convert lists their folder again,
// and only Locate lists the new one. The option to convert on locate is on, so that a
// rescan of the new folder would rename its files.
void tst_FileCommands::commandsActOnTheListedFolder_data() {
    QTest::addColumn<Command>("command");
    QTest::addColumn<bool>("inPaths"); // else another copy stores the folder
    // What was asked, viewed and totalled, the list, the note on its folder, and the
    // files of the listed folder and of the backup folder after the command, and of the
    // new folder when they changed; <mp> and <new> stand for the two masterpoint
    // folders, <bu> for the backup folder.
    QTest::addColumn<QStringList>("outcome");
    const QByteArray x = records(1, 1), y = records(2, 2);
    const QStringList listed{"list:X.MP1(GLD)", "list:Y.MP1(GLD)"};
    const QString note = QStringLiteral("note:The list shows <mp>;\nthe masterpoint folder is now "
                                        "<new>:\nchoose Locate to list it");
    const QStringList filesThere{"mp:" + fileText("X.MP1", x), "mp:" + fileText("Y.MP1", y)};
    QTest::newRow("view") << Command::View << true
                          << QStringList{shown("X.MP1", "X.MP1(GLD)", 1, false),
                                         shown("Y.MP1", "Y.MP1(GLD)", 2, false)} +
                                 listed + QStringList{note} + filesThere;
    QTest::newRow("convert, rescan of the listed folder")
        << Command::Convert << false
        << QStringList{"list:X.GLD", "list:Y.GLD", note, "mp:" + fileText("X.GLD", x),
                       "mp:" + fileText("Y.GLD", y)};
    QTest::newRow("merge, proposed in the listed folder")
        << Command::Merge << true
        << QStringList{"save:<mp>/Club0.MP1"} + listed +
               QStringList{note, "mp:" + fileText("Club0.MP1", x + y)} + filesThere;
    QTest::newRow("backup") << Command::BackUp << false
                            << QStringList{"browse:Select backup location/folder|<bu>"} + listed +
                                   QStringList{note} + filesThere +
                                   QStringList{"bu:" + fileText("X.MP1", x),
                                               "bu:" + fileText("Y.MP1", y)};
    QTest::newRow("totals") << Command::Totals << true
                            << QStringList{"totals:X.MP1(GLD) 1 records",
                                           "totals:Y.MP1(GLD) 2 records"} +
                                   listed + QStringList{note} + filesThere;
    QTest::newRow("locate lists the new folder")
        << Command::Locate << false
        << QStringList{"browse:Browser for masterpoint files|<new>", "list:X.GLD", "list:Y.GLD"} +
               filesThere +
               QStringList{"new:" + fileText("X.GLD", records(3, 3)),
                           "new:" + fileText("Y.GLD", records(4, 4))};
}

void tst_FileCommands::commandsActOnTheListedFolder() {
    QFETCH(Command, command);
    QFETCH(bool, inPaths);
    QFETCH(QStringList, outcome);
    const QString other = dir_->filePath(QStringLiteral("new"));
    QVERIFY(QDir().mkpath(other));
    write(QStringLiteral("X.MP1"), records(1, 1));
    write(QStringLiteral("Y.MP1"), records(2, 2));
    testfiles::write(other, QStringLiteral("X.MP1"), records(3, 3));
    testfiles::write(other, QStringLiteral("Y.MP1"), records(4, 4));
    const QStringList untouched = contents(other);
    storeFolders();
    Run run(ini());
    run.scan();
    run.tickAll();
    run.commands.setConvertOnLocate(true);
    QCOMPARE(run.commands.listFolderNote(), QString());
    if (inPaths) {
        run.prompts.pathsAnswers.push_back(PathSettings{other, bu(), 0});
        run.commands.editPaths();
    } else {
        SettingsStore(ini()).writeString(Paths, MasterpointFolder, other);
    }
    run.prompts.asked.clear();
    run.prompts.folderAnswers.push_back(command == Command::Locate ? other : bu());
    run.prompts.saveAnswers.push_back(in(mp(), QStringLiteral("Club0.MP1")));
    perform(run.commands, command);

    QStringList happened = run.prompts.asked + run.viewers.showing + run.totals.shown;
    for (const QString& text : run.texts())
        happened << "list:" + text;
    if (!run.commands.listFolderNote().isEmpty())
        happened << "note:" + run.commands.listFolderNote();
    for (const QString& file : contents(mp()))
        happened << "mp:" + file;
    for (const QString& file : contents(bu()))
        happened << "bu:" + file;
    if (contents(other) != untouched)
        for (const QString& file : contents(other))
            happened << "new:" + file;
    QCOMPARE(happened, outcome.replaceInStrings(QStringLiteral("<mp>"), mp())
                           .replaceInStrings(QStringLiteral("<new>"), other)
                           .replaceInStrings(QStringLiteral("<bu>"), bu()));
    // Storing another folder closes nothing: only a scan does.
    const bool scans = command == Command::Convert || command == Command::Locate;
    QCOMPARE(run.viewers.log.count(QStringLiteral("closeAll")), scans ? 2 : 1);
}

// Entries were bound to the folder's path, not the folder: another stick at the same
// mount point, whose X.MP1 is no masterpoint file, was converted, merged and backed up.
// Now the folder is the one listed and each ticked file still valid, or nothing is done.
void tst_FileCommands::commandsRefuseWhatIsNoLongerAsListed_data() {
    QTest::addColumn<Command>("command");
    QTest::addColumn<bool>("otherFolder"); // else the same folder, X.MP1 rewritten
    for (const Command command :
         {Command::Convert, Command::View, Command::BackUp, Command::Merge, Command::Totals}) {
        QTest::addRow("another folder, %d", int(command)) << command << true;
        QTest::addRow("file rewritten, %d", int(command)) << command << false;
    }
}

void tst_FileCommands::commandsRefuseWhatIsNoLongerAsListed() {
    QFETCH(Command, command);
    QFETCH(bool, otherFolder);
    write(QStringLiteral("X.MP1"), records(2, 1));
    write(QStringLiteral("Y.MP1"), records(2, 5)); // a merge needs two
    storeFolders();
    Run run(ini());
    run.scan();
    run.tickAll();
    if (otherFolder) {
        QVERIFY(QDir().rename(mp(), mp() + QStringLiteral(" first")));
        QVERIFY(QDir().mkpath(mp()));
    }
    // In another folder X.MP1 is valid, so that only the folder tells.
    write(QStringLiteral("X.MP1"), otherFolder ? records(3, 9) : "not a masterpoint file\r\n");
    const QStringList before = contents(mp());
    run.prompts.folderAnswers.push_back(bu());
    perform(run.commands, command);
    const QString said = otherFolder ? QStringLiteral("The folder %1 is not the folder that was "
                                                      "listed: another drive may be in its "
                                                      "place. Nothing was done; choose Locate "
                                                      "to list it again.")
                                           .arg(mp())
                                     : QStringLiteral("No longer a masterpoint file: X.MP1. "
                                                      "Nothing was done; choose Locate to list "
                                                      "the folder again.");
    QCOMPARE(run.prompts.asked, QStringList{"warning:" + said});
    QCOMPARE(contents(mp()), before);
    QCOMPARE(contents(bu()) + run.viewers.showing, QStringList());
}

QTEST_MAIN(tst_FileCommands)
#include "tst_filecommands.moc"
