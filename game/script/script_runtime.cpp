#include "script/script_runtime.h"

#include "core/file_bytes.h"
#include "shared/gbk.h"
#include "shared/paths.h"

#include <iostream>

namespace {

// Script and table files are small; anything bigger is not one of ours.
constexpr std::size_t kMaxScriptBytes = 64u * 1024 * 1024;

// The six tables, in the order they are run.
constexpr const char* kDataTableFiles[] = {
    "\\data\\脚本\\Goods.csv", "\\data\\脚本\\Magic.csv",   "\\data\\脚本\\Map.csv",
    "\\data\\脚本\\Npc.csv",   "\\data\\脚本\\Monster.csv", "\\data\\脚本\\Quest.csv",
};

}  // namespace

ScriptRuntime::ScriptRuntime(Random& random, MessageBoxFn messageBox)
    : m_messageBox(std::move(messageBox)),
      m_main([this](const std::string& text, const std::string& caption) { ShowMessage(text, caption); }),
      m_levelUp([this](const std::string& text, const std::string& caption) { ShowMessage(text, caption); }) {
    m_context.tables = &m_tables;
    m_context.templates = &m_templates;
    m_context.random = &random;
    m_context.services = &m_defaultServices;
}

void ScriptRuntime::CreateStates() {
    if (m_created) return;
    m_created = true;
    m_main.Create();
    m_levelUp.Create();
    m_main.SetCommandContext(&m_context);
    m_levelUp.SetCommandContext(&m_context);
    RegisterCommands(m_levelUp, LevelUpStateCommands());
    RegisterCommands(m_main, MainStateCommands());
}

void ScriptRuntime::SetServices(ScriptServices* services) {
    m_context.services = services != nullptr ? services : &m_defaultServices;
}

bool ScriptRuntime::RunScriptText(std::string_view gbkText) {
    return m_main.RunText(gbk::ReplaceAll(gbkText, ",,", ""));
}

bool ScriptRuntime::RunScriptFile(const std::string& utf8Path) { return RunScriptText(ReadWholeFile(utf8Path)); }

bool ScriptRuntime::RunMainScriptFile(const std::string& utf8Path) {
    m_main.BeginBatch(kMainScriptTimeLimit);
    const bool ok = RunScriptFile(utf8Path);
    m_main.EndBatch();
    return ok;
}

void ScriptRuntime::SetInterrupt(const std::function<bool()>& interrupt) {
    m_main.SetInterrupt(interrupt);
    m_levelUp.SetInterrupt(interrupt);
}

void ScriptRuntime::LoadDataTables(const paths::DataPaths& dataPaths) {
    CreateStates();
    m_main.BeginBatch(kTablesTimeLimit);
    for (const char* file : kDataTableFiles) RunScriptFile(dataPaths.Resolve(gbk::Lit(file)));
    m_main.EndBatch();
    BuildTemplates();
    m_levelUpScript = ReadWholeFile(dataPaths.Resolve(gbk::Lit("\\data\\脚本\\Levelup.lua")));
}

bool ScriptRuntime::RunLevelUp() { return m_levelUp.RunText(m_levelUpScript); }

bool ScriptRuntime::RunDialogFunction(std::string_view npcScript, const std::string& functionName) {
    // Run again first so the NPC's functions are defined afresh; a failing
    // run is reported and the call still goes ahead, as the choice asked.
    m_main.RunText(npcScript);
    return m_main.CallGlobal(functionName);
}

std::string ScriptRuntime::ReadWholeFile(const std::string& utf8Path) {
    return ReadFileBytes(utf8Path, kMaxScriptBytes).value_or(std::string());
}

void ScriptRuntime::ShowMessage(const std::string& text, const std::string& caption) const {
    if (m_messageBox) {
        m_messageBox(text, caption);
    } else {
        std::cerr << gbk::ToUtf8(caption) << ": " << gbk::ToUtf8(text) << '\n';
    }
}
