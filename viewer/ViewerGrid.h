#pragma once
// The viewer's grid: a TableGrid (header sort, Ctrl+C of the selected range, find)
// drawn as the viewer's: one rectangular range of cells selectable, fixed equal rows,
// no row headers, scrolling only up and down, the last column taking the width.

#include "viewer/TableGrid.h"

class ViewerGrid : public TableGrid {
    Q_OBJECT
public:
    explicit ViewerGrid(QWidget* parent = nullptr);
};
