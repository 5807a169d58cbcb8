#pragma once
// One attack definition ("攻击1", "攻击2", ...): a named frame animation
// under "\data\魔法\<name>\" with its frame count, frame duration and the
// offsets it is drawn at against an anchor. The player's current attack is
// a copy of one; its current frame is the attack box of a weapon swing.
//
// Stepping needs no engine: a definition whose pictures are missing still
// counts its frames, so the swing's timing does not depend on the art.

#include <string>

#include "platform/frame_animation.h"

class FrameCache;

class AttackDefinition {
public:
    AttackDefinition() = default;

    // Loads the frames of "\data\魔法\<gbkName>\" through the cache and keeps
    // the timing and the offsets. frameCount below 1 counts as 1.
    void Init(FrameCache& cache, const std::string& gbkName, int frameCount, int frameDuration, int xOffset,
              int yOffset);
    // Names the definition without loading anything (tests, unfilled slots).
    void SetTiming(const std::string& gbkName, int frameCount, int frameDuration, int xOffset, int yOffset);

    // Anchors at (x + x offset, y + y offset) and advances by `elapsed`
    // seconds, looping over the frames.
    void Step(float x, float y, float elapsed, bool mirror = false);
    // Step, then draw the current frame.
    void Draw(float x, float y, float elapsed, bool mirror = false);
    // Anchors at (x + x offset, y + y offset) without advancing.
    void SetAnchor(float x, float y);
    // Back to the first frame with a fresh timer.
    void Reset();

    // Whether the animation has reached its last frame.
    bool AtLastFrame() const { return m_animation.CurrentFrame() >= m_frameCount; }
    int CurrentFrame() const { return m_animation.CurrentFrame(); }
    // The current frame's draw position and size (screen pixels).
    float FrameX() const { return m_animation.DrawX(); }
    float FrameY() const { return m_animation.DrawY(); }
    float FrameWidth() const { return m_animation.CurrentWidth(); }
    float FrameHeight() const { return m_animation.CurrentHeight(); }
    const std::string& Name() const { return m_name; }
    int frameCount() const { return m_frameCount; }
    int frameDuration() const { return m_frameDuration; }
    int xOffset() const { return m_xOffset; }
    int yOffset() const { return m_yOffset; }

private:
    FrameAnimation m_animation;
    int m_frameCount = 1;
    int m_frameDuration = 0;  // hundredths of a second
    std::string m_name;       // GBK
    int m_xOffset = 0, m_yOffset = 0;
};
