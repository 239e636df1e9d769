#pragma once
// A scan listener that keeps the entries it is given, as the file list would, and never
// converts.

#include "masterpoint/FolderScan.h"

#include <vector>

namespace mpbench {

class CountingListener : public mp::ScanListener {
public:
    void addEntry(const mp::ListEntry& entry) override { entries.push_back(entry); }
    bool convertExtensions() override { return false; }
    void walkStarted() override {}

    std::vector<mp::ListEntry> entries;
};

} // namespace mpbench
