#include "masterpoint/ChangedWhileRead.h"

#include <string>

namespace mp {

namespace {

// A category of our own: no system error number means this.
class ReadingCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "mpmgr.reading"; }
    std::string message(int) const override { return "it changed while it was read"; }
};

} // namespace

std::error_code changedWhileRead() {
    static const ReadingCategory category;
    return {1, category};
}

} // namespace mp
