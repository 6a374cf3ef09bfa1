#pragma once
// The figures taken inside this process on the player's own main window: the
// player's start-up runs here (main window, screens, windows, skin, first
// screen) on the installation of ALTAVO_REGISTRY, the bench learner signs in,
// then course start and every screen switch are timed until painted.
#include <QString>
#include <QStringList>
#include <map>
#include <vector>

struct TInProcessResults {
    bool Ok = false;
    QString Error;
    // The start-up in-process: the main window made (engine, tables), then
    // its screens, windows and skin and the sign-in screen shown and painted.
    std::vector<double> MainWindowMs;
    std::vector<double> FirstScreenMs;
    std::vector<double> CourseStartMs;  // course list click to the genesis screen painted
    std::vector<double> CourseTablesMs; // index, glossary and test opened by the table objects alone
    // Per screen number: ShowScreen until the screen is painted.
    std::map<int, std::vector<double>> SwitchMs;
    std::vector<double> ClipStopMs; // the clip player's Stop while a clip plays
    QStringList Messages;           // what the player said on the way (none expected)
};

// The screens a round visits, in the order a learner meets them.
const std::vector<int>& SwitchOrder();
QString ScreenName(int screen);

// `clipsPlay`: the installation has its clips, so the screens that play one
// are left with a clip playing.
TInProcessResults RunInProcess(int runs, const QString& courseDir, bool clipsPlay);
