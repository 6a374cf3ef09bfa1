// The tour on a fresh demo installation made by make-demo.sh: every step
// reaches its screen, every picture it saves shows something, and a second
// run on the same installation (learners now signed in before) passes too.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

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
                                  "course-selection",
                                  "help-menu",
                                  "about",
                                  "about-skin-window",
                                  "skin-selection-window",
                                  "genesis",
                                  "window-please-wait",
                                  "exit"};
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
    }
}
