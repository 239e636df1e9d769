// The main window as a user meets it: start-up, options, layout and geometry, Close,
// About, the keys, the error box and the status line, with commands driven through the
// window's own buttons and keys.

#include "app/ApplicationTitle.h"
#include "app/MainWindow.h"
#include "dialogs/ErrorText.h"
#include "settings/SettingsNames.h"
#include "settings/SettingsStore.h"
#include "support/FaultyFileSystem.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"
#include "viewer/TotalField.h"
#include "viewer/ViewerGrid.h"
#include "viewer/ViewerWindow.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace SettingsNames;

namespace {

// Also notes whether the main window was on the screen when each question came.
class WatchingPrompts : public ScriptedPrompts {
public:
    QWidget* window = nullptr;
    QList<bool> shownWhenAsked;

    std::optional<FolderChoice> browseForFolder(const QString& title, const QString& start,
                                                bool remember) override {
        shownWhenAsked << (window && window->isVisible());
        return ScriptedPrompts::browseForFolder(title, start, remember);
    }
    void showWarning(const QString& text) override {
        shownWhenAsked << (window && window->isVisible());
        ScriptedPrompts::showWarning(text);
    }
};

} // namespace

class tst_MainWindow : public QObject {
    Q_OBJECT

private slots:
    void init();

    void startUpShowsTheWindowFirst_data();
    void startUpShowsTheWindowFirst();
    void noScanWhenLocateOnOpenIsOff();
    void optionsPersistAcrossRuns();
    void unreadableOptionReportedOnce();
    void controlsNamedAndCaptioned_data();
    void controlsNamedAndCaptioned();
    void tabOrderFollowsCreationOrder();
    void accessKeysRunTheirCommands_data();
    void accessKeysRunTheirCommands();
    void listTakesTheWidthTheWindowGains();
    void fitsTheScreenAtALargeFont();
    void geometryRestoredFromTheStore_data();
    void geometryRestoredFromTheStore();
    void geometryKeptAcrossRuns();
    void viewersCascadeApartOnTheScreen();
    void closeWithViewersOpen();
    void aboutAsksForTheAboutBox();
    void caseTwinsViewInTwoWindows();
    void failedBackupSaidOnceAfterTheRest();
    void statusLineSaysWhatWasDone_data();
    void statusLineSaysWhatWasDone();
    void statusBarSaysWhichFolderTheListShows_data();
    void statusBarSaysWhichFolderTheListShows();
    void errorBoxSaysWhyAFileFailed_data();
    void errorBoxSaysWhyAFileFailed();
    void errorBoxText_data();
    void errorBoxText();
    void applicationTitle_data();
    void applicationTitle();
    void escapedErrorReachesErrorBox();

private:
    template <typename T> static T* child(const MainWindow& window, const char* name) {
        T* found = window.findChild<T*>(QLatin1String(name));
        if (!found)
            qWarning("no child %s", name);
        return found;
    }
    static QListView* list(const MainWindow& window) {
        return child<QListView>(window, "fileList");
    }
    static QPushButton* button(const MainWindow& window, const char* name) {
        return child<QPushButton>(window, name);
    }
    static QAction* action(const MainWindow& window, const char* name) {
        return child<QAction>(window, name);
    }
    static QString status(const MainWindow& window) {
        return child<QLabel>(window, "statusText")->text();
    }
    // Ticks a row as a user does from the keyboard: the row made current, then Space.
    static void tick(MainWindow& window, int row) {
        QListView* files = list(window);
        files->setFocus();
        files->setCurrentIndex(files->model()->index(row, 0));
        QTest::keyClick(files, Qt::Key_Space);
    }
    static int rows(const MainWindow& window) { return list(window)->model()->rowCount(); }
    static QList<ViewerWindow*> shownViewers(const MainWindow& window) {
        QList<ViewerWindow*> shown;
        for (ViewerWindow* viewer : window.findChildren<ViewerWindow*>())
            if (viewer->isVisible())
                shown << viewer;
        return shown;
    }
    void storeFolders(const QString& backup = QString()) {
        SettingsStore store(ini());
        store.writeString(Paths, MasterpointFolder, mpFolder());
        if (!backup.isEmpty())
            store.writeString(Paths, BackupFolder, backup);
    }
    // The window as the program makes it, with the start-up step run.
    std::unique_ptr<MainWindow> open(Prompts& prompts,
                                     mp::FileSystem& fileSystem = mp::FileSystem::system()) {
        auto window = std::make_unique<MainWindow>(prompts, *store_, fileSystem);
        window->startUp();
        return window;
    }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<SettingsStore> store_;
    QString ini() const { return dir_->filePath(QStringLiteral("settings.ini")); }
    QString mpFolder() const { return dir_->filePath(QStringLiteral("mp")); }
};

void tst_MainWindow::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    QVERIFY(QDir().mkpath(mpFolder()));
    store_ = std::make_unique<SettingsStore>(ini());
}

// The window is on the screen before the start-up scan asks or warns anything, and a
// folder that cannot be read does not keep it from opening.
void tst_MainWindow::startUpShowsTheWindowFirst_data() {
    QTest::addColumn<QString>("folder"); // stored; "<mp>" for the test's folder
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<int>("listed");
    QTest::newRow("first start") << QString()
                                 << QStringList{"browse:Browser for masterpoint files|"} << 0;
    QTest::newRow("folder stored") << "<mp>" << QStringList{} << 1;
    QTest::newRow("folder gone")
        << "<mp>/gone"
        << QStringList{"warning:Cannot read the masterpoint folder <mp>/gone: no such file or "
                       "directory"}
        << 0;
}

void tst_MainWindow::startUpShowsTheWindowFirst() {
    QFETCH(QString, folder);
    QFETCH(QStringList, asked);
    QFETCH(int, listed);
    testfiles::write(mpFolder(), QStringLiteral("A.GLD"), "1234567001250\r\n");
    if (!folder.isEmpty())
        store_->writeString(Paths, MasterpointFolder, folder.replace("<mp>", mpFolder()));
    WatchingPrompts prompts; // cancels the folder question
    MainWindow window(prompts, *store_);
    prompts.window = &window;
    QSignalSpy startedUp(&window, &MainWindow::startedUp);
    window.showAndStartUp();
    QVERIFY(prompts.asked.isEmpty()); // nothing before the event loop has shown the window
    QVERIFY(startedUp.wait());
    QCOMPARE(prompts.asked, asked.replaceInStrings("<mp>", mpFolder()));
    QCOMPARE(prompts.shownWhenAsked, QList<bool>(asked.size(), true));
    QCOMPARE(rows(window), listed);
    QVERIFY(window.isVisible());
    QVERIFY(action(window, "locateOnOpenAction")->isChecked());
    QVERIFY(!action(window, "convertOnLocateAction")->isChecked());
    if (folder.isEmpty())
        QCOMPARE(store_->readString(Paths, MasterpointFolder, QStringLiteral("none")),
                 QStringLiteral("none"));
}

void tst_MainWindow::noScanWhenLocateOnOpenIsOff() {
    testfiles::write(mpFolder(), QStringLiteral("A.GLD"), "1234567001250\r\n");
    store_->writeString(Paths, MasterpointFolder, mpFolder());
    store_->writeBool(Options, LocateOnOpen, false);
    ScriptedPrompts prompts;
    auto window = open(prompts);
    QVERIFY(!action(*window, "locateOnOpenAction")->isChecked());
    QCOMPARE(rows(*window), 0);
    QVERIFY(prompts.asked.isEmpty());
}

void tst_MainWindow::optionsPersistAcrossRuns() {
    {
        ScriptedPrompts prompts;
        auto window = open(prompts);
        window->show();
        // Chosen from the menu as a user would: the item inverts its mark.
        action(*window, "locateOnOpenAction")->trigger();
        action(*window, "convertOnLocateAction")->trigger();
        QVERIFY(!action(*window, "locateOnOpenAction")->isChecked());
        QVERIFY(action(*window, "convertOnLocateAction")->isChecked());
        QVERIFY(store_->readBool(Options, LocateOnOpen, true)); // nothing stored yet
        action(*window, "closeAction")->trigger();
        QVERIFY(!window->isVisible());
        // Stored as the window closes, while it could still show an error.
        QVERIFY(!store_->readBool(Options, LocateOnOpen, true));
    }
    QSettings raw(ini(), QSettings::IniFormat);
    QCOMPARE(raw.value(QStringLiteral("Options/LocateOnOpen")).toString(), QStringLiteral("0"));
    QCOMPARE(raw.value(QStringLiteral("Options/Convertextensions")).toString(),
             QStringLiteral("1"));

    ScriptedPrompts prompts;
    auto window = open(prompts);
    QVERIFY(!action(*window, "locateOnOpenAction")->isChecked());
    QVERIFY(action(*window, "convertOnLocateAction")->isChecked());
    QVERIFY(prompts.asked.isEmpty()); // no start-up scan
}

void tst_MainWindow::unreadableOptionReportedOnce() {
    testfiles::writeRawSettings(ini(), "[Options]\nLocateOnOpen=@ByteArray(1)\n"
                                       "Convertextensions=1\n");
    ScriptedPrompts prompts;
    {
        auto window = open(prompts);
        QCOMPARE(prompts.errors(),
                 QStringList{QStringLiteral("Invalid data type for 'LocateOnOpen'")});
        // The items not yet read keep their design state and the scan is skipped.
        QVERIFY(!action(*window, "locateOnOpenAction")->isChecked());
        QVERIFY(!action(*window, "convertOnLocateAction")->isChecked());
        QCOMPARE(prompts.asked.size(), 1);
        // The program runs on: a command still works.
        button(*window, "viewButton")->click();
        QCOMPARE(prompts.messages(), QStringList{QStringLiteral("Select file(s) to view")});
        window->close();
    }
    // Closing stores both options as text again.
    QCOMPARE(store_->readBool(Options, LocateOnOpen, true), false);
    QCOMPARE(store_->readBool(Options, ConvertExtensions, true), false);
}

void tst_MainWindow::controlsNamedAndCaptioned_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Locate button") << "locateButton"
                                   << "&Locate";
    QTest::newRow("View button") << "viewButton"
                                 << "&View";
    QTest::newRow("Backup button") << "backUpButton"
                                   << "&Backup";
    QTest::newRow("Close button") << "closeButton"
                                  << "&Close";
    QTest::newRow("Merge button") << "mergeButton"
                                  << "&Merge";
    QTest::newRow("Convert button") << "convertButton"
                                    << "Conv&ert";
    QTest::newRow("Locate item") << "locateAction"
                                 << "&Locate";
    QTest::newRow("View item") << "viewAction"
                               << "&View";
    QTest::newRow("Backup item") << "backUpAction"
                                 << "&Backup";
    QTest::newRow("Merge item") << "mergeAction"
                                << "&Merge";
    QTest::newRow("Close item") << "closeAction"
                                << "&Close";
    QTest::newRow("Convert item") << "convertAction"
                                  << "Conv&ert extentions";
    QTest::newRow("Locate on open") << "locateOnOpenAction"
                                    << "&Locate on open";
    QTest::newRow("Convert on locate") << "convertOnLocateAction"
                                       << "&Convert extensions on locate";
    QTest::newRow("Paths item") << "pathsAction"
                                << "&Paths";
    QTest::newRow("About item") << "aboutAction"
                                << "&About";
}

void tst_MainWindow::controlsNamedAndCaptioned() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    ScriptedPrompts prompts;
    MainWindow window(prompts, *store_);
    QCOMPARE(window.windowTitle(), QStringLiteral("Masterpoint file manager"));
    if (auto* found = window.findChild<QPushButton*>(name)) {
        QCOMPARE(found->text(), caption);
        QCOMPARE(found->accessibleName(), QString(caption).remove(QLatin1Char('&')));
        QVERIFY(!found->isDefault());
    } else {
        auto* item = window.findChild<QAction*>(name);
        QVERIFY2(item, qPrintable(name));
        QCOMPARE(item->text(), caption);
    }
}

void tst_MainWindow::tabOrderFollowsCreationOrder() {
    ScriptedPrompts prompts;
    MainWindow window(prompts, *store_);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    list(window)->setFocus();
    const QList<QWidget*> expected{button(window, "viewButton"),
                                   button(window, "backUpButton"),
                                   button(window, "closeButton"),
                                   button(window, "locateButton"),
                                   button(window, "mergeButton"),
                                   button(window, "convertButton"),
                                   list(window)};
    for (QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
}

// Each command's access key runs that command and no other (the list is empty, so each
// says what it needs).
void tst_MainWindow::accessKeysRunTheirCommands_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("asked");
    QTest::newRow("Alt+L") << int(Qt::Key_L) << "browse:Browser for masterpoint files|";
    QTest::newRow("Alt+E") << int(Qt::Key_E) << "message:Select files to convert";
    QTest::newRow("Alt+V") << int(Qt::Key_V) << "message:Select file(s) to view";
    QTest::newRow("Alt+B") << int(Qt::Key_B) << "message:Select files to backup";
    QTest::newRow("Alt+M") << int(Qt::Key_M) << "message:Select files to merge";
}

void tst_MainWindow::accessKeysRunTheirCommands() {
    QFETCH(int, key);
    QFETCH(QString, asked);
    ScriptedPrompts prompts;
    MainWindow window(prompts, *store_);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    list(window)->setFocus();
    QTest::keyClick(&window, Qt::Key(key), Qt::AltModifier);
    QTRY_COMPARE(prompts.asked, QStringList{asked});
}

// Wider, the window gives the list all it gains, and the buttons stay one column at the
// right edge; it cannot be made smaller than its design size.
void tst_MainWindow::listTakesTheWidthTheWindowGains() {
    ScriptedPrompts prompts;
    MainWindow window(prompts, *store_);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QPushButton* locate = button(window, "locateButton");
    QPushButton* closeButton = button(window, "closeButton");
    const int listWidth = list(window)->width();
    const int rightGap = window.centralWidget()->width() - locate->geometry().right();
    const QSize buttonSize = locate->size();

    window.resize(window.width() + 200, window.height() + 100);
    QTRY_COMPARE(list(window)->width(), listWidth + 200);
    QCOMPARE(window.centralWidget()->width() - locate->geometry().right(), rightGap);
    QCOMPARE(locate->size(), buttonSize);
    QCOMPARE(closeButton->x(), locate->x());
    QVERIFY(closeButton->y() > locate->y());
    QVERIFY(locate->x() > list(window)->geometry().right());
    QCOMPARE(list(window)->height(), window.centralWidget()->height());

    window.resize(200, 200); // below the minimum
    QVERIFY(window.width() >= 350 && window.height() >= 450);
}

// With a large desktop font the least size the window may take still fits on the screen
// (here 800 x 800; 13 points at a scale of 2 leaves 640 x 512), so that no part of it is
// out of reach.
void tst_MainWindow::fitsTheScreenAtALargeFont() {
    const QFont before = QApplication::font();
    QFont large = before;
    large.setPointSize(13);
    QApplication::setFont(large);
    ScriptedPrompts prompts;
    MainWindow window(prompts, *store_);
    QApplication::setFont(before);
    const QSize area = window.screen()->availableGeometry().size();
    QVERIFY2(window.minimumWidth() <= area.width() && window.minimumHeight() <= area.height(),
             qPrintable(QStringLiteral("%1 x %2 on %3 x %4")
                            .arg(window.minimumWidth())
                            .arg(window.minimumHeight())
                            .arg(area.width())
                            .arg(area.height())));
}

// The window comes back where it was stored, clamped to a screen that exists, or at its
// design place and size when nothing usable is stored. Sizes are its design size (which
// the font scales) plus what the row says.
void tst_MainWindow::geometryRestoredFromTheStore_data() {
    QTest::addColumn<QString>("stored"); // %1 %2: the design width and height plus 100, 80
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<QSize>("larger"); // than the design size
    QTest::newRow("nothing stored") << QString() << QPoint(336, 134) << QSize(0, 0);
    QTest::newRow("stored") << "40 50 %1 %2" << QPoint(40, 50) << QSize(100, 80);
    QTest::newRow("unreadable") << "40 50 wide" << QPoint(336, 134) << QSize(0, 0);
    QTest::newRow("smaller than the design") << "40 50 100 100" << QPoint(40, 50) << QSize(0, 0);
    QTest::newRow("off every screen") << "-9000 9000 %1 %2" << QPoint() << QSize(100, 80);
}

void tst_MainWindow::geometryRestoredFromTheStore() {
    QFETCH(QString, stored);
    QFETCH(QPoint, position);
    QFETCH(QSize, larger);
    store_->writeBool(Options, LocateOnOpen, false);
    ScriptedPrompts prompts;
    MainWindow window(prompts, *store_);
    const QSize designed = window.size();
    if (!stored.isEmpty())
        store_->writeString(QStringLiteral("Windows"), QStringLiteral("MainWindow"),
                            stored.arg(designed.width() + 100).arg(designed.height() + 80));
    window.showAndStartUp();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.size(), designed + larger);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    if (position.isNull())
        QVERIFY(screen.contains(window.pos())); // where the user can reach its title bar
    else
        QCOMPARE(window.pos(), position);
}

// Moved and resized, the window is there again at the next start.
void tst_MainWindow::geometryKeptAcrossRuns() {
    store_->writeBool(Options, LocateOnOpen, false);
    const QPoint place =
        QGuiApplication::primaryScreen()->availableGeometry().topLeft() + QPoint(30, 20);
    ScriptedPrompts prompts;
    QSize size;
    {
        MainWindow window(prompts, *store_);
        window.showAndStartUp();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        size = window.size() + QSize(60, 40);
        window.resize(size);
        window.move(place);
        QTRY_COMPARE(window.size(), size);
        window.close();
    }
    MainWindow window(prompts, *store_);
    window.showAndStartUp();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.size(), size);
    QCOMPARE(window.pos(), place);
    QVERIFY(prompts.asked.isEmpty());
}

void tst_MainWindow::closeWithViewersOpen() {
    testfiles::write(mpFolder(), QStringLiteral("A.GLD"), "1234567001250\r\n");
    testfiles::write(mpFolder(), QStringLiteral("B.GAR"), "1234567001250000300\r\n");
    storeFolders();
    ScriptedPrompts prompts;
    QPointer<ViewerWindow> first, second;
    {
        auto window = open(prompts);
        window->show();
        QCOMPARE(rows(*window), 2);
        for (int row = 0; row < 2; ++row)
            tick(*window, row);
        button(*window, "viewButton")->click();
        const QList<ViewerWindow*> viewers = window->findChildren<ViewerWindow*>();
        QCOMPARE(viewers.size(), 2);
        first = viewers[0];
        second = viewers[1];
        second->close(); // one hidden, one shown
        QCOMPARE(shownViewers(*window), QList<ViewerWindow*>{first.data()});
        button(*window, "closeButton")->click(); // Close asks nothing
        QVERIFY(!window->isVisible());
        QVERIFY(prompts.messages().isEmpty());
        QVERIFY(shownViewers(*window).isEmpty());
    }
    QVERIFY(first.isNull());
    QVERIFY(second.isNull());
}

void tst_MainWindow::aboutAsksForTheAboutBox() {
    ScriptedPrompts prompts;
    auto window = open(prompts);
    prompts.asked.clear(); // the start-up question for a folder
    action(*window, "aboutAction")->trigger();
    QCOMPARE(prompts.asked, QStringList{QStringLiteral("about")});
}

void tst_MainWindow::caseTwinsViewInTwoWindows() {
    // Two files whose names differ only in case are two files here: each gets its own
    // window with its own records.
    testfiles::write(mpFolder(), QStringLiteral("CLUB.GLD"), "1234567001250\r\n");
    testfiles::write(mpFolder(), QStringLiteral("club.gld"), "1234567000100\r\n7654321000200\r\n");
    storeFolders();
    ScriptedPrompts prompts;
    auto window = open(prompts);
    window->show();
    QCOMPARE(rows(*window), 2);
    tick(*window, 0);
    tick(*window, 1);
    button(*window, "viewButton")->click();
    button(*window, "viewButton")->click(); // again: the same two windows come forward
    QVERIFY(prompts.asked.isEmpty());

    const QList<ViewerWindow*> viewers = window->findChildren<ViewerWindow*>();
    QCOMPARE(viewers.size(), 2);
    QMap<QString, QString> totals; // caption -> first total as shown
    for (ViewerWindow* viewer : viewers) {
        QVERIFY(viewer->isVisible());
        totals[viewer->windowTitle()] =
            viewer->findChild<TotalField*>("firstTotal")->text().trimmed();
    }
    const QString point = QLocale::system().decimalPoint();
    QCOMPARE(totals.value(QStringLiteral("CLUB.GLD")), QStringLiteral("12") + point + "50");
    QCOMPARE(totals.value(QStringLiteral("club.gld")), QStringLiteral("3") + point + "00");
}

void tst_MainWindow::failedBackupSaidOnceAfterTheRest() {
    const QString backup = dir_->filePath(QStringLiteral("bu"));
    QVERIFY(QDir().mkpath(backup));
    testfiles::write(mpFolder(), QStringLiteral("A.GLD"), "1234567001250\r\n");
    testfiles::write(mpFolder(), QStringLiteral("B.GLD"), "1234567000100\r\n");
    testfiles::write(mpFolder(), QStringLiteral("C.GLD"), "1234567000200\r\n");
    storeFolders(backup);
    // The backup folder takes no new file named B.GLD, as a full or read-only one would
    // take none: the other two are still copied, and the user hears of B once.
    FaultyFileSystem fileSystem;
    fileSystem.failOn(Call::CreateNew, std::errc::permission_denied, 0, "bu/B.GLD");
    ScriptedPrompts prompts;
    auto window = open(prompts, fileSystem);
    window->show();
    for (int row = 0; row < 3; ++row)
        tick(*window, row);
    prompts.folderAnswers = {backup};
    button(*window, "backUpButton")->click();

    QCOMPARE(prompts.warnings(),
             QStringList{QStringLiteral("Could not back up B.GLD: permission denied")});
    QVERIFY(prompts.messages().isEmpty());
    QCOMPARE(QDir(backup).entryList(QDir::Files),
             (QStringList{QStringLiteral("A.GLD"), QStringLiteral("C.GLD")}));
    QCOMPARE(testfiles::read(QDir(backup).filePath(QStringLiteral("C.GLD"))),
             QByteArray("1234567000200\r\n"));
    QCOMPARE(status(*window), "Backed up 2 of 3 files to " + backup + ": 1 could not be copied");
}

// After a command that did its work the status line says what was done, with numbers
// grouped as the locale groups them, until the next command; a command that did
// nothing leaves it empty.
void tst_MainWindow::statusLineSaysWhatWasDone_data() {
    QTest::addColumn<QString>("command"); // the button clicked
    QTest::addColumn<QStringList>("ticked");
    QTest::addColumn<QString>("said"); // <bu>, <mp>: the folders; <n>: 1,201 as grouped
    QTest::newRow("backup, one already there")
        << "backUpButton" << QStringList{"A.GLD", "B.GLD", "C.GLD", "D.MP1(GLD)"}
        << "Backed up 3 files to <bu>, 1 already there";
    QTest::newRow("backup of one file")
        << "backUpButton" << QStringList{"B.GLD"} << "Backed up 1 file to <bu>";
    QTest::newRow("backup, only copies already there")
        << "backUpButton" << QStringList{"A.GLD"} << "Backed up 0 files to <bu>, 1 already there";
    QTest::newRow("merge") << "mergeButton" << QStringList{"A.GLD", "B.GLD", "C.GLD"}
                           << "Merged 3 files (<n> lines) into Club612.GLD";
    QTest::newRow("convert") << "convertButton" << QStringList{"D.MP1(GLD)", "E.MP2(RED)"}
                             << "Converted 2 files";
    QTest::newRow("convert, nothing numbered ticked")
        << "convertButton" << QStringList{"A.GLD"} << QString();
    QTest::newRow("locate") << "locateButton" << QStringList{} << "5 masterpoint files in <mp>";
}

void tst_MainWindow::statusLineSaysWhatWasDone() {
    QFETCH(QString, command);
    QFETCH(QStringList, ticked);
    QFETCH(QString, said);
    const QString backup = dir_->filePath(QStringLiteral("bu"));
    QByteArray many;
    for (int i = 0; i < 1199; ++i)
        many += QByteArray::number(1000000 + i) + "000100\r\n";
    testfiles::write(mpFolder(), QStringLiteral("A.GLD"), "1234567001250\r\n");
    testfiles::write(mpFolder(), QStringLiteral("B.GLD"), many);
    testfiles::write(mpFolder(), QStringLiteral("C.GLD"), "1234567000200");
    testfiles::write(mpFolder(), QStringLiteral("D.MP1"), "1234567000300\r\n");
    testfiles::write(mpFolder(), QStringLiteral("E.MP2"), "1234567000400\r\n");
    QVERIFY(QDir().mkpath(backup));
    testfiles::write(backup, QStringLiteral("A.GLD"), "1234567001250\r\n"); // the same
    storeFolders(backup);
    store_->writeInteger(Paths, ClubNumber, 612);
    ScriptedPrompts prompts;
    auto window = open(prompts);
    window->show();
    const QStringList listed{"A.GLD", "B.GLD", "C.GLD", "D.MP1(GLD)", "E.MP2(RED)"};
    for (int row = 0; row < rows(*window); ++row) {
        QCOMPARE(list(*window)->model()->index(row, 0).data().toString(), listed.at(row));
        if (ticked.contains(listed.at(row)))
            tick(*window, row);
    }
    QVERIFY(!status(*window).isEmpty()); // the start-up scan's count
    prompts.folderAnswers = {command == "locateButton" ? mpFolder() : backup};
    prompts.saveAnswers = {QDir(mpFolder()).filePath(QStringLiteral("Club612.GLD"))};
    button(*window, qPrintable(command))->click();
    QVERIFY2(prompts.warnings().isEmpty() && prompts.errors().isEmpty(),
             qPrintable(prompts.asked.join('\n')));
    QCOMPARE(status(*window), said.replace("<bu>", backup)
                                  .replace("<mp>", mpFolder())
                                  .replace("<n>", QLocale().toString(1201)));
    button(*window, "viewButton")->click(); // the next command
    QCOMPARE(status(*window), QString());
}

// Once the masterpoint folder stored is no longer the one listed, the status bar says
// so below the line of the last command, whoever changed it: the Paths dialog, or
// another copy of the program, seen when the user comes back to the window. It goes
// once the list shows the stored folder again.
void tst_MainWindow::statusBarSaysWhichFolderTheListShows_data() {
    QTest::addColumn<QString>("how");    // "paths", "another copy", "paths, then locate"
    QTest::addColumn<QString>("stored"); // <mp>, <new>: the two folders
    QTest::addColumn<QString>("note");
    const QString moved = QStringLiteral(
        "The list shows <mp>;\nthe masterpoint folder is now <new>:\nchoose Locate to list it");
    QTest::newRow("paths, another folder") << "paths"
                                           << "<new>" << moved;
    QTest::newRow("paths, the same folder with a separator") << "paths"
                                                             << "<mp>/" << QString();
    QTest::newRow("paths, folder cleared")
        << "paths" << QString()
        << "The list shows <mp>;\nno masterpoint folder is set now:\nchoose Locate to choose one";
    QTest::newRow("another copy, another folder") << "another copy"
                                                  << "<new>" << moved;
    QTest::newRow("paths, then locate") << "paths, then locate"
                                        << "<new>" << QString();
}

void tst_MainWindow::statusBarSaysWhichFolderTheListShows() {
    QFETCH(QString, how);
    QFETCH(QString, stored);
    QFETCH(QString, note);
    const QString other = dir_->filePath(QStringLiteral("new"));
    QVERIFY(QDir().mkpath(other));
    testfiles::write(mpFolder(), QStringLiteral("A.GLD"), "1234567001250\r\n");
    storeFolders();
    stored.replace("<mp>", mpFolder()).replace("<new>", other);
    note.replace("<mp>", mpFolder()).replace("<new>", other);
    ScriptedPrompts prompts;
    auto window = open(prompts);
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    auto* shown = child<QLabel>(*window, "listFolderNote");
    QVERIFY(!shown->isVisible());
    if (how == "another copy") {
        QWidget elsewhere; // the other copy's window, where the folder is changed
        elsewhere.show();
        elsewhere.activateWindow();
        QTRY_VERIFY(!window->isActiveWindow());
        SettingsStore(ini()).writeString(Paths, MasterpointFolder, stored);
        QVERIFY(!shown->isVisible()); // nothing polls meanwhile
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    } else {
        prompts.pathsAnswers.push_back(PathSettings{stored, QString(), 0});
        action(*window, "pathsAction")->trigger();
    }
    if (how == "paths, then locate") {
        prompts.folderAnswers.push_back(other);
        button(*window, "locateButton")->click();
    }
    QCOMPARE(shown->isVisible(), !note.isEmpty());
    QCOMPARE(shown->text(), note);
    QCOMPARE(rows(*window), how == "paths, then locate" ? 0 : 1);
}

// The error box's first line is the program's own, the second the system's reason.
void tst_MainWindow::errorBoxSaysWhyAFileFailed_data() {
    QTest::addColumn<bool>("deleted"); // else the file cannot be opened
    QTest::addColumn<QString>("reason");
    QTest::newRow("deleted since the scan") << true << "No such file or directory";
    QTest::newRow("not to be opened") << false << "Permission denied";
}

void tst_MainWindow::errorBoxSaysWhyAFileFailed() {
    QFETCH(bool, deleted);
    QFETCH(QString, reason);
    testfiles::write(mpFolder(), QStringLiteral("A.GLD"), "1234567001250\r\n");
    testfiles::write(mpFolder(), QStringLiteral("B.GLD"), "1234568001250\r\n");
    storeFolders();
    FaultyFileSystem fileSystem;
    ScriptedPrompts prompts;
    auto window = open(prompts, fileSystem);
    window->show();
    tick(*window, 0);
    tick(*window, 1);
    const QString path = QDir(mpFolder()).filePath(QStringLiteral("A.GLD"));
    if (deleted)
        QVERIFY(QFile::remove(path));
    else
        fileSystem.failOn(Call::OpenForReading, std::errc::permission_denied);
    prompts.saveAnswers = {QDir(mpFolder()).filePath(QStringLiteral("out.GLD"))};
    button(*window, "mergeButton")->click();
    QCOMPARE(prompts.errors(), QStringList{"Cannot open file " + path + ".\n" + reason});
}

void tst_MainWindow::errorBoxText_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("shown");
    QTest::newRow("ends in a letter") << "Failed to create key paths"
                                      << ""
                                      << "Failed to create key paths.";
    QTest::newRow("ends in a digit") << "Cannot open file /mp/X.MP1"
                                     << ""
                                     << "Cannot open file /mp/X.MP1.";
    QTest::newRow("ends in a quote") << "Invalid data type for 'ClubNo'"
                                     << ""
                                     << "Invalid data type for 'ClubNo'";
    QTest::newRow("ends in a full stop") << "Disk full."
                                         << ""
                                         << "Disk full.";
    QTest::newRow("ends in a bracket") << "Cannot open file X.MP1(GLD)"
                                       << ""
                                       << "Cannot open file X.MP1(GLD)";
    QTest::newRow("ends in an exclamation") << "Stop!"
                                            << ""
                                            << "Stop!";
    QTest::newRow("ends in a slash") << "Cannot open file /"
                                     << ""
                                     << "Cannot open file /.";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
    QTest::newRow("with a reason") << "Cannot create file /mp/Club1.GLD"
                                   << "Permission denied"
                                   << "Cannot create file /mp/Club1.GLD.\nPermission denied";
    QTest::newRow("bracket, with a reason") << "Cannot open file X.MP1(GLD)"
                                            << "Is a directory"
                                            << "Cannot open file X.MP1(GLD)\nIs a directory";
}

void tst_MainWindow::errorBoxText() {
    QFETCH(QString, message);
    QFETCH(QString, reason);
    QFETCH(QString, shown);
    QCOMPARE(::errorBoxText(message, reason), shown);
}

void tst_MainWindow::applicationTitle_data() {
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QString>("title");
    QTest::newRow("plain") << "mpmgr"
                           << "Mpmgr";
    QTest::newRow("with extension") << "MPMGR.EXE"
                                    << "Mpmgr";
    QTest::newRow("several dots") << "mp.mgr.exe"
                                  << "Mp";
}

void tst_MainWindow::applicationTitle() {
    QFETCH(QString, executable);
    QFETCH(QString, title);
    QCOMPARE(applicationTitleOf(executable), title);
}

void tst_MainWindow::escapedErrorReachesErrorBox() {
    ScriptedPrompts prompts;
    auto window = open(prompts);
    prompts.asked.clear();
    int runs = 0;
    window->guarded([&] {
        ++runs;
        throw std::runtime_error("Failed to set data for 'ClubNo'");
    });
    QCOMPARE(runs, 1);
    QCOMPARE(prompts.errors(), QStringList{QStringLiteral("Failed to set data for 'ClubNo'")});
    // The window goes on working.
    button(*window, "viewButton")->click();
    QCOMPARE(prompts.messages(), QStringList{QStringLiteral("Select file(s) to view")});
}

// Twenty files viewed at once open twenty viewers that the user can tell apart and
// reach: none exactly over another (the window system stacks them in one place), each
// wholly on the screen, and none over the file list while the screen has room beside
// the main window (here it stands at the left edge).
void tst_MainWindow::viewersCascadeApartOnTheScreen() {
    for (int i = 0; i < 20; ++i)
        testfiles::write(mpFolder(), QStringLiteral("CLUB%1.GLD").arg(i, 2, 10, QLatin1Char('0')),
                         "1234567001250\r\n");
    storeFolders();
    const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
    store_->writeString(QStringLiteral("Windows"), QStringLiteral("MainWindow"),
                        QStringLiteral("%1 %2 10 10").arg(free.left()).arg(free.top()));
    ScriptedPrompts prompts;
    MainWindow window(prompts, *store_);
    QSignalSpy started(&window, &MainWindow::startedUp);
    window.showAndStartUp();
    QTRY_COMPARE(started.count(), 1);
    for (int row = 0; row < 20; ++row)
        tick(window, row);
    QTest::mouseClick(button(window, "viewButton"), Qt::LeftButton);
    const QList<ViewerWindow*> viewers = shownViewers(window);
    QCOMPARE(viewers.size(), 20);
    const QRect fileList(list(window)->mapToGlobal(QPoint(0, 0)), list(window)->size());
    QSet<QPair<int, int>> places;
    for (ViewerWindow* viewer : viewers) {
        QVERIFY(QTest::qWaitForWindowExposed(viewer));
        const QRect frame = viewer->frameGeometry();
        places.insert({frame.x(), frame.y()});
        QVERIFY2(free.contains(frame), qPrintable(viewer->windowTitle()));
        QVERIFY2(!frame.intersects(fileList), qPrintable(viewer->windowTitle()));
    }
    QCOMPARE(places.size(), 20);
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
