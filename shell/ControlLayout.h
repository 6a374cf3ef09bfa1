// Where the windows keep their controls, in client pixels. The main window's
// places are those of its screens; the secondary windows' places are their
// designed ones (kept in step with the window classes in lesson/, testing/ and
// skin/). Skins draw their pictures around these places; the demo skin tool
// reads them from here.
#pragma once

#include <QRect>
#include <QSize>

namespace ControlLayout {

inline constexpr QSize Window{640, 480};
inline constexpr int TitleBarHeight = 20;

// Title-bar buttons (two sets; the small one stands in on the movie page).
inline constexpr QSize TitleButton{17, 15};
inline constexpr QSize SmallTitleButton{12, 11};

// Sign-in (4).
inline constexpr QRect UserNameBox{250, 206, 200, 24};
inline constexpr QRect PasswordBox{250, 244, 200, 24};
inline constexpr QRect LoginButton{214, 300, 100, 32};
inline constexpr QRect AddUserButton{326, 300, 100, 32};

// Registration (13): the five boxes stand 31 pixels apart from (204,245).
inline constexpr QRect FirstRegistrationBox{204, 245, 180, 24};
inline constexpr int RegistrationBoxStep = 31;
inline constexpr QRect AddUserList{398, 244, 224, 152};
inline constexpr QRect RegEnterButton{204, 420, 100, 32};
inline constexpr QRect AddButton{204, 420, 100, 32};
inline constexpr QRect CancelButton{314, 420, 100, 32};
inline constexpr QRect AdminButton{522, 420, 100, 32};

// Course selection (5).
inline constexpr QRect CourseList{141, 200, 405, 176};
inline constexpr QRect SelectCourseButton{282, 417, 76, 32};

// Genesis (12).
inline constexpr QRect GenesisContinueButton{50, 380, 120, 32};

// Movie page (2).
inline constexpr QSize ClipPanel{320, 240};
inline constexpr QSize Frame{336, 262};
inline constexpr QRect PageNameLabel{18, 24, 604, 22};
inline constexpr QSize ClipButton{52, 26};
inline constexpr QSize FieldButton{108, 26};
// Field buttons, in the order Directory, Test, Challenge, Glossary, Interact.
inline constexpr QRect FieldButtons[5] = {
    {404, 380, 108, 26}, {518, 380, 108, 26}, {404, 412, 108, 26}, {518, 412, 108, 26}, {404, 444, 108, 26}};
inline constexpr QSize PagePointer{14, 14};

// Test (7) and challenge (3): the question area, then one row of buttons.
inline constexpr QRect TestArea{9, 26, 621, 381};
inline constexpr QSize TestButton{68, 26};
inline constexpr int TestButtonTop = 418;
// btnLeft, btnRight, btnItemReview, btnExhibit, btnHint, btnReference, btnTReport, mark, btnMain
inline constexpr int TestButtonLefts[9] = {10, 80, 150, 220, 290, 360, 430, 500, 570};
inline constexpr QRect QuestionNumberLabel{12, 452, 200, 20};
// The steps button, at the right of the question box.
inline constexpr QRect MainStepsButton{578, 29, 51, 51};

// Test type selection (8).
inline constexpr QRect OpenBookButton{70, 190, 200, 36};
inline constexpr QRect ClosedBookButton{70, 246, 200, 36};
inline constexpr QRect RandomBox{76, 306, 180, 22};
inline constexpr QRect TestTypeExplanation{334, 161, 249, 250};

// Item review (9).
inline constexpr QRect ReviewList{62, 134, 518, 265};
inline constexpr QRect ReviewItemBox{62, 414, 60, 26};
inline constexpr QRect ReviewButton{130, 412, 110, 30};
inline constexpr QRect ReviewIncompleteButton{250, 412, 110, 30};
inline constexpr QRect ReviewEndButton{470, 412, 110, 30};

// Exam analysis (10).
inline constexpr QRect ScoreBorder{40, 150, 560, 110};
inline constexpr QRect StudyGuideButton{120, 300, 120, 32};
inline constexpr QRect CertificateButton{260, 300, 120, 32};
inline constexpr QRect AnalysisMainButton{400, 300, 120, 32};

// Bookmark question (11): faces shared with the bookmark-test window.
inline constexpr QRect BookmarkYesButton{176, 280, 132, 35};
inline constexpr QRect BookmarkNoButton{332, 280, 132, 35};

// Administrator (15).
inline constexpr QRect AdminList{48, 148, 547, 248};
inline constexpr QRect AdminPrintButton{372, 412, 106, 32};
inline constexpr QRect AdminDoneButton{489, 412, 106, 32};

// Secondary windows.
inline constexpr QSize MessageWindow{326, 166};
inline constexpr QSize ExitWindow{326, 165};
inline constexpr QRect MessageCloseButton{156, 105, 152, 39};
inline constexpr QRect NoticeText{16, 12, 294, 88};
inline constexpr QRect PairLeftButton{18, 106, 132, 35};
inline constexpr QRect PairRightButton{171, 106, 132, 35};
inline constexpr QSize MoviesDoneWindow{326, 249};
inline constexpr QRect MoviesDoneChallenges{26, 78, 60, 62};
inline constexpr QRect MoviesDoneTest{26, 159, 60, 62};
inline constexpr QSize ChallengeIncorrectWindow{325, 165};
inline constexpr QSize BufferingWindow{320, 260};
inline constexpr QRect BufferingSpin{14, 12, 48, 48};
inline constexpr QRect BufferingPercent{150, 120, 70, 28};
inline constexpr QRect BufferingDone{222, 120, 80, 28};
inline constexpr QRect BufferingProgress{20, 160, 280, 16};
inline constexpr QRect BufferingBanner{22, 218, 273, 16};
inline constexpr QSize PleaseWaitWindow{320, 200};
inline constexpr QSize Spin{48, 48};
inline constexpr QSize AboutWindow{326, 166};
inline constexpr QSize AboutSkinWindow{320, 200};
inline constexpr QRect AboutSkinLink{40, 160, 240, 20};
inline constexpr QSize InitDialog{306, 209};
inline constexpr QSize StreamWindow{200, 200};
inline constexpr QRect StreamTitle{10, 10, 180, 36};
inline constexpr QRect StreamChoices[4] = {
    {22, 64, 72, 44}, {106, 64, 72, 44}, {22, 128, 72, 44}, {106, 128, 72, 44}};
inline constexpr QSize ReportPopupWindow{200, 196};
inline constexpr QRect ReportReturnButton{24, 156, 152, 30};
inline constexpr QSize GlossaryCloseButton{152, 39};
inline constexpr QSize StepsButton{51, 51};
inline constexpr QSize StepsCloseButton{80, 24};
inline constexpr QSize FeedbackPicture{240, 120};

} // namespace ControlLayout
