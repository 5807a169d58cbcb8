#include "core/file_bytes.h"

#include <fstream>

#include "core/asset_log.h"

namespace {

std::optional<std::string> Read(const std::string& fsPath, std::size_t maxBytes) {
    std::ifstream in(fsPath, std::ios::binary);
    if (!in) return std::nullopt;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<unsigned long long>(size) > maxBytes) return std::nullopt;
    in.seekg(0, std::ios::beg);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (size > 0 && !in.read(bytes.data(), size)) return std::nullopt;
    return bytes;
}

}  // namespace

std::optional<std::string> ReadFileBytes(const std::string& fsPath, std::size_t maxBytes) {
    std::optional<std::string> bytes = Read(fsPath, maxBytes);
    if (!bytes) asset_log::CannotLoad("file", fsPath);
    return bytes;
}
