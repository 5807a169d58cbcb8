#pragma once
// An item lying on the ground of the current map (owned by the map's
// actors).

#include <string>

class JsonWriter;

class GroundItem {
public:
    GroundItem(float x, float y) : m_x(x), m_y(y) {}
    virtual ~GroundItem() = default;

    virtual void Update();
    // Draws the item; returns true when it is gone (taken or expired), after
    // which the render pass removes it.
    virtual bool Draw();
    // Tries to put the item into the bag; true when it was taken.
    virtual bool PickUp();
    virtual void DumpState(JsonWriter& w) const;

    // The item's name (GBK) as the map event or the drop gave it.
    void SetName(std::string gbkName) { m_name = std::move(gbkName); }
    const std::string& name() const { return m_name; }
    float x() const { return m_x; }
    float y() const { return m_y; }
    bool gone() const { return m_gone; }
    void SetGone(bool gone) { m_gone = gone; }

protected:
    float m_x, m_y;
    bool m_gone = false;
    std::string m_name;
};
