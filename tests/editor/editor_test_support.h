#pragma once
// A headless editor window over a temporary data folder, with dialogs that
// record what they were asked and answer from a script.

#include "dialogs.h"
#include "editor_options.h"
#include "main_window.h"
#include "map_document.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <memory>
#include <vector>

namespace editor_test {

struct Message {
    QString title;
    QString text;
};

class ScriptedDialogs : public editor::Dialogs {
public:
    void inform(const QString& title, const QString& text) override { informed.push_back({title, text}); }
    bool ask(const QString& title, const QString& text) override {
        asked.push_back({title, text});
        if (answers.empty()) return true;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<int> askInt(const QString&, const QString&, int value, int, int) override {
        if (ints.empty()) return value;
        const int v = ints.front();
        ints.pop_front();
        return v;
    }
    QString openFile(const QString&, const QString&, const QString&) override { return next(); }
    QString saveFile(const QString&, const QString&, const QString&) override { return next(); }
    QString chooseDirectory(const QString&, const QString&) override { return next(); }

    QString lastInform() const { return informed.empty() ? QString() : informed.back().text; }

    std::vector<Message> informed;
    std::vector<Message> asked;
    std::deque<bool> answers;
    std::deque<int> ints;
    std::deque<QString> files;

private:
    QString next() {
        if (files.empty()) return {};
        QString f = files.front();
        files.pop_front();
        return f;
    }
};

// A temporary program folder with data/map/*.png pictures and data/地图/.
class Workspace {
public:
    Workspace();
    editor::EditorOptions options() const;
    QString path(const QString& rel) const { return m_dir.filePath(rel); }
    // data/map/<name>, a w x h picture.
    QString addPicture(const QString& name, int w, int h);

private:
    QTemporaryDir m_dir;
};

struct Editor {
    explicit Editor(const editor::EditorOptions& options);
    std::unique_ptr<editor::MainWindow> window;
    ScriptedDialogs* dialogs;
    editor::MapDocument& doc() { return window->document(); }
};

// Adds a square through the canvas in draw-ground mode.
void DrawBox(editor::MainWindow& w, int kindRadio, QPoint from, QPoint to);
// Places an event of kind (1..5) at p through the canvas.
void PlaceEventAt(editor::MainWindow& w, int kind, QPoint p);
// The document as comparable data: records plus list order of ids.
struct Snapshot {
    wdm::MapData map;
    std::vector<std::vector<quint64>> ids;
    bool operator==(const Snapshot&) const = default;
};
Snapshot Snap(const editor::MapDocument& doc);

}  // namespace editor_test
