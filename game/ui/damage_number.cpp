#include "ui/damage_number.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/json_writer.h"

void DamageNumbers::Show(float value, int x, int y, const GlyphTable& glyphs, float cameraX) {
    DamageNumber rec;
    // Values come from script-set attributes: a broken or huge one is
    // bounded before the conversion (which truncates toward zero).
    // (2147483520 is the largest float below 2^31.)
    value = std::isnan(value) ? 0.0f : std::clamp(value, -2147483520.0f, 2147483520.0f);
    rec.value = static_cast<int>(value);
    std::string text = std::to_string(rec.value);
    rec.digits.resize(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        int d = (text[i] >= '0' && text[i] <= '9') ? text[i] - '0' : -1;
        rec.digits[i].Load(glyphs, d);
        rec.digitX.push_back(static_cast<int>(static_cast<float>(x + 20) - cameraX));
        rec.digitY.push_back(y);
        x += 25;
    }
    m_list.push_back(std::move(rec));
}

void DamageNumbers::Update(float dt, float cameraX, float cameraY) {
    for (DamageNumber& rec : m_list) {
        for (std::size_t i = 0; i < rec.digits.size(); ++i) {
            rec.digits[i].SetAnchor(cameraX + static_cast<float>(rec.digitX[i]), cameraY + static_cast<float>(rec.digitY[i]));
            rec.digits[i].StepLoop(10, 1, 10, dt);
        }
    }
}

void DamageNumbers::Draw() {
    std::vector<std::size_t> finished;
    for (std::size_t r = 0; r < m_list.size(); ++r) {
        DamageNumber& rec = m_list[r];
        for (FrameAnimation& digit : rec.digits) digit.Draw();
        if (!rec.digits.empty() && rec.digits.front().CurrentFrame() == 10) finished.push_back(r);
    }
    // Each removal index is lowered by the number already removed.
    for (std::size_t k = 0; k < finished.size(); ++k) {
        m_list.erase(m_list.begin() + static_cast<std::ptrdiff_t>(finished[k] - k));
    }
}

void DamageNumbers::DumpState(JsonWriter& w) const {
    w.BeginArray();
    for (const DamageNumber& rec : m_list) {
        w.BeginObject();
        w.Field("value", rec.value);
        w.Field("x", rec.digitX.empty() ? 0 : rec.digitX.front());
        w.Field("y", rec.digitY.empty() ? 0 : rec.digitY.front());
        w.Field("frame", rec.digits.empty() ? 0 : rec.digits.front().CurrentFrame());
        w.EndObject();
    }
    w.EndArray();
}
