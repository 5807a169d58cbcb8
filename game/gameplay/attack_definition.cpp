#include "gameplay/attack_definition.h"

#include <algorithm>

#include "shared/gbk.h"

void AttackDefinition::Init(FrameCache& cache, const std::string& gbkName, int frameCount, int frameDuration,
                            int xOffset, int yOffset) {
    SetTiming(gbkName, frameCount, frameDuration, xOffset, yOffset);
    m_animation.Load(cache, gbk::Lit("\\data\\魔法\\") + gbkName + "\\", m_frameCount, true);
}

void AttackDefinition::SetTiming(const std::string& gbkName, int frameCount, int frameDuration, int xOffset,
                                 int yOffset) {
    m_name = gbkName;
    m_frameCount = std::max(frameCount, 1);
    m_frameDuration = frameDuration;
    m_xOffset = xOffset;
    m_yOffset = yOffset;
    m_animation.Reset();
    m_animation.SetCurrentFrame(1);
}

void AttackDefinition::Step(float x, float y, float elapsed, bool mirror) {
    SetAnchor(x, y);
    m_animation.StepLoop(m_frameDuration, 1, m_frameCount, elapsed, mirror);
}

void AttackDefinition::Draw(float x, float y, float elapsed, bool mirror) {
    Step(x, y, elapsed, mirror);
    m_animation.Draw();
}

void AttackDefinition::SetAnchor(float x, float y) {
    m_animation.SetAnchor(x + static_cast<float>(m_xOffset), y + static_cast<float>(m_yOffset));
}

void AttackDefinition::Reset() {
    m_animation.Reset();
    m_animation.SetCurrentFrame(1);
}
