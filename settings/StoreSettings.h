#pragma once
// The core's view of the settings store: each call reads the store at that moment.
// Folders are handed to the core as the bytes the file system uses for them.

#include "masterpoint/Settings.h"

class SettingsStore;

class StoreSettings : public mp::Settings {
public:
    explicit StoreSettings(const SettingsStore& store) : store_(store) {}

    std::string masterpointFolder() const override;
    std::string backupFolder() const override;
    int clubNumber() const override;

private:
    const SettingsStore& store_;
};
