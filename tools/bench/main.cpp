// altavo-bench: what the player costs where a learner feels it, measured on
// the player's own code in an installation made for the purpose. Usage:
//   altavo-bench [--runs N] [--installation DIR] [--skins DIR]
// Figures (each the median of N runs, default 10; see docs/performance.md):
//   start to sign-in painted   the player as a child process, from its start to
//                              the first paint of the sign-in screen, against a
//                              bare 640x480 borderless Qt window (altavo-bench-window)
//   screen switch              ShowScreen to every screen until it is painted
//   course start               the course list's click on a course of 50 pages of
//                              20 buttons until the genesis screen is painted
//   resident memory            at sign-in, and with the introduction clip playing
// Exit status: 0 every goal met, 1 a goal missed or a figure not measured,
// 2 wrong command line, 3 the installation could not be made.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

#include "TBenchInstallation.h"
#include "TChildRun.h"
#include "TFigureTable.h"
#include "TInProcessBench.h"
#include "TPlayerChild.h"
#include "platform/gui/TFonts.h"
#include "platform/media/TQtMediaPlayer.h"
#include "shell/TForm1.h"

namespace {

enum ExitCode { GoalsMet = 0, GoalsMissed = 1, Usage = 2, NoInstallation = 3 };

const char* const UsageText =
    "Usage: altavo-bench [--runs N] [--installation DIR] [--skins DIR]\n"
    "\n"
    "Times the player's start-up against a bare Qt window, every screen switch and the\n"
    "start of a 50-page course, and reads its resident memory; prints a table of medians.\n"
    "  --runs N            runs per figure (default 10)\n"
    "  --installation DIR  make the bench installation in DIR and keep it (a later run\n"
    "                      reuses it); default: a temporary folder removed at the end\n"
    "  --skins DIR         the demo skins (default: the build's skins/ beside bin/)\n"
    "Needs a display, or QT_QPA_PLATFORM=offscreen; ffmpeg makes the clips.\n";

struct TOptions {
    int Runs = 10;
    QString Installation;
    QString Skins;
};

bool ReadOptions(const QStringList& args, TOptions& o) {
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (i + 1 >= args.size())
            return false;
        if (a == "--runs") {
            bool number = false;
            o.Runs = args[++i].toInt(&number);
            if (!number || o.Runs < 1)
                return false;
        } else if (a == "--installation") {
            o.Installation = args[++i];
        } else if (a == "--skins") {
            o.Skins = args[++i];
        } else {
            return false;
        }
    }
    return true;
}

std::vector<double> Stage(const std::vector<TChildResult>& runs, const QString& stage) {
    std::vector<double> values;
    for (const TChildResult& r : runs)
        if (r.Ok && r.StageMs.count(stage))
            values.push_back(r.StageMs.at(stage));
    return values;
}

std::vector<double> Field(const std::vector<TChildResult>& runs, double TChildResult::*field) {
    std::vector<double> values;
    for (const TChildResult& r : runs)
        if (r.Ok)
            values.push_back(r.*field);
    return values;
}

QString FirstError(const std::vector<TChildResult>& runs) {
    for (const TChildResult& r : runs)
        if (!r.Ok)
            return r.Error;
    return QString();
}

} // namespace

int main(int argc, char** argv) {
    // The children: the player's own entry with a paint marker.
    if (argc == 3 && QByteArray(argv[1]) == "--child")
        return RunPlayerChild(
            argc, argv, QByteArray(argv[2]) == "clip" ? TPlayerChildMode::Clip : TPlayerChildMode::Start);
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (args.contains("--help") || args.contains("-h")) {
        std::printf("%s", UsageText);
        return GoalsMet;
    }
    TOptions options;
    if (!ReadOptions(args, options)) {
        std::fprintf(stderr, "%s", UsageText);
        return Usage;
    }

    // The in-process part runs the player's code as its main() prepares it.
    TQtMediaPlayer::UseGStreamer();
    QApplication app(argc, argv);
    UseWindowsFonts();
    const QString bin = QCoreApplication::applicationDirPath();
    if (options.Skins.isEmpty())
        options.Skins = QDir(bin + "/../skins").absolutePath();
    QTemporaryDir scratch;
    const QString dir = options.Installation.isEmpty() ? scratch.path() : options.Installation;
    std::printf("altavo-bench: %d runs per figure; installation %s\n", options.Runs,
                qPrintable(QFileInfo(dir).absoluteFilePath()));
    std::fflush(stdout);
    TBenchInstallation install(dir, bin, options.Skins);
    if (!install.Make()) {
        std::fprintf(stderr, "altavo-bench: %s\n", qPrintable(install.Error()));
        return NoInstallation;
    }
    qputenv("ALTAVO_REGISTRY", install.RegistryFile().toUtf8());
    qputenv("ALTAVO_ENGINE_DIR", bin.toUtf8());
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();

    // Start-up, the player and the bare window in turn so that both see the
    // same machine.
    std::vector<TChildResult> player, bare, clip;
    std::vector<double> ratio;
    for (int i = 0; i < options.Runs; ++i) {
        bare.push_back(RunChild(bin + "/altavo-bench-window", {}, env, "painted", 30000));
        player.push_back(RunChild(app.applicationFilePath(), {"--child", "start"}, env, "painted", 60000));
        if (bare.back().Ok && player.back().Ok)
            ratio.push_back(player.back().Ms / bare.back().Ms);
    }
    if (install.HasClips())
        for (int i = 0; i < options.Runs; ++i)
            clip.push_back(RunChild(app.applicationFilePath(), {"--child", "clip"}, env, "playing", 90000));
    const TInProcessResults inside = RunInProcess(options.Runs, install.CourseDir(), install.HasClips());

    TFigureTable table;
    const auto notMeasured = [](const QString& why) { return why.isEmpty() ? QString() : "(" + why + ")"; };
    table.Add({"start to sign-in painted: player",
               "",
               "ms",
               Field(player, &TChildResult::Ms),
               {},
               notMeasured(FirstError(player))});
    table.Add({"start to first paint: bare window",
               "",
               "ms",
               Field(bare, &TChildResult::Ms),
               {},
               notMeasured(FirstError(bare))});
    table.Add({"start: player / bare window", "<= 1.5x", "x", ratio, [](double m) { return m <= 1.5; },
               "(no pair of runs finished)"});
    for (const auto& [who, runs] : {std::pair{"player", &player}, std::pair{"bare window", &bare}}) {
        table.Add({QString("  %1: to main() (exec, libraries)").arg(who),
                   "",
                   "ms",
                   Stage(*runs, "main"),
                   {},
                   notMeasured(FirstError(*runs))});
        table.Add({QString("  %1: to QApplication ready").arg(who),
                   "",
                   "ms",
                   Stage(*runs, "app"),
                   {},
                   notMeasured(FirstError(*runs))});
    }
    table.Add({"  in-process: main window (engine, tables)",
               "",
               "ms",
               inside.MainWindowMs,
               {},
               notMeasured(inside.Error)});
    table.Add({"  in-process: screens, windows, skin, painted",
               "",
               "ms",
               inside.FirstScreenMs,
               {},
               notMeasured(inside.Error)});
    for (int screen : SwitchOrder()) {
        const auto found = inside.SwitchMs.find(screen);
        table.Add({QString("switch to %1 %2").arg(screen, 2).arg(ScreenName(screen)), "< 16 ms", "ms",
                   found == inside.SwitchMs.end() ? std::vector<double>{} : found->second,
                   [](double m) { return m < 16; }, notMeasured(inside.Error)});
    }
    // The first entry opens the lesson (page list, directory, marks); a
    // learner meets it once per course start.
    const auto moviePage = inside.SwitchMs.find(ScreenMoviePage);
    table.Add({"  first entry of the movie page", "< 16 ms", "ms",
               moviePage == inside.SwitchMs.end() ? std::vector<double>{}
                                                  : std::vector<double>{moviePage->second.front()},
               [](double m) { return m < 16; }, notMeasured(inside.Error)});
    table.Add({"  clip player's Stop while a clip plays",
               "",
               "ms",
               inside.ClipStopMs,
               {},
               notMeasured(inside.Error)});
    table.Add({"course start (50 pages x 20 buttons)", "< 50 ms", "ms", inside.CourseStartMs,
               [](double m) { return m < 50; }, notMeasured(inside.Error)});
    table.Add({"  of which: index, glossary, test opened",
               "",
               "ms",
               inside.CourseTablesMs,
               {},
               notMeasured(inside.Error)});
    table.Add({"resident memory at sign-in: player",
               "",
               "MB",
               Field(player, &TChildResult::RssMb),
               {},
               notMeasured(FirstError(player))});
    table.Add({"resident memory at first paint: bare window",
               "",
               "MB",
               Field(bare, &TChildResult::RssMb),
               {},
               notMeasured(FirstError(bare))});
    table.Add({"resident memory with a clip playing: player",
               "",
               "MB",
               Field(clip, &TChildResult::RssMb),
               {},
               notMeasured(install.HasClips() ? FirstError(clip) : "ffmpeg could not make the clips")});
    std::printf("\n");
    const bool met = table.Print();
    std::printf(
        "\nScreen 1 (the exit question) is a modal window, not a screen switch; screen 6 marks a switch in "
        "progress.\n");
    for (const auto& [who, runs] :
         {std::pair{"player", &player}, std::pair{"bare window", &bare}, std::pair{"clip", &clip}})
        for (const TChildResult& r : *runs)
            if (!r.Ok)
                std::printf("A %s run did not count: %s\n", who, qPrintable(r.Error));
    if (!inside.Error.isEmpty())
        std::printf("The in-process runs stopped: %s\n", qPrintable(inside.Error));
    if (!inside.Messages.isEmpty())
        std::printf("The player said on the way: %s\n", qPrintable(inside.Messages.join("; ")));
    return met && inside.Ok ? GoalsMet : GoalsMissed;
}
