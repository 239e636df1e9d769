// Program entry: the main window is made (which may run the start-up scan), shown, and
// the event loop runs until it closes.

#include "app/MainWindow.h"
#include "app/QtPrompts.h"
#include "app/WindowIcon.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setWindowIcon(mpmgrWindowIcon());
    QtPrompts prompts;
    MainWindow window(prompts);
    window.show();
    return application.exec();
}
