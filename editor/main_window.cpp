#include "main_window.h"

#include "edit_controller.h"
#include "editor_texts.h"
#include "event_page.h"
#include "file_controller.h"
#include "form_helpers.h"
#include "ground_page.h"
#include "info_page.h"
#include "layers_panel.h"
#include "overview.h"
#include "map_canvas.h"
#include "map_data_page.h"
#include "map_document.h"
#include "picture_library.h"
#include "sprite_page.h"
#include "widget_dialogs.h"

#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPixmap>
#include <QScrollArea>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QUndoStack>

namespace editor {

MainWindow::MainWindow(const EditorOptions& options, QWidget* parent)
    : QMainWindow(parent),
      m_options(options),
      m_dialogs(std::make_unique<WidgetDialogs>(this)),
      m_doc(new MapDocument(this)),
      m_undo(new QUndoStack(this)),
      m_pictures(std::make_unique<PictureLibrary>(options.programFolder, options.dataFolder)) {
    setObjectName(U("窗口_地图编辑器"));
    setWindowTitle(U(texts::kTitle));
    m_canvas = new MapCanvas(*m_doc, *m_pictures);
    buildPages();
    setCentralWidget(m_canvas);
    buildDocks();

    m_coords = new QLabel;
    m_coords->setObjectName(U("标签_坐标"));
    statusBar()->addPermanentWidget(m_coords);
    m_zoomLabel = new QLabel(QString("100%"));
    m_zoomLabel->setObjectName(U("标签_缩放"));
    m_zoomLabel->setMinimumWidth(48);
    statusBar()->addPermanentWidget(m_zoomLabel);

    m_edits = new EditController(*this, *m_pictures);
    m_files = new FileController(*this, *m_pictures, m_options);
    buildMenus();
    connectPages();

    // Start-up: the picture browser opens in data\map, the map is 800 x 600.
    m_spritePage->showFolder(m_pictures->dataFolder() + "/map");
    m_edits->refreshFields();
    resize(1280, 800);
}

MainWindow::~MainWindow() {
    // The undo stack is a child and is deleted after this window's own
    // members; its clear() on deletion would still signal the title and the
    // pages of a window already half gone.
    m_undo->disconnect();
}

void MainWindow::setDialogs(std::unique_ptr<Dialogs> dialogs) { m_dialogs = std::move(dialogs); }

void MainWindow::buildPages() {
    m_tabs = new QTabWidget;
    m_tabs->setObjectName(U("选择夹_主"));
    m_mapPage = new MapDataPage;
    m_spritePage = new SpritePage;
    m_infoPage = new InfoPage;
    m_eventPage = new EventPage;
    m_groundPage = new GroundPage;
    // Each page scrolls on its own when the window is low; the tab bar
    // never scrolls or cuts a caption, the panel is as wide as its tabs.
    auto scrolled = [](QWidget* page) {
        auto* area = new QScrollArea;
        area->setWidget(page);
        area->setWidgetResizable(true);
        area->setFrameShape(QFrame::NoFrame);
        return area;
    };
    m_tabs->addTab(scrolled(m_mapPage), U("地图数据"));
    m_tabs->addTab(scrolled(m_spritePage), U("精灵数据"));
    m_tabs->addTab(scrolled(m_infoPage), U("精灵与地层信息"));
    m_tabs->addTab(scrolled(m_eventPage), U("NPC-怪物-链接设置"));
    m_tabs->addTab(scrolled(m_groundPage), U("地层碰撞盒设置"));
    m_tabs->setUsesScrollButtons(false);
    m_tabs->setElideMode(Qt::ElideNone);
}

void MainWindow::buildDocks() {
    setDockNestingEnabled(true);
    auto* pages = new QDockWidget(U("属性"), this);
    pages->setObjectName(U("停靠窗_属性"));
    pages->setWidget(m_tabs);
    pages->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    addDockWidget(Qt::RightDockWidgetArea, pages);

    auto* layers = new QDockWidget(U("图层"), this);
    layers->setObjectName(U("停靠窗_图层"));
    m_layers = new LayersPanel;
    layers->setWidget(m_layers);
    addDockWidget(Qt::RightDockWidgetArea, layers);
    splitDockWidget(pages, layers, Qt::Vertical);

    auto* overview = new QDockWidget(U("总览"), this);
    overview->setObjectName(U("停靠窗_总览"));
    m_overview = new Overview(*m_canvas);
    overview->setWidget(m_overview);
    splitDockWidget(layers, overview, Qt::Horizontal);

    auto* dock = new QDockWidget(U("检查地图"), this);
    dock->setObjectName(U("停靠窗_检查地图"));
    m_problems = new QListWidget;
    m_problems->setObjectName(U("列表框_检查地图"));
    dock->setWidget(m_problems);
    addDockWidget(Qt::BottomDockWidgetArea, dock);
    dock->hide();
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(U("文件(&F)"));
    file->setObjectName(U("菜单_文件"));
    QAction* fresh = file->addAction(U("新建(&N)"), m_files, &FileController::newMap);
    fresh->setObjectName(U("动作_新建"));
    fresh->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    QAction* open = file->addAction(U("载入工程"), m_files, &FileController::loadWithDialog);
    open->setObjectName(U("动作_载入工程"));
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    QAction* save = file->addAction(U("保存工程"), m_files, &FileController::saveCurrent);
    save->setObjectName(U("动作_保存"));
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    QAction* saveAs = file->addAction(U("另存为..."), m_files, &FileController::saveAs);
    saveAs->setObjectName(U("动作_另存为"));
    saveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    QMenu* recent = file->addMenu(U("最近打开"));
    recent->setObjectName(U("菜单_最近打开"));
    auto fillRecent = [this, recent] {
        recent->clear();
        for (const QString& path : m_files->recentFiles()) {
            recent->addAction(QFileInfo(path).fileName(), this, [this, path] {
                if (m_doc->hasContent() && !m_undo->isClean() && !m_dialogs->ask(U(texts::kInfoTitle), U(texts::kUnsavedLoad))) return;
                m_files->load(path);
            });
        }
        recent->setEnabled(!recent->isEmpty());
    };
    fillRecent();
    connect(m_files, &FileController::recentFilesChanged, this, fillRecent);
    file->addSeparator();
    file->addAction(U("检查地图"), m_files, &FileController::checkMap)->setObjectName(U("动作_检查地图"));
    QAction* play = file->addAction(U("试玩"), m_files, &FileController::playTest);
    play->setObjectName(U("动作_试玩"));
    play->setShortcut(Qt::Key_F9);
    file->addSeparator();
    file->addAction(U("退出"), this, &QWidget::close);

    QMenu* edit = menuBar()->addMenu(U("编辑(&E)"));
    edit->setObjectName(U("菜单_编辑"));
    QAction* undo = m_undo->createUndoAction(this, U("撤销"));
    undo->setObjectName(U("动作_撤销"));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* redo = m_undo->createRedoAction(this, U("重做"));
    redo->setObjectName(U("动作_重做"));
    redo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    edit->addAction(undo);
    edit->addAction(redo);
    edit->addSeparator();
    auto editAction = [&](const char* text, const char* name, QKeySequence key, auto fn) {
        QAction* a = edit->addAction(U(text), m_edits, fn);
        a->setObjectName(U(name));
        a->setShortcut(key);
        // The canvas handles these keys itself while it has the focus.
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        return a;
    };
    editAction("复制(&C)", "动作_复制", QKeySequence(Qt::CTRL | Qt::Key_C), &EditController::copy);
    editAction("粘贴(&V)", "动作_粘贴", QKeySequence(Qt::CTRL | Qt::Key_V), &EditController::paste);
    editAction("复制一份(&D)", "动作_复制一份", QKeySequence(Qt::CTRL | Qt::Key_D), &EditController::duplicate);
    editAction("删除选中(&L)", "动作_删除选中", QKeySequence(Qt::Key_Delete), &EditController::deleteSelection);

    QMenu* view = menuBar()->addMenu(U("查看(&V)"));
    m_gridShow = view->addAction(U("显示网格"));
    m_gridShow->setCheckable(true);
    m_gridSnap = view->addAction(U("网格对齐"));
    m_gridSnap->setCheckable(true);
    auto grid = [this] { m_canvas->setGrid(m_gridShow->isChecked(), m_gridSnap->isChecked()); };
    connect(m_gridShow, &QAction::toggled, this, grid);
    connect(m_gridSnap, &QAction::toggled, this, grid);
    view->addSeparator();
    view->addAction(U("放大"), QKeySequence::ZoomIn, this, [this] { m_canvas->setZoom(m_canvas->zoom() * 1.25); });
    view->addAction(U("缩小"), QKeySequence::ZoomOut, this, [this] { m_canvas->setZoom(m_canvas->zoom() / 1.25); });
    view->addAction(U("原始大小"), QKeySequence(Qt::CTRL | Qt::Key_0), this, [this] { m_canvas->setZoom(1.0); });
    view->addAction(U("适合窗口"), QKeySequence(Qt::CTRL | Qt::Key_9), this, [this] { m_canvas->zoomToFit(); })
        ->setObjectName(U("动作_适合窗口"));
    view->addSeparator();
    for (QDockWidget* d : findChildren<QDockWidget*>()) view->addAction(d->toggleViewAction());

    struct Key {
        Qt::Key key;
        void (MainWindow::*fn)();
    };
    for (const Key& k : {Key{Qt::Key_F2, &MainWindow::toggleCapture}, Key{Qt::Key_F3, &MainWindow::toggleDrawGround},
                         Key{Qt::Key_F4, &MainWindow::togglePlaceEvents}, Key{Qt::Key_F5, &MainWindow::toggleBoxDisplay}}) {
        auto* s = new QShortcut(QKeySequence(k.key), this);
        s->setContext(Qt::ApplicationShortcut);
        connect(s, &QShortcut::activated, this, k.fn);
    }
}

void MainWindow::connectPages() {
    // Document -> canvas and fields.
    connect(m_doc, &MapDocument::changed, m_canvas, &MapCanvas::sync);
    connect(m_doc, &MapDocument::changed, m_edits, &EditController::refreshFields);

    // Canvas requests.
    connect(m_canvas, &MapCanvas::groundDrawn, m_edits, &EditController::groundDrawn);
    connect(m_canvas, &MapCanvas::eventDropRequested, m_edits, &EditController::eventDropped);
    connect(m_canvas, &MapCanvas::elementsMoved, m_edits, &EditController::elementsMoved);
    connect(m_canvas, &MapCanvas::elementPressed, m_edits, &EditController::elementPressed);
    connect(m_canvas, &MapCanvas::contextMenuAt, m_edits, &EditController::contextMenu);
    connect(m_canvas, &MapCanvas::deletePressed, m_edits, &EditController::deleteSelection);
    connect(m_canvas, &MapCanvas::duplicatePressed, m_edits, &EditController::duplicate);
    connect(m_canvas, &MapCanvas::selectionChanged, m_edits, &EditController::selectionChanged);
    connect(m_canvas, &MapCanvas::dragPreview, m_edits, &EditController::dragPreview);
    connect(m_canvas, &MapCanvas::zoomChanged, this,
            [this](qreal z) { m_zoomLabel->setText(QString("%1%").arg(qRound(z * 100))); });
    connect(m_undo, &QUndoStack::cleanChanged, m_files, &FileController::updateTitle);
    connect(m_undo, &QUndoStack::indexChanged, m_files, &FileController::updateTitle);
    connect(m_canvas, &MapCanvas::arrowPressed, m_edits, &EditController::nudge);
    connect(m_canvas, &MapCanvas::copyPressed, m_edits, &EditController::copy);
    connect(m_canvas, &MapCanvas::pastePressed, m_edits, &EditController::paste);
    connect(m_canvas, &MapCanvas::dragInfo, m_infoPage->info, &QLabel::setText);
    connect(m_canvas, &MapCanvas::cursorMoved, this,
            [this](QPoint p) { m_coords->setText(QString("X:%1  Y:%2").arg(p.x()).arg(p.y())); });

    // Map data page.
    connect(m_mapPage->applySize, &QPushButton::clicked, m_edits, &EditController::applySize);
    connect(m_mapPage->chooseBackground, &QPushButton::clicked, m_edits, &EditController::chooseBackground);
    for (QLineEdit* e : {m_mapPage->background, m_mapPage->floatInterval, m_mapPage->startGround, m_mapPage->startOffset,
                         m_mapPage->townMap, m_mapPage->townGround}) {
        connect(e, &QLineEdit::editingFinished, m_edits, &EditController::applySettings);
    }
    connect(m_mapPage->load, &QPushButton::clicked, m_files, &FileController::loadWithDialog);
    connect(m_mapPage->save, &QPushButton::clicked, m_files, &FileController::saveCurrent);

    // Sprite page and layers dock: the current layer is one, and choosing
    // it shows it.
    connect(m_spritePage, &SpritePage::layerChanged, this, [this](int layer) {
        m_canvas->setCurrentLayer(layer);
        m_layers->setCurrent(layer);
        m_layers->setShown(layer, true);
    });
    connect(m_layers, &LayersPanel::currentChanged, this, [this](int layer) {
        m_spritePage->layers[static_cast<std::size_t>(layer)]->setChecked(true);
    });
    connect(m_layers, &LayersPanel::shownChanged, m_canvas, &MapCanvas::setLayerShown);
    connect(m_layers, &LayersPanel::lockedChanged, m_canvas, &MapCanvas::setLayerLocked);
    connect(m_spritePage->files, &QListWidget::currentRowChanged, this, [this](int row) {
        const QString path = m_spritePage->pathOfRow(row);
        const QPixmap p = path.isEmpty() || m_spritePage->rowIsFolder(row) ? QPixmap() : QPixmap(path);
        m_spritePage->preview->setPixmap(p.isNull() ? QPixmap() : p.scaled(m_spritePage->preview->size(), Qt::KeepAspectRatio));
    });
    connect(m_spritePage->files, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        const int row = m_spritePage->files->row(item);
        if (row == 0) return m_spritePage->showFolder(m_spritePage->folder() + "/..");
        if (m_spritePage->rowIsFolder(row)) return m_spritePage->showFolder(m_spritePage->pathOfRow(row));
        m_edits->addSprite(m_spritePage->pathOfRow(row));
    });
    connect(m_spritePage->loadPicture, &QPushButton::clicked, this, [this] {
        const int row = m_spritePage->files->currentRow();
        if (row > 0 && !m_spritePage->rowIsFolder(row)) m_edits->addSprite(m_spritePage->pathOfRow(row));
    });
    connect(m_spritePage->changeFolder, &QPushButton::clicked, this, [this] {
        const QString dir = m_dialogs->chooseDirectory(U(texts::kChooseDir), m_spritePage->folder());
        if (!dir.isEmpty()) m_spritePage->showFolder(dir);
    });
    connect(m_spritePage->undoSprite, &QPushButton::clicked, m_edits, &EditController::takeBackSprite);

    // Information page.
    connect(m_infoPage->adjust, &QPushButton::clicked, m_edits, &EditController::adjust);
    connect(m_infoPage->deleteSprite, &QPushButton::clicked, m_edits, &EditController::deleteShownSprite);

    // Event page.
    connect(m_eventPage->editEvent, &QPushButton::clicked, m_edits, &EditController::editEvent);
    connect(m_eventPage->view, &QPushButton::clicked, m_edits, &EditController::viewEvent);
    connect(m_eventPage->create, &QCheckBox::toggled, this, [this](bool on) {
        if (on) m_groundPage->create->setChecked(false);
        updateModes();
    });

    // Ground page.
    connect(m_groundPage->create, &QCheckBox::toggled, this, [this](bool on) {
        if (on) m_eventPage->create->setChecked(false);
        updateModes();
    });
    connect(m_groundPage, &GroundPage::kindChanged, this, &MainWindow::updateModes);
    connect(m_groundPage->undoBox, &QPushButton::clicked, m_edits, &EditController::takeBackBox);
    connect(m_groundPage->deleteGround, &QPushButton::clicked, m_edits, &EditController::deleteGroundByNumber);

    connect(m_problems, &QListWidget::currentRowChanged, m_files, &FileController::showProblem);
}

void MainWindow::updateModes() {
    m_canvas->setDrawGround(m_groundPage->create->isChecked(), m_groundPage->kind(), m_groundPage->groundType());
    m_canvas->setPlaceEvents(m_eventPage->create->isChecked());
}

void MainWindow::toggleCapture() { m_infoPage->capture->toggle(); }
void MainWindow::toggleDrawGround() { m_groundPage->create->toggle(); }
void MainWindow::togglePlaceEvents() { m_eventPage->create->toggle(); }
void MainWindow::toggleBoxDisplay() { m_canvas->setOutlineBoxes(!m_canvas->outlineBoxes()); }

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_doc->hasContent() && !m_dialogs->ask(U(texts::kInfoTitle), U(texts::kCloseQuestion))) {
        event->ignore();
        return;
    }
    m_files->dropRecovery();
    event->accept();
}

}  // namespace editor
