#include "ui/mouse_pointer.h"

#include "core/tolerance.h"
#include "platform/engine.h"
#include "shared/gbk.h"
#include "shared/paths.h"

void MousePointer::Create(Engine& engine, const paths::DataPaths& dataPaths) {
    for (int n = 1; n <= 8; ++n) {
        HTEXTURE tex = engine.LoadTexture(dataPaths.Resolve(gbk::Lit("\\data\\其它\\指针") + std::to_string(n) + ".png"));
        Sprite& s = m_frames[static_cast<std::size_t>(n - 1)];
        s = Sprite(tex, 0, 0, 30, 30);
        s.SetZ(0.01f);
    }
    m_mode = kNormal;
}

void MousePointer::Update(bool leftButtonHeld, float mouseY) {
    if (leftButtonHeld && m_mode != kBusy) {
        m_mode = kPressed;
    } else if (m_mode != kBusy) {
        m_mode = kNormal;
    }
    if (tolerance::Gt(mouseY, 526.0)) m_mode = kNormal;
}

int MousePointer::Draw(float x, float y) {
    int frame = 0;
    switch (m_mode) {
        case kNormal: frame = 1; break;
        case kPressed: frame = 2; break;
        case kBusy:
            ++m_counter;
            frame = m_counter < 10 ? 3 : m_counter < 20 ? 4 : m_counter < 30 ? 5 : 6;
            break;
        default: return 0;
    }
    m_frames[static_cast<std::size_t>(frame - 1)].Render(x, y);
    if (m_mode == kBusy && m_counter > 40) m_counter = 0;
    return frame;
}
