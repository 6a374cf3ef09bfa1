// The test screens on the real main window: the test type selection, the test
// screen with every question type, the item review, the exam analysis with its
// print buttons, continuing an attempt later across a real shutdown and a
// killed player, and the sessions table read back by python3-dbfread.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <csignal>

#include "AnswersBlockBytes.h"
#include "app/TInstallation.h"
#include "data/TAssignment.h"
#include "data/TTestSession.h"
#include "data/TTesting.h"
#include "data/TUser.h"
#include "lesson/TBookmarkTest.h"
#include "lesson/TExibitForm.h"
#include "lesson/TInfoForm.h"
#include "lesson/TMoviePageScreen.h"
#include "lesson/TSteps.h"
#include "program/TProgram.h"
#include "reports/TCertificate.h"
#include "reports/TStudyMaterial.h"
#include "shell/TNoticeWindow.h"
#include "testing/TBookmarkScreen.h"
#include "testing/TExamAnalysisScreen.h"
#include "testing/TItemReviewScreen.h"
#include "testing/TReportPopup.h"
#include "testing/TTestScreen.h"
#include "testing/TTestTypeScreen.h"
#include "testing/TTestWindows.h"
#include "testing/model/TTestTypeTexts.h"
#include "widgets/TGifImage.h"
#include "widgets/TQvTesting.h"
#include "widgets/TSkinButton.h"

namespace {

// The smallest GIF: one transparent pixel.
const QByteArray OnePixelGif = QByteArray::fromHex(
    "47494638396101000100800000000000ffffff21f90401000000002c00000000010001000002024401003b");

struct TRecord {
    int Question; // index into the question IDs
    bool Correct, Seen, Answered, Marked;
    int Given;
};

// The answers block as the sessions table must hold it, written out by hand.
QByteArray ExpectedBlock(const QList<int>& ids, bool finished, int current,
                         const std::vector<TRecord>& records) {
    std::vector<TBlockRecord> block;
    for (const TRecord& r : records)
        block.push_back({ids[r.Question], r.Correct, r.Seen, r.Answered, r.Marked, r.Given});
    return AnswersBlockBytes("SS101T    ", finished, current, block);
}

// "ID TYPEFLAG QTAKEN QRIGHT hex(ANSWERS)" of every test row (not the lesson
// sessions of the movie page), read by python3-dbfread.
QStringList SessionsByDbfread(const QString& dbDir) {
    const char* script =
        "import sys, dbfread\n"
        "for r in dbfread.DBF(sys.argv[1], encoding='latin-1'):\n"
        "    a = r['ANSWERS'] or ''\n"
        "    a = a.encode('latin-1') if isinstance(a, str) else bytes(a)\n"
        "    if r['TYPEFLAG'] in (1, 2):\n"
        "        print(*(int(r[f] or 0) for f in ('ID', 'TYPEFLAG', 'QTAKEN', 'QRIGHT')), a.hex())\n";
    QProcess python;
    python.start("/usr/bin/python3", {"-c", script, dbDir + "/TestSess.dbf"});
    if (!python.waitForFinished(30000) || python.exitCode() != 0)
        return {"python3-dbfread failed: " + QString::fromUtf8(python.readAllStandardError())};
    return QString::fromLatin1(python.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

QString SessionLine(int id, int type, int taken, int right, const QByteArray& block) {
    return QString("%1 %2 %3 %4 %5")
        .arg(id)
        .arg(type)
        .arg(taken)
        .arg(right)
        .arg(QString::fromLatin1(block.toHex()));
}

// A course test of four questions, one of each type, and Ann assigned to it.
QList<int> AddCourseTest(TForm1& f) {
    UserInfoStruct ann;
    ann.UserName = "Ann";
    ann.FirstName = "Ann";
    ann.LastName = "Lee";
    ann.Password = "pw";
    EXPECT_EQ(f.User->AddUser(ann), 1);
    EXPECT_TRUE(f.Assignment->AddAssignment(1, TAssignment::TestProduct, 0, "SS101T"));
    EXPECT_TRUE(f.Assignment->AddAssignment(1, TAssignment::CourseProduct, 0, "SS101"));
    EXPECT_TRUE(f.Testing->AddParent("P", "Parent", "", "", 0));
    EXPECT_TRUE(f.Testing->AddTest("SS101T", "P", "SS101T/", "SS101Q", "Spreadsheets Test"));
    EXPECT_EQ(f.Testing->OpenTest("SS101T"), 0);
    QList<int> ids;
    ids << f.Testing->AddTestQuestion(1, TTesting::TrueFalse, "TF", "Is it so?", 2, "F", "", "", "");
    ids << f.Testing->AddTestQuestion(2, TTesting::SingleChoice, "", "Pick one", 3, "3", "Think twice",
                                      "See page 3", "");
    for (int k = 1; k <= 3; ++k)
        f.Testing->SetTestQuestionXtra(ids.last(), k, QString("Choice %1").arg(k));
    ids << f.Testing->AddTestQuestion(3, TTesting::MultipleChoice, "MC", "Pick some", 4, "5", "", "",
                                      "ex.gif");
    EXPECT_TRUE(f.Testing->SetTestQuestionGraphicDT(OnePixelGif));
    for (int k = 1; k <= 4; ++k)
        f.Testing->SetTestQuestionXtra(ids.last(), k, QString("Option %1").arg(k));
    ids << f.Testing->AddTestQuestion(4, TTesting::Simulation, "Sim", "Do it", 2, "", "", "", "sim.txt");
    EXPECT_TRUE(f.Testing->SetTestQuestionGraphicDT("not a simulation"));
    f.Testing->SetTestQuestionXtra(ids.last(), 1, "Open the menu");
    f.Testing->SetTestQuestionXtra(ids.last(), 2, "Click Save");
    f.Testing->CloseTest();
    return ids;
}

// What course start leaves behind for the test: the learner, the course's
// test open in the store.
void OpenCourse(TForm1& f) {
    f.CurrentUserId = 1;
    f.CurrentCourseId = "SS101";
    f.CourseTestId = "SS101T";
    ASSERT_EQ(f.Testing->OpenTest("SS101T"), 0);
    // The feedback picture closes by a click or its timer; here it stays open, unblocking.
    f.InfoForm->ModalShow = false;
}

void Click(QAbstractButton* button) {
    ASSERT_TRUE(button->isVisible()) << button->objectName().toStdString();
    // Radio buttons and check boxes without a letter answer on their box only.
    const bool box = qobject_cast<QRadioButton*>(button) || qobject_cast<QCheckBox*>(button);
    QTest::mouseClick(button, Qt::LeftButton, {},
                      box ? QPoint(7, button->height() / 2) : button->rect().center());
}

void AnswerBookmark(bool later) {
    OnNextModal([later](QWidget* w) {
        auto* window = qobject_cast<TBookmarkTest*>(w);
        ASSERT_NE(window, nullptr);
        QTest::mouseClick(later ? window->btnYes : window->btnNo, Qt::LeftButton);
    });
}

class TestScreens : public ::testing::Test {
protected:
    void SetUp() override {
        TForm1& f = install.Start();
        ASSERT_FALSE(f.StartFailed);
        QDir(install.Path("db")).mkpath("SS101T");
        Ids = AddCourseTest(f);
        install.Stop();
    }

    TForm1& Start() {
        TForm1& f = install.Start();
        OpenCourse(f);
        test = f.Module<TTestScreen>();
        type = f.Module<TTestTypeScreen>();
        review = f.Module<TItemReviewScreen>();
        analysis = f.Module<TExamAnalysisScreen>();
        page = f.Module<TMoviePageScreen>();
        return f;
    }

    // The movie page's test button.
    void TestField() { page->TestField->click(); }

    TAnswer& Row(int i) { return *test->AnswerRows[size_t(i)]; }
    QStringList RowTexts() {
        QStringList texts;
        for (int i = 0; i < test->RowsInUse; ++i)
            texts << Row(i).Label->text();
        return texts;
    }
    QStringList ReviewLines() {
        QStringList lines;
        for (int i = 0; i < review->ItemReviewListBox->count(); ++i)
            lines << review->ItemReviewListBox->item(i)->text();
        return lines;
    }
    // Pixels of a sign drawn on a review line: the wrong-answer sign (red, at x 15) or the mark sign (yellow,
    // at x 1).
    int SignPixels(int line, int left) {
        review->ItemReviewListBox->doItemsLayout();
        const QImage image = review->ItemReviewListBox->grab().toImage();
        int n = 0;
        for (int y = line * 16 + 2; y < line * 16 + 14; ++y)
            for (int x = left; x < left + 12; ++x) {
                const QColor c = image.pixelColor(x, y);
                n += left == 15 ? c.red() > 180 && c.green() < 100
                                : c.red() > 200 && c.green() > 160 && c.blue() < 100;
            }
        return n;
    }

    TInstallation install;
    QList<int> Ids;
    TTestScreen* test = nullptr;
    TTestTypeScreen* type = nullptr;
    TItemReviewScreen* review = nullptr;
    TExamAnalysisScreen* analysis = nullptr;
    TMoviePageScreen* page = nullptr;
};

TEST_F(TestScreens, WholeOpenBookAttemptIsSavedByteForByte) {
    TForm1& f = Start();
    ASSERT_NE(page, nullptr);
    TestField();
    ASSERT_EQ(f.CurrentScreen, ScreenTestType);
    EXPECT_EQ(type->lblTestTypeExplaination->text(), TestTypeText::OpenBook);
    EXPECT_EQ(type->chkRandom->text(), "Randomize");
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(type->btnClosedBook, &enter);
    EXPECT_EQ(type->lblTestTypeExplaination->text(), TestTypeText::ClosedBook);
    Click(type->btnOpenbook);

    // 1, true or false: left unanswered for now.
    ASSERT_EQ(f.CurrentScreen, ScreenTest);
    EXPECT_EQ(f.lblQuestionNum->text(), "Question 1 of 4");
    EXPECT_EQ(f.Title->text(), "TF");
    EXPECT_EQ(RowTexts(), QStringList({"True", "False"}));
    EXPECT_TRUE(Row(0).Radio->isVisible());
    EXPECT_FALSE(Row(0).Check->isVisible());
    EXPECT_EQ(Row(0).Radio->text(), "") << "true or false shows no letters";
    EXPECT_FALSE(f.btnLeft->isVisible());
    EXPECT_FALSE(f.btnHint->isVisible()) << "no hint for this question";
    EXPECT_TRUE(test->btnTReport->isVisible());
    EXPECT_FALSE(test->lblTime->isVisible()) << "open book is not timed";
    Click(f.btnRight);
    EXPECT_FALSE(f.InfoForm->isVisible()) << "no answer, no feedback picture";

    // 2, single choice with an empty title, a hint and a reference: answered wrong and marked.
    EXPECT_EQ(f.lblQuestionNum->text(), "Question 2 of 4");
    EXPECT_EQ(f.Title->text(), f.windowTitle());
    EXPECT_EQ(RowTexts(), QStringList({"Choice 1", "Choice 2", "Choice 3"}));
    EXPECT_EQ(Row(1).Radio->text(), "B");
    Click(f.btnHint);
    EXPECT_TRUE(test->HintForm->isVisible());
    EXPECT_EQ(test->HintForm->Hint->toPlainText(), "Think twice");
    Click(f.btnHint);
    EXPECT_FALSE(test->HintForm->isVisible());
    Click(f.btnReference);
    EXPECT_EQ(test->RefForm->Help->toPlainText(), "See page 3");
    Click(Row(1).Radio);
    Click(test->btnMark);
    EXPECT_EQ(test->btnMark->Tag, 0);
    // The report pop-up: two questions remain, nothing right so far, above the scroll box's bottom right.
    Click(test->btnTReport);
    ASSERT_TRUE(f.ReportPopup->isVisible());
    EXPECT_EQ(f.ReportPopup->Remaining->text(), "2");
    EXPECT_EQ(f.ReportPopup->correct->text(), "0");
    EXPECT_EQ(f.ReportPopup->Incorrect->text(), "4");
    EXPECT_EQ(f.ReportPopup->Percentage->text(), "0");
    EXPECT_EQ(f.ReportPopup->x(), f.x() + 9 + 621 - f.ReportPopup->width() - 2);
    EXPECT_EQ(f.ReportPopup->y(), 26 + f.y() - f.ReportPopup->height() + 378);
    Click(test->btnTReport);
    EXPECT_FALSE(f.ReportPopup->isVisible());
    Click(f.btnRight);
    EXPECT_TRUE(f.InfoForm->isVisible()) << "an open-book answer shows its feedback picture";
    f.InfoForm->hide();

    // 3, multiple choice with an exhibit written below the test's directory.
    EXPECT_EQ(Row(0).Check->text(), "A");
    EXPECT_TRUE(Row(0).Check->isVisible());
    EXPECT_TRUE(test->btnExhibit->isVisible());
    EXPECT_EQ(f.Testing->GraphicFilePath("ex.gif"), install.Path("db/SS101T/ex.gif"));
    EXPECT_TRUE(QFile::exists(install.Path("db/SS101T/ex.gif")));
    Click(test->btnExhibit);
    EXPECT_TRUE(f.ExibitForm->isVisible());
    EXPECT_FALSE(f.ExibitForm->GIFImage1->IsEmpty());
    Click(test->btnExhibit);
    Click(Row(0).Check);
    Click(Row(2).Check);
    Click(f.btnRight);

    // 4, simulation: the test control in its place, the steps behind their button; it reports wrong.
    EXPECT_EQ(f.QvTesting1->geometry(), QRect(10, 84, 619, 325));
    EXPECT_TRUE(f.QvTesting1->isVisible());
    EXPECT_EQ(f.QvTesting1->FileName(), install.Path("db/SS101T/sim.txt"));
    EXPECT_TRUE(f.btnSteps->isVisible());
    Click(f.btnSteps);
    EXPECT_TRUE(f.Steps->isVisible()) << "the steps button opens the steps window";
    Click(f.btnSteps);
    EXPECT_FALSE(f.Steps->isVisible());
    EXPECT_EQ(test->RowsInUse, 0);
    f.QvTesting1->OnIncorrect(f.QvTesting1, 0);
    ASSERT_EQ(f.CurrentScreen, ScreenItemReview) << "after the last question";
    EXPECT_EQ(f.QvTesting1->geometry(), QRect(1, 1, 1, 1));

    EXPECT_EQ(ReviewLines(), QStringList({"1:   Incomplete", "2:   B", "3:   AC", "4:   Demonstrate"}));
    EXPECT_GT(SignPixels(1, 15), 0) << "wrong answer";
    EXPECT_GT(SignPixels(3, 15), 0) << "wrong simulation";
    EXPECT_EQ(SignPixels(0, 15), 0) << "an incomplete line has no wrong-answer sign";
    EXPECT_EQ(SignPixels(2, 15), 0);
    EXPECT_GT(SignPixels(1, 1), 0) << "marked";
    EXPECT_EQ(SignPixels(0, 1) + SignPixels(2, 1) + SignPixels(3, 1), 0);

    // Review question 2 again and put it right.
    QTest::mouseClick(review->ItemReviewListBox->viewport(), Qt::LeftButton, {},
                      review->ItemReviewListBox->visualItemRect(review->ItemReviewListBox->item(1)).center());
    EXPECT_EQ(review->edtReviewItem->value(), 2);
    Click(review->btnReview);
    ASSERT_EQ(f.CurrentScreen, ScreenTest);
    EXPECT_EQ(f.lblQuestionNum->text(), "Question 2 of 4");
    EXPECT_TRUE(Row(1).IsTicked()) << "the earlier answer is ticked again";
    EXPECT_EQ(test->btnMark->Tag, 0);
    EXPECT_TRUE(test->btnItemReview->isVisible());
    Click(Row(2).Radio);
    EXPECT_FALSE(Row(1).IsTicked());
    Click(test->btnItemReview);
    f.InfoForm->hide();
    ASSERT_EQ(f.CurrentScreen, ScreenItemReview);
    EXPECT_EQ(ReviewLines()[1], "2:   C");

    // Review the incomplete one, then nothing is left to do there.
    Click(review->btnReviewIncomplete);
    ASSERT_EQ(f.CurrentScreen, ScreenTest);
    EXPECT_EQ(f.lblQuestionNum->text(), "Question 1 of 4");
    EXPECT_FALSE(f.btnLeft->isVisible()) << "no incomplete question before this one";
    Click(Row(1).Radio);
    Click(f.btnRight);
    f.InfoForm->hide();
    ASSERT_EQ(f.CurrentScreen, ScreenItemReview);
    EXPECT_EQ(ReviewLines()[0], "1:   False");
    Click(review->btnReviewIncomplete);
    EXPECT_EQ(f.CurrentScreen, ScreenItemReview) << "nothing incomplete: nothing happens";

    // Finish: 3 of 4, required 3 of 4 (80 percent rounded), so 750 against 750 passes.
    Click(review->btnRevEnd);
    ASSERT_EQ(f.CurrentScreen, ScreenExamAnalysis);
    EXPECT_EQ(analysis->Grade->text(), "GRADE: PASS");
    EXPECT_EQ(analysis->PassingScore->text(), "Passing Score: 750");
    EXPECT_EQ(analysis->YourScoreTotal->text(), "Your Score: 750");
    EXPECT_EQ(analysis->RequiredScoreBar->width(), 348); // 3.2 x 250 x 0.435
    EXPECT_EQ(analysis->YourScoreBar->width(), 326);     // 3 x 250 x 0.435, rounded
    EXPECT_EQ(analysis->Shapes[4]->x(), 134 + 218);      // 435 x 0.5, rounded to even
    EXPECT_TRUE(analysis->btnPrintStudyGuide->isVisible());
    EXPECT_FALSE(analysis->btnPrintCertificate->isVisible()) << "an open-book pass earns no certificate";
    EXPECT_TRUE(f.btnMain->isVisible());

    const QByteArray block = ExpectedBlock(Ids, true, -1,
                                           {{0, true, true, true, false, 1},
                                            {1, true, true, true, true, 3},
                                            {2, true, true, true, false, 5},
                                            {3, false, true, true, false, 1}});
    EXPECT_EQ(SessionsByDbfread(install.Path("db")), QStringList({SessionLine(1, 1, 4, 3, block)}));
    ASSERT_TRUE(f.Assignment->GoToAssignment(1, "SS101T"));
    EXPECT_EQ(f.Assignment->GetLastActive(), 1);
    EXPECT_EQ(f.Assignment->GetLastPost(), -1) << "open book leaves the post-test scores";

    // Leaving ends the attempt; the test button then offers a new one.
    Click(f.btnMain);
    EXPECT_EQ(f.CurrentScreen, ScreenMoviePage);
    EXPECT_FALSE(test->Run.TestRunning);
    TestField();
    EXPECT_EQ(f.CurrentScreen, ScreenTestType);
}

TEST_F(TestScreens, ClosedBookPassWritesPostScoresAndOffersTheCertificate) {
    TForm1& f = Start();
    struct {
        int right;
        const char* grade;
        bool certificate;
        int lastPost, bestPost;
    } attempts[] = {{4, "GRADE: PASS", true, 100, 100}, {1, "GRADE: FAIL", false, 25, 100}};
    for (const auto& a : attempts) {
        SCOPED_TRACE(a.right);
        TestField();
        type->chkRandom->setChecked(false);
        Click(type->btnClosedBook);
        ASSERT_EQ(f.CurrentScreen, ScreenTest);
        EXPECT_TRUE(test->lblTime->isVisible());
        EXPECT_FALSE(test->btnTReport->isVisible()) << "no help in closed book";
        EXPECT_FALSE(f.btnReference->isVisible());
        EXPECT_TRUE(test->Countdown.isActive());
        EXPECT_EQ(test->Run.TimeLimit, "0:8");
        test->CountdownTick();
        EXPECT_TRUE(test->lblTime->text().startsWith("00:0")) << test->lblTime->text().toStdString();
        for (int q = 0; q < 4; ++q) {
            const bool good = q < a.right;
            if (q == 0)
                Click(Row(good ? 1 : 0).Radio);
            else if (q == 1)
                Click(Row(good ? 2 : 0).Radio);
            else if (q == 2) {
                Click(Row(0).Check);
                Click(Row(good ? 2 : 1).Check);
            }
            if (q == 3) {
                EXPECT_FALSE(f.QvTesting1->InstructionsShown()) << "the simulation's steps are the answer";
                good ? f.QvTesting1->OnCorrect(f.QvTesting1) : f.QvTesting1->OnIncorrect(f.QvTesting1, 2);
            } else
                Click(f.btnRight);
            EXPECT_FALSE(f.InfoForm->isVisible()) << "no feedback in closed book";
        }
        ASSERT_EQ(f.CurrentScreen, ScreenItemReview);
        EXPECT_EQ(SignPixels(1, 15) + SignPixels(3, 15), 0) << "closed book shows no wrong-answer signs";
        Click(review->btnRevEnd);
        ASSERT_EQ(f.CurrentScreen, ScreenExamAnalysis);
        EXPECT_FALSE(test->Countdown.isActive());
        EXPECT_EQ(analysis->Grade->text(), a.grade);
        EXPECT_EQ(analysis->btnPrintCertificate->isVisible(), a.certificate);
        EXPECT_TRUE(f.QvTesting1->InstructionsShown()) << "the challenges coach again";
        ASSERT_TRUE(f.Assignment->GoToAssignment(1, "SS101T"));
        EXPECT_EQ(f.Assignment->GetLastPost(), a.lastPost);
        EXPECT_EQ(f.Assignment->GetBestPost(), a.bestPost) << "a lower later score keeps the best";
        if (a.certificate) {
            QString seen;
            OnNextModal([](QWidget*) {}, &seen);
            Click(analysis->btnPrintCertificate);
            EXPECT_EQ(seen, "QPrintPreviewDialog");
            EXPECT_EQ(analysis->Certificate().Name, "Ann Lee");
            // Everything right: no study material.
            install.Messages.Shown.clear();
            Click(analysis->btnPrintStudyGuide);
            EXPECT_EQ(install.Messages.Shown.size(), 1);
        } else {
            const TStudyMaterialData material = analysis->StudyMaterial();
            ASSERT_EQ(material.Entries.size(), 4u);
            EXPECT_EQ(material.TestTitle, "Spreadsheets Test");
            EXPECT_EQ(material.Entries[2].Choices.size(), 4);
            EXPECT_EQ(material.Entries[1].Answer, "3");
            EXPECT_TRUE(material.Entries[0].Correct);
            EXPECT_FALSE(material.Entries[3].Correct);
            QString seen;
            OnNextModal([](QWidget*) {}, &seen);
            Click(analysis->btnPrintStudyGuide);
            EXPECT_EQ(seen, "QPrintPreviewDialog");
        }
        Click(f.btnMain);
    }
}

TEST_F(TestScreens, TimeIsUpIsNoticedAndTheAttemptGoesOn) {
    TForm1& f = Start();
    TestField();
    Click(type->btnClosedBook);
    test->Run.TestStart = QDateTime::currentDateTime().addSecs(-(8 * 60 + 1));
    QString notice;
    OnNextModal([&notice](QWidget* w) {
        if (auto* window = qobject_cast<TNoticeWindow*>(w))
            notice = window->Text();
    });
    test->CountdownTick();
    EXPECT_EQ(notice, "Time is up!");
    EXPECT_FALSE(test->Countdown.isActive());
    EXPECT_EQ(f.CurrentScreen, ScreenTest);
    Click(f.btnRight);
    EXPECT_EQ(f.lblQuestionNum->text(), "Question 2 of 4");
}

TEST_F(TestScreens, RandomizeTakesTheOrderOfTheRandomSource) {
    for (bool randomize : {false, true}) {
        SCOPED_TRACE(randomize);
        TForm1& f = Start();
        test->Random = [](int bound) { return bound - 1; }; // always the last left: the reverse order
        TestField();
        type->chkRandom->setChecked(randomize);
        Click(type->btnOpenbook);
        EXPECT_EQ(f.Title->text(), randomize ? "Sim" : "TF");
        EXPECT_EQ(f.lblQuestionNum->text(), "Question 1 of 4");
        AnswerBookmark(false);
        Click(f.btnMain);
        install.Stop();
    }
}

// Continue later, a real shutdown and a new start: the attempt goes on at the
// same question with its answers and marks; Yes restarts the whole time limit;
// No on the continue screen starts afresh.
TEST_F(TestScreens, ContinueLaterSurvivesShutdown) {
    {
        TForm1& f = Start();
        TestField();
        Click(type->btnClosedBook);
        Click(Row(0).Radio); // True: wrong
        Click(f.btnRight);
        Click(test->btnMark);
        Click(Row(2).Radio); // C: right, on show when the learner leaves
        AnswerBookmark(true);
        Click(f.btnMain);
        EXPECT_EQ(f.CurrentScreen, ScreenMoviePage);
        EXPECT_FALSE(test->Countdown.isActive());

        // The test button asks whether to continue; Yes restarts the countdown with the whole limit.
        TestField();
        ASSERT_EQ(f.CurrentScreen, ScreenBookmark);
        test->Run.TestStart = QDateTime::currentDateTime().addSecs(-300);
        Click(f.Module<TBookmarkScreen>()->btnYes);
        ASSERT_EQ(f.CurrentScreen, ScreenTest);
        EXPECT_LT(test->Run.TestStart.secsTo(QDateTime::currentDateTime()), 5);
        EXPECT_TRUE(test->Countdown.isActive());
        EXPECT_EQ(f.lblQuestionNum->text(), "Question 2 of 4");
        AnswerBookmark(true);
        Click(f.btnMain);
        install.Stop();
    }
    const QStringList rows = SessionsByDbfread(install.Path("db"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0], SessionLine(1, 2, 4, 1,
                                   ExpectedBlock(Ids, false, 1,
                                                 {{0, false, true, true, false, 0},
                                                  {1, true, true, true, true, 3},
                                                  {2, false, false, false, false, 0},
                                                  {3, false, false, false, false, 0}})));
    {
        TForm1& f = Start();
        TestField();
        ASSERT_EQ(f.CurrentScreen, ScreenTest) << "resumed";
        EXPECT_TRUE(test->Run.ClosedBook);
        EXPECT_EQ(f.lblQuestionNum->text(), "Question 2 of 4");
        EXPECT_EQ(test->btnMark->Tag, 0) << "still marked";
        EXPECT_TRUE(Row(2).IsTicked()) << "the answer on show when the learner left is back";
        Click(f.btnLeft);
        EXPECT_TRUE(Row(0).IsTicked()) << "the answer of question 1 is back";
        EXPECT_TRUE(test->Countdown.isActive());
        const int resumedSession = test->Run.SessionId;
        // Continue later once more, then No on the continue screen: a new attempt.
        AnswerBookmark(true);
        Click(f.btnMain);
        TestField();
        ASSERT_EQ(f.CurrentScreen, ScreenBookmark);
        Click(f.Module<TBookmarkScreen>()->btnNo);
        ASSERT_EQ(f.CurrentScreen, ScreenTestType);
        Click(type->btnOpenbook);
        EXPECT_EQ(f.lblQuestionNum->text(), "Question 1 of 4");
        EXPECT_EQ(test->RowsInUse, 2);
        EXPECT_FALSE(Row(0).IsTicked()) << "a new attempt starts with no answers";
        EXPECT_NE(test->Run.SessionId, resumedSession);
        ASSERT_TRUE(f.Assignment->GoToAssignment(1, "SS101T"));
        EXPECT_EQ(f.Assignment->GetLastActive(), test->Run.SessionId);
    }
}

// Closing the player during an attempt nobody chose to continue later saves it as ended.
TEST_F(TestScreens, ShutdownSavesTheRunningAttemptAsEnded) {
    {
        TForm1& f = Start();
        TestField();
        Click(type->btnOpenbook);
        Click(Row(1).Radio); // False: right
        Click(f.btnRight);
        Click(Row(2).Radio); // C: right, on show when the player closes
        install.Stop();
    }
    EXPECT_EQ(SessionsByDbfread(install.Path("db")),
              QStringList({SessionLine(1, 1, 4, 2,
                                       ExpectedBlock(Ids, true, -1,
                                                     {{0, true, true, true, false, 1},
                                                      {1, true, true, true, false, 3},
                                                      {2, false, false, false, false, 0},
                                                      {3, false, false, false, false, 0}}))}));
    TForm1& f = Start();
    TestField();
    EXPECT_EQ(f.CurrentScreen, ScreenTestType) << "an ended attempt is not resumed";
}

// The child half of the killed-player case: started by the parent below in
// the parent's installation, it leaves an attempt to be continued and waits
// to be killed.
TEST(TestScreensChild, LeaveAttemptAndWait) {
    if (qEnvironmentVariableIsEmpty("ALTAVO_TESTSCREENS_CHILD"))
        GTEST_SKIP() << "run by KilledPlayerLosesNothingSaved";
    TFakeDisplay display;
    TForm1 f(display);
    ASSERT_TRUE(StartProgram(f));
    OpenCourse(f);
    f.Module<TMoviePageScreen>()->TestField->click();
    f.Module<TTestTypeScreen>()->btnOpenbook->click();
    auto* test = f.Module<TTestScreen>();
    test->AnswerRows[1]->Radio->click(); // False: right
    f.btnRight->click();
    test->btnMark->click();
    AnswerBookmark(true);
    f.btnMain->click();
    ASSERT_EQ(f.CurrentScreen, ScreenMoviePage);
    std::puts("READY");
    std::fflush(stdout);
    for (;;)
        QTest::qWait(1000);
}

TEST_F(TestScreens, KilledPlayerLosesNothingSaved) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ALTAVO_TESTSCREENS_CHILD", "1");
    env.insert("ALTAVO_REGISTRY", install.RegistryFile());
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=TestScreensChild.*"});
    ASSERT_TRUE(child.waitForStarted());
    QByteArray out;
    while (!out.contains("READY") && child.waitForReadyRead(60000))
        out += child.readAllStandardOutput();
    ASSERT_TRUE(out.contains("READY")) << out.toStdString() << child.readAllStandardError().toStdString();
    ::kill(pid_t(child.processId()), SIGKILL);
    child.waitForFinished();

    const QByteArray saved = ExpectedBlock(Ids, false, 1,
                                           {{0, true, true, true, false, 1},
                                            {1, false, true, false, true, 0}, // seen, not answered
                                            {2, false, false, false, false, 0},
                                            {3, false, false, false, false, 0}});
    EXPECT_EQ(SessionsByDbfread(install.Path("db")), QStringList({SessionLine(1, 1, 4, 1, saved)}));
    TForm1& f = Start();
    ASSERT_TRUE(f.Assignment->GoToAssignment(1, "SS101T"));
    EXPECT_EQ(f.Assignment->GetLastActive(), 1);
    TestField();
    ASSERT_EQ(f.CurrentScreen, ScreenTest) << "resumed after the kill";
    EXPECT_EQ(f.lblQuestionNum->text(), "Question 2 of 4");
    EXPECT_EQ(test->btnMark->Tag, 0);
    EXPECT_EQ(test->Run.QuestionList[0].Given, 1);
}

} // namespace
