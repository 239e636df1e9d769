#include "dialogs/ChooseFolderDialog.h"

#include "dialogs/PlacedLabel.h"
#include "dialogs/Prompts.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStorageInfo>
#include <QStyle>
#include <QTreeWidget>

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

} // namespace

ChooseFolderDialog::ChooseFolderDialog(Prompts& prompts, const QString& startFolder,
                                       QWidget* parent)
    : QDialog(parent), prompts_(prompts) {
    setObjectName(QStringLiteral("ChooseFolderDialog"));
    setWindowTitle(QStringLiteral("Choose Folder"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(334, 261);

    QLabel* foldersLabel = addLabel(this, "foldersLabel", QStringLiteral("&Folders:"), 4, 8);

    pathLabel_ = new QLabel(this);
    pathLabel_->setObjectName(QStringLiteral("pathLabel"));
    pathLabel_->setGeometry(4, 28, 325, pathLabel_->fontMetrics().height() + 2);
    pathLabel_->setTextFormat(Qt::PlainText);

    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("folderTree"));
    tree_->setAccessibleName(QStringLiteral("Folders:"));
    tree_->setGeometry(4, 52, 325, 117);
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    tree_->setRootIsDecorated(false);
    tree_->setItemsExpandable(false);
    tree_->setExpandsOnDoubleClick(false);
    tree_->setUniformRowHeights(true);
    tree_->setIndentation(12);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    foldersLabel->setBuddy(tree_);
    // Only a double-click opens a folder; a click (or the arrow keys) highlights.
    connect(tree_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { openItem(item); });

    QLabel* drivesLabel = addLabel(this, "drivesLabel", QStringLiteral("Dri&ves:"), 4, 180);
    drives_ = new QComboBox(this);
    drives_->setObjectName(QStringLiteral("driveBox"));
    drives_->setAccessibleName(QStringLiteral("Drives:"));
    drives_->setGeometry(4, 198, 325, 19);
    drivesLabel->setBuddy(drives_);
    fillDrives();
    connect(drives_, &QComboBox::activated, this, [this](int index) { openDrive(index); });

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("okButton"));
    ok_->setGeometry(175, 228, 77, 27);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("cancelButton"));
    cancel_->setGeometry(252, 228, 77, 27);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

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
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        // Bind-mounted single files are volumes too, but nothing to browse.
        if (volume.isValid() && volume.isReady() && QFileInfo(volume.rootPath()).isDir())
            roots << QDir::cleanPath(volume.rootPath());
    }
    roots << QDir::cleanPath(QStorageInfo::root().rootPath());
    roots.removeDuplicates();
    roots.sort(Qt::CaseInsensitive);
    const QIcon icon = style()->standardIcon(QStyle::SP_DriveHDIcon);
    for (const QString& root : roots)
        drives_->addItem(icon, QDir::toNativeSeparators(root), root);
}

void ChooseFolderDialog::showOpenFolder() {
    if (open_.isEmpty())
        return;
    const QString shown = QDir::toNativeSeparators(open_);
    pathLabel_->setText(
        pathLabel_->fontMetrics().elidedText(shown, Qt::ElideMiddle, pathLabel_->width()));
    pathLabel_->setToolTip(shown);
    pathLabel_->setAccessibleName(shown);

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

    const QString volume = QDir::cleanPath(QStorageInfo(open_).rootPath());
    const int index = drives_->findData(volume);
    if (index >= 0)
        drives_->setCurrentIndex(index);
}

void ChooseFolderDialog::openItem(QTreeWidgetItem* item) {
    if (item)
        openFolderAt(item->data(0, PathRole).toString());
}

void ChooseFolderDialog::openDrive(int index) {
    openFolderAt(drives_->itemData(index).toString());
}
