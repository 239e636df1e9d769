#pragma once
// A fresh folder for one test, removed with everything in it afterwards, and the few
// file helpers the core tests share.

#include "masterpoint/Error.h"

#include <fstream>
#include <ftw.h>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <dirent.h>

class TempDir {
public:
    TempDir() {
        char pattern[] = "/tmp/mpcore-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        path_ = pattern;
    }
    ~TempDir() {
        ::nftw(
            path_.c_str(),
            [](const char* p, const struct stat*, int, struct FTW*) { return ::remove(p); }, 16,
            FTW_DEPTH | FTW_PHYS);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

    std::string write(const std::string& name, const std::string& bytes) const {
        const std::string p = *this / name;
        std::ofstream(p, std::ios::binary) << bytes;
        return p;
    }
    std::string mkdir(const std::string& name) const {
        const std::string p = *this / name;
        ::mkdir(p.c_str(), 0755);
        return p;
    }

    // Every name in the folder but "." and "..".
    std::set<std::string> names() const { return namesIn(path_); }

    // Every regular file of the folder (or link to one) with its bytes. Folders, FIFOs
    // and dangling links are left out: names() has them.
    std::map<std::string, std::string> files() const;

    static std::set<std::string> namesIn(const std::string& folder) {
        std::set<std::string> names;
        if (DIR* dir = ::opendir(folder.c_str())) {
            while (const dirent* e = ::readdir(dir)) {
                const std::string n = e->d_name;
                if (n != "." && n != "..") {
                    names.insert(n);
                }
            }
            ::closedir(dir);
        }
        return names;
    }

private:
    std::string path_;
};

// The whole content of a file; "<missing>" when it cannot be read.
inline std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return "<missing>";
    }
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Bytes that pass the validity test and also tell the files apart.
inline std::string valid(const std::string& tag) {
    return "0123456001250" + tag + "\r\n";
}

// The message of the mp::Error that fn throws; empty when it throws none.
template <typename Fn> std::string errorOf(Fn fn) {
    try {
        fn();
    } catch (const mp::Error& e) {
        return e.what();
    }
    return {};
}

inline std::map<std::string, std::string> TempDir::files() const {
    std::map<std::string, std::string> files;
    for (const std::string& name : names()) {
        struct stat st {};
        if (::stat((*this / name).c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
            files[name] = readAll(*this / name);
        }
    }
    return files;
}
