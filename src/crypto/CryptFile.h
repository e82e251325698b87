// The crypted file (".cry") and the two routines that make and read it.
//
// Layout, integers little-endian:
//   0  4  magic "KZ31"
//   4  4  plain length L, signed
//   8  4  data check: Crc32Of over the L plain bytes
//  12  2  key check: low 16 bits of Crc32Of over the 8 key bytes
//  14  N  ciphertext, N = L + 8 - L mod 8: the plain bytes and 1 to 8 pad
//         bytes, each 8-byte block enciphered on its own under the key
#pragma once

#include "crypto/FileAccess.h"
#include "crypto/PauseGate.h"
#include "crypto/Progress.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace kelvane {

using CryptResult = int32_t;

constexpr CryptResult crOk = 0;
constexpr CryptResult crOpenFailed = -2;
constexpr CryptResult crCreateFailed = -9;
constexpr CryptResult crReadFailed = -10;
constexpr CryptResult crBadPassword = -11;
constexpr CryptResult crNoMemory = -12;
constexpr CryptResult crNotCrypted = -13;
constexpr CryptResult crAborted = -14;
constexpr CryptResult crWriteFailed = -15;
// Beyond the classic codes, for the two ends of a run the front ends report
// in their own words: a file of the destination's name appeared during the
// run and was kept (the source stays too); the destination is in place but
// the disk did not confirm it (keep the source).
constexpr CryptResult crDestinationExists = -20;
constexpr CryptResult crUnconfirmed = -21;

constexpr char kCryptMagic[4] = {'K', 'Z', '3', '1'};
constexpr int kCryptHeaderSize = 14;
constexpr int kTransferChunk = 10240;

// Set by whoever wants the running work to stop (the "Cancel process" button,
// Ctrl-C in the command-line program); the engine only reads it, at its
// progress reports. Atomic so a signal handler or another thread may set it.
extern std::atomic<bool> CancelRequested;

// What a run needs from its surroundings.
struct CryptHooks {
    FileAccess* files = nullptr; // the real file system when null
    // Lets pending window events run. Called at every progress report and
    // otherwise whenever `eventBudget` has passed since the last call.
    std::function<void()> letEventsRun;
    std::chrono::microseconds eventBudget{5000};
    // Files of at least this many bytes run the checksum, the cipher and the
    // file transfers on threads of their own; smaller ones run inline.
    int64_t parallelFrom = int64_t{4} << 20;
    // Files larger than this stream through a ring of this many bytes.
    int64_t ringBytes = int64_t{16} << 20;
    // When set, receives the longest time the run went without letting
    // events run, if longer than the value it holds.
    std::chrono::microseconds* longestEventGap = nullptr;
    // Closed while the user is asked whether to cancel: the worker threads
    // hold still until it opens. The conductor needs no gate, since the
    // question runs inside its own call to let events run.
    PauseGate* pause = &RunPause();
    // Whether the user agreed to replace a file of the destination's name;
    // without it the run ends in crDestinationExists when one is there.
    Existing onExisting = Existing::Keep;
    // When set, receives the source as it was when the run opened it, for
    // the test that it is still the very file before it is deleted.
    FileIdentity* sourceOpened = nullptr;
    // Tests: asked before each worker thread starts; false makes that start
    // fail as if the system had no thread to give.
    std::function<bool(std::size_t)> threadMayStart = nullptr;
};

// The hooks the five-argument routines use; the program sets them once.
CryptHooks& DefaultCryptHooks();

// The 8-byte key: the password's first bytes (at most 8, ending at a zero
// byte) followed by zeros. The password is Windows-1252 text.
void MakeKey(const std::string& password, uint8_t key[8]);
uint16_t KeyCheckOf(const uint8_t key[8]);

CryptResult EncryptFile(const std::string& sourcePath, const std::string& destinationPath,
                        const std::string& password, ProgressBar& fillBar, ProgressBar& drainBar);
CryptResult DecryptFile(const std::string& sourcePath, const std::string& destinationPath,
                        const std::string& password, ProgressBar& fillBar, ProgressBar& drainBar);

CryptResult EncryptFile(const std::string& sourcePath, const std::string& destinationPath,
                        const std::string& password, ProgressBar& fillBar, ProgressBar& drainBar,
                        const CryptHooks& hooks);
CryptResult DecryptFile(const std::string& sourcePath, const std::string& destinationPath,
                        const std::string& password, ProgressBar& fillBar, ProgressBar& drainBar,
                        const CryptHooks& hooks);

// Every decryption check in memory, writing nothing: magic, header, key
// check, then the data check over the deciphered content.
CryptResult VerifyCryptedFile(const std::string& path, const std::string& password,
                              const CryptHooks& hooks);

struct CryptHeader {
    bool complete = false; // 14 header bytes present
    bool magicMatches = false;
    int32_t plainLength = 0;
    uint32_t dataCheck = 0;
    uint16_t keyCheck = 0;
    int64_t cipherLength = 0; // file length - 14
    // 0 <= L, the ciphertext a whole number of blocks and longer than L.
    bool WellFormed() const;
};

// Reads the header fields of a file without a password. False when the file
// can't be opened or read at all.
bool ReadCryptHeader(const std::string& path, CryptHeader& header, FileAccess& files);

} // namespace kelvane
