// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/FileCommands.h"

#include "commands/Settings.h"
#include "commands/State.h"
#include "crypto/CryptHeader.h"
#include "crypto/CryptNames.h"
#include "crypto/ResultMessages.h"
#include "crypto/Translate.h"
#include "engine/CommitBatch.h"
#include "engine/CryptFile.h"
#include "platform/ErrorText.h"
#include "platform/FileAttributes.h"
#include "platform/FileSafety.h"
#include "platform/MessageSeam.h"
#include "platform/Paths.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>

namespace kelvane {

namespace {

bool FileExists(const std::string& name) {
    const HeldAttributes attributes = ReadFileAttributes(name);
    return attributes.Valid() && !attributes.Has(faDirectory);
}

// A source as the command looked at it once, with its attributes (links
// followed) from that look.
struct SourceLook {
    NameLook name;
    HeldAttributes attributes;

    explicit SourceLook(const std::string& path) : name(LookAtName(AT_FDCWD, path)) {
        if (name.leads)
            attributes = AttributesFrom(path, name.followed);
    }
    // As FileExists: there, links followed, and no folder.
    bool IsFile() const { return attributes.Valid() && !attributes.Has(faDirectory); }
};

// The look's attributes stand for the run's, unless a question came in
// between and gave the user time to change the file.
HeldAttributes KeptAttributes(const SourceLook& look, bool asked) {
    return asked ? HeldAttributes{} : look.attributes;
}

// "fisically" keeps its spelling: users and scripts match the message as the
// program has always written it.
std::string NotFoundText(const std::string& name) {
    //: "fisically" stays misspelled in English only; write "physically" correctly.
    return FormatText(
        Tr("FileCommands", "File \"%1\" is fisically not found in the current directory"), {name});
}

std::string WithoutLastFour(const std::string& path) {
    return NamePart(path).size() > 4 ? path.substr(0, path.size() - 4) : std::string();
}

std::string ReadOnlyText(const std::string& name) {
    return FormatText(Tr("FileCommands", "File \"%1\" is set as read only.Proceed?"), {name});
}

// The progress panel for one engine run; taken down again however the run
// ends.
class ProgressPanel {
public:
    ProgressPanel(CommandHost& host, bool& busyFlag, const std::string& status)
        : host_(host), busyFlag_(busyFlag) {
        host_.ShowProgressPanel();
        host_.SetStatus(status);
        busyFlag_ = true;
        host_.ProgressStart();
    }
    ~ProgressPanel() {
        host_.ProgressStop();
        busyFlag_ = false;
        host_.SetStatus(Tr("Status", kIdle));
        host_.HideProgressPanel();
        host_.ProgressClear();
    }
    ProgressPanel(const ProgressPanel&) = delete;
    ProgressPanel& operator=(const ProgressPanel&) = delete;

private:
    CommandHost& host_;
    bool& busyFlag_;
};

void ShowResultMessage(CryptResult result, const std::string& name) {
    if (auto text = ResultMessageText(result, name))
        ShowError(*text);
}

// What differs between the two directions; the steps are shared.
struct Transform {
    std::string source;      // read, its attributes held, deleted on success
    std::string destination; // written by the engine
    std::string sourceShown; // the source in messages and the status line
    bool& busyFlag;
    PasswordDialog& dialog;
    std::string status;
    std::string deleteFailedText;
    bool encrypt;
    const AgeTargetSource* age = nullptr; // set for a conversion to age
    // The source's attributes as the command's look found them.
    HeldAttributes sourceAttributes;
    // The file the user chose: another one in its place by the time it is
    // opened is not read.
    FileNode sourceNode{};
};

CryptResult RunCipher(CommandHost& host, const Transform& t, const AgeTarget* age,
                      const CryptHooks& hooks) {
    // The bar of the destination's list fills, the source's drains.
    if (t.encrypt)
        return EncryptFile(t.source, t.destination, RememberedPassword.Text(), host.ProgressBar2(),
                           host.ProgressBar1(), hooks);
    if (age != nullptr)
        return ConvertToAge(t.source, t.destination, RememberedPassword.Text(), host.ProgressBar1(),
                            host.ProgressBar2(), hooks, *age);
    return DecryptFile(t.source, t.destination, RememberedPassword.Text(), host.ProgressBar1(),
                       host.ProgressBar2(), hooks);
}

// What a run makes: each has sentences of its own, so that a translation
// need not assemble a sentence from the words "encrypted" or "age".
enum class Made { Crypted, Decrypted, Age };

Made MadeBy(const Transform& t) {
    return t.encrypt ? Made::Crypted : t.age != nullptr ? Made::Age : Made::Decrypted;
}

std::string ChangedWhileMadeText(Made made, const std::string& sourceShown) {
    const char* const texts[] = {
        KELVANE_TR_NOOP("FileCommands", "File \"%1\" changed while it was being encrypted. Both "
                                        "files are kept."),
        KELVANE_TR_NOOP("FileCommands", "File \"%1\" changed while it was being decrypted. Both "
                                        "files are kept."),
        KELVANE_TR_NOOP("FileCommands", "File \"%1\" changed while it was being converted. Both "
                                        "files are kept."),
    };
    return FormatText(Tr("FileCommands", texts[static_cast<int>(made)]), {sourceShown});
}

void ShowRunEnd(CryptResult result, const Transform& t, const HeldSource& held) {
    ShowError(RunEndText(result, t.destination, t.sourceShown, held.Present()));
}

// What follows the engine run, its commit included: the messages, and the
// source's deletion once its replacement is on disk.
bool Conclude(CommandHost& host, const Transform& t, HeldSource& held, CryptResult result) {
    if (result != crOk) {
        // The same password would be refused by every further file of
        // another password; the next file asks instead.
        if (result == crBadPassword)
            PasswordRefused = true;
        ShowRunEnd(result, t, held);
        if (result == crUnconfirmed || result == crDestinationExists)
            host.RefreshLists();
        return result == crUnconfirmed;
    }
    // The new file was born with the source's permission bits; the source's
    // own mode is never touched.
    switch (held.RemoveIfUnchanged()) {
    case SourceRemoval::Removed:
        break;
    case SourceRemoval::Changed:
        ShowError(ChangedWhileMadeText(MadeBy(t), t.sourceShown));
        break;
    case SourceRemoval::Failed:
        ShowError(t.deleteFailedText);
        break;
    }
    host.RefreshLists();
    return true;
}

// The engine run. Within a run over many files the new file waits for its
// batch's commit, and the lists show it, and its source gone, only then.
bool RunEngine(CommandHost& host, const Transform& t, Existing existing, const AgeTarget* age) {
    const auto held = std::make_shared<HeldSource>(t.source);
    CryptHooks hooks = DefaultCryptHooks();
    hooks.onExisting = existing;
    // Keep means the command just found the destination's name free, and a
    // walk (the only user of a batch) removed the folder's dead temporaries
    // when it read it: the engine need not look for either again.
    std::unique_ptr<FileAccess> known;
    if (hooks.files == nullptr) {
        known = FilesIn(AT_FDCWD, {existing == Existing::Keep, TheSharedState.BatchInUse != nullptr,
                                   t.sourceNode});
        hooks.files = known.get();
    }
    hooks.sourceOpened = held->Opened();
    std::unique_ptr<DestinationFile> written;
    if (TheSharedState.BatchInUse != nullptr && age == nullptr)
        hooks.handOver = &written;
    CryptResult result;
    {
        ProgressPanel panel(host, t.busyFlag, t.status);
        result = RunCipher(host, t, age, hooks);
    }
    if (result != crOk || !written)
        return Conclude(host, t, *held, result);
    TheSharedState.BatchInUse->Add(std::move(written), existing, held->Opened()->size,
                                   [&host, t, held](CommitOutcome outcome, int) {
                                       Conclude(host, t, *held, ResultOfCommit(outcome));
                                   });
    return true;
}

enum class PasswordFrom { Step, JustUsed };

// The read-only question, the password and the run. The source's mode is
// never changed: reading and deleting a file need no write permission on it.
bool RunTransform(CommandHost& host, const Transform& t, Existing existing,
                  PasswordFrom password = PasswordFrom::Step) {
    if (password == PasswordFrom::JustUsed)
        return !RememberedPassword.empty() && RunEngine(host, t, existing, nullptr);
    const HeldAttributes held =
        t.sourceAttributes.Valid() ? t.sourceAttributes : ReadFileAttributes(t.source);
    if (held.Has(faReadOnly) &&
        ShowInformation(ReadOnlyText(t.sourceShown), mbOK | mbCancel) != mrOk)
        return false;
    if (ObtainPassword(host, t.dialog, t.sourceShown) == PasswordStep::Stop)
        return false;
    const AgeTarget* age = nullptr;
    if (t.age != nullptr) {
        age = (*t.age)();
        if (age == nullptr) {
            // No passphrase: the rest of the selection stops too.
            CancelRequested = true;
            return false;
        }
    }
    return RunEngine(host, t, existing, age);
}

// A symbolic link is refused: deleting it after the run would leave the file
// it points to in plain text.
bool RefusedAsLink(const SourceLook& source, const std::string& shown, bool encrypt) {
    if (!source.name.IsLink())
        return false;
    ShowError(FormatText(encrypt ? Tr("FileCommands", "File \"%1\" is a symbolic link. Only the "
                                                      "file it points to can be encrypted.")
                                 : Tr("FileCommands", "File \"%1\" is a symbolic link. Only the "
                                                      "file it points to can be decrypted."),
                         {shown}));
    return true;
}

// A folder, or anything else that is no file, where the new file is to go:
// no answer to an overwrite question could make room for it, so the run is
// refused before the password is asked and the file read.
bool RefusedAsInTheWay(const std::string& destination, Made made, const std::string& sourceShown) {
    const NameLook there = LookAtName(AT_FDCWD, destination);
    if (!there.found || (there.leads && S_ISREG(there.followed.st_mode)))
        return false;
    struct InTheWay {
        const char* folder;
        const char* other;
    };
    // %1 is what is in the way, %2 the file that was to be processed.
    const InTheWay texts[] = {
        {KELVANE_TR_NOOP("FileCommands", "Folder \"%1\" is in the way of the crypted file. File "
                                         "\"%2\" is not encrypted."),
         KELVANE_TR_NOOP("FileCommands", "\"%1\" is in the way of the crypted file: it is no "
                                         "file. File \"%2\" is not encrypted.")},
        {KELVANE_TR_NOOP("FileCommands", "Folder \"%1\" is in the way of the decrypted file. File "
                                         "\"%2\" is not decrypted."),
         KELVANE_TR_NOOP("FileCommands", "\"%1\" is in the way of the decrypted file: it is no "
                                         "file. File \"%2\" is not decrypted.")},
        {KELVANE_TR_NOOP("FileCommands", "Folder \"%1\" is in the way of the age file. File "
                                         "\"%2\" is not converted."),
         KELVANE_TR_NOOP("FileCommands", "\"%1\" is in the way of the age file: it is no file. "
                                         "File \"%2\" is not converted.")},
    };
    const InTheWay& text = texts[static_cast<int>(made)];
    const bool folder = there.leads && S_ISDIR(there.followed.st_mode);
    ShowError(FormatText(Tr("FileCommands", folder ? text.folder : text.other),
                         {destination, sourceShown}));
    return true;
}

// Encrypting one name of a file with other names would leave its content
// readable through them.
bool RefusedAsShared(const std::string& plainName, const SourceLook& look) {
    const unsigned others = look.name.OtherNames();
    if (others == 0)
        return false;
    // The command line says the same in words of its own (OtherNamesText).
    ShowError(FormatText(others == 1 ? Tr("FileCommands", "File \"%1\" has 1 other name; its "
                                                          "content would stay readable through "
                                                          "it. It is not encrypted.")
                                     : Tr("FileCommands", "File \"%1\" has %2 other names; its "
                                                          "content would stay readable through "
                                                          "them. It is not encrypted."),
                         {plainName, std::to_string(others)}));
    return true;
}

} // namespace

// What the engine's result means for the user beyond its classic messages.
// Another program may have done the same work meanwhile and removed the
// source: then only the new file is there, and nothing was lost.
std::string RunEndText(CryptResult result, const std::string& destination,
                       const std::string& sourceShown, bool sourcePresent) {
    // No default: a code added to the engine without words here does not
    // compile.
    switch (result) {
    case crDestinationExists:
        // %1 is the new file, %2 the file it was made from.
        if (!sourcePresent)
            return FormatText(Tr("FileCommands",
                                 "File \"%1\" appeared while \"%2\" was processed, "
                                 "and \"%2\" has been removed meanwhile. File \"%1\" "
                                 "is kept as it was."),
                              {destination, sourceShown});
        return FormatText(Tr("FileCommands", "File \"%1\" appeared while \"%2\" was processed. "
                                             "Both files are kept."),
                          {destination, sourceShown});
    case crUnconfirmed:
        return FormatText(Tr("FileCommands", "File \"%1\" has been written, but the disk did not "
                                             "confirm it. File \"%2\" is kept."),
                          {destination, sourceShown});
    case crOk:
    case crOpenFailed:
    case crCreateFailed:
    case crReadFailed:
    case crBadPassword:
    case crNoMemory:
    case crNotCrypted:
    case crAborted:
    case crWriteFailed:
    case crAgeKeyFailed:
        if (auto text = ResultMessageText(result, sourceShown))
            return *text;
        break;
    }
    // A value outside the codes is still no success to pass over.
    //: %2 is the engine's number for the failure.
    return FormatText(Tr("FileCommands", "Processing file \"%1\" failed (%2)."),
                      {sourceShown, std::to_string(result)});
}

namespace {
bool EncryptOneFile(CommandHost& host, const std::string& name, PasswordFrom password);
} // namespace

std::string CommandHost::CryptedFileName(const std::string& listedName) const {
    return ShowCry > 0 ? listedName : EncryptedNameOf(listedName);
}

bool EncryptOneFile(CommandHost& host, const std::string& name) {
    return EncryptOneFile(host, name, PasswordFrom::Step);
}

bool EncryptAgainWithSamePassword(CommandHost& host, const std::string& name) {
    return EncryptOneFile(host, name, PasswordFrom::JustUsed);
}

namespace {

bool EncryptOneFile(CommandHost& host, const std::string& name, PasswordFrom password) {
    const DurableRemovals durable;
    const PasswordUse use;
    if (Busy()) {
        host.SetStatus(Tr("Status", kWaitTillFinished));
        return false;
    }
    const std::string& plainName = name;
    const std::string cryptedName = EncryptedNameOf(name);
    const std::string listedName = ShowCry > 0 ? cryptedName : name;

    const SourceLook look(plainName);
    if (!look.IsFile()) {
        ShowError(NotFoundText(name));
        return false;
    }
    if (RefusedAsLink(look, plainName, true) || RefusedAsShared(plainName, look))
        return false;
    // Refused before the password is asked, as kelvane-cli refuses it.
    if (look.name.followed.st_size > kLargestPlainLength) {
        ShowResultMessage(crNoMemory, plainName);
        return false;
    }
    if (NameTooLong(cryptedName)) {
        ShowInformation(NameTooLongText(listedName, "\r"));
        return false;
    }
    if (RefusedAsInTheWay(cryptedName, Made::Crypted, plainName))
        return false;
    // The disk is asked too: a list read before the file appeared must not
    // let the engine replace it unasked.
    const bool asked = host.ListsFile(cryptedName) || FileExists(cryptedName);
    if (asked &&
        //: The English text keeps its slips; write the translation correctly.
        ShowInformation(FormatText(Tr("FileCommands", "File \"%1\" already exist in the list of "
                                                      "crypted files. Overwrite one?"),
                                   {listedName}),
                        mbOK | mbCancel) != mrOk)
        return false;

    Transform t{plainName,
                cryptedName,
                plainName,
                EncryptBusy,
                host.EncryptDialog(),
                FormatText(Tr("FileCommands", "Encrypting file %1..."), {plainName}),
                FormatText(Tr("FileCommands", "Couldn't delete file %1 from the filelist of non "
                                              "encrypted files."),
                           {plainName}),
                true,
                nullptr,
                KeptAttributes(look, asked),
                NodeOf(look.name.own)};
    return RunTransform(host, t, asked ? Existing::Replace : Existing::Keep, password);
}

} // namespace

bool DecryptOneFile(CommandHost& host, const std::string& name) {
    return DecryptOneFile(host, name, host.CryptedFileName(name));
}

bool DecryptOneFile(CommandHost& host, const std::string& name, const std::string& fileName) {
    const DurableRemovals durable;
    const PasswordUse use;
    if (Busy()) {
        host.SetStatus(Tr("Status", kWaitTillFinished));
        return false;
    }
    const std::string& listedName = name;
    const std::string& cryptedName = fileName;
    // A file named without ".cry" loses its last four characters all the
    // same; the engine then finds it is no crypted file and says so.
    const std::string plainName =
        DecryptedNameOf(cryptedName).value_or(WithoutLastFour(cryptedName));

    const SourceLook look(cryptedName);
    if (!look.IsFile()) {
        ShowError(NotFoundText(name));
        return false;
    }
    // A name with nothing before its last four characters has no plain file
    // to become.
    if (RefusedAsLink(look, listedName, false))
        return false;
    if (NamePart(plainName).empty()) {
        ShowResultMessage(crCreateFailed, listedName);
        return false;
    }
    if (RefusedAsInTheWay(plainName, Made::Decrypted, listedName))
        return false;
    // The plain-files list leaves out ".cry" names, so only the disk knows
    // that "a.cry.cry" would replace the crypted file "a.cry".
    const bool asked = host.ListsFile(plainName) || FileExists(plainName);
    if (asked &&
        //: The English text keeps its slips; write the translation correctly.
        ShowInformation(FormatText(Tr("FileCommands", "File \"%1\" is already exist in the file "
                                                      "list for not encrypted files. Overwrite "
                                                      "one?"),
                                   {plainName}),
                        mbOK | mbCancel) != mrOk)
        return false;

    Transform t{cryptedName,
                plainName,
                listedName,
                DecryptBusy,
                host.DecryptDialog(),
                FormatText(Tr("FileCommands", "Decrypting file %1..."), {listedName}),
                FormatText(Tr("FileCommands", "Couldn't delete file %1 from the list of crypted "
                                              "files."),
                           {listedName}),
                false,
                nullptr,
                KeptAttributes(look, asked),
                NodeOf(look.name.own)};
    return RunTransform(host, t, asked ? Existing::Replace : Existing::Keep);
}

bool ConvertOneFile(CommandHost& host, const std::string& name, const std::string& fileName,
                    const AgeTargetSource& target) {
    const DurableRemovals durable;
    const PasswordUse use;
    if (Busy()) {
        host.SetStatus(Tr("Status", kWaitTillFinished));
        return false;
    }
    const std::string ageName = AgeNameOf(fileName);
    const SourceLook look(fileName);
    if (!look.IsFile()) {
        ShowError(NotFoundText(name));
        return false;
    }
    if (RefusedAsLink(look, name, false))
        return false;
    if (NameTooLong(ageName)) {
        ShowInformation(NameTooLongText(ageName, "\r"));
        return false;
    }
    if (RefusedAsInTheWay(ageName, Made::Age, name))
        return false;
    const bool asked = FileExists(ageName);
    if (asked &&
        ShowInformation(
            FormatText(Tr("FileCommands", "File \"%1\" already exists. Overwrite one?"), {ageName}),
            mbOK | mbCancel) != mrOk)
        return false;
    Transform t{fileName,
                ageName,
                name,
                DecryptBusy,
                host.DecryptDialog(),
                FormatText(Tr("FileCommands", "Converting file %1 to age..."), {name}),
                FormatText(Tr("FileCommands", "Couldn't delete file %1 from the list of crypted "
                                              "files."),
                           {name}),
                false,
                &target,
                KeptAttributes(look, asked),
                NodeOf(look.name.own)};
    return RunTransform(host, t, asked ? Existing::Replace : Existing::Keep);
}

void RunDoubleClick(CommandHost& host, Direction command, const std::string& name) {
    RunDoubleClick(host, command, name,
                   command == Direction::Encrypt ? name : host.CryptedFileName(name));
}

void RunDoubleClick(CommandHost& host, Direction command, const std::string& name,
                    const std::string& fileName) {
    // A double-click while another run is busy is refused by the command; the
    // cancel flag then belongs to that run and is left alone.
    const bool ownsCancel = !Busy();
    if (command == Direction::Encrypt)
        EncryptOneFile(host, fileName);
    else
        DecryptOneFile(host, name, fileName);
    if (ownsCancel)
        CancelRequested = false;
    DoubleClicked = true;
}

namespace {
int removalScopes = 0;
} // namespace

DurableRemovals::DurableRemovals() {
    ++removalScopes;
}

DurableRemovals::~DurableRemovals() {
    if (--removalScopes > 0 || MakeRemovalsDurable())
        return;
    const int error = errno; // before a translation could change it
    //: %1 is the system's description of the error.
    ShowError(FormatText(Tr("FileCommands", "The disk did not confirm that the original files are "
                                            "gone (%1). After a power failure they may be there "
                                            "again."),
                         {ErrorText(error)}));
}

CommitInBatches::CommitInBatches(CommitBatch& batch) : previous_(TheSharedState.BatchInUse) {
    TheSharedState.BatchInUse = &batch;
}

CommitInBatches::~CommitInBatches() {
    TheSharedState.BatchInUse = previous_;
}

} // namespace kelvane
