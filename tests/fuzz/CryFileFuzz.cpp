// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes read as a crypted file with a fixed password: the header
// reader, the decryption and the check without a destination must neither
// crash nor disagree, and a decryption that succeeds must have written
// exactly the plain length the header states, with the stated data check.
#include "MemoryFiles.h"
#include "crypto/Crc32.h"
#include "engine/CryptFile.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

using kelvane::fuzzing::MemoryFiles;

// The password of the seed files in tests/fuzz/cry.
const std::string kPassword = "fuzzpass";

void Require(bool condition) {
    if (!condition)
        std::abort();
}

kelvane::CryptHooks HooksFor(MemoryFiles& files, int64_t ringBytes) {
    kelvane::CryptHooks hooks;
    hooks.files = &files;
    hooks.parallelFrom = std::numeric_limits<int64_t>::max(); // one thread: reproducible
    hooks.ringBytes = ringBytes;
    return hooks;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    MemoryFiles headerFiles(bytes);
    kelvane::CryptHeader header;
    Require(kelvane::ReadCryptHeader("in.cry", header, headerFiles));

    MemoryFiles files(bytes);
    kelvane::ProgressCounter fill, drain;
    const kelvane::CryptResult decrypted =
        kelvane::DecryptFile("in.cry", "out", kPassword, fill, drain, HooksFor(files, 16 << 20));
    if (decrypted == kelvane::crOk) {
        Require(header.complete && header.magicMatches);
        Require(files.committed);
        Require(files.output.size() == static_cast<std::size_t>(header.plainLength));
        Require(kelvane::Crc32Of(files.output.data(), static_cast<uint32_t>(files.output.size())) ==
                header.dataCheck);
    } else {
        Require(!files.committed);
    }

    // The same checks through a ring of three blocks, which wraps many times.
    MemoryFiles verifyFiles(bytes);
    Require(kelvane::VerifyCryptedFile("in.cry", kPassword, HooksFor(verifyFiles, 24)) ==
            decrypted);
    Require(verifyFiles.output.empty() && !verifyFiles.committed);
    return 0;
}
