#include "gameplay/npc.h"

#include "core/json_writer.h"
#include "gameplay/data_tables.h"
#include "gameplay/npc_picture_cache.h"
#include "gameplay/npc_state.h"
#include "platform/fonts.h"
#include "world/camera.h"

namespace {

// A frame animation reads its frames as one column of a table.
std::vector<std::vector<FrameInfo>> Column(const std::vector<FrameInfo>& frames) {
    std::vector<std::vector<FrameInfo>> table;
    table.reserve(frames.size());
    for (const FrameInfo& f : frames) table.push_back({f});
    return table;
}

}  // namespace

void Npc::CreateFromRow(int number, const NpcRow& row, const wdm::GroundRecord& ground, double offset) {
    m_number = number;
    m_name = row.name;
    m_frameCount = row.frameCount;
    m_frameDuration = row.frameDuration;
    m_yOffset = row.yOffset;
    m_x = static_cast<float>(ground.left + offset);
    m_groundTop = static_cast<float>(ground.top);
    m_y = m_groundTop;
}

void Npc::Init(const NpcPictures& pictures, const NpcArt& art, std::string scriptText, float charWidth) {
    m_animation.Load(Column(pictures.frames), 0);
    const FrameInfo first = m_animation.Frame(1);
    m_width = first.width;
    m_height = first.height;
    m_y = m_groundTop - static_cast<float>(m_height) - static_cast<float>(m_yOffset);
    m_portrait = pictures.portrait;
    m_portraitWidth = pictures.portraitWidth;
    m_portraitHeight = pictures.portraitHeight;

    m_plateWidths = {static_cast<float>(art.plateWidth[0]),
                     static_cast<float>(art.plateWidth[1]) + static_cast<float>(m_name.size()) * charWidth,
                     static_cast<float>(art.plateWidth[2])};
    m_plateHeight = static_cast<float>(art.plateHeight[0]);
    for (std::size_t i = 0; i < 3; ++i) {
        m_plate[i] = Sprite(art.plate[i], 0, 0, static_cast<float>(art.plateWidth[i]),
                            static_cast<float>(art.plateHeight[i]));
    }
    m_markAvailable.Load(Column(art.markAvailable), 0);
    m_markReturn.Load(Column(art.markReturn), 0);
    m_script = std::move(scriptText);
}

void Npc::Draw(const Camera& camera, float dt) {
    if (m_frameCount < 1) return;
    m_animation.SetAnchor(m_x + camera.offsetX, m_y + camera.offsetY);
    m_animation.PlayLoop(m_frameDuration, 1, m_frameCount, dt);
}

void Npc::DrawOverlay(const Camera& camera, float dt, int questState, GdiFont& font, float screenWidth,
                      float screenHeight) {
    const float sx = m_x + camera.offsetX, sy = m_y + camera.offsetY;
    if (sx + static_cast<float>(m_width) < 0 || sx > screenWidth || sy + static_cast<float>(m_height) < 0 ||
        sy > screenHeight)
        return;
    const float centre = sx + static_cast<float>(m_width) / 2;
    if (questState == 1 || questState == 2) {
        FrameAnimation& mark = questState == 1 ? m_markAvailable : m_markReturn;
        const int frames = mark.FrameCount();
        const float markWidth = static_cast<float>(mark.Frame(1).width);
        mark.SetAnchor(centre - markWidth / 2, sy - kMarkRise);
        if (frames > 0) mark.PlayLoop(kMarkDuration, 1, frames, dt);
    }
    float px = centre - plateWidth() / 2;
    const float py = sy - kPlateRise;
    m_plate[0].Render(px, py);
    m_plate[1].RenderStretch(px + m_plateWidths[0], py, px + m_plateWidths[0] + m_plateWidths[1],
                             py + m_plateHeight);
    m_plate[2].Render(px + m_plateWidths[0] + m_plateWidths[1], py);
    const float textWidth = font.TextWidth(m_name);
    const float textHeight = font.TextHeight("A");
    font.SetColour(0xFFFFFFFF);
    font.Print(centre - textWidth / 2, py + (m_plateHeight - textHeight) / 2, m_name);
}

bool Npc::Contains(float mapX, float mapY) const {
    return mapX >= m_x && mapX < m_x + static_cast<float>(m_width) && mapY >= m_y &&
           mapY < m_y + static_cast<float>(m_height);
}

void Npc::DumpState(JsonWriter& w, const NpcStateRecord* state) const {
    w.BeginObject();
    w.Field("number", m_number);
    w.Field("name", m_name);
    w.Field("x", m_x);
    w.Field("y", m_y);
    w.Field("width", m_width);
    w.Field("height", m_height);
    w.Field("frames", m_animation.FrameCount());
    w.Field("portrait", m_portrait != 0);
    w.Field("dialogFlag", m_dialogFlag);
    w.Field("hasScript", !m_script.empty());
    w.Field("questState", state ? state->questState : 0);
    w.Field("variable", state ? state->variable : 0);
    w.Field("questVariable", state ? state->questVariable : 0);
    w.EndObject();
}
