// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/CommandLine.h"

#include "commands/Settings.h"
#include "crypto/AsciiCase.h"
#include "crypto/CryptNames.h"
#include "platform/MessageSeam.h"
#include "platform/Paths.h"

#include <sys/stat.h>

namespace kelvane {
namespace {

// `path` is the file as it is spelled on disk; `name` the same as the
// crypted list would show it.
void RunSwitch(ShellHost& host, const std::string& option, const std::string& name,
               const std::string& path) {
    const std::string verb = AsciiLowered(option);
    if (verb == "/open")
        ShellCryptedFile(host, name, path, "open");
    else if (verb == "/print")
        ShellCryptedFile(host, name, path, "print");
    else if (verb == "/decrypt")
        DecryptOneFile(host.Commands(), name, path);
}

// The crypted file a switch names. Without ".cry" and with ShowCry off the
// path is named as the crypted list would show it, so the file is the path
// with ".cry" added, as long as there is one; otherwise the path itself, and
// the command says what it finds there.
std::string CryptedFileOf(const std::string& path) {
    if (ShowCry > 0 || HasCryExtension(path))
        return path;
    const std::string crypted = EncryptedNameOf(path);
    struct stat st {};
    return ::stat(crypted.c_str(), &st) == 0 ? crypted : path;
}

} // namespace

std::string DirectoryErrorText(const std::string& path) {
    return "Couldn't open the folder of the file " + path + ": input/output error.";
}

void RunCommandLine(ShellHost& host, const std::vector<std::string>& parameters) {
    if (parameters.empty())
        return;
    const std::string remembered = CurrentDirectory();
    if (parameters.size() <= 2) {
        const std::string& given = parameters.back();
        // A bare name, as a terminal user types it, is a file of the
        // directory the program was started in.
        const std::string path =
            !given.empty() && given.front() == kPathSeparator ? given : JoinPath(remembered, given);
        if (!host.ChangeDirectory(DirectoryPart(path))) {
            ShowError(DirectoryErrorText(given));
            return;
        }
        const std::string name = ListedCryptedName(path, ShowCry > 0);
        if (parameters.size() == 2)
            RunSwitch(host, parameters.front(), name, CryptedFileOf(path));
        else if (HasCryExtension(path))
            DecryptOneFile(host.Commands(), name, path);
        else
            EncryptOneFile(host.Commands(), name);
    }
    host.ChangeDirectory(remembered);
    host.CloseMainWindow();
}

} // namespace kelvane
