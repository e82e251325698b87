#include "platform/TreeWalk.h"

#include "crypto/CryptNames.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {
namespace {

class Walker {
public:
    Walker(WalkPick pick, WalkResult& result) : pick_(pick), result_(result) {}

    // `fd` is an open folder; it is closed here.
    void Folder(int fd, const std::string& path) {
        std::vector<std::string> names;
        if (!ReadNames(fd, names)) {
            Note(path, WalkSkip::Unreadable, errno);
            return;
        }
        for (const std::string& name : names)
            Entry(fd, Join(path, name), name);
        ::close(fd);
    }

    uint64_t device = 0;

private:
    // Closes `fd` on failure only.
    static bool ReadNames(int fd, std::vector<std::string>& names) {
        // fdopendir takes over the descriptor; keep our own for openat.
        const int listing = ::dup(fd);
        DIR* dir = listing < 0 ? nullptr : ::fdopendir(listing);
        if (dir == nullptr) {
            const int error = errno;
            if (listing >= 0)
                ::close(listing);
            ::close(fd);
            errno = error;
            return false;
        }
        errno = 0;
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        const int error = errno;
        ::closedir(dir);
        if (error != 0) {
            ::close(fd);
            errno = error;
            return false;
        }
        std::sort(names.begin(), names.end());
        return true;
    }

    static std::string Join(const std::string& folder, const std::string& name) {
        return !folder.empty() && folder.back() == '/' ? folder + name : folder + "/" + name;
    }

    void Note(const std::string& path, WalkSkip reason, int error = 0) {
        result_.skipped.push_back({path, reason, error});
    }

    void Entry(int parent, const std::string& path, const std::string& name) {
        struct stat st {};
        if (::fstatat(parent, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            return; // gone since the listing was read
        if (S_ISLNK(st.st_mode))
            return Note(path, WalkSkip::SymbolicLink);
        if (S_ISREG(st.st_mode))
            return File(path, st);
        if (!S_ISDIR(st.st_mode))
            return Note(path, WalkSkip::SpecialFile);
        if (static_cast<uint64_t>(st.st_dev) != device)
            return Note(path, WalkSkip::OtherFileSystem);
        const int fd = ::openat(parent, name.c_str(),
                                O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            return Note(path, WalkSkip::Unreadable, errno);
        // The name may have been swapped for a mount point since it was
        // looked at: the folder actually opened is the one that counts.
        struct stat opened {};
        if (::fstat(fd, &opened) != 0 || static_cast<uint64_t>(opened.st_dev) != device) {
            ::close(fd);
            return Note(path, WalkSkip::OtherFileSystem);
        }
        Folder(fd, path);
    }

    void File(const std::string& path, const struct stat& st) {
        const bool crypted = HasCryExtension(path);
        if ((pick_ == WalkPick::PlainFiles && crypted) ||
            (pick_ == WalkPick::CryptedFiles && !crypted))
            return;
        result_.files.push_back({path, static_cast<uint64_t>(st.st_size),
                                 static_cast<uint64_t>(st.st_dev),
                                 static_cast<uint64_t>(st.st_ino)});
    }

    WalkPick pick_;
    WalkResult& result_;
};

} // namespace

WalkResult WalkTree(const std::string& root, WalkPick pick) {
    WalkResult result;
    const int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        result.rootUnreadable = true;
        result.skipped.push_back({root, WalkSkip::Unreadable, errno});
        if (fd >= 0)
            ::close(fd);
        return result;
    }
    Walker walker(pick, result);
    walker.device = static_cast<uint64_t>(st.st_dev);
    const std::size_t notesBefore = result.skipped.size();
    walker.Folder(fd, root);
    result.rootUnreadable = result.skipped.size() > notesBefore &&
                            result.skipped[notesBefore].path == root &&
                            result.skipped[notesBefore].reason == WalkSkip::Unreadable;
    return result;
}

std::string WalkSkipText(const WalkNote& note) {
    switch (note.reason) {
    case WalkSkip::SymbolicLink:
        return "a symbolic link, not followed";
    case WalkSkip::SpecialFile:
        return "not a regular file";
    case WalkSkip::OtherFileSystem:
        return "on another file system, not entered";
    case WalkSkip::Unreadable:
        break;
    }
    return std::string("couldn't read the folder: ") + std::strerror(note.error);
}

} // namespace kelvane
