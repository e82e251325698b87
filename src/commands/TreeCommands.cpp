#include "commands/TreeCommands.h"

#include "commands/FileCommands.h"
#include "commands/Settings.h"
#include "commands/State.h"
#include "crypto/CryptNames.h"
#include "platform/FolderEntries.h"
#include "platform/MessageSeam.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kelvane {

int32_t RecurseAnswer = 0;

namespace {

// One line of a folder's listing: the text FileListBox3 shows (a subfolder
// in square brackets) and the name on disk.
struct ListedEntry {
    std::string shown;
    std::string name;
    bool folder = false;
};

// The extension from the last "." on, in lower case; empty without a dot.
std::string LowerExtension(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return {};
    std::string extension = name.substr(dot);
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return extension;
}

class TreeWalker {
public:
    TreeWalker(TreeHost& host, TreeDirection direction) : host_(host), direction_(direction) {}

    bool Start(const std::string& directory) {
        const int fd = OpenWalkRoot(directory);
        if (fd < 0)
            return false;
        const FileNode root = IdentityOf(fd);
        device_ = root.device;
        visited_.insert(root);
        const bool read = Walk(fd, directory);
        const int error = errno;
        ::close(fd);
        errno = error;
        return read;
    }

private:
    // False when the folder's listing could not be read.
    bool Walk(int folder, const std::string& directory) {
        if (CancelRequested)
            return true;
        std::vector<ListedEntry> listing;
        if (!ReadListing(folder, listing))
            return false;
        for (const ListedEntry& entry : listing) {
            if (CancelRequested)
                break;
            host_.LetEventsRun();
            // A click on "Cancel process" just now stops before this entry.
            if (CancelRequested)
                break;
            if (entry.shown == "[.]" || entry.shown == "[..]")
                continue;
            if (entry.folder)
                Subfolder(folder, directory, entry.name);
            else if (!File(folder, directory, entry.name))
                break;
        }
        return true;
    }

    // Reads the folder once, on entering it, and makes it the working
    // directory. Links and special files are not listed: the walk never
    // follows the one nor opens the other.
    bool ReadListing(int folder, std::vector<ListedEntry>& listing) {
        std::vector<FolderEntry> entries;
        if (!ReadFolderEntries(folder, entries) || ::fchdir(folder) != 0)
            return false;
        listing = {{"[.]", ".", true}, {"[..]", "..", true}};
        for (FolderEntry& entry : entries) {
            if (entry.kind == EntryKind::Folder)
                listing.push_back({"[" + entry.name + "]", std::move(entry.name), true});
            else if (entry.kind == EntryKind::RegularFile)
                listing.push_back({entry.name, std::move(entry.name), false});
        }
        std::sort(listing.begin(), listing.end(), [](const ListedEntry& a, const ListedEntry& b) {
            return NameLess(a.shown, b.shown);
        });
        TFileListBox& list = host_.FileListBox3();
        list.Items.clear();
        for (const ListedEntry& entry : listing)
            list.Items.push_back(entry.shown);
        return true;
    }

    void Subfolder(int parent, const std::string& directory, const std::string& name) {
        if (RecurseAnswer != mrYes)
            return;
        // Opened by descriptor without following a link, and only on the
        // starting folder's file system: a link loop or a link out of the
        // tree is never entered, nor is a mounted volume below it.
        const int fd = OpenSubfolder(parent, name, device_);
        if (fd < 0)
            return;
        // A folder moved by another program into a part still to come is
        // not walked twice.
        if (visited_.insert(IdentityOf(fd)).second)
            Walk(fd, JoinPath(directory, name));
        ::close(fd);
        if (::fchdir(parent) != 0)
            CancelRequested = true; // nowhere safe to go on from
    }

    // False when the folder can no longer be worked in.
    bool File(int folder, const std::string& directory, const std::string& name) {
        FileNode identity;
        // Looked at again now: the name may have become a link or a FIFO
        // since the listing was read, or be a file this walk wrote.
        if (EntryKindAt(folder, name, &identity) != EntryKind::RegularFile ||
            created_.count(identity) > 0)
            return true;
        if (!ShowWalkedFolder(folder, directory))
            return false;
        const bool crypted = LowerExtension(name) == ".cry";
        if (direction_ == TreeDirection::EncryptAll && !crypted)
            Hand(folder, name, EncryptedNameOf(name));
        else if (direction_ == TreeDirection::DecryptAll && crypted)
            Hand(folder, ShowCry > 0 ? name : name.substr(0, name.size() - 4),
                 name.substr(0, name.size() - 4));
        return true;
    }

    // The folder list moves to the folder being worked on; the single-file
    // commands name their files relative to the working directory, so it
    // must now be the very folder that was listed.
    bool ShowWalkedFolder(int folder, const std::string& directory) {
        if (!host_.ShowDirectory(directory))
            return false;
        struct stat working {};
        if (::stat(".", &working) != 0)
            return false;
        const FileNode listed = IdentityOf(folder);
        return listed.device == static_cast<uint64_t>(working.st_dev) &&
               listed.inode == static_cast<uint64_t>(working.st_ino);
    }

    void Hand(int folder, const std::string& name, const std::string& written) {
        // The single-file commands refuse to run while any command is busy.
        TreeBusy = false;
        const bool done = direction_ == TreeDirection::EncryptAll ? host_.EncryptOneFile(name)
                                                                  : host_.DecryptOneFile(name);
        host_.ShowCancelButton(true);
        host_.SetStatus(kSearchingText);
        TreeBusy = true;
        FileNode identity;
        if (done && EntryKindAt(folder, written, &identity) == EntryKind::RegularFile)
            created_.insert(identity);
    }

    TreeHost& host_;
    TreeDirection direction_;
    uint64_t device_ = 0;
    std::set<FileNode> visited_; // folders
    std::set<FileNode> created_; // files this walk wrote
};

} // namespace

bool WalkDirectory(TreeHost& host, const std::string& directory, TreeDirection direction) {
    return TreeWalker(host, direction).Start(directory);
}

std::string UnreadableStartText(const std::string& directory, int error) {
    return "Couldn't read the folder \"" + directory + "\": " + std::strerror(error) +
           ". No file was encrypted or decrypted.";
}

void RunTreeCommand(TreeHost& host, TreeDirection direction) {
    if (Busy()) {
        host.SetStatus(kWaitTillFinished);
        return;
    }
    if (OnePassword <= 0) {
        const int answer = host.ShowPasswordPrompt();
        if (answer == mrYes)
            host.RunPreferences();
        else if (answer != mrOk)
            return;
    }
    TreeBusy = true;
    RecurseAnswer = ShowConfirmation(kRecurseQuestion, mbYes | mbNo | mbCancel);
    if (RecurseAnswer != mrCancel) {
        host.ShowCancelButton(true);
        host.SetStatus(kSearchingText);
        const std::string start = host.OpenDirectory();
        host.SetWalking(true);
        RunOfFiles = true;
        const bool read = WalkDirectory(host, start, direction);
        const int error = errno;
        RunOfFiles = false;
        host.SetWalking(false);
        if (!read)
            ShowError(UnreadableStartText(start, error));
        host.SetStatus(kTreeIdleText);
        host.ShowCancelButton(false);
    }
    CancelRequested = false;
    TreeBusy = false;
    // The walk leaves the working directory in the folder it finished last;
    // the window's commands must name files in the folder the list shows.
    host.ShowDirectory(host.OpenDirectory());
    host.RefreshLists();
}

} // namespace kelvane
