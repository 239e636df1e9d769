// followbench: how quickly the list follows a large folder. In a folder of N files (made
// here when it has fewer; 100,000 by default) it times, as medians of five:
//   - the full scan that Locate makes (the core's scanFolder), and the start of
//     following the folder that comes after it;
//   - one look at the folder that finds nothing changed (FolderFollower::look);
//   - one look that finds one arrival, a file moved in whole, with its old time;
//   - in the real main window, from moving such a file in to its row being listed
//     (the platform's notification, the look and the list's update);
//   - in the real window, a file written into the folder at once: listed after it has
//     settled, which is a second by design.
// Prints the figures as rows of a markdown table.
//
//   followbench <scratch folder> [files]

#include "app/MainWindow.h"
#include "dialogs/Prompts.h"
#include "masterpoint/FileName.h"
#include "masterpoint/FolderFollower.h"
#include "masterpoint/FolderScan.h"
#include "settings/SettingsNames.h"
#include "settings/SettingsStore.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

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
    bool askYesNo(const QString& text) override { return complain(text), false; }
    bool askToProceed(const QString& text, const QString&) override {
        return complain(text), false;
    }
    bool choosePrinter(QPrinter&) override { return false; }
    void previewPrint(QPrinter&, const std::function<void(QPrinter&)>&) override {}
    void showError(const QString& text, const QString&) override { complain(text); }

private:
    static void complain(const QString& text) {
        std::fprintf(stderr, "followbench: %s\n", qPrintable(text));
    }
};

std::int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double msOf(const std::function<void()>& work) {
    QElapsedTimer clock;
    clock.start();
    work();
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

// A whole file beside the folder, an hour old, ready to be moved in.
QString staged(const QString& scratch, const QString& name) {
    const QString path = QDir(scratch).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write("1234567001250\r\n");
    file.flush(); // written before its time is set back
    file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                     QFileDevice::FileModificationTime);
    file.close();
    return path;
}

void moveIn(const QString& from, const QString& folder) {
    if (!QFile::rename(from, QDir(folder).filePath(QFileInfo(from).fileName())))
        qFatal("cannot move %s in", qPrintable(from));
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: followbench <scratch folder> [files]\n", stderr);
        return 2;
    }
    QApplication application(argc, argv);
    const QString scratch = QFile::decodeName(argv[1]);
    const int count = argc > 2 ? std::atoi(argv[2]) : 100000;
    const QString folder = QDir(scratch).filePath(QStringLiteral("mp"));
    QDir().mkpath(folder);
    if (static_cast<int>(QDir(folder).count()) - 2 < count) {
        for (int i = 0; i < count; ++i) {
            QFile file(QDir(folder).filePath(
                QStringLiteral("CLUB%1.GLD").arg(i, 7, 10, QLatin1Char('0'))));
            if (!file.open(QIODevice::WriteOnly))
                qFatal("cannot make the folder");
            file.write("1234567001250\r\n");
        }
    }
    const std::string bytes = QFile::encodeName(folder).toStdString();
    constexpr int kRuns = 5;
    int arrival = 0;
    const auto nextName = [&arrival] { return QStringLiteral("NEW%1.GLD").arg(arrival++); };

    std::vector<double> scan, still, one, window, settled;
    std::size_t listed = 0;
    for (int run = 0; run < kRuns; ++run) {
        scan.push_back(msOf([&] {
            mp::ScanResult result;
            mp::scanFolder(bytes, {}, result);
            listed = result.entries.size();
        }));
    }
    mp::ScanResult result;
    mp::scanFolder(bytes, {}, result);
    mp::FolderFollower follower;
    std::vector<double> starting;
    for (int run = 0; run < kRuns; ++run)
        starting.push_back(msOf([&] { follower.start(bytes, result.entries, nowNs()); }));
    for (int run = 0; run < kRuns; ++run)
        still.push_back(msOf([&] { follower.look(nowNs(), false); }));
    for (int run = 0; run < kRuns; ++run) {
        moveIn(staged(scratch, nextName()), folder);
        std::size_t added = 0;
        one.push_back(msOf([&] { added = follower.look(nowNs(), false).added.size(); }));
        if (added != 1)
            qFatal("the arrival was not listed");
    }

    SettingsStore store(QDir(scratch).filePath(QStringLiteral("followbench.ini")));
    store.writeString(SettingsNames::Paths, SettingsNames::MasterpointFolder, folder);
    NoAnswers prompts;
    MainWindow main(prompts, store);
    main.show();
    main.startUp();
    const QAbstractItemModel* model =
        main.findChild<QListView*>(QStringLiteral("fileList"))->model();
    const auto untilListed = [model](int rows) {
        QElapsedTimer clock;
        clock.start();
        while (model->rowCount() < rows && clock.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        if (model->rowCount() < rows)
            qFatal("not listed within 10 s");
        return static_cast<double>(clock.nsecsElapsed()) / 1e6;
    };
    for (int run = 0; run < kRuns; ++run) {
        const QString from = staged(scratch, nextName());
        const int rows = model->rowCount() + 1;
        moveIn(from, folder);
        window.push_back(untilListed(rows));
    }
    for (int run = 0; run < kRuns; ++run) {
        const int rows = model->rowCount() + 1;
        QFile file(QDir(folder).filePath(nextName()));
        file.open(QIODevice::WriteOnly);
        file.write("1234567001250\r\n");
        file.close();
        settled.push_back(untilListed(rows));
    }

    const auto row = [count](const char* what, double ms) {
        std::printf("| %s | %d | %.1f ms |\n", what, count, ms);
    };
    std::printf("| what | files in the folder | median of %d |\n|---|---|---|\n", kRuns);
    row("full scan (Locate), every file opened", median(scan));
    row("following started after the scan", median(starting));
    row("one look, nothing changed", median(still));
    row("one look, one arrival (moved in whole)", median(one));
    row("window: arrival moved in, until its row is listed", median(window));
    row("window: file written at once, until listed (settles 1 s)", median(settled));
    std::fprintf(stderr, "followbench: %zu files listed by the scan\n", listed);
    return 0;
}
