// Renders the system's own widgets and every secondary window, dressed by a
// skin, to PNG files: the pictures a designer checks a skin against.
//
//   altavo-gallery OUTDIR [SKINDIR]
//
// The three printed reports, with sample data, go beside them as PDFs and as
// PNGs of their first pages (made by poppler's pdftoppm).
// SKINDIR is a skin directory (default: the Default skin beside the program,
// ../skins/Default). Runs on any Qt platform; offscreen is enough.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>
#include <functional>

#include "app/TBadLogin.h"
#include "lesson/TBookmarkTest.h"
#include "lesson/TBufferingForm.h"
#include "lesson/TChallengeIncorrect.h"
#include "lesson/TGlossaryScreen.h"
#include "lesson/TMoviesDone.h"
#include "lesson/TSteps.h"
#include "lesson/TStreamSelect.h"
#include "platform/TIniFile.h"
#include "platform/TRegistry.h"
#include "platform/gui/TDisplay.h"
#include "platform/gui/TFonts.h"
#include "program/TProgram.h"
#include "reports/TCertificate.h"
#include "reports/TStudentLog.h"
#include "reports/TStudyMaterial.h"
#include "shell/TExitForm.h"
#include "shell/TForm1.h"
#include "shell/TNoticeWindow.h"
#include "skin/TAboutForm.h"
#include "skin/TAboutSkin.h"
#include "skin/TDebugWindow.h"
#include "skin/TPleaseWait.h"
#include "skin/TSelectSkin.h"
#include "skin/uLoadSkins.h"
#include "testing/TReportPopup.h"
#include "widgets/TBanner.h"
#include "widgets/TDirectory.h"
#include "widgets/TGifImage.h"
#include "widgets/TLabelEffect.h"
#include "widgets/TMovieButtonX.h"
#include "widgets/TSpecialListBox.h"

namespace {
int g_failures = 0;

void Save(QWidget* widget, const QString& dir, const QString& name) {
    widget->ensurePolished();
    const QString path = QDir(dir).filePath(name + ".png");
    if (!widget->grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        ++g_failures;
        return;
    }
    std::printf("%s\n", qPrintable(path));
}

// The effect label's looks side by side on one panel.
void SaveEffectLabels(const QString& dir) {
    QWidget panel;
    panel.resize(420, 360);
    panel.setAutoFillBackground(true);
    panel.setPalette(QPalette(QColor(99, 82, 99)));
    struct Look {
        const char* caption;
        TEffectStyle style;
        TColourScheme scheme;
        int angle;
    } looks[] = {{"Raised", esRaised, csWindows, 0},    {"Sunken", esSunken, csWindows, 0},
                 {"Shadow", esShadow, csText, 0},       {"Flying", esFlying, csText, 0},
                 {"Gold", esRaised, csGold, 0},         {"Steel", esRaised, csSteel, 0},
                 {"Embossed", esRaised, csEmbossed, 0}, {"Rotated", esRaised, csGold, 30}};
    int i = 0;
    for (const Look& look : looks) {
        auto* label = new TLabelEffect(&panel);
        label->SetCaption(QString::fromLatin1(look.caption));
        label->setFont(QFont(QStringLiteral("DejaVu Serif"), 20, QFont::Bold));
        label->SetEffectStyle(look.style);
        label->SetColourScheme(look.scheme);
        label->SetAngle(look.angle);
        label->setGeometry(10 + (i % 2) * 205, 10 + (i / 2) * 70, 200, look.angle ? 120 : 64);
        ++i;
    }
    Save(&panel, dir, "widget-effect-labels");
}

void SaveLists(const QString& dir, const QString& skinDir) {
    TSpecialListBox list;
    list.resize(220, 260);
    list.SetColor(QColor(165, 141, 174));
    const struct {
        const char* text;
        int state;
    } rows[] = {{"Getting around", 20},          {"The window and its parts", 1},
                {"Moving with the keyboard", 0}, {"Entering data", 21},
                {"Typing text and numbers", 0},  {"An indented row", 22},
                {"A labelled row", 2},           {"A plain row", 5}};
    for (int r = 0; r < int(std::size(rows)); ++r)
        list.AddItem(QString::fromLatin1(rows[r].text), r, rows[r].state);
    list.SetNewItem(6, QStringLiteral("Step 1"));
    list.SetItemIndex(2);
    Save(&list, dir, "widget-special-list-box");

    TMovieButtonX buttons;
    buttons.resize(373, 95);
    const TIniFile scheme(skinDir + "scheme.ini");
    const QString section = QStringLiteral("Movie Page Screen");
    buttons.SetBackground(skinDir + scheme.ReadString(section, "pgbtback", ""));
    buttons.SetButtonFilename(skinDir + scheme.ReadString(section, "pgButton", ""));
    buttons.SetArrowFilename(skinDir + scheme.ReadString(section, "Arrowbmp", ""));
    const char* captions[] = {"The window and its parts", "Moving with the keyboard", "Selecting ranges"};
    for (int b = 0; b < 3; ++b) {
        buttons.SetButtonCaption(b, QString::fromLatin1(captions[b]));
        buttons.SetButtonMark(b, b == 0);
    }
    buttons.SetLinesVisible(3);
    buttons.SetActiveButton(1);
    Save(&buttons, dir, "widget-movie-buttons");

    TBanner banner;
    banner.resize(292, 26);
    banner.SetScrollText(QStringLiteral("Tip: press F2 to edit the active cell where it stands."));
    banner.SetEnabled(true);
    for (int tick = 0; tick < 40; ++tick)
        banner.Tick();
    Save(&banner, dir, "widget-banner");
}
} // namespace

// A report's PDF and the PNG of its first page.
void SaveReportPage(const QString& dir, const QString& name,
                    const std::function<bool(const QString& path, QString* error)>& save) {
    const QString pdf = QDir(dir).filePath(name + ".pdf");
    QString error;
    if (!save(pdf, &error)) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(pdf), qPrintable(error));
        ++g_failures;
        return;
    }
    const QString png = QDir(dir).filePath(name);
    if (QProcess::execute(QStringLiteral("pdftoppm"), {"-png", "-r", "60", "-singlefile", pdf, png}) != 0) {
        std::fprintf(stderr, "pdftoppm could not draw %s\n", qPrintable(pdf));
        ++g_failures;
        return;
    }
    std::printf("%s.png\n", qPrintable(png));
}

void SaveReports(const QString& dir) {
    TStudyMaterialData study;
    study.Candidate = QStringLiteral("Ann Lee");
    study.TestTitle = QStringLiteral("Spreadsheets from the ground up");
    study.Entries.push_back({QStringLiteral("Which key moves to the next cell on the right?"),
                             1,
                             QStringLiteral("2"),
                             {QStringLiteral("Enter"), QStringLiteral("Tab"), QStringLiteral("Home")},
                             QStringLiteral("Lesson 1, Moving with the keyboard"),
                             false});
    study.Entries.push_back({QStringLiteral("Which of these are cell references?"),
                             5,
                             QStringLiteral("5"),
                             {QStringLiteral("A1"), QStringLiteral("Sheet"), QStringLiteral("B12")},
                             QStringLiteral("Lesson 2, Cells and ranges"),
                             false});
    SaveReportPage(dir, "report-study-material", [&](const QString& path, QString* error) {
        return SaveStudyMaterialPdf(path, study, error);
    });

    std::vector<TAdminListRow> rows;
    rows.push_back({"ann", "Ann Lee", "secret", true, 1, "Spreadsheets from the ground up", "85%", "90%"});
    rows.push_back({"bob", "Bob Stone", "pw", true, 2, "Word processing basics", "60%", "60%"});
    rows.push_back({"pat", "Pat Jordan", "pw", false, -1, {}, {}, {}});
    SaveReportPage(dir, "report-student-log",
                   [&](const QString& path, QString* error) { return SaveStudentLogPdf(path, rows, error); });

    const TCertificateData award{QStringLiteral("Ann Lee"),
                                 QStringLiteral("Spreadsheets from the ground up")};
    SaveReportPage(dir, "report-certificate", [&](const QString& path, QString* error) {
        return SaveCertificatePdf(path, award, error);
    });
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    UseWindowsFonts();
    if (argc < 2) {
        std::fprintf(stderr, "usage: altavo-gallery OUTDIR [SKINDIR]\n");
        return 2;
    }
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    QString skinDir = argc > 2 ? QString::fromLocal8Bit(argv[2])
                               : QCoreApplication::applicationDirPath() + QStringLiteral("/../skins/Default");
    skinDir = QFileInfo(skinDir).absoluteFilePath();
    if (!QFileInfo::exists(skinDir + "/scheme.ini")) {
        std::fprintf(stderr, "no skin at %s\n", qPrintable(skinDir));
        return 2;
    }
    QDir().mkpath(outDir);

    // A throw-away installation around the skin, so the main window and its
    // windows start as in the player.
    QTemporaryDir install;
    QDir(install.path()).mkpath("db");
    const QString registryFile = install.filePath("registry.ini");
    qputenv("ALTAVO_REGISTRY", registryFile.toUtf8());
    TRegistry registry(registryFile);
    registry.OpenKey(QString::fromLatin1(ConfigurationKey), true);
    registry.WriteString("DatabaseDir", install.filePath("db"));
    registry.WriteString("GraphicDir", QFileInfo(skinDir).absolutePath());
    registry.WriteString("SkinDir", QFileInfo(skinDir).fileName() + "/");

    TLinuxDisplay display;
    TForm1 form(display);
    if (!StartProgram(form))
        return 1;

    Save(&form, outDir, "main-window");
    struct Window {
        QWidget* widget;
        const char* name;
    } windows[] = {{form.BadLogin, "window-bad-login"},
                   {form.ExitForm, "window-exit"},
                   {form.NoticeWindow, "window-notice"},
                   {form.MoviesDone, "window-training-complete"},
                   {form.BookmarkTest, "window-bookmark-test"},
                   {form.BufferingForm, "window-buffering"},
                   {form.PleaseWait, "window-please-wait"},
                   {form.AboutForm, "window-about"},
                   {form.AboutSkin, "window-about-skin"},
                   {form.SelectSkin, "window-skin-selection"},
                   {form.ChallengeIncorrect, "window-challenge-incorrect"},
                   {form.ReportPopup, "window-report-popup"},
                   {form.GlossaryScreen, "window-glossary-term"},
                   {form.Steps, "window-steps"},
                   {form.StreamSelect, "window-stream-selection"},
                   {form.Directory, "window-directory"},
                   {form.DebugWindow, "window-diagnostics"}};
    form.NoticeWindow->SetText(QStringLiteral("User Name already exists in the system."));
    form.Directory->SetCourseTitle(QStringLiteral("Spreadsheets from the ground up"));
    form.Directory->AddPageRow(QStringLiteral("Getting around the worksheet"), 1);
    form.Directory->AddButtonRow(QStringLiteral("The window and its parts"), 1, 1, 1);
    form.Directory->AddButtonRow(QStringLiteral("Moving with the keyboard"), 1, 2, 0);
    for (const Window& w : windows)
        Save(w.widget, outDir, QString::fromLatin1(w.name));

    SaveEffectLabels(outDir);
    SaveLists(outDir, skinDir + "/");
    SaveReports(outDir);
    return g_failures == 0 ? 0 : 1;
}
