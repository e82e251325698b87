// SPDX-License-Identifier: GPL-3.0-or-later
// Encrypting and decrypting whole files: the engine that reads a source,
// runs the checksum and the cipher over it and puts the destination in place.
// The header's layout and the key are in crypto/CryptHeader.h.
#pragma once

#include "crypto/CryptHeader.h"
#include "crypto/CryptResult.h"
#include "crypto/Des.h"
#include "crypto/Secret.h"
#include "engine/PauseGate.h"
#include "engine/Progress.h"
#include "platform/FileAccess.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace kelvane {

// A password's key made ready once for a run over many files under it:
// the key bytes and their schedule, which each file would otherwise derive
// again. Shared by the files running at once; wiped when it goes.
class RunKey {
public:
    explicit RunKey(const std::string& password);
    RunKey(const RunKey&) = delete;
    RunKey& operator=(const RunKey&) = delete;

    // Whether `password` gives this very key.
    bool MadeOf(const std::string& password) const;
    const uint8_t* Bytes() const { return bytes_.data(); }
    const DesKeySchedule& Schedule() const { return schedule_; }

private:
    static const uint8_t* Made(const std::string& password, SecretBytes<8>& bytes);

    SecretBytes<8> bytes_;
    const DesKeySchedule schedule_;
};

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
    // Files larger than this stream through a ring of this many bytes. A
    // ring that stays in the processor's caches beat one of 16 MiB at every
    // size, and this one, with the room for the header in front of it, fills
    // one huge page of memory: one fault, where a heap block took 500.
    int64_t ringBytes = (int64_t{2} << 20) - 64;
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
    // When set, a run that gets as far as its commit hands the written
    // destination over here instead of committing it, for a group commit
    // (CommitBatch.h); the result is then crOk. Left empty when the run
    // committed on its own (standard output, a conversion).
    std::unique_ptr<DestinationFile>* handOver = nullptr;
    // When set, the key of the password a run over many files uses; a file
    // under another password makes its own.
    const RunKey* runKey = nullptr;
    // Tests: asked before each worker thread starts; false makes that start
    // fail as if the system had no thread to give.
    std::function<bool(std::size_t)> threadMayStart = nullptr;
};

// The result of a run whose last step, the commit, ended so.
CryptResult ResultOfCommit(CommitOutcome outcome);

// The engine's share of the state the program keeps for the whole run. The
// commands keep the rest in SharedState (commands/State.h), whose reset
// calls this one's: the engine sits below them and must not see their state.
struct EngineState {
    // Set by whoever wants the running work to stop (the "Cancel process"
    // button, Ctrl-C in the command-line program); the engine only reads it,
    // at its progress reports. Atomic so a signal handler or another thread
    // may set it.
    std::atomic<bool> CancelRequested{false};
    // The hooks the five-argument routines use; the program sets them once.
    CryptHooks cryptHooks;
};
extern EngineState TheEngineState;

// The names the program uses for its parts.
inline std::atomic<bool>& CancelRequested = TheEngineState.CancelRequested;
inline CryptHooks& DefaultCryptHooks() {
    return TheEngineState.cryptHooks;
}

// Puts the engine's state back as at the start of a run.
void ResetEngineState();

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

// Whether decrypting `crypted` under `password` gives exactly the bytes of
// `plain`, each read from its start to its end: the test that a file of the
// destination's name is the work of an earlier run, so that a run killed
// between putting its files in place and deleting their sources can be
// finished. The crypted file must be laid out as encryption writes it,
// whole blocks with 1 to 8 pad bytes; the pad's values take no part, as in
// decryption. Streams both files in pieces, so memory stays small whatever
// their size. False once CancelRequested is set.
bool CryptedHoldsPlain(SourceFile& crypted, SourceFile& plain, const std::string& password);

// Reads the header fields of a file without a password. False when the file
// can't be opened or read at all.
bool ReadCryptHeader(const std::string& path, CryptHeader& header, FileAccess& files);

} // namespace kelvane
