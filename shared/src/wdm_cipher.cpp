// The map file cipher.
//
// Every byte is XORed with a keystream byte, so enciphering and deciphering
// are the same operation. The keystream comes from a 32-bit linear
// congruential generator (Numerical Recipes constants) seeded with the FNV-1a
// hash of the password; key byte i is the generator's top byte XOR the
// password character at position i mod 6. The stream depends only on the
// password and the position, so files are the same on every build and
// platform. It keeps casual editing out, nothing more.

#include "shared/wdm_map.h"

#include <cstdint>

namespace wdm {
namespace {

std::uint32_t Seed(std::string_view password) {
    std::uint32_t h = 2166136261u;
    for (unsigned char c : password) {
        h ^= c;
        h *= 16777619u;
    }
    return h;
}

std::string Apply(std::string_view in) {
    std::string out(in.size(), '\0');
    std::uint32_t state = Seed(kPassword);
    for (std::size_t i = 0; i < in.size(); ++i) {
        state = state * 1664525u + 1013904223u;
        const auto key = static_cast<unsigned char>((state >> 24) ^ static_cast<unsigned char>(kPassword[i % kPassword.size()]));
        out[i] = static_cast<char>(static_cast<unsigned char>(in[i]) ^ key);
    }
    return out;
}

}  // namespace

std::string Encipher(std::string_view plain) { return Apply(plain); }
std::string Decipher(std::string_view cipher) { return Apply(cipher); }

}  // namespace wdm
