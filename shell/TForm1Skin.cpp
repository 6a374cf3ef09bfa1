// What the skin dresses of the main window itself: the movie-button control,
// the feedback pictures, the background of the screen on show, the buttons of
// the screens whose modules are still to come and the window buttons, the clip
// frame, the window's colour, the layout values and the coordinate lists.
#include "shell/TForm1.h"
#include "shell/TScreenModule.h"
#include "skin/uLoadSkins.h"
#include "widgets/TGifImage.h"
#include "widgets/TMovieButtonX.h"
#include "widgets/TSkinButton.h"

namespace {
constexpr int MainFormColour = 40063587; // red 99, green 82, blue 99, nearest palette colour
} // namespace

TSkinEntries TForm1::OwnSkinEntries() {
    using S = TSkinStep;
    TSkinEntries e;
    // The feedback pictures are kept in memory so that showing one reads no file.
    e.push_back({S::FeedbackPictures, [this](const TSkinScheme& s) {
                     CorrectImage = std::make_unique<QByteArray>();
                     CorrectImage = s.WholeFile("Test Screen", "Correct");
                     IncorrectImage = std::make_unique<QByteArray>();
                     IncorrectImage = s.WholeFile("Test Screen", "Incorrect");
                 }});
    // The screen on show gets its new background at once; a screen that keeps
    // its background until its next showing (the administrator's) does not.
    e.push_back({S::CurrentBackground, [this](const TSkinScheme& s) {
                     if (TScreenModule* module = ScreenModule(CurrentScreen);
                         module && module->BackgroundFollowsSkin())
                         Background->SetFileName(s.Path(module->BackgroundName()));
                 }});
    const struct {
        TSkinButton* button;
        const char* section;
        const char* key;
    } faces[] = {
        {btnLeft, "Test Screen", "btnLeft"},    {btnRight, "Test Screen", "btnRight"},
        {btnHint, "Test Screen", "btnHint"},    {btnReference, "Test Screen", "btnRef"},
        {btnMain, "Test Screen", "btnMain"},    {ChallengeField, "Movie Page Screen", "btnChallenge"},
        {AboutField, "Misc", "btnHelp"},        {MinimizeField, "Misc", "btnMinimize"},
        {Exitfield, "Misc", "btnClose"},        {btnHelp2, "Misc", "btnHelp2"},
        {btnMinimize2, "Misc", "btnMinimize2"}, {btnClose2, "Misc", "btnClose2"},
    };
    for (const auto& face : faces)
        e.push_back(FaceEntry(face.button, face.section, face.key));
    e.push_back({S::MovieFrame, [this](const TSkinScheme& s) {
                     if (StreamChoice == 0 || StreamChoice == 1)
                         s.Picture(MovieFrame, "Genesis Screen", "Framesm");
                     else if (StreamChoice == 2 || StreamChoice == 3)
                         s.Picture(MovieFrame, "Genesis Screen", "Framelg");
                 }});
    e.push_back({S::MainWindowColour, [this](const TSkinScheme& s) {
                     QPalette window = palette();
                     window.setColor(QPalette::Window, s.Colour("Misc", "Main Form Color", MainFormColour));
                     setPalette(window);
                     setAutoFillBackground(true);
                 }});
    e.push_back({S::LayoutValues, [this](const TSkinScheme& s) { ReadLayoutValues(s); }});
    e.push_back({S::Coordinates, [this](const TSkinScheme& s) {
                     ExitRect = s.Coordinates("Movie Page Screen", "Exit Cords", QStringLiteral("570,450,45,25"));
                 }});
    return e;
}

// The clip and frame positions of the small (stream choices 0 and 1) or large
// (2 and 3) clip size; other choices keep them. The full-motion place always.
void TForm1::ReadLayoutValues(const TSkinScheme& s) {
    const char* size = nullptr;
    if (StreamChoice == 0 || StreamChoice == 1)
        size = "Small";
    else if (StreamChoice == 2 || StreamChoice == 3)
        size = "Large";
    if (size) {
        const bool small = size[0] == 'S';
        auto value = [&](const char* name, int smallDefault, int largeDefault) {
            const QByteArray key = QByteArray(size) + ' ' + name;
            return s.Integer("Misc", key.constData(), small ? smallDefault : largeDefault);
        };
        GenesisFrameLeft = value("Genesis Frame Left", 333, 242);
        GenesisFrameTop = value("Genesis Frame Top", 196, 160);
        GenesisMovieLeft = value("Genesis Movie Left", 339, 250);
        GenesisMovieTop = value("Genesis Movie Top", 206, 171);
        MovieFrameLeft = value("Movie Frame Left", 220, 140);
        MovieFrameTop = value("Movie Frame Top", 130, 42);
        MovieLeft = value("Movie Left", 228, 147);
        MovieTop = value("Movie Top", 140, 53);
    }
    MotionMovieLeft = s.Integer("Misc", "Motion Movie Left", 11);
    MotionMovieTop = s.Integer("Misc", "Motion Movie Top", 12);
}
