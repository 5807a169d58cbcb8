// The game's side of the player: the frame's player update with the events
// it reports, experience and level-ups, double experience and revival.
#include "app/game.h"

#include "core/decimal_text.h"
#include "shared/gbk.h"

namespace {

constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kYellow = 0xFFFFFF00;
constexpr int kEffectLevelUp = 2;  // "特效2"
constexpr int kOnPlayer = 2;       // effect mode: follows the player

}  // namespace

void Game::UpdatePlayer(float dt) {
    // The attributes follow the equipment every frame while the player lives.
    if (!player.IsDead()) player.RecomputeAttributes(inventory.equipment, dataTables());
    // The broom (or any weapon) shows while the weapon slot holds an item.
    player.weaponEquipped = inventory.equipment.At(Inventory::kWeaponSlot).itemNumber != 0;
    if (logicActive != 1) return;
    Trace("player.update");
    PlayerEvents events = player.Update(PlayerFrame{dt, controls, map.terrain(), camera, m_playerCombat, gameInterface.chatInput.focused()});
    if (events.fellBelowMap) map.PlaceOnStartGround();
    PresentPlayerEvents(events);
}

void Game::PresentPlayerEvents(const PlayerEvents& events) {
    if (events.died) engine.PlaySound(sounds.playerDeath, 30, 0, 1.0f, false);
    if (events.poisonDamage != 0) {
        ShowDamageNumber(static_cast<float>(events.poisonDamage), static_cast<int>(camera.offsetX + player.x),
                         static_cast<int>(player.y));
    }
}

void Game::AddExperience(int amount) {
    const ExperienceGain gain = player.GainExperience(amount);
    const std::string shown = std::to_string(gain.amount);
    hud.AddNotice(gbk::Lit("[经验] + ") + shown, kYellow);
    chatLog.AddLine(gbk::Lit("[系统]"), gbk::Lit("获得经验 +") + shown, kRed, true, 0, false);
    if (!gain.levelUpDue) return;
    // The script sees the level before the change; its failure is reported
    // by the script host and the level-up goes on.
    scripts.RunLevelUp();
    SpawnEffect(kOnPlayer, kEffectLevelUp, 0, 0, 2, 0, kYellow, 1);
    engine.PlaySound(sounds.levelUp, 15, 0, 1.0f, false);
    chatLog.AddLine(gbk::Lit("[系统]"), gbk::Lit("恭喜你,升级了!"), kRed, true, kYellow, true);
    player.CompleteLevelUp();
}

void Game::StartDoubleExperience() {
    const float total = player.StartDoubleExperience();
    chatLog.AddLine(gbk::Lit("[系统]"),
                    gbk::Lit("双倍经验一共时间为:") + TwoDecimalsText(total / 60.0) + gbk::Lit("分钟"), kRed, true,
                    0, false);
}

void Game::RevivePlayer() {
    if (!player.IsDead()) return;
    engine.PlaySound(sounds.click, 10, 0, 1.0f, false);
    player.Revive();
    map.ReturnToTown();
}
