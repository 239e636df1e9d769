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

class QAction;
class QListWidget;
class QMenu;
class QMenuBar;
class QPushButton;
class Prompts;
class StoreSettings;
class AboutBox;
class FolderBrowseDialog;
class SettingsStore;
class PathsDialog;

class TfrmMPMgr : public QMainWindow {
    Q_OBJECT
public:
    // settingsLocation: where the settings store lives; empty for the user's own store.
    // Runs FormCreate, including the start-up scan when it is due.
    explicit TfrmMPMgr(Prompts& prompts, const QString& settingsLocation = QString(),
                       QWidget* parent = nullptr);
    ~TfrmMPMgr() override; // runs FormDestroy

    // The Paths dialog and the About box, made after this window.
    void attachDialogs(PathsDialog* paths, AboutBox* about);

    // The file list's entries in list order, with their ticks.
    std::vector<mp::ListEntry> entries() const;
    const OpenViewerList& openViewers() const { return viewers_; }

    // Controls and components.
    QListWidget* CheckListBox1 = nullptr;
    QMenuBar* MainMenu1 = nullptr;
    QMenu* File1 = nullptr;
    QAction* Locate1 = nullptr;
    QAction* View1 = nullptr;
    QAction* backup1 = nullptr;
    QAction* Merge1 = nullptr;
    QAction* Close1 = nullptr;
    QAction* Convertext1 = nullptr;
    QMenu* Options1 = nullptr;
    QAction* LocateOnOpen1 = nullptr;
    QAction* Convertextensions1 = nullptr;
    QAction* Paths1 = nullptr;
    QAction* About1 = nullptr;
    QPushButton* Button1 = nullptr; // Locate
    QPushButton* Button2 = nullptr; // View
    QPushButton* Button3 = nullptr; // Backup
    QPushButton* Button4 = nullptr; // Close
    QPushButton* Button5 = nullptr; // Merge
    QPushButton* Button6 = nullptr; // Convert
    FolderBrowseDialog* LMDBrowseDlg1 = nullptr;

    // Handlers. Each may throw; connected controls run them through guarded().
    void Locate1Click(QObject* sender);
    void FormCreate();
    void FormDestroy();
    void Close1Click(QObject* sender);
    void backup1Click(QObject* sender);
    void View1Click(QObject* sender);
    void LocateOnOpen1Click(QObject* sender);
    void Convertextensions1Click(QObject* sender);
    void Paths1Click(QObject* sender);
    void About1Click(QObject* sender);
    void Merge1Click(QObject* sender);
    void Convertext1Click(QObject* sender);

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

    Prompts& prompts_;
    QString settingsLocation_;
    std::unique_ptr<SettingsStore> store_;
    std::unique_ptr<StoreSettings> settings_;
    OpenViewerList viewers_;
    PathsDialog* frmPaths_ = nullptr;
    AboutBox* aboutBox_ = nullptr;
    bool destroyed_ = false;

    friend class ScanToList;
};
