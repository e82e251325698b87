// SPDX-License-Identifier: GPL-3.0-or-later
// A fresh directory per test, removed with everything in it afterwards, and
// whole-file helpers for the tests that work on real files.
#pragma once

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <vector>

namespace kelvane::testing_support {

class TempDir {
public:
    // Throws when the folder cannot be made: a test that carried on without
    // one would write its files below "/".
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kelvane-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::system_error(errno, std::generic_category(),
                                    "cannot make a temporary folder " + pattern);
        // As the process reports it as its working directory: links resolved.
        path_ = std::filesystem::canonical(pattern).string();
    }
    // A test may have taken the owner's rights away to see a write refused.
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

    // Names in the directory, hidden ones included, sorted.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // Writes a file below the directory, making its folders; returns its path.
    std::string Write(const std::string& name, const std::string& content) const {
        const std::string path = *this / name;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    // A file of `size` filler bytes, for tests that care about names and sizes only.
    std::string Write(const std::string& name, std::size_t size = 0) const {
        return Write(name, std::string(size, 'x'));
    }
    void MakeFolder(const std::string& name) const {
        std::filesystem::create_directories(*this / name);
    }

    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    std::string path_;
};

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// Bytes that differ from block to block, so a misplaced block shows.
inline std::vector<uint8_t> PatternBytes(std::size_t size, uint32_t seed = 1) {
    std::vector<uint8_t> bytes(size);
    std::mt19937 generator(seed);
    for (auto& b : bytes)
        b = static_cast<uint8_t>(generator());
    return bytes;
}

inline void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

inline std::string ReadFile(const std::string& path) {
    return TempDir::Read(path);
}

// Text-shaped PatternBytes, for tests that pass files around as strings.
inline std::string RandomBytes(std::size_t size, unsigned seed) {
    const std::vector<uint8_t> bytes = PatternBytes(size, seed);
    return {bytes.begin(), bytes.end()};
}

inline bool Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

inline unsigned PermissionsOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

} // namespace kelvane::testing_support
