#include "ui/dialog_box.h"

#include "core/json_writer.h"

void DialogBox::Create(int style, int mode) {
    m_style = style == 0 ? 1 : style;
    m_mode = mode;
    m_width = 180;
    m_height = 50;
}

void DialogBox::SetPosition(int x, int y, int arrowOffset) {
    m_x = x;
    m_y = y;
    m_arrowOffset = arrowOffset;
}

void DialogBox::Draw() {}

void DialogBox::DumpState(JsonWriter& w) const {
    w.BeginObject();
    w.Field("open", dialogOpen);
    w.Field("npc", npc);
    w.Field("npcName", npcName);
    w.Field("prompt", prompt);
    w.Key("choices");
    w.BeginArray();
    for (const DialogChoice& c : choices) {
        w.BeginObject();
        w.Field("caption", c.caption);
        w.Field("action", c.action);
        w.EndObject();
    }
    w.EndArray();
    w.Field("pendingFunction", pendingFunction);
    w.Key("box");
    w.BeginObject();
    w.Field("x", m_x);
    w.Field("y", m_y);
    w.Field("width", m_width);
    w.Field("height", m_height);
    w.EndObject();
    w.EndObject();
}
