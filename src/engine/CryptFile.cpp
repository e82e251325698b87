// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/CryptFile.h"

#include "crypto/Crc32.h"
#include "crypto/Des.h"
#include "crypto/Secret.h"
#include "engine/CryptPipeline.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <sys/mman.h>
#include <utility>

namespace kelvane {

EngineState TheEngineState;

RunKey::RunKey(const std::string& password) : schedule_(Made(password, bytes_)) {}

const uint8_t* RunKey::Made(const std::string& password, SecretBytes<8>& bytes) {
    MakeKey(password, bytes.data());
    return bytes.data();
}

bool RunKey::MadeOf(const std::string& password) const {
    SecretBytes<8> other;
    MakeKey(password, other.data());
    return std::memcmp(other.data(), bytes_.data(), other.size()) == 0;
}

CryptResult ResultOfCommit(CommitOutcome outcome) {
    switch (outcome) {
    case CommitOutcome::Done:
        return crOk;
    case CommitOutcome::NameTaken:
        return crDestinationExists;
    case CommitOutcome::Unconfirmed:
        return crUnconfirmed;
    case CommitOutcome::Failed:
        break;
    }
    return crWriteFailed;
}

void ResetEngineState() {
    TheEngineState.CancelRequested = false;
    TheEngineState.cryptHooks = CryptHooks{};
    FlushFileSystemForTesting(nullptr);
    ForgetFolderReadings();
}

namespace {

using detail::ChecksumStage;
using detail::CipherStage;
using detail::EventPacer;
using detail::ReadStage;
using detail::ReportPlan;
using detail::Ring;
using detail::RunEnd;
using detail::RunProgress;
using detail::StageGroups;
using detail::WriteStage;

// The heap block the thread's last small file used, wiped, kept for its
// next file: each request of a kilobyte or more makes the allocator sweep
// its lists of small free blocks first, which over many small files cost
// more than their cipher did.
struct KeptBlock {
    std::unique_ptr<uint8_t[]> data;
    std::size_t capacity = 0;
};
thread_local KeptBlock tKeptBlock;

KeptBlock TakeKeptBlock(std::size_t size) {
    if (tKeptBlock.data != nullptr && tKeptBlock.capacity >= size)
        return std::exchange(tKeptBlock, {});
    KeptBlock fresh{std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[size]), size};
    if (fresh.data == nullptr)
        fresh.capacity = 0;
    return fresh;
}

// A wiped block: the larger of it and the one kept stays.
void KeepBlock(KeptBlock block) {
    if (tKeptBlock.data == nullptr || tKeptBlock.capacity < block.capacity)
        tKeptBlock = std::move(block);
}

// The whole file's bytes. Large buffers come straight from the kernel in
// huge pages where it has them: faulting in a gigabyte 4 KiB at a time costs
// more than the cipher itself.
class Buffer {
public:
    Buffer() = default;
    ~Buffer() { Release(); }
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;

    // A ring, which a file larger than it streams through, is mapped
    // whatever its size: it lives for the whole run.
    bool Allocate(int64_t used, bool ring) {
        if (used < 0 || static_cast<uint64_t>(used) > std::numeric_limits<std::size_t>::max() / 2)
            return false;
        Release();
        const auto size = std::max<std::size_t>(static_cast<std::size_t>(used), 8);
        if (size < kMappedFrom && !ring) {
            // Left uninitialised: every byte is read from the file or set
            // before it is used.
            small_ = TakeKeptBlock(size);
            smallSize_ = small_.data != nullptr ? size : 0;
            return small_.data != nullptr;
        }
        mappedSize_ = (size + kHugePage - 1) / kHugePage * kHugePage;
        void* p = ::mmap(nullptr, mappedSize_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS,
                         -1, 0);
        if (p == MAP_FAILED) {
            mappedSize_ = 0;
            return false;
        }
        ::madvise(p, mappedSize_, MADV_HUGEPAGE);
        // Plain text passes through here: kept out of any core dump.
        ::madvise(p, mappedSize_, MADV_DONTDUMP);
        mapped_ = static_cast<uint8_t*>(p);
        return true;
    }

    uint8_t* Data() const { return mapped_ != nullptr ? mapped_ : small_.data.get(); }

    // The ring starts this far into the buffer, so that a file held whole
    // can have its header written in front of its data and go to the disk
    // in one write; the ring stays aligned as the cipher likes it.
    static constexpr int64_t kHeaderRoom = 16;

private:
    static constexpr std::size_t kHugePage = std::size_t{2} << 20;
    static constexpr std::size_t kMappedFrom = std::size_t{4} << 20;

    // Heap memory goes back to the allocator and lives on in the process,
    // so the plain text it held is wiped first; unmapped pages leave it.
    void Release() {
        // Only the bytes this run used held anything since the last wipe.
        if (small_.data != nullptr) {
            SecureWipe(small_.data.get(), smallSize_);
            KeepBlock(std::exchange(small_, {}));
        }
        smallSize_ = 0;
        if (mapped_ != nullptr)
            ::munmap(mapped_, mappedSize_);
        mapped_ = nullptr;
        mappedSize_ = 0;
    }

    KeptBlock small_;
    std::size_t smallSize_ = 0; // the bytes of it this run uses
    uint8_t* mapped_ = nullptr;
    std::size_t mappedSize_ = 0;
};

class Key {
public:
    explicit Key(const std::string& password) { MakeKey(password, bytes_.data()); }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    const uint8_t* Bytes() const { return bytes_.data(); }

private:
    SecretBytes<8> bytes_;
};

// The run's key when it is the password's, else one of the file's own.
class UsedKey {
public:
    UsedKey(const std::string& password, const RunKey* shared) {
        if (shared != nullptr && shared->MadeOf(password))
            key_ = shared;
        else
            key_ = &own_.emplace(password);
    }
    UsedKey(const UsedKey&) = delete;
    UsedKey& operator=(const UsedKey&) = delete;
    const uint8_t* Bytes() const { return key_->Bytes(); }
    const DesKeySchedule& Schedule() const { return key_->Schedule(); }

private:
    std::optional<RunKey> own_;
    const RunKey* key_ = nullptr;
};

FileAccess& FilesOf(const CryptHooks& hooks) {
    return hooks.files != nullptr ? *hooks.files : SystemFiles();
}

// A small file is held whole; a large one streams through a ring that the
// stages share, so memory stays small and no page is cleared twice. The ring
// holds whole blocks.
int64_t RingCapacityFor(const CryptHooks& hooks, int64_t length) {
    const int64_t ring = std::max<int64_t>(hooks.ringBytes / 8 * 8, 8);
    return std::min(std::max<int64_t>((length + 7) / 8 * 8, 8), ring);
}

bool RunsInParallel(const CryptHooks& hooks, int64_t length) {
    return length >= hooks.parallelFrom;
}

void FinishBars(ProgressBar& fillBar, ProgressBar& drainBar) {
    fillBar.SetPosition(100);
    drainBar.SetPosition(0);
}

// Everything a run's stages share.
struct Run {
    Run(const CryptHooks& hooks, const Ring& ring) : pacer(hooks) {
        progress.SetStride(std::min<int64_t>(int64_t{1} << 20, ring.capacity / 4));
        progress.pause = hooks.pause;
    }
    RunProgress progress;
    std::atomic<bool> readFailed{false};
    EventPacer pacer;
};

// Runs the stages to the end and turns how the run ended into its result; a
// completed run leaves the bars at 100 and 0.
CryptResult DriveStages(Run& run, StageGroups& stages, const ReportPlan& plan) {
    switch (detail::RunStages(stages, run.progress, plan, run.pacer, run.readFailed)) {
    case RunEnd::Failed:
        return crReadFailed;
    case RunEnd::Cancelled:
        return crAborted;
    case RunEnd::NoThreads:
        return crNoMemory;
    case RunEnd::Completed:
        break;
    }
    FinishBars(*plan.fillBar, *plan.drainBar);
    return crOk;
}

std::unique_ptr<SourceFile> OpenSource(FileAccess& files, const std::string& path,
                                       const CryptHooks& hooks) {
    auto source = files.OpenSource(path);
    if (source && hooks.sourceOpened != nullptr)
        *hooks.sourceOpened = source->OpenedAs();
    return source;
}

// The last step, flushing and naming the destination, while the window's
// events go on running.
CryptResult Finish(Run& run, bool parallel, const std::function<CommitOutcome()>& commit) {
    CommitOutcome outcome = CommitOutcome::Failed;
    detail::RunWhilePumping(
        [&] {
            outcome = commit();
            return true;
        },
        parallel, run.pacer);
    return ResultOfCommit(outcome);
}

// The written destination's commit, or its hand-over to a group commit.
CommitOutcome CommitOrHandOver(std::unique_ptr<DestinationFile>& destination,
                               const CryptHooks& hooks) {
    if (hooks.handOver == nullptr)
        return destination->Commit(hooks.onExisting);
    *hooks.handOver = std::move(destination);
    return CommitOutcome::Done;
}

// The destination is created before the work starts so it can be written
// while the rest is still being transformed; it stays an unnamed file until
// the end, and a failure to create it is reported only where a run that
// creates it last would have met it.
std::unique_ptr<DestinationFile> CreateEarly(FileAccess& files, const std::string* path,
                                             unsigned permissions) {
    return path == nullptr ? nullptr : files.CreateDestination(*path, permissions);
}

CryptResult Encrypt(const std::string& sourcePath, const std::string& destinationPath,
                    const std::string& password, ProgressBar& fillBar, ProgressBar& drainBar,
                    const CryptHooks& hooks) {
    FileAccess& files = FilesOf(hooks);
    auto source = OpenSource(files, sourcePath, hooks);
    if (!source)
        return crOpenFailed;
    int64_t plainLength = 0;
    if (!source->Size(plainLength))
        return crReadFailed;
    if (plainLength > kLargestPlainLength)
        return crNoMemory;
    const int64_t cipherLength = CipherLengthFor(plainLength);
    Buffer buffer;
    const int64_t capacity = RingCapacityFor(hooks, cipherLength);
    if (!buffer.Allocate(Buffer::kHeaderRoom + capacity, capacity < cipherLength))
        return crNoMemory;
    const Ring ring{buffer.Data() + Buffer::kHeaderRoom, capacity};
    const UsedKey key(password, hooks.runKey);
    const DesKeySchedule& schedule = key.Schedule();
    auto destination = CreateEarly(files, &destinationPath, source->PermissionBits());

    Run run(hooks, ring);
    // Every byte passes read, checksum, cipher and write in that order, so
    // the writer is the last to need it.
    RunProgress& progress = run.progress;
    const bool parallel = RunsInParallel(hooks, cipherLength);
    // A small file, held whole and run inline, is written once at the end,
    // header and data together: over many small files, each write is a
    // sizeable share of a file's cost.
    const bool writtenWhole = !parallel && cipherLength <= ring.capacity;
    ReadStage read(
        *source, ring, plainLength, cipherLength, [&] { return progress.written.load(); }, progress,
        run.readFailed);
    ChecksumStage checksum(ring, plainLength, cipherLength, progress.read, progress);
    CipherStage cipher(schedule, true, ring, cipherLength, progress.checked, progress);
    WriteStage write(writtenWhole ? nullptr : destination.get(), kCryptHeaderSize, ring,
                     cipherLength, progress.transformed, progress);
    StageGroups stages{{{&read, &write}, {&checksum}, {&cipher}}, parallel, hooks.threadMayStart};
    const ReportPlan plan{cipherLength / 8, &fillBar, &drainBar, true};
    if (const CryptResult result = DriveStages(run, stages, plan); result != crOk)
        return result;
    source.reset();

    if (!destination)
        return crCreateFailed;
    CryptHeader fields;
    fields.plainLength = static_cast<int32_t>(plainLength);
    fields.dataCheck = checksum.Value();
    fields.keyCheck = KeyCheckOf(key.Bytes());
    uint8_t* const header = writtenWhole ? ring.base - kCryptHeaderSize : buffer.Data();
    fields.Serialize(header);
    if (write.Failed())
        return crWriteFailed;
    const int64_t headerAndData = kCryptHeaderSize + (writtenWhole ? cipherLength : 0);
    return Finish(run, stages.parallel, [&] {
        return destination->WriteAt(0, header, static_cast<std::size_t>(headerAndData))
                   ? CommitOrHandOver(destination, hooks)
                   : CommitOutcome::Failed;
    });
}

// Decryption up to the data check, and the destination's writing beside it
// when a destination path is given.
CryptResult Decrypt(const std::string& sourcePath, const std::string* destinationPath,
                    const std::string& password, ProgressBar& fillBar, ProgressBar& drainBar,
                    const CryptHooks& hooks) {
    FileAccess& files = FilesOf(hooks);
    auto source = OpenSource(files, sourcePath, hooks);
    if (!source)
        return crOpenFailed;
    uint8_t bytes[kCryptHeaderSize];
    constexpr int kMagicSize = sizeof kCryptMagic;
    // One read for the whole header; a file too short for the magic is a
    // failed read, one without the magic is not crypted, whatever its length.
    const int64_t got = source->Read(bytes, kCryptHeaderSize);
    if (got < kMagicSize)
        return crReadFailed;
    if (!StartsWithCryptMagic(bytes, kMagicSize))
        return crNotCrypted;
    if (got != kCryptHeaderSize)
        return crReadFailed;
    const UsedKey key(password, hooks.runKey);
    int64_t fileLength = 0;
    const CryptHeader header = CryptHeader::Parse(bytes, sizeof bytes, 0);
    if (KeyCheckOf(key.Bytes()) != header.keyCheck)
        return crBadPassword;
    if (!source->Size(fileLength) || fileLength < kCryptHeaderSize)
        return crReadFailed;
    const int64_t cipherLength = fileLength - kCryptHeaderSize;
    const int32_t plainLength = header.plainLength;
    // A plain length outside the ciphertext would make the data check read
    // past the data: such a header is not one of ours.
    if (plainLength < 0 || plainLength > cipherLength)
        return crNotCrypted;
    Buffer buffer;
    const int64_t capacity = RingCapacityFor(hooks, cipherLength);
    if (!buffer.Allocate(capacity, capacity < cipherLength))
        return crNoMemory;
    const Ring ring{buffer.Data(), capacity};
    const DesKeySchedule& schedule = key.Schedule();
    auto destination = CreateEarly(files, destinationPath, source->PermissionBits());

    Run run(hooks, ring);
    // The plain bytes go to both the checksum and the writer after the
    // cipher; past the plain length only the cipher needs them.
    RunProgress& progress = run.progress;
    const auto consumed = [&progress, plainLength] {
        const auto stillNeeds = [plainLength](int64_t done) {
            return done < plainLength ? done : std::numeric_limits<int64_t>::max();
        };
        return std::min({progress.transformed.load(), stillNeeds(progress.checked.load()),
                         stillNeeds(progress.written.load())});
    };
    ReadStage read(*source, ring, cipherLength, cipherLength, consumed, progress, run.readFailed);
    CipherStage cipher(schedule, false, ring, cipherLength, progress.read, progress);
    ChecksumStage checksum(ring, plainLength, plainLength, progress.transformed, progress);
    WriteStage write(destination.get(), 0, ring, plainLength, progress.transformed, progress);
    StageGroups stages{{{&read, &write}, {&checksum}, {&cipher}},
                       RunsInParallel(hooks, cipherLength),
                       hooks.threadMayStart};
    const ReportPlan plan{cipherLength / 8, &fillBar, &drainBar, false};
    if (const CryptResult result = DriveStages(run, stages, plan); result != crOk)
        return result;
    if (checksum.Value() != header.dataCheck)
        return crBadPassword;
    source.reset();

    if (destinationPath == nullptr)
        return crOk;
    if (!destination)
        return crCreateFailed;
    if (write.Failed())
        return crWriteFailed;
    return Finish(run, stages.parallel, [&] { return CommitOrHandOver(destination, hooks); });
}

} // namespace

CryptResult EncryptFile(const std::string& sourcePath, const std::string& destinationPath,
                        const std::string& password, ProgressBar& fillBar, ProgressBar& drainBar,
                        const CryptHooks& hooks) {
    if (FilesOf(hooks).SameFile(sourcePath, destinationPath))
        return crCreateFailed;
    return Encrypt(sourcePath, destinationPath, password, fillBar, drainBar, hooks);
}

CryptResult DecryptFile(const std::string& sourcePath, const std::string& destinationPath,
                        const std::string& password, ProgressBar& fillBar, ProgressBar& drainBar,
                        const CryptHooks& hooks) {
    if (FilesOf(hooks).SameFile(sourcePath, destinationPath))
        return crCreateFailed;
    return Decrypt(sourcePath, &destinationPath, password, fillBar, drainBar, hooks);
}

CryptResult EncryptFile(const std::string& sourcePath, const std::string& destinationPath,
                        const std::string& password, ProgressBar& fillBar, ProgressBar& drainBar) {
    return EncryptFile(sourcePath, destinationPath, password, fillBar, drainBar,
                       DefaultCryptHooks());
}

CryptResult DecryptFile(const std::string& sourcePath, const std::string& destinationPath,
                        const std::string& password, ProgressBar& fillBar, ProgressBar& drainBar) {
    return DecryptFile(sourcePath, destinationPath, password, fillBar, drainBar,
                       DefaultCryptHooks());
}

CryptResult VerifyCryptedFile(const std::string& path, const std::string& password,
                              const CryptHooks& hooks) {
    ProgressCounter fill, drain;
    return Decrypt(path, nullptr, password, fill, drain, hooks);
}

namespace {

// Compared a piece at a time: whole blocks, the same for both files.
constexpr int64_t kComparedPiece = int64_t{256} << 10;

// The header's length, checks and layout fit `plainLength` plain bytes
// under `key`.
bool HeaderFits(SourceFile& crypted, int64_t plainLength, const Key& key, CryptHeader& header) {
    int64_t fileLength = 0;
    uint8_t bytes[kCryptHeaderSize];
    if (!crypted.Size(fileLength) || crypted.Read(bytes, sizeof bytes) != kCryptHeaderSize)
        return false;
    header = CryptHeader::Parse(bytes, sizeof bytes, fileLength);
    return header.magicMatches && header.keyCheck == KeyCheckOf(key.Bytes()) &&
           header.plainLength == plainLength && header.cipherLength == CipherLengthFor(plainLength);
}

// Reads exactly `count` bytes; a file that ends early fails.
bool ReadWhole(SourceFile& file, uint8_t* into, std::size_t count) {
    return file.Read(into, count) == static_cast<int64_t>(count);
}

// Deciphers the ciphertext piece by piece and compares its plain part with
// the plain file's bytes, which must then end, as the ciphertext must.
bool CiphertextHoldsPlain(SourceFile& crypted, SourceFile& plain, const DesKeySchedule& schedule,
                          const CryptHeader& header) {
    Buffer buffer; // plain text passes through: wiped when it goes
    if (!buffer.Allocate(2 * kComparedPiece, false))
        return false;
    uint8_t* const deciphered = buffer.Data();
    uint8_t* const expected = deciphered + kComparedPiece;
    uint32_t dataCheck = 0;
    int64_t plainLeft = header.plainLength;
    for (int64_t left = header.cipherLength; left > 0;) {
        if (CancelRequested.load())
            return false;
        const int64_t piece = std::min(left, kComparedPiece);
        const int64_t plainPiece = std::min(plainLeft, piece);
        const auto bytes = static_cast<std::size_t>(piece);
        const auto plainBytes = static_cast<std::size_t>(plainPiece);
        if (!ReadWhole(crypted, deciphered, bytes) || !ReadWhole(plain, expected, plainBytes))
            return false;
        DesCryptBlocks(schedule, deciphered, bytes / 8, false);
        if (std::memcmp(deciphered, expected, plainBytes) != 0)
            return false;
        dataCheck = Crc32Continue(dataCheck, expected, plainBytes);
        left -= piece;
        plainLeft -= plainPiece;
    }
    // Either file may have grown since its size was taken.
    uint8_t beyond = 0;
    return crypted.Read(&beyond, 1) == 0 && plain.Read(&beyond, 1) == 0 &&
           dataCheck == header.dataCheck;
}

} // namespace

bool CryptedHoldsPlain(SourceFile& crypted, SourceFile& plain, const std::string& password) {
    int64_t plainLength = 0;
    if (!plain.Size(plainLength) || plainLength > kLargestPlainLength)
        return false;
    const Key key(password);
    CryptHeader header;
    if (!HeaderFits(crypted, plainLength, key, header))
        return false;
    const DesKeySchedule schedule(key.Bytes());
    return CiphertextHoldsPlain(crypted, plain, schedule, header);
}

bool ReadCryptHeader(const std::string& path, CryptHeader& header, FileAccess& files) {
    header = CryptHeader{};
    auto source = files.OpenSource(path);
    int64_t length = 0;
    if (!source || !source->Size(length))
        return false;
    uint8_t bytes[kCryptHeaderSize] = {};
    const int64_t got = source->Read(bytes, sizeof bytes);
    if (got < 0)
        return false;
    header = CryptHeader::Parse(bytes, static_cast<std::size_t>(got), length);
    return true;
}

} // namespace kelvane
