#pragma once
// The sounds loaded at start, by role, and the channel of the background
// music. A missing file leaves its handle 0; playing 0 does nothing.

#include "lumo/lumo.h"

struct GameSounds {
    HEFFECT music = 0;         // Wdm.mp3, loops from the end of loading on
    HEFFECT skillCast = 0;     // 9994.wav
    HEFFECT playerAttack = 0;  // 600331.wav
    HEFFECT itemWindowA = 0;   // 70321.wav
    HEFFECT itemWindowB = 0;   // 9995.wav
    HEFFECT playerDeath = 0;   // 9010.wav
    HEFFECT monsterA = 0;      // 1415.wav
    HEFFECT levelUp = 0;       // 9012.wav
    HEFFECT monsterB = 0;      // 9015.wav
    HEFFECT itemWindowC = 0;   // 90101.wav
    HEFFECT click = 0;         // 90010.wav
    HCHANNEL musicChannel = 0;
};
