#include "crypto/CryptFile.h"

#include "crypto/Crc32.h"
#include "crypto/Des.h"
#include "crypto/SecureWipe.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

namespace kelvane {

std::atomic<bool> CancelRequested{false};

CryptHooks& DefaultCryptHooks() {
    static CryptHooks hooks;
    return hooks;
}

namespace {

// Bulk transfers move whole multiples of the 10240-byte chunk at a time.
constexpr std::size_t kBulkTransfer = std::size_t{kTransferChunk} * 100;
// Blocks enciphered between two looks at the clock.
constexpr int64_t kBlocksPerSlice = 4096;

class EventPacer {
public:
    explicit EventPacer(const CryptHooks& hooks)
        : hooks_(hooks), last_(std::chrono::steady_clock::now()) {}

    void Tick() {
        if (hooks_.letEventsRun && std::chrono::steady_clock::now() - last_ >= hooks_.eventBudget)
            RunNow();
    }

    void RunNow() {
        if (hooks_.letEventsRun)
            hooks_.letEventsRun();
        last_ = std::chrono::steady_clock::now();
    }

private:
    const CryptHooks& hooks_;
    std::chrono::steady_clock::time_point last_;
};

struct Buffer {
    std::unique_ptr<uint8_t[]> bytes;
    std::size_t size = 0;

    bool Allocate(int64_t used) {
        if (used < 0 || static_cast<uint64_t>(used) > std::numeric_limits<std::size_t>::max() - 8)
            return false;
        size = static_cast<std::size_t>(used);
        // Left uninitialised: every byte is read from the file or set by the
        // caller before it is used.
        bytes.reset(new (std::nothrow) uint8_t[std::max<std::size_t>(size, 8)]);
        return bytes != nullptr;
    }
};

class Key {
public:
    explicit Key(const std::string& password) { MakeKey(password, bytes_); }
    ~Key() { SecureWipe(bytes_, sizeof bytes_); }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    const uint8_t* Bytes() const { return bytes_; }

private:
    uint8_t bytes_[8];
};

bool ReadBulk(SourceFile& source, uint8_t* data, int64_t size, EventPacer& pacer) {
    while (size > 0) {
        const auto want = static_cast<std::size_t>(std::min<int64_t>(size, kBulkTransfer));
        if (source.Read(data, want) != static_cast<int64_t>(want))
            return false;
        data += want;
        size -= static_cast<int64_t>(want);
        pacer.Tick();
    }
    return true;
}

bool WriteBulk(DestinationFile& destination, const uint8_t* data, int64_t size, EventPacer& pacer) {
    while (size > 0) {
        const auto count = static_cast<std::size_t>(std::min<int64_t>(size, kBulkTransfer));
        if (!destination.Write(data, count))
            return false;
        data += count;
        size -= static_cast<int64_t>(count);
        pacer.Tick();
    }
    return true;
}

void PutLe32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint32_t GetLe32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

uint32_t ChecksumOf(const uint8_t* data, int64_t size, EventPacer& pacer) {
    uint32_t crc = 0;
    while (size > 0) {
        const auto count = static_cast<std::size_t>(std::min<int64_t>(size, kBulkTransfer));
        crc = Crc32Continue(crc, data, count);
        data += count;
        size -= static_cast<int64_t>(count);
        pacer.Tick();
    }
    return crc;
}

// Which bar counts the block index; the other holds the total.
enum class BlockIndexOn { FillBar, DrainBar };

struct BlockRun {
    const DesKeySchedule& schedule;
    bool encipher;
    ProgressBar& fillBar;
    ProgressBar& drainBar;
    BlockIndexOn indexOn;
    EventPacer& pacer;
};

void TransformSliced(const BlockRun& run, uint8_t* data, int64_t blocks) {
    while (blocks > 0) {
        const int64_t slice = std::min(blocks, kBlocksPerSlice);
        DesCryptBlocks(run.schedule, data, static_cast<std::size_t>(slice), run.encipher);
        data += 8 * slice;
        blocks -= slice;
        run.pacer.Tick();
    }
}

// The report after block j, when the step s divides j: positions, tags, a
// chance for the window to run, then the cancel test.
bool ReportAndContinue(const BlockRun& run, int64_t j, int64_t step, int64_t total) {
    run.fillBar.SetPosition(static_cast<int>(j / step));
    run.drainBar.SetPosition(100 - run.fillBar.Position());
    const int index = static_cast<int>(j);
    const int all = static_cast<int>(total);
    run.fillBar.SetTag(run.indexOn == BlockIndexOn::FillBar ? index : all);
    run.drainBar.SetTag(run.indexOn == BlockIndexOn::DrainBar ? index : all);
    run.pacer.RunNow();
    return !CancelRequested.load();
}

// Transforms every block in place, reporting after block 0 and every s = B
// div 100 blocks (never when B < 100). False when cancelled at a report.
bool TransformBlocks(const BlockRun& run, uint8_t* data, int64_t blocks) {
    const int64_t step = blocks / 100;
    int64_t j = 0;
    while (j < blocks) {
        int64_t end = blocks;
        bool report = false;
        if (step > 0) {
            const int64_t nextReport = (j + step - 1) / step * step;
            if (nextReport < blocks) {
                end = nextReport + 1;
                report = true;
            }
        }
        TransformSliced(run, data + 8 * j, end - j);
        j = end;
        if (report && !ReportAndContinue(run, end - 1, step, blocks))
            return false;
    }
    return true;
}

void FinishBars(ProgressBar& fillBar, ProgressBar& drainBar) {
    fillBar.SetPosition(100);
    drainBar.SetPosition(0);
}

FileAccess& FilesOf(const CryptHooks& hooks) {
    return hooks.files != nullptr ? *hooks.files : SystemFiles();
}

// Decryption up to and including the data check, into memory.
struct Decrypted {
    CryptResult result = crOk;
    Buffer buffer;
    int32_t plainLength = 0;
    unsigned permissions = 0600;
};

Decrypted Failed(CryptResult result) {
    Decrypted out;
    out.result = result;
    return out;
}

Decrypted DecryptToMemory(const std::string& sourcePath, const std::string& password,
                          ProgressBar& fillBar, ProgressBar& drainBar, const CryptHooks& hooks) {
    Decrypted out;
    EventPacer pacer(hooks);
    auto source = FilesOf(hooks).OpenSource(sourcePath);
    if (!source)
        return Failed(crOpenFailed);
    out.permissions = source->PermissionBits();
    uint8_t header[kCryptHeaderSize];
    if (source->Read(header, 4) != 4)
        return Failed(crReadFailed);
    if (std::memcmp(header, kCryptMagic, 4) != 0)
        return Failed(crNotCrypted);
    if (source->Read(header + 4, 10) != 10)
        return Failed(crReadFailed);
    const Key key(password);
    const uint16_t storedKeyCheck = static_cast<uint16_t>(header[12] | header[13] << 8);
    if (KeyCheckOf(key.Bytes()) != storedKeyCheck)
        return Failed(crBadPassword);
    int64_t fileLength = 0;
    if (!source->Size(fileLength) || fileLength < kCryptHeaderSize)
        return Failed(crReadFailed);
    const int64_t cipherLength = fileLength - kCryptHeaderSize;
    out.plainLength = static_cast<int32_t>(GetLe32(header + 4));
    // A plain length outside the ciphertext would make the data check read
    // past the data: such a header is not one of ours.
    if (out.plainLength < 0 || out.plainLength > cipherLength)
        return Failed(crNotCrypted);
    if (!out.buffer.Allocate(cipherLength))
        return Failed(crNoMemory);
    if (!ReadBulk(*source, out.buffer.bytes.get(), cipherLength, pacer))
        return Failed(crReadFailed);
    const DesKeySchedule schedule(key.Bytes());
    const BlockRun run{schedule, false, fillBar, drainBar, BlockIndexOn::DrainBar, pacer};
    if (!TransformBlocks(run, out.buffer.bytes.get(), cipherLength / 8))
        return Failed(crAborted);
    FinishBars(fillBar, drainBar);
    const uint32_t dataCheck = ChecksumOf(out.buffer.bytes.get(), out.plainLength, pacer);
    if (dataCheck != GetLe32(header + 8))
        return Failed(crBadPassword);
    return out;
}

} // namespace

void MakeKey(const std::string& password, uint8_t key[8]) {
    std::memset(key, 0, 8);
    for (std::size_t i = 0; i < 8 && i < password.size() && password[i] != '\0'; ++i)
        key[i] = static_cast<uint8_t>(password[i]);
}

uint16_t KeyCheckOf(const uint8_t key[8]) {
    return static_cast<uint16_t>(Crc32Of(key, 8));
}

CryptResult EncryptFile(const std::string& sourcePath, const std::string& destinationPath,
                        const std::string& password, ProgressBar& fillBar, ProgressBar& drainBar,
                        const CryptHooks& hooks) {
    FileAccess& files = FilesOf(hooks);
    if (files.SameFile(sourcePath, destinationPath))
        return crCreateFailed;
    EventPacer pacer(hooks);
    auto source = files.OpenSource(sourcePath);
    if (!source)
        return crOpenFailed;
    int64_t plainLength = 0;
    if (!source->Size(plainLength))
        return crReadFailed;
    // The header holds the length as a signed 32-bit number.
    if (plainLength > std::numeric_limits<int32_t>::max())
        return crNoMemory;
    const int64_t cipherLength = plainLength + 8 - plainLength % 8;
    Buffer buffer;
    if (!buffer.Allocate(cipherLength))
        return crNoMemory;
    uint8_t* data = buffer.bytes.get();
    if (!ReadBulk(*source, data, plainLength, pacer))
        return crReadFailed;
    std::memset(data + plainLength, 0, static_cast<std::size_t>(cipherLength - plainLength));
    const unsigned permissions = source->PermissionBits();
    const uint32_t dataCheck = ChecksumOf(data, plainLength, pacer);
    const Key key(password);
    const uint16_t keyCheck = KeyCheckOf(key.Bytes());
    const DesKeySchedule schedule(key.Bytes());
    const BlockRun run{schedule, true, fillBar, drainBar, BlockIndexOn::FillBar, pacer};
    if (!TransformBlocks(run, data, cipherLength / 8))
        return crAborted;
    FinishBars(fillBar, drainBar);
    source.reset();

    auto destination = files.CreateDestination(destinationPath, permissions);
    if (!destination)
        return crCreateFailed;
    uint8_t header[kCryptHeaderSize];
    std::memcpy(header, kCryptMagic, 4);
    PutLe32(header + 4, static_cast<uint32_t>(plainLength));
    PutLe32(header + 8, dataCheck);
    header[12] = static_cast<uint8_t>(keyCheck);
    header[13] = static_cast<uint8_t>(keyCheck >> 8);
    if (!destination->Write(header, sizeof header) ||
        !WriteBulk(*destination, data, cipherLength, pacer) || !destination->Commit())
        return crWriteFailed;
    return crOk;
}

CryptResult DecryptFile(const std::string& sourcePath, const std::string& destinationPath,
                        const std::string& password, ProgressBar& fillBar, ProgressBar& drainBar,
                        const CryptHooks& hooks) {
    FileAccess& files = FilesOf(hooks);
    if (files.SameFile(sourcePath, destinationPath))
        return crCreateFailed;
    Decrypted plain = DecryptToMemory(sourcePath, password, fillBar, drainBar, hooks);
    if (plain.result != crOk)
        return plain.result;
    auto destination = files.CreateDestination(destinationPath, plain.permissions);
    if (!destination)
        return crCreateFailed;
    EventPacer pacer(hooks);
    if (!WriteBulk(*destination, plain.buffer.bytes.get(), plain.plainLength, pacer) ||
        !destination->Commit())
        return crWriteFailed;
    return crOk;
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
    return DecryptToMemory(path, password, fill, drain, hooks).result;
}

bool CryptHeader::WellFormed() const {
    return complete && magicMatches && plainLength >= 0 && cipherLength % 8 == 0 &&
           cipherLength > plainLength;
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
    header.magicMatches = got >= 4 && std::memcmp(bytes, kCryptMagic, 4) == 0;
    header.complete = got == kCryptHeaderSize;
    header.plainLength = static_cast<int32_t>(GetLe32(bytes + 4));
    header.dataCheck = GetLe32(bytes + 8);
    header.keyCheck = static_cast<uint16_t>(bytes[12] | bytes[13] << 8);
    header.cipherLength = std::max<int64_t>(length - kCryptHeaderSize, 0);
    return true;
}

} // namespace kelvane
