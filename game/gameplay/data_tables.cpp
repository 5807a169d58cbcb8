#include "gameplay/data_tables.h"

int DataTables::AppendNpc(NpcRow row) {
    npcState.Append();
    return npcs.Append(std::move(row));
}

int DataTables::FindItem(std::string_view name) const {
    const auto& rows = items.rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].name == name) return static_cast<int>(i) + 1;
    }
    return 0;
}
