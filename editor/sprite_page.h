#pragma once
// Tab page "精灵数据": the current layer, the picture browser with its
// preview, and the buttons that add and take back sprites.

#include <QWidget>

#include <array>

class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace editor {

class SpritePage : public QWidget {
    Q_OBJECT
public:
    explicit SpritePage(QWidget* parent = nullptr);

    // Layer value of the checked layer radio (0 map, 1 top, 2, 3, 4).
    int currentLayer() const;

    // Fills the list with "返回上一级目录", the sub-folders, then the files of
    // folder (a file-system path).
    void showFolder(const QString& folder);
    const QString& folder() const { return m_folder; }
    // The file-system path of a list row (empty for the first row).
    QString pathOfRow(int row) const;
    bool rowIsFolder(int row) const;

    std::array<QRadioButton*, 5> layers;  // by layer value 0..4
    QListWidget* files;
    QLabel* preview;
    QPushButton* changeFolder;
    QPushButton* loadPicture;
    QPushButton* undoSprite;

signals:
    void layerChanged(int layer);

private:
    QString m_folder;
};

}  // namespace editor
