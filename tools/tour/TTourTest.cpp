// The tour's test part: the test type selection, an open-book attempt with a
// picture of each question type, the hint, reference, exhibit, information
// and steps windows and the report pop-up, the item review with a
// mark, the exam analysis of the failed attempt and its study material; then
// a closed-book attempt answered right, left to be continued after its first
// question, continued on the continue-the-test screen, its item review, the
// exam analysis of the pass and the certificate.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <set>
#include <tuple>

#include "TSimulationHands.h"
#include "TTour.h"
#include "data/TTesting.h"
#include "lesson/TBookmarkTest.h"
#include "lesson/TExibitForm.h"
#include "lesson/TMoviePageScreen.h"
#include "lesson/TSteps.h"
#include "shell/TForm1.h"
#include "testing/TAnswer.h"
#include "testing/TBookmarkScreen.h"
#include "testing/TExamAnalysisScreen.h"
#include "testing/TItemReviewScreen.h"
#include "testing/TReportPopup.h"
#include "testing/TTestScreen.h"
#include "testing/TTestTypeScreen.h"
#include "testing/TTestWindows.h"
#include "widgets/TQvTesting.h"
#include "widgets/TSkinButton.h"

namespace {

QString TypeName(int type) {
    switch (type) {
    case TTesting::TrueFalse:
        return "true or false";
    case TTesting::SingleChoice:
        return "single choice";
    case TTesting::Simulation:
        return "simulation";
    case TTesting::MultipleChoice:
        return "multiple choice";
    default:
        return QString::number(type);
    }
}

// Where a learner clicks an answer row: on its radio button or check box.
void TickRow(TAnswer& row) {
    QAbstractButton* box = row.Style() == TAnswer::RadioStyle ? static_cast<QAbstractButton*>(row.Radio)
                                                              : static_cast<QAbstractButton*>(row.Check);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(7, 11));
}

// The rows (0-based) a right answer ticks, read from the question's ANSWER as
// the tests store holds it: "TRUE" or "FALSE" (rows True, False), the number
// of the right choice, or the mask of the right choices (bit k-1 for choice k).
std::vector<int> RightRows(const TTestQuestion& question) {
    const QString answer = question.Answer.trimmed();
    std::vector<int> rows;
    switch (question.Type) {
    case TTesting::TrueFalse:
        rows.push_back(answer == QLatin1String("TRUE") ? 0 : 1);
        break;
    case TTesting::SingleChoice:
        rows.push_back(answer.toInt() - 1);
        break;
    case TTesting::MultipleChoice:
        for (int k = 1; k <= question.NumAnswer && k <= 31; ++k)
            if (answer.toInt() & (1 << (k - 1)))
                rows.push_back(k - 1);
        break;
    default:
        break;
    }
    return rows;
}

} // namespace

bool TTour::TestScreens() {
    TForm1& f = *m_form;
    TMoviePageScreen* page = f.Module<TMoviePageScreen>();
    TTestScreen* test = f.Module<TTestScreen>();
    TExamAnalysisScreen* analysis = f.Module<TExamAnalysisScreen>();
    auto toTestType = [&] {
        if (f.CurrentScreen != ScreenMoviePage)
            f.ShowScreen(ScreenMoviePage);
        Click(page->btnStop);
        Click(page->TestField);
        return ExpectScreen(ScreenTestType);
    };
    // Next through the attempt to the item review; `each` runs on every question
    // first and answers 0 to stop, 2 when it moved on itself.
    auto throughTest = [&](const std::function<int(int)>& each) {
        for (int i = 0; i < test->Run.Count() + 1 && f.CurrentScreen == ScreenTest; ++i) {
            const int done = each(i);
            if (done == 0)
                return false;
            if (done == 1)
                Click(f.btnRight);
        }
        return ExpectScreen(ScreenItemReview);
    };
    auto waitForSimulation = [&] {
        return QTest::qWaitFor([&] { return f.QvTesting1->State() == TQvTesting::TState::Playing; }, 5000) ||
               Fail("the simulation did not start: " + f.QvTesting1->Message());
    };
    std::set<int> closedShown;
    // The countdown writes the time left on its first tick, 250 ms in.
    auto closedShot = [&](const QString& name) {
        if (!QTest::qWaitFor([&] { return !test->lblTime->text().isEmpty(); }, 2000))
            return Fail("the countdown shows no time left");
        Shot(name, &f);
        return true;
    };
    // Closed book: answers the question on show right, photographing the first
    // of each type, and moves on (a worked simulation moves on by itself). The
    // answer comes from the tests store; the entry must then be scored right.
    auto answerRight = [&] {
        const int index = test->Run.CurrentQuestion;
        const QuestionAnswer* entry = test->Run.Current();
        if (!entry || f.Testing->GoToTestQuestionId(entry->QuestionId) != 0)
            return Fail(QStringLiteral("question %1 is not in the tests store").arg(index + 1));
        const TTestQuestion question = f.Testing->CurrentQuestion();
        const bool firstOfType = closedShown.insert(question.Type).second;
        if (question.Type == TTesting::Simulation) {
            if (!waitForSimulation())
                return false;
            if (firstOfType && !closedShot("test simulation closed book"))
                return false;
            m_modals.Act([&] { WorkSimulationRight(f.QvTesting1); });
            if (!QTest::qWaitFor(
                    [&] { return test->Run.CurrentQuestion != index || f.CurrentScreen != ScreenTest; },
                    5000))
                return Fail(QStringLiteral("the simulation of question %1 gave no verdict").arg(index + 1));
        } else {
            for (int row : RightRows(question)) {
                if (row < 0 || row >= test->RowsInUse)
                    return Fail(
                        QStringLiteral("question %1 has no answer row %2").arg(index + 1).arg(row + 1));
                TickRow(*test->AnswerRows[size_t(row)]);
            }
            if (firstOfType && !closedShot("test " + TypeName(question.Type) + " closed book"))
                return false;
            Click(f.btnRight);
        }
        if (!test->Run.QuestionList[size_t(index)].Correct)
            return Fail(QStringLiteral("question %1 answered right was not scored right").arg(index + 1));
        return true;
    };
    // The preview window a print button of the exam analysis opens.
    auto preview = [&](TSkinButton* button, const QString& name) {
        return m_modals.Act([&] { Click(button); }, "QPrintPreviewDialog",
                            [&](QWidget* w) {
                                QTest::qWait(200); // the pages are drawn once it is shown
                                Shot(name, w);
                                QTest::keyClick(w, Qt::Key_Escape);
                            }) ||
               Fail("no preview window for " + name);
    };
    auto grade = [&](const QString& expected) {
        return analysis->Grade->text() == expected ||
               Fail("the exam analysis says " + analysis->Grade->text());
    };
    return Step("test type selection",
                [&] {
                    if (!toTestType())
                        return false;
                    Shot("test type selection", &f);
                    return true;
                }) &&
           Step("open-book test",
                [&] {
                    Click(f.Module<TTestTypeScreen>()->btnOpenbook);
                    if (!ExpectScreen(ScreenTest))
                        return false;
                    std::set<int> shown;
                    bool hint = false, reference = false, exhibit = false, info = false, steps = false;
                    return throughTest([&](int i) {
                        const QuestionAnswer* entry = test->Run.Current();
                        const int type = entry ? entry->QType : -1;
                        if (type == TTesting::Simulation)
                            for (int wait = 0; wait < 50 && f.QvTesting1->State() == TQvTesting::TState::Idle;
                                 ++wait)
                                QTest::qWait(100);
                        if (i == 1)
                            Click(test->btnMark);
                        if (shown.insert(type).second)
                            Shot("test " + TypeName(type) + " open book", &f);
                        // The hint and reference windows stand beside the main window.
                        for (auto [button, window, name, seen] :
                             {std::tuple{f.btnHint, static_cast<QWidget*>(test->HintForm), "hint", &hint},
                              std::tuple{f.btnReference, static_cast<QWidget*>(test->RefForm), "reference",
                                         &reference}}) {
                            if (*seen || !button->isVisible())
                                continue;
                            *seen = true;
                            Click(button);
                            if (!window->isVisible()) {
                                Fail(QStringLiteral("the %1 button opened no window").arg(name));
                                return 0;
                            }
                            Shot(QStringLiteral("window %1 of a question").arg(name), window);
                            Click(button);
                        }
                        if (!exhibit && test->btnExhibit->isVisible()) {
                            exhibit = true;
                            Click(test->btnExhibit);
                            Shot("window exhibit of a question", f.ExibitForm);
                            Click(test->btnExhibit);
                        }
                        if (!steps && type == TTesting::Simulation) {
                            steps = true;
                            Click(f.btnSteps);
                            if (!f.Steps->isVisible()) {
                                Fail("the steps button opened no steps window");
                                return 0;
                            }
                            Shot("window steps of a test simulation", f.Steps);
                            Click(f.btnSteps);
                        }
                        if (i == 2) {
                            Click(test->btnTReport);
                            Shot("window report popup", f.ReportPopup);
                            Click(test->btnTReport);
                        }
                        // One answer, with its feedback picture; the rest are left for the review.
                        if (!info && type != TTesting::Simulation && test->RowsInUse > 0) {
                            info = true;
                            TickRow(*test->AnswerRows[0]);
                            const bool shown = m_modals.Act(
                                [&] { Click(f.btnRight); }, "TInfoForm",
                                [&](QWidget* w) { Shot("window information after a test answer", w); });
                            if (!shown) {
                                Fail("no information window after an answer");
                                return 0;
                            }
                            return 2;
                        }
                        return 1;
                    });
                }) &&
           Step("item review, exam analysis of a failed attempt and its study material",
                [&] {
                    Shot("item review", &f);
                    Click(f.Module<TItemReviewScreen>()->btnRevEnd);
                    if (!ExpectScreen(ScreenExamAnalysis) || !grade("GRADE: FAIL"))
                        return false;
                    if (analysis->btnPrintCertificate->isVisible())
                        return Fail("a failed attempt offers the certificate");
                    Shot("exam analysis open book fail", &f);
                    if (!preview(analysis->btnPrintStudyGuide, "window study material preview"))
                        return false;
                    Click(f.btnMain);
                    return ExpectScreen(ScreenMoviePage);
                }) &&
           Step("closed-book test answered right, left to be continued",
                [&] {
                    if (!toTestType())
                        return false;
                    Click(f.Module<TTestTypeScreen>()->btnClosedBook);
                    if (!ExpectScreen(ScreenTest) || !answerRight())
                        return false;
                    const bool asked = m_modals.Act([&] { Click(f.btnMain); }, "TBookmarkTest",
                                                    [&](QWidget* w) {
                                                        Shot("window bookmark test", w);
                                                        Click(static_cast<TBookmarkTest*>(w)->btnYes);
                                                    });
                    return (asked || Fail("no continue-later question")) && ExpectScreen(ScreenMoviePage);
                }) &&
           Step("continue the test and answer the rest right",
                [&] {
                    Click(page->TestField);
                    if (!ExpectScreen(ScreenBookmark))
                        return false;
                    Shot("continue the test", &f);
                    Click(f.Module<TBookmarkScreen>()->btnYes);
                    if (!ExpectScreen(ScreenTest) || !throughTest([&](int) { return answerRight() ? 2 : 0; }))
                        return false;
                    Shot("item review closed book", &f);
                    return true;
                }) &&
           Step("exam analysis of a pass and the certificate", [&] {
               Click(f.Module<TItemReviewScreen>()->btnRevEnd);
               if (!ExpectScreen(ScreenExamAnalysis) || !grade("GRADE: PASS"))
                   return false;
               if (!analysis->btnPrintCertificate->isVisible())
                   return Fail("a passed closed-book attempt offers no certificate");
               Shot("exam analysis closed book pass with certificate", &f);
               if (!preview(analysis->btnPrintCertificate, "window certificate preview"))
                   return false;
               Click(f.btnMain);
               return ExpectScreen(ScreenMoviePage);
           });
}
