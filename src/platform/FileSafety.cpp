#include "platform/FileSafety.h"

#include "platform/Paths.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {

SourceKind KindOfSource(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::lstat(path.c_str(), &st) != 0)
        return SourceKind::Missing;
    if (S_ISLNK(st.st_mode))
        return SourceKind::SymbolicLink;
    return S_ISREG(st.st_mode) ? SourceKind::RegularFile : SourceKind::NotAFile;
}

unsigned NewFilePermissions(unsigned mode) {
    return mode & 0777;
}

bool IsSameFile(const std::string& a, const std::string& b) {
    if (a == b)
        return true;
    struct stat sa {
    }, sb{};
    if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

HeldSource::HeldSource(const std::string& path) : name_(NamePart(path)) {
    const std::string directory = DirectoryPart(path);
    directory_ =
        ::open(directory.empty() ? "." : directory.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}

HeldSource::~HeldSource() {
    if (directory_ >= 0)
        ::close(directory_);
}

bool HeldSource::Unchanged() const {
    return directory_ >= 0 && opened_.known && IdentityAt(directory_, name_) == opened_;
}

SourceRemoval HeldSource::RemoveIfUnchanged() {
    if (!Unchanged())
        return SourceRemoval::Changed;
    return ::unlinkat(directory_, name_.c_str(), 0) == 0 ? SourceRemoval::Removed
                                                         : SourceRemoval::Failed;
}

} // namespace kelvane
