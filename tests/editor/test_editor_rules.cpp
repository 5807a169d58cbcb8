// The editor's placement rules and its undo commands, on the document alone.

#include "editor_test_support.h"
#include "placement_rules.h"
#include "undo_commands.h"

#include <QUndoStack>

#include <gtest/gtest.h>

using namespace editor;

namespace {

Element Box(ElementKind kind, int l, int t, int w, int h, int type = 0) {
    Element e;
    e.kind = kind;
    e.left = l;
    e.top = t;
    e.width = w;
    e.height = h;
    e.type = type;
    return e;
}

Element Npc(int ground, int left, int top) {
    Element e = Box(ElementKind::Event, left, top, 40, 40, wdm::kEventNpc);
    e.detail = wdm::FormatDetail(wdm::NpcDetail{7, ground, 12});
    return e;
}

}  // namespace

TEST(EditorRules, BoxesDrawnAnyWayAreNormalised) {
    EXPECT_EQ(NormalisedBox({100, 200}, {40, 50}), QRect(40, 50, 60, 150));
    EXPECT_EQ(NormalisedBox({40, 200}, {100, 50}), QRect(40, 50, 60, 150));
}

TEST(EditorRules, SlopesAndStairsStartOnlyInsideASquareAndSnapToIt) {
    const std::vector<Element> squares = {Box(ElementKind::Square, 100, 300, 200, 40), Box(ElementKind::Square, 500, 100, 50, 50)};
    EXPECT_EQ(GroundStart(ElementKind::Square, 0, {7, 9}, squares), QPoint(7, 9));
    EXPECT_EQ(GroundStart(ElementKind::Slope, 0, {150, 320}, squares), QPoint(100, 305));
    EXPECT_EQ(GroundStart(ElementKind::Slope, 1, {150, 320}, squares), QPoint(300, 305));
    EXPECT_EQ(GroundStart(ElementKind::Stair, 0, {520, 140}, squares), QPoint(520, 107));
    EXPECT_FALSE(GroundStart(ElementKind::Slope, 0, {50, 50}, squares));
    EXPECT_FALSE(GroundStart(ElementKind::Stair, 0, {301, 320}, squares));
}

TEST(EditorRules, EventsOnSquaresSitOnTheirTop) {
    const std::vector<Element> squares = {Box(ElementKind::Square, 0, 500, 300, 40), Box(ElementKind::Square, 400, 300, 200, 40)};
    const EventPlacement npc = PlaceEvent(wdm::kEventNpc, {450, 320}, squares);
    ASSERT_TRUE(npc.ok);
    EXPECT_EQ(npc.box, QRect(430, 260, 40, 40));
    EXPECT_EQ(npc.ground, 2);
    EXPECT_EQ(npc.offset, 30);
    EXPECT_FALSE(PlaceEvent(wdm::kEventMonster, {350, 100}, squares).ok);
    EXPECT_FALSE(PlaceEvent(wdm::kEventItem, {350, 100}, squares).ok);
    const EventPlacement link = PlaceEvent(wdm::kEventLink, {350, 100}, squares);
    ASSERT_TRUE(link.ok);
    EXPECT_EQ(link.box, QRect(330, 80, 40, 40));
    // A dragged NPC lands on the square under its feet, or is refused.
    const EventPlacement settled = SettleEvent(QRect(20, 470, 40, 40), squares);
    ASSERT_TRUE(settled.ok);
    EXPECT_EQ(settled.box, QRect(20, 460, 40, 40));
    EXPECT_EQ(settled.ground, 1);
    EXPECT_EQ(settled.offset, 20);
    EXPECT_FALSE(SettleEvent(QRect(320, 470, 40, 40), squares).ok);
}

TEST(EditorUndo, DeletingASquareRenumbersTheGroundsAboveIt) {
    MapDocument doc;
    QUndoStack stack;
    std::vector<quint64> sq;
    for (int i = 0; i < 3; ++i) sq.push_back(doc.insert(Box(ElementKind::Square, i * 200, 400, 150, 30)));
    doc.insert(Npc(3, 420, 360));
    doc.insert(Npc(1, 20, 360));
    wdm::MapHeader h = doc.header();
    h.startGround = 2;
    doc.setHeader(h);
    const editor_test::Snapshot before = editor_test::Snap(doc);

    stack.push(new DeleteElementCommand(doc, sq[1]));
    EXPECT_EQ(doc.list(ElementKind::Square).size(), 2u);
    EXPECT_EQ(wdm::ParseNpcDetail(doc.list(ElementKind::Event)[0].detail).ground, 2);
    EXPECT_EQ(wdm::ParseNpcDetail(doc.list(ElementKind::Event)[1].detail).ground, 1);
    // The start ground stood on the deleted square: the window refuses that
    // deletion, the command itself leaves the number alone.
    EXPECT_EQ(doc.header().startGround, 2);
    stack.undo();
    EXPECT_EQ(editor_test::Snap(doc), before);
}

TEST(EditorUndo, MovingASquareToAnotherNumberCarriesItsEvents) {
    MapDocument doc;
    QUndoStack stack;
    const quint64 a = doc.insert(Box(ElementKind::Square, 0, 400, 150, 30));
    doc.insert(Box(ElementKind::Square, 200, 400, 150, 30));
    doc.insert(Npc(1, 20, 360));
    Element moved = *doc.find(a);
    stack.push(new ResizeElementCommand(doc, moved, 1));
    EXPECT_EQ(doc.indexOf(a), 1);
    EXPECT_EQ(wdm::ParseNpcDetail(doc.list(ElementKind::Event)[0].detail).ground, 2);
    stack.undo();
    EXPECT_EQ(doc.indexOf(a), 0);
    EXPECT_EQ(wdm::ParseNpcDetail(doc.list(ElementKind::Event)[0].detail).ground, 1);
}
