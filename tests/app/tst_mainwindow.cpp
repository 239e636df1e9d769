// The main window's creation, options, layout, Close, About and the error box.

#include "app/ApplicationTitle.h"
#include "app/TfrmMPMgr.h"
#include "dialogs/AboutBox.h"
#include "dialogs/ErrorText.h"
#include "settings/SettingsNames.h"
#include "settings/SettingsStore.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"
#include "viewer/ViewerGrid.h"
#include "viewer/ViewerWindow.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace SettingsNames;

class tst_MainWindow : public QObject {
    Q_OBJECT

private slots:
    void init();

    void firstStartAsksForFolderAndOpensEmpty();
    void noScanWhenLocateOnOpenIsOff();
    void optionsPersistAcrossRuns();
    void toggleTwiceLeavesOption();
    void unreadableOptionReportedOnce();
    void controlsNamedAndCaptioned_data();
    void controlsNamedAndCaptioned();
    void tabOrderFollowsCreationOrder();
    void minimumSizeAndButtonColumn();
    void closeWithViewersOpen();
    void aboutBoxClosesByKey_data();
    void aboutBoxClosesByKey();
    void errorBoxFullStop_data();
    void errorBoxFullStop();
    void applicationTitle_data();
    void applicationTitle();
    void escapedErrorReachesErrorBox();

private:
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
    TfrmMPMgr window(prompts, ini());
    QVERIFY(window.LocateOnOpen1->isChecked());
    QVERIFY(!window.Convertextensions1->isChecked());
    QCOMPARE(prompts.asked, QStringList{QStringLiteral("browse:Browser for masterpoint files|")});
    QCOMPARE(window.CheckListBox1->count(), 0);
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
    TfrmMPMgr window(prompts, ini());
    QVERIFY(!window.LocateOnOpen1->isChecked());
    QCOMPARE(window.CheckListBox1->count(), 0);
    QVERIFY(prompts.asked.isEmpty());
}

void tst_MainWindow::optionsPersistAcrossRuns() {
    {
        ScriptedPrompts prompts;
        TfrmMPMgr window(prompts, ini());
        window.show();
        // Chosen from the menu as a user would: the item inverts its mark.
        window.LocateOnOpen1->trigger();
        window.Convertextensions1->trigger();
        QVERIFY(!window.LocateOnOpen1->isChecked());
        QVERIFY(window.Convertextensions1->isChecked());
        window.Close1->trigger();
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
    TfrmMPMgr window(prompts, ini());
    QVERIFY(!window.LocateOnOpen1->isChecked());
    QVERIFY(window.Convertextensions1->isChecked());
    QVERIFY(prompts.asked.isEmpty()); // no start-up scan
}

void tst_MainWindow::toggleTwiceLeavesOption() {
    ScriptedPrompts prompts;
    TfrmMPMgr window(prompts, ini());
    const bool before = window.Convertextensions1->isChecked();
    window.Convertextensions1Click(window.Convertextensions1);
    QCOMPARE(window.Convertextensions1->isChecked(), !before);
    window.Convertextensions1Click(window.Convertextensions1);
    QCOMPARE(window.Convertextensions1->isChecked(), before);
}

void tst_MainWindow::unreadableOptionReportedOnce() {
    testfiles::writeRawSettings(ini(), "[Options]\nLocateOnOpen=@ByteArray(1)\n"
                                       "Convertextensions=1\n");
    ScriptedPrompts prompts;
    {
        TfrmMPMgr window(prompts, ini());
        QCOMPARE(prompts.errors(),
                 QStringList{QStringLiteral("Invalid data type for 'LocateOnOpen'")});
        // The items not yet read keep their design state and the scan is skipped.
        QVERIFY(!window.LocateOnOpen1->isChecked());
        QVERIFY(!window.Convertextensions1->isChecked());
        QCOMPARE(prompts.asked.size(), 1);
        // The program runs on: a command still works.
        window.Button2->click();
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
    QTest::newRow("Locate button") << "Button1"
                                   << "&Locate";
    QTest::newRow("View button") << "Button2"
                                 << "&View";
    QTest::newRow("Backup button") << "Button3"
                                   << "&Backup";
    QTest::newRow("Close button") << "Button4"
                                  << "&Close";
    QTest::newRow("Merge button") << "Button5"
                                  << "&Merge";
    QTest::newRow("Convert button") << "Button6"
                                    << "C&onvert";
    QTest::newRow("Locate item") << "Locate1"
                                 << "&Locate";
    QTest::newRow("View item") << "View1"
                               << "&View";
    QTest::newRow("Backup item") << "backup1"
                                 << "&Backup";
    QTest::newRow("Merge item") << "Merge1"
                                << "&Merge";
    QTest::newRow("Close item") << "Close1"
                                << "&Close";
    QTest::newRow("Convert item") << "Convertext1"
                                  << "C&onvert extentions";
    QTest::newRow("Locate on open") << "LocateOnOpen1"
                                    << "&Locate on open";
    QTest::newRow("Convert on locate") << "Convertextensions1"
                                       << "&Convert extensions on locate";
    QTest::newRow("Paths item") << "Paths1"
                                << "&Paths";
    QTest::newRow("About item") << "About1"
                                << "&About";
}

void tst_MainWindow::controlsNamedAndCaptioned() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    ScriptedPrompts prompts;
    TfrmMPMgr window(prompts, ini());
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
    TfrmMPMgr window(prompts, ini());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.CheckListBox1->setFocus();
    const QList<QWidget*> expected{window.Button2,      window.Button3, window.Button4,
                                   window.Button1,      window.Button5, window.Button6,
                                   window.CheckListBox1};
    for (QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
}

void tst_MainWindow::minimumSizeAndButtonColumn() {
    ScriptedPrompts prompts;
    TfrmMPMgr window(prompts, ini());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.minimumSize(), QSize(350, 450));
    QCOMPARE(window.Button1->pos(), QPoint(229, 32));
    QCOMPARE(window.Button6->pos(), QPoint(229, 67));
    QCOMPARE(window.Button2->pos(), QPoint(229, 102));
    QCOMPARE(window.Button4->pos(), QPoint(229, 208));

    window.resize(500, 700);
    QTRY_COMPARE(window.width(), 500);
    QCOMPARE(window.Button1->pos(), QPoint(379, 32));  // the column follows the right edge
    QCOMPARE(window.Button4->pos(), QPoint(379, 208)); // and keeps its tops
    QCOMPARE(window.CheckListBox1->width(), 190);
    QCOMPARE(window.CheckListBox1->height(), window.centralWidget()->height());

    window.resize(200, 200); // below the minimum
    QVERIFY(window.width() >= 350 && window.height() >= 450);
}

void tst_MainWindow::closeWithViewersOpen() {
    testfiles::write(mpFolder(), QStringLiteral("A.GLD"), "1234567001250\r\n");
    testfiles::write(mpFolder(), QStringLiteral("B.GAR"), "1234567001250000300\r\n");
    {
        SettingsStore store(ini());
        store.writeString(Paths, MasterpointFolder, mpFolder());
    }
    ScriptedPrompts prompts;
    QPointer<ViewerWindow> first, second;
    {
        TfrmMPMgr window(prompts, ini());
        window.show();
        QCOMPARE(window.CheckListBox1->count(), 2);
        for (int row = 0; row < 2; ++row)
            window.CheckListBox1->item(row)->setCheckState(Qt::Checked);
        window.Button2->click();
        QCOMPARE(window.openViewers().count(), 2);
        const QList<ViewerWindow*> viewers = window.findChildren<ViewerWindow*>();
        QCOMPARE(viewers.size(), 2);
        first = viewers[0];
        second = viewers[1];
        second->close(); // one hidden, one shown
        QVERIFY(first->isVisible());
        window.Button4->click(); // Close asks nothing
        QVERIFY(!window.isVisible());
        QVERIFY(prompts.messages().isEmpty());
    }
    QVERIFY(first.isNull());
    QVERIFY(second.isNull());
}

void tst_MainWindow::aboutBoxClosesByKey_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Esc") << int(Qt::Key_Escape);
}

void tst_MainWindow::aboutBoxClosesByKey() {
    QFETCH(int, key);
    ScriptedPrompts prompts; // runs the real dialog
    TfrmMPMgr window(prompts, ini());
    AboutBox about;
    window.attachDialogs(nullptr, &about);
    window.show();
    prompts.asked.clear(); // the start-up question for a folder
    for (int round = 0; round < 2; ++round) {
        bool answered = false;
        QTimer::singleShot(0, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            QVERIFY(modal == &about);
            QVERIFY(about.isVisible());
            QTest::keyClick(modal, Qt::Key(key));
            answered = true;
        });
        window.About1->trigger();
        QVERIFY(answered);
        QVERIFY(!about.isVisible());
    }
    QCOMPARE(prompts.asked,
             (QStringList{QStringLiteral("dialog:AboutBox"), QStringLiteral("dialog:AboutBox")}));
    // The main window is usable again.
    window.Button2->click();
    QCOMPARE(prompts.messages(), QStringList{QStringLiteral("Select file(s) to view")});
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
    TfrmMPMgr window(prompts, ini());
    prompts.asked.clear();
    bool after = false;
    window.guarded([&] {
        throw std::runtime_error("Failed to set data for 'ClubNo'");
        after = true;
    });
    QVERIFY(!after);
    QCOMPARE(prompts.errors(), QStringList{QStringLiteral("Failed to set data for 'ClubNo'")});
    // The window goes on working.
    window.Button2->click();
    QCOMPARE(prompts.messages(), QStringList{QStringLiteral("Select file(s) to view")});
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
