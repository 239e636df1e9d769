#pragma once
// A viewer window: one masterpoint file shown as a grid of member numbers and points
// under the headers "Kavra No." and "Masterpoints", with a panel above it holding the
// "Close" button and the total of each points column, and under it a status line:
// "N records" ("1 record"), then ", M not counted" when M lines have a figure that is
// not a number, then ", K out of format, adding X" when K lines that are not records
// still add to the totals, X being what they add to the first total ("X / Y" with two
// figures); counts grouped and points written as the user's locale writes them. A
// total that takes in lines out of format is marked as the grid marks cells, its tool
// tip saying what they add to it (outOfFormatNote).
//
// The window is laid out by the user's font: the design sizes (233 pixels wide for one
// figure, 333 for two, 480 high; columns 100 and rows 24 pixels) scaled by designSize,
// the columns never narrower than their headers, the totals fields never narrower than
// their texts, the status line wrapped rather than cut. The grid takes whatever the
// window grows by. Every viewer opens at the size the last one closed with (kept in the
// settings store under "Viewer"), never too narrow for its columns.
//
// When its file changes or goes, the window says so in a marked line under the status
// line ("This file has changed since it was opened: press F5 to read it again", "This
// file has been removed") and goes on showing what it read: nothing is read again but
// at the user's word. F5 asks for the file to be read again (rereadWanted()), and
// rereadFile() then shows it, keeping the selection, the current cell and the scroll
// position where those rows still exist.
//
// F8 moves the grid's current cell to the next marked cell (ViewerModel::nextMarked),
// wrapping after the last, wherever the focus is in the window. Esc and Ctrl+W close it.
//
// The window is a top-level window owned by the main window (destroyed with it at the
// latest). Closing it, by its "Close" button, the keys or the close box, only hides it:
// it keeps its contents until its owner destroys it, and restoreAndRaise() shows it
// again. Hiding stores its size; a store that cannot be written is logged, never shown.

#include "masterpoint/LineList.h"
#include "widgets/WindowGeometry.h"

#include <QWidget>

class QLabel;
class SettingsStore;
class TotalField;
class ViewerGrid;
class ViewerModel;

class ViewerWindow : public QWidget {
    Q_OBJECT
public:
    ViewerWindow(QWidget* owner, SettingsStore& store);

    // Fills the window with lines (taken over, not copied) and shows it in front:
    // caption, one row per line, the layout's columns, the first total set to the first
    // column's sum in points, the second total set and shown in the two-figure layout
    // and hidden otherwise, the status line; sized as the last viewer was.
    void showFile(const QString& caption, mp::LineList lines, bool twoFigures);
    // The same without showing it, so that whoever opens it can place it first.
    void setFile(const QString& caption, mp::LineList lines, bool twoFigures);

    // Shows the window in its normal state (neither minimised nor maximised), raised
    // and active.
    void restoreAndRaise();

    // Says, in the marked line, that the file has changed since it was read, or gone.
    void noteFileChanged(bool removed);
    // Shows lines, the file read again, in place of what it showed; the note goes.
    void rereadFile(mp::LineList lines);

signals:
    // F5: the user asks for the file to be read again.
    void rereadWanted();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Sizes each column to its design width or its header, whichever is wider; returns
    // their sum.
    int fitColumns();
    void moveToNextMark();

    WindowGeometry geometry_;
    ViewerGrid* grid_;
    TotalField* firstTotal_;
    TotalField* secondTotal_;
    QLabel* statusLine_;
    QLabel* fileNote_ = nullptr;
    ViewerModel* model_ = nullptr;
};
