#include "gameplay/item_templates.h"

#include "gameplay/data_tables.h"

void ItemTemplates::Build(const DataTables& tables) {
    m_tables = &tables;
    m_items.clear();
    m_skills.clear();
    Follow();
}

void ItemTemplates::Follow() const {
    if (m_tables == nullptr) return;
    // Numbered by row position, not by the number column: the bag, the shop
    // and the commands refer to items by their row.
    const auto& items = m_tables->items.rows();
    for (std::size_t i = m_items.size(); i < items.size(); ++i)
        m_items.push_back({static_cast<int>(i) + 1, items[i].icon, 0});
    const auto& skills = m_tables->skills.rows();
    for (std::size_t i = m_skills.size(); i < skills.size(); ++i)
        m_skills.push_back({static_cast<int>(i) + 1, skills[i].icon});
}

const ItemRef* ItemTemplates::Item(int n) const {
    if (n < 1) return nullptr;
    if (static_cast<std::size_t>(n) > m_items.size()) Follow();
    if (static_cast<std::size_t>(n) > m_items.size()) return nullptr;
    return &m_items[static_cast<std::size_t>(n - 1)];
}

const SkillRef* ItemTemplates::Skill(int n) const {
    if (n < 1) return nullptr;
    if (static_cast<std::size_t>(n) > m_skills.size()) Follow();
    if (static_cast<std::size_t>(n) > m_skills.size()) return nullptr;
    return &m_skills[static_cast<std::size_t>(n - 1)];
}

int ItemTemplates::ItemCount() const {
    Follow();
    return static_cast<int>(m_items.size());
}

int ItemTemplates::SkillCount() const {
    Follow();
    return static_cast<int>(m_skills.size());
}
