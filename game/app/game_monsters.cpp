#include "app/game_monsters.h"

#include <algorithm>

#include "app/game.h"
#include "core/json_writer.h"
#include "shared/gbk.h"

namespace {

constexpr std::uint32_t kSystemRed = 0xFFFF0000;
// The weapon reaches this far in front of the box when its pictures are missing.
constexpr float kBareReach = 40;

}  // namespace

void GameMonsters::LoadArt() {
    Engine& e = m_game.engine;
    for (std::size_t i = 0; i < 3; ++i) {
        HTEXTURE t = e.LoadTexture(m_game.Resolve(gbk::Lit("\\data\\其它\\怪物名称") + std::to_string(i + 1) + ".png"));
        const float w = static_cast<float>(e.TextureWidth(t)), h = static_cast<float>(e.TextureHeight(t));
        m_art.plate[i] = Sprite(t, 0, 0, w, h);
        m_art.plateWidth[i] = w;
        m_art.plateHeight = std::max(m_art.plateHeight, h);
    }
    HTEXTURE fill = e.LoadTexture(m_game.Resolve(gbk::Lit("\\data\\其它\\怪物进度条前景.png")));
    HTEXTURE frame = e.LoadTexture(m_game.Resolve(gbk::Lit("\\data\\其它\\怪物进度条背景.png")));
    m_art.barFillWidth = static_cast<float>(e.TextureWidth(fill));
    m_art.barFillHeight = static_cast<float>(e.TextureHeight(fill));
    m_art.barFill = Sprite(fill, 0, 0, m_art.barFillWidth, m_art.barFillHeight);
    m_art.barFrame = Sprite(frame, 0, 0, static_cast<float>(e.TextureWidth(frame)),
                            static_cast<float>(e.TextureHeight(frame)));
    m_artLoaded = true;
}

void GameMonsters::SetUp() {
    if (!m_artLoaded) LoadArt();
    m_lastHit = 0;
    int slot = 0;
    for (auto& m : m_game.actors.monsters) m->Init(m_game.frameCache, m_game.dataPaths, ++slot);
}

MonsterFrame GameMonsters::MakeFrame(float dt) {
    return MonsterFrame{dt,
                        m_game.player,
                        m_game.camera,
                        m_game.camera.mapWidth,
                        m_game.camera.mapHeight,
                        static_cast<float>(m_game.screenHeight > 0 ? m_game.screenHeight : 600),
                        m_game.random,
                        *this};
}

void GameMonsters::Update(float dt) {
    MonsterFrame f = MakeFrame(dt);
    for (auto& m : m_game.actors.monsters) m->Update(f);
}

void GameMonsters::Draw() {
    MonsterDraw d{m_game.camera, static_cast<float>(m_game.screenWidth > 0 ? m_game.screenWidth : 800),
                  static_cast<float>(m_game.screenHeight > 0 ? m_game.screenHeight : 600), &m_game.fonts.game,
                  &m_art};
    for (auto& m : m_game.actors.monsters) m->Draw(d);
}

combat::Rect GameMonsters::WeaponBox(const Player& p, const Camera& camera) {
    const bool left = p.facing == Player::kFacingLeft;
    const AttackDefinition& a = p.currentAttack;
    if (p.state == Player::kAttacking && a.FrameWidth() > 0) {
        const float x = a.FrameX() - camera.offsetX - (left ? a.FrameWidth() : 0);
        return {x, a.FrameY() - camera.offsetY, a.FrameWidth(), a.FrameHeight()};
    }
    // The half of the weapon's picture in front of the body's centre line.
    const FrameAnimation& w = p.weapon[static_cast<std::size_t>(p.state)];
    const FrameInfo f = w.Frame(w.CurrentFrame());
    const float centre = p.x + p.width / 2;
    if (f.width > 0 && f.height > 0) {
        const float drawLeft = (left ? w.DrawX() - static_cast<float>(f.width) : w.DrawX()) - camera.offsetX;
        const float drawRight = drawLeft + static_cast<float>(f.width);
        const float top = w.DrawY() - camera.offsetY;
        if (left) return {drawLeft, top, std::max(0.0f, centre - drawLeft), static_cast<float>(f.height)};
        return {centre, top, std::max(0.0f, drawRight - centre), static_cast<float>(f.height)};
    }
    return left ? combat::Rect{p.x - kBareReach, p.y, kBareReach + p.width / 2, p.height}
                : combat::Rect{centre, p.y, kBareReach + p.width / 2, p.height};
}

bool GameMonsters::PhysicalAttack(Player& p) {
    MonsterFrame f = MakeFrame(0);
    const combat::Rect weapon = WeaponBox(p, m_game.camera);
    bool hit = false;
    int slot = 0;
    for (auto& m : m_game.actors.monsters) {
        ++slot;
        if (!m->CanBeHit() || !combat::Overlap(weapon, m->FrameRect(m_game.camera))) continue;
        const int damage =
            combat::WeaponDamage(m_game.random, p.minPhysAttack, p.maxPhysAttack, p.strength, m->defence);
        m->TakeHit(damage, f);
        m_lastHit = slot;
        hit = true;
    }
    return hit;
}

void GameMonsters::SpellHit(int slot, int damage) {
    if (slot < 1 || static_cast<std::size_t>(slot) > m_game.actors.monsters.size()) return;
    MonsterFrame f = MakeFrame(0);
    m_game.actors.monsters[static_cast<std::size_t>(slot - 1)]->TakeHit(damage, f);
    m_lastHit = slot;
}

void GameMonsters::DrawTarget() {
    if (m_lastHit < 1 || static_cast<std::size_t>(m_lastHit) > m_game.actors.monsters.size()) return;
    const Monster& m = *m_game.actors.monsters[static_cast<std::size_t>(m_lastHit - 1)];
    if (m.gone != 0) return;
    // A plate at the top centre: the name over the bar.
    const float cx = static_cast<float>(m_game.screenWidth > 0 ? m_game.screenWidth : 800) / 2, top = 8;
    GdiFont& font = m_game.fonts.game;
    const float tw = font.TextWidth(m.name);
    const float pw = m_art.plateWidth[0] + m_art.plateWidth[1] + tw + m_art.plateWidth[2];
    const float px = cx - pw / 2;
    m_art.plate[0].Render(px, top);
    m_art.plate[1].RenderStretch(px + m_art.plateWidth[0], top, px + m_art.plateWidth[0] + m_art.plateWidth[1] + tw,
                                 top + m_art.plateHeight);
    m_art.plate[2].Render(px + pw - m_art.plateWidth[2], top);
    font.SetColour(0xFF000000);
    font.Print(cx - tw / 2, top + 2, m.name);
    const float bx = cx - Monster::kHealthBarWidth / 2, by = top + m_art.plateHeight + 3;
    m_art.barFrame.Render(bx, by);
    const int fill = std::max(0, static_cast<int>(Monster::kHealthBarWidth * static_cast<float>(m.hp[0]) /
                                                  static_cast<float>(std::max(1, m.hp[1]))));
    m_art.barFill.SetTextureRect(0, 0, static_cast<float>(fill), m_art.barFillHeight);
    m_art.barFill.Render(bx, by);
}

void GameMonsters::DumpState(JsonWriter& w) const {
    w.Key("combat");
    w.BeginObject();
    w.Field("lastHitMonster", m_lastHit);
    w.EndObject();
}

void GameMonsters::Log(const std::string& gbkText) {
    m_game.chatLog.AddLine(gbk::Lit("[系统]"), gbkText, kSystemRed, true, 0, false);
}

void GameMonsters::DamageNumber(float value, float x, float y) {
    m_game.ShowDamageNumber(value, static_cast<int>(x), static_cast<int>(y));
}

EffectHandle GameMonsters::SpawnEffect(int mode, int n, float x, float y, int repeat, bool behind) {
    return m_game.SpawnEffect(mode, n, x, y, repeat, 0, 0, behind ? 1 : 0);
}

Effect* GameMonsters::FindEffect(EffectHandle h) { return m_game.map.effects.Find(h); }

void GameMonsters::PlaySound(MonsterSound sound, int volume) {
    const GameSounds& s = m_game.sounds;
    HEFFECT e = 0;
    switch (sound) {
        case MonsterSound::Hit: e = s.monsterB; break;        // 9015.wav
        case MonsterSound::Strike: e = s.monsterA; break;     // 1415.wav
        case MonsterSound::Lightning: e = s.monsterB; break;  // 9015.wav
        case MonsterSound::Poison: e = s.monsterA; break;     // 1415.wav
        case MonsterSound::Curse: e = s.skillCast; break;     // 9994.wav
    }
    m_game.engine.PlaySound(e, volume, 0, 1.0f, false);
}

void GameMonsters::AddExperience(int amount) { m_game.AddExperience(amount); }

void GameMonsters::DropItem(const std::string& gbkName, float x, float y, int count, int counted) {
    m_game.DropItem(gbkName, x, y, count, counted);
}

void GameMonsters::RunScript(const std::string& gbkText) { m_game.scripts.RunScriptText(gbkText); }
