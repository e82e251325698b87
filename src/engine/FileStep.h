// SPDX-License-Identifier: GPL-3.0-or-later
// One file's way from its source to its destination, the same for the
// window's commands and kelvane-cli: the source and the destination are
// looked at once, refused in one order, the source is held, the engine runs,
// the destination waits in the run's batch when there is one, and the source
// goes only once its replacement is on disk and it is still the very file the
// run read. The front ends give only the words and the questions.
#pragma once

#include "crypto/CryptResult.h"
#include "engine/CryptFile.h"
#include "engine/Direction.h"
#include "platform/FileAccess.h"
#include "platform/FileSafety.h"

#include <fcntl.h>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <variant>

namespace kelvane {

// Every way a file's step can end. A front end switches over it with no
// default, so an end added here without words there does not compile.
enum class StepEnd {
    // Refused before anything is read, in the order the step tests them.
    SourceIsTemporary, // a half-written file of some run, never a user's file
    SourceMissing,
    SourceIsFolder,
    SourceNotRegular,    // a FIFO, a device: opening it could wait forever
    SourceIsLink,        // deleting it after the run would leave its target
    SameFile,            // the destination is the source under another name
    SourceHasOtherNames, // encryption: its content would stay readable
    SourceTooLarge,      // encryption: more than the format's length field
    NameTooLong,         // the destination's name: would fail after the work
    DestinationIsLink,   // never replaced by a new file
    DestinationInTheWay, // a folder or something else that is no file
    DestinationTaken,    // a file of the name, kept
    DestinationClaimed,  // another file of the run becomes the same name
    Declined,            // a question before the run was answered no
    // The engine ran, its commit included.
    Failed,           // StepOutcome::result says how
    Done,             // the replacement is on disk; the source is gone, or kept by choice
    SourceChanged,    // while it was read: both are kept
    SourceNotRemoved, // StepOutcome::error says why
    // An earlier run had put the destination in place, holding exactly the
    // source, and stopped before the source went; this one finished it.
    EarlierRunFinished,
};

struct StepOutcome {
    StepEnd end = StepEnd::Done;
    CryptResult result = crOk; // Failed
    // Failed with crDestinationExists: whether the source is still there.
    // Another program may have done the same work meanwhile and removed it.
    bool sourcePresent = true;
    unsigned otherNames = 0;     // SourceHasOtherNames
    bool folderInTheWay = false; // DestinationInTheWay
    int error = 0;               // SourceNotRemoved; Failed in a commit, when known
};

// The names of one step, as the engine opens them: a walked file's names are
// relative to the folder the walk holds open.
struct StepNames {
    Direction direction = Direction::Encrypt; // Encrypt, Decrypt or Convert
    int folder = AT_FDCWD;
    std::string source;
    std::string destination;
    // A list the user sees shows the destination: it counts as taken even
    // when the disk does not have it (yet), so nothing is replaced unasked.
    bool destinationListed = false;
    // A walk that read the folder removed its dead temporaries already.
    bool temporariesCleared = false;
    // An earlier file of the same run becomes the same name.
    bool destinationClaimed = false;
    // A regular file's look at the source, taken by its caller just before
    // with nothing run in between: the step takes it for its own. Only for
    // the step's own call, never kept.
    const struct stat* sourceLooked = nullptr;
};

// What the step gives the engine's run; the front end adds its own hooks
// (events, the run's key) to a copy.
struct StepHooks {
    FileAccess* files;
    Existing onExisting;
    FileIdentity* sourceOpened;
    std::unique_ptr<DestinationFile>* handOver; // null when not batched

    void ApplyTo(CryptHooks& hooks) const;
};

// What only a front end knows: its answers, its engine inputs, its batch.
class StepFrontEnd {
public:
    virtual ~StepFrontEnd() = default;

    enum class WhenTaken { Refuse, Decline, Replace, LookForEarlierRun };
    // A regular file has the destination's name (or a list shows one).
    virtual WhenTaken DestinationTaken() = 0;
    // A file of the destination's name that appears during the run: kept
    // unless the front end's standing answer replaces it (kelvane-cli -f).
    virtual Existing WhenAppearing() { return Existing::Keep; }
    // Last before the source is held: the questions about the source and the
    // password. False ends the step Declined.
    virtual bool ReadyToRun(const NameLook& source, bool replacing) = 0;
    // The files the run opens; `facts` is what the step already knows.
    virtual FileAccess& Files(const FolderFacts& facts) = 0;
    // The engine's run of the step's names: the files, the answer on an
    // existing file, where the source is recorded and, when batched, where
    // the destination goes come from the step.
    virtual CryptResult Run(const StepHooks& hooks) = 0;
    // The password the earlier run's work is checked under.
    virtual const std::string& Password() = 0;
    // Whether the source stays after a successful run (kelvane-cli -k).
    virtual bool KeepsSource() { return false; }

    // A run over many files commits in batches: the written destination is
    // handed over, and `settle` gives the step's end once its batch is
    // committed. Not batched: the step commits each file on its own.
    using Settle = std::function<StepOutcome(CommitOutcome outcome, int error)>;
    virtual bool Batched() = 0;
    virtual void Defer(std::unique_ptr<DestinationFile> destination, Existing existing,
                       int64_t bytes, Settle settle) = 0;

    // A batched run over many files may have the engine's run made on
    // another thread while the front end goes on with the next file. True
    // when the front end took the run: it calls `finish` later, on its own
    // thread, with the result of its Run of `hooks`, and `finish` ends the
    // step as the run made here would have (through Defer, or with the end
    // it returns). Only once the step has asked all it had to ask.
    using Finish = std::function<std::optional<StepOutcome>(CryptResult result)>;
    virtual bool RunElsewhere(const StepHooks& hooks, const Finish& finish) {
        (void)hooks;
        (void)finish;
        return false;
    }
};

// The step. Its end, or none when the destination waits in the front end's
// batch, whose commit gives the end through the settle handed to Defer.
// The front end must outlive the step; the settle keeps what it needs.
std::optional<StepOutcome> RunFileStep(const StepNames& names, StepFrontEnd& frontEnd);

} // namespace kelvane
