#pragma once
// An effect: a frame animation from "\data\效果\<name>\" played at a map
// point or on the player, for a number of cycles or for ever.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/frame_animation.h"

class JsonWriter;

// What an effect needs from the world each time it is updated and drawn.
struct EffectContext {
    float dt = 0;                 // the engine's frame time
    float cameraX = 0, cameraY = 0;
    float playerX = 0, playerY = 0, playerWidth = 0, playerHeight = 0;
    // The player's status at a slot (1 poison, 2 curse); 0 = ended.
    std::function<int(int slot)> playerStatus;
    // Tells monster `index` that the thrown spell of effect `effectId` (the
    // id of its EffectHandle) has ended; the monster ignores an effect that
    // is not its current strike's.
    std::function<void(int index, std::uint32_t effectId)> monsterSpellEnded;
};

enum class EffectOwner { None = 0, MonsterSpell = 1, PlayerStatus = 2 };

class Effect {
public:
    static constexpr int kAtPosition = 1;  // anchor modes
    static constexpr int kOnPlayer = 2;

    // Fills the fields and loads "\data\效果\<name>\" with frameCount frames,
    // through the shared cache when cachedFolder is set.
    void Create(FrameCache& cache, const std::string& gbkName, int frameCount, int firstFrame, int lastFrame,
                int duration, int drawFlag, int cachedFolder, int ownerKind, int ownerIndex);

    // One render's work for a playing effect: anchor, step, cycle counting,
    // stop rules, draw. Does nothing when not playing. Returns true when its
    // cycles ran out in this update (the list then tells a monster owner).
    bool UpdateAndDraw(const EffectContext& ctx);

    const std::string& name() const { return m_name; }
    FrameAnimation& animation() { return m_animation; }
    const FrameAnimation& animation() const { return m_animation; }
    int frameCount() const { return m_frameCount; }
    int firstFrame() const { return m_firstFrame; }
    int lastFrame() const { return m_lastFrame; }
    int duration() const { return m_duration; }
    int cycleCount() const { return m_cycleCount; }
    int drawFlag() const { return m_drawFlag; }
    int cachedFolder() const { return m_cachedFolder; }

    int ownerKind() const { return m_ownerKind; }
    void SetOwnerKind(int kind) { m_ownerKind = kind; }
    int ownerSlot() const { return m_ownerSlot; }
    void SetOwnerSlot(int slot) { m_ownerSlot = slot; }
    int ownerIndex() const { return m_ownerIndex; }
    void SetOwnerIndex(int index) { m_ownerIndex = index; }
    int repeatCount() const { return m_repeat; }
    int backAndForth() const { return m_backAndForth; }
    void SetRepeat(int repeat, int backAndForth) {
        m_repeat = static_cast<std::int16_t>(repeat);
        m_backAndForth = backAndForth != 0 ? 1 : 0;
    }
    int anchorMode() const { return m_anchorMode; }
    void SetAnchorMode(int mode) { m_anchorMode = mode; }
    float x() const { return m_x; }
    float y() const { return m_y; }
    void SetPosition(float x, float y) {
        m_x = x;
        m_y = y;
    }
    bool playing() const { return m_playing != 0; }
    void SetPlaying(bool p) { m_playing = p ? 1 : 0; }
    void SetColour(std::uint32_t argb) { m_animation.SetColour(argb); }
    int drawnBehind() const { return m_drawnBehind; }
    void SetDrawnBehind(int behind) { m_drawnBehind = behind != 0 ? 1 : 0; }

    void DumpState(JsonWriter& w) const;

private:
    std::string m_name;
    FrameAnimation m_animation;
    int m_frameCount = 0;
    int m_firstFrame = 1;
    int m_lastFrame = 0;
    std::int16_t m_duration = 0;
    std::int16_t m_cycleCount = 0;
    int m_atLastFrame = 0;
    int m_playing = 0;
    float m_x = 0, m_y = 0;
    std::int16_t m_repeat = 0;
    int m_backAndForth = 0;
    int m_anchorMode = kAtPosition;
    int m_drawFlag = 0;
    int m_cachedFolder = 0;
    int m_drawnBehind = 0;
    int m_ownerKind = 0;
    int m_ownerSlot = 0;
    int m_ownerIndex = 0;
};
