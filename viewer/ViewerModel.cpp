#include "viewer/ViewerModel.h"

#include "viewer/MarkBrush.h"

#include <QBrush>
#include <QPalette>
#include <algorithm>
#include <limits>
#include <string>

ViewerModel::ViewerModel(mp::LineList lines, bool twoFigures, QObject* parent)
    : QAbstractTableModel(parent), lines_(std::move(lines)), twoFigures_(twoFigures) {
    const int rows = rowCount();
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const mp::LineCheck check = summary_.add(lines_.line(i), twoFigures_);
        if (check.marked() && i < static_cast<std::size_t>(rows))
            markedRows_.push_back(static_cast<int>(i));
    }
}

int ViewerModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    // Item views count rows in int; a file of more lines shows as many as fit.
    constexpr std::size_t maxRows = static_cast<std::size_t>(std::numeric_limits<int>::max());
    return static_cast<int>(std::min(lines_.size(), maxRows));
}

int ViewerModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return twoFigures_ ? 3 : 2;
}

QVariant ViewerModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    if (role == Qt::BackgroundRole || role == Qt::ToolTipRole) {
        const mp::CellMark mark = isMarkedRow(index.row())
                                      ? checkOf(index.row()).cells[std::size_t(index.column())]
                                      : mp::CellMark::None;
        if (role == Qt::ToolTipRole) {
            if (mark == mp::CellMark::NotANumber)
                return QStringLiteral("Not a number: not counted in the total");
            if (mark == mp::CellMark::NotARecord)
                return twoFigures_ ? QStringLiteral("Not a 19-digit record")
                                   : QStringLiteral("Not a 13-digit record");
            if (mark == mp::CellMark::Counted)
                return twoFigures_
                           ? QStringLiteral(
                                 "Counted in the total, but this line is not a 19-digit record")
                           : QStringLiteral(
                                 "Counted in the total, but this line is not a 13-digit record");
            return {};
        }
        if (mark != mp::CellMark::None)
            return markBrush();
        if (index.column() == 0)
            return QPalette().button();
        return {};
    }
    if (role != Qt::DisplayRole)
        return {};
    const std::string_view line = lines_.line(static_cast<std::size_t>(index.row()));
    std::string cell;
    switch (index.column()) {
    case 0:
        cell = mp::memberCell(line);
        break;
    case 1:
        cell = mp::firstFigureCell(line);
        break;
    default:
        cell = mp::secondFigureCell(line);
        break;
    }
    return QString::fromLatin1(cell.data(), static_cast<qsizetype>(cell.size()));
}

QVariant ViewerModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    return section == 0 ? QStringLiteral("Kavra No.") : QStringLiteral("Masterpoints");
}

Qt::ItemFlags ViewerModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

bool ViewerModel::isMarkedRow(int row) const {
    return std::binary_search(markedRows_.begin(), markedRows_.end(), row);
}

mp::LineCheck ViewerModel::checkOf(int row) const {
    return mp::checkLine(lines_.line(static_cast<std::size_t>(row)), twoFigures_);
}

int ViewerModel::markedColumnAfter(int row, int column) const {
    const mp::LineCheck check = checkOf(row);
    for (int c = column + 1; c < columnCount(); ++c)
        if (check.cells[std::size_t(c)] != mp::CellMark::None)
            return c;
    return -1;
}

QModelIndex ViewerModel::nextMarked(const QModelIndex& from) const {
    if (markedRows_.empty())
        return {};
    const bool valid = from.isValid() && from.model() == this;
    if (valid && isMarkedRow(from.row())) {
        const int column = markedColumnAfter(from.row(), from.column());
        if (column >= 0)
            return index(from.row(), column);
    }
    auto next = std::upper_bound(markedRows_.begin(), markedRows_.end(), valid ? from.row() : -1);
    if (next == markedRows_.end())
        next = markedRows_.begin();
    return index(*next, markedColumnAfter(*next, -1));
}
