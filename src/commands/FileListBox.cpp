// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/FileListBox.h"

#include "crypto/AsciiCase.h"
#include "crypto/CryptNames.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <dirent.h>
#include <fcntl.h>
#include <iterator>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

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

struct Keyed {
    uint64_t head; // eight bytes of the name, lower-cased, the first one highest
    std::size_t index;
};

// Orders the names that `first` to `last` stand for by NameLess; `spare`
// has room for as many. The names of one folder often share their start
// ("IMG_0", "document-"): the eight bytes after what these share order most
// of them as one number, sorted by its bytes in a few passes without a
// comparison. Names whose eight bytes agree are ordered the same way by
// the bytes after those, and compared whole only when few or equal but for
// case. A hundred thousand names sort in a few milliseconds.
void SortKeyed(const std::vector<std::string>& names, Keyed* first, Keyed* last, Keyed* spare) {
    const auto less = [&](const Keyed& a, const Keyed& b) {
        return NameLess(names[a.index], names[b.index]);
    };
    const auto count = static_cast<std::size_t>(last - first);
    if (count < 64) {
        std::sort(first, last, less);
        return;
    }
    const std::string& front = names[first->index];
    std::size_t shared = front.size();
    for (const Keyed* key = first + 1; key != last && shared > 0; ++key) {
        const std::string& name = names[key->index];
        const std::size_t size = std::min(shared, name.size());
        std::size_t same = 0;
        while (same < size && AsciiLower(front[same]) == AsciiLower(name[same]))
            ++same;
        shared = same;
    }
    uint32_t counts[8][256] = {};
    for (Keyed* key = first; key != last; ++key) {
        const std::string& name = names[key->index];
        uint64_t head = 0;
        for (std::size_t at = shared; at < shared + 8; ++at) {
            // Names hold no zero byte: a shorter name sorts first.
            const auto byte =
                at < name.size() ? static_cast<unsigned char>(AsciiLower(name[at])) : 0U;
            head = head << 8U | byte;
        }
        key->head = head;
        for (unsigned byte = 0; byte < 8; ++byte)
            ++counts[byte][(head >> (8 * byte)) & 0xffU];
    }
    // One pass per byte, lowest first, each keeping the order of the one
    // before; a byte that all heads have alike takes no pass.
    Keyed* from = first;
    Keyed* to = spare;
    for (auto& places : counts) {
        const auto byte = static_cast<unsigned>(&places - counts);
        if (std::find(std::begin(places), std::end(places), count) != std::end(places))
            continue;
        uint32_t place = 0;
        for (uint32_t& n : places)
            place += std::exchange(n, place);
        for (const Keyed* key = from; key != from + count; ++key)
            to[places[(key->head >> (8 * byte)) & 0xffU]++] = *key;
        std::swap(from, to);
    }
    if (from != first)
        std::copy(from, from + count, first);
    for (Keyed* run = first; run != last;) {
        const uint64_t head = run->head;
        Keyed* end = std::find_if(run, last, [head](const Keyed& key) { return key.head != head; });
        // A zero last byte: the names end within these eight bytes, alike
        // but for case.
        if (end - run > 1 && (head & 0xffU) == 0)
            std::sort(run, end, less);
        else if (end - run > 1)
            SortKeyed(names, run, end, spare + (run - first));
        run = end;
    }
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
    // A list sorted already (the crypted names shown with their extension,
    // a list sorted before) stays as it is.
    if (std::is_sorted(names.begin(), names.end(), NameLess))
        return;
    std::vector<Keyed> keyed(names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        keyed[i].index = i;
    std::vector<Keyed> spare(names.size());
    SortKeyed(names, keyed.data(), keyed.data() + keyed.size(), spare.data());
    // Each name moves to its place along the cycle it belongs to, with no
    // second list of as many names.
    constexpr std::size_t kPlaced = SIZE_MAX;
    for (std::size_t start = 0; start < keyed.size(); ++start) {
        if (keyed[start].index == kPlaced)
            continue;
        std::string first = std::move(names[start]);
        std::size_t place = start;
        while (keyed[place].index != start) {
            const std::size_t from = std::exchange(keyed[place].index, kPlaced);
            names[place] = std::move(names[from]);
            place = from;
        }
        keyed[place].index = kPlaced;
        names[place] = std::move(first);
    }
}

void TFileListBox::SetDirectory(std::string directory) {
    ReadDirectory(std::move(directory));
    Items = read_;
}

void TFileListBox::ReadDirectory(std::string directory) {
    if (directory != directory_) {
        haveRead_ = false;
        DropWatch();
    }
    directory_ = std::move(directory);
    Read();
}

void TFileListBox::Update() {
    Read();
    Items = read_;
}

void TFileListBox::Read() {
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
}

void TFileListBox::ReadInFull() {
    read_.clear();
    folders_.clear();
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
        const Kind kind =
            type == DT_REG ? Kind::File : (type == DT_DIR ? Kind::Folder : Kind::Other);
        if (Wanted(kind))
            read_.emplace_back(name);
        else if (KeptAside(kind))
            folders_.emplace_back(name);
    }
    closedir(dir);
    SortNames(read_);
    SortNames(folders_);
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
    if (!names.empty())
        Reconsider(names);
    return true;
}

namespace {

// Merges `added`, sorted by NameLess, into `names`, sorted alike.
void MergeNames(std::vector<std::string>& names, std::vector<std::string>& added) {
    if (added.empty())
        return;
    std::vector<std::string> merged;
    merged.reserve(names.size() + added.size());
    std::merge(std::make_move_iterator(names.begin()), std::make_move_iterator(names.end()),
               std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()),
               std::back_inserter(merged), NameLess);
    names = std::move(merged);
}

} // namespace

void TFileListBox::Reconsider(const std::vector<std::string>& sortedNames) {
    // Every changed name comes out and the wanted ones go back in one merge:
    // a run over many files in a big folder changes hundreds of names
    // between two updates, and taking each out and in on its own moved the
    // whole list every time.
    const auto changed = [&sortedNames](const std::string& name) {
        return std::binary_search(sortedNames.begin(), sortedNames.end(), name);
    };
    read_.erase(std::remove_if(read_.begin(), read_.end(), changed), read_.end());
    folders_.erase(std::remove_if(folders_.begin(), folders_.end(), changed), folders_.end());
    links_.erase(std::remove_if(links_.begin(), links_.end(), changed), links_.end());
    std::vector<std::string> wanted;
    std::vector<std::string> aside;
    for (const std::string& name : sortedNames) {
        bool isLink = false;
        const Kind kind = KindOf(name, isLink);
        if (Wanted(kind))
            wanted.push_back(name);
        else if (KeptAside(kind))
            aside.push_back(name);
        if (isLink)
            links_.push_back(name);
    }
    std::sort(wanted.begin(), wanted.end(), NameLess);
    std::sort(aside.begin(), aside.end(), NameLess);
    MergeNames(read_, wanted);
    MergeNames(folders_, aside);
}

TFileListBox::Kind TFileListBox::KindOf(const std::string& name, bool& isLink) const {
    if (name == "." || name == "..")
        return Kind::Other;
    const int folder = folder_->Descriptor();
    struct stat st {};
    if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return Kind::Other;
    isLink = S_ISLNK(st.st_mode);
    if (isLink && ::fstatat(folder, name.c_str(), &st, 0) != 0)
        return Kind::Other;
    if (S_ISREG(st.st_mode))
        return Kind::File;
    return S_ISDIR(st.st_mode) ? Kind::Folder : Kind::Other;
}

bool TFileListBox::Wanted(Kind kind) const {
    if (kind == Kind::File)
        return contents_ != Contents::Folders;
    return kind == Kind::Folder && contents_ != Contents::Files;
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
