// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PlainFileJournal.h"

#include "platform/FileAccess.h"
#include "platform/HomeDirectory.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>

namespace kelvane {
namespace {

// Far beyond the 21 files a window watches at once, even over many killed
// runs; a bigger file was not written by us.
constexpr std::size_t kMaxJournalBytes = std::size_t{16} << 20;

// Fields are separated by spaces: a path must hold none, and no line feed.
std::string Escaped(const std::string& path) {
    std::string field;
    for (char c : path) {
        if (c == '\\')
            field += "\\\\";
        else if (c == '\n')
            field += "\\n";
        else if (c == ' ')
            field += "\\s";
        else
            field += c;
    }
    return field;
}

// Also reads an earlier version's lines, which never held "\s".
std::string Unescaped(std::string_view field) {
    std::string path;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 1 < field.size()) {
            ++i;
            path += field[i] == 'n' ? '\n' : field[i] == 's' ? ' ' : field[i];
        } else {
            path += field[i];
        }
    }
    return path;
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t space = line.find(' ', start);
        fields.push_back(line.substr(start, space - start));
        if (space == std::string_view::npos)
            return fields;
        start = space + 1;
    }
}

bool ParseNumber(std::string_view field, uint64_t& value) {
    if (field.empty() || field.size() > 20)
        return false;
    value = 0;
    for (char c : field) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    return true;
}

// "@ PROCESS DEVICE INODE SIZE CRYPTED PLAIN"; false for a line that is not
// one.
bool ParseLine(std::string_view line, JournalEntry& entry) {
    const std::vector<std::string_view> fields = Fields(line);
    uint64_t process = 0;
    if (fields.size() != 7 || fields[0] != "@" || !ParseNumber(fields[1], process) ||
        fields[6].empty())
        return false;
    entry.process = static_cast<long>(process);
    entry.crypted = fields[5] == "-" ? std::string() : Unescaped(fields[5]);
    entry.path = Unescaped(fields[6]);
    if (fields[2] == "-" && fields[3] == "-" && fields[4] == "-")
        return true;
    uint64_t size = 0;
    if (!ParseNumber(fields[2], entry.node.device) || !ParseNumber(fields[3], entry.node.inode) ||
        !ParseNumber(fields[4], size))
        return false;
    entry.written = true;
    entry.size = static_cast<int64_t>(size);
    return true;
}

// An earlier version's "PROCESS PLAIN".
bool ParseEarlierLine(std::string_view line, JournalEntry& entry) {
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos || space + 1 == line.size())
        return false;
    entry.process = std::strtol(std::string(line.substr(0, space)).c_str(), nullptr, 10);
    entry.path = Unescaped(line.substr(space + 1));
    return true;
}

std::string LineOf(const JournalEntry& entry) {
    std::string line = "@ " + std::to_string(entry.process) + ' ';
    if (entry.written)
        line += std::to_string(entry.node.device) + ' ' + std::to_string(entry.node.inode) + ' ' +
                std::to_string(entry.size);
    else
        line += "- - -";
    return line + ' ' + (entry.crypted.empty() ? "-" : Escaped(entry.crypted)) + ' ' +
           Escaped(entry.path) + '\n';
}

bool WriteJournal(const std::string& journal, const std::vector<JournalEntry>& entries) {
    if (entries.empty()) {
        std::error_code error;
        return std::filesystem::remove(journal, error) || !error;
    }
    std::error_code error;
    std::filesystem::create_directories(DirectoryPart(journal), error);
    if (error)
        return false;
    std::string text;
    for (const JournalEntry& entry : entries)
        text += LineOf(entry);
    // Which files are out is nobody else's business.
    std::unique_ptr<DestinationFile> file = SystemFiles().CreateDestination(journal, 0600);
    return file && file->Write(text.data(), text.size()) && file->Commit();
}

// The whole file behind `fd`, or false when it is larger than any journal.
bool ReadAll(int fd, std::string& text) {
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        text.append(buffer, static_cast<std::size_t>(got));
        if (text.size() > kMaxJournalBytes)
            return false;
    }
}

enum class PathLook { File, Gone, ThroughLink, Other };

// Goes down an absolute path one folder at a time, never following a link,
// and fills `st` with what its last component is.
PathLook LookWithoutLinks(const std::string& path, struct stat& st) {
    if (path.empty() || path.front() != '/')
        return PathLook::Other;
    int folder = ::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return PathLook::Other;
    PathLook look = PathLook::Other;
    std::size_t start = 1;
    for (;;) {
        const std::size_t slash = path.find('/', start);
        const std::string name = path.substr(start, slash - start);
        if (name.empty() || name == "." || name == "..")
            break; // never a path this program records
        if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            look = errno == ENOENT ? PathLook::Gone : PathLook::Other;
            break;
        }
        if (S_ISLNK(st.st_mode)) {
            look = PathLook::ThroughLink;
            break;
        }
        if (slash == std::string::npos) {
            look = S_ISREG(st.st_mode) ? PathLook::File : PathLook::Other;
            break;
        }
        // O_NOFOLLOW: a folder swapped for a link since the look is not entered.
        const int next =
            ::openat(folder, name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0) {
            look = errno == ENOENT ? PathLook::Gone : PathLook::Other;
            break;
        }
        ::close(folder);
        folder = next;
        start = slash + 1;
    }
    ::close(folder);
    return look;
}

bool RegularFileAt(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

std::string DefaultJournalPath() {
    // A relative XDG_STATE_HOME is invalid and ignored, as the XDG rules say.
    const char* state = std::getenv("XDG_STATE_HOME");
    std::string directory;
    if (state != nullptr && state[0] == '/')
        directory = state;
    else if (const std::string home = HomeDirectory(); !home.empty())
        directory = JoinPath(home, ".local/state");
    return directory.empty() ? std::string() : JoinPath(directory, "kelvane/decrypted-files");
}

JournalContents ReadJournalContents(const std::string& journal) {
    JournalContents contents;
    if (journal.empty())
        return contents;
    // Neither a link nor a named pipe is followed or waited on: a pipe put in
    // the journal's place would hold the window at its start for good.
    const int fd = ::open(journal.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        contents.state = errno == ENOENT ? JournalState::Missing : JournalState::NotOurs;
        return contents;
    }
    struct stat st {};
    std::string text;
    const bool ours = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
                      ReadAll(fd, text);
    ::close(fd);
    contents.state = ours ? JournalState::Read : JournalState::NotOurs;
    if (!ours)
        return contents;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string_view line(text.data() + start, end - start);
        start = end + 1;
        JournalEntry entry;
        if (line.starts_with("@ ") ? ParseLine(line, entry) : ParseEarlierLine(line, entry))
            contents.entries.push_back(std::move(entry));
    }
    return contents;
}

std::vector<JournalEntry> ReadJournal(const std::string& journal) {
    return ReadJournalContents(journal).entries;
}

bool RunStillGoing(const JournalEntry& entry) {
    return entry.process > 0 &&
           (::kill(static_cast<pid_t>(entry.process), 0) == 0 || errno == EPERM);
}

EntryCheck CheckJournalEntry(const JournalEntry& entry) {
    // The name as any program would open it: gone unless a file is there.
    if (!RegularFileAt(entry.path))
        return EntryCheck::Gone;
    struct stat st {};
    if (!entry.written || LookWithoutLinks(entry.path, st) != PathLook::File)
        return EntryCheck::NotOurs;
    const bool same = NodeOf(st) == entry.node && static_cast<int64_t>(st.st_size) == entry.size;
    return same ? EntryCheck::Ours : EntryCheck::NotOurs;
}

bool AddToJournal(const std::string& journal, const std::string& plainPath,
                  const std::string& cryptedPath) {
    if (journal.empty())
        return false;
    JournalEntry entry;
    entry.process = static_cast<long>(::getpid());
    entry.path = plainPath;
    entry.crypted = cryptedPath;
    // A file of the same name this run decrypted before and could not
    // encrypt again is about to be written anew: its old record would not
    // match it any more.
    std::vector<JournalEntry> entries = ReadJournal(journal);
    std::erase_if(entries, [&](const JournalEntry& old) {
        return old.process == entry.process && old.path == plainPath;
    });
    entries.push_back(entry);
    return WriteJournal(journal, entries);
}

bool NoteWrittenFile(const std::string& journal, const std::string& plainPath) {
    if (journal.empty())
        return false;
    struct stat st {};
    if (::lstat(plainPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    std::vector<JournalEntry> entries = ReadJournal(journal);
    const long self = static_cast<long>(::getpid());
    const auto mine = std::find_if(entries.begin(), entries.end(), [&](const JournalEntry& entry) {
        return entry.process == self && entry.path == plainPath;
    });
    if (mine == entries.end())
        return false;
    mine->written = true;
    mine->node = NodeOf(st);
    mine->size = static_cast<int64_t>(st.st_size);
    return WriteJournal(journal, entries);
}

bool RemoveFromJournal(const std::string& journal, const std::string& plainPath) {
    if (journal.empty())
        return false;
    std::vector<JournalEntry> entries = ReadJournal(journal);
    const std::size_t gone =
        std::erase_if(entries, [&](const JournalEntry& entry) { return entry.path == plainPath; });
    return gone == 0 || WriteJournal(journal, entries);
}

bool RemoveFromJournal(const std::string& journal, const std::vector<JournalEntry>& entries) {
    if (journal.empty())
        return false;
    // An entry's line tells it from every other entry: one look each, however
    // many thousands of dead entries a start takes out.
    std::unordered_set<std::string> lines;
    for (const JournalEntry& entry : entries)
        lines.insert(LineOf(entry));
    std::vector<JournalEntry> kept = ReadJournal(journal);
    const std::size_t gone = std::erase_if(
        kept, [&](const JournalEntry& entry) { return lines.count(LineOf(entry)) != 0; });
    return gone == 0 || WriteJournal(journal, kept);
}

} // namespace kelvane
