// Program entry: the main window, the Paths dialog and the About box are made in this
// order, the main window is shown and the event loop runs; afterwards they are
// destroyed in the reverse order.

#include "app/MainWindow.h"
#include "app/QtPrompts.h"
#include "app/WindowIcon.h"
#include "dialogs/AboutBox.h"
#include "dialogs/PathsDialog.h"

#include <QApplication>
#include <memory>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setWindowIcon(mpmgrWindowIcon());
    QtPrompts prompts;

    auto mainWindow = std::make_unique<MainWindow>(prompts);
    auto pathsDialog = std::make_unique<PathsDialog>(prompts);
    auto aboutBox = std::make_unique<AboutBox>();
    mainWindow->attachDialogs(pathsDialog.get(), aboutBox.get());

    mainWindow->show();
    const int result = application.exec();

    aboutBox.reset();
    pathsDialog.reset();
    mainWindow.reset();
    return result;
}
