// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/StreamFiles.h"

#include "cli/Arguments.h"
#include "platform/FullWrites.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kelvane::cli {
namespace {

constexpr std::size_t kCopyPiece = 1 << 16;

std::string TemporaryFolder() {
    const char* folder = std::getenv("TMPDIR");
    return folder != nullptr && *folder != '\0' ? folder : "/tmp";
}

ssize_t ReadSome(int fd, char* buffer, std::size_t count) {
    for (;;) {
        const ssize_t n = ::read(fd, buffer, count);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

// The spooled standard input, read from its start by every opening.
class SpooledSource : public SourceFile {
public:
    explicit SpooledSource(int fd) : fd_(fd) {}

    bool Size(int64_t& size) override {
        struct stat st {};
        if (::fstat(fd_, &st) != 0)
            return false;
        size = st.st_size;
        return true;
    }

    int64_t Read(void* buffer, std::size_t count) override {
        auto* out = static_cast<char*>(buffer);
        std::size_t done = 0;
        while (done < count) {
            const ssize_t n = ::pread(fd_, out + done, count - done, offset_);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return -1;
            if (n == 0)
                break;
            done += static_cast<std::size_t>(n);
            offset_ += n;
        }
        return static_cast<int64_t>(done);
    }

    // What came through a pipe is as private as anything.
    unsigned PermissionBits() override { return 0600; }

    FileIdentity OpenedAs() override { return {}; }

private:
    int fd_;
    off_t offset_ = 0;
};

// Standard output, or the stream -o names. Bytes that come in order from the start go straight out,
// so a decryption streams; a run that writes its start last (an encryption
// fills in the header at the end) is held in an unnamed temporary file and
// copied out when it is committed.
class StandardOutput : public DestinationFile {
public:
    StandardOutput(int out, std::atomic<int>& writeError) : out_(out), writeError_(writeError) {}
    ~StandardOutput() override {
        if (spool_ >= 0)
            ::close(spool_);
    }

    bool Write(const void* data, std::size_t count) override { return WriteAt(next_, data, count); }

    bool WriteAt(uint64_t offset, const void* data, std::size_t count) override {
        const auto* in = static_cast<const char*>(data);
        if (spool_ < 0 && offset == next_) {
            if (!Noted(WriteAll(out_, in, count)))
                return false;
            next_ += count;
            return true;
        }
        if (spool_ < 0 && next_ > 0) {
            errno = ESPIPE; // what went out can't be written over
            return Noted(false);
        }
        if (spool_ < 0 && !Noted((spool_ = OpenUnnamedTemporary()) >= 0))
            return false;
        spooled_ = std::max<uint64_t>(spooled_, offset + count);
        return Noted(PwriteAll(spool_, offset, in, count));
    }

    CommitOutcome Commit(Existing) override {
        if (spool_ >= 0 && !CopySpool())
            return CommitOutcome::Failed;
        // A pipe or a terminal has nothing to flush; a file redirected to
        // is flushed like every other new file.
        struct stat st {};
        if (::fstat(out_, &st) == 0 && S_ISREG(st.st_mode) && !Noted(::fsync(out_) == 0))
            return CommitOutcome::Unconfirmed;
        return CommitOutcome::Done;
    }

private:
    bool CopySpool() {
        std::vector<char> buffer(kCopyPiece);
        for (uint64_t at = 0; at < spooled_;) {
            const ssize_t n = ::pread(spool_, buffer.data(), buffer.size(), static_cast<off_t>(at));
            if (n < 0 && errno == EINTR)
                continue;
            if (!Noted(n > 0) || !Noted(WriteAll(out_, buffer.data(), static_cast<std::size_t>(n))))
                return false;
            at += static_cast<uint64_t>(n);
        }
        return true;
    }

    bool Noted(bool ok) {
        if (!ok)
            writeError_.store(errno != 0 ? errno : EIO);
        return ok;
    }

    int out_;
    std::atomic<int>& writeError_;
    int spool_ = -1;
    uint64_t next_ = 0, spooled_ = 0;
};

// The system's source, noting why a read failed.
class NotingSource : public SourceFile {
public:
    NotingSource(std::unique_ptr<SourceFile> inner, std::atomic<int>& readError)
        : inner_(std::move(inner)), readError_(readError) {}
    bool Size(int64_t& size) override { return inner_->Size(size); }
    int64_t Read(void* buffer, std::size_t count) override {
        errno = 0;
        const int64_t got = inner_->Read(buffer, count);
        if (got < 0)
            readError_.store(errno != 0 ? errno : EIO);
        return got;
    }
    unsigned PermissionBits() override { return inner_->PermissionBits(); }
    FileIdentity OpenedAs() override { return inner_->OpenedAs(); }

private:
    std::unique_ptr<SourceFile> inner_;
    std::atomic<int>& readError_;
};

// The system's destination, noting why a write or the final step failed.
class NotingDestination : public DestinationFile {
public:
    NotingDestination(std::unique_ptr<DestinationFile> inner, std::atomic<int>& writeError)
        : inner_(std::move(inner)), writeError_(writeError) {}
    bool Write(const void* data, std::size_t count) override {
        errno = 0;
        return Noted(inner_->Write(data, count));
    }
    bool WriteAt(uint64_t offset, const void* data, std::size_t count) override {
        errno = 0;
        return Noted(inner_->WriteAt(offset, data, count));
    }
    CommitOutcome Commit(Existing existing) override {
        errno = 0;
        const CommitOutcome outcome = inner_->Commit(existing);
        Noted(outcome != CommitOutcome::Failed);
        return outcome;
    }
    int FileSystem() const override { return inner_->FileSystem(); }
    Witness DataWitness() const override { return inner_->DataWitness(); }
    CommitOutcome PlaceFlushed(Existing existing) override {
        errno = 0;
        const CommitOutcome outcome = inner_->PlaceFlushed(existing);
        Noted(outcome != CommitOutcome::Failed);
        return outcome;
    }

private:
    bool Noted(bool ok) {
        if (!ok)
            writeError_.store(errno != 0 ? errno : EIO);
        return ok;
    }

    std::unique_ptr<DestinationFile> inner_;
    std::atomic<int>& writeError_;
};

} // namespace

bool IsStandardStream(const std::string& path) {
    return path == kStandardStream;
}

int OpenUnnamedTemporary() {
    const std::string folder = TemporaryFolder();
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0)
        return fd;
    std::string name = folder + "/.kelvane-cli.XXXXXX";
    const int named = ::mkostemp(name.data(), O_CLOEXEC);
    if (named >= 0)
        ::unlink(name.c_str());
    return named;
}

SpooledInput::~SpooledInput() {
    if (fd_ >= 0)
        ::close(fd_);
}

SpooledInput::Result SpooledInput::Take(int from, int64_t limit) {
    fd_ = OpenUnnamedTemporary();
    if (fd_ < 0) {
        error_ = errno;
        return Result::Failed;
    }
    std::vector<char> buffer(kCopyPiece);
    for (;;) {
        const ssize_t n = ReadSome(from, buffer.data(), buffer.size());
        if (n == 0)
            return Result::Ok;
        if (n < 0 || !WriteAll(fd_, buffer.data(), static_cast<std::size_t>(n))) {
            error_ = errno;
            return Result::Failed;
        }
        size_ += n;
        if (size_ > limit)
            return Result::TooBig;
    }
}

template <typename Open> auto CliFiles::Relieved(Open open) -> decltype(open()) {
    errno = 0;
    auto opened = open();
    if (!opened && (errno == EMFILE || errno == ENFILE) && relieve_) {
        relieve_();
        errno = 0;
        opened = open();
    }
    return opened;
}

std::unique_ptr<SourceFile> CliFiles::OpenSource(const std::string& path) {
    if (IsStandardStream(path) && streams_.input >= 0)
        return std::make_unique<SpooledSource>(streams_.input);
    auto source = Relieved([&] { return files_.OpenSource(path); });
    if (!source) {
        errors.open.store(errno != 0 ? errno : EIO);
        return nullptr;
    }
    return std::make_unique<NotingSource>(std::move(source), errors.read);
}

std::unique_ptr<DestinationFile> CliFiles::CreateDestination(const std::string& path,
                                                             unsigned permissions) {
    if (streams_.IsOutput(path) && streams_.output >= 0)
        return std::make_unique<StandardOutput>(streams_.output, errors.write);
    auto destination = Relieved([&] { return files_.CreateDestination(path, permissions); });
    if (!destination) {
        errors.create.store(errno != 0 ? errno : EIO);
        return nullptr;
    }
    return std::make_unique<NotingDestination>(std::move(destination), errors.write);
}

bool CliFiles::SameFile(const std::string& a, const std::string& b) {
    if (streams_.IsOutput(a) || streams_.IsOutput(b))
        return false;
    return files_.SameFile(a, b);
}

} // namespace kelvane::cli
