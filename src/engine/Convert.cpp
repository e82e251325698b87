// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Convert.h"

#include "crypto/CryptNames.h"
#include "engine/AgeWriter.h"
#include "engine/CryptPipeline.h"

#include <cerrno>
#include <mutex>
#include <optional>
#include <unistd.h>

namespace kelvane {
namespace {

bool WriteAll(int fd, const uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t done = ::write(fd, data, size);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return false;
        data += done;
        size -= static_cast<std::size_t>(done);
    }
    return true;
}

// The destination the deciphered bytes are written to: it seals them into
// the age payload on their way to the real file (or the stream).
class AgeDestination : public DestinationFile {
public:
    AgeDestination(std::unique_ptr<DestinationFile> file, int descriptor, bool armor,
                   const age::FileKey& fileKey, std::string header)
        : file_(std::move(file)), descriptor_(descriptor) {
        // Written at offsets, so the file hands its data to the disk as it goes.
        age::ByteSink raw = [this](const uint8_t* data, std::size_t size) {
            if (!file_)
                return WriteAll(descriptor_, data, size);
            const bool written = file_->WriteAt(sent_, data, size);
            sent_ += size;
            return written;
        };
        age::ByteSink out;
        if (armor) {
            armor_.emplace(std::move(raw));
            out = [this](const uint8_t* data, std::size_t size) {
                return armor_->Write(data, size);
            };
        } else {
            out = std::move(raw);
        }
        payload_ = std::make_unique<age::PayloadWriter>(fileKey, std::move(header), out);
    }

    bool Write(const void* data, std::size_t count) override {
        return payload_->Write(static_cast<const uint8_t*>(data), count);
    }

    // The engine writes a deciphered file front to back; anything else
    // could not be sealed in order.
    bool WriteAt(uint64_t offset, const void* data, std::size_t count) override {
        return offset == payload_->Taken() && Write(data, count);
    }

    CommitOutcome Commit(Existing existing) override {
        if (!payload_->Finish() || (armor_ && !armor_->Finish()))
            return CommitOutcome::Failed;
        return file_ ? file_->Commit(existing) : CommitOutcome::Done;
    }

private:
    std::unique_ptr<DestinationFile> file_;
    int descriptor_;
    uint64_t sent_ = 0;
    std::optional<age::ArmorWriter> armor_;
    std::unique_ptr<age::PayloadWriter> payload_;
};

// The file system as the engine sees it during a conversion: sources as
// usual, destinations that seal what is written to them.
class AgeFiles : public FileAccess {
public:
    AgeFiles(FileAccess& inner, const AgeTarget& target, const age::FileKey& fileKey,
             const std::string& header)
        : inner_(inner), target_(target), fileKey_(fileKey), header_(header) {}

    std::unique_ptr<SourceFile> OpenSource(const std::string& path) override {
        return inner_.OpenSource(path);
    }
    bool SameFile(const std::string& a, const std::string& b) override {
        return target_.outputDescriptor < 0 && inner_.SameFile(a, b);
    }
    std::unique_ptr<DestinationFile> CreateDestination(const std::string& path,
                                                       unsigned permissions) override {
        std::unique_ptr<DestinationFile> file;
        if (target_.outputDescriptor < 0) {
            file = inner_.CreateDestination(path, permissions);
            if (!file)
                return nullptr;
        }
        return std::make_unique<AgeDestination>(std::move(file), target_.outputDescriptor,
                                                target_.armor, fileKey_, header_);
    }

private:
    FileAccess& inner_;
    const AgeTarget& target_;
    const age::FileKey& fileKey_;
    const std::string& header_;
};

std::vector<age::Stanza> MakeStanzas(const age::FileKey& fileKey, const AgeTarget& target) {
    std::vector<age::Stanza> stanzas;
    if (target.passphrase != nullptr) {
        // scrypt at the default factor takes 256 MiB: files converted side
        // by side take turns, so memory stays that of one derivation.
        static std::mutex oneAtATime;
        const std::lock_guard<std::mutex> hold(oneAtATime);
        uint8_t salt[age::kSaltSize];
        age::RandomBytes(salt, sizeof salt);
        age::Stanza stanza;
        if (age::ScryptStanza(fileKey, *target.passphrase, salt, target.workFactor, stanza))
            stanzas.push_back(std::move(stanza));
        return stanzas;
    }
    for (const age::Key32& recipient : target.recipients) {
        SecretBytes<age::kKeySize> ephemeral;
        age::RandomBytes(ephemeral.data(), age::kKeySize);
        age::Stanza stanza;
        if (!age::X25519Stanza(fileKey, recipient, ephemeral.data(), stanza))
            return {};
        stanzas.push_back(std::move(stanza));
    }
    return stanzas;
}

// The key check comes first, so a mistyped password costs no key derivation
// and leaves no trace.
CryptResult CheckPassword(FileAccess& files, const std::string& source,
                          const std::string& password) {
    CryptHeader header;
    if (!ReadCryptHeader(source, header, files))
        return crOpenFailed;
    if (!header.magicMatches)
        return crNotCrypted;
    if (!header.complete)
        return crReadFailed;
    SecretBytes<8> key;
    MakeKey(password, key.data());
    const bool matches = KeyCheckOf(key.data()) == header.keyCheck;
    return matches ? crOk : crBadPassword;
}

} // namespace

CryptResult ConvertToAge(const std::string& source, const std::string& destination,
                         const std::string& password, ProgressBar& fillBar, ProgressBar& drainBar,
                         const CryptHooks& hooks, const AgeTarget& target) {
    if (!age::CryptoReady())
        return crAgeKeyFailed;
    FileAccess& files = hooks.files != nullptr ? *hooks.files : SystemFiles();
    if (const CryptResult checked = CheckPassword(files, source, password); checked != crOk)
        return checked;
    age::FileKey fileKey;
    age::RandomBytes(fileKey.data(), age::kFileKeySize);
    std::vector<age::Stanza> stanzas;
    {
        // The passphrase's key derivation takes a good part of a second on
        // purpose; the window goes on answering meanwhile.
        detail::EventPacer pacer(hooks);
        detail::RunWhilePumping(
            [&] {
                stanzas = MakeStanzas(fileKey, target);
                return true;
            },
            static_cast<bool>(hooks.letEventsRun), pacer);
    }
    if (stanzas.empty())
        return crAgeKeyFailed;
    const std::string header = age::HeaderText(fileKey, stanzas);
    AgeFiles ageFiles(files, target, fileKey, header);
    CryptHooks converting = hooks;
    converting.files = &ageFiles;
    // The age file is finished by its commit, which needs this call's state.
    converting.handOver = nullptr;
    return DecryptFile(source, destination, password, fillBar, drainBar, converting);
}

std::string AgeNameOf(const std::string& cryptedPath) {
    return DecryptedNameOf(cryptedPath).value_or(cryptedPath) + ".age";
}

} // namespace kelvane
