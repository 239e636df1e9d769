#include "viewer/ViewerGrid.h"

#include "widgets/DesignSize.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>

ViewerGrid::ViewerGrid(QWidget* parent) : QTableView(parent) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setWordWrap(false);
    setCornerButtonEnabled(false);

    verticalHeader()->hide();
    // Fixed, equal rows let the view place any row by arithmetic alone, which keeps
    // scrolling through a million rows immediate.
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(designPixels(24, font()));
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    horizontalHeader()->setDefaultSectionSize(designPixels(100, font()));
    // A window made wider gives the room to the last column.
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

QString ViewerGrid::selectedText() const {
    if (!model() || !selectionModel())
        return {};
    const QItemSelection selection = selectionModel()->selection();
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
    QString text;
    for (int row = top; row <= bottom; ++row) {
        if (row > top)
            text += QLatin1Char('\n');
        for (int column = left; column <= right; ++column) {
            if (column > left)
                text += QLatin1Char('\t');
            text += model()->index(row, column).data().toString();
        }
    }
    return text;
}

void ViewerGrid::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        const QString text = selectedText();
        if (!text.isEmpty())
            QApplication::clipboard()->setText(text);
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}
