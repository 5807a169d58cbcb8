#include "ui/button.h"

#include "platform/controls.h"
#include "platform/engine.h"
#include "shared/gbk.h"
#include "shared/paths.h"

void Button::Init(Engine& engine, const paths::DataPaths& dataPaths, float x, float y, const std::string& gbkFolder,
                  const std::string& gbkName) {
    const char* files[3] = {"1.png", "2.png", "3.png"};
    for (std::size_t i = 0; i < m_pictures.size(); ++i) {
        HTEXTURE t = engine.LoadTexture(dataPaths.Resolve(gbkFolder + "\\" + gbkName + "\\" + files[i]));
        m_pictures[i] = Sprite(t, 0, 0, static_cast<float>(engine.TextureWidth(t)),
                               static_cast<float>(engine.TextureHeight(t)));
    }
    SetBox(x, y, m_pictures[0].Width(), m_pictures[0].Height());
}

void Button::SetBox(float x, float y, float width, float height) {
    m_x = x;
    m_y = y;
    m_width = width;
    m_height = height;
}

bool Button::Contains(float px, float py) const {
    return m_width > 0 && m_height > 0 && px >= m_x && px < m_x + m_width && py >= m_y && py < m_y + m_height;
}

bool Button::Update(const Controls& c) {
    const bool over = Contains(c.mouseX, c.mouseY);
    if (c.Pressed(Action::MouseLeft)) m_armed = over;
    bool clicked = false;
    if (c.Released(Action::MouseLeft)) {
        clicked = m_armed && over;
        m_armed = false;
    }
    if (over && c.Held(Action::MouseLeft) && m_armed) {
        m_state = kPressed;
    } else {
        m_state = over ? kHover : kNormal;
    }
    return clicked;
}

void Button::Draw() const { m_pictures[static_cast<std::size_t>(m_state)].Render(m_x, m_y); }
