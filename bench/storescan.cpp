// storescan: the folder scan as the program runs it, with the masterpoint folder read
// from a real settings store for every file, where mpbench scan hands the core a fixed
// folder. The store is an INI file of its own, which holds only the folder; it is
// written only when it holds another folder, so that timed runs after the first do
// not wait for the disk to take a settings file.
//
//   storescan <store.ini> <folder>

#include "CountingListener.h"

#include "masterpoint/FolderScan.h"
#include "settings/SettingsNames.h"
#include "settings/SettingsStore.h"
#include "settings/StoreSettings.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: storescan <store.ini> <folder>\n", stderr);
        return 2;
    }
    try {
        SettingsStore store(QFile::decodeName(argv[1]));
        const QString folder = QFile::decodeName(argv[2]);
        if (store.readString(SettingsNames::Paths, SettingsNames::MasterpointFolder, {}) !=
            folder) {
            store.writeString(SettingsNames::Paths, SettingsNames::MasterpointFolder, folder);
        }
        StoreSettings settings(store);
        mpbench::CountingListener listener;
        mp::scanFolder(settings, listener);
        std::printf("%zu files listed\n", listener.entries.size());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "storescan: %s\n", e.what());
        return 1;
    }
    return 0;
}
