#pragma once
// The speech bubble over the player, built from 25 x 25 tiles
// ("\data\对话框\<style><k>.png", k = 0..9: four corners, top, bottom, left
// and right edges, centre, and the piece that opens toward the speaker) and
// a pointer picture ("\data\对话框选项\<style><k>.png") between it and the
// player; and the on-screen message list it shows.

#include <array>
#include <string>
#include <vector>

#include "platform/sprite.h"

class Engine;
class GdiFont;
class JsonWriter;
namespace paths {
class DataPaths;
}

class SpeechBubble {
public:
    static constexpr float kTile = 25;
    static constexpr int kMinWidth = 180;
    // The text stands in the middle of the bubble: equal margins left and
    // right, and above and below.
    float TextX() const { return m_x + (static_cast<float>(m_width) - m_textWidth) / 2; }
    float TextY() const { return m_y + (static_cast<float>(m_height) - m_textHeight) / 2; }

    // Loads the tiles and pointer pictures of `style` (1 when 0).
    void Init(Engine& engine, const paths::DataPaths& dataPaths, int style);

    // The texts, the mode (1 draws the opening piece) and a picture path
    // (GBK "\data\..."; loaded when it names an existing file, again only
    // when the path changes). The size comes from the text's measured size:
    // whole tiles around it plus a tile of frame each side, at least 180
    // wide.
    void SetContent(const std::string& text, const std::string& secondText, int mode, float textWidth,
                    float textHeight, const std::string& gbkPicture = {});
    // Top-left and the opening piece's x offset.
    void SetPosition(float x, float y, float extraX);
    // Nothing when the text is empty. `pointerX` is the screen x of the
    // speaker's centre, where the pointer picture goes.
    void Draw(GdiFont& font, float pointerX) const;

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    float x() const { return m_x; }
    float y() const { return m_y; }
    const std::string& text() const { return m_text; }
    int pictureLoads() const { return m_pictureLoads; }
    void DumpState(JsonWriter& w) const;  // an object

private:
    Engine* m_engine = nullptr;
    const paths::DataPaths* m_paths = nullptr;
    std::array<Sprite, 10> m_tiles;
    std::array<Sprite, 3> m_pointers;
    int m_style = 1;
    float m_x = 0, m_y = 0;
    int m_width = kMinWidth, m_height = 50;
    int m_mode = 0;
    std::string m_text, m_secondText;
    std::string m_picturePath;
    Sprite m_picture;
    int m_pictureLoads = 0;
    float m_extraX = 0;
    float m_textWidth = 0, m_textHeight = 0;
};

// The on-screen message list the bubble shows: system messages and typed
// chat lines. It keeps the last five texts; each is removed once it has been
// shown for 3.5 s.
class BubbleMessages {
public:
    static constexpr std::size_t kKept = 5;
    static constexpr float kShownFor = 3.5f;

    void Add(const std::string& gbkText);
    // Ages every text by `dt` and drops those shown for 3.5 s or more.
    void Update(float dt);
    // The texts, one a line, oldest first; empty when none.
    std::string Text() const;
    std::size_t size() const { return m_texts.size(); }
    void DumpState(JsonWriter& w) const;  // an array of texts

private:
    struct Entry {
        std::string text;
        float age = 0;
    };
    std::vector<Entry> m_texts;
};
