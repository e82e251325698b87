// SPDX-License-Identifier: GPL-3.0-or-later
// The rules that keep a run from losing or exposing a file, shared by the
// window's commands and kelvane-cli: what may be a source, what permissions a
// new file gets, when two names are one file, and when a source may go.
#pragma once

#include "platform/FileAccess.h"

#include <memory>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace kelvane {

enum class SourceKind { RegularFile, Missing, SymbolicLink, NotAFile };

// What the name itself is, not what a link would lead to. A symbolic link is
// never a source: deleting it after the run would leave the file it points to
// in plain text.
SourceKind KindOfSource(const std::string& path);
// The same for `name` in the open folder `folder`.
SourceKind KindOfSourceAt(int folder, const std::string& name);

// The bits a new file made from a file of `mode` gets: the permission bits,
// never the set-id or sticky bits, which would hand a decrypted program the
// rights of whoever ran us.
unsigned NewFilePermissions(unsigned mode);

// True when both names lead to the same existing file, or are the same text.
bool IsSameFile(const std::string& a, const std::string& b);
bool IsSameFileAt(int folder, const std::string& a, const std::string& b);
// The same test for a caller that has looked already: `followedA` and
// `followedB` are what each name leads to, links followed, or null when it
// leads nowhere.
bool IsSameFileFrom(std::string_view a, const struct stat* followedA, std::string_view b,
                    const struct stat* followedB);

// A name as it is now, links not followed, and what a link leads to. One
// look serves every test a command makes of a source before its run: over
// many small files each further look is a sizeable share of a file's cost.
struct NameLook {
    bool found = false; // the name itself
    struct stat own {};
    bool leads = false;      // something is there, links followed
    struct stat followed {}; // the name's own look when it is no link

    bool IsLink() const { return found && S_ISLNK(own.st_mode); }
    // How many names the file has besides this one; 0 when none or
    // unknown. Encrypting one name of a file with others would leave its
    // content readable through them.
    unsigned OtherNames() const;
};
NameLook LookAtName(int folder, const std::string& name);
// The look of a name that was no link, taken by someone else just now.
NameLook LookTaken(const struct stat& own);

// True for a temporary of this program (CryptNames.h) whose run is over.
bool IsDeadRunsTemporary(const std::string& name);
// Removes `name` from the open folder `folder` when it is a temporary of
// this program (CryptNames.h) whose run no longer runs. True when removed.
bool RemoveDeadRunsTemporary(int folder, const std::string& name);

enum class SourceRemoval { Removed, Changed, Failed };

// The source of one run, held from before the run until it is deleted: its
// directory stays open, so the deletion finds the directory the run read
// from, whatever happens to its path meanwhile.
class HeldSource {
public:
    explicit HeldSource(const std::string& path);
    // The file `name` in the open folder `folder`, which is held anew.
    HeldSource(int folder, const std::string& name);
    // The same in a folder the caller keeps open until this is gone, as a
    // run over a walk keeps the walk's folders: a descriptor of its own for
    // each of ten thousand files would cost two system calls apiece.
    static std::shared_ptr<HeldSource> InKeptFolder(int folder, const std::string& name);
    ~HeldSource();
    HeldSource(const HeldSource&) = delete;
    HeldSource& operator=(const HeldSource&) = delete;

    // Where the engine records the file as it opened it.
    FileIdentity* Opened() { return &opened_; }

    // Deletes the source only if its name still leads to the very file the
    // run opened, unchanged: same device and inode, same size, same
    // modification and change times. Changed: both are to be kept.
    SourceRemoval RemoveIfUnchanged();
    // The test alone.
    bool Unchanged() const;
    // Whether anything of the source's name is there now.
    bool Present() const;

private:
    HeldSource() = default;

    int directory_ = -1;
    bool ownsDirectory_ = true;
    std::string name_;
    FileIdentity opened_;
};

// A removed source is gone from its folder at once, but only from the disk
// once the folder is flushed: after a power cut before that, the plain file
// is back beside its crypted one although the run said it was gone. The
// removals are flushed once at the end of a run, not one by one: each file
// system a source was removed on since the last call is flushed. False,
// errno set, when a disk did not confirm it.
bool MakeRemovalsDurable();

} // namespace kelvane
