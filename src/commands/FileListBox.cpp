#include "commands/FileListBox.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

namespace kelvane {
namespace {

unsigned char AsciiLower(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

// <0, 0, >0 like strcmp, ignoring the case of ASCII letters.
int CompareIgnoringCase(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char ca = AsciiLower(static_cast<unsigned char>(a[i]));
        const unsigned char cb = AsciiLower(static_cast<unsigned char>(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

} // namespace

bool NameLess(const std::string& a, const std::string& b) {
    const int c = CompareIgnoringCase(a, b);
    return c != 0 ? c < 0 : a < b;
}

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && CompareIgnoringCase(a, b) == 0;
}

void TFileListBox::SetDirectory(std::string directory) {
    directory_ = std::move(directory);
    Update();
}

void TFileListBox::Update() {
    Items.clear();
    DIR* dir = opendir(directory_.c_str());
    if (dir == nullptr)
        return;
    const int dirFd = dirfd(dir);
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        unsigned char type = entry->d_type;
        if (type == DT_LNK || type == DT_UNKNOWN) {
            struct stat st {};
            if (fstatat(dirFd, entry->d_name, &st, 0) != 0)
                continue; // a dangling link names nothing to list
            type = S_ISREG(st.st_mode) ? DT_REG : (S_ISDIR(st.st_mode) ? DT_DIR : DT_UNKNOWN);
        }
        const bool wanted = type == DT_REG ? contents_ != Contents::Folders
                                           : type == DT_DIR && contents_ != Contents::Files;
        if (wanted)
            Items.emplace_back(name);
    }
    closedir(dir);
    std::sort(Items.begin(), Items.end(), NameLess);
}

int TFileListBox::IndexOf(const std::string& name) const {
    // Names equal but for case sit next to one another in the sorted order.
    auto it = std::lower_bound(
        Items.begin(), Items.end(), name,
        [](const std::string& a, const std::string& b) { return CompareIgnoringCase(a, b) < 0; });
    if (it != Items.end() && SameNameIgnoringCase(*it, name))
        return static_cast<int>(it - Items.begin());
    return -1;
}

void TFileListBox::Add(std::string name) {
    auto it = std::upper_bound(Items.begin(), Items.end(), name, NameLess);
    Items.insert(it, std::move(name));
}

void TFileListBox::Delete(int index) {
    if (index >= 0 && index < Count())
        Items.erase(Items.begin() + index);
}

} // namespace kelvane
