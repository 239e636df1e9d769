#pragma once
// The viewer's grid as a table model over a file's lines (mp::LinesTable): one row per
// line, the member number in column 0 and the one or two masterpoint figures after it,
// each cell cut from its line when asked for, shown one character per byte. Nothing is
// stored per cell, so a file of a million records costs its bytes and one offset per
// line (and one index per line each way once sorted).
//
// Column 0 is the fixed column: it answers BackgroundRole with the palette's button
// brush so it reads as headings, yet stays selectable. Marked cells (LinesTable) are
// shaded, their reason in the tool tip. The Total row is not among the rows: the
// window shows it above the grid.

#include "masterpoint/LinesTable.h"
#include "viewer/TableModel.h"

class ViewerModel : public TableModel {
    Q_OBJECT
public:
    ViewerModel(mp::LineList lines, bool twoFigures, QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    bool twoFigures() const { return lines_->twoFigures(); }
    // Column sums in hundredths over every line, each line added as one guarded unit.
    mp::Totals totals() const { return lines_->summary().totals; }
    // Records, lines not counted, lines out of format and what they add.
    const mp::FileSummary& summary() const { return lines_->summary(); }
    const mp::LinesTable& lines() const { return *lines_; }

    // The next marked cell after from in reading order of the rows as shown (the rest
    // of its row, then the rows below), wrapping to the first marked cell after the
    // last; from the start when from is invalid. Invalid when no cell is marked.
    QModelIndex nextMarked(const QModelIndex& from) const;

private:
    ViewerModel(std::shared_ptr<const mp::LinesTable> lines, QObject* parent);
    // The first marked cell of row after column, or -1.
    int markedColumnAfter(int row, int column) const;

    std::shared_ptr<const mp::LinesTable> lines_;
};
