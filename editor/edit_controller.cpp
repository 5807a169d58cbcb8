#include "edit_controller.h"

#include "dialogs.h"
#include "editor_texts.h"
#include "event_page.h"
#include "form_helpers.h"
#include "ground_page.h"
#include "info_page.h"
#include "main_window.h"
#include "map_canvas.h"
#include "map_data_page.h"
#include "map_document.h"
#include "picture_library.h"
#include "placement_rules.h"
#include "sprite_page.h"
#include "undo_commands.h"
#include "shared/gbk.h"

#include <QDir>
#include <QImageReader>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QTabWidget>
#include <QUndoStack>

namespace editor {
namespace {

constexpr int kEventsTab = 3;
// Pasted and duplicated elements land this far right and down of the
// originals.
constexpr int kPasteOffset = 20;

}  // namespace

EditController::EditController(MainWindow& window, PictureLibrary& pictures)
    : QObject(&window), m_window(window), m_doc(window.document()), m_pictures(pictures) {}

void EditController::inform(const char* text) { m_window.dialogs().inform(U(texts::kInfoTitle), U(text)); }

// --- canvas requests ----------------------------------------------------------

void EditController::groundDrawn(ElementKind kind, int groundType, QRect box) {
    // A box under 10 px would not be saved; dropping it here, before it gets
    // a number, keeps the numbers the editor shows equal to the saved ones.
    if (box.width() < kMinBoxSize || box.height() < kMinBoxSize) return;
    Element e;
    e.kind = kind;
    e.left = box.left();
    e.top = box.top();
    e.width = box.width();
    e.height = box.height();
    e.type = groundType;
    m_window.undoStack().push(new AddElementCommand(m_doc, e));
}

void EditController::eventDropped(QPoint at) {
    EventPage& page = m_window.eventPage();
    const int kind = page.kind();
    const QString missing = page.missingField(kind);
    if (!missing.isEmpty()) return m_window.dialogs().inform(U(texts::kInfoTitle), missing);
    const EventPlacement place = PlaceEvent(kind, at, m_doc.list(ElementKind::Square));
    if (!place.ok) return inform(texts::kNotOnSquare);
    page.setPlacement(kind, place.ground, place.offset, kind == wdm::kEventItem ? place.box.topLeft() : at);
    QString error;
    const std::optional<std::string> detail = page.detail(kind, &error);
    if (!detail) return m_window.dialogs().inform(U(texts::kInfoTitle), error);
    Element e;
    e.kind = ElementKind::Event;
    e.left = place.box.left();
    e.top = place.box.top();
    e.width = place.box.width();
    e.height = place.box.height();
    e.type = kind;
    e.detail = *detail;
    m_window.undoStack().push(new AddElementCommand(m_doc, e));
}

void EditController::elementsMoved(const std::vector<Element>& moved) {
    // Events are settled on the squares as they are after this move, so a
    // square and the NPC on it move together.
    std::vector<Element> squares = m_doc.list(ElementKind::Square);
    for (const Element& e : moved) {
        if (e.kind != ElementKind::Square) continue;
        for (Element& s : squares) {
            if (s.id == e.id) s = e;
        }
    }
    std::vector<Element> settled;
    for (Element e : moved) {
        const Element* before = m_doc.find(e.id);
        if (!before) continue;
        if (e.kind == ElementKind::Event && EventHasGround(e.type)) {
            // The game stands an NPC or a monster on its square at its
            // offset, so a dragged one takes the square it is dropped on.
            const EventPlacement s = SettleEvent(QRect(e.left, e.top, e.width, e.height), squares);
            if (!s.ok) {
                m_window.canvas().sync();
                return inform(texts::kNotOnSquare);
            }
            e.top = s.box.top();
            if (e.type == wdm::kEventNpc) {
                wdm::NpcDetail d = wdm::ParseNpcDetail(e.detail);
                d.ground = s.ground;
                d.offset = s.offset;
                e.detail = wdm::FormatDetail(d);
            } else {
                wdm::MonsterDetail d = wdm::ParseMonsterDetail(e.detail);
                d.ground = s.ground;
                d.offset = s.offset;
                e.detail = wdm::FormatDetail(d);
            }
        } else if (e.kind == ElementKind::Event && e.type == wdm::kEventAnimation) {
            // The animation plays at its own point; it travels with its box.
            wdm::AnimationDetail d = wdm::ParseAnimationDetail(e.detail);
            d.x += e.left - before->left;
            d.y += e.top - before->top;
            e.detail = wdm::FormatDetail(d);
        }
        // One that ends where it was (an NPC nudged off its square and
        // settled back) is no edit.
        if (e != *before) settled.push_back(e);
    }
    if (settled.empty()) {
        m_window.canvas().sync();
        return;
    }
    m_window.undoStack().push(new MoveElementsCommand(m_doc, settled));
}

void EditController::showInfo(const Element& e) {
    m_infoShown = e;
    m_infoNumber = m_doc.indexOf(e.id) + 1;
    m_window.infoPage().show(e, m_infoNumber);
}

void EditController::elementPressed(quint64 id) {
    const Element* e = m_doc.find(id);
    if (!e) return;
    if (m_window.infoPage().capture->isChecked()) showInfo(*e);
    // With the event page in front, a picked event shows its fields there.
    if (e->kind == ElementKind::Event && m_window.tabs().currentIndex() == kEventsTab) loadEventIntoPage(id);
}

void EditController::selectionChanged() {
    const std::vector<quint64>& ids = m_window.canvas().selection();
    m_window.statusBar()->showMessage(ids.size() > 1 ? U("已选中 %1 个对象").arg(ids.size()) : QString());
}

void EditController::dragPreview(quint64 id, QPoint at) {
    // The fields follow the element while it is dragged.
    if (!m_infoShown || m_infoShown->id != id) return;
    m_window.infoPage().left->setText(QString::number(at.x()));
    m_window.infoPage().top->setText(QString::number(at.y()));
}

void EditController::contextMenu(quint64 id, QPoint globalPos, quint64 boxId) {
    if (QMenu* menu = buildContextMenu(id, boxId)) menu->popup(globalPos);
}

QMenu* EditController::buildContextMenu(quint64 id, quint64 boxId) {
    const Element* e = m_doc.find(id);
    if (!e) return nullptr;
    auto* menu = new QMenu(&m_window);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    auto add = [&](const char* text, auto fn) { connect(menu->addAction(U(text)), &QAction::triggered, this, fn); };
    auto addGroundMenu = [&](QMenu* to, quint64 box) {
        connect(to->addAction(U("编辑事件")), &QAction::triggered, this, [this, box] { loadEventIntoPage(box); });
        connect(to->addAction(U("调整宽度")), &QAction::triggered, this, [this, box] { adjustWidth(box); });
        connect(to->addAction(U("删除此地层或事件")), &QAction::triggered, this, [this, box] { deleteAsked(box); });
    };
    if (e->kind == ElementKind::Sprite) {
        menu->setObjectName(U("精灵菜单"));
        add("复制精灵(&C)", [this, id] { m_window.canvas().select(id), copy(); });
        add("粘贴精灵(&V)", [this] { paste(); });
        menu->addSeparator();
        add("调到顶层", [this, id] { setZLevel(id, wdm::kZTop); });
        add("调到中层", [this, id] { setZLevel(id, wdm::kZMiddle); });
        add("调到底层", [this, id] { setZLevel(id, wdm::kZBottom); });
        menu->addSeparator();
        add("调整成[飘动背景]", [this, id] { setLayer(id, wdm::kLayerFloating); });
        add("调整成[三层背景]", [this, id] { setLayer(id, wdm::kLayerBackground3); });
        add("调整成[二层背景]", [this, id] { setLayer(id, wdm::kLayerBackground2); });
        add("调整成[地图精灵]", [this, id] { setLayer(id, wdm::kLayerMap); });
        add("调整成[顶层精灵]", [this, id] { setLayer(id, wdm::kLayerTop); });
        add("优先显示", [this, id] { setLayer(id, wdm::kLayerPriority); });
        add("取消优先", [this, id] { setLayer(id, wdm::kLayerMap); });
        add("调整翻转", [this, id] { flip(id); });
        menu->addSeparator();
        add("删除此精灵", [this, id] { deleteAsked(id); });
        if (m_doc.find(boxId)) {
            menu->addSeparator();
            QMenu* ground = menu->addMenu(U("地层菜单"));
            ground->setObjectName(U("地层菜单"));
            addGroundMenu(ground, boxId);
        }
    } else {
        menu->setObjectName(U("地层菜单"));
        addGroundMenu(menu, id);
    }
    return menu;
}

// --- map settings -------------------------------------------------------------

void EditController::applySize() {
    MapDataPage& p = m_window.mapPage();
    if (FieldInt(p.width) < 800) p.width->setText("800");
    if (FieldInt(p.height) < 600) p.height->setText("600");
    wdm::MapHeader h = m_doc.header();
    h.width = FieldInt(p.width);
    h.height = FieldInt(p.height);
    if (h != m_doc.header()) m_window.undoStack().push(new MapSettingsCommand(m_doc, h));
}

void EditController::applySettings() {
    MapDataPage& p = m_window.mapPage();
    wdm::MapHeader h = m_doc.header();
    const std::string utf8 = p.background->text().toStdString();
    const std::string background = gbk::FromUtf8(utf8);
    if (gbk::ToUtf8(background) != utf8 || wdm::StoredTextProblem(background, false)) {
        refreshFields();
        return inform(texts::kBadText);
    }
    h.background = background;
    h.floatInterval = gbk::ToReal(p.floatInterval->text().toStdString());
    h.startGround = FieldInt(p.startGround);
    h.startOffset = FieldInt(p.startOffset);
    h.townMap = FieldInt(p.townMap);
    h.townGround = FieldInt(p.townGround);
    if (h != m_doc.header()) m_window.undoStack().push(new MapSettingsCommand(m_doc, h));
}

void EditController::chooseBackground() {
    const QString file = m_window.dialogs().openFile(U("选择"), m_pictures.dataFolder() + "/map", U(texts::kAllFilesFilter));
    if (file.isEmpty()) return;
    const std::optional<std::string> path = m_pictures.mapPath(file);
    if (!path) return inform(texts::kPictureOutsideData);
    if (QImageReader(file).size().isEmpty()) return inform(texts::kNotAPicture);
    if (wdm::StoredTextProblem(*path, false)) return inform(texts::kBadText);
    wdm::MapHeader h = m_doc.header();
    h.background = *path;
    m_window.undoStack().push(new MapSettingsCommand(m_doc, h));
}

void EditController::refreshFields() {
    // Each field is rewritten only when its value in the map changed, so a
    // size typed but not yet applied survives other edits.
    const wdm::MapHeader& h = m_doc.header();
    MapDataPage& p = m_window.mapPage();
    const bool all = !m_shownHeader;
    const wdm::MapHeader old = all ? wdm::MapHeader{} : *m_shownHeader;
    if (all || old.width != h.width) p.width->setText(QString::number(h.width));
    if (all || old.height != h.height) p.height->setText(QString::number(h.height));
    if (all || old.background != h.background) p.background->setText(QString::fromStdString(gbk::ToUtf8(h.background)));
    if (all || old.floatInterval != h.floatInterval) p.floatInterval->setText(QString::fromStdString(gbk::NumberToText(h.floatInterval)));
    if (all || old.startGround != h.startGround) p.startGround->setText(QString::number(h.startGround));
    if (all || old.startOffset != h.startOffset) p.startOffset->setText(QString::number(h.startOffset));
    if (all || old.townMap != h.townMap) p.townMap->setText(QString::number(h.townMap));
    if (all || old.townGround != h.townGround) p.townGround->setText(QString::number(h.townGround));
    m_shownHeader = h;
    std::array<int, 5> counts{};
    for (const Element& e : m_doc.list(ElementKind::Event)) {
        if (e.type >= 1 && e.type <= 5) ++counts[static_cast<std::size_t>(e.type - 1)];
    }
    m_window.eventPage().setCounts(counts);

    // The information and event fields follow their element through drags,
    // arrow keys, undo and redo.
    if (m_infoShown) {
        const Element* e = m_doc.find(m_infoShown->id);
        if (e && (*e != *m_infoShown || m_doc.indexOf(e->id) + 1 != m_infoNumber)) showInfo(*e);
    }
    if (m_pageShown) {
        const Element* e = m_doc.find(m_pageShown->id);
        if (e && (*e != *m_pageShown || m_doc.indexOf(e->id) + 1 != m_pageNumber)) loadEventIntoPage(e->id, false);
    }
}

void EditController::forgetShown() {
    m_window.infoPage().clear();
    m_shownHeader.reset();
    m_infoShown.reset();
    m_pageShown.reset();
    m_pageEvent = 0;
}

// --- sprites ------------------------------------------------------------------

bool EditController::addSprite(const QString& filePath) {
    const std::optional<std::string> path = m_pictures.mapPath(filePath);
    if (!path) return inform(texts::kPictureOutsideData), false;
    const QSize size = QImageReader(filePath).size();
    if (size.width() < 1 || size.height() < 1) return inform(texts::kNotAPicture), false;
    if (wdm::StoredTextProblem(*path, false)) return inform(texts::kBadText), false;
    addSpriteWithPicture(*path);
    return true;
}

void EditController::addSpriteWithPicture(const std::string& gbkPath) {
    const QPixmap picture = m_pictures.picture(gbkPath);
    if (picture.isNull()) return inform(texts::kNotAPicture);
    const QRect visible = m_window.canvas().visibleMapRect();
    Element e;
    e.kind = ElementKind::Sprite;
    e.width = picture.width();
    e.height = picture.height();
    e.left = visible.right() + 1 - 50 - e.width;
    e.top = visible.top() + 50;
    e.type = m_window.spritePage().currentLayer();
    e.picture = gbkPath;
    auto* command = new AddElementCommand(m_doc, e);
    m_addedSprites.push_back(command->elementId());
    m_window.undoStack().push(command);
}

void EditController::takeBackSprite() {
    // The sprite added last that still exists, found by its id: sprites
    // deleted or reordered since do not shift which one goes.
    while (!m_addedSprites.empty()) {
        const quint64 id = m_addedSprites.back();
        m_addedSprites.pop_back();
        if (m_doc.find(id)) return deleteElement(id);
    }
}

void EditController::deleteShownSprite() {
    const quint64 id = m_infoShown ? m_infoShown->id : 0;
    const Element* e = m_doc.find(id);
    if (!e || e->kind != ElementKind::Sprite) return;
    if (!m_window.dialogs().ask(U(texts::kInfoTitle), U(texts::kDeleteSprite))) return;
    deleteElement(id);
}

void EditController::deleteSelection() {
    std::vector<quint64> ids;
    for (quint64 id : m_window.canvas().selection()) {
        if (m_doc.find(id)) ids.push_back(id);
    }
    if (ids.empty()) return;
    if (ids.size() == 1) return deleteAsked(ids.front());
    auto deleted = [&](quint64 id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); };
    // A square still named by an event that stays, or by the start ground,
    // cannot go.
    for (quint64 id : ids) {
        const Element* sq = m_doc.find(id);
        if (sq->kind != ElementKind::Square) continue;
        const int n = m_doc.indexOf(id) + 1;
        bool used = false;
        for (const Element& e : m_doc.list(ElementKind::Event)) {
            if (deleted(e.id)) continue;
            if (e.type == wdm::kEventNpc && wdm::ParseNpcDetail(e.detail).ground == n) used = true;
            if (e.type == wdm::kEventMonster && wdm::ParseMonsterDetail(e.detail).ground == n) used = true;
        }
        if (used) return inform(texts::kSquareInUse);
    }
    if (!m_window.dialogs().ask(U(texts::kInfoTitle), U(texts::kDeleteSelection).arg(ids.size()))) return;
    m_window.undoStack().push(new DeleteElementsCommand(m_doc, ids));
}

void EditController::copy() {
    std::vector<Element> copied;
    for (quint64 id : m_window.canvas().selection()) {
        if (const Element* e = m_doc.find(id)) copied.push_back(*e);
    }
    if (!copied.empty()) m_clipboard = copied;
}

void EditController::paste() {
    if (m_clipboard.empty()) return;
    // One sprite goes near the top-right corner of the view, as a picture
    // loaded from the list does; anything else lands beside its original.
    if (m_clipboard.size() == 1 && m_clipboard.front().kind == ElementKind::Sprite) {
        return addSpriteWithPicture(m_clipboard.front().picture);
    }
    addCopies(m_clipboard, kPasteOffset, kPasteOffset);
}

void EditController::duplicate() {
    std::vector<Element> copied;
    for (quint64 id : m_window.canvas().selection()) {
        if (const Element* e = m_doc.find(id)) copied.push_back(*e);
    }
    if (!copied.empty()) addCopies(copied, kPasteOffset, kPasteOffset);
}

void EditController::addCopies(const std::vector<Element>& elements, int dx, int dy) {
    const std::vector<Element>& squares = m_doc.list(ElementKind::Square);
    std::vector<Element> pastedSquares;
    std::vector<Element> out;
    for (Element e : elements) {
        e.id = 0;
        e.left += dx;
        e.top += dy;
        if (e.kind == ElementKind::Square) pastedSquares.push_back(e);
        out.push_back(e);
    }
    std::vector<Element> kept;
    for (Element e : out) {
        if (e.kind == ElementKind::Event && EventHasGround(e.type)) {
            // A copied NPC or monster stands on a square copied with it, or
            // else on one of the map's squares.
            const QRect box(e.left, e.top, e.width, e.height);
            EventPlacement s = SettleEvent(box, pastedSquares);
            if (s.ok) {
                s.ground += static_cast<int>(squares.size());
            } else {
                s = SettleEvent(box, squares);
            }
            if (!s.ok) continue;
            e.top = s.box.top();
            if (e.type == wdm::kEventNpc) {
                wdm::NpcDetail d = wdm::ParseNpcDetail(e.detail);
                d.ground = s.ground;
                d.offset = s.offset;
                e.detail = wdm::FormatDetail(d);
            } else {
                wdm::MonsterDetail d = wdm::ParseMonsterDetail(e.detail);
                d.ground = s.ground;
                d.offset = s.offset;
                e.detail = wdm::FormatDetail(d);
            }
        } else if (e.kind == ElementKind::Event && e.type == wdm::kEventAnimation) {
            wdm::AnimationDetail d = wdm::ParseAnimationDetail(e.detail);
            d.x += dx;
            d.y += dy;
            e.detail = wdm::FormatDetail(d);
        }
        kept.push_back(e);
    }
    if (kept.empty()) return inform(texts::kNotOnSquare);
    auto* command = new AddElementsCommand(m_doc, kept);
    const std::vector<quint64> ids = command->ids();
    m_window.undoStack().push(command);
    m_window.canvas().setSelection(ids);
}

void EditController::setLayer(quint64 id, int layer) { m_window.undoStack().push(new SpriteLayerCommand(m_doc, id, layer)); }
void EditController::setZLevel(quint64 id, int z) { m_window.undoStack().push(new SpriteZOrderCommand(m_doc, id, z)); }
void EditController::flip(quint64 id) { m_window.undoStack().push(new SpriteFlipCommand(m_doc, id)); }

void EditController::nudge(int dx, int dy) {
    std::vector<quint64> ids = m_window.canvas().group();
    if (ids.empty()) ids = m_window.canvas().selection();
    std::vector<Element> moved;
    for (quint64 id : ids) {
        if (const Element* e = m_doc.find(id)) {
            Element m = *e;
            m.left += dx;
            m.top += dy;
            moved.push_back(m);
        }
    }
    elementsMoved(moved);
}

// --- information fields -------------------------------------------------------

void EditController::adjust() {
    InfoPage& p = m_window.infoPage();
    const Element* current = m_doc.find(p.shownId());
    if (!current) return;
    Element e = *current;
    if (e.kind != ElementKind::Event) {
        if (p.type->text().trimmed().isEmpty()) return inform(texts::kTypeEmpty);
        const int type = FieldInt(p.type);
        // The range applies to a type typed in: a floating (4) or priority
        // (-1) sprite set from the menu keeps its type when only its place
        // or size is adjusted.
        const bool typeChanged = type != e.type;
        if (e.kind == ElementKind::Sprite && typeChanged && (type < 0 || type > 3)) return inform(texts::kSpriteTypeRange);
        const int maxKind = e.kind == ElementKind::Stair ? 0 : 1;
        if (IsGround(e.kind) && (type < 0 || type > maxKind)) return inform(texts::kGroundTypeRange);
        e.type = type;
    }
    const int number = FieldInt(p.number);
    if (number < 1 || number > static_cast<int>(m_doc.list(e.kind).size())) return inform(texts::kNumberRange);
    e.left = FieldInt(p.left);
    e.top = FieldInt(p.top);
    e.width = FieldInt(p.width);
    e.height = FieldInt(p.height);
    if (IsBox(e.kind) && (e.width < kMinBoxSize || e.height < kMinBoxSize)) return inform(texts::kBoxTooSmall);
    if (e.width < 1 || e.height < 1) return inform(texts::kSpriteTooSmall);
    if (e == *current && number - 1 == m_doc.indexOf(e.id)) return;
    m_window.undoStack().push(new ResizeElementCommand(m_doc, e, number - 1));
}

void EditController::adjustWidth(quint64 id) {
    const Element* current = m_doc.find(id);
    if (!current) return;
    const std::optional<int> w = m_window.dialogs().askInt(U("调整宽度"), U("宽度:"), current->width, kMinBoxSize, 1000000);
    if (!w) return;
    if (*w < kMinBoxSize) return inform(texts::kBoxTooSmall);
    Element e = *current;
    e.width = *w;
    m_window.undoStack().push(new ResizeElementCommand(m_doc, e, m_doc.indexOf(id)));
}

// --- grounds and events -------------------------------------------------------

bool EditController::squareInUse(quint64 squareId) const {
    // Only events block: the start ground keeps its number and the map
    // checks report it when no square has that number any more.
    const int n = m_doc.indexOf(squareId) + 1;
    for (const Element& e : m_doc.list(ElementKind::Event)) {
        if (e.type == wdm::kEventNpc && wdm::ParseNpcDetail(e.detail).ground == n) return true;
        if (e.type == wdm::kEventMonster && wdm::ParseMonsterDetail(e.detail).ground == n) return true;
    }
    return false;
}

void EditController::deleteElement(quint64 id) {
    const Element* e = m_doc.find(id);
    if (!e) return;
    if (e->kind == ElementKind::Square && squareInUse(id)) return inform(texts::kSquareInUse);
    m_window.undoStack().push(new DeleteElementCommand(m_doc, id));
}

void EditController::deleteAsked(quint64 id) {
    const Element* e = m_doc.find(id);
    if (!e) return;
    const char* question = texts::kDeleteEvent;
    switch (e->kind) {
    case ElementKind::Square: question = texts::kDeleteSquare; break;
    case ElementKind::Slope: question = texts::kDeleteSlope; break;
    case ElementKind::Stair: question = texts::kDeleteStair; break;
    case ElementKind::Sprite: question = texts::kDeleteSprite; break;
    case ElementKind::Event: break;
    }
    if (!m_window.dialogs().ask(U(texts::kInfoTitle), U(question))) return;
    deleteElement(id);
}

void EditController::takeBackBox() {
    const auto& list = m_doc.list(m_window.groundPage().kind());
    if (!list.empty()) deleteElement(list.back().id);
}

void EditController::deleteGroundByNumber() {
    const quint64 id = m_doc.idAt(m_window.groundPage().kind(), FieldInt(m_window.groundPage().number));
    if (id) deleteElement(id);
}

void EditController::loadEventIntoPage(quint64 id, bool bringToFront) {
    const Element* e = m_doc.find(id);
    if (!e || e->kind != ElementKind::Event) return;
    m_pageEvent = id;
    m_pageShown = *e;
    m_pageNumber = m_doc.indexOf(id) + 1;
    m_window.eventPage().showEvent(*e);
    m_window.eventPage().eventNumber->setText(QString::number(m_pageNumber));
    if (bringToFront) m_window.tabs().setCurrentIndex(kEventsTab);
}

void EditController::viewEvent() {
    EventPage& p = m_window.eventPage();
    const int n = FieldInt(p.eventNumber);
    if (n < 0) return inform(texts::kEventNumberNegative);
    const quint64 id = m_doc.idAt(ElementKind::Event, n);
    if (!id) return;
    loadEventIntoPage(id);
    m_window.canvas().select(id);
    const Element* e = m_doc.find(id);
    m_window.canvas().centerOn(e->left + e->width / 2.0, e->top + e->height / 2.0);
}

void EditController::editEvent() {
    EventPage& p = m_window.eventPage();
    if (p.eventNumber->text().trimmed().isEmpty()) return;
    const int n = FieldInt(p.eventNumber);
    if (n < 0) return inform(texts::kEventNumberNegative);
    const quint64 id = m_doc.idAt(ElementKind::Event, n);
    const Element* e = m_doc.find(id);
    if (!e) return;
    // The first press shows the event's fields; a press on the event whose
    // fields are shown writes them back.
    if (id != m_pageEvent || p.kind() != e->type) return loadEventIntoPage(id);
    QString error;
    const std::optional<std::string> detail = p.detail(e->type, &error);
    if (!detail) return m_window.dialogs().inform(U(texts::kInfoTitle), error);
    if (*detail != e->detail) m_window.undoStack().push(new EditEventCommand(m_doc, id, *detail));
}

}  // namespace editor
