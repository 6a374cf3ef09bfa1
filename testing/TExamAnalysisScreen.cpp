#include "testing/TExamAnalysisScreen.h"

#include <QFrame>
#include <QLabel>
#include <cmath>

#include "data/TTesting.h"
#include "data/TUser.h"
#include "platform/TMessages.h"
#include "reports/TCertificate.h"
#include "reports/TReportPreview.h"
#include "reports/TStudyMaterial.h"
#include "reports/TStudyMaterialSource.h"
#include "shell/ControlLayout.h"
#include "shell/TForm1.h"
#include "testing/TTestScreen.h"
#include "widgets/TSkinButton.h"

namespace {
constexpr int T = 150; // the score frame's top; the tops below are relative to it
constexpr int BarLeft = 134;
constexpr int BarWidth = 435; // W
constexpr int BarHeight = 18;

QLabel* Caption(QWidget* parent, const QString& text = QString()) {
    auto* label = new QLabel(text, parent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(14);
    font.setBold(true);
    label->setFont(font);
    return label;
}

QFrame* Bar(QWidget* parent, QColor colour) {
    auto* bar = new QFrame(parent);
    bar->setAutoFillBackground(true);
    QPalette palette = bar->palette();
    palette.setColor(QPalette::Window, colour);
    bar->setPalette(palette);
    return bar;
}

// Centred on x: left := x - width div 2.
void CentreOn(QLabel* label, int x, int top) {
    label->adjustSize();
    label->move(x - label->width() / 2, top);
}
} // namespace

TExamAnalysisScreen::TExamAnalysisScreen(TForm1& form, TTestScreen& test)
    : TScreenModule(form, ScreenExamAnalysis, {"Exam Analysis Screen", "background", "Reportbkg.gif"}),
      m_test(test) {
    namespace L = ControlLayout;
    ScoreBorder = Own(new QFrame(&f), "ScoreBorder");
    ScoreBorder->setFrameShape(QFrame::Box);
    ScoreBorder->setGeometry(L::ScoreBorder);
    RequiredScore = Own(Caption(&f, QStringLiteral("Required Score:")), "RequiredScore");
    YourScore = Own(Caption(&f, QStringLiteral("Your Score:")), "YourScore");
    // The two captions fit the 84 pixels left of the bars.
    for (QLabel* caption : {RequiredScore, YourScore}) {
        QFont font = caption->font();
        font.setPixelSize(12);
        caption->setFont(font);
    }
    BarBorder = Own(new QFrame(&f), "BarBorder");
    BarBorder->setFrameShape(QFrame::Box);
    BarBorder->setGeometry(BarLeft, T + 8, BarWidth, 52);
    for (int k = 0; k < 9; ++k) {
        const QByteArray name = "Shape" + QByteArray::number(k + 1);
        Shapes[size_t(k)] = Own(Bar(&f, QColor(200, 200, 200)), name.constData());
    }
    NoWay = Own(Caption(&f, QStringLiteral("0")), "NoWay");
    HalfWay = Own(Caption(&f, QStringLiteral("500")), "HalfWay");
    AllWay = Own(Caption(&f, QStringLiteral("1000")), "AllWay");
    RequiredScoreBar = Own(Bar(&f, QColor(123, 198, 206)), "RequiredScoreBar");
    YourScoreBar = Own(Bar(&f, QColor(148, 140, 181)), "YourScoreBar");
    PassingScore = Own(Caption(&f), "PassingScore");
    YourScoreTotal = Own(Caption(&f), "YourScoreTotal");
    Grade = Own(Caption(&f), "Grade");
    btnPrintStudyGuide = Own(new TSkinButton(&f), "btnPrintStudyGuide");
    btnPrintStudyGuide->setGeometry(L::StudyGuideButton);
    btnPrintCertificate = Own(new TSkinButton(&f), "btnPrintCertificate");
    btnPrintCertificate->setGeometry(L::CertificateButton);
    AddSkin(FaceEntry(btnPrintStudyGuide, "Exam Analysis Screen", "btnPSG"));
    AddSkin(FaceEntry(btnPrintCertificate, "Exam Analysis Screen", "btnCert"));
    connect(btnPrintStudyGuide, &QAbstractButton::clicked, this,
            &TExamAnalysisScreen::btnPrintStudyGuideClick);
    connect(btnPrintCertificate, &QAbstractButton::clicked, this,
            &TExamAnalysisScreen::btnPrintCertificateClick);
}

void TExamAnalysisScreen::Enter() {
    TTestRun& run = m_test.Run;
    m_test.Countdown.stop();
    btnPrintStudyGuide->show();
    run.EndAttempt();
    m_test.SaveAttempt(true);
    const TTestScore score = run.Score();

    ScoreBorder->move(40, T);
    ScoreBorder->show();
    RequiredScore->adjustSize();
    RequiredScore->move(50, T + 11);
    YourScore->adjustSize();
    YourScore->move(50, T + 39);
    BarBorder->move(BarLeft, T + 8);
    const int w = BarBorder->width();
    for (int k = 1; k <= 9; ++k) {
        QFrame* tick = Shapes[size_t(k - 1)];
        tick->setGeometry(BarLeft + int(std::lround(w * 0.1 * k)), T + 8, 1, BarBorder->height());
        tick->show();
    }
    CentreOn(NoWay, BarLeft, T + 60);
    CentreOn(HalfWay, BarLeft + w / 2, T + 60);
    CentreOn(AllWay, BarLeft + w, T + 60);
    RequiredScoreBar->setGeometry(BarLeft, T + 15, score.RequiredBarWidth(w), BarHeight);
    YourScoreBar->setGeometry(BarLeft, T + 41, score.YourBarWidth(w), BarHeight);
    PassingScore->setText(score.PassingScoreText());
    PassingScore->adjustSize();
    PassingScore->move(174, T + 83);
    YourScoreTotal->setText(score.YourScoreText());
    YourScoreTotal->adjustSize();
    YourScoreTotal->move(290, T + 83);
    Grade->setText(score.GradeText());
    Grade->adjustSize();
    Grade->move(418, T + 83);
    // The frame first, so the bars and ticks stand on it.
    for (QWidget* shown : std::initializer_list<QWidget*>{BarBorder, RequiredScore, YourScore, NoWay, HalfWay,
                                                          AllWay, RequiredScoreBar, YourScoreBar,
                                                          PassingScore, YourScoreTotal, Grade}) {
        shown->show();
        shown->raise();
    }
    for (QFrame* tick : Shapes)
        tick->raise();
    btnPrintCertificate->setVisible(run.ClosedBook && score.Passed());
    f.btnMain->setGeometry(ControlLayout::AnalysisMainButton);
    f.btnMain->show();
}

void TExamAnalysisScreen::Leave() {
    f.btnMain->hide();
    m_test.Run.LeaveExamAnalysis();
}

QString TExamAnalysisScreen::Candidate() const {
    UserInfoStruct user;
    user.ID = f.CurrentUserId;
    if (!f.User->GetUser(user))
        return QString();
    return user.FirstName + " " + user.LastName;
}

TStudyMaterialData TExamAnalysisScreen::StudyMaterial() const {
    TStudyMaterialData data;
    data.Candidate = Candidate();
    data.TestTitle = f.Testing->GetTestTitle();
    for (const QuestionAnswer& entry : m_test.Run.QuestionList) {
        if (f.Testing->GoToTestQuestionId(entry.QuestionId) != 0)
            continue; // no longer in the test
        data.Entries.push_back(CurrentStudyEntry(*f.Testing, entry.Correct));
    }
    return data;
}

TCertificateData TExamAnalysisScreen::Certificate() const {
    return {Candidate(), f.Testing->GetTestTitle()};
}

void TExamAnalysisScreen::btnPrintStudyGuideClick() {
    if (!PreviewStudyMaterial(&f, StudyMaterial()))
        Messages().ShowMessage(
            QStringLiteral("Every question was answered correctly: there is no study material to print."));
}

void TExamAnalysisScreen::btnPrintCertificateClick() {
    PreviewCertificate(&f, Certificate());
}
