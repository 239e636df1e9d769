#include "app/MainWindow.h"

#include "app/FileListModel.h"
#include "app/FilesLog.h"
#include "app/NameText.h"
#include "app/TotalsWindow.h"
#include "app/WindowIcon.h"
#include "dialogs/Prompts.h"
#include "masterpoint/Error.h"
#include "settings/SettingsNames.h"
#include "settings/SettingsStore.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>

using namespace SettingsNames;

namespace {

// The buttons keep their distance from the right edge: at the initial width of 350
// their left edge is at 229.
constexpr int kInitialWidth = 350;
constexpr int kInitialHeight = 450;
constexpr int kButtonLeft = 229;
constexpr int kListWidth = 190;

QString withoutAccessKey(QString caption) {
    return caption.remove(QLatin1Char('&'));
}

} // namespace

MainWindow::MainWindow(Prompts& prompts, const QString& settingsLocation,
                       mp::FileSystem& fileSystem, QWidget* parent)
    : QMainWindow(parent), prompts_(prompts),
      viewers_(this, [this]() -> SettingsStore& { return *store_; }) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Masterpoint file manager"));
    setWindowIcon(mpmgrWindowIcon());
    // The store is named after the application; opening it reports nothing.
    QCoreApplication::setApplicationName(ApplicationName);
    store_ = std::make_unique<SettingsStore>(settingsLocation.isEmpty()
                                                 ? SettingsStore::defaultLocation(ApplicationName)
                                                 : settingsLocation);
    files_ = new FileListModel(this);
    totalsWindow_ = new TotalsWindow(this, *store_);
    commands_ = std::make_unique<FileCommands>(prompts_, *store_, *files_, viewers_, *totalsWindow_,
                                               fileSystem);
    buildControls();
    buildMenus();
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

    fileList_ = new QListView(client);
    fileList_->setObjectName(QStringLiteral("fileList"));
    fileList_->setAccessibleName(QStringLiteral("Masterpoint files"));
    fileList_->setUniformItemSizes(true);
    fileList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fileList_->setModel(files_);
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
    totalsAction_ =
        makeAction(fileMenu_, "totalsAction", QStringLiteral("&Totals of ticked files"));
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
    FileCommands& commands = *commands_;
    // Locate asks for the folder whenever the user asks for it.
    const auto locate = [&commands] { commands.locate(FileCommands::FolderQuestion::Ask); };
    const auto view = [&commands] { commands.view(); };
    const auto backUp = [&commands] { commands.backUp(); };
    const auto merge = [&commands] { commands.merge(); };
    const auto convert = [&commands] { commands.convert(); };
    const auto closeWindow = [this] { close(); };
    onClick(locateButton_, locate);
    onClick(viewButton_, view);
    onClick(backUpButton_, backUp);
    onClick(closeButton_, closeWindow);
    onClick(mergeButton_, merge);
    onClick(convertButton_, convert);
    onTrigger(locateAction_, locate);
    onTrigger(viewAction_, view);
    onTrigger(backUpAction_, backUp);
    onTrigger(mergeAction_, merge);
    onTrigger(totalsAction_, [&commands] { commands.totals(); });
    onTrigger(closeAction_, closeWindow);
    onTrigger(convertAction_, convert);
    onTrigger(pathsAction_, [&commands] { commands.editPaths(); });
    onTrigger(aboutAction_, [this] { prompts_.showAbout(); });
    // The two option items are checkable actions: choosing one inverts its mark. The
    // window stores both on its way out; the scan asks for the second each time.
    connect(convertOnLocateAction_, &QAction::toggled, this,
            [&commands](bool on) { commands.setConvertOnLocate(on); });
}

void MainWindow::guarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const mp::Error& error) {
        const QString message = textOfBytes(error.what());
        logFailure(message, error.reason());
        prompts_.showError(message);
    } catch (const std::exception& error) {
        const QString message = textOfBytes(error.what());
        qCWarning(filesLog).noquote() << message;
        prompts_.showError(message);
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

std::vector<mp::ListEntry> MainWindow::entries() const {
    return files_->entries();
}

// ---- creation and destruction ----

void MainWindow::loadSettingsAndLocate() {
    locateOnOpenAction_->setChecked(store_->readBool(Options, LocateOnOpen, true));
    convertOnLocateAction_->setChecked(store_->readBool(Options, ConvertExtensions, false));
    if (locateOnOpenAction_->isChecked())
        commands_->locate(FileCommands::FolderQuestion::OnlyWhenNoneStored);
}

void MainWindow::closeViewersAndSaveOptions() {
    viewers_.closeAll();
    store_->writeBool(Options, LocateOnOpen, locateOnOpenAction_->isChecked());
    store_->writeBool(Options, ConvertExtensions, convertOnLocateAction_->isChecked());
}
