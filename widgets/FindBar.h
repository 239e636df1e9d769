#pragma once
// The find bar at the foot of a window (never a modal box): a field whose accessible
// name is "Find member", taking digits, and a note beside it saying "Search wrapped"
// or "Not found" after a step. The window does the finding: it hears searched() and
// answers with report().
//
// Typing asks for the first match at or after the current row (Here); Enter, F3 and
// the down arrow the next one, Shift+F3 and the up arrow the one before. Esc
// in the bar closes it and hands the focus back (closed()); the window's own Esc, a
// second one, closes the window. The bar adds to its window the actions Find (Ctrl+F:
// opens the bar, the field's text selected), Find next (F3) and Find previous
// (Shift+F3), for the window's menus.

#include <QWidget>

class QAction;
class QLabel;
class QLineEdit;

class FindBar : public QWidget {
    Q_OBJECT
public:
    enum class Step { Here, Next, Previous };
    enum class Outcome { Found, Wrapped, NotFound };

    // A hidden bar, its actions added to window.
    explicit FindBar(QWidget& window);

    QAction* findAction() const { return findAction_; }
    QAction* nextAction() const { return nextAction_; }
    QAction* previousAction() const { return previousAction_; }

    // Shows the bar with the focus in its field, the text selected.
    void open();
    QString text() const;
    // Says how the last step went: nothing, "Search wrapped" or "Not found".
    void report(Outcome outcome);

signals:
    void searched(const QString& digits, FindBar::Step step);
    // Esc hid the bar: the window puts the focus back where the rows are.
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void step(Step step);

    QLineEdit* field_;
    QLabel* note_;
    QAction* findAction_;
    QAction* nextAction_;
    QAction* previousAction_;
};
