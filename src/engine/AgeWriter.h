// SPDX-License-Identifier: GPL-3.0-or-later
// The age payload, streamed: the header, the payload nonce, then the plain
// bytes sealed in 64 KiB chunks under the payload key. The chunk in hand is
// held back until more bytes arrive or Finish() says it is the last, since
// only the last chunk carries the final flag.
#pragma once

#include "engine/AgeFormat.h"

#include <memory>
#include <vector>

namespace kelvane::age {

constexpr std::size_t kChunkSize = 64 * 1024;

class PayloadWriter {
public:
    // Writes nothing yet: the header and nonce go out with the first chunk.
    PayloadWriter(const FileKey& fileKey, std::string header, ByteSink out);
    ~PayloadWriter();
    PayloadWriter(const PayloadWriter&) = delete;
    PayloadWriter& operator=(const PayloadWriter&) = delete;

    bool Write(const uint8_t* data, std::size_t size);
    // Seals the last chunk and sends what is buffered; nothing may follow.
    bool Finish();
    // Plain bytes taken so far.
    uint64_t Taken() const { return taken_; }

private:
    bool Seal(const uint8_t* plain, std::size_t size, bool last);
    bool Flush();

    SecretBytes<kKeySize> payloadKey_;
    ByteSink out_;
    std::vector<uint8_t> plain_; // the chunk being filled
    // Sealed chunks waiting to go out together; never zero-filled, since
    // every byte sent was written first.
    std::unique_ptr<uint8_t[]> sealed_;
    std::size_t sealedCapacity_ = 0;
    std::size_t sealedSize_ = 0;
    std::size_t held_ = 0;
    uint64_t counter_ = 0;
    uint64_t taken_ = 0;
    bool failed_ = false;
    bool finished_ = false;
};

} // namespace kelvane::age
