#pragma once
// An NPC of the current map (created from the NPC table by the map load,
// owned by the map's actors): its standing animation, portrait, name plate,
// quest marks, click box and script text. The map load places it
// (CreateFromRow) and the game then hands it its pictures and script (Init).
// Draw runs with the other characters, DrawOverlay (quest mark and name
// plate) after them.

#include <array>
#include <string>
#include <vector>

#include "platform/frame_animation.h"
#include "platform/sprite.h"
#include "shared/wdm_map.h"

class GdiFont;
class JsonWriter;
struct Camera;
struct NpcPictures;
struct NpcRow;
struct NpcStateRecord;

// The pictures every NPC shares: the name plate's three pieces
// ("\data\其它\npc名称1..3.png": left, stretched middle, right) and the
// frames of the two quest marks ("\data\其它\任务\可接\" and "可交\").
struct NpcArt {
    std::array<HTEXTURE, 3> plate{};
    std::array<int, 3> plateWidth{}, plateHeight{};
    std::vector<FrameInfo> markAvailable, markReturn;
};

class Npc {
public:
    static constexpr int kMarkDuration = 10;    // hundredths of a second per mark frame
    static constexpr float kMarkRise = 80;      // the mark's top above the NPC's top
    static constexpr float kPlateRise = 20;     // the name plate's top above the NPC's top

    Npc() = default;
    virtual ~Npc() = default;

    // Map load: the NPC of table row `number` stands on `ground`, `offset`
    // from its left edge. The row exists (the map skips events without one).
    // Until Init gives it a size its top is the ground's top.
    virtual void CreateFromRow(int number, const NpcRow& row, const wdm::GroundRecord& ground, double offset);

    // Pictures, name plate and script: the size is the first frame's
    // picture rectangle, the NPC stands on its ground raised by the row's
    // upward offset, and the name plate's middle is its texture's width plus
    // one character width per byte of the name.
    void Init(const NpcPictures& pictures, const NpcArt& art, std::string scriptText, float charWidth);

    virtual void Update() {}
    // The standing animation at its screen place.
    virtual void Draw(const Camera& camera, float dt);
    // The quest mark for `questState` (1 available, 2 can be handed in) and
    // the name plate with the name; nothing when the NPC is off the screen.
    void DrawOverlay(const Camera& camera, float dt, int questState, GdiFont& font, float screenWidth,
                     float screenHeight);
    // Marks the NPC as the one being talked to.
    void OpenDialog(int flag) { m_dialogFlag = flag; }
    // Whether map point (x, y) lies in the click box.
    bool Contains(float mapX, float mapY) const;

    // The NPC with its state record (nullptr: the record is missing).
    virtual void DumpState(JsonWriter& w, const NpcStateRecord* state) const;

    int number() const { return m_number; }
    float x() const { return m_x; }
    float y() const { return m_y; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    const std::string& name() const { return m_name; }
    const std::string& script() const { return m_script; }
    int dialogFlag() const { return m_dialogFlag; }
    HTEXTURE portrait() const { return m_portrait; }
    int portraitWidth() const { return m_portraitWidth; }
    int portraitHeight() const { return m_portraitHeight; }
    float plateWidth() const { return m_plateWidths[0] + m_plateWidths[1] + m_plateWidths[2]; }

protected:
    int m_number = 0;
    std::string m_name;
    float m_x = 0, m_y = 0;  // top-left in map pixels
    float m_groundTop = 0;
    int m_yOffset = 0;
    int m_width = 0, m_height = 0;
    int m_frameCount = 0, m_frameDuration = 0;
    int m_dialogFlag = 0;
    std::string m_script;  // GBK script text

    FrameAnimation m_animation;
    HTEXTURE m_portrait = 0;
    int m_portraitWidth = 0, m_portraitHeight = 0;
    std::array<Sprite, 3> m_plate;
    std::array<float, 3> m_plateWidths{};
    float m_plateHeight = 0;
    FrameAnimation m_markAvailable, m_markReturn;
};
