// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/CommandLine.h"

#include "commands/PasswordPolicy.h"
#include "commands/Settings.h"
#include "commands/State.h"
#include "crypto/AsciiCase.h"
#include "crypto/CryptNames.h"
#include "crypto/Translate.h"
#include "platform/MessageSeam.h"
#include "platform/Paths.h"

#include <algorithm>
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

// A bare name, as a terminal user types it, is a file of the directory the
// program was started in.
std::string AbsolutePath(const std::string& given, const std::string& startDirectory) {
    return !given.empty() && given.front() == kPathSeparator ? given
                                                             : JoinPath(startDirectory, given);
}

// The command a list option runs on each file; empty for no such option.
ListedFileStep StepOf(const std::string& option, ShellHost& host,
                      const AgeTargetSource& ageTarget) {
    if (option == kRunFilesOption)
        return EncryptOrDecryptStep(host);
    if (option == kOpenFilesOption)
        return [&host](const std::string& name, const std::string& path) {
            ShellCryptedFile(host, name, CryptedFileOf(path), "open");
        };
    if (option == kConvertFilesOption)
        return [&host, &ageTarget](const std::string& name, const std::string& path) {
            ConvertOneFile(host.Commands(), name, CryptedFileOf(path), ageTarget);
        };
    return {};
}

} // namespace

ListedFileStep EncryptOrDecryptStep(ShellHost& host) {
    return [&host](const std::string& name, const std::string& path) {
        if (HasCryExtension(path))
            DecryptOneFile(host.Commands(), name, path);
        else
            EncryptOneFile(host.Commands(), name);
    };
}

std::string DirectoryErrorText(const std::string& path) {
    return FormatText(
        Tr("CommandLine", "Couldn't open the folder of the file %1: input/output error."), {path});
}

void RunCommandLine(ShellHost& host, SelectionHost& selection,
                    const std::vector<std::string>& parameters, const AgeTargetSource& ageTarget) {
    if (parameters.empty())
        return;
    const std::string remembered = CurrentDirectory();
    const ListedFileStep listStep = StepOf(parameters.front(), host, ageTarget);
    if (listStep && parameters.size() >= 2) {
        std::vector<std::string> paths;
        for (auto given = parameters.begin() + 1; given != parameters.end(); ++given)
            paths.push_back(AbsolutePath(*given, remembered));
        RunFileList(host, selection, paths, listStep, parameters.front() != kOpenFilesOption);
    } else if (parameters.size() <= 2) {
        const std::string path = AbsolutePath(parameters.back(), remembered);
        if (!host.ChangeDirectory(DirectoryPart(path))) {
            ShowError(DirectoryErrorText(parameters.back()));
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

void RunFileList(ShellHost& host, SelectionHost& selection, const std::vector<std::string>& paths,
                 const ListedFileStep& step, bool listPassword) {
    const DurableRemovals durable;
    const PasswordUse use;
    if (Busy()) {
        selection.SetStatus(Tr("Status", kWaitTillFinished));
        return;
    }
    const auto crypted = static_cast<int>(std::count_if(
        paths.begin(), paths.end(), [](const auto& p) { return HasCryExtension(p); }));
    const int plain = static_cast<int>(paths.size()) - crypted;
    RunOfFiles = paths.size() > 1;
    // Between two files the window's events run: no other command may start.
    SelectionBusy = true;
    bool firstPlain = true;
    bool firstCrypted = true;
    for (std::size_t done = 0; done < paths.size(); ++done) {
        if (done > 0) {
            selection.LetEventsRun();
            if (CancelRequested)
                break;
        }
        const std::string& path = paths[done];
        const bool isCrypted = HasCryExtension(path);
        bool& first = isCrypted ? firstCrypted : firstPlain;
        // One password for the list is offered by the first file of each
        // kind, since encryption and decryption ask in dialogs of their own.
        FirstOfList =
            listPassword && first && !(OnePassword > 0) && (isCrypted ? crypted : plain) > 1;
        first = false;
        SelectionBusy = false; // the single-file commands refuse while any command is busy
        if (host.ChangeDirectory(DirectoryPart(path)))
            step(ListedCryptedName(path, ShowCry > 0), path);
        else
            ShowError(DirectoryErrorText(path));
        SelectionBusy = true;
        FirstOfList = false;
    }
    RunOfFiles = false;
    SelectionBusy = false;
    selection.UntickOneForList(FileGrid::Plain);
    selection.UntickOneForList(FileGrid::Crypted);
    CancelRequested = false;
    selection.RefreshLists();
}

} // namespace kelvane
