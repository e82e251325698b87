// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Actions.h"

#include "cli/MessageCatalogue.h"
#include "crypto/CryptNames.h"
#include "crypto/Secret.h"
#include "crypto/Translate.h"
#include "engine/CryptFile.h"
#include "engine/Direction.h"
#include "platform/ErrorText.h"
#include "platform/FileNode.h"
#include "platform/FileSafety.h"
#include "platform/Paths.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane::cli {
namespace {

constexpr char kProgram[] = "kelvane-cli: ";

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// In the messages below, a %N that holds a file is its name in quotes, or
// "standard input" or "standard output"; one that holds a reason is the
// system's.
std::string SourceName(const std::string& path) {
    return IsStandardStream(path) ? Tr("cli", "standard input") : Quoted(path);
}

std::string DestinationName(const std::string& path) {
    return IsStandardStream(path) ? Tr("cli", "standard output") : Quoted(path);
}

std::string Reason(int error) {
    return error != 0 ? ErrorText(error) : Tr("cli", "reason unknown");
}

// One line on the error stream: the program's name, then the message.
void Say(std::ostream& err, const std::string& pattern,
         std::initializer_list<std::string_view> values) {
    err << kProgram << FormatText(pattern, values) << '\n';
}

// Where a name is opened: a walked file in the folder the walk opened, a
// named one as given.
struct Place {
    int folder;
    std::string name;
};

Place PlaceIn(int folder, const std::string& path) {
    return folder == AT_FDCWD ? Place{AT_FDCWD, path} : Place{folder, NamePart(path)};
}

Place PlaceOf(const ActionContext& ctx, const std::string& path) {
    return PlaceIn(ctx.folder, path);
}

NameLook LookAtSource(const ActionContext& ctx, const std::string& file) {
    const Place place = PlaceOf(ctx, file);
    return IsStandardStream(file) ? NameLook{} : LookAtName(place.folder, place.name);
}

// One FILE's run: what it reads and writes, and the reasons its files gave.
// Kept alive until its destination's batch is committed, so it holds its own
// copies of the names.
struct FileRun {
    FileRun(const ActionContext& context, std::string sourceName, std::string destinationName,
            Direction runDirection, bool destinationWasFree = false, FileNode sourceFound = {})
        : ctx(context), source(std::move(sourceName)), destination(std::move(destinationName)),
          direction(runDirection), destinationFree(destinationWasFree), sourceNode(sourceFound) {}

    const ActionContext& ctx;
    const std::string source;
    const std::string destination; // empty for verify
    Direction direction;
    // The destination's name was free when the run was about to start.
    bool destinationFree = false;
    // The file the source's name led to when the run looked at it.
    FileNode sourceNode{};
    // A file a walk found is reached through the folder the walk holds open.
    // Its folder's dead temporaries were removed before the run.
    std::unique_ptr<FileAccess> folderFiles =
        FilesIn(ctx.folder, {destinationFree, true, sourceNode});
    CliFiles files{ctx.streams, *folderFiles,
                   ctx.deferred == nullptr ? std::function<void()>() : [deferred = ctx.deferred] {
                       deferred->CommitPending();
                   }};
    // The names the engine opens: relative to that folder for a walked file.
    std::string from = PlaceOf(ctx, source).name;
    std::string to = PlaceOf(ctx, destination).name;

    bool ToStream() const { return ctx.streams.IsOutput(destination); }
};

int64_t SizeOf(FileRun& run) {
    int64_t size = -1;
    const auto source = run.files.OpenSource(run.from);
    if (!source || !source->Size(size))
        return -1;
    return size;
}

// A data check that fails after the key check passed: damage, or (one time
// in 65536) a wrong password the 16-bit key check let through.
bool KeyCheckPasses(FileRun& run) {
    CryptHeader header;
    if (!ReadCryptHeader(run.from, header, run.files))
        return false;
    SecretBytes<8> key;
    MakeKey(run.ctx.password, key.data());
    const bool passes = KeyCheckOf(key.data()) == header.keyCheck;
    return passes;
}

Outcome ReportDataCheck(FileRun& run) {
    std::ostream& err = run.ctx.err;
    const std::string source = SourceName(run.source);
    if (run.ToStream())
        Say(err,
            Tr("cli",
               // TRANSLATORS: %1 is the source, %2 where its bytes went.
               "%1 failed its data check: the file is damaged, or the password is wrong in a way "
               "the key check missed; the bytes already written to %2 are not to be trusted"),
            {source, DestinationName(run.destination)});
    else
        Say(err,
            Tr("cli",
               "%1 failed its data check: the file is damaged, or the password is wrong in a way "
               "the key check missed; nothing was written"),
            {source});
    return Outcome::Failed;
}

Outcome ReportReadFailure(FileRun& run) {
    std::ostream& err = run.ctx.err;
    const int error = run.files.errors.read.load();
    if (error == 0 && run.direction != Direction::Encrypt && SizeOf(run) >= 0 &&
        SizeOf(run) < kCryptHeaderSize) {
        Say(err, Tr("cli", "%1 is not a crypted file: it is shorter than the 14-byte header"),
            {SourceName(run.source)});
        return Outcome::Failed;
    }
    // TRANSLATORS: %1 is a file, %2 the reason.
    Say(err, Tr("cli", "can't read %1: %2"),
        {SourceName(run.source),
         error != 0 ? Reason(error) : Tr("cli", "it ended before its length")});
    return Outcome::Failed;
}

Outcome ReportOther(FileRun& run, CryptResult result) {
    std::ostream& err = run.ctx.err;
    const std::string source = SourceName(run.source);
    const std::string destination = DestinationName(run.destination);
    switch (result) {
    case crNoMemory:
        if (SizeOf(run) > std::numeric_limits<int32_t>::max())
            Say(err, Tr("cli", "%1 is too big for the .cry format (at most 2 GiB)"), {source});
        else
            Say(err, Tr("cli", "not enough memory for %1"), {source});
        return Outcome::Failed;
    case crCreateFailed:
        // TRANSLATORS: %1 is a file, %2 the reason.
        Say(err, Tr("cli", "can't create %1: %2"),
            {destination, Reason(run.files.errors.create.load())});
        return Outcome::Failed;
    case crWriteFailed:
        // TRANSLATORS: %1 is the destination, %2 the reason, %3 the source.
        Say(err, Tr("cli", "can't write %1: %2; %3 is kept"),
            {destination, Reason(run.files.errors.write.load()), source});
        return Outcome::Failed;
    case crDestinationExists:
        Say(err, Tr("cli", "%1 appeared during the run and was kept; -f replaces it"),
            {destination});
        return Outcome::Failed;
    case crUnconfirmed:
        // TRANSLATORS: %1 is the destination, %2 the source.
        Say(err, Tr("cli", "%1 is in place but could not be confirmed on disk; %2 is kept"),
            {destination, source});
        return Outcome::Failed;
    case crAgeKeyFailed:
        if (run.ctx.ageTarget != nullptr && run.ctx.ageTarget->passphrase == nullptr)
            Say(err,
                Tr("cli",
                   "couldn't make the age file's key for %1: a recipient is not a valid key"),
                {source});
        else
            Say(err,
                Tr("cli", "couldn't make the age file's key for %1 (not enough memory for the "
                          "passphrase's work factor?)"),
                {source});
        return Outcome::Failed;
    case crAborted:
        if (run.ToStream())
            // TRANSLATORS: %1 is the source, %2 the destination.
            Say(err, Tr("cli", "%1: cancelled; %2 is incomplete"),
                {source, DestinationName(run.destination)});
        else
            Say(err, Tr("cli", "%1: cancelled; nothing was written"), {source});
        return Outcome::Cancelled;
    case crOk:
    case crOpenFailed:
    case crReadFailed:
    case crNotCrypted:
    case crBadPassword:
        break; // Report's own
    }
    // No default above: a code added to the engine without words here does
    // not compile. This is for a value outside the enumeration.
    // TRANSLATORS: %1 is a file, %2 a number.
    Say(err, Tr("cli", "%1 failed (engine result %2)"), {source, std::to_string(result)});
    return Outcome::Failed;
}

Outcome Report(FileRun& run, CryptResult result) {
    std::ostream& err = run.ctx.err;
    switch (result) {
    case crOk:
        return Outcome::Done;
    case crOpenFailed:
        if (const int error = run.files.errors.open.load(); error == ELOOP || error == ESTALE) {
            Say(err,
                Tr("cli",
                   "%1 was replaced by another file or a symbolic link after it was looked at; "
                   "it is skipped and nothing was written"),
                {SourceName(run.source)});
            return Outcome::Failed;
        }
        // TRANSLATORS: %1 is a file, %2 the reason.
        Say(err, Tr("cli", "can't open %1: %2"),
            {SourceName(run.source), Reason(run.files.errors.open.load())});
        return Outcome::Failed;
    case crReadFailed:
        return ReportReadFailure(run);
    case crNotCrypted:
        Say(err, Tr("cli", "%1 is not a crypted file"), {SourceName(run.source)});
        return Outcome::Failed;
    case crBadPassword:
        if (KeyCheckPasses(run))
            return ReportDataCheck(run);
        Say(err, Tr("cli", "wrong password for %1"), {SourceName(run.source)});
        return Outcome::WrongPassword;
    case crCreateFailed:
    case crNoMemory:
    case crAborted:
    case crWriteFailed:
    case crDestinationExists:
    case crUnconfirmed:
    case crAgeKeyFailed:
        break;
    }
    return ReportOther(run, result);
}

bool SameFile(const Place& from, const NameLook& source, const Place& to,
              const NameLook& destination) {
    return IsSameFileFrom(from.name, source.leads ? &source.followed : nullptr, to.name,
                          destination.leads ? &destination.followed : nullptr);
}

void ReportTaken(const FileRun& run) {
    Say(run.ctx.err, Tr("cli", "%1 already exists; -f replaces it"), {Quoted(run.destination)});
}

// A regular file of the destination's name, which only -f would replace,
// may be the very work of an earlier run of the same command: one stopped
// after putting its destinations in place and before deleting their
// sources. Such a file is looked into before it is refused.
bool MayBeEarlierWork(const FileRun& run, const NameLook& destinationLook) {
    return (run.direction == Direction::Encrypt || run.direction == Direction::Decrypt) &&
           S_ISREG(destinationLook.own.st_mode) && !run.ctx.destinationClaimed;
}

// Whether the run may go ahead; Taken when MayBeEarlierWork holds.
enum class Admission { Refused, Allowed, Taken };

Admission DestinationAllowed(const FileRun& run, const NameLook& sourceLook,
                             const NameLook& destinationLook) {
    const ActionContext& ctx = run.ctx;
    const std::string& source = run.source;
    const std::string& destination = run.destination;
    const Place from = PlaceOf(ctx, source), to = PlaceOf(ctx, destination);
    if (sourceLook.IsLink()) {
        Say(ctx.err, Tr("cli", "%1 is a symbolic link; name the file it points to"),
            {Quoted(source)});
        return Admission::Refused;
    }
    if (SameFile(from, sourceLook, to, destinationLook)) {
        Say(ctx.err, Tr("cli", "%1 can't be written over itself"), {Quoted(source)});
        return Admission::Refused;
    }
    if (const unsigned others = sourceLook.OtherNames();
        others > 0 && run.direction == Direction::Encrypt) {
        if (others == 1)
            Say(ctx.err,
                Tr("cli", "%1 has 1 other name; its content would stay readable through it"),
                {Quoted(source)});
        else
            Say(ctx.err,
                // TRANSLATORS: %1 is a file, %2 a number greater than 1.
                Tr("cli", "%1 has %2 other names; its content would stay readable through them"),
                {Quoted(source), std::to_string(others)});
        return Admission::Refused;
    }
    // Replacing a link would put the new file where the link was, not
    // where it leads; following it would write through it unasked.
    if (destinationLook.IsLink()) {
        if (ctx.options.output)
            Say(ctx.err,
                Tr("cli",
                   "%1 is a symbolic link, never replaced by a new file; name the file it leads to "
                   "(or \"-\" for standard output)"),
                {Quoted(destination)});
        else
            Say(ctx.err,
                Tr("cli", "%1 is a symbolic link, never replaced by a new file; remove or rename "
                          "it first"),
                {Quoted(destination)});
        return Admission::Refused;
    }
    if (!ctx.options.force && destinationLook.found) {
        if (MayBeEarlierWork(run, destinationLook))
            return Admission::Taken;
        ReportTaken(run);
        return Admission::Refused;
    }
    if (ctx.destinationClaimed) {
        Say(ctx.err,
            // TRANSLATORS: %1 is the source, %2 its destination.
            Tr("cli", "%1 would become %2, which this run writes from another file; %1 is kept"),
            {Quoted(source), Quoted(destination)});
        return Admission::Refused;
    }
    return Admission::Allowed;
}

CryptResult RunEngine(FileRun& run, FileIdentity* sourceOpened,
                      std::unique_ptr<DestinationFile>* handOver = nullptr) {
    const ActionContext& ctx = run.ctx;
    ProgressCounter unseen, other;
    ProgressBar& bar = ctx.progress ? *ctx.progress : unseen;
    CryptHooks hooks;
    hooks.files = &run.files;
    hooks.letEventsRun = ctx.letEventsRun;
    hooks.onExisting = ctx.options.force ? Existing::Replace : Existing::Keep;
    hooks.sourceOpened = sourceOpened;
    hooks.handOver = handOver;
    hooks.runKey = ctx.runKey;
    // The engine creates the new file with the source's permissions, so
    // decrypted data is never open to others, not even for a moment.
    switch (run.direction) {
    case Direction::Encrypt:
        return EncryptFile(run.from, run.to, ctx.password, bar, other, hooks);
    case Direction::Decrypt:
        return DecryptFile(run.from, run.to, ctx.password, bar, other, hooks);
    case Direction::Convert:
        return ConvertToAge(run.from, run.to, ctx.password, bar, other, hooks, *ctx.ageTarget);
    case Direction::Verify:
        break;
    }
    return VerifyCryptedFile(run.from, ctx.password, hooks);
}

Outcome RemoveSource(FileRun& run, HeldSource& held) {
    std::ostream& err = run.ctx.err;
    switch (held.RemoveIfUnchanged()) {
    case SourceRemoval::Removed:
        return Outcome::Done;
    case SourceRemoval::Changed:
        Say(err,
            Tr("cli",
               run.direction == Direction::Encrypt
                   ? KELVANE_TR_NOOP("cli", "%1 changed while it was being encrypted; both kept")
               : run.direction == Direction::Convert
                   ? KELVANE_TR_NOOP("cli", "%1 changed while it was being converted; both kept")
                   : KELVANE_TR_NOOP("cli", "%1 changed while it was being decrypted; both kept")),
            {Quoted(run.source)});
        return Outcome::Failed;
    case SourceRemoval::Failed:
        break;
    }
    // TRANSLATORS: %1 is a file, %2 the reason.
    Say(err, Tr("cli", "couldn't delete %1: %2"), {Quoted(run.source), ErrorText(errno)});
    return Outcome::Failed;
}

// What the engine's result, the commit's included, means for the source.
Outcome Conclude(FileRun& run, HeldSource& held, CryptResult result) {
    // A file that appeared under the new name while its source vanished:
    // another program did the work, and nothing here was kept or lost.
    if (result == crDestinationExists && !held.Present()) {
        Say(run.ctx.err,
            Tr("cli",
               // TRANSLATORS: %1 is the destination, %2 the source.
               "%1 appeared during the run and was kept; %2 is gone meanwhile, so nothing was "
               "written"),
            {Quoted(run.destination), Quoted(run.source)});
        return Outcome::Failed;
    }
    const Outcome outcome = Report(run, result);
    if (outcome != Outcome::Done || run.ctx.options.keep)
        return outcome;
    return RemoveSource(run, held);
}

// The destination holds exactly the source, in the direction of the run;
// the source is noted as it was opened, for the test before it is deleted,
// and so is the destination, for its flush.
bool DestinationHoldsSource(FileRun& run, HeldSource& held, FileNode& destinationNode) {
    const auto source = run.files.OpenSource(run.from);
    if (!source)
        return false;
    *held.Opened() = source->OpenedAs();
    // Not through the run's own files, which open only the very source.
    const auto destination = FilesIn(run.ctx.folder)->OpenSource(run.to);
    if (!destination)
        return false;
    destinationNode = destination->OpenedAs().node;
    const std::string& password = run.ctx.password;
    return run.direction == Direction::Encrypt ? CryptedHoldsPlain(*destination, *source, password)
                                               : CryptedHoldsPlain(*source, *destination, password);
}

// The earlier run's file may be only in memory yet, as a fresh copy is;
// it goes to the disk before the source may go.
bool DestinationOnDisk(const FileRun& run, const FileNode& destinationNode) {
    const Place to = PlaceOf(run.ctx, run.destination);
    const int fd =
        ::openat(to.folder, to.name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    const bool flushed = ::fstat(fd, &st) == 0 && NodeOf(st) == destinationNode && ::fsync(fd) == 0;
    ::close(fd);
    return flushed;
}

// The note on a file an earlier run already did, as the run found it.
const char* EarlierRunText(bool encrypted, bool kept) {
    if (encrypted)
        // TRANSLATORS: %1 is the source, %2 the destination.
        return kept ? KELVANE_TR_NOOP("cli", "%1 was already encrypted as %2, which holds it "
                                             "exactly; %1 is kept")
                    : KELVANE_TR_NOOP("cli", "%1 was already encrypted as %2, which holds it "
                                             "exactly; %1 is removed");
    return kept ? KELVANE_TR_NOOP("cli", "%1 was already decrypted as %2, which holds it exactly; "
                                         "%1 is kept")
                : KELVANE_TR_NOOP("cli", "%1 was already decrypted as %2, which holds it exactly; "
                                         "%1 is removed");
}

// Finishes what an earlier run left: its destination in place, the source
// still there. Anything but the source's exact content is refused as any
// other file in the way.
Outcome FinishEarlierRun(FileRun& run, HeldSource& held) {
    const ActionContext& ctx = run.ctx;
    FileNode destinationNode{};
    if (!DestinationHoldsSource(run, held, destinationNode) ||
        !DestinationOnDisk(run, destinationNode)) {
        if (CancelRequested.load()) {
            Say(ctx.err, Tr("cli", "%1: cancelled; nothing was written"), {Quoted(run.source)});
            return Outcome::Cancelled;
        }
        ReportTaken(run);
        return Outcome::Failed;
    }
    if (!ctx.options.keep && RemoveSource(run, held) != Outcome::Done)
        return Outcome::Failed;
    Say(ctx.err, Tr("cli", EarlierRunText(run.direction == Direction::Encrypt, ctx.options.keep)),
        {Quoted(run.source), Quoted(run.destination)});
    return Outcome::Finished;
}

// A walked file's folder stays open until the whole run has ended, its
// batches committed: the run's list of files holds it.
std::shared_ptr<HeldSource> HoldSource(const FileRun& run) {
    return run.ctx.folder == AT_FDCWD ? std::make_shared<HeldSource>(run.source)
                                      : HeldSource::InKeptFolder(run.ctx.folder, run.from);
}

Outcome TransformOne(const ActionContext& ctx, const std::string& source,
                     const std::string& destination, Direction direction,
                     const NameLook& sourceLook) {
    // What a killed run on this destination left behind goes first, even
    // when the run is then refused; a walk did so for its folders when it
    // read them.
    if (!ctx.streams.IsOutput(destination) && ctx.folder == AT_FDCWD)
        RemoveLeftoverTemporaries(destination, ctx.folder);
    if (IsStandardStream(source) || ctx.streams.IsOutput(destination)) {
        FileRun run{ctx, source, destination, direction};
        return Report(run, RunEngine(run, nullptr));
    }
    const Place to = PlaceOf(ctx, destination);
    const NameLook destinationLook = LookAtName(to.folder, to.name);
    const auto run = std::make_shared<FileRun>(ctx, source, destination, direction,
                                               !destinationLook.found, NodeOf(sourceLook.own));
    const Admission admission = DestinationAllowed(*run, sourceLook, destinationLook);
    if (admission == Admission::Refused)
        return Outcome::Failed;
    const auto held = HoldSource(*run);
    if (admission == Admission::Taken)
        return FinishEarlierRun(*run, *held);
    std::unique_ptr<DestinationFile> written;
    const CryptResult result =
        RunEngine(*run, held->Opened(), ctx.deferred != nullptr ? &written : nullptr);
    if (result != crOk || !written)
        return Conclude(*run, *held, result);
    ctx.deferred->Defer(std::move(written), ctx.options.force ? Existing::Replace : Existing::Keep,
                        held->Opened()->size, [run, held](CommitOutcome outcome, int error) {
                            if (outcome == CommitOutcome::Failed && error != 0)
                                run->files.errors.write.store(error);
                            return Conclude(*run, *held, ResultOfCommit(outcome));
                        });
    return Outcome::Done;
}

// Named special files are refused before anything opens them: opening a
// FIFO would wait for a writer that may never come. A link is judged by
// what it leads to; that it is a link is refused later, with its own words.
bool RefuseNonRegular(std::ostream& err, const std::string& file, const NameLook& look) {
    if (!look.leads || S_ISREG(look.followed.st_mode))
        return false; // a missing file is reported when it is opened
    if (S_ISDIR(look.followed.st_mode))
        Say(err, Tr("cli", "%1 is a folder; -r walks folders"), {Quoted(file)});
    else
        Say(err, Tr("cli", "%1 is not a regular file"), {Quoted(file)});
    return true;
}

bool RefuseNonRegular(std::ostream& err, const std::string& file, int folder = AT_FDCWD) {
    const Place place = PlaceIn(folder, file);
    return RefuseNonRegular(
        err, file, IsStandardStream(file) ? NameLook{} : LookAtName(place.folder, place.name));
}

// The program's own temporaries are half-written files of some run, never a
// user's file to encrypt or decrypt.
bool RefuseTemporary(std::ostream& err, const std::string& file) {
    if (!IsTemporaryName(NamePart(file)))
        return false;
    Say(err, Tr("cli", "%1 is a temporary file of a kelvane run; skipped"), {Quoted(file)});
    return true;
}

// A name longer than a file system takes would fail only after all the
// work, as if the disk were full.
bool RefuseLongName(const ActionContext& ctx, const std::string& destination) {
    if (!NameTooLong(destination))
        return false;
    Say(ctx.err, Tr("cli", "can't create %1: %2"), {Quoted(destination), ErrorText(ENAMETOOLONG)});
    return true;
}

// The labels of info's lines, which line up in one column whatever their
// language: it starts after the widest label.
constexpr const char* kInfoLabels[] = {
    KELVANE_TR_NOOP("cli", "File:"),          KELVANE_TR_NOOP("cli", "Magic:"),
    KELVANE_TR_NOOP("cli", "Plain length:"),  KELVANE_TR_NOOP("cli", "Data check:"),
    KELVANE_TR_NOOP("cli", "Key check:"),     KELVANE_TR_NOOP("cli", "Header:"),
    KELVANE_TR_NOOP("cli", "Cipher length:"), KELVANE_TR_NOOP("cli", "Well-formed:"),
};

std::string Label(const char* label) {
    std::size_t widest = 0;
    for (const char* each : kInfoLabels)
        widest = std::max(widest, TextColumns(Tr("cli", each)));
    const std::string text = Tr("cli", label);
    return text + std::string(widest + 1 - TextColumns(text), ' ');
}

std::string Hex(uint32_t value, int digits) {
    char text[16];
    static_cast<void>(std::snprintf(text, sizeof text, "0x%0*X", digits, value));
    return text;
}

} // namespace

bool DestinationClaims::Claim(int folder, const FileNode& folderNode, const std::string& name) {
    FileNode identity = folderNode;
    if (identity == FileNode{}) {
        struct stat st {};
        const std::string directory = folder == AT_FDCWD ? DirectoryPart(name) : std::string();
        if (::fstatat(folder, directory.empty() ? "." : directory.c_str(), &st, 0) != 0)
            return true; // the engine reports a folder that isn't there
        identity = NodeOf(st);
    }
    return taken_.insert({identity.device, identity.inode, NamePart(name)}).second;
}

std::optional<std::string> DestinationOf(const CliOptions& options, const std::string& file) {
    if (options.output)
        return options.output;
    if (IsStandardStream(file))
        return std::string(kStandardStream);
    switch (options.command) {
    case Command::Encrypt:
        return EncryptedNameOf(file);
    case Command::Decrypt:
        return DecryptedNameOf(file);
    case Command::Convert:
        return AgeNameOf(file);
    default:
        return std::nullopt;
    }
}

Outcome EncryptOne(const ActionContext& ctx, const std::string& file) {
    const std::string destination = *DestinationOf(ctx.options, file);
    const NameLook look = LookAtSource(ctx, file);
    if (RefuseTemporary(ctx.err, file) || RefuseNonRegular(ctx.err, file, look) ||
        RefuseLongName(ctx, destination))
        return Outcome::Failed;
    return TransformOne(ctx, file, destination, Direction::Encrypt, look);
}

Outcome DecryptOne(const ActionContext& ctx, const std::string& file) {
    const auto destination = DestinationOf(ctx.options, file);
    if (!destination) {
        Say(ctx.err, Tr("cli", "\"%1\" does not end in .cry; name the output with -o"), {file});
        return Outcome::Failed;
    }
    const NameLook look = LookAtSource(ctx, file);
    if (RefuseTemporary(ctx.err, file) || RefuseNonRegular(ctx.err, file, look) ||
        RefuseLongName(ctx, *destination))
        return Outcome::Failed;
    return TransformOne(ctx, file, *destination, Direction::Decrypt, look);
}

Outcome ConvertOne(const ActionContext& ctx, const std::string& file) {
    const std::string destination = *DestinationOf(ctx.options, file);
    const NameLook look = LookAtSource(ctx, file);
    if (RefuseTemporary(ctx.err, file) || RefuseNonRegular(ctx.err, file, look) ||
        (!ctx.streams.IsOutput(destination) && RefuseLongName(ctx, destination)))
        return Outcome::Failed;
    return TransformOne(ctx, file, destination, Direction::Convert, look);
}

namespace {

// The data is the plain length padded to the next whole block, 1 to 8 bytes
// more; anything longer is a length field that lost bits.
bool LengthFitsData(const CryptHeader& header) {
    return header.cipherLength - header.plainLength <= 8;
}

void WarnOfLength(std::ostream& err, const std::string& file, const CryptHeader& header) {
    Say(err,
        Tr("cli",
           // TRANSLATORS: %1 is a file, %2 and %3 numbers of bytes.
           "warning: %1 stores a length of %2 bytes, more than a block short of the %3 bytes of "
           "data that follow; its length field may be damaged"),
        {Quoted(file), std::to_string(header.plainLength), std::to_string(header.cipherLength)});
}

} // namespace

Outcome VerifyOne(const ActionContext& ctx, const std::string& file) {
    if (RefuseNonRegular(ctx.err, file, ctx.folder))
        return Outcome::Failed;
    const std::string none;
    FileRun run{ctx, file, none, Direction::Verify};
    const Outcome outcome = Report(run, RunEngine(run, nullptr));
    CryptHeader header;
    if (outcome == Outcome::Done && !IsStandardStream(file) &&
        ReadCryptHeader(file, header, SystemFilesForReading()) && header.WellFormed() &&
        !LengthFitsData(header)) {
        WarnOfLength(ctx.err, file, header);
        return Outcome::LengthWarned;
    }
    if (outcome == Outcome::Done && !ctx.options.quiet)
        // TRANSLATORS: %1 is a file's name or "standard input". Scripts look
        // for this line: keep "OK".
        ctx.out << FormatText(Tr("cli", "%1: OK"),
                              {IsStandardStream(file) ? Tr("cli", "standard input") : file})
                << '\n';
    return outcome;
}

Outcome InfoOne(std::ostream& out, std::ostream& err, const std::string& file,
                const StandardStreams& streams) {
    if (RefuseNonRegular(err, file))
        return Outcome::Failed;
    CliFiles files(streams);
    CryptHeader header;
    if (!ReadCryptHeader(file, header, files)) {
        const int openError = files.errors.open.load();
        Say(err, openError != 0 ? Tr("cli", "can't open %1: %2") : Tr("cli", "can't read %1: %2"),
            {SourceName(file), Reason(openError != 0 ? openError : files.errors.read.load())});
        return Outcome::Failed;
    }
    out << Label("File:") << (IsStandardStream(file) ? Tr("cli", "standard input") : file) << '\n';
    // Without the magic the other fields would be whatever bytes follow:
    // showing them as a length and checks would make them look meaningful.
    if (!header.magicMatches) {
        out << Label("Magic:") << Tr("cli", "missing (not KZ31): not a crypted file") << '\n';
        Say(err, Tr("cli", "%1 is not a crypted file"), {SourceName(file)});
        return Outcome::Failed;
    }
    out << Label("Magic:") << "KZ31\n";
    if (header.complete) {
        out << Label("Plain length:") << header.plainLength << '\n'
            << Label("Data check:") << Hex(header.dataCheck, 8) << '\n'
            << Label("Key check:") << Hex(header.keyCheck, 4) << '\n';
    } else {
        out << Label("Header:") << Tr("cli", "incomplete (fewer than 14 bytes)") << '\n';
    }
    out << Label("Cipher length:") << header.cipherLength << '\n'
        << Label("Well-formed:") << (header.WellFormed() ? Tr("cli", "yes") : Tr("cli", "no"))
        << '\n';
    if (!header.WellFormed())
        return Outcome::Failed;
    if (LengthFitsData(header))
        return Outcome::Done;
    WarnOfLength(err, file, header);
    return Outcome::LengthWarned;
}

} // namespace kelvane::cli
