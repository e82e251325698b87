// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/FileListBox.h"

#include "crypto/AsciiCase.h"
#include "crypto/CryptNames.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {
namespace {

// <0, 0, >0 like strcmp, ignoring the case of ASCII letters.
int CompareIgnoringCase(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(AsciiLower(a[i]));
        const auto cb = static_cast<unsigned char>(AsciiLower(b[i]));
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

void SortNames(std::vector<std::string>& names) {
    // Lower-cased once, compared many times: folders of thousands of files
    // with one long common prefix sort several times faster this way.
    struct Keyed {
        std::string key;
        std::string name;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(names.size());
    for (std::string& name : names) {
        std::string key = AsciiLowered(name);
        keyed.push_back({std::move(key), std::move(name)});
    }
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        const int c = a.key.compare(b.key);
        return c != 0 ? c < 0 : a.name < b.name;
    });
    for (std::size_t i = 0; i < names.size(); ++i)
        names[i] = std::move(keyed[i].name);
}

void TFileListBox::SetDirectory(std::string directory) {
    if (directory != directory_) {
        haveRead_ = false;
        DropWatch();
    }
    directory_ = std::move(directory);
    Update();
}

void TFileListBox::Update() {
    // A list read once is not worth a watch; one read again usually is.
    if ((haveRead_ || watchAlways_) && !watch_) {
        // Watched before the read, so nothing between the two is missed; a
        // directory that can't be watched is read in full every time.
        watch_ = spareWatch_ ? std::move(spareWatch_) : std::make_unique<DirectoryWatch>();
        watch_->Start(directory_);
        ReadInFull();
    } else if (!haveRead_ || !TakeChanges()) {
        ReadInFull();
    }
    Items = read_;
}

void TFileListBox::ReadInFull() {
    read_.clear();
    links_.clear();
    haveRead_ = true;
    // The names and every later look at them come from this one open folder:
    // a folder put in the place of the one read is another folder.
    folder_ = OpenFolder::Open(directory_);
    const int listing = folder_ ? ::dup(folder_->Descriptor()) : -1;
    DIR* dir = listing >= 0 ? ::fdopendir(listing) : nullptr;
    if (dir == nullptr) {
        if (listing >= 0)
            ::close(listing);
        folder_.reset();
        DropWatch();
        return;
    }
    const int dirFd = dirfd(dir);
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name = entry->d_name;
        // A run's temporary is no file of the user's to list or act on.
        if (name == "." || name == ".." || IsTemporaryName(name))
            continue;
        unsigned char type = entry->d_type;
        bool link = type == DT_LNK;
        if (type == DT_UNKNOWN) {
            struct stat own {};
            link = fstatat(dirFd, entry->d_name, &own, AT_SYMLINK_NOFOLLOW) == 0 &&
                   S_ISLNK(own.st_mode);
        }
        // A dangling or unwanted link may point at something wanted later.
        if (link)
            links_.emplace_back(name);
        if (type == DT_LNK || type == DT_UNKNOWN) {
            struct stat st {};
            if (fstatat(dirFd, entry->d_name, &st, 0) != 0)
                continue; // a dangling link names nothing to list
            type = S_ISREG(st.st_mode) ? DT_REG : (S_ISDIR(st.st_mode) ? DT_DIR : DT_UNKNOWN);
        }
        const bool wanted = type == DT_REG ? contents_ != Contents::Folders
                                           : type == DT_DIR && contents_ != Contents::Files;
        if (wanted)
            read_.emplace_back(name);
    }
    closedir(dir);
    SortNames(read_);
}

void TFileListBox::DropWatch() {
    if (!watch_)
        return;
    watch_->Stop();
    spareWatch_ = std::move(watch_);
}

bool TFileListBox::TakeChanges() {
    if (!watch_ || !watch_->Active() || !folder_)
        return false;
    // The path may lead to another folder now; that one is read in full.
    struct stat atPath {};
    if (::stat(directory_.c_str(), &atPath) != 0 || NodeOf(atPath) != folder_->Identity()) {
        DropWatch();
        return false;
    }
    std::optional<std::vector<std::string>> changed = watch_->TakeChanges();
    if (!changed) {
        DropWatch();
        return false;
    }
    // Links are looked at every time: their targets live elsewhere.
    std::vector<std::string> names = std::move(*changed);
    names.insert(names.end(), links_.begin(), links_.end());
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    Reconsider(names);
    return true;
}

void TFileListBox::Reconsider(const std::vector<std::string>& sortedNames) {
    // Every changed name comes out and the wanted ones go back in one merge:
    // a run over many files in a big folder changes hundreds of names
    // between two updates, and taking each out and in on its own moved the
    // whole list every time.
    const auto changed = [&sortedNames](const std::string& name) {
        return std::binary_search(sortedNames.begin(), sortedNames.end(), name);
    };
    read_.erase(std::remove_if(read_.begin(), read_.end(), changed), read_.end());
    links_.erase(std::remove_if(links_.begin(), links_.end(), changed), links_.end());
    std::vector<std::string> wanted;
    for (const std::string& name : sortedNames) {
        bool isLink = false;
        if (Wanted(name, isLink))
            wanted.push_back(name);
        if (isLink)
            links_.push_back(name);
    }
    std::sort(wanted.begin(), wanted.end(), NameLess);
    std::vector<std::string> merged;
    merged.reserve(read_.size() + wanted.size());
    std::merge(std::make_move_iterator(read_.begin()), std::make_move_iterator(read_.end()),
               std::make_move_iterator(wanted.begin()), std::make_move_iterator(wanted.end()),
               std::back_inserter(merged), NameLess);
    read_ = std::move(merged);
}

bool TFileListBox::Wanted(const std::string& name, bool& isLink) const {
    if (name == "." || name == "..")
        return false;
    const int folder = folder_->Descriptor();
    struct stat st {};
    if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    isLink = S_ISLNK(st.st_mode);
    if (isLink && ::fstatat(folder, name.c_str(), &st, 0) != 0)
        return false;
    if (S_ISREG(st.st_mode))
        return contents_ != Contents::Folders;
    return S_ISDIR(st.st_mode) && contents_ != Contents::Files;
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
