#include "world/effect.h"

#include "core/json_writer.h"
#include "shared/gbk.h"

void Effect::Create(FrameCache& cache, const std::string& gbkName, int frameCount, int firstFrame, int lastFrame,
                    int duration, int drawFlag, int cachedFolder, int ownerKind, int ownerIndex) {
    m_name = gbkName;
    m_frameCount = frameCount;
    m_firstFrame = firstFrame;
    m_lastFrame = lastFrame;
    m_duration = static_cast<std::int16_t>(duration);
    m_drawFlag = drawFlag;
    m_cachedFolder = cachedFolder;
    m_ownerKind = ownerKind;
    m_ownerIndex = ownerIndex;
    m_playing = 1;
    m_atLastFrame = 0;
    m_cycleCount = 0;
    m_animation.Load(cache, gbk::Lit("\\data\\效果\\") + gbkName + "\\", frameCount, cachedFolder != 0);
}

bool Effect::UpdateAndDraw(const EffectContext& ctx) {
    if (m_playing == 0) return false;
    float ax, ay;
    if (m_anchorMode == kOnPlayer) {
        ax = ctx.cameraX + ctx.playerX - ctx.playerWidth / 2;
        ay = ctx.cameraY + ctx.playerY - ctx.playerHeight;
    } else {
        ax = ctx.cameraX + m_x;
        ay = ctx.cameraY + m_y;
    }
    m_animation.SetAnchor(ax, ay);

    if (m_backAndForth == 1) {
        m_animation.StepBackAndForth(m_duration, m_firstFrame, m_lastFrame, ctx.dt);
    } else if (m_cachedFolder != 0 && m_anchorMode == kAtPosition) {
        // Shared folders placed on the map (butterflies) have pictures of
        // their own size; their rectangles come from the textures.
        m_animation.StepLoopTextureSize(m_duration, m_firstFrame, m_lastFrame, ctx.dt);
    } else {
        m_animation.StepLoop(m_duration, m_firstFrame, m_lastFrame, ctx.dt);
    }

    if (m_animation.CurrentFrame() == m_lastFrame) {
        if (m_atLastFrame == 0) {
            ++m_cycleCount;
            m_atLastFrame = 1;
        }
    } else {
        m_atLastFrame = 0;
    }
    bool cyclesDone = false;
    if (m_repeat != 0 && m_cycleCount >= m_repeat) {
        m_playing = 0;
        cyclesDone = true;
    }
    if (m_ownerKind == static_cast<int>(EffectOwner::PlayerStatus) && m_ownerSlot > 0 && ctx.playerStatus &&
        ctx.playerStatus(m_ownerSlot) == 0) {
        m_playing = 0;
    }
    m_animation.Draw(m_drawFlag);
    return cyclesDone;
}

void Effect::DumpState(JsonWriter& w) const {
    w.BeginObject();
    w.Field("name", m_name);
    w.Field("x", m_x);
    w.Field("y", m_y);
    w.Field("frame", m_animation.CurrentFrame());
    w.Field("first", m_firstFrame);
    w.Field("last", m_lastFrame);
    w.Field("cycles", static_cast<int>(m_cycleCount));
    w.Field("repeat", static_cast<int>(m_repeat));
    w.Field("backAndForth", m_backAndForth);
    w.Field("anchorMode", m_anchorMode);
    w.Field("behind", m_drawnBehind);
    w.Field("playing", m_playing);
    w.Field("ownerKind", m_ownerKind);
    w.EndObject();
}
