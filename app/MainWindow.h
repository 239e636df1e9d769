#pragma once
// The main window: the file list, the command buttons and the menu bar. It owns the
// settings store and the open-viewer list for the whole run. Every command is one of
// its handlers; an error escaping a handler is shown in the standard error box and the
// program goes on.

#include "app/OpenViewerList.h"
#include "masterpoint/ListEntry.h"

#include <QMainWindow>
#include <functional>
#include <memory>
#include <vector>

class AboutBox;
class FolderBrowseDialog;
class PathsDialog;
class Prompts;
class QAction;
class QListWidget;
class QMenu;
class QPushButton;
class SettingsStore;
class StoreSettings;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Whether Locate asks for the masterpoint folder.
    enum class FolderQuestion {
        Ask,                // the user asked for the scan, by button or menu
        OnlyWhenNoneStored, // start-up, or the rescan after Convert
    };

    // settingsLocation: where the settings store lives; empty for the user's own store.
    // Loads the settings and runs the start-up scan when it is due.
    explicit MainWindow(Prompts& prompts, const QString& settingsLocation = QString(),
                        QWidget* parent = nullptr);
    ~MainWindow() override; // closes the viewers and stores the options

    // The Paths dialog and the About box, made after this window.
    void attachDialogs(PathsDialog* paths, AboutBox* about);

    // The file list's entries in list order, with their ticks.
    std::vector<mp::ListEntry> entries() const;
    const OpenViewerList& openViewers() const { return viewers_; }

    QListWidget* fileList() const { return fileList_; }
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
    QAction* closeAction() const { return closeAction_; }
    QAction* convertAction() const { return convertAction_; }
    QMenu* optionsMenu() const { return optionsMenu_; }
    QAction* locateOnOpenAction() const { return locateOnOpenAction_; }
    QAction* convertOnLocateAction() const { return convertOnLocateAction_; }
    QAction* pathsAction() const { return pathsAction_; }
    QAction* aboutAction() const { return aboutAction_; }
    FolderBrowseDialog* folderBrowser() const { return folderBrowser_; }

    // The commands. Each may throw; connected controls run them through guarded().
    void locate(FolderQuestion question);
    void convert();
    void view();
    void backUp();
    void merge();
    void editPaths();
    void showAbout();

    // Runs a handler; an error that escapes it goes to the standard error box.
    void guarded(const std::function<void()>& handler);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void wire();
    void layoutButtons();
    void addEntry(const mp::ListEntry& entry);
    void loadSettingsAndLocate();
    void closeViewersAndSaveOptions();

    Prompts& prompts_;
    QString settingsLocation_;
    std::unique_ptr<SettingsStore> store_;
    std::unique_ptr<StoreSettings> settings_;
    OpenViewerList viewers_;
    PathsDialog* pathsDialog_ = nullptr;
    AboutBox* aboutBox_ = nullptr;

    QListWidget* fileList_ = nullptr;
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
    QAction* closeAction_ = nullptr;
    QAction* convertAction_ = nullptr;
    QMenu* optionsMenu_ = nullptr;
    QAction* locateOnOpenAction_ = nullptr;
    QAction* convertOnLocateAction_ = nullptr;
    QAction* pathsAction_ = nullptr;
    QAction* aboutAction_ = nullptr;
    FolderBrowseDialog* folderBrowser_ = nullptr;

    friend class ScanToList;
};
