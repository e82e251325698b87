#include "crypto/FileAccess.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {
namespace {

class PosixSource : public SourceFile {
public:
    explicit PosixSource(int fd) : fd_(fd) {}
    ~PosixSource() override { ::close(fd_); }

    bool Size(int64_t& size) override {
        struct stat st {};
        if (::fstat(fd_, &st) != 0)
            return false;
        size = st.st_size;
        return true;
    }

    unsigned PermissionBits() override {
        struct stat st {};
        return ::fstat(fd_, &st) == 0 ? st.st_mode & 0777 : 0600;
    }

    int64_t Read(void* buffer, std::size_t count) override {
        auto* out = static_cast<char*>(buffer);
        std::size_t done = 0;
        while (done < count) {
            const ssize_t n = ::read(fd_, out + done, count - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return -1;
            if (n == 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        return static_cast<int64_t>(done);
    }

private:
    int fd_;
};

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string RandomSuffix() {
    static std::mt19937_64 generator{std::random_device{}()};
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(generator()));
    return text;
}

// The new content lives in an unnamed file (O_TMPFILE) while it is written, so
// a crash leaves nothing behind; where the file system lacks unnamed files, a
// hidden name in the same directory stands in for it.
class AtomicDestination : public DestinationFile {
public:
    static std::unique_ptr<AtomicDestination> Create(const std::string& path,
                                                     unsigned permissions) {
        const std::string directory = DirectoryOf(path);
        int fd = ::open(directory.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        std::string temporaryName;
        if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
            temporaryName = HiddenNameBeside(path);
            fd = ::open(temporaryName.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0600);
        }
        if (fd < 0)
            return nullptr;
        auto destination =
            std::unique_ptr<AtomicDestination>(new AtomicDestination(path, fd, temporaryName));
        if (::fchmod(fd, permissions & 0777) != 0)
            return nullptr;
        return destination;
    }

    ~AtomicDestination() override {
        if (fd_ >= 0)
            ::close(fd_);
        if (!committed_ && !temporaryName_.empty())
            ::unlink(temporaryName_.c_str());
    }

    bool Write(const void* data, std::size_t count) override {
        const auto* in = static_cast<const char*>(data);
        while (count > 0) {
            const ssize_t n = ::write(fd_, in, count);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            in += n;
            count -= static_cast<std::size_t>(n);
        }
        return true;
    }

    bool WriteAt(uint64_t offset, const void* data, std::size_t count) override {
        const auto* in = static_cast<const char*>(data);
        while (count > 0) {
            const ssize_t n = ::pwrite(fd_, in, count, static_cast<off_t>(offset));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            in += n;
            offset += static_cast<uint64_t>(n);
            count -= static_cast<std::size_t>(n);
        }
        StartWriteBack(offset);
        return true;
    }

    bool Commit() override {
        if (::fsync(fd_) != 0)
            return false;
        if (temporaryName_.empty() && !GiveName())
            return false;
        if (::rename(temporaryName_.c_str(), path_.c_str()) != 0)
            return false;
        committed_ = true;
        const int closed = ::close(fd_);
        fd_ = -1;
        return closed == 0 && SyncDirectory();
    }

private:
    AtomicDestination(std::string path, int fd, std::string temporaryName)
        : path_(std::move(path)), fd_(fd), temporaryName_(std::move(temporaryName)) {}

    static std::string HiddenNameBeside(const std::string& path) {
        const std::string directory = DirectoryOf(path);
        const std::string prefix = path.rfind('/') == std::string::npos ? "" : directory + "/";
        // Shortened so a destination of the longest name still has a
        // temporary name the file system takes.
        const std::string base = BaseNameOf(path).substr(0, 200);
        return prefix + "." + base + "." + RandomSuffix() + ".tmp";
    }

    // Links the unnamed file under a hidden name, from which rename() puts it
    // in place atomically (linkat can't replace an existing file).
    bool GiveName() {
        const std::string self = "/proc/self/fd/" + std::to_string(fd_);
        const std::string name = HiddenNameBeside(path_);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) != 0)
            return false;
        temporaryName_ = name;
        return true;
    }

    bool SyncDirectory() const {
        const int dir = ::open(DirectoryOf(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir < 0)
            return false;
        const bool synced = ::fsync(dir) == 0;
        ::close(dir);
        return synced;
    }

    // Hands written data to the disk as it comes, so the flush at the end
    // has little left to wait for.
    void StartWriteBack(uint64_t end) {
        constexpr uint64_t kWriteBackUnit = 8u << 20;
        if (end < writeBackFrom_ + kWriteBackUnit)
            return;
        ::sync_file_range(fd_, static_cast<off_t>(writeBackFrom_),
                          static_cast<off_t>(end - writeBackFrom_), SYNC_FILE_RANGE_WRITE);
        writeBackFrom_ = end;
    }

    std::string path_;
    int fd_;
    std::string temporaryName_;
    bool committed_ = false;
    uint64_t writeBackFrom_ = 0;
};

class PosixFiles : public FileAccess {
public:
    explicit PosixFiles(int openMode) : openMode_(openMode) {}

    std::unique_ptr<SourceFile> OpenSource(const std::string& path) override {
        // Without O_NONBLOCK, opening a FIFO would wait for a writer that
        // may never come; the type is checked before anything is read.
        const int fd = ::open(path.c_str(), openMode_ | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            return nullptr;
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
            ::close(fd);
            return nullptr;
        }
        return std::make_unique<PosixSource>(fd);
    }

    std::unique_ptr<DestinationFile> CreateDestination(const std::string& path,
                                                       unsigned permissions) override {
        if (path.empty() || path.back() == '/')
            return nullptr;
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0) {
            // A file in the way that may not be written resists replacement,
            // as it would on a system where creating means opening it.
            if (!S_ISREG(st.st_mode) || ::access(path.c_str(), W_OK) != 0)
                return nullptr;
        }
        return AtomicDestination::Create(path, permissions);
    }

    bool SameFile(const std::string& a, const std::string& b) override {
        if (a == b)
            return true;
        struct stat sa {
        }, sb{};
        if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0)
            return false;
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    }

private:
    int openMode_;
};

} // namespace

FileAccess& SystemFiles() {
    static PosixFiles files(O_RDWR);
    return files;
}

FileAccess& SystemFilesForReading() {
    static PosixFiles files(O_RDONLY);
    return files;
}

} // namespace kelvane
