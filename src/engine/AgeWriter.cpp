#include "engine/AgeWriter.h"

#include <cstring>
#include <sodium.h>

namespace kelvane::age {
namespace {

constexpr std::size_t kTagSize = crypto_aead_chacha20poly1305_ietf_ABYTES;
// Sealed chunks are sent in groups of about a megabyte: one write each
// instead of sixteen.
constexpr std::size_t kSendFrom = 16 * (kChunkSize + kTagSize);

} // namespace

PayloadWriter::PayloadWriter(const FileKey& fileKey, std::string header, ByteSink out)
    : out_(std::move(out)), plain_(kChunkSize) {
    uint8_t nonce[kPayloadNonceSize];
    RandomBytes(nonce, sizeof nonce);
    HkdfSha256(fileKey.data(), kFileKeySize, nonce, sizeof nonce, "payload", payloadKey_.data());
    sealed_.reserve(kSendFrom + kChunkSize + kTagSize + header.size() + sizeof nonce);
    sealed_.assign(header.begin(), header.end());
    sealed_.insert(sealed_.end(), nonce, nonce + sizeof nonce);
}

PayloadWriter::~PayloadWriter() {
    Wipe(plain_.data(), plain_.size());
}

bool PayloadWriter::SealHeldChunk(bool last) {
    // The nonce: an 11-byte big-endian chunk counter, then the final flag.
    uint8_t nonce[crypto_aead_chacha20poly1305_ietf_NPUBBYTES] = {};
    for (int i = 0; i < 8; ++i)
        nonce[10 - i] = static_cast<uint8_t>(counter_ >> (8 * i));
    nonce[11] = last ? 1 : 0;
    const std::size_t at = sealed_.size();
    sealed_.resize(at + held_ + kTagSize);
    crypto_aead_chacha20poly1305_ietf_encrypt(sealed_.data() + at, nullptr, plain_.data(), held_,
                                              nullptr, 0, nullptr, nonce, payloadKey_.data());
    held_ = 0;
    ++counter_;
    return sealed_.size() < kSendFrom || Flush();
}

bool PayloadWriter::Flush() {
    if (!sealed_.empty() && !out_(sealed_.data(), sealed_.size()))
        failed_ = true;
    sealed_.clear();
    return !failed_;
}

bool PayloadWriter::Write(const uint8_t* data, std::size_t size) {
    if (failed_ || finished_)
        return false;
    taken_ += size;
    while (size > 0) {
        // A full chunk is sealed only once more bytes show it is not the last.
        if (held_ == kChunkSize && !SealHeldChunk(false))
            return false;
        const std::size_t take = std::min(size, kChunkSize - held_);
        std::memcpy(plain_.data() + held_, data, take);
        held_ += take;
        data += take;
        size -= take;
    }
    return true;
}

bool PayloadWriter::Finish() {
    if (failed_ || finished_)
        return false;
    finished_ = true;
    // An empty payload is one empty final chunk; otherwise the last chunk
    // holds at least one byte.
    const bool sealed = SealHeldChunk(true);
    Wipe(plain_.data(), plain_.size());
    Wipe(payloadKey_.data(), kKeySize);
    return sealed && Flush();
}

} // namespace kelvane::age
