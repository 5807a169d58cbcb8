#include "app/game_skills.h"

#include <algorithm>

#include "app/game.h"
#include "core/json_writer.h"
#include "gameplay/skills_heal.h"
#include "shared/gbk.h"

namespace {

constexpr int kEffectCount = 20;    // the effect library's entries
constexpr int kThunderEffect = 15;  // 远程魔法1
constexpr int kMapMode = 1, kOnPlayer = 2;

}  // namespace

void GameSkills::Load() { bar.Load(m_game.engine, m_game.dataPaths, m_game.dataTables()); }

int GameSkills::FindSkill(const std::string& gbkName) const {
    const auto& rows = m_game.dataTables().skills.rows();
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].name == gbkName) return static_cast<int>(i) + 1;
    return 0;
}

bool GameSkills::LearnSkill(int skillRow) {
    const SkillRow* row = m_game.dataTables().skills.At(skillRow);
    if (row == nullptr) return false;
    const bool thunder = row->name == gbk::Lit(kThunderName);
    switch (m_game.player.skills.Learn(skillRow, thunder ? kThunderKey : 0)) {
        case LearnOutcome::AlreadyKnown:
            m_game.chatLog.AddLine(gbk::Lit("[系统]"), gbk::Lit("你已经拥有此技能了不用再次练习"));
            return false;
        case LearnOutcome::ListFull:
            return false;
        case LearnOutcome::Learned:
            break;
    }
    if (thunder) {
        m_game.chatLog.AddLine(gbk::Lit("[系统]"), gbk::Lit("你已经学会了雷电术 按键:") +
                                                      std::string(1, static_cast<char>(kThunderKey)) + gbk::Lit(" 使用"));
    } else {
        m_game.chatLog.AddLine(gbk::Lit("[系统]"), gbk::Lit("你已经学会了") + row->name);
    }
    return true;
}

int GameSkills::BookSkill(int itemNumber) const {
    const ItemRow* item = m_game.dataTables().items.At(itemNumber);
    const std::string bookSuffix = gbk::Lit("书");
    if (item == nullptr || item->name.size() <= bookSuffix.size() ||
        item->name.compare(item->name.size() - bookSuffix.size(), bookSuffix.size(), bookSuffix) != 0)
        return 0;
    return FindSkill(item->name.substr(0, item->name.size() - bookSuffix.size()));
}

// ------------------------------------------------------------ the thunder spell

std::vector<SpellTarget> GameSkills::Targets() const {
    std::vector<SpellTarget> targets;
    targets.reserve(m_game.actors.monsters.size());
    for (const auto& m : m_game.actors.monsters) {
        SpellTarget t;
        t.drawX = m->x + m->flipOffset;
        t.y = m->y;
        t.width = static_cast<float>(m->width);
        t.height = static_cast<float>(m->height);
        t.hurtTimer = m->hurtTimer;
        // A monster that is gone or dying cannot be hit.
        t.hp = m->gone != 0 || m->state == Monster::kDying ? 0.0f : m->HP();
        t.defence = static_cast<float>(m->defence);
        targets.push_back(t);
    }
    return targets;
}

void GameSkills::SkillKeys(Player& player, const Controls& controls) {
    // V is the thunder key; any other key that went down is offered too,
    // for skills bound to it.
    const int key = controls.Pressed(Action::CastSpell) ? kThunderKey : controls.keyPressed;
    if (!m_game.PlayerCanAct()) return;
    Present(thunder::SkillKey(player, key, Targets(), m_game.random, m_game.engine.Delta()));
}

void GameSkills::Present(const ThunderFrame& cast) {
    if (!cast.fired) return;
    m_game.SpawnEffect(kMapMode, kThunderEffect, cast.effectX, cast.effectY, 1, 0, 0, 0);
    m_game.engine.PlaySound(m_game.sounds.skillCast, 15, 0, 1.0f, false);
    if (cast.target != 0) m_game.monsters.SpellHit(cast.target, cast.damage);
}

// ------------------------------------------------------------ bar and window

bool GameSkills::SkillWindowOpen() const { return m_game.hud.openWindow() == gbk::Lit("技能窗口"); }

void GameSkills::BarInput(const Controls& input) { bar.UpdateMouse(input, true); }

void GameSkills::WindowInput(const Controls& input) {
    window.Update(input, SkillWindowOpen(), m_game.player.skills, m_game.dataTables(), bar);
}

bool GameSkills::LetGoCarried() {
    if (!bar.slots.carrying()) return false;
    bar.slots.PressElsewhere();
    return true;
}

void GameSkills::UpdateKeys(const Controls& controls, float dt) {
    SkillBarCommands c;
    bar.UpdateKeys(controls, dt, c);
    if (!m_game.PlayerCanAct()) return;
    for (int n = 1; n <= SkillBarSlots::kCells; ++n)
        if (c.use[static_cast<std::size_t>(n - 1)]) UseSkillSlot(n);
}

void GameSkills::UseSkillSlot(int n) {
    const SkillRow* row = m_game.dataTables().skills.At(bar.slots.At(n).skill.skillNumber);
    if (row == nullptr) return;
    const bool heal = row->name == gbk::Lit(kHealName);
    // A heal that cannot be cast starts no cooldown.
    if (heal && bar.slots.Ready(n) && !CanHeal(*row)) return;
    switch (bar.slots.Cast(n, static_cast<float>(row->cooldown))) {
        case SlotCast::Empty:
            return;
        case SlotCast::NotReady:
            m_game.SystemMessage(gbk::Lit("技能还没准备好!"));
            return;
        case SlotCast::Cast:
            break;
    }
    // The skill's effect number names an effect of the library; any other
    // number shows nothing.
    const int effect = row->reserved9;
    if (effect >= 1 && effect <= kEffectCount) m_game.SpawnEffect(kOnPlayer, effect, 0, 0, 1, 0, 0, 0);
    m_game.SystemMessage(gbk::Lit("发动技能:") + row->name + gbk::Lit(" 成功!"));
    if (heal) Heal(*row);
}

bool GameSkills::CanHeal(const SkillRow& row) {
    const int level = std::max(m_game.player.skills.LevelOf(row.number), 1);
    switch (skill_heal::Check(m_game.player, skill_heal::FromRow(row, level))) {
        case HealCheck::Ready:
            return true;
        case HealCheck::NotEnoughMp:
            m_game.SystemMessage(gbk::Lit("魔法值不足!"));
            return false;
        case HealCheck::FullHp:
            m_game.SystemMessage(gbk::Lit("生命值已满!"));
            return false;
    }
    return false;
}

void GameSkills::Heal(const SkillRow& row) {
    const int level = std::max(m_game.player.skills.LevelOf(row.number), 1);
    const int hp = skill_heal::Apply(m_game.player, skill_heal::FromRow(row, level), m_game.random);
    m_game.chatLog.AddLine(gbk::Lit("[系统]"), row.name + gbk::Lit("发挥了疗效! HP +") + std::to_string(hp));
}

void GameSkills::DrawWindow() {
    window.Draw(m_game.fonts.small, m_game.fonts.game, m_game.player.skills, m_game.dataTables(), bar);
}

void GameSkills::DrawBar() { bar.Draw(m_game.fonts.small); }

void GameSkills::DrawBarTooltip() {
    bar.DrawTooltip(m_game.fonts.small, m_game.fonts.game, m_game.dataTables(), m_game.mouseX, m_game.mouseY);
}

void GameSkills::DrawWindowTooltip() {
    window.DrawTooltip(m_game.fonts.small, m_game.fonts.game, m_game.player.skills, m_game.dataTables(), bar,
                       m_game.mouseX, m_game.mouseY);
}

void GameSkills::DrawCarried() { bar.DrawCarried(m_game.mouseX, m_game.mouseY); }

void GameSkills::DumpState(JsonWriter& w) const {
    w.Key("skills");
    w.BeginObject();
    w.Key("list");
    w.BeginArray();
    for (const SkillEntry& e : m_game.player.skills.entries) {
        w.BeginObject();
        w.Field("skill", e.skill);
        w.Field("level", e.level);
        w.Field("key", e.key);
        w.EndObject();
    }
    w.EndArray();
    w.Field("spellFired", m_game.player.spellFired);
    w.Key("bar");
    bar.DumpState(w);
    w.Key("carried");
    w.BeginObject();
    w.Field("carrying", bar.slots.carrying());
    w.Field("skill", bar.slots.carried().skillNumber);
    w.Field("from", bar.slots.carriedFrom());
    w.EndObject();
    w.Field("iconSprites", bar.icons.SpriteCount());
    w.EndObject();
}
