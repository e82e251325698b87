// SPDX-License-Identifier: GPL-3.0-or-later
// The two single-file commands every encryption and decryption passes
// through, and the double-click that runs them from the grids.
#pragma once

#include "commands/GridTerms.h"
#include "commands/PasswordPolicy.h"
#include "crypto/Translate.h"
#include "engine/Convert.h"
#include "engine/CryptFile.h"
#include "engine/Direction.h"
#include "engine/Progress.h"

#include <functional>
#include <memory>
#include <string>

namespace kelvane {

inline constexpr const char* kIdle = KELVANE_TR_NOOP("Status", "Idle");

// What the commands need of the main window.
class CommandHost : public PasswordHost {
public:
    virtual void SetStatus(const std::string& text) = 0;
    // The progress panel: both grids 13 pixels shorter and the "Cancel
    // process" button and the two bars shown, or all of it undone.
    virtual void ShowProgressPanel() = 0;
    virtual void HideProgressPanel() = 0;
    virtual void ProgressStart() = 0;
    virtual void ProgressStop() = 0;
    virtual void ProgressClear() = 0;
    // Under "Available for encryption" and under "Crypted files".
    virtual ProgressBar& ProgressBar1() = 0;
    virtual ProgressBar& ProgressBar2() = 0;
    // The hidden lists behind the grids, compared case-insensitively.
    virtual bool InPlainList(const std::string& name) const = 0;
    virtual bool InCryptedList(const std::string& name) const = 0;
    // Whether either list holds a file of exactly this name on disk. The
    // overwrite questions ask this: where case tells files apart, "Notes.cry"
    // is not "notes.cry", and the disk answers for a file system that
    // ignores case. While a run over many files goes on the lists may be
    // stale: the answer is then false, and the step's own look at the disk
    // decides whether the name is taken.
    virtual bool ListsFile(const std::string& fileName) const = 0;
    // The crypted file on disk behind a name as the crypted list shows it:
    // "cap.CRY" for "cap" when that is how the directory spells it. Unlisted
    // names get ".cry" appended while ShowCry is off.
    virtual std::string CryptedFileName(const std::string& listedName) const;
    virtual void RefreshLists() = 0;
    virtual PasswordDialog& EncryptDialog() = 0;
    virtual PasswordDialog& DecryptDialog() = 0;
};

// Encrypts the plain file `name` into `name` + ".cry" and deletes it. True
// when the crypted file was written, even if the plain one then stayed.
bool EncryptOneFile(CommandHost& host, const std::string& name);
// The same with the password the last decryption used, without asking: for a
// file decrypted a moment ago that nobody could open.
bool EncryptAgainWithSamePassword(CommandHost& host, const std::string& name);

// Decrypts the crypted file listed as `name` (with ".cry" only when ShowCry
// is on) and deletes it. True when the plain file was written.
bool DecryptOneFile(CommandHost& host, const std::string& name);
// The same for a file whose name on disk is known, as a grid row knows it.
bool DecryptOneFile(CommandHost& host, const std::string& name, const std::string& fileName);

// Whom the age files of a conversion run are for, asked once per run after
// the first file's password; null when the user cancelled.
using AgeTargetSource = std::function<const AgeTarget*()>;

// Converts the crypted file `fileName` (listed as `name`) to the age file
// beside it, then deletes it once the conversion is on disk. True when the
// age file was written.
bool ConvertOneFile(CommandHost& host, const std::string& name, const std::string& fileName,
                    const AgeTargetSource& target);

class CommitBatch;

// While one lasts, the sources a command removes are made durable on disk
// when the outermost one ends: once per command, however many files it
// took, and before the user can take the run as done.
class DurableRemovals {
public:
    DurableRemovals();
    ~DurableRemovals();
    DurableRemovals(const DurableRemovals&) = delete;
    DurableRemovals& operator=(const DurableRemovals&) = delete;
};

// While one lives, the single-file commands hand the new files they write to
// `batch` instead of committing each alone: its source is deleted, and its
// messages shown, when the batch is committed. For runs over many files.
class CommitInBatches {
public:
    explicit CommitInBatches(CommitBatch& batch);
    ~CommitInBatches();
    CommitInBatches(const CommitInBatches&) = delete;
    CommitInBatches& operator=(const CommitInBatches&) = delete;

private:
    CommitBatch* previous_;
    std::shared_ptr<const RunKey>* previousKey_;
    std::shared_ptr<const RunKey> key_;
};

// The message for a run that ended in the failure `result`, written into
// `destination` from the source shown as `sourceShown`; `sourcePresent`:
// whether anything of the source's name is still there.
std::string RunEndText(CryptResult result, const std::string& destination,
                       const std::string& sourceShown, bool sourcePresent);

// The double-click on a grid row showing `name`, for the file `fileName` on
// disk. Clears CancelRequested afterwards, whatever the command did.
void RunDoubleClick(CommandHost& host, Direction command, const std::string& name,
                    const std::string& fileName);
void RunDoubleClick(CommandHost& host, Direction command, const std::string& name);

} // namespace kelvane
