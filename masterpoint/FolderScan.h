#pragma once
// Lists the masterpoint files of the masterpoint folder, renaming numbered extensions
// to colour extensions on the way when the option is on.

#include "masterpoint/ListEntry.h"

namespace mp {

class Settings;

// What the scan needs from its caller.
class ScanListener {
public:
    virtual ~ScanListener() = default;
    // A new entry for the end of the list.
    virtual void addEntry(const ListEntry& entry) = 0;
    // Read for each file that would be converted, so a change takes effect at once.
    virtual bool convertExtensions() = 0;
    // The folder had entries: the walk begins (the caller shows its busy cursor).
    virtual void walkStarted() = 0;
};

// Enumerates the masterpoint folder (read now) and adds one entry per valid file, in
// enumeration order. A file renamed by the scan is listed once, also when the walk
// comes upon it again under its new name. A folder that cannot be read adds nothing and reports
// nothing. A candidate that cannot be opened throws Error::cannotOpenFile; entries already added
// stay added.
void scanFolder(const Settings& settings, ScanListener& listener);

} // namespace mp
