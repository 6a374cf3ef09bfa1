// altavo-course: installs a course from its description into a database
// directory. Usage:
//   altavo-course install DESCRIPTION.json --database DIR [--media DIR]
#include <QCoreApplication>
#include <QTextStream>

#include "TCourseDescription.h"
#include "TCourseInstaller.h"
#include "platform/TDynamicLibrary.h"
#include "platform/TRegistry.h"

namespace {

enum ExitCode { Installed = 0, BadDescription = 1, Usage = 2, InstallFailed = 3 };

const char* const UsageText =
    "Usage: altavo-course install DESCRIPTION.json --database DIR [--media DIR]\n"
    "\n"
    "Installs the course described in DESCRIPTION.json into the database directory DIR\n"
    "(creating the shared tables when absent), writes the course's registry key with\n"
    "\"StreamDir\" (registry file: $ALTAVO_REGISTRY) and Course.ini in the media directory\n"
    "(default: the course's own directory). Installing a course again replaces it.\n";

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);

    QStringList args = app.arguments().mid(1);
    if (args.contains("--help") || args.contains("-h")) {
        out << UsageText;
        return Installed;
    }
    QString description, database, media;
    bool install = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if ((a == "--database" || a == "--media") && i + 1 < args.size())
            (a == "--database" ? database : media) = args[++i];
        else if (a == "install" && !install)
            install = true;
        else if (!a.startsWith("--") && install && description.isEmpty())
            description = a;
        else {
            err << "altavo-course: unexpected argument \"" << a << "\"\n" << UsageText;
            return Usage;
        }
    }
    if (!install || description.isEmpty() || database.isEmpty()) {
        err << UsageText;
        return Usage;
    }

    QStringList errors;
    auto course = ReadCourseDescription(description, errors);
    if (!course) {
        for (const QString& e : errors)
            err << description << ": " << e << "\n";
        err << "altavo-course: nothing was installed.\n";
        return BadDescription;
    }

    TDynamicLibrary engine;
    if (!engine.Load(EngineLibraryFileName(), EngineLibraryDirs())) {
        err << "altavo-course: the engine library cannot be loaded: " << engine.ErrorString() << "\n";
        return InstallFailed;
    }
    TCourseInstaller installer(engine, database, media, TRegistry::DefaultFile());
    if (!installer.Install(*course)) {
        err << "altavo-course: " << installer.Error() << "\naltavo-course: nothing was installed.\n";
        return InstallFailed;
    }
    for (const QString& note : installer.Notes())
        out << note << "\n";
    out << "Installed course " << course->Id << " (" << course->Title << ") into " << database << "\n";
    return Installed;
}
