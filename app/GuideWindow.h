#pragma once
// The scorer's guide in a window of the program: the first of the given locations that
// holds the guide is shown as Markdown, with its pictures found beside it. Where none
// holds it, the window says so and lists every location it looked in.
//
// It opens at its design size scaled by the font, within its screen's free area
// (placeOnScreen); Esc and Ctrl+W close it.

#include <QStringList>
#include <QWidget>

class QTextBrowser;

class GuideWindow : public QWidget {
    Q_OBJECT
public:
    explicit GuideWindow(const QStringList& locations, QWidget* parent = nullptr);

    // Where the program looks for the guide, in order: beside the executable as the
    // package lays it out, where the package installs it, and in the source tree the
    // program was built from.
    static QStringList defaultLocations();

private:
    void showMissing(const QStringList& locations);

    QTextBrowser* browser_;
};
