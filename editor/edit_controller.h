#pragma once
// Every edit of the map: checks the Part's and the editor's own rules,
// refuses with a message box, or pushes one undo command. Reads the tab
// pages' fields and the canvas's requests.

#include "element.h"

#include <QObject>
#include <QPoint>
#include <QRect>

class QMenu;

#include "shared/wdm_map.h"

#include <optional>
#include <string>
#include <vector>

namespace editor {

class MainWindow;
class MapDocument;
class PictureLibrary;

class EditController : public QObject {
    Q_OBJECT
public:
    EditController(MainWindow& window, PictureLibrary& pictures);

    // Canvas requests.
    void groundDrawn(ElementKind kind, int groundType, QRect box);
    void eventDropped(QPoint at);
    void elementsMoved(const std::vector<Element>& moved);
    void elementPressed(quint64 id);
    void selectionChanged();
    void dragPreview(quint64 id, QPoint at);
    void contextMenu(quint64 id, QPoint globalPos, quint64 boxId = 0);
    // The menu of an element; boxId adds the ground menu of a box under a
    // sprite as a sub-menu.
    QMenu* buildContextMenu(quint64 id, quint64 boxId);

    // Tab page buttons.
    void applySize();
    void applySettings();
    void chooseBackground();
    void adjust();
    // "删除精灵": the sprite shown on the information page.
    void deleteShownSprite();
    // Delete: every selected element, after one question, in one step.
    void deleteSelection();
    void takeBackSprite();
    void takeBackBox();
    void deleteGroundByNumber();
    void editEvent();
    void viewEvent();
    // "装载(&O)": adds a sprite of the current layer with this picture file.
    bool addSprite(const QString& filePath);

    // Keys on the canvas.
    void copy();
    void paste();
    void duplicate();
    void nudge(int dx, int dy);

    // Menu commands.
    void setLayer(quint64 id, int layer);
    void setZLevel(quint64 id, int zLevel);
    void flip(quint64 id);
    void deleteAsked(quint64 id);
    void adjustWidth(quint64 id);
    void loadEventIntoPage(quint64 id, bool bringToFront = true);

    // Fields and counts follow the document.
    void refreshFields();
    // A new or loaded map: every field is filled afresh.
    void forgetShown();
    const std::vector<Element>& clipboard() const { return m_clipboard; }

private:
    void inform(const char* text);
    // Adds a sprite near the top-right corner of the visible canvas.
    void addSpriteWithPicture(const std::string& gbkPath);
    // Refuses deleting square n while an event or the start ground stands
    // on it.
    bool squareInUse(quint64 squareId) const;
    void deleteElement(quint64 id);
    // Adds copies of elements moved by (dx, dy) in one step and selects them.
    void addCopies(const std::vector<Element>& elements, int dx, int dy);
    void showInfo(const Element& e);

    MainWindow& m_window;
    MapDocument& m_doc;
    PictureLibrary& m_pictures;
    std::vector<Element> m_clipboard;
    // What the fields show, so they are rewritten only when it changes.
    std::optional<wdm::MapHeader> m_shownHeader;
    std::optional<Element> m_infoShown;
    int m_infoNumber = 0;
    std::optional<Element> m_pageShown;
    int m_pageNumber = 0;
    std::vector<quint64> m_addedSprites;
    quint64 m_pageEvent = 0;  // the event whose fields the event page shows
};

}  // namespace editor
