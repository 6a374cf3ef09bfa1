// altavo-tour PLAYER OUTDIR: drives the player through a learner's session on
// the installation of ALTAVO_REGISTRY and saves a PNG of every screen and
// window it reaches into OUTDIR. Exit status 0 only when every step reached
// its expected screen. See docs/tour.md.
#include <QApplication>
#include <QFileInfo>
#include <QTextStream>

#include "TTour.h"
#include "program/TProgram.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        QTextStream(stderr) << "Usage: altavo-tour PLAYER OUTDIR\n"
                               "Runs the player's start-up in-process on the installation named by\n"
                               "ALTAVO_REGISTRY and saves a picture of every screen it reaches.\n";
        return 2;
    }
    // The engine library lives beside the player; the tour uses that one.
    const QFileInfo player(QString::fromLocal8Bit(argv[1]));
    if (!player.isFile() || !player.isExecutable()) {
        QTextStream(stderr) << "altavo-tour: no player at " << argv[1] << "\n";
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("ALTAVO_ENGINE_DIR"))
        qputenv("ALTAVO_ENGINE_DIR", player.absolutePath().toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("ALTAVO_REGISTRY")) {
        QTextStream(stderr) << "altavo-tour: ALTAVO_REGISTRY names no installation\n";
        return 2;
    }

    PrepareProcess(); // as the player's own entry: its messages are message boxes
    QApplication app(argc, argv);
    PrepareApplication();
    app.setApplicationName(QStringLiteral("Altavo"));
    TTour tour(QString::fromLocal8Bit(argv[2]));
    const bool passed = tour.Run();
    QTextStream out(stdout);
    out << tour.Pictures().size() << " pictures in " << QFileInfo(argv[2]).absoluteFilePath() << "\n";
    if (!tour.Problems().isEmpty()) {
        out << "Problems seen in the player:\n";
        for (const QString& p : tour.Problems())
            out << "  " << p << "\n";
    }
    if (!passed) {
        out << "Steps that failed:\n";
        for (const QString& f : tour.Failures())
            out << "  " << f << "\n";
    }
    return passed ? 0 : 1;
}
