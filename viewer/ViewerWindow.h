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
// in the rows' current order, wrapping after the last, wherever the focus is in the
// window. Esc and Ctrl+W close it.
//
// A click on a column header sorts the lines (TableGrid); the totals and the status line
// stay as they are. Ctrl+F opens the find bar at the window's foot (FindBar), which
// finds member numbers in the rows as shown. The menu bar's File menu has "Save as
// CSV…" (Ctrl+S: TableSaver, the rows in the order shown, then the Total row), then
// "Print…", "Print preview…" and "Save as PDF…" (PrintActions: the rows as shown, the
// Total row and the status line on the last page), whose outcome the message beside
// the status line says, and Close; its Edit menu the find steps and "Next mark" (F8)
// (TableMenus). Enter in the Find member window selects a line here (selectLine).
//
// The window is a top-level window owned by the main window (destroyed with it at the
// latest). Closing it, by its "Close" button, the keys or the close box, only hides it:
// it keeps its contents until its owner destroys it, and restoreAndRaise() shows it
// again. Hiding stores its size; a store that cannot be written is logged, never shown.

#include "masterpoint/LineList.h"
#include "widgets/TableMenus.h"
#include "widgets/WindowGeometry.h"

#include <QWidget>
#include <cstdint>

class FindBar;
class QLabel;
class Prompts;
class SettingsStore;
class TotalField;
class ViewerGrid;
class ViewerModel;

class ViewerWindow : public QWidget {
    Q_OBJECT
public:
    // Questions (the save name, replacing a file, a file that cannot be written) go
    // through prompts.
    ViewerWindow(QWidget* owner, SettingsStore& store, Prompts& prompts);

    // Fills the window with lines (taken over, not copied) and shows it in front:
    // caption, one row per line, the layout's columns, the first total set to the first
    // column's sum in points, the second total set and shown in the two-figure layout
    // and hidden otherwise, the status line; sized as the last viewer was.
    void showFile(const QString& caption, mp::LineList lines, bool twoFigures);
    // The same without showing it, so that whoever opens it can place it first.
    void setFile(const QString& caption, mp::LineList lines, bool twoFigures);

    // The folder the file is in, for the head of its printed pages.
    void setFolder(const QString& folder) { folder_ = folder; }

    // Makes line (from 0) the grid's current row, selected whole and scrolled into view,
    // with the focus; nothing when the file has no such line.
    void selectLine(std::uint64_t line);

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
    void saveAsCsv();
    void buildMenus();
    // Print..., Print preview... and Save as PDF... in the File menu (PrintActions).
    void addPrinting();

    WindowGeometry geometry_;
    ViewerGrid* grid_;
    TotalField* firstTotal_;
    TotalField* secondTotal_;
    QLabel* statusLine_;
    QLabel* messageLine_;
    FindBar* findBar_;
    QLabel* fileNote_ = nullptr;
    ViewerModel* model_ = nullptr;
    Prompts& prompts_;
    SettingsStore& store_;
    QString folder_;
    // Printing's entries go into menus_.file before menus_.printPlace.
    TableMenus menus_;
};
