// The tour's test part: the test type selection, an open-book attempt with a
// picture of each question type, the hint, the exhibit, the information
// window and the report pop-up, the item review with a mark, the exam
// analysis, then a closed-book attempt left to be continued, the
// continue-the-test screen and its exam analysis.
#include <QCheckBox>
#include <QRadioButton>
#include <QTest>
#include <set>

#include "TTour.h"
#include "lesson/TBookmarkTest.h"
#include "lesson/TExibitForm.h"
#include "lesson/TMoviePageScreen.h"
#include "shell/TForm1.h"
#include "testing/TBookmarkScreen.h"
#include "testing/TItemReviewScreen.h"
#include "testing/TReportPopup.h"
#include "testing/TTestScreen.h"
#include "testing/TTestTypeScreen.h"
#include "widgets/TQvTesting.h"
#include "widgets/TSkinButton.h"

namespace {
QString TypeName(int type) {
    switch (type) {
    case 0:
        return "true or false";
    case 1:
        return "single choice";
    case 3:
        return "simulation";
    case 5:
        return "multiple choice";
    default:
        return QString::number(type);
    }
}
} // namespace

bool TTour::TestScreens() {
    TForm1& f = *m_form;
    TMoviePageScreen* page = f.Module<TMoviePageScreen>();
    TTestScreen* test = f.Module<TTestScreen>();
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
                    bool hint = false, exhibit = false, info = false;
                    return throughTest([&](int i) {
                        const QuestionAnswer* entry = test->Run.Current();
                        const int type = entry ? entry->QType : -1;
                        if (type == 3)
                            for (int wait = 0; wait < 50 && f.QvTesting1->State() == TQvTesting::TState::Idle;
                                 ++wait)
                                QTest::qWait(100);
                        if (i == 1)
                            Click(test->btnMark);
                        if (shown.insert(type).second)
                            Shot("test " + TypeName(type) + " open book", &f);
                        if (!hint && f.btnHint->isVisible()) {
                            hint = true;
                            Click(f.btnHint);
                            Shot("test with the hint window", &f);
                            Click(f.btnHint);
                        }
                        if (!exhibit && test->btnExhibit->isVisible()) {
                            exhibit = true;
                            Click(test->btnExhibit);
                            Shot("window exhibit", f.ExibitForm);
                            Click(test->btnExhibit);
                        }
                        if (i == 2) {
                            Click(test->btnTReport);
                            Shot("window report popup", f.ReportPopup);
                            Click(test->btnTReport);
                        }
                        // One answer, with its feedback picture; the rest are left for the review.
                        if (!info && type != 3 && test->RowsInUse > 0) {
                            info = true;
                            QTest::mouseClick(test->AnswerRows[0]->Radio, Qt::LeftButton, {}, QPoint(7, 11));
                            QTest::mouseClick(test->AnswerRows[0]->Check, Qt::LeftButton, {}, QPoint(7, 11));
                            m_modals.Act(
                                [&] { Click(f.btnRight); }, "TInfoForm",
                                [&](QWidget* w) { Shot("window information after a test answer", w); });
                            return 2;
                        }
                        return 1;
                    });
                }) &&
           Step("item review and exam analysis, open book",
                [&] {
                    Shot("item review", &f);
                    Click(f.Module<TItemReviewScreen>()->btnRevEnd);
                    if (!ExpectScreen(ScreenExamAnalysis))
                        return false;
                    Shot("exam analysis open book", &f);
                    Click(f.btnMain);
                    return ExpectScreen(ScreenMoviePage);
                }) &&
           Step("closed-book test left to be continued",
                [&] {
                    if (!toTestType())
                        return false;
                    Click(f.Module<TTestTypeScreen>()->btnClosedBook);
                    if (!ExpectScreen(ScreenTest))
                        return false;
                    Shot("test closed book", &f);
                    const bool asked = m_modals.Act([&] { Click(f.btnMain); }, "TBookmarkTest",
                                                    [&](QWidget* w) {
                                                        Shot("window bookmark test", w);
                                                        Click(static_cast<TBookmarkTest*>(w)->btnYes);
                                                    });
                    return (asked || Fail("no continue-later question")) && ExpectScreen(ScreenMoviePage);
                }) &&
           Step("continue the test, then its exam analysis", [&] {
               if (f.CurrentScreen != ScreenMoviePage)
                   f.ShowScreen(ScreenMoviePage);
               Click(page->TestField);
               if (!ExpectScreen(ScreenBookmark))
                   return false;
               Shot("continue the test", &f);
               Click(f.Module<TBookmarkScreen>()->btnYes);
               if (!ExpectScreen(ScreenTest) || !throughTest([](int) { return 1; }))
                   return false;
               Click(f.Module<TItemReviewScreen>()->btnRevEnd);
               if (!ExpectScreen(ScreenExamAnalysis))
                   return false;
               Shot("exam analysis closed book", &f);
               Click(f.btnMain);
               return ExpectScreen(ScreenMoviePage);
           });
}
