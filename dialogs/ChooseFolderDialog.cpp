#include "dialogs/ChooseFolderDialog.h"

#include "dialogs/DialogControls.h"
#include "dialogs/Prompts.h"
#include "widgets/DesignSize.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStorageInfo>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int PathRole = Qt::UserRole;

QString absoluteClean(const QString& folder) {
    return QDir::cleanPath(QDir::current().absoluteFilePath(QDir::fromNativeSeparators(folder)));
}

// Why folder cannot be opened, or an empty text when it can.
QString whyNotOpenable(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.exists())
        return QStringLiteral("no such folder");
    if (!info.isDir())
        return QStringLiteral("not a folder");
#ifdef Q_OS_WIN
    const bool allowed = info.isReadable();
#else
    // Listing needs read permission and entering needs search permission.
    const bool allowed = info.isReadable() && info.isExecutable();
#endif
    if (!allowed)
        return QStringLiteral("access denied");
    return QString();
}

// The roots of the mounted volumes a user may browse. On Linux they come from the
// mount table alone: asking each volume anything (its size, whether it is ready, even a
// stat of its root) waits for as long as it does not answer, and a network share or a
// FUSE volume whose server is stuck does not answer for minutes. Kernel and system
// mounts are left out.
QStringList mountedRoots() {
    QStringList roots;
#ifdef Q_OS_LINUX
    QFile table(QStringLiteral("/proc/self/mounts"));
    if (!table.open(QIODevice::ReadOnly | QIODevice::Text))
        return roots;
    static const QStringList kernelTypes{
        "proc",       "sysfs",    "devtmpfs",  "devpts",  "cgroup",      "cgroup2",
        "securityfs", "pstore",   "bpf",       "debugfs", "tracefs",     "mqueue",
        "hugetlbfs",  "configfs", "fusectl",   "autofs",  "binfmt_misc", "rpc_pipefs",
        "nsfs",       "efivarfs", "selinuxfs", "ramfs"};
    static const QStringList systemFolders{"/proc", "/sys",  "/dev",  "/run",
                                           "/etc",  "/boot", "/snap", "/var/lib"};
    for (const QByteArray& line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 3 || kernelTypes.contains(QString::fromLatin1(fields[2])))
            continue;
        // Blanks and other odd bytes in a path are written as octal escapes ("\040").
        QByteArray path;
        const QByteArray& raw = fields[1];
        for (int i = 0; i < raw.size(); ++i) {
            if (raw[i] == '\\' && i + 3 < raw.size()) {
                path += char(raw.mid(i + 1, 3).toInt(nullptr, 8));
                i += 3;
            } else {
                path += raw[i];
            }
        }
        const QString root = QDir::cleanPath(QFile::decodeName(path));
        const bool system =
            std::any_of(systemFolders.begin(), systemFolders.end(), [&root](const QString& folder) {
                return root == folder || root.startsWith(folder + QLatin1Char('/'));
            });
        // Removable drives are mounted under /run/media on some systems.
        if (!system || root.startsWith(QStringLiteral("/run/media/")))
            roots << root;
    }
#else
    // Elsewhere the toolkit's list, which there asks the system for its drive letters.
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid())
            roots << QDir::cleanPath(volume.rootPath());
    }
#endif
    return roots;
}

} // namespace

ChooseFolderDialog::ChooseFolderDialog(Prompts& prompts, const QString& startFolder,
                                       QWidget* parent)
    : QDialog(parent), prompts_(prompts) {
    setObjectName(QStringLiteral("ChooseFolderDialog"));
    setWindowTitle(QStringLiteral("Choose Folder"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    const QFont& font = this->font();

    pathLabel_ = new QLabel(this);
    pathLabel_->setObjectName(QStringLiteral("pathLabel"));
    pathLabel_->setTextFormat(Qt::PlainText);
    // The path is shortened to the width the dialog gives it; it asks for none itself.
    pathLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);

    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("folderTree"));
    tree_->setMinimumSize(designSize(QSize(325, 117), font));
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    tree_->setRootIsDecorated(false);
    tree_->setItemsExpandable(false);
    tree_->setExpandsOnDoubleClick(false);
    tree_->setUniformRowHeights(true);
    tree_->setIndentation(12);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    // A double-click or Enter opens a folder; a click or the arrow keys only highlight.
    connect(tree_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { openItem(item); });
    tree_->installEventFilter(this);
    QLabel* foldersLabel = addBuddyLabel(this, "foldersLabel", QStringLiteral("&Folders:"), tree_);

    drives_ = new QComboBox(this);
    drives_->setObjectName(QStringLiteral("driveBox"));
    fillDrives();
    connect(drives_, &QComboBox::activated, this, [this](int index) { openDrive(index); });
    QLabel* drivesLabel = addBuddyLabel(this, "drivesLabel", QStringLiteral("Dri&ves:"), drives_);

    auto* buttons = new QDialogButtonBox(this);
    addDialogButton(buttons, "okButton", QStringLiteral("OK"), QDialogButtonBox::AcceptRole,
                    QSize(77, 27))
        ->setDefault(true);
    addDialogButton(buttons, "cancelButton", QStringLiteral("Cancel"), QDialogButtonBox::RejectRole,
                    QSize(77, 27));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    const int margin = designPixels(4, font);
    layout->setContentsMargins(margin, designPixels(8, font), margin, margin);
    layout->setSpacing(designPixels(4, font));
    layout->addWidget(foldersLabel);
    layout->addWidget(pathLabel_);
    layout->addWidget(tree_, 1);
    layout->addSpacing(designPixels(7, font));
    layout->addWidget(drivesLabel);
    layout->addWidget(drives_);
    layout->addSpacing(designPixels(4, font));
    layout->addWidget(buttons);
    // A fixed size: as drawn, or larger where the font needs it.
    setFixedSize(designSize(QSize(334, 261), font).expandedTo(layout->totalMinimumSize()));
    layout->activate();

    // A start folder that cannot be opened is reported now, before the dialog shows;
    // the dialog then falls back to the working folder, or the root if even that has
    // gone away.
    if (startFolder.isEmpty() || !openFolderAt(startFolder)) {
        if (!enterFolder(QDir::currentPath(), false))
            enterFolder(QDir::rootPath(), false);
    }

    tree_->setFocus();
    if (QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

bool ChooseFolderDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tree_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        QTreeWidgetItem* item = tree_->currentItem();
        // Enter on a highlighted folder opens it; on the open folder itself it goes on
        // to the default button, OK, which chooses it.
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && item &&
            item->data(0, PathRole).toString() != open_) {
            openItem(item);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ChooseFolderDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    showPath();
}

QString ChooseFolderDialog::chosenFolder() const {
    return QDir::toNativeSeparators(open_);
}

bool ChooseFolderDialog::openFolderAt(const QString& folder) {
    return enterFolder(folder, true);
}

bool ChooseFolderDialog::enterFolder(const QString& folder, bool report) {
    const QString path = absoluteClean(folder);
    const QString reason = whyNotOpenable(path);
    if (!reason.isEmpty()) {
        if (report)
            prompts_.showMessage(QStringLiteral("Cannot open folder %1: %2").arg(folder, reason));
        showOpenFolder(); // puts the drive box back on the open folder's volume
        return false;
    }
    // The program's working folder stays as it is: folders typed as relative paths
    // elsewhere in the program are resolved against it.
    open_ = path;
    showOpenFolder();
    return true;
}

void ChooseFolderDialog::fillDrives() {
    QStringList roots = mountedRoots();
    roots << QDir::rootPath();
    roots.removeDuplicates();
    roots.sort(Qt::CaseInsensitive);
    const QIcon icon = style()->standardIcon(QStyle::SP_DriveHDIcon);
    for (const QString& root : roots)
        drives_->addItem(icon, QDir::toNativeSeparators(root), root);
}

void ChooseFolderDialog::showOpenFolder() {
    if (open_.isEmpty())
        return;
    showPath();

    // The chain from the root down to the open folder, each an open folder icon, then
    // the open folder's own folders with closed icons.
    QStringList chain;
    for (QDir dir(open_);;) {
        chain.prepend(dir.absolutePath());
        if (dir.isRoot() || !dir.cdUp())
            break;
    }
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    tree_->clear();
    QTreeWidgetItem* parentItem = nullptr;
    for (const QString& path : chain) {
        const QString name =
            parentItem ? QFileInfo(path).fileName() : QDir::toNativeSeparators(path);
        auto* item = parentItem ? new QTreeWidgetItem(parentItem, {name})
                                : new QTreeWidgetItem(tree_, {name});
        item->setIcon(0, openIcon);
        item->setData(0, PathRole, path);
        parentItem = item;
    }
    const QFileInfoList subfolders = QDir(open_).entryInfoList(
        QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    for (const QFileInfo& info : subfolders) {
        auto* item = new QTreeWidgetItem(parentItem, {info.fileName()});
        item->setIcon(0, closedIcon);
        item->setData(0, PathRole, QDir::cleanPath(open_ + QLatin1Char('/') + info.fileName()));
    }
    tree_->expandAll();
    tree_->setCurrentItem(parentItem);
    tree_->scrollToItem(parentItem);

    // The volume is the listed root that holds the open folder, found by its path alone,
    // so that showing a folder never asks any other volume anything.
    int index = -1;
    int longest = -1;
    for (int i = 0; i < drives_->count(); ++i) {
        const QString root = drives_->itemData(i).toString();
        const bool holds =
            open_ == root || root == QDir::rootPath() || open_.startsWith(root + QLatin1Char('/'));
        if (holds && root.size() > longest) {
            index = i;
            longest = int(root.size());
        }
    }
    if (index >= 0)
        drives_->setCurrentIndex(index);
}

void ChooseFolderDialog::showPath() {
    const QString shown = QDir::toNativeSeparators(open_);
    pathLabel_->setText(
        pathLabel_->fontMetrics().elidedText(shown, Qt::ElideMiddle, pathLabel_->width()));
    pathLabel_->setToolTip(shown);
    pathLabel_->setAccessibleName(shown);
}

void ChooseFolderDialog::openItem(QTreeWidgetItem* item) {
    if (item)
        openFolderAt(item->data(0, PathRole).toString());
}

void ChooseFolderDialog::openDrive(int index) {
    openFolderAt(drives_->itemData(index).toString());
}
