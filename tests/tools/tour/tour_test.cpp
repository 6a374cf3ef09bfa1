// The tour on a fresh demo installation made by make-demo.sh: every step
// reaches its screen, every picture it saves shows something, the passed
// attempt's exam analysis shows the certificate button, and a second run on
// the same installation passes too, with the installation's tables and
// settings left as they were.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include "shell/ControlLayout.h"

namespace {

QString Bin(const QString& program) {
    return QDir(qEnvironmentVariable("ALTAVO_BIN")).filePath(program);
}

struct TRun {
    int exitCode = -1;
    QString output;
};

TRun RunProgram(const QString& program, const QStringList& args, const QProcessEnvironment& env) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    TRun run;
    if (!process.waitForFinished(180000)) {
        process.kill();
        process.waitForFinished();
        run.output = "did not finish: " + QString::fromLocal8Bit(process.readAll());
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.output = QString::fromLocal8Bit(process.readAll());
    return run;
}

// A picture that is one colour, or nearly, shows nothing.
int DistinctColours(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            colours.insert(image.pixel(x, y));
    return colours.size();
}

// One digest over the names and contents of the installation's tables and
// its registry store.
std::string Fingerprint(const QString& demo) {
    QStringList files{demo + "/registry.ini"};
    QDirIterator it(demo + "/db", QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QString& name : files) {
        QFile file(name);
        hash.addData(name.toUtf8());
        if (file.open(QIODevice::ReadOnly))
            hash.addData(file.readAll());
    }
    return hash.result().toHex().toStdString();
}

} // namespace

TEST(Tour, PhotographsEveryScreenOfAFreshDemoInstallationTwice) {
    QTemporaryDir dir;
    const QString demo = dir.filePath("demo");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("ALTAVO_REGISTRY", demo + "/registry.ini");

    const QString script = QDir(qEnvironmentVariable("ALTAVO_SOURCE")).filePath("scripts/make-demo.sh");
    const QString build = QFileInfo(qEnvironmentVariable("ALTAVO_BIN")).absolutePath();
    const TRun made = RunProgram("bash", {script, build, demo}, env);
    ASSERT_EQ(made.exitCode, 0) << made.output.toStdString();

    // The screens and windows a learner reaches; the tour numbers them in order.
    const QStringList expected = {"registration-first-user",
                                  "message-password-mismatch",
                                  "course-selection-after-first-registration",
                                  "sign-in",
                                  "bad-login",
                                  "registration-add-user",
                                  "notice",
                                  "administrator",
                                  "window-student-log-preview",
                                  "course-selection",
                                  "help-menu",
                                  "about",
                                  "about-skin-window",
                                  "skin-selection-window",
                                  "window-please-wait",
                                  "genesis",
                                  "exam-analysis-open-book-fail",
                                  "window-study-material-preview",
                                  "test-true-or-false-closed-book",
                                  "test-single-choice-closed-book",
                                  "test-multiple-choice-closed-book",
                                  "test-simulation-closed-book",
                                  "exam-analysis-closed-book-pass-with-certificate",
                                  "window-certificate-preview",
                                  "exit"};
    const std::string before = Fingerprint(demo);
    for (int run = 1; run <= 2; ++run) {
        const QString shots = dir.filePath(QString("shots%1").arg(run));
        const TRun tour = RunProgram(Bin("altavo-tour"), {Bin("altavo"), shots}, env);
        ASSERT_EQ(tour.exitCode, 0) << "run " << run << "\n" << tour.output.toStdString();
        EXPECT_TRUE(tour.output.contains(QFileInfo(shots).absoluteFilePath())) << "the tour names its folder";

        const QStringList pictures = QDir(shots).entryList({"*.png"}, QDir::Files, QDir::Name);
        QStringList names;
        for (const QString& file : pictures) {
            names << file.mid(3).chopped(4); // "NN-name.png"
            const QImage image(QDir(shots).filePath(file));
            ASSERT_FALSE(image.isNull()) << file.toStdString();
            EXPECT_GE(DistinctColours(image), 8) << file.toStdString() << " looks blank";
        }
        for (const QString& name : expected)
            EXPECT_TRUE(names.contains(name)) << "run " << run << ": no picture " << name.toStdString();
        EXPECT_FALSE(names.join(' ').contains("unexpected")) << names.join(' ').toStdString();

        // The two exam analyses differ where the certificate button stands.
        auto picture = [&](const QString& name) {
            const qsizetype at = names.indexOf(name);
            return at < 0 ? QImage() : QImage(QDir(shots).filePath(pictures[at]));
        };
        const QRect button = ControlLayout::CertificateButton;
        const QImage pass = picture("exam-analysis-closed-book-pass-with-certificate");
        const QImage fail = picture("exam-analysis-open-book-fail");
        ASSERT_TRUE(pass.rect().contains(button) && fail.rect().contains(button));
        EXPECT_NE(pass.copy(button), fail.copy(button)) << "no certificate button on the pass";
    }
    EXPECT_EQ(Fingerprint(demo), before) << "the tour changed the installation";
}
