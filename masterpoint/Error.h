#pragma once
// Errors of the core. Every failure that ends a command is thrown as an Error whose
// message is the text the user sees ("Cannot open file <path>", ...); the system's
// reason, when there is one, travels with it for the log.

#include <stdexcept>
#include <string>
#include <system_error>

namespace mp {

class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message, std::error_code reason = {})
        : std::runtime_error(message), reason_(reason) {}

    // "Cannot open file <path>": a file that had to be read could not be opened.
    static Error cannotOpenFile(const std::string& path, std::error_code reason = {});
    // "Cannot read file <path>": a file that opened could not be read to its end.
    static Error cannotReadFile(const std::string& path, std::error_code reason = {});
    // "Cannot read file <path>: it changed while it was read".
    static Error changedWhileRead(const std::string& path);
    // "Cannot create file <path>": a file that had to be written could not be created.
    static Error cannotCreateFile(const std::string& path, std::error_code reason = {});

    // The system's reason, or none.
    std::error_code reason() const { return reason_; }

private:
    std::error_code reason_;
};

} // namespace mp
