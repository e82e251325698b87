// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileAccess.h"

#include "crypto/CryptNames.h"
#include "platform/FileSafety.h"
#include "platform/FolderEntries.h"
#include "platform/FullWrites.h"
#include "platform/Paths.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <vector>

namespace kelvane {
namespace {

std::atomic<uint64_t> destinationsMade{0};
std::atomic<bool (*)(int)> flushForTesting{nullptr};

std::atomic<bool> namedTemporaries{[] {
    const char* forced = std::getenv("KELVANE_NO_UNNAMED_TEMPORARY");
    return forced != nullptr && std::strcmp(forced, "1") == 0;
}()};

FileIdentity ContentIdentityOf(const struct stat& st) {
    FileIdentity identity;
    identity.known = true;
    identity.node = NodeOf(st);
    identity.size = st.st_size;
    identity.modifiedSeconds = st.st_mtim.tv_sec;
    identity.modifiedNanoseconds = st.st_mtim.tv_nsec;
    identity.changedSeconds = st.st_ctim.tv_sec;
    identity.changedNanoseconds = st.st_ctim.tv_nsec;
    return identity;
}

class PosixSource : public SourceFile {
public:
    // The file as it was opened answers for its size and permissions: a
    // file that changes after that is caught by the unchanged-source test
    // before it could be deleted.
    PosixSource(int fd, const struct stat& st)
        : fd_(fd), opened_(ContentIdentityOf(st)), permissions_(NewFilePermissions(st.st_mode)) {}
    ~PosixSource() override { ::close(fd_); }

    bool Size(int64_t& size) override {
        size = opened_.size;
        return true;
    }

    unsigned PermissionBits() override { return permissions_; }

    FileIdentity OpenedAs() override { return opened_; }

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
    FileIdentity opened_;
    unsigned permissions_;
};

// The folder a destination goes into, "." for a bare name.
std::string DirectoryOf(const std::string& path) {
    const std::string directory = DirectoryPart(path);
    return directory.empty() ? "." : directory;
}

// From the kernel's random bytes on every call: jobs name temporaries side
// by side, and a generator shared between them would be a data race.
std::string RandomSuffix() {
    uint64_t value = 0;
    std::size_t got = 0;
    while (got < sizeof value) {
        const ssize_t n = ::getrandom(reinterpret_cast<char*>(&value) + got, sizeof value - got, 0);
        if (n > 0)
            got += static_cast<std::size_t>(n);
        else if (errno != EINTR)
            break;
    }
    // Without random bytes a name from the clock and a counter stays unique
    // within this process; O_EXCL refuses any clash with another.
    if (got < sizeof value) {
        static std::atomic<uint64_t> counter{0};
        value = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                (counter.fetch_add(1) << 48);
    }
    char text[17];
    static_cast<void>(
        std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value)));
    return text;
}

std::string NewTemporaryName(const std::string& baseName) {
    return TemporaryNameFor(baseName, ::getpid(), RandomSuffix());
}

// Exactly this destination's: the process id follows the prefix.
bool IsTemporaryOf(const std::string& name, const std::string& baseName) {
    const long owner = TemporaryOwnerOf(name);
    return owner > 0 && name.size() == TemporaryNameFor(baseName, owner, "").size() + 16 &&
           name.starts_with(TemporaryPrefixOf(baseName) + std::to_string(owner) + ".");
}

// A folder's temporaries whose runs died, as one reading of it found them.
// A run over many files of one folder reads it once, not before every file:
// in a folder of ten thousand files the reading cost more than the files.
struct DeadTemporaries {
    FileNode folder;
    std::chrono::steady_clock::time_point readAt;
    std::vector<std::string> names;
};

// Long enough for a burst of runs, short enough that a run killed meanwhile
// elsewhere is cleaned up by the next run on its destination soon after.
constexpr auto kFolderReadingKept = std::chrono::seconds(2);

std::vector<std::string> ReadDeadTemporaries(int folder) {
    std::vector<std::string> names;
    ForEachEntryName(folder, [&names](std::string_view name, unsigned char) {
        if (name.front() == '.' && IsDeadRunsTemporary(std::string(name)))
            names.emplace_back(name);
    });
    return names;
}

std::string PlaceOfFolder(int fd) {
    char path[4096];
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t length = ::readlink(self.c_str(), path, sizeof path);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : self;
}

// What tells this folder from any other, now and before: its identity and
// the moment it was made, where the file system keeps that; a folder made
// where another was just removed may get the same inode number, never the
// same birth. Elsewhere the place it is at stands in for the moment, at
// the price of asking the kernel for its path.
bool FolderKey(int fd, FileNode& node, std::string& key) {
    struct statx sx {};
    if (::statx(fd, "", AT_EMPTY_PATH, STATX_INO | STATX_BTIME, &sx) != 0)
        return false;
    node = {makedev(sx.stx_dev_major, sx.stx_dev_minor), sx.stx_ino};
    if ((sx.stx_mask & STATX_BTIME) == 0) {
        key = PlaceOfFolder(fd);
        return true;
    }
    key = std::to_string(node.device) + ':' + std::to_string(node.inode) + '@' +
          std::to_string(sx.stx_btime.tv_sec) + '.' + std::to_string(sx.stx_btime.tv_nsec);
    return true;
}

// The folders whose dead temporaries were read lately, by where they are.
struct FolderReadings {
    std::mutex lock;
    std::map<std::string, DeadTemporaries> byFolder;
};

FolderReadings& TheFolderReadings() {
    static FolderReadings readings;
    return readings;
}

// Takes out of the folder's dead temporaries those `wanted` picks.
template <typename Wanted> std::vector<std::string> TakeDeadTemporaries(int folder, Wanted wanted) {
    auto& [lock, byFolder] = TheFolderReadings();
    FileNode node{};
    std::string key;
    if (!FolderKey(folder, node, key))
        return {};
    const auto now = std::chrono::steady_clock::now();
    const std::lock_guard<std::mutex> hold(lock);
    std::erase_if(byFolder,
                  [&](const auto& kept) { return now - kept.second.readAt > kFolderReadingKept; });
    DeadTemporaries& known = byFolder[key];
    if (known.readAt == std::chrono::steady_clock::time_point{} || known.folder != node)
        known = {node, now, ReadDeadTemporaries(folder)};
    std::vector<std::string> taken;
    std::erase_if(known.names, [&](const std::string& name) {
        if (!wanted(name))
            return false;
        taken.push_back(name);
        return true;
    });
    return taken;
}

// The folder is listed only when the reading kept of it is too old: a run
// over many files of one folder pays two system calls per file here.
int RemoveLeftoverTemporariesIn(int folder, const std::string& baseName) {
    int removed = 0;
    for (const std::string& name : TakeDeadTemporaries(
             folder, [&](const std::string& name) { return IsTemporaryOf(name, baseName); }))
        removed += ::unlinkat(folder, name.c_str(), 0) == 0 ? 1 : 0;
    return removed;
}

bool Unsupported(int error) {
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL || error == ENOSYS;
}

// The new content lives in an unnamed file (O_TMPFILE) while it is written,
// so a crash leaves nothing behind, and is linked straight to its name at the
// end. Where the file system lacks unnamed files, a named temporary beside
// the destination stands in for it.
class AtomicDestination : public DestinationFile {
public:
    // A bare name in a folder held open by the caller (a walk's) uses that
    // folder as it is: opening it once more for every file cost a third of
    // the system calls of a run over small files.
    static std::unique_ptr<AtomicDestination> Create(int folder, const std::string& path,
                                                     unsigned permissions, bool cleared) {
        const bool borrowed = folder != AT_FDCWD && DirectoryPart(path).empty();
        const int directory = borrowed ? folder
                                       : ::openat(folder, DirectoryOf(path).c_str(),
                                                  O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (directory < 0)
            return nullptr;
        // A walk removed its folder's dead temporaries when it read it.
        if (!borrowed && !cleared)
            RemoveLeftoverTemporariesIn(directory, NamePart(path));
        auto destination = std::unique_ptr<AtomicDestination>(
            new AtomicDestination(directory, !borrowed, NamePart(path)));
        return destination->Open(NewFilePermissions(permissions)) ? std::move(destination)
                                                                  : nullptr;
    }

    ~AtomicDestination() override {
        if (fd_ >= 0)
            ::close(fd_);
        if (!temporaryName_.empty())
            ::unlinkat(directory_, temporaryName_.c_str(), 0);
        if (ownsDirectory_)
            ::close(directory_);
    }

    bool Write(const void* data, std::size_t count) override {
        return WriteAll(fd_, static_cast<const char*>(data), count);
    }

    bool WriteAt(uint64_t offset, const void* data, std::size_t count) override {
        if (!PwriteAll(fd_, offset, static_cast<const char*>(data), count))
            return false;
        StartWriteBack(offset + count);
        return true;
    }

    // Everything that can fail without consequence comes first: the data's
    // flush, and the temporary name when one is needed. Once the file has its
    // name, a failure can only mean the disk did not confirm it.
    CommitOutcome Commit(Existing existing) override {
        if (committed_ || ::fsync(fd_) != 0)
            return CommitOutcome::Failed;
        const CommitOutcome placed = PlaceFlushed(existing);
        if (placed != CommitOutcome::Done)
            return placed;
        return ::fsync(directory_) == 0 ? CommitOutcome::Done : CommitOutcome::Unconfirmed;
    }

    int FileSystem() const override { return directory_; }

    FileNode Node() override {
        struct stat st {};
        if (node_.inode == 0 && fd_ >= 0 && ::fstat(fd_, &st) == 0)
            node_ = NodeOf(st);
        return node_;
    }

    // The file's own descriptor was opened before its first byte was written.
    Witness DataWitness() const override { return {fd_ >= 0 ? fd_ : directory_, made_}; }

    // The group's flush has made the data durable already; the name is made
    // durable by the group's next flush.
    CommitOutcome PlaceFlushed(Existing existing) override {
        if (committed_)
            return CommitOutcome::Failed;
        const CommitOutcome placed = PutInPlace(existing);
        if (placed != CommitOutcome::Done)
            return placed;
        committed_ = true;
        temporaryName_.clear();
        const bool closed = ::close(fd_) == 0;
        fd_ = -1;
        return closed ? CommitOutcome::Done : CommitOutcome::Unconfirmed;
    }

private:
    AtomicDestination(int directory, bool ownsDirectory, std::string name)
        : directory_(directory), ownsDirectory_(ownsDirectory), name_(std::move(name)) {}

    bool Open(unsigned permissions) {
        if (!namedTemporaries.load()) {
            fd_ = ::openat(directory_, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, permissions);
            if (fd_ < 0 && !Unsupported(errno))
                return false;
        }
        if (fd_ < 0) {
            const std::string temporary = NewTemporaryName(name_);
            fd_ = ::openat(directory_, temporary.c_str(),
                           O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC | O_NOFOLLOW, permissions);
            if (fd_ < 0)
                return false;
            temporaryName_ = temporary;
        }
        // Counted once the descriptor is open and before any data is
        // written: the first made of a group was opened before the data of
        // every other one, so a flush through it is told of their failures.
        made_ = destinationsMade.fetch_add(1) + 1;
        // The umask may have narrowed the bits; the source's own are wanted.
        return ::fchmod(fd_, permissions) == 0;
    }

    CommitOutcome PutInPlace(Existing existing) {
        if (temporaryName_.empty()) {
            // The unnamed file takes its name directly; linkat never replaces.
            const int linked = LinkUnnamedAs(name_);
            if (linked == 0)
                return CommitOutcome::Done;
            if (errno != EEXIST)
                return CommitOutcome::Failed;
            if (existing == Existing::Keep)
                return CommitOutcome::NameTaken;
            // Replacing needs a name to rename from.
            const std::string temporary = NewTemporaryName(name_);
            if (LinkUnnamedAs(temporary) != 0)
                return CommitOutcome::Failed;
            temporaryName_ = temporary;
        }
        return RenameTemporary(existing);
    }

    // Kernels since 6.10 link a descriptor its opener holds directly; older
    // ones refuse that without a privilege (ENOENT) and take the same file
    // through /proc, whose lookup costs more. Once /proc was needed, it is
    // used from then on.
    int LinkUnnamedAs(const std::string& name) const {
        static std::atomic<bool> throughProc{false};
        if (!throughProc.load(std::memory_order_relaxed)) {
            if (::linkat(fd_, "", directory_, name.c_str(), AT_EMPTY_PATH) == 0)
                return 0;
            if (errno != ENOENT)
                return -1;
        }
        const std::string self = "/proc/self/fd/" + std::to_string(fd_);
        const int linked =
            ::linkat(AT_FDCWD, self.c_str(), directory_, name.c_str(), AT_SYMLINK_FOLLOW);
        if (linked == 0)
            throughProc.store(true, std::memory_order_relaxed);
        return linked;
    }

    CommitOutcome RenameTemporary(Existing existing) {
        const char* from = temporaryName_.c_str();
        if (existing == Existing::Replace)
            return ::renameat(directory_, from, directory_, name_.c_str()) == 0
                       ? CommitOutcome::Done
                       : CommitOutcome::Failed;
        if (::renameat2(directory_, from, directory_, name_.c_str(), RENAME_NOREPLACE) == 0)
            return CommitOutcome::Done;
        if (errno == EEXIST)
            return CommitOutcome::NameTaken;
        if (!Unsupported(errno))
            return CommitOutcome::Failed;
        // No RENAME_NOREPLACE here: a second link refuses an existing name
        // just as well, and the temporary name then goes.
        if (::linkat(directory_, from, directory_, name_.c_str(), 0) != 0)
            return errno == EEXIST ? CommitOutcome::NameTaken : CommitOutcome::Failed;
        ::unlinkat(directory_, from, 0);
        return CommitOutcome::Done;
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

    int directory_;
    bool ownsDirectory_;
    std::string name_;
    int fd_ = -1;
    std::string temporaryName_; // while a named temporary holds the content
    bool committed_ = false;
    uint64_t writeBackFrom_ = 0;
    uint64_t made_ = 0;
    FileNode node_;
};

// Relative names are taken in `folder`: the working directory, or a folder
// a walk holds open.
class PosixFiles : public FileAccess {
public:
    explicit PosixFiles(int folder = AT_FDCWD, FolderFacts facts = {}, bool followLinks = false)
        : folder_(folder), facts_(facts), followLinks_(followLinks) {}

    std::unique_ptr<SourceFile> OpenSource(const std::string& path) override {
        // Non-blocking, so a named pipe in the source's place can't hang the
        // run; on the regular file that alone is taken it changes nothing.
        const int fd = ::openat(folder_, path.c_str(),
                                O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC |
                                    (followLinks_ ? 0 : O_NOFOLLOW));
        if (fd < 0)
            return nullptr;
        struct stat st {};
        const bool looked = ::fstat(fd, &st) == 0;
        const int refusal = !looked                ? errno
                            : !S_ISREG(st.st_mode) ? EINVAL
                            : !SameAsLooked(st)    ? ESTALE
                                                   : 0;
        if (refusal != 0) {
            ::close(fd);
            errno = refusal;
            return nullptr;
        }
        return std::make_unique<PosixSource>(fd, st);
    }

    std::unique_ptr<DestinationFile> CreateDestination(const std::string& path,
                                                       unsigned permissions) override {
        if (path.empty() || path.back() == '/')
            return nullptr;
        struct stat st {};
        if (!facts_.destinationFree && ::fstatat(folder_, path.c_str(), &st, 0) == 0) {
            // A file in the way that may not be written resists replacement,
            // as it would on a system where creating means opening it.
            if (!S_ISREG(st.st_mode) || ::faccessat(folder_, path.c_str(), W_OK, 0) != 0)
                return nullptr;
        }
        return AtomicDestination::Create(folder_, path, permissions, facts_.temporariesCleared);
    }

    bool SameFile(const std::string& a, const std::string& b) override {
        return facts_.destinationFree ? a == b : IsSameFileAt(folder_, a, b);
    }

private:
    bool SameAsLooked(const struct stat& st) const {
        return facts_.source == FileNode{} || NodeOf(st) == facts_.source;
    }

    int folder_;
    FolderFacts facts_;
    bool followLinks_;
};

} // namespace

void ForgetFolderReadings() {
    FolderReadings& readings = TheFolderReadings();
    const std::lock_guard<std::mutex> hold(readings.lock);
    readings.byFolder.clear();
}

FileAccess& SystemFiles() {
    static PosixFiles files;
    return files;
}

FileAccess& SystemFilesForReading() {
    static PosixFiles files{AT_FDCWD, {}, true};
    return files;
}

std::unique_ptr<FileAccess> FilesIn(int folder, FolderFacts facts) {
    return std::make_unique<PosixFiles>(folder, facts);
}

int RemoveLeftoverTemporaries(const std::string& destination, int folder) {
    const int fd =
        ::openat(folder, DirectoryOf(destination).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    const int removed = RemoveLeftoverTemporariesIn(fd, NamePart(destination));
    ::close(fd);
    return removed;
}

FileIdentity IdentityAt(int directory, const std::string& name) {
    struct stat st {};
    if (::fstatat(directory, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return {};
    return ContentIdentityOf(st);
}

bool FlushFileSystem(int descriptor) {
    if (bool (*flush)(int) = flushForTesting.load())
        return flush(descriptor);
    return ::syncfs(descriptor) == 0;
}

uint64_t DestinationsMade() {
    return destinationsMade.load();
}

void FlushFileSystemForTesting(bool (*flush)(int descriptor)) {
    flushForTesting.store(flush);
}

void UseNamedTemporaries(bool named) {
    namedTemporaries.store(named);
}

} // namespace kelvane
