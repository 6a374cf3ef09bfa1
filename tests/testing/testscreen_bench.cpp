// Drawing a question and moving between questions on the real test screen:
// a test of N questions (true or false, single and multiple choice with four
// choices, in turn) in a temporary installation; times entering the test
// screen (building the list and drawing the first question), Next and Previous.
//   testscreen_bench [questions] [moves]
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/TInstallation.h"
#include "data/TAssignment.h"
#include "data/TTesting.h"
#include "data/TUser.h"
#include "lesson/TInfoForm.h"
#include "lesson/TMoviePageScreen.h"
#include "testing/TTestScreen.h"
#include "testing/TTestTypeScreen.h"
#include "widgets/TSkinButton.h"

namespace {
void Report(const char* what, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("%-48s median %7.2f ms   max %7.2f ms   (%zu runs)\n", what, ms[ms.size() / 2], ms.back(),
                ms.size());
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int questions = argc > 1 ? std::max(1, atoi(argv[1])) : 500;
    const int moves = argc > 2 ? std::max(1, atoi(argv[2])) : 200;
    if (qEnvironmentVariableIsEmpty("ALTAVO_BIN"))
        qputenv("ALTAVO_BIN", QCoreApplication::applicationDirPath().toUtf8());

    TInstallation install;
    {
        TForm1& f = install.Start();
        if (f.StartFailed)
            return 1;
        UserInfoStruct ann;
        ann.UserName = "Ann";
        ann.Password = "pw";
        f.User->AddUser(ann);
        f.Assignment->AddAssignment(1, TAssignment::TestProduct, 0, "BENCH");
        f.Assignment->AddAssignment(1, TAssignment::CourseProduct, 0, "BC");
        f.Testing->AddParent("P", "Parent", "", "", 0);
        QDir(install.Path("db")).mkpath("BENCH");
        f.Testing->AddTest("BENCH", "P", "BENCH/", "BENCHQ", "Bench");
        f.Testing->OpenTest("BENCH");
        const int types[] = {TTesting::TrueFalse, TTesting::SingleChoice, TTesting::MultipleChoice};
        for (int q = 1; q <= questions; ++q) {
            const int type = types[q % 3];
            const int id = f.Testing->AddTestQuestion(
                q, type, QString("Question %1").arg(q), "Which of these holds for the sheet in front of you?",
                type == TTesting::TrueFalse ? 2 : 4, "1", "A hint", "A reference", "");
            if (type != TTesting::TrueFalse)
                for (int k = 1; k <= 4; ++k)
                    f.Testing->SetTestQuestionXtra(id, k, QString("Choice %1 of question %2").arg(k).arg(q));
        }
        f.Testing->CloseTest();
        install.Stop();
    }
    TForm1& f = install.Start();
    f.CurrentUserId = 1;
    f.CurrentCourseId = "BC";
    f.CourseTestId = "BENCH";
    f.Testing->OpenTest("BENCH");
    f.InfoForm->ModalShow = false;
    auto* test = f.Module<TTestScreen>();
    f.Module<TMoviePageScreen>()->TestField->click();

    QElapsedTimer timer;
    timer.start();
    f.Module<TTestTypeScreen>()->btnOpenbook->click();
    QCoreApplication::processEvents();
    Report("enter the test screen (build, draw the first)", {timer.nsecsElapsed() / 1e6});

    std::vector<double> next, previous;
    for (int i = 0; i < moves && i + 1 < questions; ++i) {
        timer.restart();
        f.btnRight->click();
        QCoreApplication::processEvents();
        next.push_back(timer.nsecsElapsed() / 1e6);
    }
    for (int i = 0; i < moves && test->Run.CurrentQuestion > 0; ++i) {
        timer.restart();
        f.btnLeft->click();
        QCoreApplication::processEvents();
        previous.push_back(timer.nsecsElapsed() / 1e6);
    }
    Report("Next: record, move, draw the question", next);
    Report("Previous: record, move, draw the question", previous);
    return 0;
}
