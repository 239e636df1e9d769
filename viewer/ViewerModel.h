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

#include "masterpoint/LineList.h"
#include "masterpoint/Record.h"

#include <QAbstractTableModel>

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
    mp::Totals totals() const;

private:
    mp::LineList lines_;
    bool twoFigures_;
};
