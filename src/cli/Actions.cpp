#include "cli/Actions.h"

#include "crypto/CryptNames.h"
#include "crypto/ResultMessages.h"
#include "engine/CryptFile.h"
#include "platform/FileSafety.h"
#include "platform/Paths.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane::cli {
namespace {

constexpr char kProgram[] = "kelvane-cli: ";

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

void ReportResult(std::ostream& err, CryptResult result, const std::string& file,
                  const std::string& destination = {}) {
    if (const auto text = ResultMessageText(result, file))
        err << *text << '\n';
    else
        err << kProgram << Quoted(file) << " failed (result " << result << ")\n";
    if (result == crCreateFailed && !destination.empty())
        err << kProgram << "couldn't create " << Quoted(destination) << '\n';
}

// Where a name is opened: a walked file in the folder the walk opened, a
// named one as given.
struct Place {
    int folder;
    std::string name;
};

Place PlaceOf(const ActionContext& ctx, const std::string& path) {
    return ctx.folder == AT_FDCWD ? Place{AT_FDCWD, path} : Place{ctx.folder, NamePart(path)};
}

bool Exists(const Place& place) {
    struct stat st {};
    return ::fstatat(place.folder, place.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

enum class Direction { Encrypt, Decrypt };

bool DestinationAllowed(const ActionContext& ctx, const std::string& source,
                        const std::string& destination, Direction direction) {
    const Place from = PlaceOf(ctx, source), to = PlaceOf(ctx, destination);
    if (KindOfSourceAt(from.folder, from.name) == SourceKind::SymbolicLink) {
        ctx.err << kProgram << Quoted(source)
                << " is a symbolic link; name the file it points to\n";
        return false;
    }
    if (IsSameFileAt(from.folder, from.name, to.name)) {
        ctx.err << kProgram << Quoted(source) << " can't be written over itself\n";
        return false;
    }
    if (const unsigned others = OtherNamesAt(from.folder, from.name);
        others > 0 && direction == Direction::Encrypt) {
        ctx.err << kProgram << Quoted(source) << " " << OtherNamesText(others) << '\n';
        return false;
    }
    if (!ctx.options.force && Exists(to)) {
        ctx.err << kProgram << Quoted(destination) << " already exists; -f replaces it\n";
        return false;
    }
    if (ctx.claims != nullptr && !ctx.claims->Claim(to.folder, to.name)) {
        ctx.err << kProgram << Quoted(source) << " would become " << Quoted(destination)
                << ", which this run writes from another file; " << Quoted(source) << " is kept\n";
        return false;
    }
    return true;
}

CryptResult RunEngine(const ActionContext& ctx, const std::string& source,
                      const std::string& destination, Direction direction, HeldSource& held) {
    ProgressCounter unseen, other;
    ProgressBar& bar = ctx.progress ? *ctx.progress : unseen;
    const std::unique_ptr<FileAccess> files = FilesIn(ctx.folder);
    CryptHooks hooks;
    hooks.files = files.get();
    hooks.letEventsRun = ctx.letEventsRun;
    hooks.onExisting = ctx.options.force ? Existing::Replace : Existing::Keep;
    hooks.sourceOpened = held.Opened();
    const std::string from = PlaceOf(ctx, source).name, to = PlaceOf(ctx, destination).name;
    // The engine creates the new file with the source's permissions, so
    // decrypted data is never open to others, not even for a moment.
    const CryptResult result = direction == Direction::Encrypt
                                   ? EncryptFile(from, to, ctx.password, bar, other, hooks)
                                   : DecryptFile(from, to, ctx.password, bar, other, hooks);
    return result;
}

bool ReportEnd(const ActionContext& ctx, CryptResult result, const std::string& source,
               const std::string& destination, const HeldSource& held) {
    if (result == crDestinationExists && !held.Present())
        ctx.err << kProgram << Quoted(destination) << " appeared during the run and was kept; "
                << Quoted(source) << " is gone meanwhile, so nothing was written\n";
    else if (result == crDestinationExists)
        ctx.err << kProgram << Quoted(destination)
                << " appeared during the run and was kept; -f replaces it\n";
    else if (result == crUnconfirmed)
        ctx.err << kProgram << Quoted(destination)
                << " is in place but could not be confirmed on disk; " << Quoted(source)
                << " is kept\n";
    else
        ReportResult(ctx.err, result, source, destination);
    return false;
}

bool TransformOne(const ActionContext& ctx, const std::string& source,
                  const std::string& destination, Direction direction) {
    const Place from = PlaceOf(ctx, source);
    // What a killed run on this destination left behind goes first.
    RemoveLeftoverTemporaries(PlaceOf(ctx, destination).name, ctx.folder);
    if (!DestinationAllowed(ctx, source, destination, direction))
        return false;
    HeldSource held =
        ctx.folder == AT_FDCWD ? HeldSource(source) : HeldSource(ctx.folder, from.name);
    const CryptResult result = RunEngine(ctx, source, destination, direction, held);
    if (result != crOk)
        return ReportEnd(ctx, result, source, destination, held);
    if (ctx.options.keep)
        return true;
    switch (held.RemoveIfUnchanged()) {
    case SourceRemoval::Removed:
        return true;
    case SourceRemoval::Changed:
        ctx.err << source << ": changed while it was being "
                << (direction == Direction::Encrypt ? "encrypted" : "decrypted") << "; both kept\n";
        return false;
    case SourceRemoval::Failed:
        break;
    }
    ctx.err << kProgram << "couldn't delete " << Quoted(source) << ": " << std::strerror(errno)
            << '\n';
    return false;
}

// Named special files are refused before anything opens them: opening a
// FIFO would wait for a writer that may never come.
bool RefuseNonRegular(std::ostream& err, const std::string& file, int folder = AT_FDCWD) {
    const std::string name = folder == AT_FDCWD ? file : NamePart(file);
    struct stat st {};
    if (::fstatat(folder, name.c_str(), &st, 0) != 0 || S_ISREG(st.st_mode))
        return false; // a missing file is reported by the engine as usual
    if (S_ISDIR(st.st_mode))
        err << kProgram << Quoted(file) << " is a folder; -r walks folders\n";
    else
        err << kProgram << Quoted(file) << " is not a regular file\n";
    return true;
}

// The program's own temporaries are half-written files of some run, never a
// user's file to encrypt or decrypt.
bool RefuseTemporary(std::ostream& err, const std::string& file) {
    if (!IsTemporaryName(NamePart(file)))
        return false;
    err << kProgram << Quoted(file) << " is a temporary file of a kelvane run; skipped\n";
    return true;
}

// A name longer than a file system takes would fail only after all the
// work, as if the disk were full.
bool RefuseLongName(const ActionContext& ctx, const std::string& destination) {
    if (!NameTooLong(destination))
        return false;
    ctx.err << NameTooLongText(destination, " ") << '\n';
    return true;
}

std::string Hex(uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, value);
    return text;
}

} // namespace

bool DestinationClaims::Claim(int folder, const std::string& name) {
    struct stat st {};
    const std::string directory = folder == AT_FDCWD ? DirectoryPart(name) : std::string();
    if (::fstatat(folder, directory.empty() ? "." : directory.c_str(), &st, 0) != 0)
        return true; // the engine reports a folder that isn't there
    const std::lock_guard<std::mutex> hold(lock_);
    return taken_
        .insert(
            {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino), NamePart(name)})
        .second;
}

bool EncryptOne(const ActionContext& ctx, const std::string& file) {
    const std::string destination = ctx.options.output.value_or(EncryptedNameOf(file));
    if (RefuseTemporary(ctx.err, file) || RefuseNonRegular(ctx.err, file, ctx.folder) ||
        RefuseLongName(ctx, destination))
        return false;
    return TransformOne(ctx, file, destination, Direction::Encrypt);
}

bool DecryptOne(const ActionContext& ctx, const std::string& file) {
    const auto destination = ctx.options.output ? ctx.options.output : DecryptedNameOf(file);
    if (!destination) {
        ctx.err << kProgram << Quoted(file) << " does not end in .cry; name the output with -o\n";
        return false;
    }
    if (RefuseTemporary(ctx.err, file) || RefuseNonRegular(ctx.err, file, ctx.folder) ||
        RefuseLongName(ctx, *destination))
        return false;
    return TransformOne(ctx, file, *destination, Direction::Decrypt);
}

bool VerifyOne(const ActionContext& ctx, const std::string& file) {
    if (RefuseNonRegular(ctx.err, file, ctx.folder))
        return false;
    const std::unique_ptr<FileAccess> files = FilesIn(ctx.folder);
    CryptHooks hooks;
    hooks.files = files.get();
    hooks.letEventsRun = ctx.letEventsRun;
    const CryptResult result = VerifyCryptedFile(PlaceOf(ctx, file).name, ctx.password, hooks);
    if (result != crOk) {
        ReportResult(ctx.err, result, file);
        return false;
    }
    if (!ctx.options.quiet)
        ctx.out << file << ": OK\n";
    return true;
}

bool InfoOne(std::ostream& out, std::ostream& err, const std::string& file) {
    if (RefuseNonRegular(err, file))
        return false;
    CryptHeader header;
    if (!ReadCryptHeader(file, header, SystemFilesForReading())) {
        ReportResult(err, crOpenFailed, file);
        return false;
    }
    out << "File:          " << file << '\n';
    // Without the magic the other fields would be whatever bytes follow:
    // showing them as a length and checks would make them look meaningful.
    if (!header.magicMatches) {
        out << "Magic:         missing (not KZ31): not a crypted file\n";
        ReportResult(err, crNotCrypted, file);
        return false;
    }
    out << "Magic:         KZ31\n";
    if (header.complete) {
        out << "Plain length:  " << header.plainLength << '\n'
            << "Data check:    " << Hex(header.dataCheck, 8) << '\n'
            << "Key check:     " << Hex(header.keyCheck, 4) << '\n';
    } else {
        out << "Header:        incomplete (fewer than 14 bytes)\n";
    }
    out << "Cipher length: " << header.cipherLength << '\n'
        << "Well-formed:   " << (header.WellFormed() ? "yes" : "no") << '\n';
    return header.WellFormed();
}

} // namespace kelvane::cli
