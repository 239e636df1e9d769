#pragma once
// The file list as the commands see it: entries in list order, with their ticks, and
// the folder they were found in. The scan replaces them all, and following the folder
// brings them up to date; every other command only reads them, and finds each entry's
// file in the list's folder, whatever folder is stored since.

#include "masterpoint/ListEntry.h"

#include <string>
#include <utility>
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
    // Brings the list up to date with its folder, keeping every other entry and its
    // tick: the entries of the removed file names go, the added come in their places in
    // name order, and an entry renamed (old, new file name) keeps its tick under the new.
    virtual void update(const std::vector<std::string>& removed, std::vector<mp::ListEntry> added,
                        const std::vector<std::pair<std::string, std::string>>& renamed) = 0;
    // Whether the folder is there: while it is not, the entries stay, greyed.
    virtual void setFolderThere(bool there) = 0;
};
