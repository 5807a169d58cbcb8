#pragma once
// Reading a whole file into memory, for every reader of the game's small text
// files (scripts, data tables, input files).

#include <cstddef>
#include <optional>
#include <string>

// The bytes of the file at `fsPath` (a UTF-8 file-system path). nullopt when
// the file cannot be opened or read, or holds more than `maxBytes` bytes, so
// a hostile file never makes the game allocate beyond that bound (a content
// file that fails is named once through asset_log). An empty file gives an
// empty string.
std::optional<std::string> ReadFileBytes(const std::string& fsPath, std::size_t maxBytes);
