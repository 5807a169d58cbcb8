#pragma once
// The skill bar under the chat box: eight SkillSlots of 25 x 25 at
// x = 418 + 33 (i - 1), y = 550, labelled with their keys A S D F Q W E R,
// each showing its skill's icon, the cooldown shade and, under the mouse,
// the skill's tooltip. The cells' contents live in SkillBarSlots; the bar
// turns presses into its operations and returns what the game must do.

#include <array>
#include <cstddef>
#include <map>
#include <string>

#include "gameplay/skill_bar_slots.h"
#include "platform/sprite.h"

class DataTables;
class Engine;
class GdiFont;
class JsonWriter;
struct Controls;
struct SkillRow;
namespace paths {
class DataPaths;
}

// The 25 x 25 icon sprites of the skill rows, one per icon picture
// (\data\魔法\<icon>.png), shared by the bar and the skill window.
class SkillIcons {
public:
    void Load(Engine& engine, const paths::DataPaths& dataPaths, const DataTables& tables);
    // Skill row n's icon at (x, y), scaled; nothing for an unknown row.
    void Draw(int skillNumber, float x, float y, float scale = 1.0f) const;
    int SpriteCount() const { return static_cast<int>(m_sprites.size()); }

private:
    std::map<int, Sprite> m_sprites;  // by icon number
    std::map<int, int> m_iconOfSkill;
};

// The skill tooltip: the box of "msg.png" tiles, the icon, the name, the
// wrapped description and the table's numbers.
class SkillTooltip {
public:
    void SetTile(const Sprite& tile) { m_tile = tile; }
    // The tooltip of `row` with its box's top-left at (x, y).
    void Show(GdiFont& font, GdiFont& nameFont, const SkillIcons& icons, const SkillRow& row, float x, float y) const;
    // Box size: 19.5 tiles across, description bytes / 30 + 19 tiles down.
    // At least that, and always tall enough to hold every line.
    static float Width() { return 195; }
    static float Height(const SkillRow& row);
    // The lines the tooltip prints, 20 px apart.
    static int LineCount(const SkillRow& row);
    static constexpr std::size_t kWrapBytes = 24;  // the description's line width

private:
    Sprite m_tile;
};

// One cell of the bar: where it is, its key label, its shade.
class SkillSlot {
public:
    static constexpr float kSize = 25;
    void Init(const Sprite& shade, float x, float y, const std::string& keyLabel);
    bool Contains(float px, float py) const { return px >= x && px < x + kSize && py >= y && py < y + kSize; }
    void Draw(const SkillBarCell& cell, int n, const SkillBarSlots& slots, const SkillIcons& icons, GdiFont& font) const;

    float x = 0, y = 0;
    std::string keyLabel;
    // "p.png", cut each frame to the part still cooling down.
    mutable Sprite cooldownShade;
};

// What one bar update asks of the game.
struct SkillBarCommands {
    bool leftTaken = false, rightTaken = false;  // the press belongs to the bar
    std::array<bool, SkillBarSlots::kCells> use{};  // UseSkillSlot(n) for these cells (index n - 1)
};

class SkillBar {
public:
    static constexpr float kY = 550;
    static float CellX(int i) { return 418.0f + 33.0f * static_cast<float>(i - 1); }

    // Icons, the shade and the tooltip tile; builds the eight slots.
    void Load(Engine& engine, const paths::DataPaths& dataPaths, const DataTables& tables);
    // The mouse on the bar: pick up, drop, swap, clear (presses only);
    // `windowTakesPress` says a press elsewhere belongs to the skill window.
    SkillBarCommands UpdateMouse(const Controls& controls, bool windowTakesPress);
    // The skill keys A S D F Q W E R (pressed this frame) and the cooldowns.
    void UpdateKeys(const Controls& controls, float dt, SkillBarCommands& out);
    // The eight cells with their icons, shades and key labels.
    void Draw(GdiFont& font) const;
    // The carried skill's icon under the pointer.
    void DrawCarried(float mouseX, float mouseY) const;
    // The tooltip of the cell under the pointer (not while carrying).
    void DrawTooltip(GdiFont& font, GdiFont& nameFont, const DataTables& tables, float mouseX, float mouseY) const;
    void DumpState(JsonWriter& w) const;
    // The top of the tooltip box shown over the bar: its bottom edge stays
    // kTooltipGap px above the cells.
    static constexpr float kTooltipGap = 5;
    static float TooltipTop(const SkillRow& row);
    // The cell under (x, y); 0 when none.
    int CellAt(float x, float y) const;

    SkillBarSlots slots;
    SkillIcons icons;
    SkillTooltip tooltip;

private:
    std::array<SkillSlot, SkillBarSlots::kCells> m_slots;
};
