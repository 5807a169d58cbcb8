#pragma once
// The game's script host as one object: the main and the level-up Lua
// states with their commands, the six data tables (with the NPC state
// records), the level-up script text, and the services the commands reach
// the game through.
//
// Loading stage 3 calls LoadDataTables; stage 5 runs "\data\脚本\Main.lua"
// with RunScriptFile. Script errors go to the message-box callback.

#include "gameplay/data_tables.h"
#include "gameplay/item_templates.h"
#include "script/script_commands.h"
#include "script/script_services.h"
#include "script/script_state.h"

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

class Random;
namespace paths {
class DataPaths;
}

class ScriptRuntime {
public:
    // Time the six data tables may take together, and Main.lua on its own,
    // while the game loads; every other entry has the states' limit (1 s).
    static constexpr std::chrono::milliseconds kTablesTimeLimit{5000};
    static constexpr std::chrono::milliseconds kMainScriptTimeLimit{5000};

    // `random` is the game's one generator ("取随机数" draws from it and never
    // re-seeds it); it must outlive the runtime.
    explicit ScriptRuntime(Random& random, MessageBoxFn messageBox = {});
    ScriptRuntime(const ScriptRuntime&) = delete;
    ScriptRuntime& operator=(const ScriptRuntime&) = delete;

    // Creates the main and the level-up state and registers the nine
    // level-up commands, then the 38 main commands. Only the first call
    // does anything.
    void CreateStates();
    bool created() const { return m_created; }

    // Where the commands' game actions go; nullptr restores the do-nothing
    // services. The object must outlive its use here.
    void SetServices(ScriptServices* services);
    ScriptServices& services() { return *m_context.services; }

    // Where script errors and "msg" are shown (both states).
    void SetMessageBox(MessageBoxFn messageBox) { m_messageBox = std::move(messageBox); }
    // Asked while scripts run in either state: true (the game is ending)
    // stops the running script at once, without a message.
    void SetInterrupt(const std::function<bool()>& interrupt);

    // The data-file treatment: removes every ",," (left to right, without
    // re-scanning) and runs the result in the main state.
    bool RunScriptText(std::string_view gbkText);
    // Reads a whole file (UTF-8 file-system path) and runs it as above; a
    // missing or unreadable file runs as an empty script.
    bool RunScriptFile(const std::string& utf8Path);
    // RunScriptFile for Main.lua at loading, with its longer time limit.
    bool RunMainScriptFile(const std::string& utf8Path);

    // Creates the states when needed, runs the six data tables in order
    // (Goods, Magic, Map, Npc, Monster, Quest under "\data\脚本\"), builds
    // the item and skill templates from them, and reads
    // "\data\脚本\Levelup.lua" whole into the level-up script text. A failing
    // table is reported and loading goes on.
    void LoadDataTables(const paths::DataPaths& dataPaths);
    // (Re)builds one template per row of the item and skill tables; rows
    // appended later get theirs when first asked for. LoadDataTables does
    // this once.
    void BuildTemplates() { m_templates.Build(m_tables); }

    // Runs the level-up script text in the level-up state.
    bool RunLevelUp();
    // A dialog choice: runs the NPC's script text again in the main state,
    // then calls the global function `functionName` with no arguments.
    bool RunDialogFunction(std::string_view npcScript, const std::string& functionName);

    ScriptState& mainState() { return m_main; }
    ScriptState& levelUpState() { return m_levelUp; }
    DataTables& tables() { return m_tables; }
    const DataTables& tables() const { return m_tables; }
    const ItemTemplates& templates() const { return m_templates; }
    const std::string& levelUpScript() const { return m_levelUpScript; }
    void SetLevelUpScript(std::string gbkText) { m_levelUpScript = std::move(gbkText); }

    // Reads a whole file as bytes; empty when it is missing, unreadable or
    // over 64 MiB.
    static std::string ReadWholeFile(const std::string& utf8Path);

private:
    void ShowMessage(const std::string& text, const std::string& caption) const;

    MessageBoxFn m_messageBox;
    NullScriptServices m_defaultServices;
    DataTables m_tables;
    ItemTemplates m_templates;
    ScriptContext m_context;
    std::string m_levelUpScript;
    bool m_created = false;
    // Declared last: the Lua states close before the objects their commands use.
    ScriptState m_main;
    ScriptState m_levelUp;
};
