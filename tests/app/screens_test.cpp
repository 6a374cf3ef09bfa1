// Screen switching, the screen message, dragging and the interactive
// exercise program, on the real main window.
#include <gtest/gtest.h>

#include <QFile>
#include <QTest>
#include <QTimer>

#include "TInstallation.h"
#include "data/TCourses.h"
#include "lesson/TMoviePageScreen.h"
#include "platform/TPaths.h"
#include "platform/TRegistry.h"
#include "program/TProgram.h"
#include "shell/TScreenModule.h"
#include "widgets/TGifImage.h"
#include "widgets/TSkinButton.h"

namespace {
constexpr int kScreenA = 90, kScreenB = 91; // screens of the test's own

// A screen of the test's own: one owned control, and a log of its routines.
class TLoggingScreen : public TScreenModule {
public:
    TLoggingScreen(TForm1& form, int screen, QStringList& log, std::function<void()> onLeave = {})
        : TScreenModule(form, screen, {"Admin Screen", "Background", "Adminbk.gif"}), m_log(log),
          m_onLeave(std::move(onLeave)) {
        Button = Own(new TSkinButton(&form), "btnLogging");
    }
    void Enter() override {
        m_log << QStringLiteral("enter%1").arg(Screen());
        Button->show();
    }
    void Leave() override {
        m_log << QStringLiteral("leave%1 %2").arg(Screen()).arg(Button->isVisible() ? "shown" : "hidden");
        if (m_onLeave)
            m_onLeave();
    }
    TSkinButton* Button;

private:
    QStringList& m_log;
    std::function<void()> m_onLeave;
};
} // namespace

class Screens : public ::testing::Test {
protected:
    void SetUp() override {
        f = &install.Start();
        ASSERT_FALSE(f->StartFailed);
        screenA = new TLoggingScreen(*f, kScreenA, log, [this] {
            QTimer::singleShot(0, f, [this] { seenDuringSwitch = f->CurrentScreen; });
        });
        screenB = new TLoggingScreen(*f, kScreenB, log);
        LoadSkin(*f); // the new screens' backgrounds as the skin names them
    }
    TInstallation install;
    TForm1* f = nullptr;
    TLoggingScreen* screenA = nullptr;
    TLoggingScreen* screenB = nullptr;
    QStringList log;
    int seenDuringSwitch = -1;
};

TEST_F(Screens, LeaveRunsThenQueuedEventsSeeSwitchThenEnter) {
    f->ShowScreen(kScreenA);
    log.clear();
    f->ShowScreen(kScreenB);
    EXPECT_EQ(log, (QStringList{"leave90 hidden", "enter91"})) << "owned controls are hidden before Leave";
    EXPECT_EQ(seenDuringSwitch, ScreenSwitching);
    EXPECT_EQ(f->CurrentScreen, kScreenB);
    EXPECT_FALSE(screenA->Button->isVisible());
    EXPECT_TRUE(screenB->Button->isVisible());
    EXPECT_EQ(f->Background->FileName(), ResolvePath(f->GraphicDir + f->SkinDir + screenB->BackgroundName()))
        << "the switcher shows the entered screen's background";

    log.clear();
    f->ShowScreen(kScreenB);
    EXPECT_EQ(log, (QStringList{"leave91 hidden", "enter91"})) << "the same screen again leaves and enters";

    f->ShowScreen(77);
    EXPECT_EQ(f->CurrentScreen, ScreenSwitching) << "a number without a screen leaves the switch mark";
}

TEST_F(Screens, ScreenMessagePostedOrSent) {
    QCoreApplication::postEvent(f, new TShowScreenEvent(kScreenA));
    EXPECT_NE(f->CurrentScreen, kScreenA);
    QCoreApplication::processEvents();
    EXPECT_EQ(f->CurrentScreen, kScreenA);

    TShowScreenEvent sent(kScreenB);
    QCoreApplication::sendEvent(f, &sent);
    EXPECT_EQ(f->CurrentScreen, kScreenB);
}

TEST_F(Screens, DraggingTheBackgroundMovesTheWindowWithAnyButton) {
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        const QPoint start = f->pos();
        QTest::mousePress(f->Background, button, {}, QPoint(100, 100));
        EXPECT_TRUE(f->Dragging);
        QMouseEvent move(QEvent::MouseMove, QPointF(130, 90), f->Background->mapToGlobal(QPointF(130, 90)),
                         button, button, {});
        QCoreApplication::sendEvent(f->Background, &move);
        QTest::mouseRelease(f->Background, button, {}, QPoint(130, 90));
        EXPECT_FALSE(f->Dragging);
        EXPECT_EQ(f->pos(), start + QPoint(30, -10));
    }
}

class Interactive : public Screens {
protected:
    void SetUp() override {
        Screens::SetUp();
        ASSERT_EQ(f->Courses->AddCourse("SS101", "Spreadsheets", "SS101T", "", "SS101/", "intro", 1, 0, 0),
                  "SS101");
        f->CurrentCourseId = "SS101";
        // The program: a script that leaves a mark when it runs.
        program = install.Path("practice.sh");
        QFile script(program);
        script.open(QIODevice::WriteOnly);
        script.write("#!/bin/sh\ntouch \"$(dirname \"$0\")/ran\"\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void SetProgram(const QString& className, const QString& defaultPath) {
        ASSERT_TRUE(f->Courses->GoToCourseId("SS101"));
        f->Courses->SetCourseDetails("", 0, "Spreadsheet practice", className, defaultPath);
    }
    bool Ran() {
        for (int i = 0; i < 100 && !QFile::exists(install.Path("ran")); ++i)
            QTest::qWait(20);
        return QFile::exists(install.Path("ran"));
    }
    QString StoredPath() {
        TRegistry reg(install.RegistryFile());
        reg.OpenKeyReadOnly(QString(ConfigurationKey) + "\\Interact");
        return reg.ReadString("Spreadsheet practice");
    }
    QString program;
};

TEST_F(Interactive, WithoutClassNameOnlyMinimises) {
    SetProgram("", program);
    QTest::mouseClick(f->Module<TMoviePageScreen>()->InteractField, Qt::LeftButton);
    EXPECT_FALSE(Ran());
}

TEST_F(Interactive, DefaultPathIsStarted) {
    SetProgram("SSPractice", program);
    QTest::mouseClick(f->Module<TMoviePageScreen>()->InteractField, Qt::LeftButton);
    EXPECT_TRUE(Ran());
}

TEST_F(Interactive, ChosenProgramIsRememberedAndCancelStoresNothing) {
    SetProgram("SSPractice", install.Path("missing/run"));
    QStringList titles;
    QString answer;
    f->ChooseExecutable = [&](const QString& title) {
        titles << title;
        return answer;
    };
    QTest::mouseClick(f->Module<TMoviePageScreen>()->InteractField, Qt::LeftButton);
    EXPECT_EQ(titles, QStringList{"Find executable for Spreadsheet practice"});
    EXPECT_TRUE(StoredPath().isEmpty());

    answer = program;
    QTest::mouseClick(f->Module<TMoviePageScreen>()->InteractField, Qt::LeftButton);
    EXPECT_EQ(StoredPath(), program);
    EXPECT_TRUE(Ran());

    QFile::remove(install.Path("ran"));
    QTest::mouseClick(f->Module<TMoviePageScreen>()->InteractField, Qt::LeftButton);
    EXPECT_EQ(titles.size(), 2) << "a remembered program is not asked for again";
    EXPECT_TRUE(Ran());
}
