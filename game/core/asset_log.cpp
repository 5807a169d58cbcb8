#include "core/asset_log.h"

#include <filesystem>
#include <unordered_set>

namespace asset_log {
namespace {

// One reporter for the process: loads happen in every layer of the game,
// and a missing file is a fact about the disk, not about one object.
struct Reporter {
    bool on = false;
    std::string folder;  // with a trailing separator
    std::FILE* out = nullptr;
    std::unordered_set<std::string> named;
};

Reporter& TheReporter() {
    static Reporter reporter;
    return reporter;
}

void Name(std::string_view state, std::string_view what, const std::string& fsPath) {
    Reporter& r = TheReporter();
    if (!r.on || fsPath.compare(0, r.folder.size(), r.folder) != 0) return;
    if (!r.named.insert(fsPath).second) return;
    std::fprintf(r.out, "game: %.*s %.*s %s\n", static_cast<int>(state.size()), state.data(),
                 static_cast<int>(what.size()), what.data(), fsPath.c_str());
    std::fflush(r.out);
}

}  // namespace

void Enable(const std::string& dataFolder, std::FILE* out) {
    Reporter& r = TheReporter();
    r.on = true;
    r.folder = dataFolder;
    if (!r.folder.empty() && r.folder.back() != '/') r.folder += '/';
    r.out = out;
    r.named.clear();
}

void Disable() {
    Reporter& r = TheReporter();
    r.on = false;
    r.named.clear();
}

void CannotLoad(std::string_view what, const std::string& fsPath) {
    if (!TheReporter().on) return;
    std::error_code ec;
    const bool exists = std::filesystem::exists(std::filesystem::path(std::u8string(fsPath.begin(), fsPath.end())), ec);
    Name(exists ? "broken" : "missing", what, fsPath);
}

void Broken(std::string_view what, const std::string& fsPath) { Name("broken", what, fsPath); }

std::size_t ReportedCount() { return TheReporter().named.size(); }

}  // namespace asset_log
