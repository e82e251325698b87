// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/ShellCommands.h"

#include "commands/Settings.h"
#include "commands/State.h"
#include "crypto/CryptNames.h"
#include "crypto/Translate.h"
#include "platform/MessageSeam.h"
#include "platform/OpenFileScan.h"
#include "platform/Paths.h"
#include "platform/PlainFileJournal.h"
#include "platform/ShellLaunch.h"

#include <array>
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {
namespace {

bool PlainFileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The plain file a crypted list entry becomes when decrypted.
std::string PlainNameOf(const std::string& listedName) {
    return ShowCry > 0 ? WithoutCryExtension(listedName) : listedName;
}

std::string FullPath(const std::string& name) {
    return !name.empty() && name.front() == kPathSeparator ? name
                                                           : JoinPath(CurrentDirectory(), name);
}

// The journal names what is out while it is out: a file encrypted again, or
// gone from its place, leaves it.
void ForgetIfProtected(const std::string& path) {
    if (!PlainFileExists(path))
        RemoveFromJournal(DefaultJournalPath(), path);
}

std::string PathOf(const OpenFileSlot& slot) {
    if (!slot.Name.empty() && slot.Name.front() == kPathSeparator)
        return slot.Name;
    return JoinPath(slot.Directory, slot.Name);
}

// The name the file commands get: as watched while the window still shows
// its directory, the full path once the user has moved on.
std::string CommandNameOf(const OpenFileSlot& slot) {
    return CurrentDirectory() == slot.Directory ? slot.Name : PathOf(slot);
}

void FreeSlot(OpenFileSlot& slot) {
    slot = OpenFileSlot{};
    --OpenCount;
}

// Takes the first free slot for a file just handed on; false when all are
// taken.
bool WatchFile(const std::string& plainName, int64_t process) {
    for (OpenFileSlot& slot : OpenFiles) {
        if (slot.InUse)
            continue;
        slot = OpenFileSlot{plainName, CurrentDirectory(), false, true, process, 0};
        ++OpenCount;
        return true;
    }
    return false;
}

void TellLeftDecrypted(const std::vector<std::string>& names) {
    if (!names.empty())
        ShowInformation(LeftDecryptedText(names));
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

void ReEncrypt(ShellHost& host, OpenFileSlot& slot) {
    const std::string path = PathOf(slot);
    const std::string name = CommandNameOf(slot);
    bool encrypted = true;
    if (PlainFileExists(path))
        encrypted = EncryptOneFile(host.Commands(), name);
    else if (!FileExists(EncryptedNameOf(path)))
        // Not encrypted by the user meanwhile: the application renamed or
        // removed it, and a copy may be readable elsewhere.
        ShowInformation(GoneFromItsPlaceText(name));
    FreeSlot(slot);
    // A cancel during this run was meant for this run, not for the watch.
    CancelRequested = false;
    ForgetIfProtected(path);
    if (!encrypted && PlainFileExists(path))
        TellLeftDecrypted({name});
}

// `lp` ended with an error: what it said goes to the user, who would
// otherwise wait for a page that never comes.
void TellPrintFailure(const OpenFileSlot& slot, int exitCode) {
    const std::optional<std::string> said = ErrorOutputOf(slot.Process);
    if (said && exitCode != 0)
        ShowError(PrintFailedText(slot.Name, *said, exitCode));
}

// A file is encrypted again once its application has ended, or has held the
// file and let go of it, and no process holds it any more.
void CheckSlot(ShellHost& host, OpenFileSlot& slot, bool heldNow) {
    if (heldNow) {
        slot.LockSeen = true;
        slot.QuietPasses = 0;
        return;
    }
    const std::optional<int> exitCode = ProcessExitCode(slot.Process);
    const bool ended = exitCode && *exitCode != kStillActive;
    if (ended)
        TellPrintFailure(slot, *exitCode);
    if (!ended && !slot.LockSeen)
        return;
    if (++slot.QuietPasses < kQuietPasses)
        return;
    ReEncrypt(host, slot);
}

// The user confirmed the close warning: the files still watched stay
// decrypted, and the user is told which.
void EndWatchForClose(ShellHost& host) {
    std::vector<std::string> left;
    for (OpenFileSlot& slot : OpenFiles) {
        if (slot.InUse && PlainFileExists(PathOf(slot)))
            left.push_back(CommandNameOf(slot));
        slot = OpenFileSlot{};
    }
    OpenCount = 0;
    TellLeftDecrypted(left);
    host.CloseMainWindow();
}

void WatchPass(ShellHost& host) {
    ReapDetachedProcesses(); // plain files' programs started meanwhile
    // One scan of the process tables serves every slot of the pass.
    std::array<std::optional<FileNode>, kOpenFileSlots> identities;
    std::array<std::string, kOpenFileSlots> scannedNames;
    std::map<FileNode, std::string> wanted;
    for (std::size_t i = 0; i < kOpenFileSlots; ++i) {
        FileNode identity;
        if (OpenFiles[i].InUse && IdentityOf(PathOf(OpenFiles[i]), identity)) {
            identities[i] = identity;
            wanted[identity] = PathOf(OpenFiles[i]);
        }
        scannedNames[i] = OpenFiles[i].InUse ? PathOf(OpenFiles[i]) : std::string();
    }
    static HeldFileMonitor monitor;
    const std::set<FileNode> held = monitor.Held(wanted);

    for (std::size_t i = 0; i < kOpenFileSlots; ++i) {
        if (CancelRequested) {
            EndWatchForClose(host);
            return;
        }
        OpenFileSlot& slot = OpenFiles[i];
        // A slot taken while an earlier slot was encrypted waits for the
        // next pass, which scans for it.
        if (!slot.InUse || scannedNames[i] != PathOf(slot))
            continue;
        CheckSlot(host, slot, identities[i] && held.count(*identities[i]) != 0);
    }
}

void WatchOrTell(ShellHost& host, const std::string& plainName, int64_t process) {
    if (!WatchFile(plainName, process)) {
        // The table is full: the file was handed on but nobody will
        // encrypt it again.
        TellLeftDecrypted({plainName});
        return;
    }
    if (!TheSharedState.WatchRunning)
        WatchOpenFiles(host);
}

void ShowWatchStatus(CommandHost& commands) {
    commands.SetStatus(OpenCount > 0 ? OpenFilesStatusText(OpenCount) : Tr("Status", kIdleText));
}

// Nobody will ever open a file whose application could not be started: it
// is encrypted again at once, with the password it was decrypted with.
void EncryptUnopened(CommandHost& commands, const std::string& plain) {
    const bool encrypted = EncryptAgainWithSamePassword(commands, plain);
    CancelRequested = false;
    ForgetIfProtected(FullPath(plain));
    if (!encrypted && PlainFileExists(FullPath(plain)))
        TellLeftDecrypted({plain});
}

// Decrypts, hands on and watches one crypted file; false when it could not be
// decrypted.
bool OpenCryptedFile(ShellHost& host, const std::string& name, const std::string& fileName,
                     const std::string& verb) {
    const std::string plain = DecryptedNameOf(fileName).value_or(PlainNameOf(name));
    ShellLaunchResult launch;
    {
        // The password serves until the file is out, or encrypted again when
        // nothing could take it; the watch waits without it.
        const PasswordUse use;
        // Recorded before the plain text exists: a run killed at any later
        // moment leaves the record for the next one. Then the file as it was
        // written, so that the next run touches no other file of that name.
        const std::string path = FullPath(plain);
        AddToJournal(DefaultJournalPath(), path, FullPath(fileName));
        if (!DecryptOneFile(host.Commands(), name, fileName)) {
            RemoveFromJournal(DefaultJournalPath(), path);
            return false;
        }
        NoteWrittenFile(DefaultJournalPath(), path);
        launch = ShellLaunch(verb, plain);
        if (!launch.launched) {
            ShowError(ShellErrorText(plain));
            EncryptUnopened(host.Commands(), plain);
            return true;
        }
    }
    WatchOrTell(host, plain, launch.process);
    ShowWatchStatus(host.Commands());
    return true;
}

} // namespace

std::string ShellErrorText(const std::string& plainName) {
    return FormatText(
        Tr("ShellCommands", "Couldn't shell the respective application for the file %1."),
        {plainName});
}

std::string LeftDecryptedText(const std::vector<std::string>& plainNames) {
    if (plainNames.size() == 1)
        return FormatText(Tr("ShellCommands", "The file %1 has been left decrypted. Encrypt it "
                                              "again to protect it."),
                          {plainNames.front()});
    std::string list;
    for (const std::string& name : plainNames)
        list += (list.empty() ? "" : ", ") + name;
    return FormatText(Tr("ShellCommands", "These files have been left decrypted: %1. Encrypt them "
                                          "again to protect them."),
                      {list});
}

std::string GoneFromItsPlaceText(const std::string& plainName) {
    return FormatText(Tr("ShellCommands", "The file %1 is gone from its place, so it could not be "
                                          "encrypted again. If its application saved or moved it "
                                          "under another name, its plain text may remain there."),
                      {plainName});
}

std::string PrintFailedText(const std::string& plainName, const std::string& said, int exitCode) {
    //: %2 is what the printing program said, or the next text.
    const std::string reason =
        said.empty()
            ? FormatText(Tr("ShellCommands", "lp ended with code %1"), {std::to_string(exitCode)})
            : said;
    return FormatText(Tr("ShellCommands", "The file %1 could not be printed: %2"),
                      {plainName, reason});
}

std::string OpenFilesStatusText(int count) {
    return count == 1 ? Tr("ShellCommands", "1 file is open in its application.")
                      : FormatText(Tr("ShellCommands", "%1 files are open in their applications."),
                                   {std::to_string(count)});
}

std::string NotLeftByUsText(const std::vector<std::string>& paths) {
    // A journal that was written by someone else may name thousands.
    constexpr std::size_t kNamed = 10;
    std::string list;
    for (std::size_t i = 0; i < paths.size() && i < kNamed; ++i)
        list += (list.empty() ? "" : ", ") + paths[i];
    if (paths.size() > kNamed) {
        //: %1 is a list of file names, %2 how many more there are.
        list = FormatText(Tr("ShellCommands", "%1 and %2 more"),
                          {list, std::to_string(paths.size() - kNamed)});
    }
    if (paths.size() == 1)
        return FormatText(
            Tr("ShellCommands",
               "The file %1 is named in the record of files decrypted for an application, but it "
               "can't be shown to be the file this program decrypted there: it has been changed "
               "or replaced since, its path leads through a symbolic link, or an earlier version "
               "recorded it. It is not encrypted again; if it is yours and should be protected, "
               "encrypt it yourself."),
            {list});
    return FormatText(
        Tr("ShellCommands",
           "These files are named in the record of files decrypted for an application, but can't "
           "be shown to be the files this program decrypted there (changed or replaced since, "
           "reached through a symbolic link, or recorded by an earlier version): %1. They are not "
           "encrypted again; if they are yours and should be protected, encrypt them yourself."),
        {list});
}

std::string JournalNotOursText(const std::string& journal) {
    return FormatText(
        Tr("ShellCommands",
           "The record of files decrypted for an application, %1, is not a file this program "
           "keeps (a regular file of yours), so it was not read. Files an earlier run left "
           "decrypted can't be offered for encryption."),
        {journal});
}

std::string LeftFromLastRunText(const std::vector<std::string>& paths) {
    std::string list;
    for (const std::string& path : paths)
        list += (list.empty() ? "" : ", ") + path;
    if (paths.size() == 1)
        return FormatText(Tr("ShellCommands", "The file %1 was decrypted for an application when "
                                              "the program last ended, and is still readable. "
                                              "Encrypt it again now?"),
                          {list});
    return FormatText(Tr("ShellCommands", "These files were: %1; decrypted for an application "
                                          "when the program last ended, and are still readable. "
                                          "Encrypt them again now?"),
                      {list});
}

void OfferToEncryptLeftFiles(CommandHost& commands) {
    const std::string journal = DefaultJournalPath();
    const JournalContents contents = ReadJournalContents(journal);
    if (contents.state == JournalState::NotOurs) {
        ShowInformation(JournalNotOursText(journal));
        return;
    }
    // Read once and written once, however many entries go: a journal of
    // thousands of dead entries must not hold the start.
    std::vector<JournalEntry> done;
    std::vector<JournalEntry> left;
    std::vector<std::string> notOurs;
    for (const JournalEntry& entry : contents.entries) {
        if (RunStillGoing(entry))
            continue; // another window still watches it
        switch (CheckJournalEntry(entry)) {
        case EntryCheck::Ours:
            left.push_back(entry);
            break;
        case EntryCheck::NotOurs:
            // Never encrypted, and so never deleted, on the journal's word
            // alone: the user hears of it and decides.
            notOurs.push_back(entry.path);
            done.push_back(entry);
            break;
        case EntryCheck::Gone:
            done.push_back(entry);
            break;
        }
    }
    if (!notOurs.empty())
        ShowInformation(NotLeftByUsText(notOurs));
    if (!left.empty()) {
        std::vector<std::string> paths;
        paths.reserve(left.size());
        for (const JournalEntry& entry : left)
            paths.push_back(entry.path);
        const bool encrypt = ShowConfirmation(LeftFromLastRunText(paths), mbYes | mbNo) == mrYes;
        std::vector<std::string> changed;
        for (const JournalEntry& entry : left) {
            // Declined, the files are the user's to keep; the message was said.
            // Not encrypted after a Yes (cancelled, failed), a file is named
            // again at the next start.
            bool stays = encrypt && PlainFileExists(entry.path);
            if (encrypt && !CancelRequested) {
                // The question gave time to replace the file: it is looked
                // at again.
                if (CheckJournalEntry(entry) == EntryCheck::NotOurs) {
                    changed.push_back(entry.path);
                    stays = false;
                } else {
                    EncryptOneFile(commands, entry.path);
                    stays = PlainFileExists(entry.path);
                }
            }
            if (!stays)
                done.push_back(entry);
        }
        if (!changed.empty())
            ShowInformation(NotLeftByUsText(changed));
        CancelRequested = false;
        commands.RefreshLists();
    }
    if (!done.empty())
        RemoveFromJournal(journal, done);
}

void WatchOpenFiles(ShellHost& host) {
    TheSharedState.WatchRunning = true;
    while (OpenCount > 0) {
        WatchPass(host);
        if (OpenCount > 0) {
            ShowWatchStatus(host.Commands());
            if (DefaultShellHooks().waitBetweenPasses)
                DefaultShellHooks().waitBetweenPasses();
            else
                host.WaitBetweenPasses();
        }
    }
    TheSharedState.WatchRunning = false;
}

void ShellPlainSelection(ShellHost& host, const std::string& verb) {
    const bool ownsCancel = !Busy();
    const RowSpan first = host.SelectedRows(FileGrid::Plain);
    // A grid left with no row selected after a run opens nothing.
    for (int row = first.Top; first.Bottom >= first.Top; ++row) {
        const std::string name = host.RowName(FileGrid::Plain, row);
        if (name.empty())
            break;
        // "[no files]" and a file gone meanwhile are no document to hand on.
        if (!PlainFileExists(name) || !ShellLaunchDetached(verb, name))
            ShowError(ShellErrorText(name));
        if (row >= host.SelectedRows(FileGrid::Plain).Bottom || CancelRequested)
            break;
    }
    if (ownsCancel)
        CancelRequested = false;
    host.Commands().RefreshLists();
}

void ShellCryptedSelection(ShellHost& host, const std::string& verb) {
    CommandHost& commands = host.Commands();
    if (Busy()) {
        commands.SetStatus(Tr("Status", kWaitTillFinished));
        return;
    }
    const RowSpan range = host.SelectedRows(FileGrid::Crypted);
    int row = range.Top;
    for (int count = range.Bottom - range.Top + 1; count > 0 && !CancelRequested; --count) {
        const std::string name = host.RowName(FileGrid::Crypted, row);
        if (name.empty())
            break;
        // A file that stays listed keeps its row; a handled one makes room
        // for the next, which moves up into it.
        if (!OpenCryptedFile(host, name, commands.CryptedFileName(name), verb) ||
            commands.InCryptedList(name))
            ++row;
    }
    CancelRequested = false;
}

void ShellCryptedFile(ShellHost& host, const std::string& name, const std::string& fileName,
                      const std::string& verb) {
    OpenCryptedFile(host, name, fileName, verb);
}

} // namespace kelvane
