#pragma once
// Errors of the core. Every failure that ends a command is thrown as an Error whose
// message is the text the user sees ("Cannot open file <path>", ...).

#include <stdexcept>
#include <string>

namespace mp {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;

    // "Cannot open file <path>": a file that had to be read could not be opened.
    static Error cannotOpenFile(const std::string& path);
    // "Cannot create file <path>": a file that had to be written could not be created.
    static Error cannotCreateFile(const std::string& path);
};

} // namespace mp
