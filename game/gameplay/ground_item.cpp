#include "gameplay/ground_item.h"

#include <cmath>

#include "core/json_writer.h"
#include "core/tolerance.h"

namespace {
constexpr int kGold = 16;

// One axis of the flight: 5 pixels a step, 2 when within 5, never past.
float StepToward(float from, float to) {
    const float d = to - from;
    const float a = std::fabs(d);
    if (a <= GroundItem::kFlyNear) return to;
    const float step = a > GroundItem::kFlyStep ? GroundItem::kFlyStep : GroundItem::kFlyNear;
    return from + (d > 0 ? step : -step);
}
}  // namespace

bool GroundItem::InReach(float px, float py, float pw, float ph, float ix, float iy) {
    using tolerance::Ge, tolerance::Gt, tolerance::Lt;
    const double feet = static_cast<double>(py) + ph;
    const bool across = Gt(static_cast<double>(ix) + kIconSize, px) && Lt(ix, static_cast<double>(px) + pw);
    // Drops land with their bottom at the feet (the player's) or a little
    // below (a monster's), so they can be picked up where they fall.
    const bool down = Lt(iy, feet) && Ge(static_cast<double>(iy) + kIconSize, feet);
    return across && down;
}

int GroundItem::itemNumber() const {
    if (m_number == 0 && m_host != nullptr) m_number = m_host->ItemNumber(m_name);
    return m_number;
}

void GroundItem::Update() {
    if (m_gone) return;
    if (!m_picked) {
        m_bob += kBobStep * static_cast<float>(m_bobDirection);
        if (m_bob <= kBobLow) {
            m_bob = kBobLow;
            m_bobDirection = 1;
        } else if (m_bob >= 0) {
            m_bob = 0;
            m_bobDirection = -1;
        }
        return;
    }
    if (m_host == nullptr) return;
    float px = 0, py = 0, pw = 0, ph = 0;
    m_host->PlayerBox(px, py, pw, ph);
    m_x = StepToward(m_x, px + pw / 2);
    m_y = StepToward(m_y, py + ph / 2);
    const bool reached = m_x >= px && m_x <= px + pw && m_y >= py && m_y <= py + ph;
    if (reached) DeliverNow();
}

bool GroundItem::DeliverNow() {
    if (m_gone || !m_picked) return false;
    if (m_host != nullptr && m_host->Deliver(*this)) {
        m_gone = true;
        return true;
    }
    // The bag filled up meanwhile: the item stays where it is.
    m_picked = false;
    if (m_host != nullptr) m_host->ReportBagFull();
    return false;
}

bool GroundItem::Draw() {
    m_nameShown = false;
    if (m_gone) return true;
    if (m_host != nullptr) {
        m_host->DrawIcon(itemNumber(), m_x, m_y + m_bob);
        m_nameShown = !m_picked && m_host->ShowNames();
        if (m_nameShown) m_host->DrawName(m_name, m_x + 15, m_y + m_bob);
    }
    return false;
}

bool GroundItem::PickUp() {
    if (m_picked || m_gone) return false;
    if (itemNumber() != kGold && m_host != nullptr && m_host->BagFull()) {
        m_host->ReportBagFull();
        return false;
    }
    m_picked = true;
    return true;
}

void GroundItem::DumpState(JsonWriter& w) const {
    w.BeginObject();
    w.Field("name", m_name);
    w.Field("item", itemNumber());
    w.Field("count", m_count);
    w.Field("x", m_x);
    w.Field("y", m_y);
    w.Field("picked", m_picked);
    w.Field("nameShown", m_nameShown);
    w.Field("gone", m_gone);
    w.EndObject();
}
