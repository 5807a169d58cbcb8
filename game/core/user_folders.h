#pragma once
// Folders of the user's desktop the game writes into.

#include <string>

namespace user_folders {

// The user's pictures folder: XDG_PICTURES_DIR from the user-dirs file
// ($XDG_CONFIG_HOME/user-dirs.dirs, else ~/.config/user-dirs.dirs), else
// ~/Pictures; "$HOME" in the file is expanded. Created when missing. Empty
// when there is no home folder or it cannot be created.
std::string PicturesFolder();

// A PNG name in `folder` that does not exist yet, "lumo-<stamp>.png" or
// "lumo-<stamp>-<n>.png"; `stamp` is any file-name-safe text (a date).
std::string FreeScreenshotPath(const std::string& folder, const std::string& stamp);

// The game's settings folder: `overrideFolder` when not empty, else
// $XDG_CONFIG_HOME/lumo-rpg (an absolute value only), else
// ~/.config/lumo-rpg. Empty when there is no home folder. Nothing is created.
std::string ConfigFolder(const std::string& overrideFolder);

}  // namespace user_folders
