#include "app/MainWindow.h"

#include "app/FileListModel.h"
#include "app/FilesLog.h"
#include "app/FolderWatcher.h"
#include "app/MemberWindow.h"
#include "app/NameText.h"
#include "app/TotalsWindow.h"
#include "app/WindowIcon.h"
#include "dialogs/Prompts.h"
#include "masterpoint/Error.h"
#include "settings/SettingsNames.h"
#include "settings/SettingsStore.h"
#include "widgets/DesignSize.h"
#include "widgets/ScreenFit.h"
#include "widgets/WindowGeometry.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QWindow>

using namespace SettingsNames;

namespace {

// The window as drawn: its size and place, the list's width, the buttons' size, the
// first button's top, the gap between buttons, between the list and the buttons, and
// to the right edge. Design pixels, scaled by the font.
const QSize kDesignSize(350, 450);
const QPoint kDesignPosition(336, 134);
constexpr int kListWidth = 190;
const QSize kButtonSize(75, 25);
constexpr int kFirstButtonTop = 32;
constexpr int kButtonGap = 10;
constexpr int kListToButtons = 39;
constexpr int kRightMargin = 30;

// Should the window never be exposed (started minimised, say), the start-up scan
// still runs, this long after the window was shown.
constexpr int kStartUpAtTheLatestMs = 1000;

QString withoutAccessKey(QString caption) {
    return caption.remove(QLatin1Char('&'));
}

// The system's reason as a line of its own: "No such file or directory".
QString plainReason(std::error_code reason) {
    if (!reason)
        return QString();
    QString text = textOfBytes(mp::describe(reason));
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

} // namespace

MainWindow::MainWindow(Prompts& prompts, SettingsStore& store, mp::FileSystem& fileSystem,
                       QWidget* parent)
    : QMainWindow(parent), prompts_(prompts), store_(store), viewers_(this, store_, prompts_),
      geometry_(store_, QStringLiteral("MainWindow"), WindowGeometry::Keep::SizeAndPosition) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Masterpoint file manager"));
    setWindowIcon(mpmgrWindowIcon());
    files_ = new FileListModel(this, fileSystem);
    totalsWindow_ = new TotalsWindow(this, store_, prompts_);
    memberWindow_ = new MemberWindow(this, store_, prompts_);
    commands_ = std::make_unique<FileCommands>(prompts_, store_, *files_, viewers_, *totalsWindow_,
                                               static_cast<StatusLine&>(*this), fileSystem);
    watcher_ = new FolderWatcher(this);
    buildControls();
    viewers_.keepClearOf(fileList_);
    buildMenus();
    wire();
    // The drawn size, scaled by the font, is the least the window may be made; but on a
    // small screen (or a large scale factor) that could exceed the screen itself, and a
    // window that cannot be made to fit loses its foot, the status line, off the
    // screen's edge. So the least fits, frame and all, on the smallest screen present,
    // wherever the window is moved; what the layout needs always stands.
    const QSize smallest = smallestFreeArea();
    QSize least = designSize(kDesignSize, font());
    if (smallest.isValid())
        least = least.boundedTo(roomIn(*this, QRect(QPoint(0, 0), smallest)));
    setMinimumSize(least.expandedTo(minimumSizeHint()));
    resize(minimumSize());
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    const QFont& font = this->font();

    fileList_ = new QListView(client);
    fileList_->setObjectName(QStringLiteral("fileList"));
    fileList_->setAccessibleName(QStringLiteral("Masterpoint files"));
    fileList_->setUniformItemSizes(true);
    fileList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fileList_->setModel(files_);
    fileList_->setMinimumWidth(designPixels(kListWidth, font));
    buildTicking();

    // Created in the order that gives the tab order View, Backup, Close, Locate,
    // Merge, Convert after the list.
    auto makeButton = [client](const char* name, const QString& caption) {
        auto* button = new QPushButton(caption, client);
        button->setObjectName(QLatin1String(name));
        button->setAccessibleName(withoutAccessKey(caption));
        button->setAutoDefault(false);
        return button;
    };
    viewButton_ = makeButton("viewButton", QStringLiteral("&View"));
    backUpButton_ = makeButton("backUpButton", QStringLiteral("&Backup"));
    closeButton_ = makeButton("closeButton", QStringLiteral("&Close"));
    locateButton_ = makeButton("locateButton", QStringLiteral("&Locate"));
    mergeButton_ = makeButton("mergeButton", QStringLiteral("&Merge"));
    // Alt+O is the Options menu's: Convert takes E, which nothing else in the window has.
    convertButton_ = makeButton("convertButton", QStringLiteral("Conv&ert"));
    setTabOrder(fileList_, viewButton_);
    setTabOrder(viewButton_, backUpButton_);
    setTabOrder(backUpButton_, closeButton_);
    setTabOrder(closeButton_, locateButton_);
    setTabOrder(locateButton_, mergeButton_);
    setTabOrder(mergeButton_, convertButton_);

    // One column of buttons of one size: the design size, or what the widest caption
    // needs in the user's font.
    const QList<QPushButton*> column{locateButton_, convertButton_, viewButton_,
                                     backUpButton_, mergeButton_,   closeButton_};
    QSize buttonSize = designSize(kButtonSize, font);
    for (QPushButton* button : column)
        buttonSize = buttonSize.expandedTo(button->sizeHint());
    auto* buttons = new QVBoxLayout;
    buttons->setContentsMargins(0, designPixels(kFirstButtonTop, font), 0, 0);
    buttons->setSpacing(designPixels(kButtonGap, font));
    for (QPushButton* button : column) {
        button->setFixedSize(buttonSize);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);

    // The list takes whatever width the window gains; the buttons stay at the right.
    auto* row = new QHBoxLayout(client);
    row->setContentsMargins(0, 0, designPixels(kRightMargin, font), 0);
    row->setSpacing(designPixels(kListToButtons, font));
    row->addWidget(fileList_, 1);
    row->addLayout(buttons);

    // Two lines, one above the other: what the last command did, and the note on the
    // list's folder, shown only while there is one.
    auto* statusLines = new QWidget(this);
    statusLines->setObjectName(QStringLiteral("statusLines"));
    auto* lines = new QVBoxLayout(statusLines);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(0);
    auto makeLine = [statusLines, lines](const char* name) {
        auto* line = new QLabel(statusLines);
        line->setObjectName(QLatin1String(name));
        line->setTextInteractionFlags(Qt::TextSelectableByMouse);
        // A long path must not widen the window: the line takes the width there is, and
        // its tool tip holds the whole text.
        line->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        lines->addWidget(line);
        return line;
    };
    statusText_ = makeLine("statusText");
    listFolderNote_ = makeLine("listFolderNote");
    listFolderNote_->hide();
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    statusBar()->addWidget(statusLines, 1);
}

void MainWindow::buildTicking() {
    // On the list itself, so that Ctrl+A in another window's field selects its text.
    const auto listAction = [this](const char* name, const QString& caption,
                                   const QKeySequence& keys) {
        auto* action = new QAction(caption, fileList_);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetShortcut);
        fileList_->addAction(action);
        return action;
    };
    QAction* all = listAction("tickAllAction", QStringLiteral("Tick &all"),
                              QKeySequence(Qt::CTRL | Qt::Key_A));
    QAction* none = listAction("tickNoneAction", QStringLiteral("Tick &none"),
                               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    connect(all, &QAction::triggered, this, [this] { files_->tickAll(true); });
    connect(none, &QAction::triggered, this, [this] { files_->tickAll(false); });

    // The colours are those listed when the menu opens (the mouse's right button or the
    // menu key).
    fileList_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(fileList_, &QWidget::customContextMenuRequested, this, [this, all, none](QPoint at) {
        auto* menu = new QMenu(fileList_);
        menu->setObjectName(QStringLiteral("fileListMenu"));
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->addAction(all);
        menu->addAction(none);
        const std::vector<std::string> colours = files_->colours();
        if (!colours.empty())
            menu->addSeparator();
        for (const std::string& colour : colours) {
            QAction* action =
                menu->addAction(QStringLiteral("Tick all %1").arg(textOfBytes(colour)));
            action->setObjectName(QStringLiteral("tickColourAction") + textOfBytes(colour));
            connect(action, &QAction::triggered, this,
                    [this, colour] { files_->tickColour(colour); });
        }
        menu->popup(fileList_->viewport()->mapToGlobal(at));
    });
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
    QMenu* fileMenu = bar->addMenu(QStringLiteral("&File"));
    fileMenu->setObjectName(QStringLiteral("fileMenu"));
    fileMenu->setAccessibleName(QStringLiteral("File"));
    fileMenu->menuAction()->setObjectName(QStringLiteral("fileMenuAction"));
    locateAction_ = makeAction(fileMenu, "locateAction", QStringLiteral("&Locate"));
    refreshAction_ = makeAction(fileMenu, "refreshAction", QStringLiteral("&Refresh"));
    refreshAction_->setShortcut(QKeySequence(Qt::Key_F5));
    viewAction_ = makeAction(fileMenu, "viewAction", QStringLiteral("&View"));
    backUpAction_ = makeAction(fileMenu, "backUpAction", QStringLiteral("&Backup"));
    mergeAction_ = makeAction(fileMenu, "mergeAction", QStringLiteral("&Merge"));
    totalsAction_ = makeAction(fileMenu, "totalsAction", QStringLiteral("&Totals of ticked files"));
    findMemberAction_ =
        makeAction(fileMenu, "findMemberAction", QStringLiteral("&Find member\u2026"));
    findMemberAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    closeViewersAction_ =
        makeAction(fileMenu, "closeViewersAction", QStringLiteral("Close &all viewers"));
    closeViewersAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W));
    closeAction_ = makeAction(fileMenu, "closeAction", QStringLiteral("&Close"));
    // The same key as the button, and the only E of the menu.
    convertAction_ = makeAction(fileMenu, "convertAction", QStringLiteral("Conv&ert extentions"));

    QMenu* optionsMenu = bar->addMenu(QStringLiteral("&Options"));
    optionsMenu->setObjectName(QStringLiteral("optionsMenu"));
    optionsMenu->setAccessibleName(QStringLiteral("Options"));
    locateOnOpenAction_ =
        makeAction(optionsMenu, "locateOnOpenAction", QStringLiteral("&Locate on open"));
    locateOnOpenAction_->setCheckable(true);
    convertOnLocateAction_ = makeAction(optionsMenu, "convertOnLocateAction",
                                        QStringLiteral("&Convert extensions on locate"));
    convertOnLocateAction_->setCheckable(true);
    pathsAction_ = makeAction(optionsMenu, "pathsAction", QStringLiteral("&Paths"));

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
    onTrigger(refreshAction_,
              [this, &commands] { keepingPlace([&commands] { commands.refresh(); }); });
    connect(watcher_, &FolderWatcher::lookNow, this, [this, &commands] {
        // A command waiting on a question (or saying how far it has come) lets events
        // in: the list changes only once it is over.
        if (running_ > 0) {
            lookDeferred_ = true;
            return;
        }
        guarded([this, &commands] { keepingPlace([&commands] { commands.follow(); }); });
    });
    connect(watcher_, &FolderWatcher::watchFailed, this, [this](const QString& folder) {
        showDone(QStringLiteral("Changes in %1 are not reported by the system: the list looks "
                                "at the folder every %2 seconds")
                     .arg(folder)
                     .arg(FolderWatcher::kPollSeconds));
    });
    viewers_.onRereadWanted([this, &commands](const std::string& fileName) {
        guarded([&commands, fileName] { commands.reread(fileName); });
    });
    onTrigger(viewAction_, view);
    onTrigger(backUpAction_, backUp);
    onTrigger(mergeAction_, merge);
    onTrigger(totalsAction_, [&commands] { commands.totals(); });
    onTrigger(findMemberAction_, [this, &commands] {
        if (std::optional<mp::MemberIndex> index = commands.indexMembers())
            memberWindow_->showIndex(std::move(*index), files_->folder());
    });
    memberWindow_->setOpener([this, &commands](const mp::ListEntry& entry,
                                               const std::string& folder, std::uint64_t line) {
        guarded([&] { commands.viewLine(entry, folder, line); });
    });
    onTrigger(closeViewersAction_, [this] { viewers_.closeAll(); });
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
    ++running_;
    try {
        command();
    } catch (const mp::Error& error) {
        const QString message = textOfBytes(error.what());
        logFailure(message, error.reason());
        prompts_.showError(message, plainReason(error.reason()));
    } catch (const std::exception& error) {
        const QString message = textOfBytes(error.what());
        qCWarning(filesLog).noquote() << message;
        prompts_.showError(message, QString());
    }
    --running_;
    showListFolderNote();
    watchFolder();
    if (running_ == 0 && lookDeferred_) {
        lookDeferred_ = false;
        watcher_->lookAgainIn(0);
    }
}

void MainWindow::watchFolder() {
    QStringList files;
    for (const std::string& path : commands_->viewedPaths())
        files << textOfBytes(path);
    watcher_->watch(commands_->followedFolder(), files);
    if (const std::optional<int> ms = commands_->lookAgainIn())
        watcher_->lookAgainIn(*ms);
}

void MainWindow::keepingPlace(const std::function<void()>& command) {
    // Rows come and go above the view: the entry the user was looking at stays in place.
    const int top = fileList_->indexAt(QPoint(1, 1)).row();
    const std::string topName = files_->fileNameAt(top);
    command();
    const int row = topName.empty() ? -1 : files_->rowOf(topName);
    if (row >= 0 && row != top)
        fileList_->scrollTo(files_->index(row), QAbstractItemView::PositionAtTop);
}

void MainWindow::showListFolderNote() {
    QString note;
    try {
        note = commands_->listFolderNote();
    } catch (const std::exception& error) {
        // A store that cannot be read is said by the next command that needs it; the
        // note only goes.
        qCWarning(filesLog).noquote() << textOfBytes(error.what());
    }
    listFolderNote_->setText(note);
    listFolderNote_->setToolTip(note);
    listFolderNote_->setVisible(!note.isEmpty());
}

void MainWindow::changeEvent(QEvent* event) {
    // Back from another program, perhaps another copy of this one, which may have
    // stored another masterpoint folder.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        showListFolderNote();
    QMainWindow::changeEvent(event);
}

void MainWindow::showDone(const QString& text) {
    statusText_->setText(text);
    statusText_->setToolTip(text);
}

void MainWindow::showProgress(const QString& text) {
    statusText_->setText(text);
    statusText_->setToolTip(text);
    // Paints the line now; what the user types or clicks waits until the scan is over.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// ---- start-up and shut-down ----

void MainWindow::showAndStartUp() {
    geometry_.restore(*this, kDesignSize, kDesignPosition);
    startUpDue_ = true;
    create();
    windowHandle()->installEventFilter(this);
    show();
    QTimer::singleShot(kStartUpAtTheLatestMs, this, [this] { startUpOnce(); });
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == windowHandle() && event->type() == QEvent::Expose &&
        windowHandle()->isExposed()) {
        watched->removeEventFilter(this);
        // Queued, so that the window has been painted first.
        QTimer::singleShot(0, this, [this] { startUpOnce(); });
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::startUpOnce() {
    if (!startUpDue_)
        return;
    startUpDue_ = false;
    startUp();
}

void MainWindow::startUp() {
    guarded([this] {
        locateOnOpenAction_->setChecked(store_.readBool(Options, LocateOnOpen, true));
        convertOnLocateAction_->setChecked(store_.readBool(Options, ConvertExtensions, false));
        if (locateOnOpenAction_->isChecked())
            commands_->locate(FileCommands::FolderQuestion::OnlyWhenNoneStored);
    });
    emit startedUp();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Said while the window is still there, should the store refuse; once.
    guarded([this] {
        closeViewersAndSaveOptions();
        if (isVisible())
            geometry_.save(*this);
    });
    QMainWindow::closeEvent(event);
    // Closing the main window ends the program, whatever viewers are still open.
    if (event->isAccepted())
        QCoreApplication::quit();
}

void MainWindow::closeViewersAndSaveOptions() {
    viewers_.closeAll();
    // Closed rather than destroyed with the window, so that it keeps its place.
    totalsWindow_->close();
    memberWindow_->close();
    store_.writeBool(Options, LocateOnOpen, locateOnOpenAction_->isChecked());
    store_.writeBool(Options, ConvertExtensions, convertOnLocateAction_->isChecked());
}
