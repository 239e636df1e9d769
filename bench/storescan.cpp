// storescan: the folder scan as the program runs it, with the masterpoint folder read
// from a real settings store for every file, where mpbench scan hands the core a fixed
// folder. The store is a scratch INI file that is removed afterwards.
//
//   storescan <folder>

#include "CountingListener.h"

#include "masterpoint/FolderScan.h"
#include "settings/SettingsNames.h"
#include "settings/StoreSettings.h"
#include "settings/TRegIniFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: storescan <folder>\n", stderr);
        return 2;
    }
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        std::fputs("storescan: no scratch folder for the store\n", stderr);
        return 1;
    }
    try {
        TRegIniFile store(scratch.filePath(QStringLiteral("store.ini")));
        store.WriteString(SettingsNames::Paths, SettingsNames::MasterpointFolder,
                          QFile::decodeName(argv[1]));
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
