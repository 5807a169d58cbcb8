#pragma once
// Content files the game could not use, one line each on the error stream.
//
// A missing or broken picture, sound, font or text file does not stop the
// game: the picture is not drawn, the sound not heard, the script runs as
// empty. So that a damaged content pack still shows its holes, each such
// file is named once, the first time it is asked for ("game: missing picture
// PATH", "game: broken sound PATH"), however often it is asked for again.
//
// Reporting is on only between Enable and Disable (the running game turns it
// on for its data folder), and only for files inside that folder.

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace asset_log {

// Reports files under `dataFolder` (a file-system path) to `out` from now on;
// forgets what was reported before.
void Enable(const std::string& dataFolder, std::FILE* out = stderr);
void Disable();

// `what` ("picture", "sound", ...) at `fsPath` could not be loaded: named as
// missing when there is no such file, else as broken.
void CannotLoad(std::string_view what, const std::string& fsPath);
// `what` at `fsPath` was read, but what it holds cannot be used.
void Broken(std::string_view what, const std::string& fsPath);

// Files named since Enable.
std::size_t ReportedCount();

}  // namespace asset_log
