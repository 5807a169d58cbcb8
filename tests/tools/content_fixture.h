#pragma once
// Builds the generated content once per test run into a temporary folder
// and offers small readers for the files in it.

#include "generate.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace content_test {

// True when this process drew the pack itself (and so removes it at the end).
inline bool& PackIsOwn() {
    static bool own = false;
    return own;
}

// The generated pack. Under CTest one test draws it once for the whole run
// (LUMO_CONTENT_PACK names its folder); a test binary run by hand draws its
// own into a temporary folder.
inline const std::filesystem::path& PackDir() {
    static const std::filesystem::path dir = [] {
        const char* shared = std::getenv("LUMO_CONTENT_PACK");
        if (shared != nullptr && *shared != '\0' && std::filesystem::exists(std::filesystem::path(shared) / "done"))
            return std::filesystem::path(shared);
        const auto d = std::filesystem::temp_directory_path() /
                       ("lumo_content_" + std::to_string(static_cast<long long>(::getpid())));
        std::filesystem::remove_all(d);
        contentgen::Output out(d);
        contentgen::GenerateAll(out);
        EXPECT_EQ(out.failures(), 0);
        PackIsOwn() = true;
        return d;
    }();
    return dir;
}

// Removes the folder at the end of the run when this process drew it.
class PackCleaner : public ::testing::Environment {
public:
    void TearDown() override {
        if (!PackIsOwn()) return;
        std::error_code ec;
        std::filesystem::remove_all(PackDir(), ec);
    }
};

inline std::filesystem::path P(const std::string& utf8Relative) { return PackDir() / utf8Relative; }

inline std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

inline std::string ReadText(const std::filesystem::path& p) {
    const auto b = ReadBytes(p);
    return std::string(b.begin(), b.end());
}

struct Size {
    int w = -1, h = -1;
    bool operator==(const Size&) const = default;
};

// Size from the PNG header; {-1, -1} when the file is not a PNG.
inline Size PngSize(const std::filesystem::path& p) {
    const auto b = ReadBytes(p);
    static const std::uint8_t sig[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (b.size() < 24 || !std::equal(sig, sig + 8, b.begin()) || std::string(b.begin() + 12, b.begin() + 16) != "IHDR")
        return {};
    auto be32 = [&](std::size_t i) { return (b[i] << 24) | (b[i + 1] << 16) | (b[i + 2] << 8) | b[i + 3]; };
    return Size{static_cast<int>(be32(16)), static_cast<int>(be32(20))};
}

inline void PrintTo(const Size& s, std::ostream* os) { *os << s.w << "x" << s.h; }

}  // namespace content_test
