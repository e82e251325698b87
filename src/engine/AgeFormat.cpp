// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/AgeFormat.h"

#include "crypto/Translate.h"
#include "platform/ErrorText.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sodium.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane::age {
namespace {

constexpr char kBase64Alphabet[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kBech32Alphabet[] = "qpzry9x8gf2tvdw0s3jn54khce6mua7l";
constexpr std::string_view kVersionLine = "age-encryption.org/v1\n";
constexpr std::string_view kScryptLabel = "age-encryption.org/v1/scrypt";
constexpr std::string_view kX25519Info = "age-encryption.org/v1/X25519";
constexpr std::size_t kStanzaColumns = 64;
constexpr std::size_t kTagSize = crypto_aead_chacha20poly1305_ietf_ABYTES;
// A recipient line is some sixty bytes, a file of them a few KiB: the
// bounds only keep an endless or wrong file from filling the memory.
constexpr std::size_t kLongestRecipientLine = 4096;
constexpr std::size_t kLargestRecipientsFile = std::size_t{1} << 20;

std::string Base64(const uint8_t* data, std::size_t size, bool pad) {
    std::string text;
    text.reserve((size + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= size; i += 3) {
        const uint32_t group = uint32_t{data[i]} << 16 | uint32_t{data[i + 1]} << 8 | data[i + 2];
        for (int shift = 18; shift >= 0; shift -= 6)
            text += kBase64Alphabet[(group >> shift) & 63];
    }
    const std::size_t rest = size - i;
    if (rest == 0)
        return text;
    uint32_t group = uint32_t{data[i]} << 16;
    if (rest == 2)
        group |= uint32_t{data[i + 1]} << 8;
    // The unused low bits are zero, so the encoding is the canonical one.
    text += kBase64Alphabet[(group >> 18) & 63];
    text += kBase64Alphabet[(group >> 12) & 63];
    if (rest == 2)
        text += kBase64Alphabet[(group >> 6) & 63];
    if (pad)
        text.append(3 - rest, '=');
    return text;
}

uint32_t Bech32Polymod(const std::vector<uint8_t>& values) {
    constexpr uint32_t kGenerators[] = {0x3b6a57b2, 0x26508e6d, 0x1ea119fa, 0x3d4233dd, 0x2a1462b3};
    uint32_t check = 1;
    for (const uint8_t value : values) {
        const uint32_t top = check >> 25;
        check = (check & 0x1ffffff) << 5 ^ value;
        for (int i = 0; i < 5; ++i)
            if ((top >> i) & 1)
                check ^= kGenerators[i];
    }
    return check;
}

// Regroups 5-bit values into bytes; the left-over bits must be fewer than
// five and zero, or the text was not made from whole bytes.
bool FiveBitsToBytes(const std::vector<uint8_t>& values, std::vector<uint8_t>& bytes) {
    uint32_t accumulator = 0;
    int bits = 0;
    for (const uint8_t value : values) {
        accumulator = (accumulator << 5 | value) & 0xfff;
        bits += 5;
        if (bits >= 8) {
            bits -= 8;
            bytes.push_back(static_cast<uint8_t>(accumulator >> bits));
        }
    }
    return bits < 5 && (accumulator & ((1u << bits) - 1)) == 0;
}

// Seals `plain` under `key` with the all-zero nonce, as the stanzas do.
std::vector<uint8_t> SealWithZeroNonce(const uint8_t key[kKeySize], const uint8_t* plain,
                                       std::size_t size) {
    std::vector<uint8_t> sealed(size + kTagSize);
    const uint8_t nonce[crypto_aead_chacha20poly1305_ietf_NPUBBYTES] = {};
    crypto_aead_chacha20poly1305_ietf_encrypt(sealed.data(), nullptr, plain, size, nullptr, 0,
                                              nullptr, nonce, key);
    return sealed;
}

void AppendStanza(std::string& header, const Stanza& stanza) {
    header += "->";
    for (const std::string& argument : stanza.arguments)
        header += ' ' + argument;
    header += '\n';
    const std::string body = Base64Unpadded(stanza.body.data(), stanza.body.size());
    // The body ends with a line shorter than 64 columns, empty if need be.
    for (std::size_t at = 0;; at += kStanzaColumns) {
        const std::string line = body.substr(std::min(at, body.size()), kStanzaColumns);
        header += line + '\n';
        if (line.size() < kStanzaColumns)
            break;
    }
}

std::string Trimmed(const std::string& line) {
    const auto first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

std::string UnreadableText(const std::string& named) {
    const std::string reason = ErrorText(errno);
    // TRANSLATORS: %1 is the file's name in quotes, %2 the system's reason.
    return FormatText(Tr("AgeFormat", "couldn't read the recipients file %1: %2"), {named, reason});
}

// The whole of a recipients file. Only a regular file is read: a FIFO
// would wait for a writer, a device may never end. Opened without waiting,
// so a FIFO put in its place meanwhile is refused too.
bool ReadWholeSmallFile(const std::string& path, std::string& text, std::string& problem) {
    const std::string named = "\"" + path + "\"";
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        problem = UnreadableText(named);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        problem = FormatText(S_ISDIR(st.st_mode)
                                 // TRANSLATORS: %1 is the file's name in quotes.
                                 ? Tr("AgeFormat", "%1 is a folder; a recipients file holds one "
                                                   "recipient a line")
                                 : Tr("AgeFormat", "%1 is not a regular file; a recipients file "
                                                   "holds one recipient a line"),
                             {named});
        ::close(fd);
        return false;
    }
    // Read to the end, not to the size: the file may grow meanwhile.
    char piece[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd, piece, sizeof piece);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            problem = UnreadableText(named);
        if (got <= 0)
            break;
        text.append(piece, static_cast<std::size_t>(got));
        if (text.size() > kLargestRecipientsFile) {
            problem = FormatText(
                Tr("AgeFormat", "%1 is larger than 1 MiB; it can't be a recipients file"), {named});
            break;
        }
    }
    ::close(fd);
    return problem.empty();
}

} // namespace

bool CryptoReady() {
    static const bool ready = sodium_init() >= 0;
    return ready;
}

void RandomBytes(uint8_t* out, std::size_t size) {
    randombytes_buf(out, size);
}

std::string Base64Unpadded(const uint8_t* data, std::size_t size) {
    return Base64(data, size, false);
}

std::string Base64Padded(const uint8_t* data, std::size_t size) {
    return Base64(data, size, true);
}

bool Bech32Decode(std::string_view text, std::string& hrp, std::vector<uint8_t>& data) {
    bool lower = false, upper = false;
    for (const char c : text) {
        if (c < 33 || c > 126)
            return false;
        lower |= c >= 'a' && c <= 'z';
        upper |= c >= 'A' && c <= 'Z';
    }
    const auto separator = text.rfind('1');
    if ((lower && upper) || separator == std::string_view::npos || separator == 0 ||
        separator + 7 > text.size())
        return false;
    std::string folded(text);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    hrp = folded.substr(0, separator);
    std::vector<uint8_t> values;
    for (const char c : hrp)
        values.push_back(static_cast<uint8_t>(c >> 5));
    values.push_back(0);
    for (const char c : hrp)
        values.push_back(static_cast<uint8_t>(c & 31));
    const std::size_t dataStart = values.size();
    for (std::size_t i = separator + 1; i < folded.size(); ++i) {
        const char* found = std::strchr(kBech32Alphabet, folded[i]);
        if (found == nullptr || *found == '\0')
            return false;
        values.push_back(static_cast<uint8_t>(found - kBech32Alphabet));
    }
    if (Bech32Polymod(values) != 1)
        return false;
    const std::vector<uint8_t> fiveBit(values.begin() + static_cast<std::ptrdiff_t>(dataStart),
                                       values.end() - 6);
    data.clear();
    return FiveBitsToBytes(fiveBit, data);
}

bool ParseRecipient(std::string_view text, Key32& publicKey) {
    std::string hrp;
    std::vector<uint8_t> data;
    // Recipients are written in lower case; an upper-case one is a mistake.
    if (!Bech32Decode(text, hrp, data) || hrp != "age" || text.substr(0, 3) != "age" ||
        data.size() != kKeySize)
        return false;
    std::memcpy(publicKey.data(), data.data(), kKeySize);
    return true;
}

bool LowOrderKey(const Key32& publicKey) {
    // Any secret tells: one is a multiple of the small subgroup's order, so
    // with such a key it always comes out all zeros, which libsodium refuses.
    if (!CryptoReady())
        return false; // the conversion is refused for that anyway
    SecretBytes<kKeySize> secret, shared;
    RandomBytes(secret.data(), kKeySize);
    return crypto_scalarmult(shared.data(), secret.data(), publicKey.data()) != 0;
}

bool ParseRecipients(std::string_view text, std::string_view name, std::vector<Key32>& recipients,
                     std::string& problem) {
    const std::string named = "\"" + std::string(name) + "\"";
    std::size_t found = 0;
    std::size_t number = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        ++number;
        if (end - at > kLongestRecipientLine) {
            const std::string pattern =
                // TRANSLATORS: %1 is the file's name in quotes, %2 the line's number, %3 a number.
                Tr("AgeFormat", "%1 line %2 is longer than %3 bytes; it can't be a recipient");
            problem = FormatText(
                pattern, {named, std::to_string(number), std::to_string(kLongestRecipientLine)});
            return false;
        }
        const std::string entry = Trimmed(std::string(text.substr(at, end - at)));
        at = end + 1;
        if (entry.empty() || entry[0] == '#')
            continue;
        Key32 key{};
        if (!ParseRecipient(entry, key)) {
            const std::string pattern =
                // TRANSLATORS: %1 is the file's name in quotes, %2 the line's number.
                Tr("AgeFormat", "%1 line %2: not an X25519 age recipient (age1...)");
            problem = FormatText(pattern, {named, std::to_string(number)});
            return false;
        }
        if (LowOrderKey(key)) {
            // TRANSLATORS: %1 is the file's name in quotes, %2 the line's number.
            problem = FormatText(Tr("AgeFormat", "%1 line %2: the recipient is not a valid key (of "
                                                 "low order: the secret shared with it would be "
                                                 "all zeros)"),
                                 {named, std::to_string(number)});
            return false;
        }
        recipients.push_back(key);
        ++found;
    }
    if (found == 0) {
        problem = FormatText(Tr("AgeFormat", "%1 holds no recipient"), {named});
        return false;
    }
    return true;
}

bool ReadRecipientsFile(const std::string& path, std::vector<Key32>& recipients,
                        std::string& problem) {
    std::string text;
    return ReadWholeSmallFile(path, text, problem) &&
           ParseRecipients(text, path, recipients, problem);
}

void HkdfSha256(const uint8_t* ikm, std::size_t ikmSize, const uint8_t* salt, std::size_t saltSize,
                std::string_view info, uint8_t out[kKeySize]) {
    // Extract: the pseudo-random key is the HMAC of the input under the salt.
    SecretBytes<crypto_auth_hmacsha256_BYTES> prk;
    crypto_auth_hmacsha256_state state;
    const uint8_t noSalt = 0;
    crypto_auth_hmacsha256_init(&state, saltSize == 0 ? &noSalt : salt, saltSize);
    crypto_auth_hmacsha256_update(&state, ikm, ikmSize);
    crypto_auth_hmacsha256_final(&state, prk.data());
    // Expand: one block is all 32 bytes need, T(1) = HMAC(PRK, info || 0x01).
    const uint8_t counter = 1;
    crypto_auth_hmacsha256_init(&state, prk.data(), prk.bytes.size());
    crypto_auth_hmacsha256_update(&state, reinterpret_cast<const uint8_t*>(info.data()),
                                  info.size());
    crypto_auth_hmacsha256_update(&state, &counter, 1);
    crypto_auth_hmacsha256_final(&state, out);
    SecureWipe(&state, sizeof state);
}

bool ScryptStanza(const FileKey& fileKey, std::string_view passphrase,
                  const uint8_t salt[kSaltSize], int workFactor, Stanza& stanza) {
    // In a fixed array: built in a vector, g++ 12 warns of writes out of
    // bounds that only its inlining sees.
    uint8_t labelledSalt[kScryptLabel.size() + kSaltSize];
    std::memcpy(labelledSalt, kScryptLabel.data(), kScryptLabel.size());
    std::memcpy(labelledSalt + kScryptLabel.size(), salt, kSaltSize);
    SecretBytes<kKeySize> wrapKey;
    if (workFactor < 1 || workFactor > 62 ||
        crypto_pwhash_scryptsalsa208sha256_ll(
            reinterpret_cast<const uint8_t*>(passphrase.data()), passphrase.size(), labelledSalt,
            sizeof labelledSalt, uint64_t{1} << workFactor, 8, 1, wrapKey.data(), kKeySize) != 0)
        return false;
    stanza.arguments = {"scrypt", Base64Unpadded(salt, kSaltSize), std::to_string(workFactor)};
    stanza.body = SealWithZeroNonce(wrapKey.data(), fileKey.data(), kFileKeySize);
    return true;
}

bool X25519Stanza(const FileKey& fileKey, const Key32& recipient,
                  const uint8_t ephemeralSecret[kKeySize], Stanza& stanza) {
    uint8_t share[kKeySize];
    SecretBytes<kKeySize> shared;
    crypto_scalarmult_base(share, ephemeralSecret);
    // Fails when the shared secret comes out all zeros (a low-order point).
    if (crypto_scalarmult(shared.data(), ephemeralSecret, recipient.data()) != 0)
        return false;
    uint8_t salt[2 * kKeySize];
    std::memcpy(salt, share, kKeySize);
    std::memcpy(salt + kKeySize, recipient.data(), kKeySize);
    SecretBytes<kKeySize> wrapKey;
    HkdfSha256(shared.data(), kKeySize, salt, sizeof salt, kX25519Info, wrapKey.data());
    stanza.arguments = {"X25519", Base64Unpadded(share, kKeySize)};
    stanza.body = SealWithZeroNonce(wrapKey.data(), fileKey.data(), kFileKeySize);
    return true;
}

std::string HeaderText(const FileKey& fileKey, const std::vector<Stanza>& stanzas) {
    std::string header(kVersionLine);
    for (const Stanza& stanza : stanzas)
        AppendStanza(header, stanza);
    header += "---";
    SecretBytes<kKeySize> macKey;
    HkdfSha256(fileKey.data(), kFileKeySize, nullptr, 0, "header", macKey.data());
    uint8_t mac[crypto_auth_hmacsha256_BYTES];
    crypto_auth_hmacsha256_state state;
    crypto_auth_hmacsha256_init(&state, macKey.data(), kKeySize);
    crypto_auth_hmacsha256_update(&state, reinterpret_cast<const uint8_t*>(header.data()),
                                  header.size());
    crypto_auth_hmacsha256_final(&state, mac);
    SecureWipe(&state, sizeof state);
    return header + ' ' + Base64Unpadded(mac, sizeof mac) + '\n';
}

bool ArmorWriter::Start() {
    if (started_)
        return true;
    started_ = true;
    static constexpr std::string_view kBegin = "-----BEGIN AGE ENCRYPTED FILE-----\n";
    return out_(reinterpret_cast<const uint8_t*>(kBegin.data()), kBegin.size());
}

bool ArmorWriter::EmitLines(const uint8_t* data, std::size_t lines) {
    std::string text;
    text.reserve(lines * 65);
    for (std::size_t i = 0; i < lines; ++i)
        text += Base64Padded(data + i * kLineBytes, kLineBytes) + '\n';
    return out_(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

bool ArmorWriter::Write(const uint8_t* data, std::size_t size) {
    if (!Start())
        return false;
    while (size > 0) {
        if (pendingSize_ == 0 && size >= kLineBytes) {
            const std::size_t lines = size / kLineBytes;
            if (!EmitLines(data, lines))
                return false;
            data += lines * kLineBytes;
            size -= lines * kLineBytes;
            continue;
        }
        const std::size_t take = std::min(size, kLineBytes - pendingSize_);
        std::memcpy(pending_.data() + pendingSize_, data, take);
        pendingSize_ += take;
        data += take;
        size -= take;
        if (pendingSize_ == kLineBytes) {
            pendingSize_ = 0;
            if (!EmitLines(pending_.data(), 1))
                return false;
        }
    }
    return true;
}

bool ArmorWriter::Finish() {
    if (!Start())
        return false;
    std::string tail;
    if (pendingSize_ > 0)
        tail = Base64Padded(pending_.data(), pendingSize_) + '\n';
    pendingSize_ = 0;
    tail += "-----END AGE ENCRYPTED FILE-----\n";
    return out_(reinterpret_cast<const uint8_t*>(tail.data()), tail.size());
}

} // namespace kelvane::age
