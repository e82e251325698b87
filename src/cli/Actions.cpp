// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Actions.h"

#include "cli/MessageCatalogue.h"
#include "crypto/CryptNames.h"
#include "crypto/Secret.h"
#include "crypto/Translate.h"
#include "engine/CryptFile.h"
#include "engine/Direction.h"
#include "engine/FileStep.h"
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

// One FILE's run: what it reads and writes, and the reasons its files gave.
// Kept alive until its destination's batch is committed, so it holds its own
// copies of the names.
struct FileRun {
    // `facts` is what the run's look found: a walked file's folder had its
    // dead temporaries removed before the run, a named file's too.
    FileRun(const ActionContext& context, std::string sourceName, std::string destinationName,
            Direction runDirection, FolderFacts facts = {false, true, {}})
        : ctx(context), source(std::move(sourceName)), destination(std::move(destinationName)),
          direction(runDirection), folderFiles(FilesIn(ctx.folder, facts)) {}

    const ActionContext& ctx;
    const std::string source;
    const std::string destination; // empty for verify
    Direction direction;
    // A file a walk found is reached through the folder the walk holds open.
    std::unique_ptr<FileAccess> folderFiles;
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

void SayNotRegular(std::ostream& err, const std::string& file, bool folder) {
    if (folder)
        Say(err, Tr("cli", "%1 is a folder; -r walks folders"), {Quoted(file)});
    else
        Say(err, Tr("cli", "%1 is not a regular file"), {Quoted(file)});
}

void SayTemporary(std::ostream& err, const std::string& file) {
    Say(err, Tr("cli", "%1 is a temporary file of a kelvane run; skipped"), {Quoted(file)});
}

// Named special files are refused before anything opens them: opening a
// FIFO would wait for a writer that may never come. A link is judged by
// what it leads to; that it is a link is refused later, with its own words.
bool RefuseNonRegular(std::ostream& err, const std::string& file, const NameLook& look) {
    if (!look.leads || S_ISREG(look.followed.st_mode))
        return false; // a missing file is reported when it is opened
    SayNotRegular(err, file, S_ISDIR(look.followed.st_mode));
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
    SayTemporary(err, file);
    return true;
}

// What the system would have said had the new file been made: a name too
// long, a folder or another file in the way, all known before any work.
void SayCannotCreate(std::ostream& err, const std::string& destination, int error) {
    // TRANSLATORS: %1 is a file, %2 the reason.
    Say(err, Tr("cli", "can't create %1: %2"), {Quoted(destination), ErrorText(error)});
}

void ReportTaken(std::ostream& err, const std::string& destination) {
    Say(err, Tr("cli", "%1 already exists; -f replaces it"), {Quoted(destination)});
}

CryptResult RunEngine(FileRun& run, const StepHooks* step = nullptr) {
    const ActionContext& ctx = run.ctx;
    ProgressCounter unseen, other;
    ProgressBar& bar = ctx.progress ? *ctx.progress : unseen;
    CryptHooks hooks;
    hooks.files = &run.files;
    hooks.letEventsRun = ctx.letEventsRun;
    hooks.onExisting = ctx.options.force ? Existing::Replace : Existing::Keep;
    hooks.runKey = ctx.runKey;
    if (step != nullptr)
        step->ApplyTo(hooks);
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

const char* ChangedText(Direction direction) {
    switch (direction) {
    case Direction::Encrypt:
        return KELVANE_TR_NOOP("cli", "%1 changed while it was being encrypted; both kept");
    case Direction::Convert:
        return KELVANE_TR_NOOP("cli", "%1 changed while it was being converted; both kept");
    case Direction::Decrypt:
    case Direction::Verify:
        break;
    }
    return KELVANE_TR_NOOP("cli", "%1 changed while it was being decrypted; both kept");
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

// The command line's side of one file's step: the options answer its
// questions, and its words go to the file's error stream. Kept alive until
// the destination's batch is committed.
class CliStep final : public StepFrontEnd, public std::enable_shared_from_this<CliStep> {
public:
    CliStep(const ActionContext& ctx, std::string source, std::string destination,
            Direction direction)
        : ctx_(ctx), source_(std::move(source)), destination_(std::move(destination)),
          direction_(direction) {}

    StepNames Names() const {
        const Place from = PlaceOf(ctx_, source_), to = PlaceOf(ctx_, destination_);
        // A walk removed its folders' dead temporaries when it read them.
        return {direction_,
                ctx_.folder,
                from.name,
                to.name,
                false,
                ctx_.folder != AT_FDCWD,
                ctx_.destinationClaimed};
    }

    WhenTaken DestinationTaken() override {
        return ctx_.options.force ? WhenTaken::Replace : WhenTaken::LookForEarlierRun;
    }
    Existing WhenAppearing() override {
        return ctx_.options.force ? Existing::Replace : Existing::Keep;
    }
    bool ReadyToRun(const NameLook&, bool) override { return true; }
    FileAccess& Files(const FolderFacts& facts) override {
        run_ = std::make_unique<FileRun>(ctx_, source_, destination_, direction_, facts);
        return run_->files;
    }
    CryptResult Run(const StepHooks& hooks) override { return RunEngine(*run_, &hooks); }
    const std::string& Password() override { return ctx_.password; }
    bool KeepsSource() override { return ctx_.options.keep; }
    bool Batched() override { return ctx_.deferred != nullptr; }
    void Defer(std::unique_ptr<DestinationFile> destination, Existing existing, int64_t bytes,
               Settle settle) override {
        ctx_.deferred->Defer(std::move(destination), existing, bytes,
                             [self = shared_from_this(), settle](CommitOutcome outcome, int error) {
                                 if (outcome == CommitOutcome::Failed && error != 0)
                                     self->run_->files.errors.write.store(error);
                                 return self->Words(settle(outcome, error));
                             });
    }

    // No default: an end added to the step without words here does not
    // compile.
    Outcome Words(const StepOutcome& outcome) {
        switch (outcome.end) {
        case StepEnd::SourceIsTemporary:
            SayTemporary(ctx_.err, source_);
            return Outcome::Failed;
        case StepEnd::SourceMissing:
            // TRANSLATORS: %1 is a file, %2 the reason.
            Say(ctx_.err, Tr("cli", "can't open %1: %2"), {Quoted(source_), ErrorText(ENOENT)});
            return Outcome::Failed;
        case StepEnd::SourceIsFolder:
        case StepEnd::SourceNotRegular:
            SayNotRegular(ctx_.err, source_, outcome.end == StepEnd::SourceIsFolder);
            return Outcome::Failed;
        case StepEnd::SourceIsLink:
            Say(ctx_.err, Tr("cli", "%1 is a symbolic link; name the file it points to"),
                {Quoted(source_)});
            return Outcome::Failed;
        case StepEnd::SameFile:
            Say(ctx_.err, Tr("cli", "%1 can't be written over itself"), {Quoted(source_)});
            return Outcome::Failed;
        case StepEnd::SourceHasOtherNames:
            SayOtherNames(outcome.otherNames);
            return Outcome::Failed;
        case StepEnd::SourceTooLarge:
            Say(ctx_.err, Tr("cli", "%1 is too big for the .cry format (at most 2 GiB)"),
                {Quoted(source_)});
            return Outcome::Failed;
        case StepEnd::NameTooLong:
            SayCannotCreate(ctx_.err, destination_, ENAMETOOLONG);
            return Outcome::Failed;
        case StepEnd::DestinationIsLink:
            SayDestinationIsLink();
            return Outcome::Failed;
        case StepEnd::DestinationInTheWay:
            SayCannotCreate(ctx_.err, destination_, outcome.folderInTheWay ? EISDIR : EEXIST);
            return Outcome::Failed;
        case StepEnd::DestinationTaken:
            ReportTaken(ctx_.err, destination_);
            return Outcome::Failed;
        case StepEnd::DestinationClaimed:
            Say(ctx_.err,
                // TRANSLATORS: %1 is the source, %2 its destination.
                Tr("cli",
                   "%1 would become %2, which this run writes from another file; %1 is kept"),
                {Quoted(source_), Quoted(destination_)});
            return Outcome::Failed;
        case StepEnd::Declined: // the command line asks nothing it could be declined
        case StepEnd::Failed:
            break;
        case StepEnd::Done:
            return Outcome::Done;
        case StepEnd::SourceChanged:
            Say(ctx_.err, Tr("cli", ChangedText(direction_)), {Quoted(source_)});
            return Outcome::Failed;
        case StepEnd::SourceNotRemoved:
            // TRANSLATORS: %1 is a file, %2 the reason.
            Say(ctx_.err, Tr("cli", "couldn't delete %1: %2"),
                {Quoted(source_), ErrorText(outcome.error)});
            return Outcome::Failed;
        case StepEnd::EarlierRunFinished:
            Say(ctx_.err,
                Tr("cli", EarlierRunText(direction_ == Direction::Encrypt, ctx_.options.keep)),
                {Quoted(source_), Quoted(destination_)});
            return Outcome::Finished;
        }
        return FailedWords(outcome);
    }

private:
    Outcome FailedWords(const StepOutcome& outcome) {
        if (outcome.end == StepEnd::Declined || run_ == nullptr) {
            Say(ctx_.err, Tr("cli", "%1: cancelled; nothing was written"), {Quoted(source_)});
            return Outcome::Cancelled;
        }
        // A file that appeared under the new name while its source vanished:
        // another program did the work, and nothing here was kept or lost.
        if (outcome.result == crDestinationExists && !outcome.sourcePresent) {
            Say(ctx_.err,
                Tr("cli",
                   // TRANSLATORS: %1 is the destination, %2 the source.
                   "%1 appeared during the run and was kept; %2 is gone meanwhile, so nothing "
                   "was written"),
                {Quoted(destination_), Quoted(source_)});
            return Outcome::Failed;
        }
        const Outcome said = Report(*run_, outcome.result);
        return said == Outcome::Done ? Outcome::Failed : said;
    }

    void SayOtherNames(unsigned others) {
        if (others == 1)
            Say(ctx_.err,
                Tr("cli", "%1 has 1 other name; its content would stay readable through it"),
                {Quoted(source_)});
        else
            Say(ctx_.err,
                // TRANSLATORS: %1 is a file, %2 a number greater than 1.
                Tr("cli", "%1 has %2 other names; its content would stay readable through them"),
                {Quoted(source_), std::to_string(others)});
    }

    // Replacing a link would put the new file where the link was, not
    // where it leads; following it would write through it unasked.
    void SayDestinationIsLink() {
        if (ctx_.options.output)
            Say(ctx_.err,
                Tr("cli",
                   "%1 is a symbolic link, never replaced by a new file; name the file it leads to "
                   "(or \"-\" for standard output)"),
                {Quoted(destination_)});
        else
            Say(ctx_.err,
                Tr("cli", "%1 is a symbolic link, never replaced by a new file; remove or rename "
                          "it first"),
                {Quoted(destination_)});
    }

    const ActionContext& ctx_;
    const std::string source_, destination_;
    const Direction direction_;
    std::unique_ptr<FileRun> run_;
};

// A name longer than a file system takes would fail only after all the
// work, as if the disk were full.
bool RefuseLongName(const ActionContext& ctx, const std::string& destination) {
    if (!NameTooLong(destination))
        return false;
    SayCannotCreate(ctx.err, destination, ENAMETOOLONG);
    return true;
}

// Standard input or standard output: nothing is looked at, held or deleted.
Outcome TransformStream(const ActionContext& ctx, const std::string& source,
                        const std::string& destination, Direction direction) {
    if (!IsStandardStream(source) &&
        (RefuseTemporary(ctx.err, source) || RefuseNonRegular(ctx.err, source, ctx.folder)))
        return Outcome::Failed;
    if (!ctx.streams.IsOutput(destination)) {
        if (RefuseLongName(ctx, destination))
            return Outcome::Failed;
        RemoveLeftoverTemporaries(destination, ctx.folder);
    }
    FileRun run{ctx, source, destination, direction};
    return Report(run, RunEngine(run));
}

Outcome TransformOne(const ActionContext& ctx, const std::string& source,
                     const std::string& destination, Direction direction) {
    if (IsStandardStream(source) || ctx.streams.IsOutput(destination))
        return TransformStream(ctx, source, destination, direction);
    const auto step = std::make_shared<CliStep>(ctx, source, destination, direction);
    const auto ended = RunFileStep(step->Names(), *step);
    // Waiting in a batch: its commit gives the outcome.
    return ended ? step->Words(*ended) : Outcome::Done;
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
    return TransformOne(ctx, file, *DestinationOf(ctx.options, file), Direction::Encrypt);
}

Outcome DecryptOne(const ActionContext& ctx, const std::string& file) {
    const auto destination = DestinationOf(ctx.options, file);
    if (!destination) {
        Say(ctx.err, Tr("cli", "\"%1\" does not end in .cry; name the output with -o"), {file});
        return Outcome::Failed;
    }
    return TransformOne(ctx, file, *destination, Direction::Decrypt);
}

Outcome ConvertOne(const ActionContext& ctx, const std::string& file) {
    return TransformOne(ctx, file, *DestinationOf(ctx.options, file), Direction::Convert);
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
