// SPDX-License-Identifier: GPL-3.0-or-later
// Opening and printing files with the desktop's applications. A crypted file
// is decrypted for the time its application uses it, watched, and encrypted
// again once the application has let go of it.
#pragma once

#include "commands/FileCommands.h"
#include "commands/State.h"

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace kelvane {

// What the shell commands need of the main window besides the file commands.
class ShellHost {
public:
    virtual ~ShellHost() = default;
    virtual CommandHost& Commands() = 0;
    // The selected rows of a grid, and the name in column 0 of a row
    // ("[no files]" for the row of an empty list); empty for a row past the
    // end.
    virtual RowSpan SelectedRows(FileGrid grid) = 0;
    virtual std::string RowName(FileGrid grid, int row) = 0;
    // Lets window events run for one pace of the watch, sleeping meanwhile.
    virtual void WaitBetweenPasses() = 0;
    virtual void CloseMainWindow() = 0;
    // Makes `directory` the working directory and the one the window shows.
    virtual bool ChangeDirectory(const std::string& directory) = 0;
};

// How often the watch looks at the files it waits for: often enough that a
// file is protected again soon after its application lets go, rarely enough
// that watching costs next to no processor time.
inline constexpr std::chrono::milliseconds kWatchPace{250};
// Passes a file must stay released before it is encrypted again: a launcher
// that exits at once may not have handed the file on yet.
inline constexpr int kQuietPasses = 2;

std::string ShellErrorText(const std::string& plainName);
// What the user is told when files are left decrypted on disk.
std::string LeftDecryptedText(const std::vector<std::string>& plainNames);
// A watched file that vanished from its place before it was encrypted again.
std::string GoneFromItsPlaceText(const std::string& plainName);
// `lp` ended with an error; `said` is what it wrote on its standard error.
std::string PrintFailedText(const std::string& plainName, const std::string& said, int exitCode);
// The status line while files are open in their applications.
std::string OpenFilesStatusText(int count);
// The question at start for files an earlier run left decrypted.
std::string LeftFromLastRunText(const std::vector<std::string>& paths);
// Told at start of files the journal names that are not, or can't be shown
// to be, the ones this program wrote there.
std::string NotLeftByUsText(const std::vector<std::string>& paths);
// Told at start when the journal is no file this program keeps.
std::string JournalNotOursText(const std::string& journal);

// At start: names the files an earlier run decrypted for an application and
// never encrypted again (killed, the machine stopped) and offers to encrypt
// them now. Only a file that is still the very one the run wrote is offered;
// any other the journal names is told and left alone.
void OfferToEncryptLeftFiles(CommandHost& commands);

// "Open" and "Print" of the plain-files grid: each selected file goes to its
// application. Not refused while another command runs.
void ShellPlainSelection(ShellHost& host, const std::string& verb);

// "Open" and "Print" of the crypted-files grid: each selected file is
// decrypted, handed on and watched, one after another.
void ShellCryptedSelection(ShellHost& host, const std::string& verb);

// The single-file form for the command line: `name` as the crypted list
// shows it, `fileName` the file on disk. Returns once the file is encrypted
// again or left decrypted.
void ShellCryptedFile(ShellHost& host, const std::string& name, const std::string& fileName,
                      const std::string& verb);

// Waits until every watched file has been encrypted again, or the user has
// confirmed the close warning.
void WatchOpenFiles(ShellHost& host);

} // namespace kelvane
