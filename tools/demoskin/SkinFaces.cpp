#include "SkinFaces.h"

#include "SkinArt.h"
#include "SkinBuilder.h"
#include "shell/ControlLayout.h"

using namespace SkinArt;
namespace L = ControlLayout;

namespace {

void Caption(TSkinBuilder& s, const char* section, const char* key, const char* file, QSize size,
             const char* caption, bool strong = true) {
    s.Face(section, key, file, ButtonFace(s.Theme(), size, caption, strong));
}

void Symbolic(TSkinBuilder& s, const char* section, const char* key, const char* file, QSize size,
              Symbol symbol) {
    s.Face(section, key, file, SymbolFace(s.Theme(), size, symbol));
}

QImage StepsFace(const TSkinTheme& t) {
    // A square face with a numbered-list symbol over its caption.
    QImage face = ButtonFace(t, L::StepsButton, QString());
    QPainter p(&face);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(t.buttonText, 2));
    for (int i = 0; i < 3; ++i) {
        p.drawEllipse(QPointF(14, 10 + i * 8), 1.5, 1.5);
        p.drawLine(QPointF(19, 10 + i * 8), QPointF(37, 10 + i * 8));
    }
    p.setFont(SansFont(t, 12, true));
    p.drawText(QRect(0, 32, L::StepsButton.width(), 16), Qt::AlignCenter, "Steps");
    return face;
}

} // namespace

void DrawButtonFaces(TSkinBuilder& s) {
    const QSize signIn = L::LoginButton.size();
    Caption(s, "User Registration Screen", "btnLogin", "signin.bmp", signIn, "Sign In");
    Caption(s, "User Registration Screen", "btnAddUser", "newuser.bmp", signIn, "New User", false);
    Caption(s, "Registration Screen", "btnEnter", "create.bmp", L::RegEnterButton.size(), "Create");
    Caption(s, "Registration Screen", "btnAdd", "add.bmp", L::AddButton.size(), "Add");
    Caption(s, "Registration Screen", "btnCancel", "back.bmp", L::CancelButton.size(), "Back", false);
    // Our own key: the administrator button of the add-user form.
    Caption(s, "Registration Screen", "btnAdmin", "admin.bmp", L::AdminButton.size(), "Records", false);
    Caption(s, "Course Selection Screen", "btnSelectCourse", "start.bmp", L::SelectCourseButton.size(),
            "Start");
    Caption(s, "Genesis Screen", "btnContinue", "continue.bmp", L::GenesisContinueButton.size(), "Continue");
    Symbolic(s, "Movie Page Screen", "btnPlay", "play.bmp", L::ClipButton, Symbol::Play);
    Symbolic(s, "Movie Page Screen", "btnPause", "pause.bmp", L::ClipButton, Symbol::Pause);
    Symbolic(s, "Movie Page Screen", "btnStop", "stop.bmp", L::ClipButton, Symbol::Stop);
    Caption(s, "Test Type Selection Screen", "btnPre", "openbook.bmp", L::OpenBookButton.size(), "Open Book");
    Caption(s, "Test Type Selection Screen", "btnPost", "closedbook.bmp", L::ClosedBookButton.size(),
            "Closed Book");
    Caption(s, "Test Screen", "btnLeft", "previous.bmp", L::TestButton, "Previous", false);
    Caption(s, "Test Screen", "btnRight", "next.bmp", L::TestButton, "Next");
    Caption(s, "Test Screen", "btnItem", "review.bmp", L::TestButton, "Review", false);
    Caption(s, "Test Screen", "btnExhibit", "exhibit.bmp", L::TestButton, "Exhibit", false);
    Caption(s, "Test Screen", "btnHint", "hint.bmp", L::TestButton, "Hint", false);
    Caption(s, "Test Screen", "btnRef", "reference.bmp", L::TestButton, "Reference", false);
    Caption(s, "Test Screen", "btnReport", "progress.bmp", L::TestButton, "Progress", false);
    Caption(s, "Test Screen", "btnMain", "main.bmp", L::TestButton, "Lessons", false);
    Caption(s, "Test Screen", "btnMClosed", "markclosed.bmp", L::TestButton, "Mark", false);
    Caption(s, "Test Screen", "btnMOpen", "markopen.bmp", L::TestButton, "Mark");
    Caption(s, "Item Review Screen", "btnIncomplete", "incomplete.bmp", L::ReviewIncompleteButton.size(),
            "Incomplete", false);
    Caption(s, "Item Review Screen", "btnFinish", "finish.bmp", L::ReviewEndButton.size(), "Finish Test");
    Caption(s, "Item Review Screen", "btnReview", "goto.bmp", L::ReviewButton.size(), "Go to Item", false);
    Caption(s, "Exam Analysis Screen", "btnPSG", "studyguide.bmp", L::StudyGuideButton.size(), "Study Guide");
    Caption(s, "Exam Analysis Screen", "btnCert", "certificate.bmp", L::CertificateButton.size(),
            "Certificate");
    Caption(s, "Bookmark Screen", "btnYes", "yes.bmp", L::BookmarkYesButton.size(), "Yes");
    Caption(s, "Bookmark Screen", "btnNew", "startover.bmp", L::BookmarkNoButton.size(), "No", false);
    Caption(s, "Movie Page Screen", "btnDirectory", "directory.bmp", L::FieldButton, "Directory", false);
    Caption(s, "Movie Page Screen", "btnTest", "test.bmp", L::FieldButton, "Course Test");
    Caption(s, "Movie Page Screen", "btnChallenge", "challenges.bmp", L::FieldButton, "Challenges", false);
    Caption(s, "Movie Page Screen", "btnGlossary", "glossary.bmp", L::FieldButton, "Glossary", false);
    Caption(s, "Movie Page Screen", "btnInteract", "practice.bmp", L::FieldButton, "Practice", false);
    Caption(s, "Admin Screen", "btnDone", "done.bmp", L::AdminDoneButton.size(), "Done");
    Caption(s, "Admin Screen", "btnPrint", "printlog.bmp", L::AdminPrintButton.size(), "Print Log", false);
    Symbolic(s, "Misc", "btnHelp", "help.bmp", L::TitleButton, Symbol::Help);
    Symbolic(s, "Misc", "btnMinimize", "minimize.bmp", L::TitleButton, Symbol::Minimize);
    Symbolic(s, "Misc", "btnClose", "close.bmp", L::TitleButton, Symbol::Close);
    Symbolic(s, "Misc", "btnHelp2", "help2.bmp", L::SmallTitleButton, Symbol::Help);
    Symbolic(s, "Misc", "btnMinimize2", "minimize2.bmp", L::SmallTitleButton, Symbol::Minimize);
    Symbolic(s, "Misc", "btnClose2", "close2.bmp", L::SmallTitleButton, Symbol::Close);

    // Secondary windows.
    Caption(s, "Challenge Page Screen", "btnClose", "stepsclose.bmp", L::StepsCloseButton, "Close", false);
    s.Face("Challenge Page Screen", "btnSteps", "steps.bmp", StepsFace(s.Theme()));
    Caption(s, "Challenge Page Screen", "btnTry", "tryagain.bmp", L::PairLeftButton.size(), "Try Again");
    Caption(s, "Challenge Page Screen", "btnCoach", "coachme.bmp", L::PairRightButton.size(), "Coach Me",
            false);
    Caption(s, "Test Screen", "btnReturn", "return.bmp", L::ReportReturnButton.size(), "Return to Test");
    Caption(s, "Glossary Screen", "btnClose", "glossclose.bmp", L::GlossaryCloseButton, "Close");
    Caption(s, "Bookmark Screen", "btnNo", "no.bmp", L::PairRightButton.size(), "No", false);
    const char* const streams[4] = {"28.8", "56k", "T1", "CD"};
    for (int i = 0; i < 4; ++i)
        Caption(s, "Stream Selection Screen", qPrintable(QStringLiteral("choice%1").arg(i + 1)),
                qPrintable(QStringLiteral("stream%1.bmp").arg(i + 1)), L::StreamChoices[i].size(), streams[i],
                i == 3);
}

void WriteSchemeValues(TSkinBuilder& s) {
    const TSkinTheme& t = s.Theme();
    s.Colour("Misc", "Main Form Color", t.base);
    s.Integer("Misc", "Motion Movie Left", t.motionMovie.x());
    s.Integer("Misc", "Motion Movie Top", t.motionMovie.y());
    struct Layout {
        const char* prefix;
        const TLayoutValues& values;
    };
    for (const Layout& l : {Layout{"Large", t.large}, Layout{"Small", t.small}}) {
        const QString p = QString::fromLatin1(l.prefix);
        s.Integer("Misc", p + " Genesis Frame Left", l.values.genesisFrame.x());
        s.Integer("Misc", p + " Genesis Frame Top", l.values.genesisFrame.y());
        s.Integer("Misc", p + " Genesis Movie Left", l.values.genesisMovie.x());
        s.Integer("Misc", p + " Genesis Movie Top", l.values.genesisMovie.y());
        s.Integer("Misc", p + " Movie Frame Left", l.values.movieFrame.x());
        s.Integer("Misc", p + " Movie Frame Top", l.values.movieFrame.y());
        s.Integer("Misc", p + " Movie Left", l.values.movie.x());
        s.Integer("Misc", p + " Movie Top", l.values.movie.y());
    }
    auto list = [](const QRect& r) {
        return QStringLiteral("%1,%2,%3,%4").arg(r.left()).arg(r.top()).arg(r.width()).arg(r.height());
    };
    s.Value("Movie Page Screen", "Exit Cords", list(t.exitRect));
    s.Value("Movie Page Screen", "Movie Button Cords", list(t.movieButtonRect));

    s.Colour("Course Selection Screen", "ListBox Color", t.listColour);
    s.Colour("Course Selection Screen", "ListBox Font Color", t.listFontColour);
    s.Integer("Course Selection Screen", "ListBox Font Size", t.listFontSize);
    s.Value("Course Selection Screen", "ListBox Font", t.listFont);

    s.Integer("Please Wait Screen", "Logo Speed", t.pleaseWaitLogoSpeed);

    s.Integer("About Skin Screen", "Link Visible", t.aboutSkinLink ? 1 : 0);
    if (t.aboutSkinLink) {
        s.Value("About Skin Screen", "Link Address", "https://www.quenvik.com/altavo/skins/");
        s.Integer("About Skin Screen", "Link X", L::AboutSkinLink.left());
        s.Integer("About Skin Screen", "Link Y", L::AboutSkinLink.top());
        s.Integer("About Skin Screen", "Link Width", L::AboutSkinLink.width());
        s.Integer("About Skin Screen", "Link Height", L::AboutSkinLink.height());
    }

    s.Value("Stream Select Screen", "Font", t.listFont);
    s.Integer("Stream Select Screen", "Font Size", 20);
    s.Integer("Stream Select Screen", "Font Bold", 1);
    s.Integer("Stream Select Screen", "3D", 1);
    s.Colour("Stream Select Screen", "Font Highlight Color", t.heading.lighter(120));
    s.Colour("Stream Select Screen", "Font Shadow Color", t.deep);
    s.Colour("Stream Select Screen", "Font Color", t.accent);
}

void WriteInfoText(TSkinBuilder& s) {
    // One tip per line; the buffering window shows the next one each time it opens.
    s.TextFile("info.txt", "Right-click a lesson in the Directory to mark it done or to clear its mark.\r\n"
                           "The Glossary explains every term used in the lessons.\r\n"
                           "Challenges let you practise each task; Coach Me shows how it is done.\r\n"
                           "An open-book test shows hints and references; a closed-book test is timed.\r\n"
                           "Leave a test part-way through and Altavo offers to continue it later.\r\n"
                           "Pass the closed-book test with 80 percent to print your certificate.\r\n");
}
