// The file commands as a user drives them from the main window: Locate, Convert,
// Backup, Merge and View, with the questions they ask and what lands on disk.

#include "app/MainWindow.h"
#include "settings/SettingsNames.h"
#include "settings/SettingsStore.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"
#include "viewer/TotalField.h"
#include "viewer/ViewerGrid.h"
#include "viewer/ViewerWindow.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace SettingsNames;

namespace {
const QByteArray kValid = "1234567001250\r\n";
}

class tst_MainWindowCommands : public QObject {
    Q_OBJECT

private slots:
    void init();

    void startUpScanWithStoredFolderAsksNothing();
    void locateFromButtonOrMenuAsks_data();
    void locateFromButtonOrMenuAsks();
    void locateCancelChangesNothing();
    void locateStoresChosenFolderAtOnce();
    void scanListsValidFiles_data();
    void scanListsValidFiles();
    void scanOfDeletedFolderEmptiesList();

    void convertMessages();
    void convertRenamesTickedAndRescans();
    void convertNeverReplacesExistingFile();

    void backupMessagesAndCancel();
    void backupCopiesWithoutReplacing();

    void mergeRefusals_data();
    void mergeRefusals();
    void mergeWritesCrLfLines();
    void mergeCancelWritesNothing();
    void mergeMissingInputReportsAndWritesNothing();

    void viewNothingTicked();
    void viewBuildsLayouts();
    void viewTwiceReusesWindow();
    void viewClosedViewerOfDeletedFile();
    void viewSecondMissingKeepsFirst();
    void rescanClosesViewers();

    void typicalRun();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString ini() const { return dir_->filePath(QStringLiteral("settings.ini")); }
    QString mp() const { return dir_->filePath(QStringLiteral("mp")); }
    QString bu() const { return dir_->filePath(QStringLiteral("bu")); }
    void store(const QString& name, const QString& value) {
        SettingsStore(ini()).writeString(Paths, name, value);
    }
    void storeOption(const QString& name, bool value) {
        SettingsStore(ini()).writeBool(Options, name, value);
    }
    static QStringList texts(const MainWindow& window);
    static void tick(MainWindow& window, const QString& text);
    static QString file(const QString& folder, const QString& name) {
        return QDir(folder).filePath(name);
    }
};

QStringList tst_MainWindowCommands::texts(const MainWindow& window) {
    QStringList out;
    for (int row = 0; row < window.fileList()->count(); ++row)
        out << window.fileList()->item(row)->text();
    return out;
}

void tst_MainWindowCommands::tick(MainWindow& window, const QString& text) {
    const QList<QListWidgetItem*> items = window.fileList()->findItems(text, Qt::MatchExactly);
    QVERIFY2(!items.isEmpty(), qPrintable(text));
    for (QListWidgetItem* item : items)
        item->setCheckState(Qt::Checked);
}

static QStringList sorted(QStringList list) {
    list.sort();
    return list;
}

void tst_MainWindowCommands::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    QVERIFY(QDir().mkpath(mp()));
    QVERIFY(QDir().mkpath(bu()));
}

// ---- Locate ----

void tst_MainWindowCommands::startUpScanWithStoredFolderAsksNothing() {
    testfiles::write(mp(), QStringLiteral("A.GLD"), kValid);
    store(MasterpointFolder, mp());
    ScriptedPrompts prompts;
    MainWindow window(prompts, ini());
    QVERIFY(prompts.asked.isEmpty());
    QCOMPARE(texts(window), QStringList{QStringLiteral("A.GLD")});
    QCOMPARE(window.fileList()->item(0)->checkState(), Qt::Unchecked);
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
}

void tst_MainWindowCommands::locateFromButtonOrMenuAsks_data() {
    QTest::addColumn<bool>("fromMenu");
    QTest::newRow("button") << false;
    QTest::newRow("menu item") << true;
}

void tst_MainWindowCommands::locateFromButtonOrMenuAsks() {
    QFETCH(bool, fromMenu);
    testfiles::write(mp(), QStringLiteral("A.GLD"), kValid);
    store(MasterpointFolder, mp());
    ScriptedPrompts prompts;
    MainWindow window(prompts, ini());
    prompts.folderAnswers.push_back(mp());
    if (fromMenu)
        window.locateAction()->trigger();
    else
        QTest::mouseClick(window.locateButton(), Qt::LeftButton);
    QCOMPARE(prompts.asked, QStringList{"browse:Browser for masterpoint files|" + mp()});
    QCOMPARE(texts(window), QStringList{QStringLiteral("A.GLD")});
}

void tst_MainWindowCommands::locateCancelChangesNothing() {
    testfiles::write(mp(), QStringLiteral("A.GLD"), kValid);
    testfiles::write(mp(), QStringLiteral("B.GLD"), kValid);
    store(MasterpointFolder, mp());
    ScriptedPrompts prompts;
    MainWindow window(prompts, ini());
    window.show();
    tick(window, QStringLiteral("A.GLD"));
    window.viewButton()->click();
    QCOMPARE(window.openViewers().count(), 1);
    testfiles::write(mp(), QStringLiteral("C.GLD"), kValid);

    window.locateButton()->click(); // cancelled
    QCOMPARE(sorted(texts(window)), (QStringList{"A.GLD", "B.GLD"}));
    QCOMPARE(window.fileList()->findItems("A.GLD", Qt::MatchExactly)[0]->checkState(), Qt::Checked);
    QCOMPARE(window.openViewers().count(), 1);
    QCOMPARE(SettingsStore(ini()).readString(Paths, MasterpointFolder, QString()), mp());
}

void tst_MainWindowCommands::locateStoresChosenFolderAtOnce() {
    const QString other = dir_->filePath(QStringLiteral("other"));
    QVERIFY(QDir().mkpath(other));
    testfiles::write(other, QStringLiteral("club.mp2"), kValid);
    storeOption(LocateOnOpen, false);
    ScriptedPrompts prompts;
    MainWindow window(prompts, ini());
    prompts.folderAnswers.push_back(other);
    window.locateButton()->click();
    QCOMPARE(SettingsStore(ini()).readString(Paths, MasterpointFolder, QString()), other);
    QCOMPARE(texts(window), QStringList{QStringLiteral("club.MP2(RED)")});
}

void tst_MainWindowCommands::scanListsValidFiles_data() {
    QTest::addColumn<bool>("convert");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QStringList>("onDisk");
    QTest::newRow("option off") << false << QStringList{"A.MP1(GLD)", "B.GLD", "e.MP3(GRN)"}
                                << QStringList{"A.MP1", "B.GLD", "C.TXT", "D.MP2", "e.mp3"};
    QTest::newRow("option on") << true << QStringList{"A.GLD", "B.GLD", "e.GRN"}
                               << QStringList{"A.GLD", "B.GLD", "C.TXT", "D.MP2", "e.GRN"};
}

void tst_MainWindowCommands::scanListsValidFiles() {
    QFETCH(bool, convert);
    QFETCH(QStringList, listed);
    QFETCH(QStringList, onDisk);
    testfiles::write(mp(), QStringLiteral("A.MP1"), kValid);
    testfiles::write(mp(), QStringLiteral("B.GLD"), kValid);
    testfiles::write(mp(), QStringLiteral("C.TXT"), kValid);
    testfiles::write(mp(), QStringLiteral("D.MP2"), "12345678901");
    testfiles::write(mp(), QStringLiteral("e.mp3"), kValid);
    store(MasterpointFolder, mp());
    storeOption(ConvertExtensions, convert);
    ScriptedPrompts prompts;
    MainWindow window(prompts, ini());
    QCOMPARE(window.convertOnLocateAction()->isChecked(), convert);
    QCOMPARE(sorted(texts(window)), listed);
    QCOMPARE(sorted(QDir(mp()).entryList(QDir::Files)), onDisk);
    QVERIFY(prompts.asked.isEmpty());
}

void tst_MainWindowCommands::scanOfDeletedFolderEmptiesList() {
    testfiles::write(mp(), QStringLiteral("A.GLD"), kValid);
    store(MasterpointFolder, mp());
    ScriptedPrompts prompts;
    MainWindow window(prompts, ini());
    tick(window, QStringLiteral("A.GLD"));
    window.viewButton()->click();
    QCOMPARE(window.openViewers().count(), 1);
    QVERIFY(QDir(mp()).removeRecursively());
    prompts.folderAnswers.push_back(mp());
    window.locateButton()->click();
    QCOMPARE(window.fileList()->count(), 0);
    QCOMPARE(window.openViewers().count(), 0);
    QCOMPARE(prompts.messages(), QStringList());
    QCOMPARE(prompts.errors(), QStringList());
}

// ---- Convert ----

void tst_MainWindowCommands::convertMessages() {
    storeOption(LocateOnOpen, false);
    ScriptedPrompts prompts;
    {
        MainWindow window(prompts, ini());
        window.convertButton()->click();
        QCOMPARE(prompts.asked, QStringList{"message:Select files to convert"});
    }
    testfiles::write(mp(), QStringLiteral("CLUB0612.GLD"), kValid);
    testfiles::write(mp(), QStringLiteral("X.MP1"), kValid);
    store(MasterpointFolder, mp());
    storeOption(LocateOnOpen, true);
    prompts.asked.clear();
    MainWindow window(prompts, ini());
    tick(window, QStringLiteral("CLUB0612.GLD"));
    window.convertAction()->trigger();
    QCOMPARE(prompts.asked, QStringList{"message:Tick files to convert"});
    // The list and its ticks stay as they were.
    QCOMPARE(window.fileList()->findItems("CLUB0612.GLD", Qt::MatchExactly)[0]->checkState(),
             Qt::Checked);
    QVERIFY(QFile::exists(file(mp(), "X.MP1")));
}

void tst_MainWindowCommands::convertRenamesTickedAndRescans() {
    testfiles::write(mp(), QStringLiteral("X.MP1"), kValid);
    testfiles::write(mp(), QStringLiteral("Y.MP4"), "1234567001250000300\r\n");
    testfiles::write(mp(), QStringLiteral("Z.MP5"), kValid);
    store(MasterpointFolder, mp());
    ScriptedPrompts prompts;
    MainWindow window(prompts, ini());
    tick(window, QStringLiteral("X.MP1(GLD)"));
    window.viewButton()->click();
    QCOMPARE(window.openViewers().count(), 1);
    tick(window, QStringLiteral("Y.MP4(GAR)"));
    window.convertButton()->click();
    QVERIFY(prompts.asked.isEmpty()); // no dialog for the rescan, no message
    QCOMPARE(sorted(QDir(mp()).entryList(QDir::Files)), (QStringList{"X.GLD", "Y.GAR", "Z.MP5"}));
    QCOMPARE(sorted(texts(window)), (QStringList{"X.GLD", "Y.GAR", "Z.MP5(RAG)"}));
    QCOMPARE(window.openViewers().count(), 0);
    for (int row = 0; row < window.fileList()->count(); ++row)
        QCOMPARE(window.fileList()->item(row)->checkState(), Qt::Unchecked);
}

void tst_MainWindowCommands::convertNeverReplacesExistingFile() {
    testfiles::write(mp(), QStringLiteral("CLUB0612.MP1"), "1111111000100\r\n");
    testfiles::write(mp(), QStringLiteral("CLUB0612.GLD"), "2222222000200\r\n");
    store(MasterpointFolder, mp());
    ScriptedPrompts prompts;
    MainWindow window(prompts, ini());
    tick(window, QStringLiteral("CLUB0612.MP1(GLD)"));
    tick(window, QStringLiteral("CLUB0612.GLD"));
    window.convertButton()->click();
    QCOMPARE(testfiles::read(file(mp(), "CLUB0612.GLD")), QByteArray("2222222000200\r\n"));
    QCOMPARE(testfiles::read(file(mp(), "CLUB0612.MP1")), QByteArray("1111111000100\r\n"));
    QCOMPARE(sorted(texts(window)), (QStringList{"CLUB0612.GLD", "CLUB0612.MP1(GLD)"}));
    QVERIFY(prompts.asked.isEmpty());
}

// ---- Backup ----

void tst_MainWindowCommands::backupMessagesAndCancel() {
    storeOption(LocateOnOpen, false);
    ScriptedPrompts prompts;
    {
        MainWindow window(prompts, ini());
        window.backUpButton()->click();
        QCOMPARE(prompts.asked, QStringList{"message:Select files to backup"});
    }
    testfiles::write(mp(), QStringLiteral("A.GLD"), kValid);
    store(MasterpointFolder, mp());
    store(BackupFolder, bu());
    storeOption(LocateOnOpen, true);
    prompts.asked.clear();
    MainWindow window(prompts, ini());

    window.backUpAction()->trigger(); // cancelled
    QCOMPARE(prompts.asked, QStringList{"browse:Select backup location/folder|" + bu()});
    QCOMPARE(SettingsStore(ini()).readString(Paths, BackupFolder, QString()), bu());

    const QString chosen = dir_->filePath(QStringLiteral("chosen"));
    QVERIFY(QDir().mkpath(chosen));
    prompts.asked.clear();
    prompts.folderAnswers.push_back(chosen);
    window.backUpButton()->click(); // nothing ticked: the folder is stored all the same
    QCOMPARE(prompts.asked, (QStringList{"browse:Select backup location/folder|" + bu(),
                                         "message:Tick files to backup"}));
    QCOMPARE(SettingsStore(ini()).readString(Paths, BackupFolder, QString()), chosen);
    QVERIFY(QDir(chosen).entryList(QDir::Files).isEmpty());
}

void tst_MainWindowCommands::backupCopiesWithoutReplacing() {
    testfiles::write(mp(), QStringLiteral("X.MP3"), "1234567000300\r\n");
    testfiles::write(mp(), QStringLiteral("Y.GLD"), "1234567000400\r\n");
    testfiles::write(mp(), QStringLiteral("Z.GLD"), "1234567000500\r\n");
    testfiles::write(bu(), QStringLiteral("Y.GLD"), "old copy");
    store(MasterpointFolder, mp());
    ScriptedPrompts prompts;
    MainWindow window(prompts, ini());
    tick(window, QStringLiteral("X.MP3(GRN)"));
    tick(window, QStringLiteral("Y.GLD"));
    tick(window, QStringLiteral("Z.GLD"));
    QVERIFY(QFile::remove(file(mp(), "Z.GLD"))); // gone since the scan
    prompts.folderAnswers.push_back(bu());
    window.backUpButton()->click();
    QCOMPARE(prompts.asked, QStringList{"browse:Select backup location/folder|"});
    QCOMPARE(testfiles::read(file(bu(), "X.MP3")), QByteArray("1234567000300\r\n"));
    QCOMPARE(testfiles::read(file(bu(), "Y.GLD")), QByteArray("old copy"));
    QVERIFY(!QFile::exists(file(bu(), "Z.GLD")));
    QCOMPARE(QFileInfo(file(bu(), "X.MP3")).lastModified(),
             QFileInfo(file(mp(), "X.MP3")).lastModified());
}

// ---- Merge ----

void tst_MainWindowCommands::mergeRefusals_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("ticked");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty list") << QStringList() << QStringList() << "Select files to merge";
    QTest::newRow("converted and not")
        << QStringList{"X.GLD", "Y.MP1"} << QStringList{"X.GLD", "Y.MP1(GLD)"}
        << "All merged files must be of the same extension type";
    QTest::newRow("letter case differs")
        << QStringList{"X.GLD", "Y.gld"} << QStringList{"X.GLD", "Y.gld"}
        << "All merged files must be of the same extension type";
    QTest::newRow("one ticked") << QStringList{"X.GLD", "Y.GLD"} << QStringList{"X.GLD"}
                                << "More than one file must be ticked to merge";
    QTest::newRow("none ticked") << QStringList{"X.GLD"} << QStringList()
                                 << "More than one file must be ticked to merge";
}

void tst_MainWindowCommands::mergeRefusals() {
    QFETCH(QStringList, files);
    QFETCH(QStringList, ticked);
    QFETCH(QString, message);
    for (const QString& name : files)
        testfiles::write(mp(), name, kValid);
    store(MasterpointFolder, mp());
    ScriptedPrompts prompts;
    MainWindow window(prompts, ini());
    for (const QString& text : ticked)
        tick(window, text);
    window.mergeButton()->click();
    QCOMPARE(prompts.asked, QStringList{"message:" + message});
}

void tst_MainWindowCommands::mergeWritesCrLfLines() {
    testfiles::write(mp(), QStringLiteral("X.MP1"), "1111111000100\r\nB\r\n");
    testfiles::write(mp(), QStringLiteral("Y.MP1"), "2222222000200\nD");
    store(MasterpointFolder, mp());
    SettingsStore(ini()).writeInteger(Paths, ClubNumber, 1234);
    ScriptedPrompts prompts;
    MainWindow window(prompts, ini());
    tick(window, QStringLiteral("X.MP1(GLD)"));
    tick(window, QStringLiteral("Y.MP1(GLD)"));
    const QString output = file(mp(), "merged.txt");
    prompts.saveAnswers.push_back(output);
    window.mergeAction()->trigger();
    QCOMPARE(prompts.asked, QStringList{"save:" + file(mp(), "Club1234.MP1(GLD)")});
    // List order decides the order of the files' lines.
    const QByteArray x = "1111111000100\r\nB\r\n", y = "2222222000200\r\nD\r\n";
    const QByteArray merged = testfiles::read(output);
    const bool xFirst = window.fileList()->item(0)->text() == QLatin1String("X.MP1(GLD)");
    QCOMPARE(merged, xFirst ? x + y : y + x);
    QCOMPARE(window.fileList()->count(), 2); // the new file is not listed
}

void tst_MainWindowCommands::mergeCancelWritesNothing() {
    testfiles::write(mp(), QStringLiteral("X.GLD"), kValid);
    testfiles::write(mp(), QStringLiteral("Y.GLD"), kValid);
    store(MasterpointFolder, mp());
    ScriptedPrompts prompts;
    MainWindow window(prompts, ini());
    tick(window, QStringLiteral("X.GLD"));
    tick(window, QStringLiteral("Y.GLD"));
    window.mergeButton()->click();
    QCOMPARE(prompts.asked, QStringList{"save:" + file(mp(), "Club0.GLD")});
    QCOMPARE(sorted(QDir(mp()).entryList(QDir::Files)), (QStringList{"X.GLD", "Y.GLD"}));
}

void tst_MainWindowCommands::mergeMissingInputReportsAndWritesNothing() {
    testfiles::write(mp(), QStringLiteral("X.GLD"), kValid);
    testfiles::write(mp(), QStringLiteral("Y.GLD"), kValid);
    testfiles::write(mp(), QStringLiteral("out.GLD"), "keep me");
    store(MasterpointFolder, mp());
    ScriptedPrompts prompts;
    MainWindow window(prompts, ini());
    tick(window, QStringLiteral("X.GLD"));
    tick(window, QStringLiteral("Y.GLD"));
    QVERIFY(QFile::remove(file(mp(), "Y.GLD")));
    prompts.saveAnswers.push_back(file(mp(), "out.GLD"));
    window.mergeButton()->click();
    QCOMPARE(prompts.errors(), QStringList{"Cannot open file " + file(mp(), "Y.GLD") + "."});
    QCOMPARE(testfiles::read(file(mp(), "out.GLD")), QByteArray("keep me"));
}

// ---- View ----

void tst_MainWindowCommands::viewNothingTicked() {
    testfiles::write(mp(), QStringLiteral("A.GLD"), kValid);
    store(MasterpointFolder, mp());
    ScriptedPrompts prompts;
    MainWindow window(prompts, ini());
    window.viewAction()->trigger();
    QCOMPARE(prompts.asked, QStringList{"message:Select file(s) to view"});
    QCOMPARE(window.openViewers().count(), 0);
}

void tst_MainWindowCommands::viewBuildsLayouts() {
    testfiles::write(mp(), QStringLiteral("ONE.MP1"), "1234567001250\r\n7654321000075\r\n");
    testfiles::write(mp(), QStringLiteral("CLUB.MP4"), "1234567001250000300");
    testfiles::write(mp(), QStringLiteral("club.gar"), "1234567001250000300\r\n");
    store(MasterpointFolder, mp());
    ScriptedPrompts prompts;
    MainWindow window(prompts, ini());
    for (const char* text : {"ONE.MP1(GLD)", "CLUB.MP4(GAR)", "club.gar"})
        tick(window, QLatin1String(text));
    window.viewButton()->click();
    QVERIFY(prompts.asked.isEmpty());

    struct Expect {
        const char* key;
        int columns;
        int rows;
        const char* total1;
        bool total2Shown;
    };
    const Expect expected[] = {{"ONE.MP1(GLD)", 2, 2, "    13.25", false},
                               {"CLUB.MP4(GAR)", 3, 1, "    12.50", true},
                               {"club.gar", 3, 1, "    12.50", true}};
    for (const Expect& e : expected) {
        ViewerWindow* viewer = window.openViewers().find(QLatin1String(e.key));
        QVERIFY2(viewer, e.key);
        QCOMPARE(viewer->windowTitle(), QLatin1String(e.key));
        QVERIFY(viewer->isVisible());
        QAbstractItemModel* model = viewer->grid()->model();
        QCOMPARE(model->columnCount(), e.columns);
        QCOMPARE(model->rowCount(), e.rows);
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Kavra No."));
        QCOMPARE(model->data(model->index(0, 1)).toString(), QStringLiteral("0012.50"));
        QCOMPARE(viewer->firstTotal()->text(), QLatin1String(e.total1));
        QCOMPARE(viewer->secondTotal()->isVisible(), e.total2Shown);
        QCOMPARE(viewer->frameGeometry().width(), e.columns == 3 ? 333 : 233);
    }
    ViewerWindow* two = window.openViewers().find(QStringLiteral("club.gar"));
    QCOMPARE(two->secondTotal()->text(), QStringLiteral("     3.00"));
}

void tst_MainWindowCommands::viewTwiceReusesWindow() {
    testfiles::write(mp(), QStringLiteral("A.GLD"), kValid);
    store(MasterpointFolder, mp());
    ScriptedPrompts prompts;
    MainWindow window(prompts, ini());
    tick(window, QStringLiteral("A.GLD"));
    window.viewButton()->click();
    ViewerWindow* viewer = window.openViewers().find(QStringLiteral("a.gld"));
    QVERIFY(viewer);
    viewer->showMinimized();
    window.viewButton()->click();
    QCOMPARE(window.openViewers().count(), 1);
    QCOMPARE(window.findChildren<ViewerWindow*>().size(), 1);
    QVERIFY(viewer->isVisible());
    QVERIFY(!(viewer->windowState() & Qt::WindowMinimized));
}

void tst_MainWindowCommands::viewClosedViewerOfDeletedFile() {
    testfiles::write(mp(), QStringLiteral("A.GLD"), "1234567001250\r\n7654321000075\r\n");
    store(MasterpointFolder, mp());
    ScriptedPrompts prompts;
    MainWindow window(prompts, ini());
    tick(window, QStringLiteral("A.GLD"));
    window.viewButton()->click();
    ViewerWindow* viewer = window.openViewers().find(QStringLiteral("A.GLD"));
    QVERIFY(viewer);
    QTest::mouseClick(viewer->closeButton(), Qt::LeftButton); // "Close" hides it
    QVERIFY(!viewer->isVisible());
    QVERIFY(QFile::remove(file(mp(), "A.GLD")));
    window.viewButton()->click();
    QVERIFY(prompts.asked.isEmpty());
    QVERIFY(viewer->isVisible());
    QCOMPARE(viewer->grid()->model()->rowCount(), 2);
    QCOMPARE(viewer->firstTotal()->text(), QStringLiteral("    13.25"));
}

void tst_MainWindowCommands::viewSecondMissingKeepsFirst() {
    testfiles::write(mp(), QStringLiteral("A.GLD"), kValid);
    testfiles::write(mp(), QStringLiteral("B.GLD"), kValid);
    store(MasterpointFolder, mp());
    ScriptedPrompts prompts;
    MainWindow window(prompts, ini());
    tick(window, QStringLiteral("A.GLD"));
    tick(window, QStringLiteral("B.GLD"));
    const QString second = window.fileList()->item(1)->text();
    const QString first = window.fileList()->item(0)->text();
    QVERIFY(QFile::remove(file(mp(), second)));
    window.viewButton()->click();
    QCOMPARE(prompts.asked, QStringList{"error:Cannot open file " + file(mp(), second) + "."});
    QVERIFY(window.openViewers().find(first));
    QVERIFY(!window.openViewers().find(second));
    QCOMPARE(window.openViewers().count(), 1);
}

void tst_MainWindowCommands::rescanClosesViewers() {
    for (const char* name : {"A.GLD", "B.GLD", "C.GLD"})
        testfiles::write(mp(), QLatin1String(name), kValid);
    store(MasterpointFolder, mp());
    ScriptedPrompts prompts;
    MainWindow window(prompts, ini());
    for (const char* name : {"A.GLD", "B.GLD", "C.GLD"})
        tick(window, QLatin1String(name));
    window.viewButton()->click();
    QList<QPointer<ViewerWindow>> viewers;
    for (ViewerWindow* viewer : window.findChildren<ViewerWindow*>())
        viewers << viewer;
    QCOMPARE(viewers.size(), 3);
    prompts.folderAnswers.push_back(mp());
    window.locateButton()->click();
    QCOMPARE(window.openViewers().count(), 0);
    for (const QPointer<ViewerWindow>& viewer : viewers)
        QTRY_VERIFY(viewer.isNull());
}

// From start-up to the merged file, as the scorer would do it.
void tst_MainWindowCommands::typicalRun() {
    testfiles::write(mp(), QStringLiteral("CLUB0612.GLD"), "1234567001250\r\n");
    testfiles::write(mp(), QStringLiteral("CLUB0613.MP1"), "7654321000075\r\n");
    store(MasterpointFolder, mp());
    SettingsStore(ini()).writeInteger(Paths, ClubNumber, 42);
    ScriptedPrompts prompts;
    MainWindow window(prompts, ini());
    window.show();
    QCOMPARE(sorted(texts(window)), (QStringList{"CLUB0612.GLD", "CLUB0613.MP1(GLD)"}));

    tick(window, QStringLiteral("CLUB0612.GLD"));
    tick(window, QStringLiteral("CLUB0613.MP1(GLD)"));
    window.viewButton()->click();
    QCOMPARE(window.openViewers().count(), 2);

    window.mergeButton()->click();
    QCOMPARE(prompts.messages(),
             QStringList{"All merged files must be of the same extension type"});

    window.convertButton()->click();
    QCOMPARE(window.openViewers().count(), 0);
    QCOMPARE(sorted(texts(window)), (QStringList{"CLUB0612.GLD", "CLUB0613.GLD"}));

    tick(window, QStringLiteral("CLUB0612.GLD"));
    tick(window, QStringLiteral("CLUB0613.GLD"));
    const QString proposed = file(mp(), "Club42.GLD");
    prompts.saveAnswers.push_back(proposed);
    window.mergeButton()->click();
    QCOMPARE(prompts.asked.last(), "save:" + proposed);
    const QByteArray merged = testfiles::read(proposed);
    QCOMPARE(merged.size(), 30);
    QVERIFY(merged.contains("1234567001250\r\n"));
    QVERIFY(merged.contains("7654321000075\r\n"));
}

QTEST_MAIN(tst_MainWindowCommands)
#include "tst_mainwindow_commands.moc"
