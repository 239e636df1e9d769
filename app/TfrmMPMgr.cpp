#include "app/TfrmMPMgr.h"

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

#include <QAbstractButton>
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
    ScanToList(TfrmMPMgr& window, BusyCursor& busy) : window_(window), busy_(busy) {}
    void addEntry(const mp::ListEntry& entry) override { window_.addEntry(entry); }
    bool convertExtensions() override { return window_.Convertextensions1->isChecked(); }
    void walkStarted() override { busy_.start(); }

private:
    TfrmMPMgr& window_;
    BusyCursor& busy_;
};

TfrmMPMgr::TfrmMPMgr(Prompts& prompts, const QString& settingsLocation, QWidget* parent)
    : QMainWindow(parent), prompts_(prompts), settingsLocation_(settingsLocation) {
    setObjectName(QStringLiteral("frmMPMgr"));
    setWindowTitle(QStringLiteral("Masterpoint file manager"));
    setWindowIcon(mpmgrWindowIcon());
    buildControls();
    buildMenus();
    LMDBrowseDlg1 = new FolderBrowseDialog(this);
    LMDBrowseDlg1->setObjectName(QStringLiteral("LMDBrowseDlg1"));
    wire();
    setMinimumSize(kInitialWidth, kInitialHeight);
    resize(kInitialWidth, kInitialHeight);
    move(336, 134);
    guarded([this] { FormCreate(); });
}

TfrmMPMgr::~TfrmMPMgr() {
    if (!destroyed_) {
        hide();
        guarded([this] { FormDestroy(); });
    }
}

void TfrmMPMgr::buildControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    CheckListBox1 = new QListWidget(client);
    CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));
    CheckListBox1->setAccessibleName(QStringLiteral("Masterpoint files"));
    CheckListBox1->setUniformItemSizes(true);
    CheckListBox1->setGeometry(0, 0, kListWidth, kInitialHeight);

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
    Button2 = makeButton("Button2", QStringLiteral("&View"), 102);
    Button3 = makeButton("Button3", QStringLiteral("&Backup"), 138);
    Button4 = makeButton("Button4", QStringLiteral("&Close"), 208);
    Button1 = makeButton("Button1", QStringLiteral("&Locate"), 32);
    Button5 = makeButton("Button5", QStringLiteral("&Merge"), 173);
    Button6 = makeButton("Button6", QStringLiteral("C&onvert"), 67);
    // Alt+O belongs to the Options menu, as the menu bar's keys come first; the
    // button keeps its underlined letter but not the key.
    Button6->setShortcut(QKeySequence());
    setTabOrder(CheckListBox1, Button2);
    setTabOrder(Button2, Button3);
    setTabOrder(Button3, Button4);
    setTabOrder(Button4, Button1);
    setTabOrder(Button1, Button5);
    setTabOrder(Button5, Button6);
}

void TfrmMPMgr::buildMenus() {
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    auto makeAction = [this](QMenu* menu, const char* name, const QString& caption) {
        auto* action = new QAction(caption, this);
        action->setObjectName(QLatin1String(name));
        if (menu)
            menu->addAction(action);
        return action;
    };
    File1 = MainMenu1->addMenu(QStringLiteral("&File"));
    File1->setObjectName(QStringLiteral("File1"));
    File1->setAccessibleName(QStringLiteral("File"));
    File1->menuAction()->setObjectName(QStringLiteral("File1Action"));
    Locate1 = makeAction(File1, "Locate1", QStringLiteral("&Locate"));
    View1 = makeAction(File1, "View1", QStringLiteral("&View"));
    backup1 = makeAction(File1, "backup1", QStringLiteral("&Backup"));
    Merge1 = makeAction(File1, "Merge1", QStringLiteral("&Merge"));
    Close1 = makeAction(File1, "Close1", QStringLiteral("&Close"));
    Convertext1 = makeAction(File1, "Convertext1", QStringLiteral("C&onvert extentions"));

    Options1 = MainMenu1->addMenu(QStringLiteral("&Options"));
    Options1->setObjectName(QStringLiteral("Options1"));
    Options1->setAccessibleName(QStringLiteral("Options"));
    LocateOnOpen1 = makeAction(Options1, "LocateOnOpen1", QStringLiteral("&Locate on open"));
    LocateOnOpen1->setCheckable(true);
    Convertextensions1 =
        makeAction(Options1, "Convertextensions1", QStringLiteral("&Convert extensions on locate"));
    Convertextensions1->setCheckable(true);
    Paths1 = makeAction(Options1, "Paths1", QStringLiteral("&Paths"));

    About1 = makeAction(nullptr, "About1", QStringLiteral("&About"));
    MainMenu1->addAction(About1);
}

void TfrmMPMgr::wire() {
    using Handler = void (TfrmMPMgr::*)(QObject*);
    auto onClick = [this](QPushButton* button, Handler handler) {
        connect(button, &QPushButton::clicked, this,
                [this, button, handler] { guarded([&] { (this->*handler)(button); }); });
    };
    auto onTrigger = [this](QAction* action, Handler handler) {
        connect(action, &QAction::triggered, this,
                [this, action, handler] { guarded([&] { (this->*handler)(action); }); });
    };
    onClick(Button1, &TfrmMPMgr::Locate1Click);
    onClick(Button2, &TfrmMPMgr::View1Click);
    onClick(Button3, &TfrmMPMgr::backup1Click);
    onClick(Button4, &TfrmMPMgr::Close1Click);
    onClick(Button5, &TfrmMPMgr::Merge1Click);
    onClick(Button6, &TfrmMPMgr::Convertext1Click);
    onTrigger(Locate1, &TfrmMPMgr::Locate1Click);
    onTrigger(View1, &TfrmMPMgr::View1Click);
    onTrigger(backup1, &TfrmMPMgr::backup1Click);
    onTrigger(Merge1, &TfrmMPMgr::Merge1Click);
    onTrigger(Close1, &TfrmMPMgr::Close1Click);
    onTrigger(Convertext1, &TfrmMPMgr::Convertext1Click);
    onTrigger(Paths1, &TfrmMPMgr::Paths1Click);
    onTrigger(About1, &TfrmMPMgr::About1Click);
    // The two option items are checkable actions: choosing one inverts its mark,
    // which is all their handlers do, so they need no connection of their own.
}

void TfrmMPMgr::attachDialogs(PathsDialog* paths, AboutBox* about) {
    frmPaths_ = paths;
    aboutBox_ = about;
}

void TfrmMPMgr::guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        prompts_.showError(this, QString::fromLocal8Bit(error.what()));
    }
}

void TfrmMPMgr::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    layoutButtons();
}

void TfrmMPMgr::layoutButtons() {
    QWidget* client = centralWidget();
    CheckListBox1->setGeometry(0, 0, kListWidth, client->height());
    const int left = kButtonLeft + (width() - kInitialWidth);
    for (QPushButton* button : {Button1, Button2, Button3, Button4, Button5, Button6})
        button->move(left, button->y());
}

void TfrmMPMgr::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program, whatever viewers are still open.
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        QCoreApplication::quit();
}

void TfrmMPMgr::addEntry(const mp::ListEntry& entry) {
    auto* item = new QListWidgetItem(decoded(entry.displayText));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(entry.ticked ? Qt::Checked : Qt::Unchecked);
    item->setData(KindRole, entry.kindCode);
    item->setData(BytesRole, QByteArray::fromStdString(entry.displayText));
    CheckListBox1->addItem(item);
}

std::vector<mp::ListEntry> TfrmMPMgr::entries() const {
    std::vector<mp::ListEntry> result;
    result.reserve(static_cast<std::size_t>(CheckListBox1->count()));
    for (int row = 0; row < CheckListBox1->count(); ++row) {
        const QListWidgetItem* item = CheckListBox1->item(row);
        mp::ListEntry entry;
        entry.displayText = item->data(BytesRole).toByteArray().toStdString();
        entry.kindCode = item->data(KindRole).toInt();
        entry.ticked = item->checkState() == Qt::Checked;
        result.push_back(std::move(entry));
    }
    return result;
}

// ---- creation and destruction ----

void TfrmMPMgr::FormCreate() {
    QCoreApplication::setApplicationName(ApplicationName);
    const QString location = settingsLocation_.isEmpty()
                                 ? SettingsStore::defaultLocation(ApplicationName)
                                 : settingsLocation_;
    store_ = std::make_unique<SettingsStore>(location);
    settings_ = std::make_unique<StoreSettings>(*store_);
    LocateOnOpen1->setChecked(store_->readBool(Options, LocateOnOpen, true));
    Convertextensions1->setChecked(store_->readBool(Options, ConvertExtensions, false));
    if (LocateOnOpen1->isChecked())
        Locate1Click(this);
}

void TfrmMPMgr::FormDestroy() {
    destroyed_ = true;
    viewers_.releaseAll();
    if (store_) {
        store_->writeBool(Options, LocateOnOpen, LocateOnOpen1->isChecked());
        store_->writeBool(Options, ConvertExtensions, Convertextensions1->isChecked());
    }
    settings_.reset();
    store_.reset();
}

// ---- commands ----

void TfrmMPMgr::Locate1Click(QObject* sender) {
    const bool fromUser = qobject_cast<QAction*>(sender) || qobject_cast<QAbstractButton*>(sender);
    if (store_->readString(Paths, MasterpointFolder, QString()).isEmpty() || fromUser) {
        LMDBrowseDlg1->title = QStringLiteral("Browser for masterpoint files");
        LMDBrowseDlg1->selectedFolder = store_->readString(Paths, MasterpointFolder, QString());
        if (!prompts_.browseForFolder(*LMDBrowseDlg1))
            return;
        store_->writeString(Paths, MasterpointFolder, LMDBrowseDlg1->selectedFolder);
    }
    CheckListBox1->clear();
    viewers_.releaseAll();

    BusyCursor busy;
    ScanToList listener(*this, busy);
    mp::scanFolder(*settings_, listener);
}

void TfrmMPMgr::Close1Click(QObject*) {
    close();
}

void TfrmMPMgr::backup1Click(QObject*) {
    if (CheckListBox1->count() == 0) {
        prompts_.showMessage(this, QStringLiteral("Select files to backup"));
        return;
    }
    LMDBrowseDlg1->title = QStringLiteral("Select backup location/folder");
    LMDBrowseDlg1->selectedFolder = store_->readString(Paths, BackupFolder, QString());
    if (!prompts_.browseForFolder(*LMDBrowseDlg1))
        return;
    store_->writeString(Paths, BackupFolder, LMDBrowseDlg1->selectedFolder);
    if (mp::backupTicked(entries(), *settings_) == 0)
        prompts_.showMessage(this, QStringLiteral("Tick files to backup"));
}

void TfrmMPMgr::View1Click(QObject*) {
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

void TfrmMPMgr::LocateOnOpen1Click(QObject*) {
    LocateOnOpen1->toggle();
}

void TfrmMPMgr::Convertextensions1Click(QObject*) {
    Convertextensions1->toggle();
}

void TfrmMPMgr::Paths1Click(QObject*) {
    if (!frmPaths_)
        return;
    frmPaths_->clubNumberField()->setAsInteger(store_->readInteger(Paths, ClubNumber, 0));
    frmPaths_->masterpointFolderEdit()->setText(
        store_->readString(Paths, MasterpointFolder, QString()));
    frmPaths_->backupFolderEdit()->setText(store_->readString(Paths, BackupFolder, QString()));
    frmPaths_->masterpointFolderEdit()->folderDialog.directory =
        store_->readString(Paths, MasterpointFolder, QString());
    frmPaths_->backupFolderEdit()->folderDialog.directory =
        store_->readString(Paths, BackupFolder, QString());
    if (prompts_.execDialog(*frmPaths_) != QDialog::Accepted)
        return;
    store_->writeString(Paths, BackupFolder, frmPaths_->backupFolderEdit()->text());
    store_->writeString(Paths, MasterpointFolder, frmPaths_->masterpointFolderEdit()->text());
    store_->writeInteger(Paths, ClubNumber, frmPaths_->clubNumberField()->asInteger());
}

void TfrmMPMgr::About1Click(QObject*) {
    if (aboutBox_)
        prompts_.execDialog(*aboutBox_);
}

void TfrmMPMgr::Merge1Click(QObject*) {
    if (CheckListBox1->count() == 0) {
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

void TfrmMPMgr::Convertext1Click(QObject*) {
    if (CheckListBox1->count() == 0) {
        prompts_.showMessage(this, QStringLiteral("Select files to convert"));
        return;
    }
    if (mp::convertTicked(entries(), *settings_) == 0)
        prompts_.showMessage(this, QStringLiteral("Tick files to convert"));
    else
        Locate1Click(this);
}
