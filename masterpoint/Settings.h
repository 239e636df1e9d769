#pragma once
// How the core reads the stored settings. Every call reads the store at that moment:
// nothing is cached, so a change made elsewhere is seen at the next call. A store that
// cannot be read throws (std::exception), which ends the command that asked.

#include <string>

namespace mp {

class Settings {
public:
    virtual ~Settings() = default;
    // The masterpoint folder as bytes; empty when none is stored.
    virtual std::string masterpointFolder() const = 0;
    // The backup folder as bytes; empty when none is stored.
    virtual std::string backupFolder() const = 0;
    // The club number; 0 when none is stored.
    virtual int clubNumber() const = 0;
};

} // namespace mp
