#pragma once
// The one line of the main window's status bar as the commands see it: what the last
// command did, and how far a long scan has come.

#include <QString>

class StatusLine {
public:
    virtual ~StatusLine() = default;

    // What the command that has just ended did ("Converted 2 files"); it stays until the
    // next command. Empty text clears the line.
    virtual void showDone(const QString& text) = 0;
    // How far the work under way has come; shown at once, while the work goes on.
    virtual void showProgress(const QString& text) = 0;
};
