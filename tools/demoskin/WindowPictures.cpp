#include "WindowPictures.h"

#include "SkinArt.h"
#include "SkinBuilder.h"
#include "shell/ControlLayout.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QtMath>

using namespace SkinArt;
namespace L = ControlLayout;

namespace {

// A dialog picture: raised plate with an accent rule along the top.
QImage DialogBase(const TSkinTheme& t, QSize size) {
    QImage image = Canvas(size, t.base);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient shade(0, 0, 0, size.height());
    shade.setColorAt(0, t.raised.lighter(110));
    shade.setColorAt(1, t.base.darker(110));
    p.fillRect(image.rect(), shade);
    p.fillRect(QRect(0, 0, size.width(), 4), t.accent);
    p.setPen(t.deep);
    p.setBrush(Qt::NoBrush);
    p.drawRect(image.rect().adjusted(0, 0, -1, -1));
    return image;
}

void Title(QPainter& p, const TSkinTheme& t, const QRect& r, const QString& text, int size = 20) {
    p.save();
    p.setFont(HeadingFont(t, size));
    p.setPen(t.heading);
    p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, text);
    p.restore();
}

enum class Badge { Warning, Question, Info, Check, Cross };

void DrawBadge(QPainter& p, const TSkinTheme& t, const QRectF& r, Badge badge) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QColor fill = badge == Badge::Warning || badge == Badge::Cross ? t.bad
                  : badge == Badge::Check                          ? t.good
                                                                   : t.accent;
    QRadialGradient shade(r.center() - QPointF(r.width() / 5, r.height() / 5), r.width() * 0.7);
    shade.setColorAt(0, fill.lighter(135));
    shade.setColorAt(1, fill.darker(115));
    p.setPen(QPen(fill.darker(150), 1.5));
    p.setBrush(shade);
    p.drawEllipse(r.adjusted(1, 1, -1, -1));
    const QColor ink = badge == Badge::Question || badge == Badge::Info ? t.buttonText : Qt::white;
    QPen pen(ink, r.width() * 0.11, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const QPointF c = r.center();
    const qreal u = r.width() / 10;
    switch (badge) {
    case Badge::Warning:
        p.drawLine(QPointF(c.x(), c.y() - 2.6 * u), QPointF(c.x(), c.y() + 0.8 * u));
        p.drawPoint(QPointF(c.x(), c.y() + 2.6 * u));
        break;
    case Badge::Info:
        p.drawPoint(QPointF(c.x(), c.y() - 2.6 * u));
        p.drawLine(QPointF(c.x(), c.y() - 0.6 * u), QPointF(c.x(), c.y() + 2.8 * u));
        break;
    case Badge::Question: {
        QFont f(t.sansFamily);
        f.setPixelSize(int(r.height() * 0.62));
        f.setBold(true);
        p.setFont(f);
        p.drawText(r, Qt::AlignCenter, "?");
        break;
    }
    case Badge::Check: {
        QPainterPath path;
        path.moveTo(c.x() - 2.6 * u, c.y() + 0.2 * u);
        path.lineTo(c.x() - 0.8 * u, c.y() + 2.2 * u);
        path.lineTo(c.x() + 2.8 * u, c.y() - 2.2 * u);
        p.drawPath(path);
        break;
    }
    case Badge::Cross:
        p.drawLine(QPointF(c.x() - 2.2 * u, c.y() - 2.2 * u), QPointF(c.x() + 2.2 * u, c.y() + 2.2 * u));
        p.drawLine(QPointF(c.x() + 2.2 * u, c.y() - 2.2 * u), QPointF(c.x() - 2.2 * u, c.y() + 2.2 * u));
        break;
    }
    p.restore();
}

// Message picture: badge on the left, title and text beside it.
QImage Message(const TSkinTheme& t, QSize size, Badge badge, const QString& title, const QString& text) {
    QImage image = DialogBase(t, size);
    QPainter p(&image);
    DrawBadge(p, t, QRectF(18, 20, 46, 46), badge);
    Title(p, t, QRect(78, 14, size.width() - 90, 30), title);
    Text(p, t, QRect(78, 46, size.width() - 92, 54), text, 13,
         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
    return image;
}

QImage BadLogin(const TSkinTheme& t) {
    QImage image = Message(t, L::MessageWindow, Badge::Warning, "Sign-in Failed",
                           "The user name or the password is not correct. Please try again.");
    QPainter p(&image);
    ButtonArt(p, t, L::MessageCloseButton, "OK");
    return image;
}

QImage Exit(const TSkinTheme& t) {
    QImage image = Message(t, L::ExitWindow, Badge::Question, "Leave Altavo?",
                           "Your progress is kept. Do you want to close the program now?");
    QPainter p(&image);
    ButtonArt(p, t, L::PairLeftButton, "Yes");
    ButtonArt(p, t, L::PairRightButton, "No", false);
    return image;
}

QImage Notice(const TSkinTheme& t) {
    QImage image = DialogBase(t, L::MessageWindow);
    QPainter p(&image);
    Well(p, t, L::NoticeText.adjusted(3, 3, -3, -3));
    ButtonArt(p, t, L::MessageCloseButton, "OK");
    return image;
}

QImage About(const TSkinTheme& t) {
    QImage image = DialogBase(t, L::AboutWindow);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Brand on the left; the right part stays calm for the white text labels.
    Mark(p, t, QRectF(34, 24, 72, 72));
    p.setFont(HeadingFont(t, 26));
    p.setPen(t.heading);
    p.drawText(QRect(0, 100, 140, 34), Qt::AlignCenter, "Altavo");
    p.setFont(SansFont(t, 11));
    p.setPen(t.text);
    p.drawText(QRect(0, 132, 140, 20), Qt::AlignCenter, "Video Training Player");
    p.fillRect(QRect(140, 12, 1, 142), t.accentDark);
    return image;
}

QImage MoviesDone(const TSkinTheme& t) {
    QImage image = DialogBase(t, L::MoviesDoneWindow);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    DrawBadge(p, t, QRectF(22, 16, 44, 44), Badge::Check);
    Title(p, t, QRect(78, 12, 236, 30), "Training Complete", 22);
    Text(p, t, QRect(78, 42, 236, 30), "You have watched every lesson of this course.", 12,
         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
    // The two buttons sit on drawn tiles; the captions explain them.
    struct Tile {
        QRect rect;
        Badge badge;
        QString title, text;
    };
    const Tile tiles[2] = {{L::MoviesDoneChallenges, Badge::Question, "Try the Challenges",
                            "Practise what you learned, step by step."},
                           {L::MoviesDoneTest, Badge::Info, "Take the Course Test",
                            "Show what you know and earn your certificate."}};
    for (const Tile& tile : tiles) {
        ButtonArt(p, t, tile.rect, QString());
        DrawBadge(p, t, QRectF(tile.rect.adjusted(10, 11, -10, -11)), tile.badge);
        Title(p, t, QRect(tile.rect.right() + 14, tile.rect.top() + 4, 220, 24), tile.title, 16);
        Text(p, t, QRect(tile.rect.right() + 14, tile.rect.top() + 28, 212, 34), tile.text, 12,
             Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
    }
    return image;
}

QImage BookmarkTest(const TSkinTheme& t) {
    return Message(t, L::ExitWindow, Badge::Question, "Continue Later?",
                   "Yes keeps your answers so you can finish this test another time. No ends the test now.");
}

QImage ChallengeIncorrect(const TSkinTheme& t) {
    return Message(t, L::ChallengeIncorrectWindow, Badge::Cross, "Not Quite Right",
                   "That was not the expected step. Try again, or let the coach show you how.");
}

QImage Buffering(const TSkinTheme& t) {
    QImage image = DialogBase(t, L::BufferingWindow);
    QPainter p(&image);
    Title(p, t, QRect(74, 14, 236, 28), "Loading Your Lesson", 19);
    Text(p, t, QRect(74, 42, 236, 36), "The next clip is on its way. It starts by itself.", 12,
         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
    Panel(p, t, QRect(12, 108, 296, 80));
    Well(p, t, L::BufferingProgress);
    Text(p, t, QRect(20, L::BufferingPercent.top(), 126, L::BufferingPercent.height()), "Progress", 14,
         Qt::AlignLeft | Qt::AlignVCenter, true);
    Text(p, t, QRect(L::BufferingBanner.left(), 196, 273, 16), "Did you know?", 12,
         Qt::AlignLeft | Qt::AlignVCenter, true);
    Well(p, t, L::BufferingBanner.adjusted(-4, -4, 4, 4));
    return image;
}

QImage PleaseWait(const TSkinTheme& t) {
    QImage image = DialogBase(t, L::PleaseWaitWindow);
    QPainter p(&image);
    Mark(p, t, QRectF(20, 16, 40, 40));
    p.setFont(HeadingFont(t, 26));
    p.setPen(t.heading);
    p.drawText(QRect(70, 14, 120, 44), Qt::AlignLeft | Qt::AlignVCenter, "Altavo");
    // A light card keeps the grey message text readable.
    QRect card(18, 88, 284, 104);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(t.deep, 1));
    p.setBrush(QColor(244, 240, 232));
    p.drawRoundedRect(QRectF(card).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    return image;
}

QImage AboutSkin(const TSkinTheme& t) {
    QImage image = DialogBase(t, L::AboutSkinWindow);
    QPainter p(&image);
    Text(p, t, QRect(20, 14, 280, 18), "About This Skin", 12, Qt::AlignLeft | Qt::AlignVCenter, true);
    Title(p, t, QRect(20, 34, 280, 40), t.name, 30);
    // Palette swatches.
    const QColor swatches[] = {t.deep, t.base, t.raised, t.accent, t.heading};
    for (int i = 0; i < 5; ++i) {
        p.fillRect(QRect(20 + i * 26, 80, 22, 14), swatches[i]);
        p.setPen(t.deep);
        p.drawRect(QRect(20 + i * 26, 80, 21, 13));
    }
    Text(p, t, QRect(20, 100, 280, 50), t.description, 13, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
    if (t.aboutSkinLink) {
        QFont f = SansFont(t, 13, true);
        f.setUnderline(true);
        p.setFont(f);
        p.setPen(t.accent);
        p.drawText(L::AboutSkinLink, Qt::AlignCenter, "Visit the Altavo skin gallery");
    } else {
        Text(p, t, QRect(20, 160, 280, 20), "Click anywhere to close.", 12, Qt::AlignCenter);
    }
    return image;
}

QImage Init(const TSkinTheme& t) {
    QImage image = DialogBase(t, L::InitDialog);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Mark(p, t, QRectF(113, 26, 80, 80));
    p.setFont(HeadingFont(t, 34));
    p.setPen(t.heading);
    p.drawText(QRect(0, 110, 306, 44), Qt::AlignCenter, "Altavo");
    Text(p, t, QRect(0, 152, 306, 20), "Video Training Player", 13, Qt::AlignCenter);
    Text(p, t, QRect(0, 180, 306, 18), "Starting...", 11, Qt::AlignCenter);
    return image;
}

QImage StreamSelect(const TSkinTheme& t) {
    QImage image = DialogBase(t, L::StreamWindow);
    QPainter p(&image);
    Well(p, t, QRect(14, 56, 172, 124));
    return image;
}

QImage ReportPopup(const TSkinTheme& t) {
    QImage image = DialogBase(t, L::ReportPopupWindow);
    QPainter p(&image);
    Title(p, t, QRect(14, 8, 172, 28), "Test Progress", 18);
    for (int row = 0; row < 4; ++row)
        Well(p, t, QRect(120, 44 + row * 27, 62, 21));
    return image;
}

QImage Feedback(const TSkinTheme& t, bool right) {
    QImage image = DialogBase(t, L::FeedbackPicture);
    QPainter p(&image);
    DrawBadge(p, t, QRectF(18, 28, 64, 64), right ? Badge::Check : Badge::Cross);
    Title(p, t, QRect(96, 26, 136, 36), right ? "Correct!" : "Not Correct", 24);
    Text(p, t, QRect(96, 62, 136, 40),
         right ? "Well done. On to the next one." : "Look again at the question.", 12,
         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
    return image;
}

// A ring of dots whose bright spot travels round: `frames` frames, one step each.
TGifFrames SpinLogo(const TSkinTheme& t, QSize size, const QColor& back, int frames, int delayCs) {
    TGifFrames logo;
    logo.delayCs = delayCs;
    const int dots = frames;
    for (int f = 0; f < frames; ++f) {
        QImage image = Canvas(size, back);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        const QPointF c(size.width() / 2.0, size.height() / 2.0);
        const qreal radius = size.width() * 0.36;
        for (int d = 0; d < dots; ++d) {
            const qreal angle = 2 * M_PI * d / dots - M_PI / 2;
            const int age = (f - d + dots) % dots; // 0: the leading dot
            QColor colour = t.accent;
            colour = age == 0 ? t.heading : colour.darker(100 + age * 22);
            const qreal r = size.width() * (age == 0 ? 0.09 : 0.07);
            p.setPen(Qt::NoPen);
            p.setBrush(colour);
            p.drawEllipse(c + QPointF(qCos(angle), qSin(angle)) * radius, r, r);
        }
        Mark(p, t,
             QRectF(c.x() - size.width() * 0.2, c.y() - size.height() * 0.2, size.width() * 0.4,
                    size.height() * 0.4));
        logo.frames << image;
    }
    return logo;
}

QImage ClipFrame(const TSkinTheme& t, QPoint offset, bool large) {
    QImage image = Canvas(L::Frame, t.deep);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF outer = QRectF(image.rect());
    QLinearGradient shade(outer.topLeft(), outer.bottomRight());
    shade.setColorAt(0, t.accent.lighter(125));
    shade.setColorAt(0.5, t.accentDark);
    shade.setColorAt(1, t.accent);
    p.fillRect(outer, t.base);
    p.setPen(QPen(t.deep, 1));
    p.setBrush(shade);
    p.drawRoundedRect(outer.adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    const QRect hole(offset, L::ClipPanel);
    p.setBrush(t.deep);
    p.drawRect(QRectF(hole).adjusted(-2.5, -2.5, 2.5, 2.5));
    p.fillRect(hole, Qt::black);
    if (large) {
        // Small corner studs on the larger frame.
        p.setBrush(t.heading);
        p.setPen(Qt::NoPen);
        for (QPointF stud :
             {QPointF(4, 5), QPointF(L::Frame.width() - 4, 5), QPointF(4, L::Frame.height() - 5),
              QPointF(L::Frame.width() - 4, L::Frame.height() - 5)})
            p.drawEllipse(stud, 1.8, 1.8);
    }
    return image;
}

QImage Pointer(const TSkinTheme& t, QSize size) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    QPolygon arrow;
    arrow << QPoint(1, 1) << QPoint(size.width() - 2, size.height() / 2) << QPoint(1, size.height() - 2);
    p.setPen(t.deep);
    p.setBrush(t.accent);
    p.drawPolygon(arrow);
    return image;
}

QImage MovieButtonsBack(const TSkinTheme& t) {
    QImage image = Canvas(t.movieButtonRect.size(), t.inset);
    QPainter p(&image);
    QLinearGradient shade(0, 0, 0, image.height());
    shade.setColorAt(0, t.inset.lighter(115));
    shade.setColorAt(1, t.inset.darker(110));
    p.fillRect(image.rect(), shade);
    p.setPen(t.deep);
    p.drawRect(image.rect().adjusted(0, 0, -1, -1));
    return image;
}

QImage MovieButton(const TSkinTheme& t) {
    // The lesson button plate; the control writes the captions on it.
    QImage image = Canvas(QSize(176, 20), t.inset);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient shade(0, 0, 0, 20);
    shade.setColorAt(0, t.raised.lighter(125));
    shade.setColorAt(1, t.raised.darker(105));
    p.setPen(QPen(t.deep, 1));
    p.setBrush(shade);
    p.drawRoundedRect(QRectF(0.5, 0.5, 175, 19), 9, 9);
    return image;
}

} // namespace

void DrawWindowPictures(TSkinBuilder& skin) {
    const TSkinTheme& t = skin.Theme();
    skin.Picture("Movie Page Screen", "Arrow", "pointer.gif", Pointer(t, L::PagePointer));
    skin.Picture("Movie Page Screen", "pgbtback", "lessons.gif", MovieButtonsBack(t));
    skin.Picture("Movie Page Screen", "pgButton", "lesson.gif", MovieButton(t));
    skin.Picture("Movie Page Screen", "Arrowbmp", "lessonarrow.gif", Pointer(t, QSize(12, 12)));
    skin.Picture("Test Screen", "Correct", "correct.gif", Feedback(t, true));
    skin.Picture("Test Screen", "Incorrect", "incorrect.gif", Feedback(t, false));
    const bool d = t.defaultBackgroundNames;
    skin.Picture("Test Screen", d ? "" : "RptPopBackground", d ? "RptPopBkg.gif" : "progress.gif",
                 ReportPopup(t));
    skin.Picture("Genesis Screen", "Framesm", "framesm.gif",
                 ClipFrame(t, t.small.movie - t.small.movieFrame, false));
    skin.Picture("Genesis Screen", "Framelg", "framelg.gif",
                 ClipFrame(t, t.large.movie - t.large.movieFrame, true));
    skin.Picture("Misc", "BadLogin", "badlogin.gif", BadLogin(t));
    skin.Picture("Misc", "About", "about.gif", About(t));
    skin.Picture("Misc", "Exit", "exit.gif", Exit(t));
    skin.Picture("Misc", "MoviesDone", "complete.gif", MoviesDone(t));
    skin.Picture("Misc", "BookmarkTest", "later.gif", BookmarkTest(t));
    skin.Picture("Misc", "Notice", "notice.gif", Notice(t));
    skin.Picture("Buffering Screen", "background", "buffering.gif", Buffering(t));
    skin.Animation("Buffering Screen", "logo", "loading.gif",
                   SpinLogo(t, L::Spin, t.raised.lighter(110), 12, 8));
    skin.Picture("Challenge Page Screen", "ChallIncorrect", "tryagain.gif", ChallengeIncorrect(t));
    skin.Picture("Please Wait Screen", "background", "wait.gif", PleaseWait(t));
    skin.Animation("Please Wait Screen", "logo", "spin.gif",
                   SpinLogo(t, L::Spin, t.raised.lighter(110), 10, 10));
    skin.Picture("About Skin Screen", "background", "aboutskin.gif", AboutSkin(t));
    skin.Picture("Init Screen", "background", "init.gif", Init(t));
    skin.Picture("Stream Selection Screen", "background", "stream.gif", StreamSelect(t));
}
