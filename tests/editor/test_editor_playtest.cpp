// A map made in the editor from scratch is played by the game: "试玩" hands
// the game the map through --map, and the game stands the player on it.

#include "edit_controller.h"
#include "editor_test_support.h"
#include "event_page.h"
#include "file_controller.h"
#include "map_data_page.h"
#include "test_dirs.h"

#include <QFile>
#include <QLineEdit>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

#include <nlohmann/json.hpp>

using namespace editor;
using editor_test::Editor;
using editor_test::Workspace;

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

#ifdef LUMO_GAME_BUILT
TEST(EditorPlayTest, AMapMadeFromScratchIsPlayedByTheGame) {
    Workspace ws;
    // "试玩" starts this stand-in, which writes down the arguments it got.
    const std::string argsFile = ws.path("args.txt").toStdString();
    const QString fakeGame = ws.path("fake-game.sh");
    std::ofstream(fakeGame.toStdString()) << "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > '" << argsFile
                                          << "'\n";
    std::filesystem::permissions(fakeGame.toStdString(), std::filesystem::perms::owner_all);
    EditorOptions options = ws.options();
    options.gameProgram = fakeGame;
    options.dataFolder.clear();  // the game keeps its own data
    Editor ed(options);
    MainWindow& w = *ed.window;

    // A ground, a sprite, an NPC standing on it and a link.
    editor_test::DrawBox(w, 0, {0, 500}, {800, 560});
    ASSERT_TRUE(w.edits().addSprite(ws.addPicture("house.png", 120, 90)));
    w.eventPage().npcId->setText("1");
    editor_test::PlaceEventAt(w, wdm::kEventNpc, {300, 510});
    w.eventPage().linkMap->setText("1");
    editor_test::PlaceEventAt(w, wdm::kEventLink, {600, 420});
    w.mapPage().startGround->setText("1");
    w.edits().applySettings();
    ASSERT_TRUE(ed.dialogs->informed.empty()) << ed.dialogs->lastInform().toStdString();

    ASSERT_TRUE(w.files().playTest());
    // The stand-in runs detached: wait for its note.
    for (int i = 0; i < 100 && !std::filesystem::exists(argsFile); ++i) QThread::msleep(50);
    QThread::msleep(100);
    std::istringstream args(ReadAll(argsFile));
    std::string option, mapFile;
    std::getline(args, option);
    std::getline(args, mapFile);
    ASSERT_EQ(option, "--map");
    ASSERT_TRUE(std::filesystem::exists(mapFile)) << mapFile;

    // The real game plays that file headless.
    const std::string dump = ws.path("state.json").toStdString();
    const std::string cmd = test_dirs::Bin() + "/game --headless --frames 40 --seed 1 --map '" + mapFile +
                            "' --dump-state '" + dump + "' > '" + ws.path("out.txt").toStdString() + "' 2>&1";
    const int status = std::system(cmd.c_str());
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << ReadAll(ws.path("out.txt").toStdString());
    const nlohmann::json s = nlohmann::json::parse(ReadAll(dump));
    EXPECT_EQ(s["player"]["currentGround"], 1);
    EXPECT_DOUBLE_EQ(s["player"]["y"].get<double>() + s["player"]["height"].get<double>(), 502);
    EXPECT_EQ(s["npcs"].size(), 1u);
    EXPECT_EQ(s["map"]["keyLinks"].size(), 1u);
    EXPECT_EQ(s["map"]["layers"][0], 1);  // the sprite, on the map layer
    std::filesystem::remove(mapFile);
}
#endif

}  // namespace
