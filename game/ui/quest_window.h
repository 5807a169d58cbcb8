#pragma once
// The quest window ("任务窗口"): the quests of the log in log order, one
// name a row, and for the selected quest its four headed texts ("任务描述",
// "任务提示", "任务奖励", "任务跟踪"). It reads the quest log and the quest
// table and answers clicks as commands. The selection is a quest number and
// is cleared once that quest leaves the log.

#include <cstdint>
#include <string>
#include <vector>


class Engine;
class GdiFont;
class JsonWriter;
class QuestLog;
class DataTables;
struct Controls;
namespace paths {
class DataPaths;
}

struct QuestWindowCommand {
    bool click = false;  // play the click sound
};

class QuestWindow {
public:
    static constexpr float kX = 290, kY = 90;              // the window's top-left (beside the others)
    static constexpr float kListX = 20, kListY = 46;       // first row, inside the window
    static constexpr float kRowStep = 23;
    static constexpr float kRowWidth = 100, kRowHeight = 18;
    static constexpr float kTextX = 134, kTextY = 44;      // the selected quest's texts
    static constexpr std::size_t kTextBytes = 24;          // the text column's width in bytes
    static constexpr std::uint32_t kRowColour = 0xFFFFFFFF;
    static constexpr std::uint32_t kHoverColour = 0xFFFF0000;
    static constexpr std::uint32_t kHeadingColour = 0xFFFFFF00;


    // The quest numbers the list shows, in log order.
    static std::vector<int> Rows(const QuestLog& log);
    // Once a frame while the window is open: hover, a click on a row selects
    // its quest (click sound). The window's picture and its close and help
    // buttons are the game interface's. A selection whose
    // quest has left the log is cleared (also while closed: call
    // ForgetMissing).
    QuestWindowCommand Update(const Controls& controls, const QuestLog& log);
    void ForgetMissing(const QuestLog& log);
    void Draw(GdiFont& font, const QuestLog& log, const DataTables& tables) const;

    int selected() const { return m_selected; }
    int hoveredRow() const { return m_hovered; }
    void DumpState(JsonWriter& w) const;  // an object

private:
    int m_selected = 0;  // quest number, 0 = none
    int m_hovered = 0;   // 1-based row, 0 = none
};
