#pragma once
// Where the editor finds its data and keeps its own files. main() fills it
// from the command line; tests point every path into a temporary folder.

#include <QString>

namespace editor {

struct EditorOptions {
    QString programFolder;  // the folder of the program; maps name "\data\..." below it
    QString dataFolder;     // empty: programFolder/data
    QString settingsFile;   // recent files (INI); empty: no recent files kept
    QString recoveryFolder; // autosave folder, one recovery file per map; empty: no autosave
    QString gameProgram;    // the game started by "试玩"; empty: the game beside the editor
    int autosaveMs = 60000;
};

}  // namespace editor
