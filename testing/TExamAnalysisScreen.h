#pragma once
// The exam analysis (10): ends the attempt and saves it, then shows the score
// on the 0 to 1000 scale against the passing score with two bars, the grade,
// the study guide button and, after a passed closed-book attempt, the
// certificate button.
#include <array>

#include "shell/TScreenModule.h"

class QFrame;
class QLabel;
class TSkinButton;
class TTestScreen;
struct TCertificateData;
struct TStudyMaterialData;

class TExamAnalysisScreen : public TScreenModule {
    Q_OBJECT
public:
    TExamAnalysisScreen(TForm1& form, TTestScreen& test);

    QFrame* ScoreBorder;
    QLabel* RequiredScore;
    QLabel* YourScore;
    QFrame* BarBorder;
    std::array<QFrame*, 9> Shapes; // Shape1 .. Shape9
    QLabel* NoWay;
    QLabel* HalfWay;
    QLabel* AllWay;
    QFrame* RequiredScoreBar;
    QFrame* YourScoreBar;
    QLabel* PassingScore;
    QLabel* YourScoreTotal;
    QLabel* Grade;
    TSkinButton* btnPrintStudyGuide;
    TSkinButton* btnPrintCertificate;

    void Enter() override;
    void Leave() override;
    void btnPrintStudyGuideClick();
    void btnPrintCertificateClick();

    // What the two reports print of the attempt just ended.
    TStudyMaterialData StudyMaterial() const;
    TCertificateData Certificate() const;

private:
    QString Candidate() const;
    TTestScreen& m_test;
};
