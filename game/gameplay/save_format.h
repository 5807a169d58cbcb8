#pragma once
// The save file: a SaveGame as UTF-8 JSON, indented for people to read,
// with a "format" number at the top. Items and skills are stored by number
// and name.
//
// Reading treats the file as hostile. It parses and checks everything before
// it returns a SaveGame: wrong types, numbers out of their range, a map name
// that cannot be a file name under the map folder, missing fields, or
// truncated text each refuse the whole file and name the first bad field.
// A file whose format number is above SaveGame::kFormat is refused as newer.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gameplay/save_game.h"

class DataTables;

// The JSON text (UTF-8) of a save.
std::string WriteSaveJson(const SaveGame& save);

struct SaveReadResult {
    std::optional<SaveGame> save;  // set when the file was good
    std::string badField;          // the first bad field, as a path ("bag[3].number"); "" for a parse error
    std::string error;             // what is wrong, in English (for logs and tests)
    bool newerFormat = false;      // written by a newer game
    // Items and skills whose number the tables no longer give that name
    // (GBK names as saved); they were left out of `save`.
    std::vector<std::string> dropped;
};

// Parses and checks `json`. Items and skills are checked against `tables`:
// a cell whose number no longer carries its saved name is emptied and its
// name listed in `dropped` (the file is still good).
SaveReadResult ReadSaveJson(std::string_view json, const DataTables& tables);

// Whether `gbkName` can name a map file under the map folder: not empty, no
// folder separators, no "..", at most 255 bytes.
bool IsPlainMapFileName(std::string_view gbkName);
