#include "ui/speech_bubble.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "core/json_writer.h"
#include "platform/engine.h"
#include "platform/fonts.h"
#include "shared/gbk.h"
#include "shared/paths.h"

namespace {

Sprite Picture(Engine& engine, const std::string& fsPath, float w, float h) {
    HTEXTURE t = engine.LoadTexture(fsPath);
    if (w <= 0) w = static_cast<float>(engine.TextureWidth(t));
    if (h <= 0) h = static_cast<float>(engine.TextureHeight(t));
    return Sprite(t, 0, 0, w, h);
}

}  // namespace

void SpeechBubble::Init(Engine& engine, const paths::DataPaths& dataPaths, int style) {
    m_engine = &engine;
    m_paths = &dataPaths;
    m_style = style == 0 ? 1 : style;
    const std::string s = std::to_string(m_style);
    for (std::size_t k = 0; k < m_tiles.size(); ++k) {
        m_tiles[k] = Picture(engine, dataPaths.Resolve(gbk::Lit("\\data\\对话框\\") + s + std::to_string(k) + ".png"),
                             kTile, kTile);
    }
    for (std::size_t k = 0; k < m_pointers.size(); ++k) {
        m_pointers[k] = Picture(
            engine, dataPaths.Resolve(gbk::Lit("\\data\\对话框选项\\") + s + std::to_string(k) + ".png"), 0, 0);
    }
}

void SpeechBubble::SetContent(const std::string& text, const std::string& secondText, int mode, float textWidth,
                              float textHeight, const std::string& gbkPicture) {
    m_text = text;
    m_secondText = secondText;
    m_mode = mode;
    if (gbkPicture != m_picturePath) {
        m_picturePath = gbkPicture;
        m_picture = Sprite();
        std::error_code ec;
        if (!gbkPicture.empty() && m_engine != nullptr && m_paths != nullptr &&
            std::filesystem::is_regular_file(m_paths->Resolve(gbkPicture), ec)) {
            m_picture = Picture(*m_engine, m_paths->Resolve(gbkPicture), 0, 0);
            ++m_pictureLoads;
        }
    }
    m_textWidth = std::max(textWidth, 0.0f);
    m_textHeight = std::max(textHeight, 0.0f);
    const int tile = static_cast<int>(kTile);
    m_width = static_cast<int>(std::floor(std::max(textWidth, 0.0f) / kTile)) * tile + 2 * tile;
    m_height = static_cast<int>(std::floor(std::max(textHeight, 0.0f) / kTile)) * tile + 2 * tile;
    if (m_width < kMinWidth) m_width = kMinWidth;
}

void SpeechBubble::SetPosition(float x, float y, float extraX) {
    m_x = x;
    m_y = y;
    m_extraX = extraX;
}

void SpeechBubble::Draw(GdiFont& font, float pointerX) const {
    if (m_text.empty()) return;
    const float w = static_cast<float>(m_width), h = static_cast<float>(m_height);
    const float x = m_x, y = m_y;
    // Edges and centre are uniform along their length and drawn stretched.
    m_tiles[0].Render(x, y);
    m_tiles[1].Render(x + w - kTile, y);
    m_tiles[2].Render(x, y + h - kTile);
    m_tiles[3].Render(x + w - kTile, y + h - kTile);
    m_tiles[4].RenderStretch(x + kTile, y, x + w - kTile, y + kTile);
    m_tiles[5].RenderStretch(x + kTile, y + h - kTile, x + w - kTile, y + h);
    m_tiles[6].RenderStretch(x, y + kTile, x + kTile, y + h - kTile);
    m_tiles[7].RenderStretch(x + w - kTile, y + kTile, x + w, y + h - kTile);
    m_tiles[8].RenderStretch(x + kTile, y + kTile, x + w - kTile, y + h - kTile);
    if (m_mode == 1) {
        // The opening piece sits on the bottom edge toward the speaker.
        const float ox = std::min(std::max(m_extraX - kTile / 2, kTile), w - 2 * kTile);
        m_tiles[9].Render(x + ox, y + h - kTile);
    }
    if (!m_picture.empty()) m_picture.Render(x + kTile, y + kTile);
    font.SetColour(0xFFFFFFFF);
    font.Print(TextX(), TextY(), m_text);
    // The pointer hangs from the bubble's bottom toward the speaker.
    const Sprite& pointer = m_pointers[0];
    pointer.Render(pointerX - pointer.Width() / 2, y + h - 4);
}

void SpeechBubble::DumpState(JsonWriter& w) const {
    w.BeginObject();
    w.Field("text", m_text);
    w.Field("mode", m_mode);
    w.Field("x", m_x);
    w.Field("y", m_y);
    w.Field("width", m_width);
    w.Field("height", m_height);
    w.Field("textX", TextX());
    w.Field("textWidth", m_textWidth);
    w.EndObject();
}

void BubbleMessages::Add(const std::string& gbkText) {
    if (gbkText.empty()) return;
    m_texts.push_back({gbkText, 0});
    if (m_texts.size() > kKept) m_texts.erase(m_texts.begin());
}

void BubbleMessages::Update(float dt) {
    for (Entry& e : m_texts) e.age += dt;
    std::erase_if(m_texts, [](const Entry& e) { return e.age >= kShownFor; });
}

std::string BubbleMessages::Text() const {
    std::string text;
    for (const Entry& e : m_texts) {
        if (!text.empty()) text += '\n';
        text += e.text;
    }
    return text;
}

void BubbleMessages::DumpState(JsonWriter& w) const {
    w.BeginArray();
    for (const Entry& e : m_texts) w.String(e.text);
    w.EndArray();
}
