// The main window's creation, options, layout, Close, About and the error box, and
// commands as a user meets them in the window: ticking, the viewers they bring up and
// the message after a failure.

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
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace SettingsNames;

class tst_MainWindow : public QObject {
    Q_OBJECT

private slots:
    void init();

    void firstStartAsksForFolderAndOpensEmpty();
    void noScanWhenLocateOnOpenIsOff();
    void optionsPersistAcrossRuns();
    void unreadableOptionReportedOnce();
    void controlsNamedAndCaptioned_data();
    void controlsNamedAndCaptioned();
    void tabOrderFollowsCreationOrder();
    void minimumSizeAndButtonColumn();
    void closeWithViewersOpen();
    void aboutAsksForTheAboutBox();
    void caseTwinsViewInTwoWindows();
    void failedBackupSaidOnceAfterTheRest();
    void errorBoxFullStop_data();
    void errorBoxFullStop();
    void applicationTitle_data();
    void applicationTitle();
    void escapedErrorReachesErrorBox();

private:
    // Ticks a row as a user does from the keyboard: the row made current, then Space.
    static void tick(MainWindow& window, int row) {
        QListView* list = window.fileList();
        list->setFocus();
        list->setCurrentIndex(list->model()->index(row, 0));
        QTest::keyClick(list, Qt::Key_Space);
    }
    static int rows(const MainWindow& window) { return window.fileList()->model()->rowCount(); }
    void storeFolders(const QString& backup = QString()) {
        SettingsStore store(ini());
        store.writeString(Paths, MasterpointFolder, mpFolder());
        if (!backup.isEmpty())
            store.writeString(Paths, BackupFolder, backup);
    }

    std::unique_ptr<QTemporaryDir> dir_;
    QString ini() const { return dir_->filePath(QStringLiteral("settings.ini")); }
    QString mpFolder() const { return dir_->filePath(QStringLiteral("mp")); }
};

void tst_MainWindow::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    QVERIFY(QDir().mkpath(mpFolder()));
}

void tst_MainWindow::firstStartAsksForFolderAndOpensEmpty() {
    ScriptedPrompts prompts; // cancels the folder question
    MainWindow window(prompts, ini());
    QVERIFY(window.locateOnOpenAction()->isChecked());
    QVERIFY(!window.convertOnLocateAction()->isChecked());
    QCOMPARE(prompts.asked, QStringList{QStringLiteral("browse:Browser for masterpoint files|")});
    QCOMPARE(rows(window), 0);
    QVERIFY(!window.isVisible()); // asked before the window is shown
    SettingsStore store(ini());
    QCOMPARE(store.readString(Paths, MasterpointFolder, QStringLiteral("none")),
             QStringLiteral("none"));
}

void tst_MainWindow::noScanWhenLocateOnOpenIsOff() {
    testfiles::write(mpFolder(), QStringLiteral("A.GLD"), "1234567001250\r\n");
    {
        SettingsStore store(ini());
        store.writeString(Paths, MasterpointFolder, mpFolder());
        store.writeBool(Options, LocateOnOpen, false);
    }
    ScriptedPrompts prompts;
    MainWindow window(prompts, ini());
    QVERIFY(!window.locateOnOpenAction()->isChecked());
    QCOMPARE(rows(window), 0);
    QVERIFY(prompts.asked.isEmpty());
}

void tst_MainWindow::optionsPersistAcrossRuns() {
    {
        ScriptedPrompts prompts;
        MainWindow window(prompts, ini());
        window.show();
        // Chosen from the menu as a user would: the item inverts its mark.
        window.locateOnOpenAction()->trigger();
        window.convertOnLocateAction()->trigger();
        QVERIFY(!window.locateOnOpenAction()->isChecked());
        QVERIFY(window.convertOnLocateAction()->isChecked());
        window.closeAction()->trigger();
        QVERIFY(!window.isVisible());
        // Nothing is stored until the window goes.
        SettingsStore store(ini());
        QVERIFY(store.readBool(Options, LocateOnOpen, true));
    }
    QSettings raw(ini(), QSettings::IniFormat);
    QCOMPARE(raw.value(QStringLiteral("Options/LocateOnOpen")).toString(), QStringLiteral("0"));
    QCOMPARE(raw.value(QStringLiteral("Options/Convertextensions")).toString(),
             QStringLiteral("1"));

    ScriptedPrompts prompts;
    MainWindow window(prompts, ini());
    QVERIFY(!window.locateOnOpenAction()->isChecked());
    QVERIFY(window.convertOnLocateAction()->isChecked());
    QVERIFY(prompts.asked.isEmpty()); // no start-up scan
}

void tst_MainWindow::unreadableOptionReportedOnce() {
    testfiles::writeRawSettings(ini(), "[Options]\nLocateOnOpen=@ByteArray(1)\n"
                                       "Convertextensions=1\n");
    ScriptedPrompts prompts;
    {
        MainWindow window(prompts, ini());
        QCOMPARE(prompts.errors(),
                 QStringList{QStringLiteral("Invalid data type for 'LocateOnOpen'")});
        // The items not yet read keep their design state and the scan is skipped.
        QVERIFY(!window.locateOnOpenAction()->isChecked());
        QVERIFY(!window.convertOnLocateAction()->isChecked());
        QCOMPARE(prompts.asked.size(), 1);
        // The program runs on: a command still works.
        window.viewButton()->click();
        QCOMPARE(prompts.messages(), QStringList{QStringLiteral("Select file(s) to view")});
    }
    // The next exit stores both options as text again.
    SettingsStore store(ini());
    QCOMPARE(store.readBool(Options, LocateOnOpen, true), false);
    QCOMPARE(store.readBool(Options, ConvertExtensions, true), false);
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
                                    << "C&onvert";
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
                                  << "C&onvert extentions";
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
    MainWindow window(prompts, ini());
    QCOMPARE(window.windowTitle(), QStringLiteral("Masterpoint file manager"));
    if (auto* button = window.findChild<QPushButton*>(name)) {
        QCOMPARE(button->text(), caption);
        QCOMPARE(button->accessibleName(), QString(caption).remove(QLatin1Char('&')));
        QCOMPARE(button->size(), QSize(75, 25));
        QVERIFY(!button->isDefault());
    } else {
        auto* action = window.findChild<QAction*>(name);
        QVERIFY2(action, qPrintable(name));
        QCOMPARE(action->text(), caption);
    }
}

void tst_MainWindow::tabOrderFollowsCreationOrder() {
    ScriptedPrompts prompts;
    MainWindow window(prompts, ini());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.fileList()->setFocus();
    const QList<QWidget*> expected{
        window.viewButton(),  window.backUpButton(),  window.closeButton(), window.locateButton(),
        window.mergeButton(), window.convertButton(), window.fileList()};
    for (QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
}

void tst_MainWindow::minimumSizeAndButtonColumn() {
    ScriptedPrompts prompts;
    MainWindow window(prompts, ini());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.minimumSize(), QSize(350, 450));
    QCOMPARE(window.locateButton()->pos(), QPoint(229, 32));
    QCOMPARE(window.convertButton()->pos(), QPoint(229, 67));
    QCOMPARE(window.viewButton()->pos(), QPoint(229, 102));
    QCOMPARE(window.closeButton()->pos(), QPoint(229, 208));

    window.resize(500, 700);
    QTRY_COMPARE(window.width(), 500);
    QCOMPARE(window.locateButton()->pos(), QPoint(379, 32)); // the column follows the right edge
    QCOMPARE(window.closeButton()->pos(), QPoint(379, 208)); // and keeps its tops
    QCOMPARE(window.fileList()->width(), 190);
    QCOMPARE(window.fileList()->height(), window.centralWidget()->height());

    window.resize(200, 200); // below the minimum
    QVERIFY(window.width() >= 350 && window.height() >= 450);
}

void tst_MainWindow::closeWithViewersOpen() {
    testfiles::write(mpFolder(), QStringLiteral("A.GLD"), "1234567001250\r\n");
    testfiles::write(mpFolder(), QStringLiteral("B.GAR"), "1234567001250000300\r\n");
    storeFolders();
    ScriptedPrompts prompts;
    QPointer<ViewerWindow> first, second;
    {
        MainWindow window(prompts, ini());
        window.show();
        QCOMPARE(rows(window), 2);
        window.show();
        for (int row = 0; row < 2; ++row)
            tick(window, row);
        window.viewButton()->click();
        QCOMPARE(window.openViewers().count(), 2);
        const QList<ViewerWindow*> viewers = window.findChildren<ViewerWindow*>();
        QCOMPARE(viewers.size(), 2);
        first = viewers[0];
        second = viewers[1];
        second->close(); // one hidden, one shown
        QVERIFY(first->isVisible());
        window.closeButton()->click(); // Close asks nothing
        QVERIFY(!window.isVisible());
        QVERIFY(prompts.messages().isEmpty());
    }
    QVERIFY(first.isNull());
    QVERIFY(second.isNull());
}

void tst_MainWindow::aboutAsksForTheAboutBox() {
    ScriptedPrompts prompts;
    MainWindow window(prompts, ini());
    prompts.asked.clear(); // the start-up question for a folder
    window.aboutAction()->trigger();
    QCOMPARE(prompts.asked, QStringList{QStringLiteral("about")});
}

void tst_MainWindow::caseTwinsViewInTwoWindows() {
    // Two files whose names differ only in case are two files here: each gets its own
    // window with its own records.
    testfiles::write(mpFolder(), QStringLiteral("CLUB.GLD"), "1234567001250\r\n");
    testfiles::write(mpFolder(), QStringLiteral("club.gld"), "1234567000100\r\n7654321000200\r\n");
    storeFolders();
    ScriptedPrompts prompts;
    MainWindow window(prompts, ini());
    window.show();
    QCOMPARE(rows(window), 2);
    tick(window, 0);
    tick(window, 1);
    window.viewButton()->click();
    window.viewButton()->click(); // again: the same two windows come forward
    QVERIFY(prompts.asked.isEmpty());

    const QList<ViewerWindow*> viewers = window.findChildren<ViewerWindow*>();
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
    MainWindow window(prompts, ini(), fileSystem);
    window.show();
    for (int row = 0; row < 3; ++row)
        tick(window, row);
    prompts.folderAnswers = {backup};
    window.backUpButton()->click();

    QCOMPARE(prompts.warnings(),
             QStringList{QStringLiteral("Could not back up B.GLD: permission denied")});
    QVERIFY(prompts.messages().isEmpty());
    QCOMPARE(QDir(backup).entryList(QDir::Files),
             (QStringList{QStringLiteral("A.GLD"), QStringLiteral("C.GLD")}));
    QCOMPARE(testfiles::read(QDir(backup).filePath(QStringLiteral("C.GLD"))),
             QByteArray("1234567000200\r\n"));
}

void tst_MainWindow::errorBoxFullStop_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("ends in a letter") << "Failed to create key paths"
                                      << "Failed to create key paths.";
    QTest::newRow("ends in a digit") << "Cannot open file /mp/X.MP1"
                                     << "Cannot open file /mp/X.MP1.";
    QTest::newRow("ends in a quote") << "Invalid data type for 'ClubNo'"
                                     << "Invalid data type for 'ClubNo'";
    QTest::newRow("ends in a full stop") << "Disk full."
                                         << "Disk full.";
    QTest::newRow("ends in a bracket") << "Cannot open file X.MP1(GLD)"
                                       << "Cannot open file X.MP1(GLD)";
    QTest::newRow("ends in an exclamation") << "Stop!"
                                            << "Stop!";
    QTest::newRow("ends in a slash") << "Cannot open file /"
                                     << "Cannot open file /.";
    QTest::newRow("empty") << ""
                           << "";
}

void tst_MainWindow::errorBoxFullStop() {
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(errorBoxText(message), shown);
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
    MainWindow window(prompts, ini());
    prompts.asked.clear();
    int runs = 0;
    window.guarded([&] {
        ++runs;
        throw std::runtime_error("Failed to set data for 'ClubNo'");
    });
    QCOMPARE(runs, 1);
    QCOMPARE(prompts.errors(), QStringList{QStringLiteral("Failed to set data for 'ClubNo'")});
    // The window goes on working.
    window.viewButton()->click();
    QCOMPARE(prompts.messages(), QStringList{QStringLiteral("Select file(s) to view")});
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
