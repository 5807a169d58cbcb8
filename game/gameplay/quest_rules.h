#pragma once
// The quest rules the game keeps itself (the rest of every quest is written
// in the NPC scripts): the quest log's look-up and the gold-collection quest.

class NpcState;
class QuestLog;

namespace quest_rules {

// The gold-collection quest: quest 3 asks for 10000 gold, NPC 3 keeps the
// progress in its quest variable and NPC 5 takes the quest back.
constexpr int kGoldQuest = 3;
constexpr int kGoldProgressNpc = 3;
constexpr int kGoldReturnNpc = 5;
constexpr int kGoldTarget = 10000;

// Whether some slot of the log holds `quest`.
bool Holds(const QuestLog& log, int quest);

// Once a frame: while the gold quest is in the log, NPC 3's quest variable
// follows the gold; at 10000 or more it stays at 10000 and NPC 5's quest
// state becomes 2 (can be handed in). Nothing when the NPC table has fewer
// than five rows. Returns true when it made NPC 5 ready this call.
bool ApplyGoldQuest(const QuestLog& log, int gold, NpcState& npcs);

}  // namespace quest_rules
