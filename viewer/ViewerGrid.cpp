#include "viewer/ViewerGrid.h"

#include "widgets/DesignSize.h"

#include <QHeaderView>

ViewerGrid::ViewerGrid(QWidget* parent) : TableGrid(parent) {
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
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
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}
