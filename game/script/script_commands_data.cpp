// The data-table row commands: each appends one row, reading column c of an
// n-column row at position n - c + 1 (the last column is on top), so a row
// with a missing leading column shifts every column.

#include "gameplay/data_tables.h"
#include "script/script_command_handlers.h"
#include "script/script_state.h"

namespace script_commands {
namespace {

// Reads the columns of one row of `columns` arguments.
class RowReader {
public:
    RowReader(const ScriptState& s, int columns) : m_s(s), m_columns(columns) {}
    int Int(int column) const { return m_s.ToInt(Position(column)); }
    float Float(int column) const { return static_cast<float>(m_s.ToNumber(Position(column))); }
    std::string Text(int column) const { return m_s.ToText(Position(column)); }

private:
    int Position(int column) const { return m_columns - column + 1; }
    const ScriptState& m_s;
    int m_columns;
};

}  // namespace

int ItemRowCommand(ScriptContext& c, ScriptState& s) {
    if (c.tables == nullptr) return 0;
    const RowReader r(s, 20);
    ItemRow row;
    row.number = r.Int(1);
    row.name = r.Text(2);
    row.minPhysAttack = r.Int(3);
    row.maxPhysAttack = r.Int(4);
    row.minPhysDefence = r.Int(5);
    row.maxPhysDefence = r.Int(6);
    row.minMagicAttack = r.Int(7);
    row.maxMagicAttack = r.Int(8);
    row.minMagicDefence = r.Int(9);
    row.maxMagicDefence = r.Int(10);
    row.strength = r.Int(11);
    row.agility = r.Int(12);
    row.accuracy = r.Int(13);
    row.intelligence = r.Int(14);
    row.constitution = r.Int(15);
    row.requiredLevel = r.Int(16);
    row.price = r.Int(17);
    row.icon = r.Int(18);
    row.description = r.Text(19);
    row.category = r.Int(20);
    c.tables->items.Append(std::move(row));
    return 0;
}

int MonsterRowCommand(ScriptContext& c, ScriptState& s) {
    if (c.tables == nullptr) return 0;
    const RowReader r(s, 11);
    MonsterRow row;
    row.number = r.Int(1);
    row.name = r.Text(2);
    row.folder = r.Text(3);
    row.scriptFile = r.Text(4);
    row.width = r.Int(5);
    row.height = r.Int(6);
    row.hitPoints = r.Float(7);
    row.attack = r.Float(8);
    row.defence = r.Float(9);
    row.kind = r.Int(10);
    row.experience = r.Int(11);
    c.tables->monsters.Append(std::move(row));
    return 0;
}

int NpcRowCommand(ScriptContext& c, ScriptState& s) {
    if (c.tables == nullptr) return 0;
    const RowReader r(s, 7);
    NpcRow row;
    row.number = r.Int(1);
    row.name = r.Text(2);
    row.folder = r.Text(3);
    row.scriptFile = r.Text(4);
    row.frameCount = r.Int(5);
    row.frameDuration = r.Int(6);
    row.yOffset = r.Int(7);
    c.tables->AppendNpc(std::move(row));
    return 0;
}

int SkillRowCommand(ScriptContext& c, ScriptState& s) {
    if (c.tables == nullptr) return 0;
    const RowReader r(s, 11);
    SkillRow row;
    row.number = r.Int(1);
    row.name = r.Text(2);
    row.skillClass = r.Int(3);
    row.requiredLevel = r.Int(4);
    row.reserved5 = r.Int(5);
    row.attackPercentPerPoint = r.Int(6);
    row.staminaPerPoint = r.Int(7);
    row.cooldown = r.Int(8);
    row.reserved9 = r.Int(9);
    row.description = r.Text(10);
    row.icon = r.Int(11);
    c.tables->skills.Append(std::move(row));
    return 0;
}

int MapRowCommand(ScriptContext& c, ScriptState& s) {
    if (c.tables == nullptr) return 0;
    const RowReader r(s, 4);
    MapRow row;
    row.number = r.Int(1);
    row.fileName = r.Text(2);
    row.note = r.Text(3);
    c.tables->maps.Append(std::move(row));
    return 0;
}

int QuestRowCommand(ScriptContext& c, ScriptState& s) {
    if (c.tables == nullptr) return 0;
    const RowReader r(s, 7);
    QuestRow row;
    row.number = r.Int(1);
    row.name = r.Text(2);
    row.description = r.Text(3);
    row.hint = r.Text(4);
    row.reward = r.Text(5);
    row.tracking = r.Text(6);
    c.tables->quests.Append(std::move(row));
    return 0;
}

}  // namespace script_commands
