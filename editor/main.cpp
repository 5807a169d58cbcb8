// mapeditor: the map editor. Everything lives in editor_lib; this reads the
// command line and opens the window.

#include "editor_options.h"
#include "file_controller.h"
#include "language.h"
#include "main_window.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QStandardPaths>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("mapeditor");
    QApplication::setOrganizationName("lumo");
    editor::InstallChineseTranslations(app);

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(
        "Map editor: places picture sprites on five layers, draws the ground boxes characters stand on, "
        "places events and saves .Wdm map files for the game."));
    parser.addHelpOption();
    QCommandLineOption data("data", "Use DIR as the data folder instead of the data folder beside the program.", "DIR");
    QCommandLineOption game("game", "The game program that play-test starts (default: game beside the editor).", "FILE");
    QCommandLineOption noRecovery("no-recovery", "Do not autosave and do not offer to recover unsaved work.");
    parser.addOption(data);
    parser.addOption(game);
    parser.addOption(noRecovery);
    parser.addPositionalArgument("MAP", "A map file (.Wdm) to open.", "[MAP]");
    parser.process(app);

    editor::EditorOptions options;
    options.programFolder = QCoreApplication::applicationDirPath();
    options.dataFolder = parser.value(data);
    options.gameProgram = parser.value(game);
    const QString state = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(state);
    options.settingsFile = state + "/mapeditor.ini";
    if (!parser.isSet(noRecovery)) options.recoveryFolder = state + "/recovery";

    editor::MainWindow window(options);
    window.show();
    // Unsaved work left behind is offered before the map named here opens.
    window.files().openAtStart(parser.positionalArguments().isEmpty() ? QString() : parser.positionalArguments().first());
    return app.exec();
}
