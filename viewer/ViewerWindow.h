#pragma once
// A viewer window: one masterpoint file shown as a grid of member numbers and points
// under the headers "Kavra No." and "Masterpoints", with the total of each points
// column above it, and under it a status line: "N records" ("1 record"), followed by
// ", M not counted" when M lines have a figure that is not a number, the numbers grouped
// as the user's locale groups them. The grid gives up the status line's height; the
// window keeps its size.
//
// F8 moves the grid's current cell to the next marked cell (ViewerModel::nextMarked),
// wrapping after the last, wherever the focus is in the window.
//
// The window is a top-level window owned by the main window (destroyed with it at the
// latest). Closing it, by its "Close" button or by the close box, only hides it: it
// keeps its contents until its owner destroys it, and restoreAndRaise() shows it again.

#include "masterpoint/LineList.h"

#include <QWidget>

class QFrame;
class QLabel;
class QPushButton;
class QStatusBar;
class TotalField;
class ViewerGrid;
class ViewerModel;

class ViewerWindow : public QWidget {
    Q_OBJECT
public:
    explicit ViewerWindow(QWidget* owner);

    // Fills the window with lines (taken over, not copied) and shows it in front:
    // caption, one row per line, the layout's columns and outer width (233 pixels for
    // one figure, 333 for two; height 480), the first total set to the first column's sum in
    // points, the second total set and shown in the two-figure layout and hidden
    // otherwise.
    // The outer size counts the window frame: when the window system reports the frame
    // only after the window is shown, the size is corrected once it is known. On a
    // platform without frames it is the widget's own size.
    void showFile(const QString& caption, mp::LineList lines, bool twoFigures);

    // Shows the window in its normal state (neither minimised nor maximised), raised
    // and active.
    void restoreAndRaise();

    const ViewerModel* model() const { return model_; }

    ViewerGrid* grid() const { return grid_; }
    // The panel above the grid, holding the Close button and the totals.
    QFrame* totalsPanel() const { return totalsPanel_; }
    QPushButton* closeButton() const { return closeButton_; }
    QLabel* totalLabel() const { return totalLabel_; }
    TotalField* firstTotal() const { return firstTotal_; }
    TotalField* secondTotal() const { return secondTotal_; }
    QStatusBar* statusBar() const { return statusBar_; }
    QLabel* statusLine() const { return statusLine_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void setOuterSize(int width, int height);
    void applyPendingOuterSize();
    void moveToNextMark();

    ViewerGrid* grid_;
    QFrame* totalsPanel_;
    QPushButton* closeButton_;
    TotalField* firstTotal_;
    QLabel* totalLabel_;
    TotalField* secondTotal_;
    QStatusBar* statusBar_;
    QLabel* statusLine_;
    ViewerModel* model_ = nullptr;
    QSize pendingOuterSize_; // valid until the frame has been counted in
};
