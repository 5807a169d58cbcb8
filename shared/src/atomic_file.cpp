#include "shared/atomic_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace files {
namespace {

namespace fs = std::filesystem;

WriteOutcome Fail(std::string why) {
    WriteOutcome r;
    r.ok = false;
    r.error = std::move(why);
    return r;
}

}  // namespace

WriteOutcome WriteFileAtomically(const std::string& utf8Path, std::string_view bytes) {
    const fs::path target(std::u8string(utf8Path.begin(), utf8Path.end()));
    fs::path temp = target;
    temp += ".tmp";
    std::error_code ec;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return Fail("cannot create the temporary file beside it");
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            fs::remove(temp, ec);
            return Fail("write error");
        }
    }
    fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return Fail("cannot replace the file: " + ec.message());
    }
    return {};
}

}  // namespace files
