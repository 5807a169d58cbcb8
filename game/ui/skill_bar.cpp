#include "ui/skill_bar.h"

#include <algorithm>

#include "core/json_writer.h"
#include "gameplay/data_tables.h"
#include "platform/controls.h"
#include "platform/engine.h"
#include "platform/fonts.h"
#include "shared/gbk.h"
#include "shared/paths.h"
#include "ui/text_wrap.h"

namespace {

constexpr const char* kKeyLabels[SkillBarSlots::kCells] = {"A", "S", "D", "F", "Q", "W", "E", "R"};
constexpr std::uint32_t kWhite = 0xFFFFFFFF, kRed = 0xFFFF0000;

Sprite WholePicture(Engine& engine, const std::string& fsPath) {
    HTEXTURE t = engine.LoadTexture(fsPath);
    return Sprite(t, 0, 0, static_cast<float>(engine.TextureWidth(t)), static_cast<float>(engine.TextureHeight(t)));
}

}  // namespace

// ------------------------------------------------------------ icons

void SkillIcons::Load(Engine& engine, const paths::DataPaths& dataPaths, const DataTables& tables) {
    m_sprites.clear();
    m_iconOfSkill.clear();
    for (int n = 1; n <= tables.skills.Count(); ++n) {
        const int icon = tables.skills.At(n)->icon;
        m_iconOfSkill[n] = icon;
        if (icon <= 0 || m_sprites.count(icon)) continue;
        const std::string path = gbk::Lit("\\data\\魔法\\") + std::to_string(icon) + ".png";
        m_sprites.emplace(icon, WholePicture(engine, dataPaths.Resolve(path)));
    }
}

void SkillIcons::Draw(int skillNumber, float x, float y, float scale) const {
    auto icon = m_iconOfSkill.find(skillNumber);
    if (icon == m_iconOfSkill.end()) return;
    auto sprite = m_sprites.find(icon->second);
    if (sprite == m_sprites.end()) return;
    sprite->second.RenderEx(x, y, 0, scale, scale);
}

// ------------------------------------------------------------ tooltip

int SkillTooltip::LineCount(const SkillRow& row) {
    // The name, the description, the class, the three numbers, the two red
    // lines and the required level.
    return 8 + static_cast<int>(WrapText(row.description, kWrapBytes).size());
}

float SkillTooltip::Height(const SkillRow& row) {
    const float tiles = 10.0f * (static_cast<float>(row.description.size() / 30) + 19.0f);
    // The tile count alone leaves a description of two lines or more
    // hanging out of the box's bottom: the box grows to hold every line,
    // 10 px inside its top, 20 px apart, with a margin under the last.
    const float lines = 20.0f * static_cast<float>(LineCount(row)) + 15.0f;
    return std::max(tiles, lines);
}

void SkillTooltip::Show(GdiFont& font, GdiFont& nameFont, const SkillIcons& icons, const SkillRow& row, float x,
                        float y) const {
    // The see-through tile three times over: opaque enough to read over a
    // window or a bright sky.
    for (int pass = 0; pass < 3; ++pass) m_tile.RenderEx(x, y, 0, 19.5f, Height(row) / 10.0f);
    float line = y + 10;
    icons.Draw(row.number, x + 145, line, 1.3f);
    nameFont.SetColour(kWhite);
    nameFont.Print(x + 10, line, row.name);
    line += 20;
    font.SetColour(kWhite);
    for (const std::string& part : WrapText(row.description, kWrapBytes)) {
        font.Print(x + 10, line, part);
        line += 20;
    }
    const std::string lines[] = {
        gbk::Lit("[战士]"),
        gbk::Lit("每点熟练度增加自身攻击力:") + std::to_string(row.attackPercentPerPoint) + "%",
        gbk::Lit("每点熟练度消耗自身体力值:") + std::to_string(row.staminaPerPoint),
        gbk::Lit("冷却时间:") + std::to_string(row.cooldown),
    };
    for (const std::string& text : lines) {
        font.Print(x + 10, line, text);
        line += 20;
    }
    // Proficiency is shown, never gained: fixed values.
    font.SetColour(kRed);
    font.Print(x + 10, line, gbk::Lit("当前熟练度:") + "110");
    line += 20;
    font.Print(x + 10, line, gbk::Lit("当前技能等级:") + "1");
    line += 20;
    font.SetColour(kWhite);
    font.Print(x + 10, line, gbk::Lit("需要等级:") + std::to_string(row.requiredLevel));
}

// ------------------------------------------------------------ one slot

void SkillSlot::Init(const Sprite& shade, float px, float py, const std::string& label) {
    cooldownShade = shade;
    x = px;
    y = py;
    keyLabel = label;
}

void SkillSlot::Draw(const SkillBarCell& cell, int n, const SkillBarSlots& slots, const SkillIcons& icons,
                     GdiFont& font) const {
    if (cell.skill.skillNumber != 0) icons.Draw(cell.skill.skillNumber, x, y);
    const float h = slots.ShadeHeight(n, kSize);
    if (h > 0) {
        // The shade's top edge moves down as the cooldown runs out.
        cooldownShade.SetTextureRect(0, 0, kSize, h);
        cooldownShade.Render(x, y + slots.ShadeTop(n, kSize));
    }
    font.SetColour(0xFFFFFFFF);
    font.Print(x + 1, y - 2, keyLabel);
}

// ------------------------------------------------------------ the bar

void SkillBar::Load(Engine& engine, const paths::DataPaths& dataPaths, const DataTables& tables) {
    icons.Load(engine, dataPaths, tables);
    HTEXTURE tile = engine.LoadTexture(dataPaths.Resolve(gbk::Lit("\\data\\其它\\msg.png")));
    tooltip.SetTile(Sprite(tile, 0, 0, 10, 10));
    Sprite shade = WholePicture(engine, dataPaths.Resolve(gbk::Lit("\\data\\其它\\p.png")));
    for (int i = 1; i <= SkillBarSlots::kCells; ++i)
        m_slots[static_cast<std::size_t>(i - 1)].Init(shade, CellX(i), kY, kKeyLabels[i - 1]);
}

float SkillBar::TooltipTop(const SkillRow& row) {
    return std::max(kY - kTooltipGap - SkillTooltip::Height(row), 0.0f);
}

int SkillBar::CellAt(float x, float y) const {
    for (int i = 1; i <= SkillBarSlots::kCells; ++i) {
        // Built or not, the cells stand where the layout puts them.
        const float cx = CellX(i);
        if (x >= cx && x < cx + SkillSlot::kSize && y >= kY && y < kY + SkillSlot::kSize) return i;
    }
    return 0;
}

SkillBarCommands SkillBar::UpdateMouse(const Controls& c, bool windowTakesPress) {
    SkillBarCommands out;
    const int cell = CellAt(c.mouseX, c.mouseY);
    if (c.Pressed(Action::MouseRight) && cell != 0) {
        slots.RightPress(cell);
        out.rightTaken = true;
    }
    if (c.Pressed(Action::MouseLeft)) {
        if (cell != 0) {
            slots.LeftPress(cell);
            out.leftTaken = true;
        } else if (!windowTakesPress && slots.carrying()) {
            // Let go outside the bar: the skill goes back to its cell.
            slots.PressElsewhere();
            out.leftTaken = true;
        }
    }
    return out;
}

void SkillBar::UpdateKeys(const Controls& c, float dt, SkillBarCommands& out) {
    for (int n = 1; n <= SkillBarSlots::kCells; ++n)
        out.use[static_cast<std::size_t>(n - 1)] = c.Pressed(Controls::QuickSlot(n));
    slots.Tick(dt);
}

void SkillBar::Draw(GdiFont& font) const {
    for (int i = 1; i <= SkillBarSlots::kCells; ++i)
        m_slots[static_cast<std::size_t>(i - 1)].Draw(slots.At(i), i, slots, icons, font);
}

void SkillBar::DrawCarried(float mouseX, float mouseY) const {
    if (slots.carrying()) icons.Draw(slots.carried().skillNumber, mouseX - 12, mouseY - 12);
}

void SkillBar::DrawTooltip(GdiFont& font, GdiFont& nameFont, const DataTables& tables, float mouseX,
                           float mouseY) const {
    if (slots.carrying()) return;
    const int cell = CellAt(mouseX, mouseY);
    if (const SkillRow* row = tables.skills.At(slots.At(cell).skill.skillNumber)) {
        // Above the bar, kept inside the screen's width.
        float x = mouseX;
        if (x + SkillTooltip::Width() > 800) x = 800 - SkillTooltip::Width();
        tooltip.Show(font, nameFont, icons, *row, x, TooltipTop(*row));
    }
}

void SkillBar::DumpState(JsonWriter& w) const {
    w.BeginArray();
    for (int i = 1; i <= SkillBarSlots::kCells; ++i) {
        const SkillBarCell& c = slots.At(i);
        w.BeginObject();
        w.Field("key", std::string(kKeyLabels[i - 1]));
        w.Field("skill", c.skill.skillNumber);
        w.Field("icon", c.skill.icon);
        w.Field("cooldownLeft", c.cooldownLeft);
        w.Field("cooldownTotal", c.cooldownTotal);
        w.EndObject();
    }
    w.EndArray();
}
