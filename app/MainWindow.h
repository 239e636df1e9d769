#pragma once
// The main window: the file list, the command buttons, the menu bar and the status
// line. It holds the open viewers and the commands for the whole run and forwards each
// click to its command; an error escaping a command is shown in the standard error box
// (with the system's reason, when there is one) and the program goes on. What a
// command did is said on the status line; below it, while the masterpoint folder stored
// is not the one the list was made from, which folder the list shows (looked at after
// every command and whenever the window becomes active, as another copy of the program
// may have changed it). File > Close all viewers (Ctrl+Shift+W) closes every viewer;
// File > Find member… (Ctrl+Shift+F) opens the Member window over the ticked files
// (every listed file when none is ticked).
//
// In the file list Ctrl+A ticks every entry and Ctrl+Shift+A none; its context menu
// (right button or the menu key) has "Tick all", "Tick none" and "Tick all GLD" ... for
// each colour listed, a numbered entry counting with its colour.
//
// The list follows its folder (FolderWatcher over FileCommands::follow()), keeping its
// selection and the entry at the top of its view; File > Refresh (F5) brings it up to
// date at once, without a question. F5 in a viewer reads its file again.
//
// Nothing the user can see happens while it is made or destroyed: the program shows it
// with showAndStartUp(), which reads the options and runs the start-up scan once the
// window is on the screen, and closing it stores the options and its place.

#include "app/FileCommands.h"
#include "app/OpenViewerList.h"
#include "app/StatusLine.h"
#include "widgets/WindowGeometry.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class FileListModel;
class FolderWatcher;
class Prompts;
class QAction;
class QLabel;
class QListView;
class QPushButton;
class SettingsStore;
class MemberWindow;
class TotalsWindow;

class MainWindow : public QMainWindow, private StatusLine {
    Q_OBJECT
public:
    // prompts and store outlive the window; fileSystem is what the commands reach the
    // disk through.
    MainWindow(Prompts& prompts, SettingsStore& store,
               mp::FileSystem& fileSystem = mp::FileSystem::system(), QWidget* parent = nullptr);
    ~MainWindow() override;

    // Puts the window where the user last left it (its design place on a first run),
    // shows it and, once it is on the screen, runs startUp().
    void showAndStartUp();
    // Reads the two options and, when "Locate on open" is ticked, runs the start-up
    // scan. An error ends the step and goes to the error box; the window goes on.
    void startUp();

    // Runs a command; an error that escapes it goes to the standard error box and the
    // log. Then the note on the list's folder is brought up to date.
    void guarded(const std::function<void()>& command);

signals:
    // startUp() has run: the list is as the start-up scan left it.
    void startedUp();

protected:
    // Closes the viewers and stores the options and the window's place, then ends the
    // program, whatever viewers are still open.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void showDone(const QString& text) override;
    void showProgress(const QString& text) override;

    void buildControls();
    // Ctrl+A, Ctrl+Shift+A and the list's context menu: ticks for all, none, a colour.
    void buildTicking();
    void buildMenus();
    void wire();
    void startUpOnce();
    void closeViewersAndSaveOptions();
    void showListFolderNote();
    // Runs a command that changes the list in place, keeping the entry at the top of
    // the view where it was.
    void keepingPlace(const std::function<void()>& command);
    // Points the watcher at the list's folder and the viewers' files.
    void watchFolder();

    Prompts& prompts_;
    SettingsStore& store_;
    OpenViewerList viewers_;
    WindowGeometry geometry_;
    FileListModel* files_ = nullptr;
    TotalsWindow* totalsWindow_ = nullptr;
    MemberWindow* memberWindow_ = nullptr;
    std::unique_ptr<FileCommands> commands_;
    FolderWatcher* watcher_ = nullptr;
    bool startUpDue_ = false;
    int running_ = 0;           // commands under way (one waiting on a question, say)
    bool lookDeferred_ = false; // the folder changed meanwhile: looked at once they end

    QListView* fileList_ = nullptr;
    QLabel* statusText_ = nullptr;
    QLabel* listFolderNote_ = nullptr;
    QPushButton* locateButton_ = nullptr;
    QPushButton* convertButton_ = nullptr;
    QPushButton* viewButton_ = nullptr;
    QPushButton* backUpButton_ = nullptr;
    QPushButton* mergeButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QAction* locateAction_ = nullptr;
    QAction* refreshAction_ = nullptr;
    QAction* viewAction_ = nullptr;
    QAction* backUpAction_ = nullptr;
    QAction* mergeAction_ = nullptr;
    QAction* totalsAction_ = nullptr;
    QAction* findMemberAction_ = nullptr;
    QAction* closeViewersAction_ = nullptr;
    QAction* closeAction_ = nullptr;
    QAction* convertAction_ = nullptr;
    QAction* locateOnOpenAction_ = nullptr;
    QAction* convertOnLocateAction_ = nullptr;
    QAction* pathsAction_ = nullptr;
    QAction* aboutAction_ = nullptr;
};
