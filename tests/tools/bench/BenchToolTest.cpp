// altavo-bench runs once through every figure and reports each with a number;
// speed itself is not judged here (docs/performance.md has the figures).
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct TBenchRun {
    int Exit = -1;
    QString Out;
};

TBenchRun RunBench(const QStringList& args) {
    QProcess bench;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("ASAN_OPTIONS", "detect_leaks=0");
    bench.setProcessEnvironment(env);
    bench.setProcessChannelMode(QProcess::MergedChannels);
    bench.start(qEnvironmentVariable("ALTAVO_BIN") + "/altavo-bench", args);
    TBenchRun run;
    if (!bench.waitForFinished(600000))
        return run;
    run.Exit = bench.exitStatus() == QProcess::NormalExit ? bench.exitCode() : -2;
    run.Out = QString::fromUtf8(bench.readAll());
    return run;
}

TEST(BenchTool, OneRunReportsEveryFigureWithANumber) {
    QTemporaryDir dir;
    const TBenchRun run = RunBench({"--runs", "1", "--installation", dir.filePath("install")});
    // 0: every goal met, 1: a goal missed (a sanitizer build is slow); both report.
    ASSERT_TRUE(run.Exit == 0 || run.Exit == 1) << run.Exit << "\n" << run.Out.toStdString();
    EXPECT_FALSE(run.Out.contains("NOT MEASURED")) << run.Out.toStdString();
    EXPECT_FALSE(run.Out.contains("runtime error:") || run.Out.contains("Sanitizer"))
        << run.Out.toStdString();
    EXPECT_FALSE(run.Out.contains("in-process runs stopped")) << run.Out.toStdString();
    const QStringList figures{"start to sign-in painted: player",
                              "start to first paint: bare window",
                              "start: player / bare window",
                              "switch to 12 genesis",
                              "switch to  2 movie page",
                              "switch to  3 challenge",
                              "switch to  8 test type selection",
                              "switch to  7 test",
                              "switch to  9 item review",
                              "switch to 11 continue the test",
                              "switch to 10 exam analysis",
                              "switch to 15 administrator",
                              "switch to 13 registration",
                              "switch to  4 sign-in",
                              "switch to  5 course selection",
                              "  first entry of the movie page",
                              "course start (50 pages x 20 buttons)",
                              "resident memory at sign-in: player",
                              "resident memory with a clip playing: player"};
    for (const QString& figure : figures) {
        const QRegularExpression row("^" + QRegularExpression::escape(figure) + R"( .* \d+\.\d+ ?(ms|MB|x) )",
                                     QRegularExpression::MultilineOption);
        EXPECT_TRUE(row.match(run.Out).hasMatch()) << figure.toStdString() << "\n" << run.Out.toStdString();
    }
}

TEST(BenchTool, RefusesABadCommandLine) {
    for (const QStringList& args : {QStringList{"--runs", "0"}, QStringList{"--runs", "x"},
                                    QStringList{"--runs"}, QStringList{"--fast"}}) {
        const TBenchRun run = RunBench(args);
        EXPECT_EQ(run.Exit, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.Out.contains("Usage: altavo-bench")) << args.join(' ').toStdString();
    }
}

} // namespace
