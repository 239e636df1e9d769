#include "viewer/ViewerModel.h"

#include <QBrush>
#include <QPalette>
#include <algorithm>
#include <limits>
#include <string>

ViewerModel::ViewerModel(mp::LineList lines, bool twoFigures, QObject* parent)
    : QAbstractTableModel(parent), lines_(std::move(lines)), twoFigures_(twoFigures) {}

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
    if (role == Qt::BackgroundRole && index.column() == 0)
        return QPalette().button();
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

mp::Totals ViewerModel::totals() const {
    mp::Totals totals;
    for (std::size_t i = 0; i < lines_.size(); ++i)
        totals.add(lines_.line(i), twoFigures_);
    return totals;
}
