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
#include <cstdint>

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

void ApplyKeystream(std::string& bytes) {
    std::uint32_t state = Seed(kPassword);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        state = state * 1664525u + 1013904223u;
        const auto key = static_cast<unsigned char>((state >> 24) ^ static_cast<unsigned char>(kPassword[i % kPassword.size()]));
        bytes[i] = static_cast<char>(static_cast<unsigned char>(bytes[i]) ^ key);
    }
}

}  // namespace

std::uint32_t CheckValue(std::string_view text) {
    // zlib takes lengths as uInt; feed it in slices so any size works.
    uLong crc = crc32(0L, Z_NULL, 0);
    while (!text.empty()) {
        const std::size_t n = std::min<std::size_t>(text.size(), 1u << 30);
        crc = crc32(crc, reinterpret_cast<const Bytef*>(text.data()), static_cast<uInt>(n));
        text.remove_prefix(n);
    }
    return static_cast<std::uint32_t>(crc);
}

std::string Encipher(std::string_view plain) {
    std::string out(plain);
    const std::uint32_t check = CheckValue(plain);
    for (std::size_t i = 0; i < kCheckBytes; ++i) out += static_cast<char>((check >> (8 * i)) & 0xFFu);
    ApplyKeystream(out);
    return out;
}

bool Decipher(std::string_view cipher, std::string& plain) {
    if (cipher.size() < kCheckBytes) return false;
    std::string bytes(cipher);
    ApplyKeystream(bytes);
    const std::size_t textSize = bytes.size() - kCheckBytes;
    std::uint32_t stored = 0;
    for (std::size_t i = 0; i < kCheckBytes; ++i) {
        stored |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[textSize + i])) << (8 * i);
    }
    bytes.resize(textSize);
    if (stored != CheckValue(bytes)) return false;
    plain = std::move(bytes);
    return true;
}

}  // namespace wdm
