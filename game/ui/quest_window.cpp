#include "ui/quest_window.h"

#include "core/json_writer.h"
#include "gameplay/data_tables.h"
#include "gameplay/inventory.h"
#include "platform/controls.h"
#include "platform/engine.h"
#include "platform/fonts.h"
#include "shared/gbk.h"
#include "shared/paths.h"
#include "ui/text_wrap.h"

std::vector<int> QuestWindow::Rows(const QuestLog& log) {
    std::vector<int> rows;
    for (int slot = 1; slot <= QuestLog::kSlots; ++slot) {
        if (log.At(slot) != 0) rows.push_back(log.At(slot));
    }
    return rows;
}

void QuestWindow::ForgetMissing(const QuestLog& log) {
    if (m_selected == 0) return;
    for (int q : Rows(log)) {
        if (q == m_selected) return;
    }
    m_selected = 0;
}

QuestWindowCommand QuestWindow::Update(const Controls& controls, const QuestLog& log) {
    QuestWindowCommand command;
    ForgetMissing(log);
    m_hovered = 0;
    const std::vector<int> rows = Rows(log);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const float rx = kX + kListX, ry = kY + kListY + kRowStep * static_cast<float>(i);
        if (controls.mouseX < rx || controls.mouseX >= rx + kRowWidth || controls.mouseY < ry ||
            controls.mouseY >= ry + kRowHeight)
            continue;
        m_hovered = static_cast<int>(i) + 1;
        if (controls.Pressed(Action::MouseLeft)) {
            m_selected = rows[i];
            command.click = true;
        }
        break;
    }
    return command;
}

void QuestWindow::Draw(GdiFont& font, const QuestLog& log, const DataTables& tables) const {
    const std::vector<int> rows = Rows(log);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const QuestRow* q = tables.quests.At(rows[i]);
        font.SetColour(static_cast<int>(i) + 1 == m_hovered ? kHoverColour : kRowColour);
        font.Print(kX + kListX, kY + kListY + kRowStep * static_cast<float>(i), q ? q->name : std::string());
    }
    const QuestRow* q = m_selected != 0 ? tables.quests.At(m_selected) : nullptr;
    if (q != nullptr) {
        const float line = font.TextHeight("A") > 0 ? font.TextHeight("A") + 2 : 14;
        float y = kY + kTextY;
        const std::pair<const char*, const std::string*> sections[] = {
            {"任务描述", &q->description}, {"任务提示", &q->hint}, {"任务奖励", &q->reward}, {"任务跟踪", &q->tracking}};
        for (const auto& [heading, text] : sections) {
            font.SetColour(kHeadingColour);
            font.Print(kX + kTextX, y, gbk::Lit(heading));
            y += line;
            font.SetColour(kRowColour);
            for (const std::string& l : WrapText(*text, kTextBytes)) {
                font.Print(kX + kTextX, y, l);
                y += line;
            }
            y += 4;
        }
    }
    font.SetColour(kRowColour);
}

void QuestWindow::DumpState(JsonWriter& w) const {
    w.BeginObject();
    w.Field("selected", m_selected);
    w.Field("hoveredRow", m_hovered);
    w.EndObject();
}
