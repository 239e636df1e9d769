// Options > Paths from the main window: what the dialog shows when it opens and what
// reaches the settings store when it closes.

#include "app/MainWindow.h"
#include "dialogs/ChooseFolderDialog.h"
#include "dialogs/ClubNumberField.h"
#include "dialogs/DirectoryEdit.h"
#include "dialogs/PathsDialog.h"
#include "settings/SettingsNames.h"
#include "settings/SettingsStore.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"
#include "viewer/ViewerGrid.h"
#include "viewer/ViewerWindow.h"

#include <QAction>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace SettingsNames;

class tst_MainWindowPaths : public QObject {
    Q_OBJECT

private slots:
    void init();
    void firstOpeningShowsNothingStored();
    void cancelKeepsStoreAndReopenShowsStored();
    void okWithoutChangeWritesAllThree();
    void clearedFolderStoresEmptyText();
    void enterInFolderFieldOpensFolderDialogOnly();
    void browseOpensAtStartFolderNotTypedText();
    void chosenFolderReplacesTypedText();
    void missingStartFolderReportedFirst();
    void storeFailureStopsRemainingWrites();
    void newFolderUsedByNextView();

private:
    struct Run {
        std::unique_ptr<ScriptedPrompts> prompts;
        std::unique_ptr<MainWindow> window;
        std::unique_ptr<PathsDialog> paths;
    };
    Run start();
    QString ini() const { return dir_->filePath(QStringLiteral("cfg/settings.ini")); }
    QString folder(const char* name) const { return dir_->filePath(QLatin1String(name)); }

    std::unique_ptr<QTemporaryDir> dir_;
};

void tst_MainWindowPaths::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    QVERIFY(QDir().mkpath(dir_->filePath(QStringLiteral("cfg"))));
    for (const char* name : {"mp", "bu", "other"})
        QVERIFY(QDir().mkpath(folder(name)));
    SettingsStore(ini()).writeBool(Options, LocateOnOpen, false);
}

tst_MainWindowPaths::Run tst_MainWindowPaths::start() {
    Run run;
    run.prompts = std::make_unique<ScriptedPrompts>();
    run.window = std::make_unique<MainWindow>(*run.prompts, ini());
    run.paths = std::make_unique<PathsDialog>(*run.prompts);
    run.window->attachDialogs(run.paths.get(), nullptr);
    return run;
}

void tst_MainWindowPaths::firstOpeningShowsNothingStored() {
    Run run = start();
    QString mpText = QStringLiteral("unset"), buText = mpText;
    int club = -1;
    run.prompts->dialogHandler = [&](QDialog& dialog) {
        auto& paths = static_cast<PathsDialog&>(dialog);
        mpText = paths.masterpointFolderEdit()->text();
        buText = paths.backupFolderEdit()->text();
        club = paths.clubNumberField()->asInteger();
        return int(QDialog::Rejected);
    };
    run.window->pathsAction()->trigger();
    QCOMPARE(run.prompts->asked, QStringList{QStringLiteral("dialog:PathsDialog")});
    QCOMPARE(mpText, QString());
    QCOMPARE(buText, QString());
    QCOMPARE(club, 0);
    QCOMPARE(run.paths->clubNumberField()->text(), QStringLiteral("   0"));
    QSettings raw(ini(), QSettings::IniFormat);
    QVERIFY(!raw.childGroups().contains(Paths));
}

void tst_MainWindowPaths::cancelKeepsStoreAndReopenShowsStored() {
    {
        SettingsStore store(ini());
        store.writeString(Paths, MasterpointFolder, folder("mp"));
        store.writeString(Paths, BackupFolder, folder("bu"));
        store.writeInteger(Paths, ClubNumber, 123);
    }
    Run run = start();
    run.prompts->dialogHandler = [&](QDialog& dialog) {
        auto& paths = static_cast<PathsDialog&>(dialog);
        paths.masterpointFolderEdit()->setText(QStringLiteral("/typed/mp"));
        paths.backupFolderEdit()->setText(QStringLiteral("/typed/bu"));
        paths.clubNumberField()->setFocus();
        paths.clubNumberField()->setAsInteger(999);
        return int(QDialog::Rejected);
    };
    run.window->pathsAction()->trigger();
    SettingsStore store(ini());
    QCOMPARE(store.readString(Paths, MasterpointFolder, QString()), folder("mp"));
    QCOMPARE(store.readString(Paths, BackupFolder, QString()), folder("bu"));
    QCOMPARE(store.readInteger(Paths, ClubNumber, 0), 123);

    QStringList shown;
    run.prompts->dialogHandler = [&](QDialog& dialog) {
        auto& paths = static_cast<PathsDialog&>(dialog);
        shown << paths.masterpointFolderEdit()->text() << paths.backupFolderEdit()->text()
              << paths.clubNumberField()->text()
              << paths.masterpointFolderEdit()->folderDialog.directory
              << paths.backupFolderEdit()->folderDialog.directory;
        return int(QDialog::Rejected);
    };
    run.window->pathsAction()->trigger();
    QCOMPARE(shown, (QStringList{folder("mp"), folder("bu"), QStringLiteral(" 123"), folder("mp"),
                                 folder("bu")}));
}

void tst_MainWindowPaths::okWithoutChangeWritesAllThree() {
    Run run = start();
    run.prompts->dialogHandler = [](QDialog&) { return int(QDialog::Accepted); };
    run.window->pathsAction()->trigger();
    QSettings raw(ini(), QSettings::IniFormat);
    QCOMPARE(raw.value(QStringLiteral("paths/Quillet")), QVariant(QString()));
    QCOMPARE(raw.value(QStringLiteral("paths/backup")), QVariant(QString()));
    QCOMPARE(raw.value(QStringLiteral("paths/ClubNo")), QVariant(QStringLiteral("0")));
}

void tst_MainWindowPaths::clearedFolderStoresEmptyText() {
    SettingsStore(ini()).writeString(Paths, MasterpointFolder, folder("mp"));
    Run run = start();
    run.prompts->dialogHandler = [](QDialog& dialog) {
        auto& paths = static_cast<PathsDialog&>(dialog);
        paths.show();
        paths.masterpointFolderEdit()->setFocus();
        paths.masterpointFolderEdit()->selectAll();
        QTest::keyClick(paths.masterpointFolderEdit(), Qt::Key_Delete);
        QTest::keyClicks(paths.backupFolderEdit(), QStringLiteral(" spaced "));
        return int(QDialog::Accepted);
    };
    run.window->pathsAction()->trigger();
    SettingsStore store(ini());
    QCOMPARE(store.readString(Paths, MasterpointFolder, QStringLiteral("x")), QString());
    QCOMPARE(store.readString(Paths, BackupFolder, QString()), QStringLiteral(" spaced "));
}

void tst_MainWindowPaths::enterInFolderFieldOpensFolderDialogOnly() {
    Run run = start();
    bool stillOpen = false;
    run.prompts->dialogHandler = [&](QDialog& dialog) {
        if (dialog.objectName() != QLatin1String("PathsDialog"))
            return int(QDialog::Rejected); // the folder dialog: cancel
        dialog.show();
        auto& paths = static_cast<PathsDialog&>(dialog);
        paths.masterpointFolderEdit()->setFocus();
        QTest::keyClick(paths.masterpointFolderEdit(), Qt::Key_Return);
        stillOpen = dialog.isVisible() && dialog.result() != QDialog::Accepted;
        dialog.hide();
        return int(QDialog::Rejected);
    };
    run.window->pathsAction()->trigger();
    QVERIFY(stillOpen);
    QCOMPARE(run.prompts->asked, (QStringList{QStringLiteral("dialog:PathsDialog"),
                                              QStringLiteral("dialog:ChooseFolderDialog")}));
}

void tst_MainWindowPaths::browseOpensAtStartFolderNotTypedText() {
    SettingsStore(ini()).writeString(Paths, BackupFolder, folder("bu"));
    Run run = start();
    QString openedAt;
    QString textAfterCancel;
    run.prompts->dialogHandler = [&](QDialog& dialog) {
        if (auto* chooser = qobject_cast<ChooseFolderDialog*>(&dialog)) {
            openedAt = chooser->openFolder();
            return int(QDialog::Rejected);
        }
        auto& paths = static_cast<PathsDialog&>(dialog);
        paths.show();
        paths.backupFolderEdit()->setText(folder("other"));
        QTest::mouseClick(paths.backupFolderEdit()->browseButton(), Qt::LeftButton);
        textAfterCancel = paths.backupFolderEdit()->text();
        return int(QDialog::Rejected);
    };
    run.window->pathsAction()->trigger();
    QCOMPARE(QDir(openedAt).canonicalPath(), QDir(folder("bu")).canonicalPath());
    QCOMPARE(textAfterCancel, folder("other"));
}

void tst_MainWindowPaths::chosenFolderReplacesTypedText() {
    SettingsStore(ini()).writeString(Paths, MasterpointFolder, folder("mp"));
    Run run = start();
    run.prompts->dialogHandler = [&](QDialog& dialog) {
        if (auto* chooser = qobject_cast<ChooseFolderDialog*>(&dialog)) {
            chooser->openFolderAt(folder("other"));
            return int(QDialog::Accepted);
        }
        auto& paths = static_cast<PathsDialog&>(dialog);
        paths.show();
        QTest::keyClicks(paths.masterpointFolderEdit(), QStringLiteral("typed"));
        paths.masterpointFolderEdit()->browseButton()->click();
        return int(QDialog::Accepted);
    };
    run.window->pathsAction()->trigger();
    SettingsStore store(ini());
    QCOMPARE(QDir(store.readString(Paths, MasterpointFolder, QString())).canonicalPath(),
             QDir(folder("other")).canonicalPath());
    QVERIFY(!store.readString(Paths, MasterpointFolder, QString()).contains("typed"));
}

void tst_MainWindowPaths::missingStartFolderReportedFirst() {
    SettingsStore(ini()).writeString(Paths, MasterpointFolder, folder("gone"));
    Run run = start();
    run.prompts->dialogHandler = [&](QDialog& dialog) {
        if (qobject_cast<ChooseFolderDialog*>(&dialog))
            return int(QDialog::Rejected);
        static_cast<PathsDialog&>(dialog).masterpointFolderEdit()->browseButton()->click();
        return int(QDialog::Rejected);
    };
    run.window->pathsAction()->trigger();
    QCOMPARE(run.prompts->asked.size(), 3);
    QCOMPARE(run.prompts->asked[0], QStringLiteral("dialog:PathsDialog"));
    QVERIFY2(run.prompts->asked[1].startsWith(QStringLiteral("message:")),
             qPrintable(run.prompts->asked[1]));
    QVERIFY(run.prompts->asked[1].contains(folder("gone")));
    QCOMPARE(run.prompts->asked[2], QStringLiteral("dialog:ChooseFolderDialog"));
}

void tst_MainWindowPaths::storeFailureStopsRemainingWrites() {
    {
        SettingsStore store(ini());
        store.writeString(Paths, MasterpointFolder, folder("mp"));
        store.writeInteger(Paths, ClubNumber, 7);
    }
    Run run = start();
    const QString cfg = dir_->filePath(QStringLiteral("cfg"));
    const QString saved = dir_->filePath(QStringLiteral("cfg.saved"));
    run.prompts->dialogHandler = [&](QDialog& dialog) {
        auto& paths = static_cast<PathsDialog&>(dialog);
        paths.masterpointFolderEdit()->setText(folder("other"));
        paths.clubNumberField()->setAsInteger(99);
        // The store's folder is replaced by a file: no write can reach it now.
        QDir().rename(cfg, saved);
        testfiles::write(dir_->path(), QStringLiteral("cfg"), "not a folder");
        return int(QDialog::Accepted);
    };
    run.window->pathsAction()->trigger();
    QCOMPARE(run.prompts->errors().size(), 1);
    QVERIFY2(run.prompts->errors()[0].startsWith(QStringLiteral("Failed to")),
             qPrintable(run.prompts->errors()[0]));
    QVERIFY(QFile::remove(cfg));
    QVERIFY(QDir().rename(saved, cfg));
    SettingsStore store(ini());
    QCOMPARE(store.readString(Paths, MasterpointFolder, QString()), folder("mp"));
    QCOMPARE(store.readInteger(Paths, ClubNumber, 0), 7);
    QCOMPARE(store.readString(Paths, BackupFolder, QStringLiteral("absent")),
             QStringLiteral("absent"));
}

void tst_MainWindowPaths::newFolderUsedByNextView() {
    testfiles::write(folder("mp"), QStringLiteral("A.GLD"), "1234567001250\r\n");
    testfiles::write(folder("other"), QStringLiteral("A.GLD"), "1234567000100\r\n");
    SettingsStore(ini()).writeString(Paths, MasterpointFolder, folder("mp"));
    Run run = start();
    run.prompts->folderAnswers.push_back(folder("mp"));
    run.window->locateButton()->click();
    QCOMPARE(run.window->fileList()->count(), 1);

    run.prompts->dialogHandler = [&](QDialog& dialog) {
        static_cast<PathsDialog&>(dialog).masterpointFolderEdit()->setText(folder("other"));
        return int(QDialog::Accepted);
    };
    run.window->pathsAction()->trigger();
    QCOMPARE(run.window->fileList()->count(), 1); // no rescan
    run.window->fileList()->item(0)->setCheckState(Qt::Checked);
    run.window->viewButton()->click();
    ViewerWindow* viewer = run.window->openViewers().find(QStringLiteral("A.GLD"));
    QVERIFY(viewer);
    QAbstractItemModel* model = viewer->grid()->model();
    QCOMPARE(model->data(model->index(0, 1)).toString(), QStringLiteral("0001.00"));
}

QTEST_MAIN(tst_MainWindowPaths)
#include "tst_mainwindow_paths.moc"
