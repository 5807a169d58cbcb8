#include "gameplay/item_templates.h"

#include "gameplay/data_tables.h"

void ItemTemplates::Build(const DataTables& tables) {
    m_items.clear();
    m_skills.clear();
    // Numbered by row position, not by the number column: the bag, the shop
    // and the commands refer to items by their row.
    const auto& items = tables.items.rows();
    m_items.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        m_items.push_back({static_cast<int>(i) + 1, items[i].icon, 0});
    }
    const auto& skills = tables.skills.rows();
    m_skills.reserve(skills.size());
    for (std::size_t i = 0; i < skills.size(); ++i) {
        m_skills.push_back({static_cast<int>(i) + 1, skills[i].icon});
    }
}

const ItemRef* ItemTemplates::Item(int n) const {
    if (n < 1 || static_cast<std::size_t>(n) > m_items.size()) return nullptr;
    return &m_items[static_cast<std::size_t>(n - 1)];
}

const SkillRef* ItemTemplates::Skill(int n) const {
    if (n < 1 || static_cast<std::size_t>(n) > m_skills.size()) return nullptr;
    return &m_skills[static_cast<std::size_t>(n - 1)];
}
