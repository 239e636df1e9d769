#pragma once
// The file list as the commands see it: entries in list order, with their ticks. The
// scan replaces them all; every other command only reads them.

#include "masterpoint/ListEntry.h"

#include <vector>

class FileList {
public:
    virtual ~FileList() = default;

    virtual std::vector<mp::ListEntry> entries() const = 0;
    virtual bool isEmpty() const = 0;
    // Replaces every entry (and tick) by these, in this order.
    virtual void setEntries(std::vector<mp::ListEntry> entries) = 0;
};
