// Times the question list of a long test: building it from the tests store,
// writing its answers block, resuming from that block, and making a question
// current in the store. Usage: testrun_bench [questions] [runs]
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "data/TEngineSession.h"
#include "data/TTesting.h"
#include "platform/TDynamicLibrary.h"
#include "testing/model/TTestRun.h"

namespace {

// Questions of every type in turn, with four choices or steps each.
bool BuildTest(TTesting& store, int questions) {
    if (!store.AddParent("P", "Parent", "", "", questions) ||
        !store.AddTest("BENCH", "P", "", "BENCHQ", "Bench"))
        return false;
    if (store.OpenTest("BENCH") != 0)
        return false;
    const int types[] = {TTesting::TrueFalse, TTesting::SingleChoice, TTesting::MultipleChoice,
                         TTesting::Simulation};
    for (int position = 1; position <= questions; ++position) {
        int type = types[position % 4];
        QString answer = type == TTesting::TrueFalse ? "TRUE" : type == TTesting::MultipleChoice ? "5" : "2";
        int id =
            store.AddTestQuestion(position, type, QString("Title %1").arg(position),
                                  QString("Question text %1").arg(position), 4, answer, "hint", "ref", "");
        if (id < 0)
            return false;
        if (type != TTesting::TrueFalse)
            for (int k = 1; k <= 4; ++k)
                store.SetTestQuestionXtra(id, k, QString("Choice %1").arg(k));
    }
    store.CloseTest();
    return true;
}

struct TTimes {
    std::vector<double> Ms;
    void Add(const QElapsedTimer& timer) { Ms.push_back(double(timer.nsecsElapsed()) / 1e6); }
    double Median() {
        std::sort(Ms.begin(), Ms.end());
        return Ms.empty() ? 0 : Ms[Ms.size() / 2];
    }
    double Max() const { return Ms.empty() ? 0 : *std::max_element(Ms.begin(), Ms.end()); }
};

void Report(const char* what, TTimes& times) {
    std::printf("%-40s median %8.3f ms   max %8.3f ms\n", what, times.Median(), times.Max());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int questions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 500;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;

    TDynamicLibrary library;
    if (!library.Load(EngineLibraryFileName(), EngineLibraryDirs() << qEnvironmentVariable("ALTAVO_BIN"))) {
        std::fprintf(stderr, "cannot load the engine library: %s\n", qPrintable(library.ErrorString()));
        return 1;
    }
    TEngineSession session(library);
    QTemporaryDir dir;
    if (!session.Engine() || !dir.isValid())
        return 1;
    TTesting store(library, dir.path() + "/", session.Engine());
    if (!BuildTest(store, questions) || store.OpenTest("BENCH") != 0) {
        std::fprintf(stderr, "cannot build the test: %s\n", qPrintable(store.LastError()));
        return 1;
    }
    std::printf("%d questions, %d runs\n", questions, runs);

    TTimes build, shuffledBuild, write, resume, move;
    QByteArray block;
    for (int run = 0; run < runs; ++run) {
        TTestRun attempt;
        QElapsedTimer timer;
        timer.start();
        TPrepareOutcome built = attempt.Build(store, false);
        build.Add(timer);
        if (!built.Ready || attempt.Count() != questions) {
            std::fprintf(stderr, "building gave %d questions\n", attempt.Count());
            return 1;
        }

        TTestRun shuffled;
        timer.start();
        shuffled.Build(store, true);
        shuffledBuild.Add(timer);

        for (int i = 0; i < attempt.Count(); i += 2) {
            attempt.CurrentQuestion = i;
            attempt.RecordAnswer({true, false, true});
        }
        attempt.CurrentQuestion = questions / 2;
        timer.start();
        block = *attempt.AnswersBlock(false);
        write.Add(timer);

        TTestRun resumed;
        timer.start();
        TPrepareOutcome outcome = resumed.Resume(store, block, 2);
        resume.Add(timer);
        if (!outcome.Resumed || resumed.Count() != questions ||
            resumed.RightCount() != attempt.RightCount()) {
            std::fprintf(stderr, "resuming gave %d questions\n", resumed.Count());
            return 1;
        }

        // Moving between questions as the test screen does, by position.
        int position = 1 + (run * 37) % questions;
        timer.start();
        store.GoToTestQuestion(position);
        store.GetTestQuestionAnswerText(1);
        store.GetTestQuestionAnswerText(4);
        move.Add(timer);
    }
    Report("build the question list", build);
    Report("build the question list, randomized", shuffledBuild);
    Report("write the answers block", write);
    Report("resume from the answers block", resume);
    Report("make a question current, read choices", move);
    std::printf("answers block: %lld bytes\n", static_cast<long long>(block.size()));
    return 0;
}
