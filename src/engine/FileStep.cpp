// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/FileStep.h"

#include "crypto/CryptHeader.h"
#include "crypto/CryptNames.h"
#include "platform/FileNode.h"
#include "platform/Paths.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#include <variant>

namespace kelvane {
namespace {

StepOutcome Ended(StepEnd end) {
    StepOutcome outcome;
    outcome.end = end;
    return outcome;
}

// What the source's name is, judged first by what it leads to: a link to a
// folder is a folder to the user; that it is a link is refused next.
std::optional<StepOutcome> RefusedSource(const NameLook& source) {
    if (!source.found)
        return Ended(StepEnd::SourceMissing);
    if (source.leads && S_ISDIR(source.followed.st_mode))
        return Ended(StepEnd::SourceIsFolder);
    if (source.leads && !S_ISREG(source.followed.st_mode))
        return Ended(StepEnd::SourceNotRegular);
    if (source.IsLink())
        return Ended(StepEnd::SourceIsLink);
    return std::nullopt;
}

bool SameFile(const StepNames& names, const NameLook& source, const NameLook& destination) {
    return IsSameFileFrom(names.source, source.leads ? &source.followed : nullptr,
                          names.destination, destination.leads ? &destination.followed : nullptr);
}

// Encrypting one name of a file with other names would leave its content
// readable through them; one larger than the length field holds could not
// be decrypted again.
std::optional<StepOutcome> RefusedToEncrypt(const NameLook& source) {
    if (const unsigned others = source.OtherNames(); others > 0) {
        StepOutcome outcome = Ended(StepEnd::SourceHasOtherNames);
        outcome.otherNames = others;
        return outcome;
    }
    if (source.followed.st_size > kLargestPlainLength)
        return Ended(StepEnd::SourceTooLarge);
    return std::nullopt;
}

// Replacing a link would put the new file where the link was, not where it
// leads; a folder or anything else that is no file can't be replaced at all.
std::optional<StepOutcome> RefusedDestination(const NameLook& destination) {
    if (destination.IsLink())
        return Ended(StepEnd::DestinationIsLink);
    if (destination.found && !S_ISREG(destination.own.st_mode)) {
        StepOutcome outcome = Ended(StepEnd::DestinationInTheWay);
        outcome.folderInTheWay = S_ISDIR(destination.own.st_mode);
        return outcome;
    }
    return std::nullopt;
}

// Every refusal that needs no answer from the user, in their one order.
std::optional<StepOutcome> Refused(const StepNames& names, const NameLook& source,
                                   const NameLook& destination) {
    if (auto refused = RefusedSource(source))
        return refused;
    if (SameFile(names, source, destination))
        return Ended(StepEnd::SameFile);
    if (names.direction == Direction::Encrypt)
        if (auto refused = RefusedToEncrypt(source))
            return refused;
    if (NameTooLong(names.destination))
        return Ended(StepEnd::NameTooLong);
    return RefusedDestination(destination);
}

// A walked file's folder stays open until the whole run has ended, its
// batches committed: the run's list of files holds it.
std::shared_ptr<HeldSource> HoldSource(const StepNames& names) {
    return names.folder == AT_FDCWD ? std::make_shared<HeldSource>(names.source)
                                    : HeldSource::InKeptFolder(names.folder, names.source);
}

StepOutcome RemoveSource(HeldSource& held, StepEnd removed) {
    switch (held.RemoveIfUnchanged()) {
    case SourceRemoval::Removed:
        return Ended(removed);
    case SourceRemoval::Changed:
        return Ended(StepEnd::SourceChanged);
    case SourceRemoval::Failed:
        break;
    }
    StepOutcome outcome = Ended(StepEnd::SourceNotRemoved);
    outcome.error = errno;
    return outcome;
}

// What the engine's result, the commit's included, means for the source.
StepOutcome Conclude(HeldSource& held, CryptResult result, bool keep, int error) {
    if (result != crOk) {
        StepOutcome outcome = Ended(StepEnd::Failed);
        outcome.result = result;
        outcome.error = error;
        if (result == crDestinationExists)
            outcome.sourcePresent = held.Present();
        return outcome;
    }
    // The new file was born with the source's permission bits; the source's
    // own mode is never touched.
    return keep ? Ended(StepEnd::Done) : RemoveSource(held, StepEnd::Done);
}

// The destination holds exactly the source, in the direction of the run;
// the source is noted as it was opened, for the test before it is deleted,
// and so is the destination, for its flush.
bool DestinationHoldsSource(const StepNames& names, StepFrontEnd& frontEnd, FileAccess& files,
                            HeldSource& held, FileNode& destinationNode) {
    const auto source = files.OpenSource(names.source);
    if (!source)
        return false;
    *held.Opened() = source->OpenedAs();
    // Not through the run's own files, which open only the very source.
    const auto destination = FilesIn(names.folder)->OpenSource(names.destination);
    if (!destination)
        return false;
    destinationNode = destination->OpenedAs().node;
    const std::string& password = frontEnd.Password();
    return names.direction == Direction::Encrypt
               ? CryptedHoldsPlain(*destination, *source, password)
               : CryptedHoldsPlain(*source, *destination, password);
}

// The earlier run's file may be only in memory yet, as a fresh copy is;
// it goes to the disk before the source may go.
bool DestinationOnDisk(const StepNames& names, const FileNode& destinationNode) {
    const int fd = ::openat(names.folder, names.destination.c_str(),
                            O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    const bool flushed = ::fstat(fd, &st) == 0 && NodeOf(st) == destinationNode && ::fsync(fd) == 0;
    ::close(fd);
    return flushed;
}

// Finishes what an earlier run left: its destination in place, the source
// still there. Anything but the source's exact content is refused as any
// other file in the way.
StepOutcome FinishEarlierRun(const StepNames& names, StepFrontEnd& frontEnd, FileAccess& files,
                             HeldSource& held) {
    FileNode destinationNode{};
    if (!DestinationHoldsSource(names, frontEnd, files, held, destinationNode) ||
        !DestinationOnDisk(names, destinationNode)) {
        if (!CancelRequested.load())
            return Ended(StepEnd::DestinationTaken);
        StepOutcome outcome = Ended(StepEnd::Failed);
        outcome.result = crAborted;
        return outcome;
    }
    return frontEnd.KeepsSource() ? Ended(StepEnd::EarlierRunFinished)
                                  : RemoveSource(held, StepEnd::EarlierRunFinished);
}

enum class Taken { No, Replace, Earlier };

// A file of the destination's name: the front end's answer, within what the
// step allows. Only an encryption or decryption leaves work that can be
// checked against its source, and a name claimed by another file of the run
// may hold that file's work.
std::variant<Taken, StepOutcome> AnswerForTaken(const StepNames& names, StepFrontEnd& frontEnd) {
    switch (frontEnd.DestinationTaken()) {
    case StepFrontEnd::WhenTaken::Refuse:
        break;
    case StepFrontEnd::WhenTaken::Decline:
        return Ended(StepEnd::Declined);
    case StepFrontEnd::WhenTaken::Replace:
        return Taken::Replace;
    case StepFrontEnd::WhenTaken::LookForEarlierRun:
        if (names.direction != Direction::Convert && !names.destinationClaimed)
            return Taken::Earlier;
        break;
    }
    return Ended(StepEnd::DestinationTaken);
}

} // namespace

void StepHooks::ApplyTo(CryptHooks& hooks) const {
    hooks.files = files;
    hooks.onExisting = onExisting;
    hooks.sourceOpened = sourceOpened;
    hooks.handOver = handOver;
}

std::optional<StepOutcome> RunFileStep(const StepNames& names, StepFrontEnd& frontEnd) {
    if (IsTemporaryName(NamePart(names.source)))
        return Ended(StepEnd::SourceIsTemporary);
    // What a killed run on this destination left behind goes first, even
    // when the run is then refused.
    if (!names.temporariesCleared)
        RemoveLeftoverTemporaries(names.destination, names.folder);
    const NameLook source = names.sourceLooked != nullptr && S_ISREG(names.sourceLooked->st_mode)
                                ? LookTaken(*names.sourceLooked)
                                : LookAtName(names.folder, names.source);
    const NameLook destination = LookAtName(names.folder, names.destination);
    if (auto refused = Refused(names, source, destination))
        return refused;
    Taken taken = Taken::No;
    if (names.destinationListed || destination.found) {
        auto answer = AnswerForTaken(names, frontEnd);
        if (auto* ended = std::get_if<StepOutcome>(&answer))
            return *ended;
        taken = std::get<Taken>(answer);
    }
    if (names.destinationClaimed)
        return Ended(StepEnd::DestinationClaimed);
    if (!frontEnd.ReadyToRun(source, taken != Taken::No))
        return Ended(StepEnd::Declined);

    const auto held = HoldSource(names);
    FileAccess& files = frontEnd.Files({taken == Taken::No, true, NodeOf(source.own)});
    if (taken == Taken::Earlier)
        return FinishEarlierRun(names, frontEnd, files, *held);
    const Existing existing =
        taken == Taken::Replace ? Existing::Replace : frontEnd.WhenAppearing();
    const bool batched = frontEnd.Batched();
    auto written = std::make_shared<std::unique_ptr<DestinationFile>>();
    const StepHooks hooks{&files, existing, held->Opened(), batched ? written.get() : nullptr};
    const bool keep = frontEnd.KeepsSource();
    // What follows the engine's run, wherever it ran.
    auto finish = [&frontEnd, held, keep, existing,
                   written](CryptResult result) -> std::optional<StepOutcome> {
        if (result != crOk || !*written)
            return Conclude(*held, result, keep, 0);
        frontEnd.Defer(std::move(*written), existing, held->Opened()->size,
                       [held, keep](CommitOutcome outcome, int error) {
                           return Conclude(*held, ResultOfCommit(outcome), keep,
                                           outcome == CommitOutcome::Failed ? error : 0);
                       });
        return std::nullopt;
    };
    if (batched && frontEnd.RunElsewhere(hooks, finish))
        return std::nullopt;
    return finish(frontEnd.Run(hooks));
}

} // namespace kelvane
