// altavo-report: the student log, a certificate or a study material as PDF
// (the student log also as CSV), from the installation the player uses.
#include <QGuiApplication>
#include <QTextStream>

#include "TReportCommands.h"

namespace {

const char* const UsageText =
    "Usage:\n"
    "  altavo-report student-log [--pdf FILE] [--csv FILE]\n"
    "  altavo-report certificate --user USERNAME --test TESTID --pdf FILE\n"
    "  altavo-report study-material --session ID --pdf FILE\n"
    "\n"
    "Reads the installation named in the registry store ($ALTAVO_REGISTRY). An existing\n"
    "output file is replaced only once the new one is complete. Exit status: 0 written,\n"
    "1 refused (unknown user, test or session; test not passed; nothing to print),\n"
    "2 bad command line, 3 installation or output not available.\n";

} // namespace

int main(int argc, char* argv[]) {
    // Reports need fonts but no screen: run without a display unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The arguments are ours alone: Qt would take "--session" for itself.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    QTextStream out(stdout), err(stderr);

    if (args.contains("--help") || args.contains("-h")) {
        out << UsageText;
        return Done;
    }
    TReportRequest request;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        QString* value = a == "--pdf"       ? &request.Pdf
                         : a == "--csv"     ? &request.Csv
                         : a == "--user"    ? &request.User
                         : a == "--test"    ? &request.Test
                         : a == "--session" ? &request.Session
                                            : nullptr;
        if (value && i + 1 < args.size() && value->isEmpty()) {
            *value = args[++i];
        } else if (!value && request.Command.isEmpty() && !a.startsWith("-")) {
            request.Command = a;
        } else {
            err << "altavo-report: unexpected argument \"" << a << "\"\n" << UsageText;
            return Usage;
        }
    }
    const QString& c = request.Command;
    const bool valid = (c == "student-log" && (!request.Pdf.isEmpty() || !request.Csv.isEmpty()) &&
                        request.User.isEmpty() && request.Test.isEmpty() && request.Session.isEmpty()) ||
                       (c == "certificate" && !request.User.isEmpty() && !request.Test.isEmpty() &&
                        !request.Pdf.isEmpty() && request.Csv.isEmpty() && request.Session.isEmpty()) ||
                       (c == "study-material" && !request.Session.isEmpty() && !request.Pdf.isEmpty() &&
                        request.Csv.isEmpty() && request.User.isEmpty() && request.Test.isEmpty());
    if (!valid) {
        err << UsageText;
        return Usage;
    }
    out.flush();
    return RunReport(request, out, err);
}
