#pragma once
// The file list as the commands see it: entries in list order, with their ticks, and
// the folder they were found in. The scan replaces them all; every other command only
// reads them, and finds each entry's file in the list's folder, whatever folder is
// stored since.

#include "masterpoint/ListEntry.h"

#include <string>
#include <vector>

class FileList {
public:
    virtual ~FileList() = default;

    virtual std::vector<mp::ListEntry> entries() const = 0;
    virtual bool isEmpty() const = 0;
    // The folder the entries were found in (bytes); empty while nothing has been listed.
    virtual std::string folder() const = 0;
    // Replaces every entry (and tick) by these, in this order, found in folder.
    virtual void setEntries(std::vector<mp::ListEntry> entries, std::string folder) = 0;
};
