#pragma once
// Settings held in memory. The masterpoint folder may be made to change from one read
// to the next, as when the user edits it while a command runs.

#include "masterpoint/Settings.h"

#include <functional>
#include <string>

class FakeSettings : public mp::Settings {
public:
    std::string folder;
    std::string backup;
    int club = 0;
    // When set, gives the folder for the read with this number (0 for the first).
    std::function<std::string(int)> folderOnRead;
    mutable int folderReads = 0;

    std::string masterpointFolder() const override {
        const int read = folderReads++;
        return folderOnRead ? folderOnRead(read) : folder;
    }
    std::string backupFolder() const override { return backup; }
    int clubNumber() const override { return club; }
};
