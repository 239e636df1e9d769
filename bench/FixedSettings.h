#pragma once
// Settings that always answer the folders they were given, as a store that nobody
// changes would.

#include "masterpoint/Settings.h"

#include <string>
#include <utility>

namespace mpbench {

class FixedSettings : public mp::Settings {
public:
    explicit FixedSettings(std::string masterpointFolder, std::string backupFolder = {},
                           int clubNumber = 0)
        : masterpoint_(std::move(masterpointFolder)), backup_(std::move(backupFolder)),
          club_(clubNumber) {}

    std::string masterpointFolder() const override { return masterpoint_; }
    std::string backupFolder() const override { return backup_; }
    int clubNumber() const override { return club_; }

private:
    std::string masterpoint_;
    std::string backup_;
    int club_;
};

} // namespace mpbench
