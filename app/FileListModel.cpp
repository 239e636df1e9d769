#include "app/FileListModel.h"

#include "app/NameText.h"
#include "masterpoint/Error.h"
#include "masterpoint/FileFacts.h"
#include "masterpoint/FileKind.h"
#include "masterpoint/TickedTotals.h"

#include <QDateTime>
#include <QLocale>
#include <algorithm>

FileListModel::FileListModel(QObject* parent, mp::FileSystem& fileSystem)
    : QAbstractListModel(parent), fileSystem_(fileSystem) {}

void FileListModel::setEntries(std::vector<mp::ListEntry> entries, std::string folder) {
    beginResetModel();
    entries_ = std::move(entries);
    folder_ = std::move(folder);
    tips_.clear();
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
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
           Qt::ItemNeverHasChildren;
}
