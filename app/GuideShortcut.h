#pragma once
// F1 in any window of the program, modal dialogs included, opens the guide window.
// Made once beside the application (and destroyed before it), it watches every key the
// application delivers.
// Without a modal dialog one guide window serves every window, opens on the screen of
// the window the user is in and is raised again on the next F1; over a modal dialog the guide opens
// as that dialog's own window, so it can be read and scrolled while the dialog waits, and closes
// with it.

#include <QObject>
#include <QPointer>
#include <QStringList>

class GuideWindow;
class QApplication;

class GuideShortcut : public QObject {
    Q_OBJECT
public:
    explicit GuideShortcut(QApplication& application,
                           const QStringList& locations = defaultGuideLocations());
    ~GuideShortcut() override;

    // Shows the guide window for the window the user is in now.
    void openGuide();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static QStringList defaultGuideLocations();

    QStringList locations_;
    QPointer<GuideWindow> window_; // the one without a modal dialog, made on first use
};
