// SPDX-License-Identifier: GPL-3.0-or-later
// Standard input and standard output as the engine's files, and the reasons
// the system gave when opening, reading or writing a file failed.
#pragma once

#include "platform/FileAccess.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace kelvane::cli {

// An unnamed temporary file (O_TMPFILE) in $TMPDIR or /tmp; where the file
// system has none, a named one removed at once. -1 with errno on failure.
int OpenUnnamedTemporary();

// What came on standard input, held whole in an unnamed temporary file: the
// format's header holds the length and the data check before the data, and
// the engine needs the length before it starts.
class SpooledInput {
public:
    enum class Result { Ok, TooBig, Failed };
    SpooledInput() = default;
    ~SpooledInput();
    SpooledInput(const SpooledInput&) = delete;
    SpooledInput& operator=(const SpooledInput&) = delete;

    // Reads `from` to its end; refuses more than `limit` bytes. On Failed,
    // Error() holds the errno.
    Result Take(int from, int64_t limit);
    int Fd() const { return fd_; }
    int64_t Size() const { return size_; }
    int Error() const { return error_; }

private:
    int fd_ = -1;
    int64_t size_ = 0;
    int error_ = 0;
};

bool IsStandardStream(const std::string& path);

// Where "-" leads: the spooled standard input and the standard output, -1
// when the run has none.
struct StandardStreams {
    int input = -1;
    int output = -1;
    // The name -o gave when it leads to a stream, not a file: a FIFO, a
    // device or a terminal (/dev/stdout among them). `output` is then that
    // stream, written as standard output is.
    std::string outputName;

    bool IsOutput(const std::string& path) const {
        return IsStandardStream(path) || (!outputName.empty() && path == outputName);
    }
};

// The errno behind the last failure of each kind; 0 when none was seen.
struct FileErrors {
    std::atomic<int> open{0}, create{0}, read{0}, write{0};
};

// The system's files, "-" standing for standard input or output, noting why
// a step failed. One per FILE, since the reasons are that FILE's.
class CliFiles : public FileAccess {
public:
    // Names that are not "-" go to `files`: the system's, or a walked
    // folder's.
    // `relieve`, when given, is called once the process has no descriptor
    // left for a file (EMFILE, ENFILE): it commits what waits, whose files
    // hold descriptors, and the opening is tried once more.
    explicit CliFiles(const StandardStreams& streams, FileAccess& files = SystemFiles(),
                      std::function<void()> relieve = {})
        : streams_(streams), files_(files), relieve_(std::move(relieve)) {}

    std::unique_ptr<SourceFile> OpenSource(const std::string& path) override;
    std::unique_ptr<DestinationFile> CreateDestination(const std::string& path,
                                                       unsigned permissions) override;
    bool SameFile(const std::string& a, const std::string& b) override;

    FileErrors errors;

private:
    template <typename Open> auto Relieved(Open open) -> decltype(open());

    const StandardStreams& streams_;
    FileAccess& files_;
    std::function<void()> relieve_;
};

} // namespace kelvane::cli
