#include "cli/Actions.h"

#include "crypto/CryptFile.h"
#include "crypto/CryptNames.h"
#include "crypto/ResultMessages.h"
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

// The source's permission bits, held while the engine opens it for reading
// and writing: a write-protected source gets owner write permission for the
// run ("archive only") and its own bits back when it stays.
class HeldPermissions {
public:
    explicit HeldPermissions(const std::string& path) : path_(path) {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            return;
        mode_ = st.st_mode & 07777;
        if ((mode_ & S_IWUSR) == 0)
            changed_ = ::chmod(path.c_str(), mode_ | S_IWUSR) == 0;
    }

    void Restore() {
        if (changed_)
            ::chmod(path_.c_str(), mode_);
        changed_ = false;
    }

    // What the new file gets; never set-id bits, which would hand a decrypted
    // program the rights of whoever ran us.
    mode_t PermissionBits() const { return mode_ & 0777; }

private:
    std::string path_;
    mode_t mode_ = 0600;
    bool changed_ = false;
};

bool IsSymbolicLink(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

bool Exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

bool DestinationAllowed(const ActionContext& ctx, const std::string& source,
                        const std::string& destination) {
    // Deleting a link after success would leave the plain file it points to.
    if (IsSymbolicLink(source)) {
        ctx.err << kProgram << Quoted(source)
                << " is a symbolic link; name the file it points to\n";
        return false;
    }
    if (SystemFiles().SameFile(source, destination)) {
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
                      const std::string& destination, Direction direction) {
    ProgressCounter unseen, other;
    ProgressBar& bar = ctx.progress ? *ctx.progress : unseen;
    CryptHooks hooks;
    hooks.letEventsRun = ctx.letEventsRun;
    // The engine creates the new file with the source's permissions, so
    // decrypted data is never open to others, not even for a moment.
    const CryptResult result =
        direction == Direction::Encrypt
            ? EncryptFile(source, destination, ctx.password, bar, other, hooks)
            : DecryptFile(source, destination, ctx.password, bar, other, hooks);
    return result;
}

bool FinishDone(const ActionContext& ctx, const std::string& source, const std::string& destination,
                HeldPermissions& held) {
    if (::chmod(destination.c_str(), held.PermissionBits()) != 0) {
        ctx.err << kProgram << "couldn't give " << Quoted(destination) << " the permissions of "
                << Quoted(source) << ": " << std::strerror(errno) << "; " << Quoted(source)
                << " is kept\n";
        held.Restore();
        return false;
    }
    if (ctx.options.keep) {
        held.Restore();
        return true;
    }
    if (::unlink(source.c_str()) != 0) {
        ctx.err << kProgram << "couldn't delete " << Quoted(source) << ": " << std::strerror(errno)
                << '\n';
        held.Restore();
        return false;
    }
    return true;
}

bool TransformOne(const ActionContext& ctx, const std::string& source,
                  const std::string& destination, Direction direction) {
    if (!DestinationAllowed(ctx, source, destination))
        return false;
    HeldPermissions held(source);
    const CryptResult result = RunEngine(ctx, source, destination, direction);
    if (result != crOk) {
        held.Restore();
        ReportResult(ctx.err, result, source, destination);
        return false;
    }
    return FinishDone(ctx, source, destination, held);
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
