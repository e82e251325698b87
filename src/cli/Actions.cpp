#include "cli/Actions.h"

#include "crypto/CryptFile.h"
#include "crypto/CryptNames.h"
#include "crypto/ResultMessages.h"
#include "platform/FileSafety.h"
#include "platform/Paths.h"

#include <atomic>
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

bool Exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

bool DestinationAllowed(const ActionContext& ctx, const std::string& source,
                        const std::string& destination) {
    if (KindOfSource(source) == SourceKind::SymbolicLink) {
        ctx.err << kProgram << Quoted(source)
                << " is a symbolic link; name the file it points to\n";
        return false;
    }
    if (IsSameFile(source, destination)) {
        ctx.err << kProgram << Quoted(source) << " can't be written over itself\n";
        return false;
    }
    if (!ctx.options.force && Exists(destination)) {
        ctx.err << kProgram << Quoted(destination) << " already exists; -f replaces it\n";
        return false;
    }
    return true;
}

enum class Direction { Encrypt, Decrypt };

CryptResult RunEngine(const ActionContext& ctx, const std::string& source,
                      const std::string& destination, Direction direction, HeldSource& held) {
    ProgressCounter unseen, other;
    ProgressBar& bar = ctx.progress ? *ctx.progress : unseen;
    CryptHooks hooks;
    hooks.letEventsRun = ctx.letEventsRun;
    hooks.onExisting = ctx.options.force ? Existing::Replace : Existing::Keep;
    hooks.sourceOpened = held.Opened();
    // The engine creates the new file with the source's permissions, so
    // decrypted data is never open to others, not even for a moment.
    const CryptResult result =
        direction == Direction::Encrypt
            ? EncryptFile(source, destination, ctx.password, bar, other, hooks)
            : DecryptFile(source, destination, ctx.password, bar, other, hooks);
    return result;
}

bool ReportEnd(const ActionContext& ctx, CryptResult result, const std::string& source,
               const std::string& destination) {
    if (result == crDestinationExists)
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
    // What a killed run on this destination left behind goes first.
    RemoveLeftoverTemporaries(destination);
    if (!DestinationAllowed(ctx, source, destination))
        return false;
    HeldSource held(source);
    const CryptResult result = RunEngine(ctx, source, destination, direction, held);
    if (result != crOk)
        return ReportEnd(ctx, result, source, destination);
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
bool RefuseNonRegular(std::ostream& err, const std::string& file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0 || S_ISREG(st.st_mode))
        return false; // a missing file is reported by the engine as usual
    if (S_ISDIR(st.st_mode))
        err << kProgram << Quoted(file) << " is a folder; -r walks folders\n";
    else
        err << kProgram << Quoted(file) << " is not a regular file\n";
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

bool EncryptOne(const ActionContext& ctx, const std::string& file) {
    const std::string destination = ctx.options.output.value_or(EncryptedNameOf(file));
    if (RefuseNonRegular(ctx.err, file) || RefuseLongName(ctx, destination))
        return false;
    return TransformOne(ctx, file, destination, Direction::Encrypt);
}

bool DecryptOne(const ActionContext& ctx, const std::string& file) {
    const auto destination = ctx.options.output ? ctx.options.output : DecryptedNameOf(file);
    if (!destination) {
        ctx.err << kProgram << Quoted(file) << " does not end in .cry; name the output with -o\n";
        return false;
    }
    if (RefuseNonRegular(ctx.err, file) || RefuseLongName(ctx, *destination))
        return false;
    return TransformOne(ctx, file, *destination, Direction::Decrypt);
}

namespace {

std::atomic<int> lengthWarnings{0};

// The data is the plain length padded to the next whole block, 1 to 8 bytes
// more; anything longer is a length field that lost bits.
bool LengthFitsData(const CryptHeader& header) {
    return header.cipherLength - header.plainLength <= 8;
}

void WarnOfLength(std::ostream& err, const std::string& file, const CryptHeader& header) {
    ++lengthWarnings;
    err << kProgram << "warning: " << Quoted(file) << " stores a length of " << header.plainLength
        << " bytes, more than a block short of the " << header.cipherLength
        << " bytes of data that follow; its length field may be damaged\n";
}

} // namespace

int TakeLengthWarnings() {
    return lengthWarnings.exchange(0);
}

bool VerifyOne(const ActionContext& ctx, const std::string& file) {
    if (RefuseNonRegular(ctx.err, file))
        return false;
    CryptHooks hooks;
    hooks.files = &SystemFilesForReading();
    hooks.letEventsRun = ctx.letEventsRun;
    const CryptResult result = VerifyCryptedFile(file, ctx.password, hooks);
    if (result != crOk) {
        ReportResult(ctx.err, result, file);
        return false;
    }
    CryptHeader header;
    if (ReadCryptHeader(file, header, SystemFilesForReading()) && header.WellFormed() &&
        !LengthFitsData(header))
        WarnOfLength(ctx.err, file, header);
    else if (!ctx.options.quiet)
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
    if (header.WellFormed() && !LengthFitsData(header))
        WarnOfLength(err, file, header);
    return header.WellFormed();
}

} // namespace kelvane::cli
