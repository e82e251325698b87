#include "commands/CommandLine.h"

#include "commands/Settings.h"
#include "platform/MessageSeam.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cctype>
#include <unistd.h>

namespace kelvane {
namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string WorkingDirectory() {
    char buffer[4096];
    return ::getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string();
}

bool IsCryptedPath(const std::string& path) {
    return Lower(ExtensionOf(path)) == ".cry";
}

// The crypted file's name as the crypted list shows it.
std::string ListedName(const std::string& path) {
    if (IsCryptedPath(path) && ShowCry <= 0)
        return path.substr(0, path.size() - 4);
    return path;
}

// `path` is the file as it is spelled on disk; `name` the same as the
// crypted list would show it.
void RunSwitch(ShellHost& host, const std::string& option, const std::string& name,
               const std::string& path) {
    const std::string verb = Lower(option);
    if (verb == "/open")
        ShellCryptedFile(host, name, path, "open");
    else if (verb == "/print")
        ShellCryptedFile(host, name, path, "print");
    else if (verb == "/decrypt")
        DecryptOneFile(host.Commands(), name, path);
}

} // namespace

std::string DirectoryErrorText(const std::string& path) {
    return "Couldn't open the folder of the file " + path + ": input/output error.";
}

void RunCommandLine(ShellHost& host, const std::vector<std::string>& parameters) {
    if (parameters.empty())
        return;
    const std::string remembered = WorkingDirectory();
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
        const std::string name = ListedName(path);
        if (parameters.size() == 2)
            RunSwitch(host, parameters.front(), name, path);
        else if (IsCryptedPath(path))
            DecryptOneFile(host.Commands(), name, path);
        else
            EncryptOneFile(host.Commands(), name);
    }
    host.ChangeDirectory(remembered);
    host.CloseMainWindow();
}

} // namespace kelvane
