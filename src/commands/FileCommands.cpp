// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/FileCommands.h"

#include "commands/RunAhead.h"
#include "commands/Settings.h"
#include "commands/State.h"
#include "crypto/CryptHeader.h"
#include "crypto/CryptNames.h"
#include "crypto/ResultMessages.h"
#include "crypto/Translate.h"
#include "engine/CommitBatch.h"
#include "engine/CryptFile.h"
#include "engine/FileStep.h"
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

// What a run makes: each has sentences of its own, so that a translation
// need not assemble a sentence from the words "encrypted" or "age".
enum class Made { Crypted, Decrypted, Age };

// What differs between the two directions and the conversion; the steps are
// shared.
struct Transform {
    StepNames names;
    Made made;
    std::string sourceShown;      // the source in messages and the status line
    std::string destinationShown; // the new file as its list would show it
    bool& busyFlag;
    // The host's dialog, asked for only when a password is: a command
    // refused before that needs none, and a host may have none made yet.
    PasswordDialog& (CommandHost::*dialog)();
    std::string status;
    std::string overwriteText;
    std::string deleteFailedText;
    const AgeTargetSource* age = nullptr; // set for a conversion to age
};

enum class PasswordFrom { Step, JustUsed };

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

// A symbolic link is refused: deleting it after the run would leave the file
// it points to in plain text.
std::string LinkText(Made made, const std::string& shown) {
    return FormatText(made == Made::Crypted
                          ? Tr("FileCommands", "File \"%1\" is a symbolic link. Only the file it "
                                               "points to can be encrypted.")
                          : Tr("FileCommands", "File \"%1\" is a symbolic link. Only the file it "
                                               "points to can be decrypted."),
                      {shown});
}

// A folder, or anything else that is no file, where the new file is to go:
// no answer to an overwrite question could make room for it, so the run is
// refused before the password is asked and the file read.
std::string InTheWayText(const Transform& t, bool folder) {
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
    const InTheWay& text = texts[static_cast<int>(t.made)];
    return FormatText(Tr("FileCommands", folder ? text.folder : text.other),
                      {t.names.destination, t.sourceShown});
}

// Encrypting one name of a file with other names would leave its content
// readable through them. The command line says the same in words of its own.
std::string SharedNamesText(const std::string& plainName, unsigned others) {
    return FormatText(others == 1 ? Tr("FileCommands", "File \"%1\" has 1 other name; its content "
                                                       "would stay readable through it. It is "
                                                       "not encrypted.")
                                  : Tr("FileCommands", "File \"%1\" has %2 other names; its "
                                                       "content would stay readable through "
                                                       "them. It is not encrypted."),
                      {plainName, std::to_string(others)});
}

// The window's side of one file's step: the user answers its questions, and
// its words are message boxes. Within a run over many files it lives until
// its batch's commit, and the lists show the new file, and its source gone,
// only then.
class WindowStep final : public StepFrontEnd, public std::enable_shared_from_this<WindowStep> {
public:
    // `folder`: the walk's descriptor of the working directory, open until
    // the file's batch has settled.
    // `made`: where a walk learns what its new file is, once in place.
    WindowStep(CommandHost& host, Transform t, PasswordFrom password, RunAhead* ahead, int folder,
               std::shared_ptr<FileNode> made)
        : host_(host), t_(std::move(t)), password_(password), ahead_(ahead), folder_(folder),
          made_(std::move(made)) {}

    // The files before this one, whose runs went on elsewhere, have their
    // say before this one's question or message.
    void SettleAhead() {
        if (ahead_ != nullptr)
            ahead_->Settle();
    }

    // The disk is asked too: a list read before the file appeared must not
    // let the engine replace it unasked.
    WhenTaken DestinationTaken() override {
        SettleAhead();
        return ShowInformation(t_.overwriteText, mbOK | mbCancel) == mrOk ? WhenTaken::Replace
                                                                          : WhenTaken::Decline;
    }

    // The read-only question, the password and, for a conversion, whom the
    // age file is for. The source's mode is never changed: reading and
    // deleting a file need no write permission on it.
    bool ReadyToRun(const NameLook& source, bool asked) override {
        if (password_ == PasswordFrom::JustUsed)
            return !RememberedPassword.empty();
        // The look's attributes stand for the run's, unless a question came
        // in between and gave the user time to change the file.
        const HeldAttributes held = asked ? ReadFileAttributes(t_.names.source)
                                          : AttributesFrom(t_.names.source, source.followed);
        sourceSize_ = source.followed.st_size;
        if (held.Has(faReadOnly)) {
            SettleAhead();
            if (ShowInformation(ReadOnlyText(t_.sourceShown), mbOK | mbCancel) != mrOk)
                return false;
        }
        PasswordDialog& dialog = (host_.*t_.dialog)();
        if (PasswordMayBeAsked(dialog))
            SettleAhead();
        if (ObtainPassword(host_, dialog, t_.sourceShown) == PasswordStep::Stop)
            return false;
        if (t_.age == nullptr)
            return true;
        age_ = (*t_.age)();
        // No passphrase: the rest of the selection stops too.
        if (age_ == nullptr)
            CancelRequested = true;
        return age_ != nullptr;
    }

    FileAccess& Files(const FolderFacts& facts) override {
        if (FileAccess* given = DefaultCryptHooks().files)
            return *given;
        // A run made elsewhere opens its files in this very folder, wherever
        // the walk has gone meanwhile.
        files_ = FilesIn(MayRunAhead() && folder_ >= 0 ? folder_ : AT_FDCWD, facts);
        return *files_;
    }

    CryptResult Run(const StepHooks& step) override {
        // Runs made elsewhere are told first: the files are told in order.
        SettleAhead();
        CryptHooks hooks = DefaultCryptHooks();
        step.ApplyTo(hooks);
        const std::string& password = RememberedPassword.Text();
        const std::shared_ptr<const RunKey> key = KeyOfRun(password);
        hooks.runKey = key.get();
        ProgressPanel panel(host_, t_.busyFlag, t_.status);
        // The bar of the destination's list fills, the source's drains.
        const StepNames& n = t_.names;
        switch (n.direction) {
        case Direction::Encrypt:
            return EncryptFile(n.source, n.destination, password, host_.ProgressBar2(),
                               host_.ProgressBar1(), hooks);
        case Direction::Convert:
            return ConvertToAge(n.source, n.destination, password, host_.ProgressBar1(),
                                host_.ProgressBar2(), hooks, *age_);
        case Direction::Decrypt:
        case Direction::Verify:
            break;
        }
        return DecryptFile(n.source, n.destination, password, host_.ProgressBar1(),
                           host_.ProgressBar2(), hooks);
    }

    const std::string& Password() override { return RememberedPassword.Text(); }
    bool Batched() override { return TheSharedState.BatchInUse != nullptr && age_ == nullptr; }
    // The source goes on the thread that committed the batch, as soon as
    // its new file is durable, so that the window's thread, which has the
    // walk and every message to itself, need not; the words wait for it.
    void Defer(std::unique_ptr<DestinationFile> destination, Existing existing, int64_t bytes,
               Settle settle) override {
        auto concluded = std::make_shared<StepOutcome>();
        const FileNode node = destination->Node();
        TheSharedState.BatchInUse->Add(
            std::move(destination), existing, bytes,
            [concluded, settle, made = made_, node](CommitOutcome outcome, int error) {
                *concluded = settle(outcome, error);
                if (made &&
                    (outcome == CommitOutcome::Done || outcome == CommitOutcome::Unconfirmed))
                    *made = node;
            },
            [self = shared_from_this(), concluded](CommitOutcome, int) {
                self->Words(*concluded);
            });
    }

    // A small file encrypted by a walk with nothing left to ask: the engine's
    // run goes on on a worker thread, without the window's events or bars,
    // and what it means is told here, after the files before it. A larger
    // file runs here, where "Cancel process" can stop it midway. The panel
    // is up as the walk keeps it between files, but its status and clock are
    // not set and reset for each run: the window paints only when its
    // events run, between files, so that showed nothing. The bars show each
    // run once it is told.
    bool RunElsewhere(const StepHooks& step, const Finish& finish) override {
        if (!MayRunAhead() || folder_ < 0 || sourceSize_ > kLargestRunAhead)
            return false;
        auto run = std::make_shared<RunMadeElsewhere>();
        run->hooks = DefaultCryptHooks();
        step.ApplyTo(run->hooks);
        run->hooks.letEventsRun = nullptr;
        run->hooks.longestEventGap = nullptr;
        run->password = RememberedPassword.Text();
        run->key = KeyOfRun(run->password.Text());
        run->hooks.runKey = run->key.get();
        host_.ShowProgressPanel();
        host_.HideProgressPanel();
        ahead_->Add({[run, names = t_.names] {
                         const CryptResult result =
                             EncryptFile(names.source, names.destination, run->password.Text(),
                                         run->fill, run->drain, run->hooks);
                         // Known here, the new file's identity costs the window's
                         // thread nothing when the file joins its batch.
                         if (*run->hooks.handOver)
                             (*run->hooks.handOver)->Node();
                         return result;
                     },
                     [self = shared_from_this(), run, finish](CryptResult result) {
                         // "Cancel process" came between the files the user has seen
                         // done: this one counts as not started, its new file never
                         // named, its source as it was.
                         if (CancelRequested.load())
                             return RunAhead::Ending::NotWritten;
                         self->host_.ProgressBar2().SetTag(run->fill.Tag());
                         self->host_.ProgressBar2().SetPosition(run->fill.Position());
                         self->host_.ProgressBar1().SetTag(run->drain.Tag());
                         self->host_.ProgressBar1().SetPosition(run->drain.Position());
                         const std::optional<StepOutcome> ended = finish(result);
                         if (!ended)
                             return RunAhead::Ending::Deferred;
                         return self->Words(*ended) ? RunAhead::Ending::WrittenAlone
                                                    : RunAhead::Ending::NotWritten;
                     }});
        return true;
    }

    // A run over many files makes the key once for all its files of one
    // password.
    std::shared_ptr<const RunKey> KeyOfRun(const std::string& password) const {
        std::shared_ptr<const RunKey>* key = TheSharedState.KeyInUse;
        if (key == nullptr || t_.age != nullptr)
            return nullptr;
        if (*key == nullptr || !(*key)->MadeOf(password))
            *key = std::make_shared<const RunKey>(password);
        return *key;
    }

    // True when the new file was written. No default: an end added to the
    // step without words here does not compile.
    bool Words(const StepOutcome& outcome) {
        switch (outcome.end) {
        case StepEnd::SourceIsTemporary: // the lists never show one
        case StepEnd::SourceMissing:
        case StepEnd::SourceIsFolder:
        case StepEnd::SourceNotRegular:
            ShowError(NotFoundText(t_.sourceShown));
            return false;
        case StepEnd::SourceIsLink:
            ShowError(LinkText(t_.made, t_.sourceShown));
            return false;
        case StepEnd::SameFile:
            ShowResultMessage(crCreateFailed, t_.sourceShown);
            return false;
        case StepEnd::SourceHasOtherNames:
            ShowError(SharedNamesText(t_.sourceShown, outcome.otherNames));
            return false;
        case StepEnd::SourceTooLarge:
            ShowResultMessage(crNoMemory, t_.sourceShown);
            return false;
        case StepEnd::NameTooLong:
            ShowInformation(NameTooLongText(t_.destinationShown, "\r"));
            return false;
        case StepEnd::DestinationIsLink:
        case StepEnd::DestinationInTheWay:
            ShowError(InTheWayText(t_, outcome.folderInTheWay));
            return false;
        case StepEnd::DestinationTaken: // the window asks instead
        case StepEnd::DestinationClaimed:
            ShowError(RunEndText(crDestinationExists, t_.names.destination, t_.sourceShown, true));
            return false;
        case StepEnd::Declined:
            return false;
        case StepEnd::Failed:
            return Failed(outcome);
        case StepEnd::Done:
        case StepEnd::EarlierRunFinished:
            break;
        case StepEnd::SourceChanged:
            ShowError(ChangedWhileMadeText(t_.made, t_.sourceShown));
            break;
        case StepEnd::SourceNotRemoved:
            ShowError(t_.deleteFailedText);
            break;
        }
        host_.RefreshLists();
        return true;
    }

private:
    // Larger files are left to the window's thread.
    static constexpr int64_t kLargestRunAhead = int64_t{1} << 20;

    // What a run made elsewhere holds until it is told: nothing of it is
    // shared with the window's thread while it runs.
    struct RunMadeElsewhere {
        CryptHooks hooks;
        SecretString password;
        std::shared_ptr<const RunKey> key;
        ProgressCounter fill, drain;
    };

    bool MayRunAhead() const {
        return ahead_ != nullptr && t_.names.direction == Direction::Encrypt &&
               password_ == PasswordFrom::Step && t_.age == nullptr &&
               DefaultCryptHooks().files == nullptr;
    }

    bool Failed(const StepOutcome& outcome) {
        // The same password would be refused by every further file of
        // another password; the next file asks instead.
        if (outcome.result == crBadPassword)
            PasswordRefused = true;
        ShowError(RunEndText(outcome.result, t_.names.destination, t_.sourceShown,
                             outcome.sourcePresent));
        if (outcome.result == crUnconfirmed || outcome.result == crDestinationExists)
            host_.RefreshLists();
        return outcome.result == crUnconfirmed;
    }

    CommandHost& host_;
    const Transform t_;
    const PasswordFrom password_;
    RunAhead* const ahead_;
    const AgeTarget* age_ = nullptr;
    const int folder_; // where a run made elsewhere opens its files
    const std::shared_ptr<FileNode> made_;
    int64_t sourceSize_ = 0;
    std::unique_ptr<FileAccess> files_;
};

// One file's step with the window's answers and words. Within a run over
// many files a walk removed the folder's dead temporaries when it read it.
// A walk's file is looked at, and its source held for removal, through the
// walk's own descriptor of the working directory, which the walk keeps open
// until the file's batch has settled: no descriptor of its own per file.
bool RunStep(CommandHost& host, Transform t, PasswordFrom password = PasswordFrom::Step) {
    t.names.temporariesCleared = TheSharedState.BatchInUse != nullptr;
    WalkHandOver walk = std::exchange(TheSharedState.NextWalkFile, {});
    if (walk.folder >= 0)
        t.names.folder = walk.folder;
    StepNames names = t.names;
    // The walk's look is of the file it found; the lists may name another.
    if (walk.folder >= 0 && walk.name != nullptr && *walk.name == names.source)
        names.sourceLooked = walk.look;
    const auto step = std::make_shared<WindowStep>(host, std::move(t), password, walk.ahead,
                                                   walk.folder, std::move(walk.made));
    const auto ended = RunFileStep(names, *step);
    if (!ended)
        return true; // waiting in a batch, or told later: that gives the words
    step->SettleAhead();
    return step->Words(*ended);
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
    const std::string cryptedName = EncryptedNameOf(name);
    const std::string listedName = ShowCry > 0 ? cryptedName : name;
    return RunStep(
        host,
        {{Direction::Encrypt, AT_FDCWD, name, cryptedName, host.ListsFile(cryptedName)},
         Made::Crypted,
         name,
         listedName,
         EncryptBusy,
         &CommandHost::EncryptDialog,
         FormatText(Tr("FileCommands", "Encrypting file %1..."), {name}),
         //: The English text keeps its slips; write the translation correctly.
         FormatText(Tr("FileCommands", "File \"%1\" already exist in the list of crypted files. "
                                       "Overwrite one?"),
                    {listedName}),
         FormatText(Tr("FileCommands", "Couldn't delete file %1 from the filelist of non "
                                       "encrypted files."),
                    {name})},
        password);
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
    const std::string& cryptedName = fileName;
    // A file named without ".cry" loses its last four characters all the
    // same; the engine then finds it is no crypted file and says so.
    const std::string plainName =
        DecryptedNameOf(cryptedName).value_or(WithoutLastFour(cryptedName));
    // A name with nothing before its last four characters has no plain file
    // to become.
    if (NamePart(plainName).empty()) {
        ShowResultMessage(crCreateFailed, name);
        return false;
    }
    // The plain-files list leaves out ".cry" names, so only the disk knows
    // that "a.cry.cry" would replace the crypted file "a.cry".
    return RunStep(
        host, {{Direction::Decrypt, AT_FDCWD, cryptedName, plainName, host.ListsFile(plainName)},
               Made::Decrypted,
               name,
               plainName,
               DecryptBusy,
               &CommandHost::DecryptDialog,
               FormatText(Tr("FileCommands", "Decrypting file %1..."), {name}),
               //: The English text keeps its slips; write the translation correctly.
               FormatText(Tr("FileCommands", "File \"%1\" is already exist in the file "
                                             "list for not encrypted files. Overwrite "
                                             "one?"),
                          {plainName}),
               FormatText(Tr("FileCommands", "Couldn't delete file %1 from the list of "
                                             "crypted files."),
                          {name})});
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
    return RunStep(
        host,
        {{Direction::Convert, AT_FDCWD, fileName, ageName},
         Made::Age,
         name,
         ageName,
         DecryptBusy,
         &CommandHost::DecryptDialog,
         FormatText(Tr("FileCommands", "Converting file %1 to age..."), {name}),
         FormatText(Tr("FileCommands", "File \"%1\" already exists. Overwrite one?"), {ageName}),
         FormatText(Tr("FileCommands", "Couldn't delete file %1 from the list of crypted "
                                       "files."),
                    {name}),
         &target});
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

CommitInBatches::CommitInBatches(CommitBatch& batch)
    : previous_(TheSharedState.BatchInUse), previousKey_(TheSharedState.KeyInUse) {
    TheSharedState.BatchInUse = &batch;
    TheSharedState.KeyInUse = &key_;
}

CommitInBatches::~CommitInBatches() {
    TheSharedState.BatchInUse = previous_;
    TheSharedState.KeyInUse = previousKey_;
}

} // namespace kelvane
