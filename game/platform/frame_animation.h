#pragma once
// A frame animation: the frames of one folder (or of a glyph table column)
// played over a range with one engine sprite.
//
// Frames are numbered from 1: frame k is picture k-1 of the folder. The
// step operations take the frame duration in hundredths of a second, the
// first and last frame of the range, and this frame's elapsed seconds:
// the timer collects elapsed time and, once it is beyond the duration by
// more than 1e-7, the step counter advances and the timer restarts at 0.
// A frame outside the loaded frames draws nothing.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/frame_cache.h"
#include "platform/sprite.h"

class FrameAnimation {
public:
    // Fills the object from the folder (through the cache when useCache).
    void Load(FrameCache& cache, const std::string& gbkFolder, int count, bool useCache);
    // Fills the object from column `column` of a table of loaded frames:
    // frame k is table[k - 1][column]. The disk is not touched.
    void Load(const std::vector<std::vector<FrameInfo>>& table, int column);

    bool loaded() const { return m_loaded; }
    const std::string& folder() const { return m_folder; }
    int FrameCount() const { return static_cast<int>(m_frames ? m_frames->frames.size() : 0); }

    // Step operations: advance the timer and choose the current frame, the
    // sprite's texture and rectangle and the draw position.
    // Loop: first, first+1, .., last, first, ..
    void StepLoop(int duration, int first, int last, float elapsed, bool mirror = false);
    // As StepLoop, with the picture rectangle taken from the texture's own size.
    void StepLoopTextureSize(int duration, int first, int last, float elapsed, bool mirror = false);
    // first .. last .. first: the counter runs 0 .. 2 * (last - first).
    void StepBackAndForth(int duration, int first, int last, float elapsed, bool mirror = false);

    // Draws the current frame at the draw position; drawFlag 1 makes it glow
    // (blended normally, then added to the screen once more), 0 blends
    // normally.
    void Draw(int drawFlag = 0);

    // Step-and-draw in one call.
    void PlayLoop(int duration, int first, int last, float elapsed, bool mirror = false) {
        StepLoop(duration, first, last, elapsed, mirror);
        Draw();
    }
    void PlayLoopTextureSize(int duration, int first, int last, float elapsed, bool mirror = false) {
        StepLoopTextureSize(duration, first, last, elapsed, mirror);
        Draw();
    }
    void PlayBackAndForth(int duration, int first, int last, float elapsed, bool mirror = false) {
        StepBackAndForth(duration, first, last, elapsed, mirror);
        Draw();
    }

    int CurrentFrame() const { return m_currentFrame; }
    void SetCurrentFrame(int frame) { m_currentFrame = frame; }
    int StepCounter() const { return m_stepCounter; }
    float Timer() const { return m_timer; }
    // Size of the current frame as the sprite shows it.
    float CurrentWidth() const { return m_sprite.Width(); }
    float CurrentHeight() const { return m_sprite.Height(); }
    // The frame info of frame k (1-based); an empty record when out of range.
    FrameInfo Frame(int k) const;
    float DrawX() const { return m_drawX; }
    float DrawY() const { return m_drawY; }
    float AnchorX() const { return m_anchorX; }
    float AnchorY() const { return m_anchorY; }
    void SetAnchor(float x, float y) {
        m_anchorX = x;
        m_anchorY = y;
    }
    // Timer and step counter to 0: the next range starts at its first frame.
    void Reset() {
        m_timer = 0;
        m_stepCounter = 0;
    }
    void SetColour(std::uint32_t argb) { m_sprite.SetColour(argb); }
    std::uint32_t Colour() const { return m_sprite.colour(); }
    const Sprite& sprite() const { return m_sprite; }

private:
    void SetBlend(int blend);
    void RenderCurrent();
    // Timing common to every mode.
    void Tick(int duration, float elapsed);
    void Show(bool textureSize, bool mirror);
    void Attach();

    std::string m_folder;
    std::shared_ptr<const FrameSet> m_frames;  // shared with the cache
    Sprite m_sprite;
    float m_timer = 0;
    int m_stepCounter = 0;
    float m_anchorX = 0, m_anchorY = 0;
    float m_drawX = 0, m_drawY = 0;
    int m_currentFrame = 1;
    bool m_mirror = false;
    bool m_loaded = false;
    int m_blend = -1;
};
