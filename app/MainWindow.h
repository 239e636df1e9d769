#pragma once
// The main window: the file list, the command buttons and the menu bar. It owns the
// settings store, the open viewers and the commands for the whole run, and forwards
// each click to its command; an error escaping a command is shown in the standard
// error box and the program goes on.

#include "app/FileCommands.h"
#include "app/OpenViewerList.h"
#include "masterpoint/ListEntry.h"

#include <QMainWindow>
#include <functional>
#include <memory>
#include <vector>

class FileListModel;
class Prompts;
class QAction;
class QListView;
class QMenu;
class QPushButton;
class SettingsStore;
class TotalsWindow;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // settingsLocation: where the settings store lives; empty for the user's own store.
    // Loads the settings and runs the start-up scan when it is due.
    // fileSystem: what the commands reach the disk through.
    explicit MainWindow(Prompts& prompts, const QString& settingsLocation = QString(),
                        mp::FileSystem& fileSystem = mp::FileSystem::system(),
                        QWidget* parent = nullptr);
    ~MainWindow() override; // closes the viewers and stores the options

    // The file list's entries in list order, with their ticks.
    std::vector<mp::ListEntry> entries() const;
    const OpenViewerList& openViewers() const { return viewers_; }

    QListView* fileList() const { return fileList_; }
    QPushButton* locateButton() const { return locateButton_; }
    QPushButton* viewButton() const { return viewButton_; }
    QPushButton* backUpButton() const { return backUpButton_; }
    QPushButton* closeButton() const { return closeButton_; }
    QPushButton* mergeButton() const { return mergeButton_; }
    QPushButton* convertButton() const { return convertButton_; }
    QMenu* fileMenu() const { return fileMenu_; }
    QAction* locateAction() const { return locateAction_; }
    QAction* viewAction() const { return viewAction_; }
    QAction* backUpAction() const { return backUpAction_; }
    QAction* mergeAction() const { return mergeAction_; }
    QAction* totalsAction() const { return totalsAction_; }
    QAction* closeAction() const { return closeAction_; }
    QAction* convertAction() const { return convertAction_; }
    QMenu* optionsMenu() const { return optionsMenu_; }
    QAction* locateOnOpenAction() const { return locateOnOpenAction_; }
    QAction* convertOnLocateAction() const { return convertOnLocateAction_; }
    QAction* pathsAction() const { return pathsAction_; }
    QAction* aboutAction() const { return aboutAction_; }
    // The one totals window, hidden until the totals are first asked for.
    TotalsWindow* totalsWindow() const { return totalsWindow_; }

    // Runs a command; an error that escapes it goes to the standard error box and the
    // log.
    void guarded(const std::function<void()>& command);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void wire();
    void layoutButtons();
    void loadSettingsAndLocate();
    void closeViewersAndSaveOptions();

    Prompts& prompts_;
    std::unique_ptr<SettingsStore> store_;
    OpenViewerList viewers_;
    FileListModel* files_ = nullptr;
    TotalsWindow* totalsWindow_ = nullptr;
    std::unique_ptr<FileCommands> commands_;

    QListView* fileList_ = nullptr;
    QPushButton* locateButton_ = nullptr;
    QPushButton* viewButton_ = nullptr;
    QPushButton* backUpButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QPushButton* mergeButton_ = nullptr;
    QPushButton* convertButton_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QAction* locateAction_ = nullptr;
    QAction* viewAction_ = nullptr;
    QAction* backUpAction_ = nullptr;
    QAction* mergeAction_ = nullptr;
    QAction* totalsAction_ = nullptr;
    QAction* closeAction_ = nullptr;
    QAction* convertAction_ = nullptr;
    QMenu* optionsMenu_ = nullptr;
    QAction* locateOnOpenAction_ = nullptr;
    QAction* convertOnLocateAction_ = nullptr;
    QAction* pathsAction_ = nullptr;
    QAction* aboutAction_ = nullptr;
};
