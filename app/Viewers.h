#pragma once
// The viewer windows as the commands see them: one per file, found again by the file's
// name (exact bytes where names tell letter case apart, ASCII case ignored where they
// do not).

#include "masterpoint/LineList.h"

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

class Viewers {
public:
    virtual ~Viewers() = default;

    // Shows the viewer of fileName again, in front; false when there is none.
    virtual bool raise(const std::string& fileName) = 0;
    // Opens a new viewer of fileName in front, showing lines under caption; folder is
    // where the file is (for the head of its printed pages).
    virtual void open(const std::string& fileName, const QString& caption, mp::LineList lines,
                      bool twoFigures, const std::string& folder) = 0;
    // Makes line (from 0) of fileName's viewer its current, selected row, scrolled into
    // view; nothing when there is no such viewer or line.
    virtual void selectLine(const std::string& fileName, std::uint64_t line) = 0;
    // Closes every viewer; each is destroyed once the events queued for it are handled.
    virtual void closeAll() = 0;

    // The file names of the open viewers. Viewers that only take notes (in tests) need
    // not say, nor be told, of files that change.
    virtual std::vector<std::string> fileNames() const { return {}; }
    // The file of fileName has changed on disk, or gone (removed): its viewer, if any,
    // says so and goes on showing what it read.
    virtual void noteFileChanged(const std::string& /*fileName*/, bool /*removed*/) {}
    // The file of fileName read again, at the user's word: its viewer shows lines.
    virtual void reread(const std::string& /*fileName*/, mp::LineList /*lines*/) {}
};
