#include "viewer/TableGrid.h"

#include "masterpoint/TableFind.h"
#include "viewer/TableModel.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <algorithm>

TableGrid::TableGrid(QWidget* parent) : QTableView(parent) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setWordWrap(false);
    // The model sorts itself: the view's own sorting would reorder through sort().
    setSortingEnabled(false);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setSortIndicatorShown(true);
    horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &TableGrid::sortByHeader);
    // A header press would select its column and move the current cell to the top row:
    // a click sorts here, and the current row stays the row it was.
    horizontalHeader()->disconnect(SIGNAL(sectionPressed(int)), this);
    horizontalHeader()->disconnect(SIGNAL(sectionEntered(int)), this);
    horizontalHeader()->setHighlightSections(false);
}

void TableGrid::setTableModel(TableModel* model) {
    model_ = model;
    setModel(model);
    horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
}

void TableGrid::sortByHeader(int column) {
    if (model_ == nullptr)
        return;
    const QModelIndex current = currentIndex();
    clearSelection();
    model_->cycleSort(column);
    // The header flipped its indicator on the click; it shows what the model did.
    showSortIndicator();
    if (current.isValid())
        scrollTo(currentIndex());
}

void TableGrid::sortAs(int column, mp::SortDirection direction) {
    if (model_ == nullptr)
        return;
    model_->sortBy(column, direction);
    showSortIndicator();
}

void TableGrid::showSortIndicator() {
    const mp::RowOrder& order = model_->order();
    if (order.direction() == mp::SortDirection::None)
        horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    else
        horizontalHeader()->setSortIndicator(int(order.column()),
                                             order.direction() == mp::SortDirection::Ascending
                                                 ? Qt::AscendingOrder
                                                 : Qt::DescendingOrder);
}

QString TableGrid::copiedText() const {
    if (model_ == nullptr)
        return {};
    if (copiesWhole_)
        return model_->tabText(0, model_->rowCount() - 1, 0, model_->columnCount() - 1, true);
    const QItemSelection selection =
        selectionModel() ? selectionModel()->selection() : QItemSelection();
    if (selection.isEmpty())
        return {};
    int top = selection.first().top();
    int bottom = selection.first().bottom();
    int left = selection.first().left();
    int right = selection.first().right();
    for (const QItemSelectionRange& range : selection) {
        top = std::min(top, range.top());
        bottom = std::max(bottom, range.bottom());
        left = std::min(left, range.left());
        right = std::max(right, range.right());
    }
    return model_->tabText(top, bottom, left, right, false);
}

FindBar::Outcome TableGrid::find(const QString& digits, FindBar::Step step) {
    if (model_ == nullptr)
        return FindBar::Outcome::NotFound;
    const QModelIndex current = currentIndex();
    const int from = current.isValid() && !model_->isFootRow(current.row()) ? current.row() : 0;
    const mp::FindStep how = step == FindBar::Step::Here   ? mp::FindStep::Here
                             : step == FindBar::Step::Next ? mp::FindStep::Next
                                                           : mp::FindStep::Previous;
    const mp::RowOrder& shown = model_->order();
    const mp::FindResult result =
        mp::findRow(model_->table(), shown, digits.toStdString(), std::size_t(from), how);
    if (!result.found || int(result.position) >= model_->bodyRows())
        return FindBar::Outcome::NotFound;
    goToRow(int(result.position));
    return result.wrapped ? FindBar::Outcome::Wrapped : FindBar::Outcome::Found;
}

void TableGrid::goToRow(int row) {
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    const QModelIndex target = model()->index(row, column);
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect |
                                                  QItemSelectionModel::Rows);
    scrollTo(target);
}

void TableGrid::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        const QString text = copiedText();
        if (!text.isEmpty())
            QApplication::clipboard()->setText(text);
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}
