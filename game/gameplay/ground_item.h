#pragma once
// An item lying on the ground of the current map (owned by the map's
// actors): it bobs, shows its name while Alt is held, and once picked up
// flies to the player and is delivered (gold to the purse, anything else
// into the bag). What it needs from the game comes through its host, which
// the game sets on every item it creates or finds in the map's list.

#include <string>

class JsonWriter;
class GroundItem;

class GroundItemHost {
public:
    virtual ~GroundItemHost() = default;
    // The item number of the first item row with that name (0: none).
    virtual int ItemNumber(const std::string& gbkName) const = 0;
    virtual bool BagFull() const = 0;
    // The full-bag line "包裹已满!! ", unless the log's last line says so.
    virtual void ReportBagFull() = 0;
    // The player's box (map pixels).
    virtual void PlayerBox(float& x, float& y, float& w, float& h) const = 0;
    virtual bool ShowNames() const = 0;
    // The item reached the player: gold adds its count, anything else goes
    // into the bag. False when it could not be taken (the bag is full).
    virtual bool Deliver(const GroundItem& item) = 0;
    virtual void DrawIcon(int itemNumber, float mapX, float mapY) = 0;
    virtual void DrawName(const std::string& gbkName, float mapX, float mapY) = 0;
};

class GroundItem {
public:
    static constexpr float kBobStep = 0.12f, kBobLow = -10.0f;
    static constexpr float kFlyStep = 5.0f, kFlyNear = 2.0f;
    static constexpr float kIconSize = 30;  // the picture on the ground

    // Whether an item lying at (ix, iy) is in the pick-up reach of the
    // player's box (px, py, pw, ph): its picture overlaps the box (edges
    // that only touch do not count) and reaches down to the feet, on either
    // side of the player's x.
    static bool InReach(float px, float py, float pw, float ph, float ix, float iy);

    GroundItem(float x, float y) : m_x(x), m_y(y) {}
    virtual ~GroundItem() = default;

    // Bob while lying; fly while picked, delivered on reaching the player.
    virtual void Update();
    // Draws the item; returns true when it is gone (taken), after which the
    // render pass removes it.
    virtual bool Draw();
    // Asked while C is held and the item is in reach: false when already
    // picked, or (not gold) when the bag is full (with the full-bag line);
    // otherwise picked and true.
    virtual bool PickUp();
    virtual void DumpState(JsonWriter& w) const;

    void SetHost(GroundItemHost* host) { m_host = host; }
    // The item number and count (a count of 0 or less counts as 1 for gold).
    void SetItem(int itemNumber, int count) {
        m_number = itemNumber;
        m_count = count;
    }
    // Delivers a picked item at once (the map is about to change): true when
    // it was taken, false when it stays (not picked any more).
    bool DeliverNow();

    // The item's name (GBK) as the map event or the drop gave it.
    void SetName(std::string gbkName) { m_name = std::move(gbkName); }
    const std::string& name() const { return m_name; }
    int itemNumber() const;
    int count() const { return m_count; }
    // The gold a gold item gives: its count, at least 1.
    int goldAmount() const { return m_count > 0 ? m_count : 1; }
    bool picked() const { return m_picked; }
    // Whether the last Draw showed the name.
    bool nameShown() const { return m_nameShown; }
    float bob() const { return m_bob; }
    float x() const { return m_x; }
    float y() const { return m_y; }
    bool gone() const { return m_gone; }
    void SetGone(bool gone) { m_gone = gone; }

protected:
    float m_x, m_y;
    bool m_gone = false;
    std::string m_name;

private:
    GroundItemHost* m_host = nullptr;
    mutable int m_number = 0;
    int m_count = 1;
    bool m_picked = false;
    bool m_nameShown = false;
    float m_bob = 0;
    int m_bobDirection = -1;  // -1 down to -10, +1 back up to 0
};
