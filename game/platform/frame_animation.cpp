#include "platform/frame_animation.h"

#include "core/tolerance.h"

using tolerance::Gt;

void FrameAnimation::Load(FrameCache& cache, const std::string& gbkFolder, int count, bool useCache) {
    m_folder = gbkFolder;
    m_frames = cache.Folder(gbkFolder, count, useCache);
    Attach();
}

void FrameAnimation::Load(const std::vector<std::vector<FrameInfo>>& table, int column) {
    auto set = std::make_shared<FrameSet>();
    for (const auto& row : table) {
        set->frames.push_back(column >= 0 && static_cast<std::size_t>(column) < row.size()
                                  ? row[static_cast<std::size_t>(column)]
                                  : FrameInfo{});
    }
    m_folder.clear();
    m_frames = std::move(set);
    Attach();
}

void FrameAnimation::Attach() {
    FrameInfo first = Frame(1);
    m_sprite = Sprite(first.texture, 0, 0, static_cast<float>(first.width), static_cast<float>(first.height));
    m_blend = -1;
    m_timer = 0;
    m_stepCounter = 0;
    m_currentFrame = 1;
    m_loaded = true;
}

FrameInfo FrameAnimation::Frame(int k) const {
    if (!m_frames || k < 1 || static_cast<std::size_t>(k) > m_frames->frames.size()) return {};
    return m_frames->frames[static_cast<std::size_t>(k - 1)];
}

void FrameAnimation::Tick(int duration, float elapsed) {
    m_timer += elapsed;
    // Compared in double so that an elapsed time equal to the duration
    // (both as the engine's float) never counts as beyond it.
    if (Gt(m_timer, duration / 100.0)) {
        ++m_stepCounter;
        m_timer = 0;
    }
}

void FrameAnimation::Show(bool textureSize, bool mirror) {
    FrameInfo f = Frame(m_currentFrame);
    m_mirror = mirror;
    m_sprite.SetTexture(f.texture);
    if (textureSize) {
        m_sprite.SetTextureRect(0, 0, static_cast<float>(f.textureWidth), static_cast<float>(f.textureHeight));
    } else {
        m_sprite.SetTextureRect(0, 0, static_cast<float>(f.width), static_cast<float>(f.height));
    }
    m_drawX = mirror ? m_anchorX + f.offsetX : m_anchorX - f.offsetX;
    m_drawY = m_anchorY + f.offsetY;
}

void FrameAnimation::StepLoop(int duration, int first, int last, float elapsed, bool mirror) {
    Tick(duration, elapsed);
    if (Gt(m_stepCounter, last - first)) m_stepCounter = 0;
    m_currentFrame = first + m_stepCounter;
    Show(false, mirror);
}

void FrameAnimation::StepLoopTextureSize(int duration, int first, int last, float elapsed, bool mirror) {
    Tick(duration, elapsed);
    if (Gt(m_stepCounter, last - first)) m_stepCounter = 0;
    m_currentFrame = first + m_stepCounter;
    Show(true, mirror);
}

void FrameAnimation::StepBackAndForth(int duration, int first, int last, float elapsed, bool mirror) {
    Tick(duration, elapsed);
    int range = last - first;
    if (m_stepCounter > 2 * range) m_stepCounter = 0;
    m_currentFrame = m_stepCounter <= range ? first + m_stepCounter : first + (2 * range - m_stepCounter);
    Show(false, mirror);
}

void FrameAnimation::Draw(int drawFlag) {
    // A glowing frame is drawn twice: once blended normally, so its shape
    // stays visible over a bright sky, then added on top as light.
    SetBlend(BLEND_DEFAULT);
    RenderCurrent();
    if (drawFlag == 1) {
        SetBlend(BLEND_COLORMUL | BLEND_ALPHAADD);
        RenderCurrent();
    }
}

void FrameAnimation::SetBlend(int blend) {
    if (blend != m_blend) {
        m_sprite.SetBlendMode(blend);
        m_blend = blend;
    }
}

void FrameAnimation::RenderCurrent() {
    if (m_mirror) {
        m_sprite.RenderEx(m_drawX, m_drawY, 0, -1, 1);
    } else {
        m_sprite.Render(m_drawX, m_drawY);
    }
}
