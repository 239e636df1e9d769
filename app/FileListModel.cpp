#include "app/FileListModel.h"

#include "app/NameText.h"
#include "masterpoint/Error.h"
#include "masterpoint/FileFacts.h"
#include "masterpoint/FileKind.h"
#include "masterpoint/FileName.h"
#include "masterpoint/TickedTotals.h"

#include <QDateTime>
#include <QLocale>
#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace {

// More changes than this at once (a drive's worth of files back) are made in one reset.
constexpr std::size_t kRowByRowAtMost = 200;

bool isBeforeByName(const mp::ListEntry& a, const mp::ListEntry& b) {
    return mp::isBeforeInNameOrder(a.fileName, b.fileName);
}

} // namespace

FileListModel::FileListModel(QObject* parent, mp::FileSystem& fileSystem)
    : QAbstractListModel(parent), fileSystem_(fileSystem) {}

void FileListModel::setEntries(std::vector<mp::ListEntry> entries, std::string folder) {
    beginResetModel();
    entries_ = std::move(entries);
    folder_ = std::move(folder);
    tips_.clear();
    folderThere_ = true;
    endResetModel();
}

void FileListModel::tickAll(bool ticked) {
    for (mp::ListEntry& entry : entries_)
        entry.ticked = ticked;
    ticksChanged();
}

void FileListModel::tickColour(const std::string& colour) {
    for (mp::ListEntry& entry : entries_)
        if (mp::entryColour(entry) == colour)
            entry.ticked = true;
    ticksChanged();
}

std::vector<std::string> FileListModel::colours() const {
    std::vector<std::string> colours;
    for (const mp::ListEntry& entry : entries_) {
        std::string colour = mp::entryColour(entry);
        if (std::find(colours.begin(), colours.end(), colour) == colours.end())
            colours.push_back(std::move(colour));
    }
    // The kinds first, in their order, as the Totals window lists the colours.
    const auto order = [](const std::string& colour) {
        const int code = mp::kindOfColourExtension("." + colour);
        return code != 0 ? code : 6;
    };
    std::stable_sort(
        colours.begin(), colours.end(),
        [&](const std::string& a, const std::string& b) { return order(a) < order(b); });
    return colours;
}

void FileListModel::ticksChanged() {
    if (!entries_.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::CheckStateRole});
}

void FileListModel::update(const std::vector<std::string>& removed,
                           std::vector<mp::ListEntry> added,
                           const std::vector<std::pair<std::string, std::string>>& renamed) {
    // Tips are kept by row: rows that move would show another file's facts.
    tips_.clear();
    std::unordered_map<std::string, bool> ticks; // new name: the tick of the old
    for (const auto& [from, to] : renamed) {
        const int row = rowOf(from);
        if (row >= 0)
            ticks[to] = entries_[static_cast<std::size_t>(row)].ticked;
    }
    for (mp::ListEntry& entry : added) {
        const auto tick = ticks.find(entry.fileName);
        entry.ticked = tick != ticks.end() && tick->second;
    }
    if (removed.size() + added.size() > kRowByRowAtMost) {
        const std::unordered_set<std::string> gone(removed.begin(), removed.end());
        std::vector<mp::ListEntry> kept;
        kept.reserve(entries_.size() + added.size());
        for (mp::ListEntry& entry : entries_)
            if (gone.count(entry.fileName) == 0)
                kept.push_back(std::move(entry));
        std::sort(added.begin(), added.end(), isBeforeByName);
        std::vector<mp::ListEntry> merged;
        merged.reserve(kept.size() + added.size());
        std::merge(std::make_move_iterator(kept.begin()), std::make_move_iterator(kept.end()),
                   std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()),
                   std::back_inserter(merged), isBeforeByName);
        setEntries(std::move(merged), folder_);
        return;
    }
    for (const std::string& name : removed) {
        const int row = rowOf(name);
        if (row < 0)
            continue;
        beginRemoveRows(QModelIndex(), row, row);
        entries_.erase(entries_.begin() + row);
        endRemoveRows();
    }
    for (mp::ListEntry& entry : added) {
        const auto place =
            std::upper_bound(entries_.begin(), entries_.end(), entry, isBeforeByName);
        const int row = static_cast<int>(place - entries_.begin());
        beginInsertRows(QModelIndex(), row, row);
        entries_.insert(place, std::move(entry));
        endInsertRows();
    }
}

void FileListModel::setFolderThere(bool there) {
    if (there == folderThere_)
        return;
    folderThere_ = there;
    if (!entries_.empty())
        emit dataChanged(index(0), index(rowCount() - 1));
}

int FileListModel::rowOf(const std::string& fileName) const {
    // In name order, so the entry is found among the few that sort as it does.
    auto it = std::lower_bound(entries_.begin(), entries_.end(), fileName,
                               [](const mp::ListEntry& entry, const std::string& name) {
                                   return mp::isBeforeInNameOrder(entry.fileName, name);
                               });
    for (; it != entries_.end() && !mp::isBeforeInNameOrder(fileName, it->fileName); ++it)
        if (it->fileName == fileName)
            return static_cast<int>(it - entries_.begin());
    // A list out of name order (not made by a scan): looked for one by one.
    for (std::size_t row = 0; row < entries_.size(); ++row)
        if (entries_[row].fileName == fileName)
            return static_cast<int>(row);
    return -1;
}

std::string FileListModel::fileNameAt(int row) const {
    return row >= 0 && row < rowCount() ? entries_[static_cast<std::size_t>(row)].fileName
                                        : std::string();
}

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

QString FileListModel::toolTip(std::size_t row) const {
    if (tips_.size() != qsizetype(entries_.size()))
        tips_ = QStringList(qsizetype(entries_.size()), QString());
    QString& tip = tips_[qsizetype(row)];
    if (!tip.isEmpty())
        return tip;
    const mp::ListEntry& entry = entries_[row];
    // The whole name first, should the list be narrower than it.
    tip = textOfBytes(entry.displayText) + QLatin1Char('\n');
    const QLocale locale;
    try {
        const mp::FileFacts facts = mp::readFileFacts(mp::entryPath(entry, folder_), fileSystem_);
        const QDateTime modified = QDateTime::fromSecsSinceEpoch(facts.modifiedSeconds);
        tip += QStringLiteral("%1, %2 bytes, %3")
                   .arg(locale.toString(modified, QLocale::ShortFormat),
                        locale.toString(qulonglong(facts.size)),
                        facts.records == 1 ? QStringLiteral("1 record")
                                           : QStringLiteral("%1 records")
                                                 .arg(locale.toString(qulonglong(facts.records))));
    } catch (const mp::Error& error) {
        tip += textOfBytes(error.what());
        if (error.reason())
            tip += QStringLiteral(": ") + textOfBytes(mp::describe(error.reason()));
    }
    return tip;
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const mp::ListEntry& entry = entries_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return textOfBytes(entry.displayText);
    case Qt::ToolTipRole:
        return toolTip(static_cast<std::size_t>(index.row()));
    case Qt::CheckStateRole:
        return entry.ticked ? Qt::Checked : Qt::Unchecked;
    default:
        return {};
    }
}

bool FileListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.row() >= rowCount() || role != Qt::CheckStateRole) {
        return false;
    }
    entries_[static_cast<std::size_t>(index.row())].ticked =
        static_cast<Qt::CheckState>(value.toInt()) == Qt::Checked;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    // Greyed while the folder is not there: the entries wait for it to come back.
    const Qt::ItemFlags enabled = folderThere_ ? Qt::ItemIsEnabled : Qt::NoItemFlags;
    return enabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemNeverHasChildren;
}
