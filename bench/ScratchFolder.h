#pragma once
// A fresh folder under $TMPDIR (or /tmp) for benchmark data, removed with everything in
// it when the object goes.

#include <string>

namespace mpbench {

class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& prefix);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

} // namespace mpbench
