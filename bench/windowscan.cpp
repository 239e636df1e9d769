// windowscan: starts the real main window as the program does, with "Locate on open"
// on and the masterpoint folder stored, and exits once the window has shown its list:
// the start-up scan as a user waits for it.
//
//   windowscan <settings.ini> <folder>     an empty folder times the start-up alone
//
// Prints the number of files listed, so that a wrong answer shows beside the timing.
// Every question is answered with cancel; none is expected.

#include "app/MainWindow.h"
#include "dialogs/Prompts.h"
#include "settings/SettingsNames.h"
#include "settings/SettingsStore.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QFile>
#include <QListView>
#include <cstdio>

namespace {

class NoAnswers : public Prompts {
public:
    std::optional<FolderChoice> browseForFolder(const QString&, const QString&, bool) override {
        return {};
    }
    std::optional<QString> chooseFolderInDialog(const QString&) override { return {}; }
    std::optional<QString> chooseSaveName(const QString&) override { return {}; }
    std::optional<PathSettings> editPaths(const PathSettings&) override { return {}; }
    void showAbout() override {}
    void showMessage(const QString& text) override { complain(text); }
    void showWarning(const QString& text) override { complain(text); }
    bool askYesNo(const QString& text) override {
        complain(text);
        return false;
    }
    bool askToProceed(const QString& text, const QString&) override {
        complain(text);
        return false;
    }
    bool choosePrinter(QPrinter&) override { return false; }
    void previewPrint(QPrinter&, const std::function<void(QPrinter&)>&) override {}
    void showError(const QString& text, const QString& reason) override {
        complain(text + QLatin1Char(' ') + reason);
    }

private:
    static void complain(const QString& text) {
        std::fprintf(stderr, "windowscan: %s\n", qPrintable(text));
    }
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: windowscan <settings.ini> <folder>\n", stderr);
        return 2;
    }
    QApplication application(argc, argv);
    const QString ini = QFile::decodeName(argv[1]);
    SettingsStore store(ini);
    // Written only when it differs, so that a timed run finds the store as it was.
    const QString folder = QFile::decodeName(argv[2]);
    if (store.readString(SettingsNames::Paths, SettingsNames::MasterpointFolder, {}) != folder)
        store.writeString(SettingsNames::Paths, SettingsNames::MasterpointFolder, folder);
    NoAnswers prompts;
    MainWindow window(prompts, store);
    // As the program starts: the window shows, then scans; the list is painted once
    // the scan has filled it.
    QObject::connect(&window, &MainWindow::startedUp, &application, [] {
        QCoreApplication::processEvents();
        QCoreApplication::quit();
    });
    window.showAndStartUp();
    application.exec();
    const auto* list = window.findChild<QListView*>(QStringLiteral("fileList"));
    std::printf("%d files listed\n", list->model()->rowCount());
    return 0;
}
