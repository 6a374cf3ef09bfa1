#include "TReportCommands.h"

#include <QFileInfo>
#include <memory>

#include "data/TAssignment.h"
#include "data/TEngineSession.h"
#include "data/TTestSession.h"
#include "data/TTesting.h"
#include "data/TUser.h"
#include "platform/TConfiguration.h"
#include "platform/TDynamicLibrary.h"
#include "platform/TPaths.h"
#include "platform/TRegistry.h"
#include "reports/TAdminList.h"
#include "reports/TCertificate.h"
#include "reports/TStudentLog.h"
#include "reports/TStudyMaterialSource.h"
#include "testing/model/TTestScore.h"

namespace {

// A closed-book score of this share or more passes a test.
constexpr int PassingPercent = TTestScore::PassingPercent;

// The tables every report reads. The table objects would create a missing
// table; a report must never write into an installation, so each is checked first.
const char* const RequiredTables[] = {"Users", "Assign", "TestSess", "gtest", "ptest"};

struct TTables {
    TTables(TDynamicLibrary& library, const QString& dir, CODE4* engine)
        : Users(library, dir, engine), Assignments(library, dir, engine), Sessions(library, dir, engine),
          Testing(library, dir, engine) {}
    TUser Users;
    TAssignment Assignments;
    TTestSession Sessions;
    TTesting Testing;
};

ReportExit WriteFailed(QTextStream& err, const QString& error) {
    err << "altavo-report: " << error << "\n";
    return NotAvailable;
}

ReportExit StudentLog(const TReportRequest& request, TTables& t, QTextStream& out, QTextStream& err) {
    const std::vector<TAdminListRow> rows = BuildAdminList(t.Users, t.Assignments, t.Testing);
    QString error;
    if (!request.Csv.isEmpty()) {
        if (!SaveStudentLogCsv(request.Csv, rows, &error))
            return WriteFailed(err, error);
        out << "Wrote " << rows.size() << " rows to " << request.Csv << "\n";
    }
    if (!request.Pdf.isEmpty()) {
        if (rows.empty()) {
            err << "altavo-report: there are no learners, so there is no student log to print\n";
            return Refused;
        }
        if (!SaveStudentLogPdf(request.Pdf, rows, &error))
            return WriteFailed(err, error);
        out << "Wrote the student log of " << rows.size() << " rows to " << request.Pdf << "\n";
    }
    return Done;
}

ReportExit Certificate(const TReportRequest& request, TTables& t, QTextStream& out, QTextStream& err) {
    UserInfoStruct user;
    user.ID = t.Users.UserbyName(request.User);
    if (user.ID < 0 || !t.Users.GetUser(user)) {
        err << "altavo-report: there is no user \"" << request.User << "\"\n";
        return Refused;
    }
    if (t.Testing.OpenTest(request.Test) != 0) {
        err << "altavo-report: there is no test \"" << request.Test << "\"\n";
        return Refused;
    }
    const QString title = t.Testing.GetOpenTitle();
    t.Testing.CloseTest();
    const int best = t.Assignments.GoToAssignment(user.ID, request.Test) ? t.Assignments.GetBestPost() : -1;
    if (best < PassingPercent) {
        err << "altavo-report: " << request.User << " has not passed test " << request.Test
            << " (best closed-book score: "
            << (best < 0 ? QStringLiteral("none") : QString::number(best) + "%") << ", " << PassingPercent
            << "% needed); no certificate was written\n";
        return Refused;
    }
    QString error;
    if (!SaveCertificatePdf(request.Pdf, {user.FirstName + QLatin1Char(' ') + user.LastName, title}, &error))
        return WriteFailed(err, error);
    out << "Wrote the certificate of " << request.User << " for " << request.Test << " to " << request.Pdf
        << "\n";
    return Done;
}

ReportExit StudyMaterial(const TReportRequest& request, TTables& t, QTextStream& out, QTextStream& err) {
    bool ok = false;
    const int session = request.Session.toInt(&ok);
    if (!ok || session <= 0) {
        err << "altavo-report: \"" << request.Session << "\" is not a session number\n";
        return Usage;
    }
    QString error;
    const auto data =
        ReadSessionStudyMaterial(session, t.Sessions, t.Assignments, t.Users, t.Testing, &error);
    if (!data) {
        err << "altavo-report: " << error << "\n";
        return Refused;
    }
    TStudyMaterial report(*data);
    const TReportDocument document = report.Run();
    if (document.IsEmpty()) {
        err << "altavo-report: every question of session " << session
            << " was answered correctly, so there is no study material to print\n";
        return Refused;
    }
    if (!WritePdf(document, request.Pdf, &error))
        return WriteFailed(err, error);
    out << "Wrote the study material of session " << session << " to " << request.Pdf << "\n";
    return Done;
}

} // namespace

ReportExit RunReport(const TReportRequest& request, QTextStream& out, QTextStream& err) {
    TConfiguration configuration;
    if (!ReadConfiguration(configuration)) {
        err << "altavo-report: no installation: the registry store " << TRegistry::DefaultFile()
            << " has no key " << ConfigurationKey << "\n";
        return NotAvailable;
    }
    const QString dir = configuration.DatabaseDir;
    if (dir == QLatin1String("/") || !QFileInfo(ResolvePath(dir)).isDir()) {
        err << "altavo-report: the database directory \"" << dir << "\" does not exist\n";
        return NotAvailable;
    }
    for (const char* table : RequiredTables) {
        const QString file = ResolvePath(dir + QLatin1String(table) + QLatin1String(".dbf"));
        if (!QFileInfo(file).isFile()) {
            err << "altavo-report: the database directory \"" << dir << "\" has no table " << table << "\n";
            return NotAvailable;
        }
    }
    TDynamicLibrary library;
    if (!library.Load(EngineLibraryFileName(), EngineLibraryDirs())) {
        err << "altavo-report: the engine library cannot be loaded: " << library.ErrorString() << "\n";
        return NotAvailable;
    }
    TEngineSession session(library);
    if (!session.Engine()) {
        err << "altavo-report: the engine cannot be started\n";
        return NotAvailable;
    }
    auto tables = std::make_unique<TTables>(library, ResolvePath(dir) + QLatin1Char('/'), session.Engine());
    if (request.Command == QLatin1String("student-log"))
        return StudentLog(request, *tables, out, err);
    if (request.Command == QLatin1String("certificate"))
        return Certificate(request, *tables, out, err);
    return StudyMaterial(request, *tables, out, err);
}
