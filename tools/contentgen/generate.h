#pragma once
// Entry points of the content generator, one per theme. Each writes its
// files under the output folder with UTF-8 names laid out as the game's
// "\data\..." paths without the leading "\data\".

#include "output.h"

namespace contentgen {

// Player body and broom overlay animations, jump frames, portrait.
void GeneratePlayer(Output& out);
// The twenty effects of the effect library.
void GenerateEffects(Output& out);
// HUD pieces, window backgrounds, buttons, bars.
void GenerateInterface(Output& out);
// The title picture, the menu buttons, the system window, the save-slot
// list and the question box.
void GenerateMenus(Output& out);
// Item icons and the item and trade window backgrounds (after the
// interface, whose window pictures they replace).
void GenerateItems(Output& out);
// Mouse pointer frames, dialog tiles, name plates, quest marks.
void GenerateWidgets(Output& out);
// Damage-number glyphs and the bitmap font.
void GenerateGlyphs(Output& out);
// The town's NPCs: standing frames and dialog portraits.
void GenerateNpcs(Output& out);
// Skill icons, one per icon number of the skill table.
void GenerateSkills(Output& out);
// The three monsters' state frames and the monster health bar.
void GenerateMonsters(Output& out);
// Sound effects and the town tune.
void GenerateSounds(Output& out);

// Everything above.
void GenerateAll(Output& out);

// Frame layout shared by the player's body, weapon and jump pictures.
// The anchor the game draws at is the top-left of the player's 40 x 70 box
// (moved to x + width - 10 when facing left); the figure's centre line is
// 15 px right of the anchor and its feet 70 px below it.
struct PlayerFrame {
    static constexpr int kWidth = 140;
    static constexpr int kHeight = 116;
    static constexpr double kFootX = 70;
    static constexpr double kFootY = 110;
    static constexpr double kAnchorX = 55;   // info x offset
    static constexpr double kAnchorY = 40;   // info y offset is -kAnchorY
    static constexpr int kBoxWidth = 40;
    static constexpr int kBoxHeight = 70;
};

}  // namespace contentgen
