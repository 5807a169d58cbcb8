// The map file cipher.
//
// The enciphered form is the text followed by its CRC-32 (zlib's, four bytes,
// least significant first), every byte XORed with a keystream byte. The
// keystream comes from a 32-bit linear congruential generator (Numerical
// Recipes constants) seeded with the FNV-1a hash of the password; key byte i
// is the generator's top byte XOR the password character at position i mod 6.
// The stream depends only on the password and the position, so files are the
// same on every build and platform. The cipher keeps casual editing out; the
// check value makes a damaged or foreign file fail instead of reading as a
// map with a changed number or name.

#include "shared/wdm_map.h"

#include <zlib.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace wdm {
namespace {

constexpr std::size_t kCheckBytes = 4;

std::uint32_t Seed(std::string_view password) {
    std::uint32_t h = 2166136261u;
    for (unsigned char c : password) {
        h ^= c;
        h *= 16777619u;
    }
    return h;
}

// Eight key bytes at a time are XORed as one 64-bit word, first byte lowest.
static_assert(std::endian::native == std::endian::little);

constexpr std::uint32_t kMul = 1664525u, kAdd = 1013904223u;
// Eight generators side by side, each eight steps ahead of the last: lane k
// gives the key of byte i + k. Stepping eight lanes at once keeps the
// multiplications independent of each other.
constexpr std::size_t kLanes = 8;
// The password repeats every 6 bytes and the lanes every 8: a block of 24
// bytes sees the same password bytes in the same lanes.
constexpr std::size_t kPatternBytes = 24;

struct Keystream {
    std::uint32_t lane[kLanes];
    std::uint32_t mul = 1, add = 0;  // eight steps at once
    unsigned char pattern[kPatternBytes];
    std::size_t phase = 0;           // position in the pattern of the next block

    Keystream() {
        std::uint32_t state = Seed(kPassword);
        for (std::size_t k = 0; k < kLanes; ++k) {
            state = state * kMul + kAdd;
            lane[k] = state;
            mul *= kMul;
            add = add * kMul + kAdd;
        }
        for (std::size_t i = 0; i < kPatternBytes; ++i)
            pattern[i] = static_cast<unsigned char>(kPassword[i % kPassword.size()]);
    }
    // Key bytes of the next eight positions, the first in the lowest byte.
    std::uint64_t Next8() {
        std::uint64_t key = 0;
        for (std::size_t k = 0; k < kLanes; ++k) {
            key |= static_cast<std::uint64_t>((lane[k] >> 24) ^ pattern[phase + k]) << (8 * k);
            lane[k] = lane[k] * mul + add;
        }
        phase = phase + kLanes == kPatternBytes ? 0 : phase + kLanes;
        return key;
    }
};

// to[i] = from[i] ^ key[i] for n bytes (to may be from); the keystream goes on
// from where the last call left it, in steps of 8 bytes (only the last call
// may end elsewhere).
void ApplyStream(Keystream& ks, const char* from, char* to, std::size_t n) {
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t v;
        std::memcpy(&v, from + i, 8);
        v ^= ks.Next8();
        std::memcpy(to + i, &v, 8);
    }
    if (i < n) {
        const std::uint64_t key = ks.Next8();
        for (std::size_t k = 0; i < n; ++i, ++k)
            to[i] = static_cast<char>(from[i] ^ static_cast<char>(key >> (8 * k)));
    }
}

// The keystream of the first 256 KB, made once: most map files are smaller,
// and XOR with a table is several times quicker than running the generators.
constexpr std::size_t kTableBytes = 256 * 1024;
static_assert(kTableBytes % kLanes == 0);

struct KeyTable {
    unsigned char bytes[kTableBytes];
    Keystream after;  // the generators at the table's end
    KeyTable() {
        for (std::size_t i = 0; i < kTableBytes; i += 8) {
            const std::uint64_t key = after.Next8();
            std::memcpy(bytes + i, &key, 8);
        }
    }
};

const KeyTable& Table() {
    static const KeyTable table;
    return table;
}

// Enciphers (or deciphers) consecutive pieces of one text.
class KeyCursor {
public:
    // to[i] = from[i] ^ key[position + i]; every piece but the last a
    // multiple of 8 bytes long.
    void Apply(const char* from, char* to, std::size_t n) {
        if (m_position < kTableBytes) {
            const KeyTable& table = Table();
            const std::size_t m = std::min(n, kTableBytes - m_position);
            const unsigned char* key = table.bytes + m_position;
            std::size_t i = 0;
            for (; i + 8 <= m; i += 8) {
                std::uint64_t v, k;
                std::memcpy(&v, from + i, 8);
                std::memcpy(&k, key + i, 8);
                v ^= k;
                std::memcpy(to + i, &v, 8);
            }
            for (; i < m; ++i) to[i] = static_cast<char>(from[i] ^ static_cast<char>(key[i]));
            m_position += m;
            from += m;
            to += m;
            n -= m;
            if (m_position == kTableBytes) m_stream = table.after;
        }
        if (n > 0) {
            ApplyStream(m_stream, from, to, n);
            m_position += n;
        }
    }

private:
    std::size_t m_position = 0;
    Keystream m_stream;
};

// Blocks a multiple of 8 bytes and small enough to stay in the cache between
// the cipher and the check value.
constexpr std::size_t kBlock = 16 * 1024;

std::uint32_t Crc(std::uint32_t crc, const char* data, std::size_t n) {
    return static_cast<std::uint32_t>(crc32(crc, reinterpret_cast<const Bytef*>(data), static_cast<uInt>(n)));
}

}  // namespace

std::uint32_t CheckValue(std::string_view text) {
    // zlib takes lengths as uInt; feed it in slices so any size works.
    std::uint32_t crc = static_cast<std::uint32_t>(crc32(0L, Z_NULL, 0));
    while (!text.empty()) {
        const std::size_t n = std::min<std::size_t>(text.size(), 1u << 30);
        crc = Crc(crc, text.data(), n);
        text.remove_prefix(n);
    }
    return crc;
}

void EncipherInPlace(std::string& text) {
    const std::size_t textSize = text.size();
    text.resize(textSize + kCheckBytes);
    char* p = text.data();
    KeyCursor key;
    std::uint32_t crc = static_cast<std::uint32_t>(crc32(0L, Z_NULL, 0));
    // Each block is summed, then enciphered, while it is in the cache.
    std::size_t i = 0;
    for (; i + kBlock <= textSize; i += kBlock) {
        crc = Crc(crc, p + i, kBlock);
        key.Apply(p + i, p + i, kBlock);
    }
    crc = Crc(crc, p + i, textSize - i);
    for (std::size_t k = 0; k < kCheckBytes; ++k) p[textSize + k] = static_cast<char>((crc >> (8 * k)) & 0xFFu);
    key.Apply(p + i, p + i, text.size() - i);
}

std::string Encipher(std::string_view plain) {
    std::string out(plain);
    EncipherInPlace(out);
    return out;
}

namespace {

// Deciphers n bytes from `from` into `to` (which may be `from`) and checks
// the check value at their end.
bool DecipherInto(const char* from, char* to, std::size_t n) {
    if (n < kCheckBytes) return false;
    KeyCursor key;
    std::uint32_t crc = static_cast<std::uint32_t>(crc32(0L, Z_NULL, 0));
    const std::size_t textSize = n - kCheckBytes;
    std::size_t i = 0;
    for (; i + kBlock <= textSize; i += kBlock) {
        key.Apply(from + i, to + i, kBlock);
        crc = Crc(crc, to + i, kBlock);
    }
    key.Apply(from + i, to + i, n - i);
    crc = Crc(crc, to + i, textSize - i);
    std::uint32_t stored = 0;
    for (std::size_t k = 0; k < kCheckBytes; ++k) {
        stored |= static_cast<std::uint32_t>(static_cast<unsigned char>(to[textSize + k])) << (8 * k);
    }
    return stored == crc;
}

}  // namespace

bool Decipher(std::string_view cipher, std::string& plain) {
    if (cipher.size() < kCheckBytes) return false;
    std::string bytes(cipher.size(), '\0');
    if (!DecipherInto(cipher.data(), bytes.data(), cipher.size())) return false;
    bytes.resize(cipher.size() - kCheckBytes);
    plain = std::move(bytes);
    return true;
}

bool DecipherInPlace(std::string& bytes) {
    if (!DecipherInto(bytes.data(), bytes.data(), bytes.size())) return false;
    bytes.resize(bytes.size() - kCheckBytes);
    return true;
}

}  // namespace wdm
