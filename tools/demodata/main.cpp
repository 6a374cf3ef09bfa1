// altavo-demodata: the demo installation's drawn content and demo learners.
// Usage:
//   altavo-demodata media DESCRIPTION.json
//   altavo-demodata clips DESCRIPTION.json MEDIA_DIR
//   altavo-demodata learners --database DIR
#include <QGuiApplication>
#include <QTextStream>

#include "DemoClips.h"
#include "DemoLearners.h"
#include "DemoMedia.h"
#include "platform/TDynamicLibrary.h"

namespace {

enum ExitCode { Done = 0, Failed = 1, Usage = 2 };

const char* const UsageText =
    "Usage: altavo-demodata media DESCRIPTION.json\n"
    "       altavo-demodata clips DESCRIPTION.json MEDIA_DIR\n"
    "       altavo-demodata learners --database DIR\n"
    "\n"
    "media     draws the pictures and simulation files the course description names\n"
    "          and writes them beside it (before altavo-course installs it)\n"
    "clips     makes the course's clips (lessons, introduction, coaching) in MEDIA_DIR\n"
    "          with ffmpeg and espeak-ng; clips already there are kept\n"
    "learners  adds the demo learners \"demo\" and \"sam\" with assignments of every\n"
    "          installed course and finished tests; existing learners are kept\n";

} // namespace

int main(int argc, char* argv[]) {
    // Drawing text needs fonts, which need the GUI application (offscreen is enough).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);

    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == "media") {
        QString error;
        const QStringList written = WriteDemoMedia(args[1], error);
        if (!error.isEmpty()) {
            err << "altavo-demodata: " << error << "\n";
            return Failed;
        }
        for (const QString& path : written)
            out << "Wrote " << path << "\n";
        return Done;
    }
    if (args.size() == 3 && args[0] == "clips") {
        const TDemoClipsResult clips = WriteDemoClips(args[1], args[2]);
        for (const QString& path : clips.Written)
            out << "Wrote " << path << "\n";
        if (clips.Kept > 0)
            out << "Kept " << clips.Kept << " clips already in " << args[2] << "\n";
        if (!clips.Error.isEmpty()) {
            err << "altavo-demodata: " << clips.Error << "\n";
            return Failed;
        }
        return Done;
    }
    if (args.size() == 3 && args[0] == "learners" && args[1] == "--database") {
        TDynamicLibrary engine;
        if (!engine.Load(EngineLibraryFileName(), EngineLibraryDirs())) {
            err << "altavo-demodata: the engine library cannot be loaded: " << engine.ErrorString() << "\n";
            return Failed;
        }
        QStringList notes;
        QString error;
        const bool seeded = SeedDemoLearners(engine, args[2], notes, error);
        for (const QString& note : notes)
            out << note << "\n";
        if (!seeded) {
            err << "altavo-demodata: " << error << "\n";
            return Failed;
        }
        return Done;
    }
    err << UsageText;
    return Usage;
}
