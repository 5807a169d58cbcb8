#include "gbk_file.h"

#include "shared/gbk.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace contentgen {

namespace {

// Length of the UTF-8 sequence starting with `lead`, 0 when it cannot start one.
std::size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

std::string Where(int line, int column) {
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

}  // namespace

bool Utf8ToGbkStrict(std::string_view text, std::string* gbkOut, std::string* error) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::string out;
    out.reserve(text.size());
    int line = 1, column = 1;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const std::size_t len = SequenceLength(c);
        bool valid = len > 0 && i + len <= text.size();
        for (std::size_t k = 1; valid && k < len; ++k)
            valid = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
        if (!valid) {
            if (error) *error = "invalid UTF-8 at " + Where(line, column);
            return false;
        }
        const std::string_view ch = text.substr(i, len);
        if (len == 1) {
            out += static_cast<char>(c);
        } else {
            // The shared converter turns what GBK cannot hold into '?'.
            const std::string g = gbk::FromUtf8(ch);
            if (g.size() != 2 || !gbk::IsLeadByte(static_cast<unsigned char>(g[0]))) {
                if (error) *error = "character '" + std::string(ch) + "' has no GBK code at " + Where(line, column);
                return false;
            }
            out += g;
        }
        if (c == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
        i += len;
    }
    *gbkOut = std::move(out);
    return true;
}

bool ConvertFileToGbk(const std::string& inPath, const std::string& outPath, std::string* error) {
    std::ifstream in(inPath, std::ios::binary);
    if (!in) {
        if (error) *error = "cannot read " + inPath;
        return false;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string converted, why;
    if (!Utf8ToGbkStrict(text, &converted, &why)) {
        if (error) *error = inPath + ": " + why;
        return false;
    }
    namespace fs = std::filesystem;
    const fs::path target(outPath);
    std::error_code ec;
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
    const fs::path temp = target.string() + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(converted.data(), static_cast<std::streamsize>(converted.size()));
        out.flush();
        if (!out) {
            out.close();
            fs::remove(temp, ec);
            if (error) *error = "cannot write " + outPath;
            return false;
        }
    }
    fs::rename(temp, target, ec);
    if (ec) {
        fs::remove(temp, ec);
        if (error) *error = "cannot write " + outPath;
        return false;
    }
    return true;
}

}  // namespace contentgen
