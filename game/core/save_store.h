#pragma once
// Where saves live and how they are written: one file per slot,
// "<folder>/<slot>.json", written atomically (a temporary file beside it,
// flushed to the disk, renamed over it) with the file it replaces kept as
// "<slot>.json.bak".

#include <string>
#include <string_view>

namespace save_store {

// The slots: three numbered ones, the quick save and the autosave.
inline constexpr const char* kSlots[] = {"1", "2", "3", "quick", "auto"};
bool IsSlot(std::string_view slot);

// The saves folder: `overrideFolder` when not empty, else
// $XDG_DATA_HOME/lumo-rpg/saves, else ~/.local/share/lumo-rpg/saves. Empty
// when there is no home folder. Nothing is created.
std::string SavesFolder(const std::string& overrideFolder);

// "<folder>/<slot>.json" and its backup "<folder>/<slot>.json.bak".
std::string SlotPath(const std::string& folder, std::string_view slot);
std::string BackupPath(const std::string& slotPath);
std::string TemporaryPath(const std::string& slotPath);

// Writes `text` to `path` atomically: the folder is created, the text goes
// to the temporary file and is synced, the current file (if any) becomes the
// backup, and the temporary file is renamed over `path`. At every moment a
// reader finds either the old file or the new one complete. Returns "" on
// success, else what failed (English); the old file is then untouched.
std::string WriteAtomically(const std::string& path, const std::string& text);

// The whole file; false (and `error`) when it cannot be read or is larger
// than `maxBytes`.
bool ReadWhole(const std::string& path, std::string& out, std::string& error, std::size_t maxBytes = 16u << 20);

}  // namespace save_store
