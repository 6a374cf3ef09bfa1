// The main window's own controls: the background, the clip panel and its
// frame, the window buttons, and the controls of the screens whose modules are
// still to come. They exist for the whole run and start hidden.
#include <QLabel>
#include <QMenu>
#include <QScrollArea>

#include "platform/media/TMoviePanel.h"
#include "shell/ControlLayout.h"
#include "shell/TForm1.h"
#include "widgets/TGifImage.h"
#include "widgets/TLabelEffect.h"
#include "widgets/TMovieButtonX.h"
#include "widgets/TQvTesting.h"
#include "widgets/TSkinButton.h"

namespace {
template <typename T> T* Hidden(T* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    control->hide();
    return control;
}

} // namespace

void TForm1::CreateControls() {
    Background = new TGifImage(this);
    Background->setObjectName(QStringLiteral("Background"));
    Background->setGeometry(0, 0, 640, 480);
    Background->SetStretch(true);
    Background->show();

    MovieFrame = Hidden(new TGifImage(this), "MovieFrame");
    MovieFrame->SetAutoSize(true);
    // The clip players paint into it.
    MoviePanel = Hidden(new TMoviePanel(this), "MoviePanel");
    MoviePanel->setAutoFillBackground(true);
    MoviePanel->setPalette(QPalette(Qt::black));

    QvTesting1 = Hidden(new TQvTesting(this), "QvTesting1");
    QvTesting1->setGeometry(1, 1, 1, 1);
    TestScrollBox = Hidden(new QScrollArea(this), "TestScrollBox");
    TestScrollBox->setFrameShape(QFrame::NoFrame);
    TestScrollBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* questionArea = new QWidget;
    questionArea->setAutoFillBackground(false);
    TestScrollBox->setWidget(questionArea);
    TestScrollBox->viewport()->setAutoFillBackground(false);
    Title = new QLabel(questionArea);
    Title->setObjectName(QStringLiteral("Title"));
    Question = new QLabel(questionArea);
    Question->setObjectName(QStringLiteral("Question"));
    for (QLabel* label : {Title, Question}) {
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText);
        label->setFixedWidth(535);
    }
    QFont titleFont = Title->font();
    titleFont.setBold(true);
    Title->setFont(titleFont);
    lblQuestionNum = Hidden(new QLabel(this), "lblQuestionNum");

    struct ButtonSlot {
        TSkinButton** button;
        const char* name;
    };
    const ButtonSlot buttons[] = {
        {&btnLeft, "btnLeft"},
        {&btnRight, "btnRight"},
        {&btnHint, "btnHint"},
        {&btnReference, "btnReference"},
        {&btnMain, "btnMain"},
        {&AboutField, "AboutField"},
        {&MinimizeField, "MinimizeField"},
        {&Exitfield, "Exitfield"},
        {&btnHelp2, "btnHelp2"},
        {&btnMinimize2, "btnMinimize2"},
        {&btnClose2, "btnClose2"},
        {&ChallengeField, "ChallengeField"},
        {&btnSteps, "btnSteps"},
    };
    for (const ButtonSlot& slot : buttons)
        *slot.button = Hidden(new TSkinButton(this), slot.name);

    // The first set of window buttons is always there, at the top right.
    AboutField->setGeometry(580, 2, 17, 15);
    MinimizeField->setGeometry(600, 2, 17, 15);
    Exitfield->setGeometry(619, 2, 17, 15);
    btnHelp2->setGeometry(600, 0, 12, 11);
    btnMinimize2->setGeometry(613, 0, 12, 11);
    btnClose2->setGeometry(626, 0, 12, 11);
    for (TSkinButton* b : {AboutField, MinimizeField, Exitfield})
        b->show();

    // Where the screens keep their controls; the skins draw their pictures
    // around these places.
    namespace L = ControlLayout;
    // The test screen's buttons shared with the challenge screen, in their slots of the row.
    const std::pair<TSkinButton*, int> testButtons[] = {
        {btnLeft, 0}, {btnRight, 1}, {btnHint, 4}, {btnReference, 5}, {btnMain, 8}};
    for (const auto& [button, slot] : testButtons)
        button->setGeometry(L::TestButtonLefts[slot], L::TestButtonTop, L::TestButton.width(),
                            L::TestButton.height());
    btnSteps->setGeometry(L::MainStepsButton);
    ChallengeField->setGeometry(L::FieldButtons[2]);
    lblQuestionNum->setGeometry(L::QuestionNumberLabel);

    AboutPopup = new QMenu(this);
    AboutPopup->setObjectName(QStringLiteral("AboutPopup"));
}

// Start-up step that readies controls of later screens.
void TForm1::PrepareControls() {
    CourseOpen = false;
    ClipOpen = false;
    CurrentScreen = ScreenNone;
}
