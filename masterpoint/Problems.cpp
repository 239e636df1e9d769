#include "masterpoint/Problems.h"

namespace mp {

void Problems::add(std::string message, std::string detail) {
    problems_.push_back({std::move(message), std::move(detail)});
}

std::string Problems::text(std::size_t maxLines) const {
    std::string text;
    // A message box of a thousand lines helps nobody: the first ones say what kind of
    // trouble it is, the log has the rest.
    const std::size_t shown =
        problems_.size() > maxLines && maxLines > 0 ? maxLines - 1 : problems_.size();
    for (std::size_t i = 0; i < shown; ++i) {
        if (i != 0) {
            text += '\n';
        }
        text += problems_[i].message;
    }
    if (shown < problems_.size()) {
        text +=
            (shown == 0 ? "and " : "\nand ") + std::to_string(problems_.size() - shown) + " more";
    }
    return text;
}

} // namespace mp
