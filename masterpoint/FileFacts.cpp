#include "masterpoint/FileFacts.h"

#include "masterpoint/Error.h"
#include "masterpoint/LineList.h"

namespace mp {

FileFacts readFileFacts(const std::string& path, FileSystem& fileSystem) {
    // The lines are counted by the viewer's own rules, so the tip and the viewer's
    // status line never disagree; the file is read whole once and let go.
    LineList lines;
    lines.loadFromFile(path, fileSystem);
    FileFacts facts;
    facts.records = lines.size();
    FileStamp stamp;
    // Read after the lines, so that size and time describe what was counted, unless the
    // file is changed in between, which a tip may live with.
    if (const std::error_code error = fileSystem.stampAt(path, stamp)) {
        throw Error::cannotOpenFile(path, error);
    }
    facts.size = stamp.size;
    facts.modifiedSeconds = stamp.modifiedSeconds;
    return facts;
}

} // namespace mp
