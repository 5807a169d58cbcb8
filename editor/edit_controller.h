#pragma once
// Every edit of the map: checks the Part's and the editor's own rules,
// refuses with a message box, or pushes one undo command. Reads the tab
// pages' fields and the canvas's requests.

#include "element.h"

#include <QObject>
#include <QPoint>
#include <QRect>

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
    void contextMenu(quint64 id, QPoint globalPos);

    // Tab page buttons.
    void applySize();
    void applySettings();
    void chooseBackground();
    void adjust();
    void deleteSelectedSprite();
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
    void nudge(int dx, int dy);

    // Menu commands.
    void setLayer(quint64 id, int layer);
    void setZLevel(quint64 id, int zLevel);
    void flip(quint64 id);
    void deleteAsked(quint64 id);
    void adjustWidth(quint64 id);
    void loadEventIntoPage(quint64 id);

    // Fields and counts follow the document.
    void refreshFields();
    const std::string& clipboard() const { return m_clipboard; }

private:
    void inform(const char* text);
    // Adds a sprite near the top-right corner of the visible canvas.
    void addSpriteWithPicture(const std::string& gbkPath);
    // Refuses deleting square n while an event or the start ground stands
    // on it.
    bool squareInUse(quint64 squareId) const;
    void deleteElement(quint64 id);

    MainWindow& m_window;
    MapDocument& m_doc;
    PictureLibrary& m_pictures;
    std::string m_clipboard;
    std::vector<quint64> m_addedSprites;
    quint64 m_pageEvent = 0;  // the event whose fields the event page shows
};

}  // namespace editor
