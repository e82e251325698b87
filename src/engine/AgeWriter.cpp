// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/AgeWriter.h"

#include "platform/Invariant.h"

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
    : out_(std::move(out)), plain_(kChunkSize),
      sealedCapacity_(kSendFrom + kChunkSize + kTagSize + header.size() + kPayloadNonceSize) {
    uint8_t nonce[kPayloadNonceSize];
    RandomBytes(nonce, sizeof nonce);
    HkdfSha256(fileKey.data(), kFileKeySize, nonce, sizeof nonce, "payload", payloadKey_.data());
    sealed_.reset(new uint8_t[sealedCapacity_]);
    std::memcpy(sealed_.get(), header.data(), header.size());
    std::memcpy(sealed_.get() + header.size(), nonce, sizeof nonce);
    sealedSize_ = header.size() + sizeof nonce;
}

PayloadWriter::~PayloadWriter() {
    SecureWipe(plain_.data(), plain_.size());
}

bool PayloadWriter::Seal(const uint8_t* plain, std::size_t size, bool last) {
    // Write() seals only full chunks and only while not finished; Finish()
    // seals the one final chunk, which is empty only when nothing was taken.
    // A reader refuses a short chunk before the last, a flag on any other
    // chunk or an empty last chunk after others, so any of these broken
    // would leave an age file nobody can open.
    KELVANE_INVARIANT(last == finished_);
    KELVANE_INVARIANT(last ? size <= kChunkSize && (size > 0 || counter_ == 0)
                           : size == kChunkSize);
    // Before a seal the buffer holds less than kSendFrom (it is sent once it
    // reaches that) or just the header and nonce, and the capacity leaves
    // room for one more chunk over either.
    KELVANE_INVARIANT(sealedSize_ + size + kTagSize <= sealedCapacity_);
    // The nonce: an 11-byte big-endian chunk counter, then the final flag.
    uint8_t nonce[crypto_aead_chacha20poly1305_ietf_NPUBBYTES] = {};
    for (int i = 0; i < 8; ++i)
        nonce[10 - i] = static_cast<uint8_t>(counter_ >> (8 * i));
    nonce[11] = last ? 1 : 0;
    crypto_aead_chacha20poly1305_ietf_encrypt(sealed_.get() + sealedSize_, nullptr, plain, size,
                                              nullptr, 0, nullptr, nonce, payloadKey_.data());
    sealedSize_ += size + kTagSize;
    ++counter_;
    return sealedSize_ < kSendFrom || Flush();
}

bool PayloadWriter::Flush() {
    if (sealedSize_ > 0 && !out_(sealed_.get(), sealedSize_))
        failed_ = true;
    sealedSize_ = 0;
    return !failed_;
}

bool PayloadWriter::Write(const uint8_t* data, std::size_t size) {
    if (failed_ || finished_)
        return false;
    taken_ += size;
    while (size > 0) {
        // A full chunk is sealed only once more bytes show it is not the last.
        if (held_ == kChunkSize) {
            held_ = 0;
            if (!Seal(plain_.data(), kChunkSize, false))
                return false;
        }
        // Whole chunks with more behind them are sealed where they lie.
        if (held_ == 0 && size > kChunkSize) {
            if (!Seal(data, kChunkSize, false))
                return false;
            data += kChunkSize;
            size -= kChunkSize;
            continue;
        }
        // held_ is below kChunkSize here: a full chunk was sealed above.
        KELVANE_INVARIANT(held_ < kChunkSize);
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
    const bool sealed = Seal(plain_.data(), held_, true);
    held_ = 0;
    SecureWipe(plain_.data(), plain_.size());
    SecureWipe(payloadKey_.data(), kKeySize);
    return sealed && Flush();
}

} // namespace kelvane::age
