#include "core/save_store.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace save_store {

bool IsSlot(std::string_view slot) {
    for (const char* s : kSlots)
        if (slot == s) return true;
    return false;
}

std::string SavesFolder(const std::string& overrideFolder) {
    if (!overrideFolder.empty()) return overrideFolder;
    const char* data = std::getenv("XDG_DATA_HOME");
    // A relative XDG value is invalid and ignored.
    if (data && data[0] == '/') return (fs::path(data) / "lumo-rpg" / "saves").string();
    const char* home = std::getenv("HOME");
    if (!home || !*home) return {};
    return (fs::path(home) / ".local" / "share" / "lumo-rpg" / "saves").string();
}

std::string SlotPath(const std::string& folder, std::string_view slot) {
    return (fs::path(folder) / (std::string(slot) + ".json")).string();
}
std::string BackupPath(const std::string& slotPath) { return slotPath + ".bak"; }
std::string TemporaryPath(const std::string& slotPath) { return slotPath + ".tmp"; }

namespace {

std::string Errno(const std::string& what) { return what + ": " + std::strerror(errno); }

// Writes and syncs the whole text; "" on success.
std::string WriteSynced(const std::string& path, const std::string& text) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return Errno("cannot create " + path);
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            std::string e = Errno("cannot write " + path);
            ::close(fd);
            return e;
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) {
        std::string e = Errno("cannot flush " + path);
        ::close(fd);
        return e;
    }
    if (::close(fd) != 0) return Errno("cannot close " + path);
    return {};
}

}  // namespace

std::string WriteAtomically(const std::string& path, const std::string& text) {
    std::error_code ec;
    const fs::path target(path);
    if (target.has_parent_path()) {
        fs::create_directories(target.parent_path(), ec);
        if (ec) return "cannot create the folder " + target.parent_path().string() + ": " + ec.message();
    }
    const std::string tmp = TemporaryPath(path);
    if (std::string e = WriteSynced(tmp, text); !e.empty()) {
        fs::remove(tmp, ec);
        return e;
    }
    if (fs::exists(target, ec)) {
        // The backup is a second name of the current file where the file
        // system allows it, else a copy; either way the current file stays
        // in place until the rename below replaces it in one step.
        const std::string bak = BackupPath(path);
        fs::remove(bak, ec);
        if (::link(path.c_str(), bak.c_str()) != 0) fs::copy_file(target, bak, fs::copy_options::overwrite_existing, ec);
    }
    if (std::rename(tmp.c_str(), path.c_str()) != 0) {
        std::string e = Errno("cannot rename " + tmp + " to " + path);
        fs::remove(tmp, ec);
        return e;
    }
    return {};
}

bool ReadWhole(const std::string& path, std::string& out, std::string& error, std::size_t maxBytes) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        error = "no such file";
        return false;
    }
    const auto size = fs::file_size(path, ec);
    if (ec || size > maxBytes) {
        error = ec ? ec.message() : "too large";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    out.assign(static_cast<std::size_t>(size), '\0');
    if (!in || !in.read(out.data(), static_cast<std::streamsize>(size))) {
        error = "cannot read";
        return false;
    }
    return true;
}

}  // namespace save_store
