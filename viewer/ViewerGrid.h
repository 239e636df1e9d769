#pragma once
// The viewer's grid: a read-only table of cells where the user selects one rectangular
// range of cells and copies it with the standard Copy key (Ctrl+C) as tab-separated
// text, one line per row, rows joined by a newline.

#include <QTableView>

class ViewerGrid : public QTableView {
    Q_OBJECT
public:
    explicit ViewerGrid(QWidget* parent = nullptr);

    // The selected range as copied: the display texts of the selection's bounding
    // rectangle, cells joined by tabs, rows by "\n" (no newline after the last row).
    // Empty when nothing is selected.
    QString selectedText() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
