#include "app/MainWindow.h"

#include "app/BusyCursor.h"
#include "app/WindowIcon.h"
#include "dialogs/AboutBox.h"
#include "dialogs/ClubNumberField.h"
#include "dialogs/DirectoryEdit.h"
#include "dialogs/FolderBrowseDialog.h"
#include "dialogs/PathsDialog.h"
#include "dialogs/Prompts.h"
#include "masterpoint/Commands.h"
#include "masterpoint/FileKind.h"
#include "masterpoint/FileName.h"
#include "masterpoint/FolderScan.h"
#include "masterpoint/LineList.h"
#include "settings/SettingsNames.h"
#include "settings/SettingsStore.h"
#include "settings/StoreSettings.h"
#include "viewer/ViewerWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>

using namespace SettingsNames;

namespace {

// Per-item data of the file list: the kind code, and the display text as the file
// system's bytes (the shown text may not hold every byte of an odd name).
constexpr int KindRole = Qt::UserRole;
constexpr int BytesRole = Qt::UserRole + 1;

// The buttons keep their distance from the right edge: at the initial width of 350
// their left edge is at 229.
constexpr int kInitialWidth = 350;
constexpr int kInitialHeight = 450;
constexpr int kButtonLeft = 229;
constexpr int kListWidth = 190;

QString withoutAccessKey(QString caption) {
    return caption.remove(QLatin1Char('&'));
}

QString decoded(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

} // namespace

// Feeds the scan's entries into the file list; the busy cursor starts with the walk.
class ScanToList : public mp::ScanListener {
public:
    ScanToList(MainWindow& window, BusyCursor& busy) : window_(window), busy_(busy) {}
    void addEntry(const mp::ListEntry& entry) override { window_.addEntry(entry); }
    bool convertExtensions() override { return window_.convertOnLocateAction()->isChecked(); }
    void walkStarted() override { busy_.start(); }

private:
    MainWindow& window_;
    BusyCursor& busy_;
};

MainWindow::MainWindow(Prompts& prompts, const QString& settingsLocation, QWidget* parent)
    : QMainWindow(parent), prompts_(prompts), settingsLocation_(settingsLocation) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Masterpoint file manager"));
    setWindowIcon(mpmgrWindowIcon());
    buildControls();
    buildMenus();
    folderBrowser_ = new FolderBrowseDialog(this);
    folderBrowser_->setObjectName(QStringLiteral("folderBrowser"));
    wire();
    setMinimumSize(kInitialWidth, kInitialHeight);
    resize(kInitialWidth, kInitialHeight);
    move(336, 134);
    guarded([this] { loadSettingsAndLocate(); });
}

MainWindow::~MainWindow() {
    hide();
    guarded([this] { closeViewersAndSaveOptions(); });
}

void MainWindow::buildControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    fileList_ = new QListWidget(client);
    fileList_->setObjectName(QStringLiteral("fileList"));
    fileList_->setAccessibleName(QStringLiteral("Masterpoint files"));
    fileList_->setUniformItemSizes(true);
    fileList_->setGeometry(0, 0, kListWidth, kInitialHeight);

    // Created in the order that gives the tab order View, Backup, Close, Locate,
    // Merge, Convert after the list.
    auto makeButton = [client](const char* name, const QString& caption, int top) {
        auto* button = new QPushButton(caption, client);
        button->setObjectName(QLatin1String(name));
        button->setAccessibleName(withoutAccessKey(caption));
        button->setAutoDefault(false);
        button->setGeometry(kButtonLeft, top, 75, 25);
        return button;
    };
    viewButton_ = makeButton("viewButton", QStringLiteral("&View"), 102);
    backUpButton_ = makeButton("backUpButton", QStringLiteral("&Backup"), 138);
    closeButton_ = makeButton("closeButton", QStringLiteral("&Close"), 208);
    locateButton_ = makeButton("locateButton", QStringLiteral("&Locate"), 32);
    mergeButton_ = makeButton("mergeButton", QStringLiteral("&Merge"), 173);
    convertButton_ = makeButton("convertButton", QStringLiteral("C&onvert"), 67);
    // Alt+O belongs to the Options menu, as the menu bar's keys come first; the
    // button keeps its underlined letter but not the key.
    convertButton_->setShortcut(QKeySequence());
    setTabOrder(fileList_, viewButton_);
    setTabOrder(viewButton_, backUpButton_);
    setTabOrder(backUpButton_, closeButton_);
    setTabOrder(closeButton_, locateButton_);
    setTabOrder(locateButton_, mergeButton_);
    setTabOrder(mergeButton_, convertButton_);
}

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));
    auto makeAction = [this](QMenu* menu, const char* name, const QString& caption) {
        auto* action = new QAction(caption, this);
        action->setObjectName(QLatin1String(name));
        if (menu)
            menu->addAction(action);
        return action;
    };
    fileMenu_ = bar->addMenu(QStringLiteral("&File"));
    fileMenu_->setObjectName(QStringLiteral("fileMenu"));
    fileMenu_->setAccessibleName(QStringLiteral("File"));
    fileMenu_->menuAction()->setObjectName(QStringLiteral("fileMenuAction"));
    locateAction_ = makeAction(fileMenu_, "locateAction", QStringLiteral("&Locate"));
    viewAction_ = makeAction(fileMenu_, "viewAction", QStringLiteral("&View"));
    backUpAction_ = makeAction(fileMenu_, "backUpAction", QStringLiteral("&Backup"));
    mergeAction_ = makeAction(fileMenu_, "mergeAction", QStringLiteral("&Merge"));
    closeAction_ = makeAction(fileMenu_, "closeAction", QStringLiteral("&Close"));
    convertAction_ = makeAction(fileMenu_, "convertAction", QStringLiteral("C&onvert extentions"));

    optionsMenu_ = bar->addMenu(QStringLiteral("&Options"));
    optionsMenu_->setObjectName(QStringLiteral("optionsMenu"));
    optionsMenu_->setAccessibleName(QStringLiteral("Options"));
    locateOnOpenAction_ =
        makeAction(optionsMenu_, "locateOnOpenAction", QStringLiteral("&Locate on open"));
    locateOnOpenAction_->setCheckable(true);
    convertOnLocateAction_ = makeAction(optionsMenu_, "convertOnLocateAction",
                                        QStringLiteral("&Convert extensions on locate"));
    convertOnLocateAction_->setCheckable(true);
    pathsAction_ = makeAction(optionsMenu_, "pathsAction", QStringLiteral("&Paths"));

    aboutAction_ = makeAction(nullptr, "aboutAction", QStringLiteral("&About"));
    bar->addAction(aboutAction_);
}

void MainWindow::wire() {
    const auto onClick = [this](QPushButton* button, const std::function<void()>& command) {
        connect(button, &QPushButton::clicked, this, [this, command] { guarded(command); });
    };
    const auto onTrigger = [this](QAction* action, const std::function<void()>& command) {
        connect(action, &QAction::triggered, this, [this, command] { guarded(command); });
    };
    // Locate asks for the folder whenever the user asks for it.
    const auto locateAsking = [this] { locate(FolderQuestion::Ask); };
    onClick(locateButton_, locateAsking);
    onClick(viewButton_, [this] { view(); });
    onClick(backUpButton_, [this] { backUp(); });
    onClick(closeButton_, [this] { close(); });
    onClick(mergeButton_, [this] { merge(); });
    onClick(convertButton_, [this] { convert(); });
    onTrigger(locateAction_, locateAsking);
    onTrigger(viewAction_, [this] { view(); });
    onTrigger(backUpAction_, [this] { backUp(); });
    onTrigger(mergeAction_, [this] { merge(); });
    onTrigger(closeAction_, [this] { close(); });
    onTrigger(convertAction_, [this] { convert(); });
    onTrigger(pathsAction_, [this] { editPaths(); });
    onTrigger(aboutAction_, [this] { showAbout(); });
    // The two option items are checkable actions: choosing one inverts its mark, and
    // that is all there is to them until the window stores them on its way out.
}

void MainWindow::attachDialogs(PathsDialog* paths, AboutBox* about) {
    pathsDialog_ = paths;
    aboutBox_ = about;
}

void MainWindow::guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        prompts_.showError(this, QString::fromLocal8Bit(error.what()));
    }
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    layoutButtons();
}

void MainWindow::layoutButtons() {
    QWidget* client = centralWidget();
    fileList_->setGeometry(0, 0, kListWidth, client->height());
    const int left = kButtonLeft + (width() - kInitialWidth);
    for (QPushButton* button :
         {locateButton_, viewButton_, backUpButton_, closeButton_, mergeButton_, convertButton_})
        button->move(left, button->y());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program, whatever viewers are still open.
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        QCoreApplication::quit();
}

void MainWindow::addEntry(const mp::ListEntry& entry) {
    auto* item = new QListWidgetItem(decoded(entry.displayText));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(entry.ticked ? Qt::Checked : Qt::Unchecked);
    item->setData(KindRole, entry.kindCode);
    item->setData(BytesRole, QByteArray::fromStdString(entry.displayText));
    fileList_->addItem(item);
}

std::vector<mp::ListEntry> MainWindow::entries() const {
    std::vector<mp::ListEntry> result;
    result.reserve(static_cast<std::size_t>(fileList_->count()));
    for (int row = 0; row < fileList_->count(); ++row) {
        const QListWidgetItem* item = fileList_->item(row);
        mp::ListEntry entry;
        entry.displayText = item->data(BytesRole).toByteArray().toStdString();
        entry.kindCode = item->data(KindRole).toInt();
        entry.ticked = item->checkState() == Qt::Checked;
        result.push_back(std::move(entry));
    }
    return result;
}

// ---- creation and destruction ----

void MainWindow::loadSettingsAndLocate() {
    QCoreApplication::setApplicationName(ApplicationName);
    const QString location = settingsLocation_.isEmpty()
                                 ? SettingsStore::defaultLocation(ApplicationName)
                                 : settingsLocation_;
    store_ = std::make_unique<SettingsStore>(location);
    settings_ = std::make_unique<StoreSettings>(*store_);
    locateOnOpenAction_->setChecked(store_->readBool(Options, LocateOnOpen, true));
    convertOnLocateAction_->setChecked(store_->readBool(Options, ConvertExtensions, false));
    if (locateOnOpenAction_->isChecked())
        locate(FolderQuestion::OnlyWhenNoneStored);
}

void MainWindow::closeViewersAndSaveOptions() {
    viewers_.releaseAll();
    if (store_) {
        store_->writeBool(Options, LocateOnOpen, locateOnOpenAction_->isChecked());
        store_->writeBool(Options, ConvertExtensions, convertOnLocateAction_->isChecked());
    }
    settings_.reset();
    store_.reset();
}

// ---- commands ----

void MainWindow::locate(FolderQuestion question) {
    if (store_->readString(Paths, MasterpointFolder, QString()).isEmpty() ||
        question == FolderQuestion::Ask) {
        folderBrowser_->title = QStringLiteral("Browser for masterpoint files");
        folderBrowser_->selectedFolder = store_->readString(Paths, MasterpointFolder, QString());
        if (!prompts_.browseForFolder(*folderBrowser_))
            return;
        store_->writeString(Paths, MasterpointFolder, folderBrowser_->selectedFolder);
    }
    fileList_->clear();
    viewers_.releaseAll();

    BusyCursor busy;
    ScanToList listener(*this, busy);
    mp::scanFolder(*settings_, listener);
}

void MainWindow::backUp() {
    if (fileList_->count() == 0) {
        prompts_.showMessage(this, QStringLiteral("Select files to backup"));
        return;
    }
    folderBrowser_->title = QStringLiteral("Select backup location/folder");
    folderBrowser_->selectedFolder = store_->readString(Paths, BackupFolder, QString());
    if (!prompts_.browseForFolder(*folderBrowser_))
        return;
    store_->writeString(Paths, BackupFolder, folderBrowser_->selectedFolder);
    if (mp::backupTicked(entries(), *settings_) == 0)
        prompts_.showMessage(this, QStringLiteral("Tick files to backup"));
}

void MainWindow::view() {
    int ticked = 0;
    for (const mp::ListEntry& entry : entries()) {
        if (!entry.ticked)
            continue;
        ++ticked;
        const QString key = decoded(entry.displayText);
        if (ViewerWindow* viewer = viewers_.find(key)) {
            viewer->restoreAndRaise();
            continue;
        }
        mp::LineList lines;
        lines.loadFromFile(mp::entryPath(entry, *settings_));
        const bool twoFigures = mp::isTwoFigureExtension(mp::entryExtension(entry));
        auto* viewer = new ViewerWindow(this);
        viewers_.add(key, viewer);
        viewer->showFile(key, std::move(lines), twoFigures);
        viewer->restoreAndRaise();
    }
    if (ticked == 0)
        prompts_.showMessage(this, QStringLiteral("Select file(s) to view"));
}

void MainWindow::editPaths() {
    if (!pathsDialog_)
        return;
    pathsDialog_->clubNumberField()->setAsInteger(store_->readInteger(Paths, ClubNumber, 0));
    pathsDialog_->masterpointFolderEdit()->setText(
        store_->readString(Paths, MasterpointFolder, QString()));
    pathsDialog_->backupFolderEdit()->setText(store_->readString(Paths, BackupFolder, QString()));
    pathsDialog_->masterpointFolderEdit()->folderDialog.directory =
        store_->readString(Paths, MasterpointFolder, QString());
    pathsDialog_->backupFolderEdit()->folderDialog.directory =
        store_->readString(Paths, BackupFolder, QString());
    if (prompts_.execDialog(*pathsDialog_) != QDialog::Accepted)
        return;
    store_->writeString(Paths, BackupFolder, pathsDialog_->backupFolderEdit()->text());
    store_->writeString(Paths, MasterpointFolder, pathsDialog_->masterpointFolderEdit()->text());
    store_->writeInteger(Paths, ClubNumber, pathsDialog_->clubNumberField()->asInteger());
}

void MainWindow::showAbout() {
    if (aboutBox_)
        prompts_.execDialog(*aboutBox_);
}

void MainWindow::merge() {
    if (fileList_->count() == 0) {
        prompts_.showMessage(this, QStringLiteral("Select files to merge"));
        return;
    }
    const std::vector<mp::ListEntry> list = entries();
    const mp::MergeCheck check = mp::checkMerge(list);
    if (check.outcome == mp::MergeCheck::DifferentExtensions) {
        prompts_.showMessage(this,
                             QStringLiteral("All merged files must be of the same extension type"));
        return;
    }
    if (check.outcome == mp::MergeCheck::TooFewTicked) {
        prompts_.showMessage(this, QStringLiteral("More than one file must be ticked to merge"));
        return;
    }
    const QString proposed = decoded(mp::proposedMergeName(*settings_, check.extension));
    const std::optional<QString> chosen = prompts_.chooseSaveName(this, proposed);
    if (!chosen)
        return;
    mp::mergeTicked(list, *settings_, QFile::encodeName(*chosen).toStdString());
}

void MainWindow::convert() {
    if (fileList_->count() == 0) {
        prompts_.showMessage(this, QStringLiteral("Select files to convert"));
        return;
    }
    if (mp::convertTicked(entries(), *settings_) == 0)
        prompts_.showMessage(this, QStringLiteral("Tick files to convert"));
    else
        locate(FolderQuestion::OnlyWhenNoneStored);
}
