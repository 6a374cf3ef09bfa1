#include "ScreenPictures.h"

#include "SkinArt.h"
#include "SkinBuilder.h"
#include "shell/ControlLayout.h"

using namespace SkinArt;
namespace L = ControlLayout;

namespace {

const char* const RegistrationLabels[5] = {"First Name", "Last Name", "User Name", "Password",
                                           "Verify Password"};

void RegistrationBoxes(QPainter& p, const TSkinTheme& t) {
    Panel(p, t, QRect(24, 230, 368, 4 * L::RegistrationBoxStep + 46));
    for (int i = 0; i < 5; ++i) {
        const QRect box = L::FirstRegistrationBox.translated(0, i * L::RegistrationBoxStep);
        FieldLabel(p, t, box, RegistrationLabels[i]);
        Well(p, t, box);
    }
}

QImage SignIn(const TSkinTheme& t) {
    QImage image = ScreenBase(t, "Sign In");
    QPainter p(&image);
    Heading(p, t, 84, "Welcome to Altavo", "Sign in with your user name and password.");
    Panel(p, t, QRect(120, 184, 400, 164));
    FieldLabel(p, t, L::UserNameBox, "User Name");
    FieldLabel(p, t, L::PasswordBox, "Password");
    Well(p, t, L::UserNameBox);
    Well(p, t, L::PasswordBox);
    Text(p, t, QRect(120, 362, 400, 40), "New here? Press New User to create your own account.", 13,
         Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap);
    return image;
}

QImage Registration(const TSkinTheme& t) {
    QImage image = ScreenBase(t, "Learners");
    QPainter p(&image);
    Heading(p, t, 70, "Add Learners", "Fill in the new learner's details, then press Add.");
    RegistrationBoxes(p, t);
    Text(p, t, QRect(L::AddUserList.left(), L::AddUserList.top() - 24, L::AddUserList.width(), 20),
         "Registered learners", 14, Qt::AlignLeft | Qt::AlignVCenter, true);
    Well(p, t, L::AddUserList);
    return image;
}

QImage NoUsers(const TSkinTheme& t) {
    QImage image = ScreenBase(t, "First Start");
    QPainter p(&image);
    Heading(p, t, 70, "Welcome to Altavo", "Create the first learner account to get started.");
    RegistrationBoxes(p, t);
    const QRect note(404, 236, 214, 162);
    Panel(p, t, note);
    Mark(p, t, QRectF(note.left() + 14, note.top() + 14, 34, 34));
    Text(p, t, QRect(note.left() + 56, note.top() + 12, note.width() - 66, 40), "Your first account", 15,
         Qt::AlignLeft | Qt::AlignVCenter, true);
    Text(p, t, note.adjusted(14, 58, -12, -10),
         "This account signs in straight away. More learners can be added later from the sign-in screen.", 13,
         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
    return image;
}

QImage CourseSelection(const TSkinTheme& t) {
    QImage image = ScreenBase(t, "Courses");
    QPainter p(&image);
    Heading(p, t, 86, "Choose a Course", "Select a course from the list and press Start.");
    Panel(p, t, L::CourseList.adjusted(-16, -16, 16, 16));
    Well(p, t, L::CourseList);
    return image;
}

QImage TestTypeSelection(const TSkinTheme& t) {
    QImage image = ScreenBase(t, "Course Test");
    QPainter p(&image);
    Heading(p, t, 60, "Course Test", "Choose how you want to take the test.");
    Panel(p, t, QRect(50, 161, 240, 250));
    Text(p, t, QRect(70, 340, 200, 60),
         "Open book shows hints and references. Closed book is timed and counts for your record.", 12,
         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
    Well(p, t, L::TestTypeExplanation);
    return image;
}

void ButtonStrip(QPainter& p, const TSkinTheme& t) {
    Panel(p, t, QRect(4, 411, 632, 62));
}

QImage Test(const TSkinTheme& t) {
    QImage image = ScreenBase(t, "Test");
    QPainter p(&image);
    Well(p, t, L::TestArea);
    ButtonStrip(p, t);
    return image;
}

QImage Challenge(const TSkinTheme& t) {
    QImage image = ScreenBase(t, "Challenge");
    QPainter p(&image);
    Well(p, t, QRect(10, 26, 621, 58));
    Well(p, t, QRect(10, 84, 619, 325));
    ButtonStrip(p, t);
    return image;
}

QImage ItemReview(const TSkinTheme& t) {
    QImage image = ScreenBase(t, "Item Review");
    QPainter p(&image);
    Heading(p, t, 40, "Item Review",
            "Pick an item to revisit it, go through the incomplete ones, or finish the test.");
    Panel(p, t, L::ReviewList.adjusted(-14, -14, 14, 14));
    Well(p, t, L::ReviewList);
    ButtonStrip(p, t);
    return image;
}

QImage ExamAnalysis(const TSkinTheme& t) {
    QImage image = ScreenBase(t, "Exam Analysis");
    QPainter p(&image);
    Heading(p, t, 50, "Exam Analysis", "Your score on a scale of 0 to 1000. The pass mark is 80 percent.");
    Panel(p, t, L::ScoreBorder.adjusted(-10, -10, 10, 10));
    Panel(p, t, QRect(100, 290, 440, 52));
    return image;
}

QImage Bookmark(const TSkinTheme& t) {
    QImage image = ScreenBase(t, "Course Test");
    QPainter p(&image);
    Heading(
        p, t, 120, "Continue Your Test?",
        "You stopped this test part-way through. Press Yes to continue where you left off, or No to start "
        "again.");
    Panel(p, t,
          QRect(L::BookmarkYesButton.left() - 20, L::BookmarkYesButton.top() - 18,
                L::BookmarkNoButton.right() - L::BookmarkYesButton.left() + 41, 71));
    return image;
}

QImage Genesis(const TSkinTheme& t) {
    QImage image = ScreenBase(t, "Course Introduction");
    QPainter p(&image);
    const QPoint frame = t.large.genesisFrame;
    // The text sits beside the clip frame, on whichever side has more room.
    const bool left = frame.x() > 640 - (frame.x() + L::Frame.width());
    const QRect side =
        left ? QRect(16, 120, frame.x() - 32, 250)
             : QRect(frame.x() + L::Frame.width() + 16, 120, 640 - frame.x() - L::Frame.width() - 32, 250);
    Panel(p, t, side);
    HeadingIn(p, t, side.adjusted(8, 14, -8, 0), "Welcome",
              "Watch the course introduction. Press Continue at any time to go to the first lesson.");
    return image;
}

QImage Admin(const TSkinTheme& t) {
    QImage image = ScreenBase(t, "Administration");
    QPainter p(&image);
    Heading(p, t, 52, "Learner Records", "Every learner with their course test results.");
    Panel(p, t, L::AdminList.adjusted(-14, -14, 14, 14));
    Well(p, t, L::AdminList);
    return image;
}

QImage MoviePage(const TSkinTheme& t) {
    QImage image = ScreenBase(t, QString());
    QPainter p(&image);
    // Page-name band, the lesson buttons' tray and the field buttons' tray.
    Panel(p, t, QRect(8, 23, 624, 26).adjusted(0, 0, 0, 0));
    const QRect buttons = t.movieButtonRect;
    Panel(p, t, buttons.adjusted(-6, -6, 6, 6));
    Panel(p, t, QRect(396, 372, 238, 104));
    // The clip area's well under the frame picture.
    const QRect clip(t.large.movie, L::ClipPanel);
    p.fillRect(clip, t.deep.darker(160));
    return image;
}

} // namespace

void DrawScreenBackgrounds(TSkinBuilder& skin) {
    const TSkinTheme& t = skin.Theme();
    // Compact uses the default names where a screen has one of its own and
    // leaves those keys out of scheme.ini.
    const bool d = t.defaultBackgroundNames;
    skin.Picture("Movie Page Screen", d ? "" : "background", d ? "pagebk.gif" : "page.gif", MoviePage(t));
    skin.Picture("User Registration Screen", "background", "signin.gif", SignIn(t));
    skin.Picture("Registration Screen", "background", "addusers.gif", Registration(t));
    skin.Picture("NoUsers Screen", "background", "firstuser.gif", NoUsers(t));
    skin.Picture("Challenge Page Screen", d ? "" : "background", d ? "Challbk.gif" : "challenge.gif",
                 Challenge(t));
    skin.Picture("Course Selection Screen", "background", "courses.gif", CourseSelection(t));
    skin.Picture("Test Type Selection Screen", "background", "testtype.gif", TestTypeSelection(t));
    skin.Picture("Test Screen", d ? "" : "background", d ? "TestPla.gif" : "test.gif", Test(t));
    skin.Picture("Item Review Screen", d ? "" : "background", d ? "ItemReview.gif" : "review.gif",
                 ItemReview(t));
    skin.Picture("Exam Analysis Screen", d ? "" : "background", d ? "Reportbkg.gif" : "analysis.gif",
                 ExamAnalysis(t));
    skin.Picture("Genesis Screen", d ? "" : "background", d ? "Genbk.gif" : "genesis.gif", Genesis(t));
    skin.Picture("Bookmark Screen", "background", "bookmark.gif", Bookmark(t));
    skin.Picture("Admin Screen", d ? "" : "Background", d ? "Adminbk.gif" : "admin.gif", Admin(t));
}
