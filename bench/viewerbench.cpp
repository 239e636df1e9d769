// viewerbench: opens a masterpoint file in the real viewer window, offscreen, and tells
// how long it took until the grid had its model and the totals were shown, and the
// process's peak memory. Run with QT_QPA_PLATFORM=offscreen.
//
//   viewerbench sum <file> [two]      read and sum only, in this process: the reference
//   viewerbench window <file> [two]   read, build the window, show it, process events once
//   viewerbench empty                 an empty window only: the memory floor
//
// Both window modes first show and drop an empty viewer, so fonts and styles are loaded
// before the clock starts, as they are in the running program once its main window is up.

#include "dialogs/Prompts.h"
#include "masterpoint/LineList.h"
#include "masterpoint/Record.h"
#include "settings/SettingsStore.h"
#include "viewer/TotalField.h"
#include "viewer/ViewerModel.h"
#include "viewer/ViewerWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <exception>
#include <string>
#include <sys/resource.h>

namespace {

long peakRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A viewer asks nothing while it is measured: every question is answered "cancel".
class SilentPrompts : public Prompts {
public:
    std::optional<FolderChoice> browseForFolder(const QString&, const QString&, bool) override {
        return std::nullopt;
    }
    std::optional<QString> chooseFolderInDialog(const QString&) override { return std::nullopt; }
    std::optional<QString> chooseSaveName(const QString&) override { return std::nullopt; }
    std::optional<PathSettings> editPaths(const PathSettings&) override { return std::nullopt; }
    void showAbout() override {}
    void showMessage(const QString&) override {}
    void showWarning(const QString&) override {}
    bool askYesNo(const QString&) override { return false; }
    bool askToProceed(const QString&, const QString&) override { return false; }
    bool choosePrinter(QPrinter&) override { return false; }
    void previewPrint(QPrinter&, const std::function<void(QPrinter&)>&) override {}
    void showError(const QString&, const QString&) override {}
};

Prompts& silentPrompts() {
    static SilentPrompts prompts;
    return prompts;
}

// Where the viewers keep their size: a folder of the run's own, never the user's file.
SettingsStore& scratchStore() {
    static QTemporaryDir folder;
    static SettingsStore store(folder.filePath(QStringLiteral("settings.ini")));
    return store;
}

double milliseconds(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void warmUp() {
    ViewerWindow viewer(nullptr, scratchStore(), silentPrompts());
    viewer.showFile(QStringLiteral("warm-up"), mp::LineList(), false);
    QApplication::processEvents();
}

int sum(const std::string& path, bool twoFigures) {
    QElapsedTimer timer;
    timer.start();
    mp::LineList lines;
    lines.loadFromFile(path);
    mp::Totals totals;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        totals.add(lines.line(i), twoFigures);
    }
    const double elapsed = milliseconds(timer);
    std::printf("readsum_ms=%.3f lines=%zu total1=%lld peak_rss_kb=%ld\n", elapsed, lines.size(),
                static_cast<long long>(totals.first), peakRssKb());
    return 0;
}

int window(const std::string& path, bool twoFigures) {
    warmUp();
    QElapsedTimer timer;
    timer.start();
    mp::LineList lines;
    lines.loadFromFile(path);
    const std::size_t count = lines.size();
    const double loaded = milliseconds(timer);
    ViewerWindow viewer(nullptr, scratchStore(), silentPrompts());
    viewer.showFile(QString::fromStdString(path), std::move(lines), twoFigures);
    const double built = milliseconds(timer);
    QApplication::processEvents();
    const double elapsed = milliseconds(timer);

    const auto* total = viewer.findChild<TotalField*>(QStringLiteral("firstTotal"));
    const auto* model = viewer.findChild<const ViewerModel*>();
    if (model == nullptr || total == nullptr || total->text().isEmpty() ||
        static_cast<std::size_t>(model->rowCount()) != count) {
        std::fputs("viewerbench: the window is not ready\n", stderr);
        return 1;
    }
    // Where the time went: reading, building and filling the window (the totals
    // included), the first round of events (layout and first paint).
    std::printf("ready_ms=%.3f rows=%d total1=%s peak_rss_kb=%ld read_ms=%.3f show_ms=%.3f "
                "events_ms=%.3f\n",
                elapsed, model->rowCount(), qPrintable(total->text().trimmed()), peakRssKb(),
                loaded, built - loaded, elapsed - built);
    return 0;
}

int empty() {
    warmUp();
    ViewerWindow viewer(nullptr, scratchStore(), silentPrompts());
    viewer.showFile(QStringLiteral("empty"), mp::LineList(), false);
    QApplication::processEvents();
    std::printf("peak_rss_kb=%ld\n", peakRssKb());
    return 0;
}

int usage() {
    std::fputs("usage: viewerbench sum|window <file> [two]\n"
               "       viewerbench empty\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        return usage();
    }
    const QString mode = args.at(1);
    const bool twoFigures = args.size() > 3 && args.at(3) == QLatin1String("two");
    try {
        if (mode == QLatin1String("empty") && args.size() == 2) {
            return empty();
        }
        if ((mode == QLatin1String("sum") || mode == QLatin1String("window")) &&
            (args.size() == 3 || args.size() == 4)) {
            const std::string path = args.at(2).toStdString();
            return mode == QLatin1String("sum") ? sum(path, twoFigures) : window(path, twoFigures);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "viewerbench: %s\n", error.what());
        return 1;
    }
    return usage();
}
