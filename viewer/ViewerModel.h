#pragma once
// The viewer's grid as a table model over a file's lines: one row per line, the member
// number in column 0 and the one or two masterpoint figures after it, each cell cut
// from its line when asked for. Nothing is stored per cell, so a file of a million
// records costs its bytes and one offset per line.
//
// The bytes are shown one character per byte (Latin-1): a cell is cut by byte
// position, and a one-to-one mapping keeps every byte visible as itself, where a
// multi-byte decoding could split a character across two cells or replace bytes it
// cannot decode.
//
// Column 0 is the fixed column: it answers BackgroundRole with the palette's button
// brush so it reads as headings, yet stays selectable.
//
// A cell that checkLine marks (a figure that is not a number, a figure counted on a line
// that is not a record, or where such a line first departs from the format) answers
// BackgroundRole with markBrush() and ToolTipRole with the reason.
// The model reads every line once when it is made: the totals, the counts of the
// status line and which rows hold a mark.

#include "masterpoint/FileSummary.h"
#include "masterpoint/LineList.h"

#include <QAbstractTableModel>
#include <vector>

class ViewerModel : public QAbstractTableModel {
    Q_OBJECT
public:
    ViewerModel(mp::LineList lines, bool twoFigures, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    bool twoFigures() const { return twoFigures_; }
    // Column sums in hundredths over every line, each line added as one guarded unit.
    mp::Totals totals() const { return summary_.totals; }
    // Records, lines not counted, lines out of format and what they add (members are
    // not counted here).
    const mp::FileSummary& summary() const { return summary_; }

    // The next marked cell after from in reading order (the rest of its row, then the
    // rows below), wrapping to the first marked cell after the last; from the start when
    // from is invalid. Invalid when no cell is marked.
    QModelIndex nextMarked(const QModelIndex& from) const;

private:
    // The first marked cell of row after column, or -1.
    int markedColumnAfter(int row, int column) const;
    bool isMarkedRow(int row) const;
    mp::LineCheck checkOf(int row) const;

    mp::LineList lines_;
    bool twoFigures_;
    mp::FileSummary summary_;
    std::vector<int> markedRows_; // ascending
};
