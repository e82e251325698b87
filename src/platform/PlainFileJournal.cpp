// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PlainFileJournal.h"

#include "platform/FileAccess.h"
#include "platform/HomeDirectory.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <unistd.h>

namespace kelvane {
namespace {

// A file name may hold a line feed; the journal's lines must not.
std::string Escaped(const std::string& path) {
    std::string line;
    for (char c : path) {
        if (c == '\\')
            line += "\\\\";
        else if (c == '\n')
            line += "\\n";
        else
            line += c;
    }
    return line;
}

std::string Unescaped(const std::string& line) {
    std::string path;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            ++i;
            path += line[i] == 'n' ? '\n' : line[i];
        } else {
            path += line[i];
        }
    }
    return path;
}

bool WriteJournal(const std::string& journal, const std::vector<JournalEntry>& entries) {
    std::error_code error;
    std::filesystem::create_directories(DirectoryPart(journal), error);
    if (error)
        return false;
    std::string text;
    for (const JournalEntry& entry : entries)
        text += std::to_string(entry.process) + ' ' + Escaped(entry.path) + '\n';
    // Which files are out is nobody else's business.
    std::unique_ptr<DestinationFile> file = SystemFiles().CreateDestination(journal, 0600);
    return file && file->Write(text.data(), text.size()) && file->Commit();
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

std::vector<JournalEntry> ReadJournal(const std::string& journal) {
    std::vector<JournalEntry> entries;
    std::ifstream in(journal, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t space = line.find(' ');
        if (space == std::string::npos || space + 1 == line.size())
            continue;
        entries.push_back(
            {std::strtol(line.c_str(), nullptr, 10), Unescaped(line.substr(space + 1))});
    }
    return entries;
}

bool RunStillGoing(const JournalEntry& entry) {
    return entry.process > 0 &&
           (::kill(static_cast<pid_t>(entry.process), 0) == 0 || errno == EPERM);
}

bool AddToJournal(const std::string& journal, const std::string& plainPath) {
    if (journal.empty())
        return false;
    const JournalEntry entry{static_cast<long>(::getpid()), plainPath};
    std::vector<JournalEntry> entries = ReadJournal(journal);
    if (std::find(entries.begin(), entries.end(), entry) != entries.end())
        return true;
    entries.push_back(entry);
    return WriteJournal(journal, entries);
}

bool RemoveFromJournal(const std::string& journal, const std::string& plainPath) {
    if (journal.empty())
        return false;
    std::vector<JournalEntry> entries = ReadJournal(journal);
    const auto gone =
        std::remove_if(entries.begin(), entries.end(),
                       [&](const JournalEntry& entry) { return entry.path == plainPath; });
    if (gone == entries.end())
        return true;
    entries.erase(gone, entries.end());
    if (entries.empty()) {
        std::error_code error;
        return std::filesystem::remove(journal, error) || !error;
    }
    return WriteJournal(journal, entries);
}

} // namespace kelvane
