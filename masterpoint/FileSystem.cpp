#include "masterpoint/FileSystem.h"

namespace mp {

std::string describe(std::error_code error) {
    std::string text = error.message();
    // The system's sentence begins with a capital and may end with a full stop; in our
    // messages it follows a colon.
    if (!text.empty() && text.front() >= 'A' && text.front() <= 'Z' &&
        !(text.size() > 1 && text[1] >= 'A' && text[1] <= 'Z')) {
        text.front() = static_cast<char>(text.front() - 'A' + 'a');
    }
    while (!text.empty() && (text.back() == '.' || text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    return text;
}

bool FileSystem::timesAreTrusted(FileHandle&) {
    return true;
}

} // namespace mp
