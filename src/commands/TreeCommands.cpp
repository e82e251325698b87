// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/TreeCommands.h"

#include "commands/FileCommands.h"
#include "commands/RunAhead.h"
#include "commands/Settings.h"
#include "commands/State.h"
#include "crypto/CryptNames.h"
#include "crypto/Translate.h"
#include "engine/CommitBatch.h"
#include "platform/ErrorText.h"
#include "platform/MessageSeam.h"
#include "platform/Paths.h"
#include "platform/ProcessLimits.h"
#include "platform/TreeWalk.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <unordered_set>
#include <vector>

namespace kelvane {

namespace {

// The text FileListBox3 shows for an entry: a subfolder in square brackets.
std::string ShownText(const FolderEntry& entry) {
    return entry.kind == EntryKind::Folder ? "[" + entry.name + "]" : entry.name;
}

// The window's side of the one tree walk: it shows each folder it enters in
// the folder list and its own hidden list, lets window events run between
// entries, and hands each file to the single-file commands. Those name files
// relative to the working directory, which the walk sets to the very folder
// it opened (by descriptor), never by resolving the folder's path again.
class TreeWalker : public WalkVisitor {
public:
    TreeWalker(TreeHost& host, Direction direction, bool recurse)
        : host_(host), direction_(direction), recurse_(recurse) {
        ahead_.onTold = [this](uint64_t number, RunAhead::Ending ending) { Told(number, ending); };
    }

    bool Start(const std::string& directory) {
        if (CancelRequested)
            return true;
        bool read = false;
        {
            const CommitInBatches batched(batch_);
            read = WalkTree(directory, *this);
            const int error = errno;
            ahead_.Settle();
            errno = error;
        }
        // Cancelled or not, the files written so far are complete.
        const int error = errno;
        batch_.Commit();
        NoteCommitted();
        errno = error;
        return read;
    }

    // Mount points passed over, for one message at the end.
    std::vector<std::string> notEntered;

private:
    // Reads the folder once, on entering it, and makes it the working
    // directory. Links and special files are not listed: the walk never
    // follows the one nor opens the other.
    bool Listed(const WalkFolder& folder, std::vector<FolderEntry>& entries) override {
        if (CancelRequested || ::fchdir(folder.Descriptor()) != 0)
            return false;
        std::erase_if(entries, [](const FolderEntry& entry) {
            return entry.kind != EntryKind::Folder && entry.kind != EntryKind::RegularFile;
        });
        std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
            return NameLess(ShownText(a), ShownText(b));
        });
        TFileListBox& list = host_.FileListBox3();
        list.Items = {"[.]", "[..]"};
        for (const FolderEntry& entry : entries) {
            if (!IsTemporaryName(entry.name))
                list.Items.push_back(ShownText(entry));
        }
        std::sort(list.Items.begin(), list.Items.end(), NameLess);
        return true;
    }

    bool Continue() override {
        if (CancelRequested)
            return false;
        // The user sees the walk between two files, as if each ran here:
        // the runs made elsewhere are all told before the window's events
        // run, and they run only every few frames.
        const bool eventsDue = host_.EventsDue();
        if (eventsDue)
            ahead_.Settle();
        else
            ahead_.Tell();
        // A batch waits no longer than its limit, however slowly the walk
        // goes on.
        batch_.CommitIfDue();
        NoteCommitted();
        host_.LetEventsRun();
        // The lists are painted only now; a message or a dialog since the
        // last turn took at least as long, so its events are due too.
        if (eventsDue)
            pathLookDue_ = true;
        // A click on "Cancel process" just now stops before this entry.
        return !CancelRequested;
    }

    bool Recurse() const override { return recurse_; }

    void Returned(const WalkFolder& folder) override {
        if (::fchdir(folder.Descriptor()) != 0)
            CancelRequested = true; // nowhere safe to go on from
    }

    void Skipped(const WalkNote& note) override {
        if (note.reason == WalkSkip::MountPoint || note.reason == WalkSkip::OtherFileSystem)
            notEntered.push_back(note.path);
    }

    // False when the folder can no longer be worked in.
    bool File(const std::shared_ptr<WalkFolder>& folder, const FolderEntry& entry,
              const struct stat& looked) override {
        // A file this walk wrote, moved ahead by another program, is not
        // taken again.
        if (created_.count(entry.identity) > 0)
            return true;
        // The walk's look stands for the step's unless something ran in
        // between: a message's answer may have given another program time.
        const uint64_t settlesBefore = settles_;
        if (!ShowWalkedFolder(folder))
            return false;
        const std::string& name = entry.name;
        const bool crypted = HasCryExtension(name);
        if ((direction_ == Direction::Encrypt) == crypted)
            return true;
        const std::string written =
            crypted ? DecryptedNameOf(name).value_or(std::string()) : EncryptedNameOf(name);
        if (crypted && written.empty())
            return true;
        if (MeetsRunAhead(*folder, name, written))
            Settle();
        if (WrittenByThisWalk(*folder, name, written))
            return true;
        // A source the walk is done with counts as handled although its
        // removal waits for its batch: the batch goes first, so the file
        // made now does not meet it as a file to overwrite ("n.cry.cry"
        // becomes the "n.cry" that became "n").
        if (AwaitsRemoval(*folder, written)) {
            Settle();
            batch_.Commit();
            NoteCommitted();
        }
        Hand(folder, crypted ? ListedCryptedName(name, ShowCry > 0) : name, name, written,
             settles_ == settlesBefore ? &looked : nullptr);
        return true;
    }

    // Lets the runs handed over have their say, messages included.
    void Settle() {
        ++settles_;
        ahead_.Settle();
    }

    // The folder list moves to the folder being worked on; the single-file
    // commands name their files relative to the working directory, so it
    // must now be the very folder that was listed.
    // The next file of the folder shown for the last one needs only the
    // test that its path still leads to the folder the walk holds, and the
    // folder's own descriptor to make it the working directory.
    bool ShowWalkedFolder(const std::shared_ptr<WalkFolder>& folder) {
        if (folder == shown_ && host_.StillShows(folder->Path()) && PathStillLeadsTo(*folder))
            return ::fchdir(folder->Descriptor()) == 0;
        shown_ = nullptr;
        // The lists move on only once the files of the folder before are told.
        Settle();
        if (!ShowWalkedFolder(*folder))
            return false;
        shown_ = folder;
        shownNode_ = IdentityOf(folder->Descriptor());
        pathLookDue_ = false;
        return true;
    }

    // Whether the path of the folder shown still leads to it. Another
    // program may move it at any moment, and the files are worked on
    // through the folder the walk holds whatever its path; what a move
    // changes is what the lists show, so the path is looked at again once
    // per turn of the window's events, not for every file.
    bool PathStillLeadsTo(const WalkFolder& folder) {
        if (!pathLookDue_)
            return true;
        struct stat atPath {};
        if (::stat(folder.Path().c_str(), &atPath) != 0 || NodeOf(atPath) != shownNode_)
            return false;
        pathLookDue_ = false;
        return true;
    }

    bool ShowWalkedFolder(const WalkFolder& folder) {
        if (!host_.ShowDirectory(folder.Path()))
            return false;
        struct stat working {};
        if (::stat(".", &working) != 0)
            return false;
        const FileNode listed = IdentityOf(folder.Descriptor());
        if (listed != NodeOf(working))
            return false;
        return ::fchdir(folder.Descriptor()) == 0;
    }

    // Two crypted files whose names differ only in the case of ".cry" become
    // one plain file: the second must not replace what the first became,
    // whatever the answer to the overwrite question. The disk is asked only
    // for a name this walk has written to in the folder: a file of another
    // name is this walk's only if another program renamed it, and then the
    // overwrite question asks before anything is replaced.
    bool WrittenByThisWalk(const WalkFolder& folder, const std::string& source,
                           const std::string& written) {
        FileNode identity;
        const bool waiting =
            std::any_of(waiting_.begin(), waiting_.end(), [&](const Waiting& file) {
                return file.folder.Folder().get() == &folder && file.name == written;
            });
        if (!waiting &&
            (!MayHaveWritten(folder, written) ||
             EntryKindAt(folder.Descriptor(), written, &identity) != EntryKind::RegularFile ||
             created_.count(identity) == 0))
            return false;
        Settle();
        ShowError(FormatText(Tr("TreeCommands", "File \"%1\" has just been made from another "
                                                "file. File \"%2\" is kept."),
                             {written, source}));
        return true;
    }

    // A filter of the names this walk has handed a file to write, by folder:
    // a name it never held was surely never written; two names that share a
    // hash only cost a look at the disk.
    static std::size_t NameInFolder(const WalkFolder& folder, const std::string& name) {
        const FileNode& node = folder.Identity();
        std::size_t hash = std::hash<std::string>{}(name);
        for (const uint64_t part : {node.device, node.inode})
            hash ^= std::hash<uint64_t>{}(part) + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2);
        return hash;
    }
    bool MayHaveWritten(const WalkFolder& folder, const std::string& name) const {
        return writtenNames_.count(NameInFolder(folder, name)) > 0;
    }

    bool AwaitsRemoval(const WalkFolder& folder, const std::string& name) const {
        return std::any_of(waiting_.begin(), waiting_.end(), [&](const Waiting& file) {
            return file.folder.Folder().get() == &folder && file.source == name;
        });
    }

    // A file whose names meet those of a file still running elsewhere waits
    // for it: which of them keeps the name is settled in the walk's order.
    bool MeetsRunAhead(const WalkFolder& folder, const std::string& source,
                       const std::string& written) const {
        return std::any_of(waiting_.begin(), waiting_.end(), [&](const Waiting& file) {
            return file.settledAt == kRunningAhead && file.folder.Folder().get() == &folder &&
                   (file.name == written || file.source == written || file.name == source);
        });
    }

    void Hand(const std::shared_ptr<WalkFolder>& folder, const std::string& name,
              const std::string& source, const std::string& written, const struct stat* looked) {
        writtenNames_.insert(NameInFolder(*folder, written));
        // The single-file commands refuse to run while any command is busy.
        TreeBusy = false;
        const uint64_t addedBefore = batch_.Added();
        const uint64_t handedBefore = ahead_.Handed();
        auto made = std::make_shared<FileNode>();
        TheSharedState.NextWalkFile = {&ahead_, folder->Descriptor(), &source, looked, made};
        const bool done = direction_ == Direction::Encrypt ? host_.EncryptOneFile(name)
                                                           : host_.DecryptOneFile(name);
        TheSharedState.NextWalkFile = {};
        host_.ShowCancelButton(true);
        host_.SetStatus(Tr("Status", kSearchingText));
        TreeBusy = true;
        // A file handed to the batch is settled once the batch has settled
        // as many files as it had taken with it; one that committed on its
        // own is settled already.
        if (ahead_.Handed() > handedBefore) {
            waiting_.push_back({WalkFolder::Hold(folder), written, source, kRunningAhead,
                                handedBefore, std::move(made)});
        } else if (done) {
            const uint64_t added = batch_.Added();
            waiting_.push_back({WalkFolder::Hold(folder), written, source,
                                added > addedBefore ? added : 0, 0, std::move(made)});
        }
        NoteCommitted();
    }

    // A file whose run went on elsewhere, now told: in its batch, or ended.
    void Told(uint64_t number, RunAhead::Ending ending) {
        const auto file = std::find_if(waiting_.begin(), waiting_.end(), [&](const Waiting& w) {
            return w.settledAt == kRunningAhead && w.ahead == number;
        });
        if (file == waiting_.end())
            return;
        switch (ending) {
        case RunAhead::Ending::Deferred:
            file->settledAt = batch_.Added();
            return;
        case RunAhead::Ending::WrittenAlone:
            if (FileNode identity; EntryKindAt(file->folder->Descriptor(), file->name, &identity) ==
                                   EntryKind::RegularFile)
                created_.insert(identity);
            break;
        case RunAhead::Ending::NotWritten:
            break;
        }
        waiting_.erase(file);
    }

    // The files settled since the last look are this walk's from now on.
    // Files wait in the order they were handed over, so with the first and
    // the last still unsettled (one that committed alone is last) none is.
    void NoteCommitted() {
        const uint64_t settled = batch_.Settled();
        if (waiting_.empty() ||
            (waiting_.front().settledAt > settled && waiting_.back().settledAt > settled))
            return;
        std::erase_if(waiting_, [&](const Waiting& file) {
            if (file.settledAt > settled)
                return false;
            // What the step noted of its file in place; a look at the name
            // where it noted nothing.
            FileNode identity;
            if (file.made && file.made->inode != 0)
                created_.insert(*file.made);
            else if (EntryKindAt(file.folder->Descriptor(), file.name, &identity) ==
                     EntryKind::RegularFile)
                created_.insert(identity);
            return true;
        });
    }

    // A file written whose batch is not settled yet; its folder stays open
    // until then.
    struct Waiting {
        WalkFolder::Hold folder;
        std::string name;
        std::string source;             // as the folder spells it
        uint64_t settledAt;             // when the batch has settled this many files
        uint64_t ahead = 0;             // its number in ahead_ while it runs there
        std::shared_ptr<FileNode> made; // the new file, once its step noted it
    };
    // The settledAt of a file still running elsewhere.
    static constexpr uint64_t kRunningAhead = std::numeric_limits<uint64_t>::max();

    // Runs handed over and not yet told. Enough of them let the window's
    // thread go on with the files after them while the workers, which share
    // the processors with it, catch up, instead of waiting for the oldest;
    // each holds up to three descriptors (its source, its new file and the
    // new file's folder), so a low limit on open files keeps them few.
    static std::size_t RunsAhead() {
        return std::clamp<std::size_t>(OpenFilesAllowed() / 128, kFewestRunsAhead, 64);
    }
    static constexpr std::size_t kFewestRunsAhead = 8;
    static constexpr unsigned kDescriptorsPerFile = 3;
    // What the batch may take: the limit less what the runs ahead beyond the
    // fewest hold; the share of descriptors the batch leaves to the rest of
    // the program has room for the fewest.
    static std::size_t OpenFilesForBatch() {
        const std::size_t allowed = OpenFilesAllowed();
        const std::size_t ahead = (RunsAhead() - kFewestRunsAhead) * kDescriptorsPerFile;
        return allowed > ahead ? allowed - ahead : 0;
    }

    TreeHost& host_;
    Direction direction_;
    bool recurse_;               // the user said Yes to the recursion question
    std::set<FileNode> created_; // files this walk wrote
    std::unordered_set<std::size_t> writtenNames_;
    std::vector<Waiting> waiting_;
    // A waiting file holds three descriptors too: its new file, the new
    // file's folder, and the walk's folder it is in, which also holds its
    // source.
    CommitBatch batch_{
        SizedForOpenFiles(WalkBatchLimits, OpenFilesForBatch(), 1, kDescriptorsPerFile),
        WalkCommits};
    std::shared_ptr<WalkFolder> shown_; // the folder the last file was in
    FileNode shownNode_;
    bool pathLookDue_ = true; // the window's events ran since its path was looked at
    uint64_t settles_ = 0;    // how often the runs handed over were settled
    // Declared last, so that the runs still under way end first.
    RunAhead ahead_{std::max(std::thread::hardware_concurrency(), 1u), RunsAhead()};
};

std::string NotEnteredText(const std::vector<std::string>& folders) {
    std::string text =
        folders.size() == 1
            ? Tr("TreeCommands", "This folder is a mount point and was not entered:")
            : Tr("TreeCommands", "These folders are mount points and were not entered:");
    for (const std::string& folder : folders)
        text += "\r" + folder;
    return text;
}

} // namespace

bool WalkDirectory(TreeHost& host, const std::string& directory, Direction direction,
                   bool recurse) {
    TreeWalker walker(host, direction, recurse);
    const bool read = walker.Start(directory);
    const int error = errno;
    if (!walker.notEntered.empty())
        ShowInformation(NotEnteredText(walker.notEntered));
    errno = error;
    return read;
}

std::string UnreadableStartText(const std::string& directory, int error) {
    //: %2 is the system's description of the error.
    return FormatText(Tr("TreeCommands", "Couldn't read the folder \"%1\": %2. No file was "
                                         "encrypted or decrypted."),
                      {directory, ErrorText(error)});
}

void RunTreeCommand(TreeHost& host, Direction direction) {
    if (Busy()) {
        host.SetStatus(Tr("Status", kWaitTillFinished));
        return;
    }
    if (OnePassword <= 0) {
        const int answer = host.ShowPasswordPrompt();
        if (answer == mrYes)
            host.RunPreferences();
        else if (answer != mrOk)
            return;
    }
    // The sources the walk removed are durable before the run is over.
    const DurableRemovals durable;
    TreeBusy = true;
    const int recurseAnswer =
        ShowConfirmation(Tr("TreeCommands", kRecurseQuestion), mbYes | mbNo | mbCancel);
    if (recurseAnswer != mrCancel) {
        host.ShowCancelButton(true);
        host.SetStatus(Tr("Status", kSearchingText));
        const std::string start = host.OpenDirectory();
        host.SetWalking(true);
        RunOfFiles = true;
        const bool read = WalkDirectory(host, start, direction, recurseAnswer == mrYes);
        const int error = errno;
        RunOfFiles = false;
        host.SetWalking(false);
        if (!read)
            ShowError(UnreadableStartText(start, error));
        host.SetStatus(Tr("Status", kIdleText));
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
